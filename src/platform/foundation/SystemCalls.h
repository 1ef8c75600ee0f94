#pragma once

#include <sys/stat.h>
#include <sys/types.h>
#include <sys/uio.h>

#include <cstddef>
#include <vector>

// The one seam through which atomic file writes make their system calls. In normal use each
// call goes straight to the kernel; a test can install a FaultPlan that makes chosen calls
// fail with a chosen errno, or makes writes short, to drive every failure path.
class SystemCalls {
  public:
    enum class Kind { Open, Write, Fsync, Rename, DirectoryOpen, DirectoryFsync, Chmod, Close };
    enum class Repeat { Once, FromThenOn };

    // Fails the `nth` call (counted from 1 since the plan was installed) of `kind` with
    // `error`, once or for that call and every later one of the kind.
    struct Fault {
        Kind kind;
        int nth = 1;
        int error = 5;  // EIO
        Repeat repeat = Repeat::Once;
    };

    struct FaultPlan {
        std::vector<Fault> faults;
        // When non-zero, every write hands the kernel at most this many bytes.
        std::size_t maxWriteBytes = 0;
    };

    // Installs a plan for the lifetime of the object and removes it afterwards. Plans are
    // process-wide: tests that install one must not run writes on other threads meanwhile.
    class ScopedFaultPlan {
      public:
        explicit ScopedFaultPlan(FaultPlan plan);
        ~ScopedFaultPlan();
        ScopedFaultPlan(const ScopedFaultPlan&) = delete;
        ScopedFaultPlan& operator=(const ScopedFaultPlan&) = delete;
    };

    // How many calls of `kind` were made since the current plan was installed.
    static int callCount(Kind kind);

    static int open(const char* path, int flags, mode_t mode);
    static ssize_t write(int fd, const void* bytes, std::size_t count);
    // A gathered write, failed and shortened as `write` is.
    static ssize_t writev(int fd, const iovec* pieces, int count);
    static int fsync(int fd);
    static int rename(const char* from, const char* to);
    // Opens a folder for reading, so that it can be fsynced.
    static int openDirectory(const char* path);
    static int fsyncDirectory(int fd);
    static int fchmod(int fd, mode_t mode);
    static int stat(const char* path, struct stat* status);
    static int unlink(const char* path);
    static int close(int fd);
};
