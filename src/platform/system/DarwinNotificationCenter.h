#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

class FileWatch;

// Named, payload-free, system-wide signals for every process that uses the same device root,
// without a daemon. Several posts may coalesce into one delivery; none is lost entirely.
//
// Each name has a signal file in "/var/run/notifications" under the device root (the name
// percent-encoded into a file name). Posting rewrites that file; observers watch the folder
// with inotify. A post that returns before an observation starts may or may not reach it;
// every post made after observe() returned reaches it at least once.
class DarwinNotificationCenter {
  public:
    class Observation;
    using Callback = std::function<void()>;

    // Posts NAME; returns false when the signal could not be raised (an empty name, a name
    // too long for a file name, or a folder that cannot be written).
    static bool post(std::string_view name);
    // Starts observing NAME. The callback runs on the observation's own thread, not the
    // caller's: UI code hands the work to the main queue from there. It keeps running until
    // the returned observation is destroyed. Null when NAME cannot be observed.
    static std::unique_ptr<Observation> observe(std::string_view name, Callback callback);

    // The signal file's name for NAME; empty when NAME cannot be a signal.
    static std::string fileNameFor(std::string_view name);
};

// A running observation: a watch of the name's signal file. Destroying it stops the watch,
// after which the callback is never called again. It must not be destroyed from inside its own
// callback.
class DarwinNotificationCenter::Observation {
  public:
    ~Observation();
    Observation(const Observation&) = delete;
    Observation& operator=(const Observation&) = delete;

  private:
    friend class DarwinNotificationCenter;
    explicit Observation(std::unique_ptr<FileWatch> watch);

    std::unique_ptr<FileWatch> watch_;
};
