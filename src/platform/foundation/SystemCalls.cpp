#include "platform/foundation/SystemCalls.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <mutex>
#include <optional>

namespace {

constexpr std::size_t kKindCount = 8;

struct PlanState {
    std::mutex mutex;
    std::optional<SystemCalls::FaultPlan> plan;
    std::array<int, kKindCount> counts{};
};

PlanState& state() {
    static PlanState instance;
    return instance;
}

std::size_t indexOf(SystemCalls::Kind kind) {
    return static_cast<std::size_t>(kind);
}

bool faultMatches(const SystemCalls::Fault& fault, int call) {
    if (fault.repeat == SystemCalls::Repeat::Once) {
        return call == fault.nth;
    }
    return call >= fault.nth;
}

// Counts the call and returns the errno it must fail with, or 0 to let it through.
int injectedError(SystemCalls::Kind kind) {
    PlanState& s = state();
    std::lock_guard lock(s.mutex);
    if (!s.plan) {
        return 0;
    }
    int call = ++s.counts[indexOf(kind)];
    for (const SystemCalls::Fault& fault : s.plan->faults) {
        if (fault.kind == kind && faultMatches(fault, call)) {
            return fault.error;
        }
    }
    return 0;
}

std::size_t writeLimit(std::size_t count) {
    PlanState& s = state();
    std::lock_guard lock(s.mutex);
    if (!s.plan || s.plan->maxWriteBytes == 0) {
        return count;
    }
    return std::min(count, s.plan->maxWriteBytes);
}

// Runs `call` unless the plan fails it, in which case errno is set and -1 returned.
template <typename Call>
auto guarded(SystemCalls::Kind kind, Call call) -> decltype(call()) {
    if (int error = injectedError(kind)) {
        errno = error;
        return -1;
    }
    return call();
}

}  // namespace

SystemCalls::ScopedFaultPlan::ScopedFaultPlan(FaultPlan plan) {
    PlanState& s = state();
    std::lock_guard lock(s.mutex);
    s.plan = std::move(plan);
    s.counts.fill(0);
}

SystemCalls::ScopedFaultPlan::~ScopedFaultPlan() {
    PlanState& s = state();
    std::lock_guard lock(s.mutex);
    s.plan.reset();
    s.counts.fill(0);
}

int SystemCalls::callCount(Kind kind) {
    PlanState& s = state();
    std::lock_guard lock(s.mutex);
    return s.counts[indexOf(kind)];
}

int SystemCalls::open(const char* path, int flags, mode_t mode) {
    return guarded(Kind::Open, [&] { return ::open(path, flags | O_CLOEXEC, mode); });
}

ssize_t SystemCalls::write(int fd, const void* bytes, std::size_t count) {
    return guarded(Kind::Write, [&] { return ::write(fd, bytes, writeLimit(count)); });
}

ssize_t SystemCalls::writev(int fd, const iovec* pieces, int count) {
    return guarded(Kind::Write, [&]() -> ssize_t {
        std::size_t total = 0;
        for (int i = 0; i < count; ++i) {
            total += pieces[i].iov_len;
        }
        std::size_t left = writeLimit(total);
        if (left == total) {
            return ::writev(fd, pieces, count);
        }
        // Shortened by the plan: the pieces that hold the first `left` bytes.
        std::vector<iovec> kept;
        for (int i = 0; i < count && left > 0; ++i) {
            kept.push_back({pieces[i].iov_base, std::min(left, pieces[i].iov_len)});
            left -= kept.back().iov_len;
        }
        return ::writev(fd, kept.data(), static_cast<int>(kept.size()));
    });
}

int SystemCalls::fsync(int fd) {
    return guarded(Kind::Fsync, [&] { return ::fsync(fd); });
}

int SystemCalls::rename(const char* from, const char* to) {
    return guarded(Kind::Rename, [&] { return ::rename(from, to); });
}

int SystemCalls::openDirectory(const char* path) {
    return guarded(Kind::DirectoryOpen,
                   [&] { return ::open(path, O_RDONLY | O_DIRECTORY | O_CLOEXEC); });
}

int SystemCalls::fsyncDirectory(int fd) {
    return guarded(Kind::DirectoryFsync, [&] { return ::fsync(fd); });
}

int SystemCalls::fchmod(int fd, mode_t mode) {
    return guarded(Kind::Chmod, [&] { return ::fchmod(fd, mode); });
}

int SystemCalls::stat(const char* path, struct stat* status) {
    return ::stat(path, status);
}

int SystemCalls::unlink(const char* path) {
    return ::unlink(path);
}

int SystemCalls::close(int fd) {
    // The descriptor is released even when the plan fails the call, as the kernel does.
    int error = injectedError(Kind::Close);
    int result = ::close(fd);
    if (error != 0) {
        errno = error;
        return -1;
    }
    return result;
}
