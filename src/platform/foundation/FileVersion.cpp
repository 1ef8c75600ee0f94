#include "platform/foundation/FileVersion.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <xxhash.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <ctime>
#include <memory>

namespace {

constexpr std::int64_t kSecond = 1'000'000'000;

// File times on Linux come from the coarse real-time clock, which moves once a scheduler
// tick; twice its resolution leaves room. A time without nanoseconds comes from a file system
// that keeps whole seconds.
std::int64_t tickGranularity() {
    static const std::int64_t granularity = [] {
        timespec resolution{};
        if (::clock_getres(CLOCK_REALTIME_COARSE, &resolution) != 0) {
            return kSecond / 10;
        }
        return 2 * (static_cast<std::int64_t>(resolution.tv_sec) * kSecond + resolution.tv_nsec);
    }();
    return granularity;
}

std::int64_t realNow() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

std::uint64_t hashOf(std::string_view bytes) {
    return XXH3_64bits(bytes.data(), bytes.size());
}

// The same hash as of the pieces' bytes one after another.
std::uint64_t hashOf(std::span<const std::string_view> pieces) {
    std::unique_ptr<XXH3_state_t, decltype(&XXH3_freeState)> state(XXH3_createState(),
                                                                   &XXH3_freeState);
    XXH3_64bits_reset(state.get());
    for (std::string_view piece : pieces) {
        XXH3_64bits_update(state.get(), piece.data(), piece.size());
    }
    return XXH3_64bits_digest(state.get());
}

struct OpenFile {
    explicit OpenFile(const std::string& path) : fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {}
    ~OpenFile() {
        if (fd >= 0) {
            ::close(fd);
        }
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    int fd;
};

Status readAll(int fd, std::string& bytes) {
    std::size_t got = 0;
    while (got < bytes.size()) {
        ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return Status::failure(std::strerror(errno));
        }
        if (n == 0) {
            // Shorter than its size said: another program is rewriting it in place.
            return Status::failure("it changed while it was read");
        }
        got += static_cast<std::size_t>(n);
    }
    return Status::success();
}

}  // namespace

std::optional<FileVersion::Stat> FileVersion::statOf(int fd) {
    struct stat info {};
    if (fd < 0 || ::fstat(fd, &info) != 0) {
        return std::nullopt;
    }
    return Stat{static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
                static_cast<std::int64_t>(info.st_size),
                static_cast<std::int64_t>(info.st_mtim.tv_sec) * kSecond + info.st_mtim.tv_nsec};
}

FileVersion FileVersion::taken(const Stat& stat, std::optional<std::uint64_t> hash) {
    FileVersion version;
    version.stat_ = stat;
    version.hash_ = hash;
    version.confirmed_ = realNow();
    return version;
}

Result<FileVersion::Contents> FileVersion::read(const std::string& path) {
    using R = Result<Contents>;
    OpenFile file(path);
    std::optional<Stat> stat = statOf(file.fd);
    if (!stat) {
        return R::failure(path + ": " + std::strerror(errno));
    }
    std::string bytes(static_cast<std::size_t>(stat->size), '\0');
    if (Status done = readAll(file.fd, bytes); !done) {
        return R::failure(path + ": " + done.error());
    }
    FileVersion version = taken(*stat, hashOf(bytes));
    return Contents{std::move(bytes), version};
}

std::optional<FileVersion> FileVersion::written(const std::string& path,
                                                std::span<const std::string_view> pieces) {
    std::optional<Stat> stat = statOf(OpenFile(path).fd);
    if (!stat) {
        return std::nullopt;
    }
    FileVersion version = taken(*stat, std::nullopt);
    if (version.timeCannotTell()) {
        version.hash_ = hashOf(pieces);
    }
    return version;
}

timespec FileVersion::settledTime() {
    std::int64_t at = realNow() - tickGranularity();
    return {static_cast<std::time_t>(at / kSecond), static_cast<long>(at % kSecond)};
}

double FileVersion::timeGranularity() {
    return static_cast<double>(tickGranularity()) / kSecond;
}

bool FileVersion::timeCannotTell() const {
    std::int64_t granularity = stat_.modified % kSecond == 0 ? kSecond : tickGranularity();
    return stat_.modified + granularity > confirmed_;
}

bool FileVersion::changedAt(const std::string& path) {
    std::optional<Stat> stat = statOf(OpenFile(path).fd);
    if (!stat || *stat != stat_) {
        return true;
    }
    if (!timeCannotTell()) {
        return false;
    }
    std::int64_t now = realNow();
    Result<Contents> current = read(path);
    if (!current || current->version.stat_ != stat_) {
        return true;
    }
    if (current->version.hash_ != hash_) {
        return true;
    }
    confirmed_ = now;
    return false;
}
