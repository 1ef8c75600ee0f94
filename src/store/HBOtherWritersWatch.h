#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/system/DarwinNotificationCenter.h"

class FileWatch;

// Tells a store when another program may have written its file: the file's folder is watched
// (inotify) and so is the settings notification, and either hands `check` to the main queue.
// After each of the store's own writes it checks once more when the write's time can tell
// again, so that the version is confirmed off any event's way. Stops when destroyed.
class HBOtherWritersWatch {
  public:
    // Null when the file's folder cannot be watched.
    static std::unique_ptr<HBOtherWritersWatch> start(
        const std::string& path, const std::optional<std::string>& notification,
        std::function<void()> check);
    ~HBOtherWritersWatch();

    void checkAfterOwnWrite();

  private:
    explicit HBOtherWritersWatch(std::function<void()> check);

    std::function<void()> _check;
    std::unique_ptr<FileWatch> _file;
    std::unique_ptr<DarwinNotificationCenter::Observation> _notification;
};
