#pragma once

#include <string>

#include "platform/foundation/Result.h"

// The advisory lock that every writer of the pane's files holds while it reads, changes and
// writes one: an exclusive flock on "<path>.lock" beside the file, held from construction
// until destruction, so that two writers never interleave. Waits for another holder.
class FileLock {
  public:
    explicit FileLock(const std::string& path);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Success when held; otherwise why the lock file could not be made or locked.
    const Status& status() const { return status_; }

  private:
    int fd_ = -1;
    Status status_ = Status::success();
};
