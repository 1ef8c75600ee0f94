#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

// Named, payload-free, system-wide signals for every process that uses the same device root,
// without a daemon. Several posts may coalesce into one delivery; none is lost entirely.
class DarwinNotificationCenter {
public:
    class Observation;
    using Callback = std::function<void()>;

    // Posts NAME; returns false when the signal could not be raised.
    static bool post(std::string_view name);
    // Starts observing NAME. The callback runs on the observation's own thread until the
    // returned observation is destroyed. Null when NAME cannot be observed.
    static std::unique_ptr<Observation> observe(std::string_view name, Callback callback);
};
