#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/system/DarwinNotificationCenter.h"

class FileWatch;

// Tells a store when another program may have written its file: the file's folder is watched
// (inotify) and so is the settings notification, and either hands `check` to the main queue.
// Stops when destroyed.
class HBOtherWritersWatch {
  public:
    // Null when the file's folder cannot be watched.
    static std::unique_ptr<HBOtherWritersWatch> start(
        const std::string& path, const std::optional<std::string>& notification,
        std::function<void()> check);
    ~HBOtherWritersWatch();

  private:
    HBOtherWritersWatch() = default;

    std::unique_ptr<FileWatch> _file;
    std::unique_ptr<DarwinNotificationCenter::Observation> _notification;
};
