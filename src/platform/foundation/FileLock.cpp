#include "platform/foundation/FileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

FileLock::FileLock(const std::string& path) {
    std::string lockPath = path + ".lock";
    fd_ = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd_ < 0) {
        status_ = Status::failure(lockPath + ": " + std::strerror(errno));
        return;
    }
    int locked;
    while ((locked = ::flock(fd_, LOCK_EX)) != 0 && errno == EINTR) {
    }
    if (locked != 0) {
        status_ = Status::failure(lockPath + ": " + std::strerror(errno));
    }
}

FileLock::~FileLock() {
    if (fd_ >= 0) {
        // Closing the only descriptor of the lock file releases the lock.
        ::close(fd_);
    }
}
