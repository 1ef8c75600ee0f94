#pragma once

#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/AtomicFile.h"
#include "platform/foundation/FileLock.h"
#include "platform/foundation/FileVersion.h"
#include "platform/foundation/Result.h"

// The write of a store's own file on a thread of its own, so that writing a large table does
// not hold up the main thread: the store prepares the text under the file's lock, the thread
// writes it, takes its version and lets the lock go, and the store takes the outcome on the
// main thread. One write at a time; the text must stay as it is until the write is finished.
class HBBackgroundSave {
  public:
    using Notification = std::optional<std::string>;
    struct Write {
        std::string path;
        std::span<const std::string_view> pieces;
        AtomicFile::Options options;
        std::unique_ptr<FileLock> lock;
    };
    // What the store set aside for the write: the keys it wrote and the notifications to post.
    struct Held {
        std::set<std::string, std::less<>> keys;
        std::vector<Notification> posts;
    };
    struct Outcome {
        std::string path;
        Status status = Status::success();
        std::optional<FileVersion> version;
        Held held;
    };

    HBBackgroundSave() = default;
    ~HBBackgroundSave();
    HBBackgroundSave(const HBBackgroundSave&) = delete;
    HBBackgroundSave& operator=(const HBBackgroundSave&) = delete;

    // Starts the write; `done` is handed to the main queue once it is written.
    void start(Write write, Held held, std::function<void()> done);
    // Waits for the write under way and gives its outcome, once: none when there is none.
    std::optional<Outcome> finish();

  private:
    std::future<Outcome> _outcome;
};
