#include "platform/foundation/AtomicFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <random>
#include <vector>

#include "platform/foundation/SystemCalls.h"

namespace {

constexpr int kMaxNameAttempts = 100;
constexpr mode_t kNewFileMode = 0644;
// Temporary files are named ".<target name>.tmp-" plus this many letters or digits.
constexpr std::string_view kTemporaryMarker = ".tmp-";
constexpr std::size_t kSuffixLength = 6;

std::string describe(const std::string& path, const char* step, int error) {
    return "Cannot write \"" + path + "\": " + step + ": " + std::strerror(error);
}

std::string folderOf(const std::string& path) {
    std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string temporaryPrefix(std::string_view targetName) {
    std::string prefix = ".";
    prefix.append(targetName).append(kTemporaryMarker);
    return prefix;
}

bool isTemporaryOf(std::string_view entry, std::string_view prefix) {
    if (entry.size() != prefix.size() + kSuffixLength || !entry.starts_with(prefix)) {
        return false;
    }
    entry.remove_prefix(prefix.size());
    return std::all_of(entry.begin(), entry.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
    });
}

// Removes the temporary file at `path` when it is a plain file that no live write holds
// locked. The lock is kept until after the unlink, so a writer that opened the file meanwhile
// sees it unlinked once it gets the lock, and starts again under a new name.
bool removeIfAbandoned(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    bool removed = false;
    struct stat opened {};
    struct stat named {};
    if (::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) &&
        ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::lstat(path.c_str(), &named) == 0 &&
        named.st_ino == opened.st_ino && named.st_dev == opened.st_dev) {
        removed = ::unlink(path.c_str()) == 0;
    }
    ::close(fd);
    return removed;
}

std::string randomSuffix() {
    static constexpr char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937 engine{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof(kAlphabet) - 2);
    std::string suffix(kSuffixLength, ' ');
    for (char& c : suffix) {
        c = kAlphabet[pick(engine)];
    }
    return suffix;
}

// The permission bits the new file gets: those of the file it replaces, else 0644.
Result<mode_t> targetMode(const std::string& path) {
    struct stat status {};
    if (SystemCalls::stat(path.c_str(), &status) != 0) {
        if (errno == ENOENT) {
            return kNewFileMode;
        }
        return Result<mode_t>::failure(describe(path, "stat", errno));
    }
    if (S_ISDIR(status.st_mode)) {
        return Result<mode_t>::failure(describe(path, "target", EISDIR));
    }
    return status.st_mode & 07777;
}

// The temporary file beside the target. Unless committed, destroying it closes and removes it,
// so every failure path leaves the folder as it was.
class TemporaryFile {
  public:
    explicit TemporaryFile(const std::string& target) : target_(target) {}
    ~TemporaryFile() {
        if (!path_.empty() && !committed_) {
            SystemCalls::unlink(path_.c_str());
        }
        releaseDescriptors();
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    Status create();
    Status writeAll(std::span<const std::string_view> pieces);
    Status setMode(mode_t mode);
    Status setModified(const std::optional<timespec>& modified);
    Status sync();
    Status close();
    Status renameOverTarget();

  private:
    bool holdsLiveLock();
    void releaseDescriptors();

    Status failure(const char* step) const {
        return Status::failure(describe(target_, step, errno));
    }

    std::string target_;
    std::string path_;
    int fd_ = -1;
    int lockFd_ = -1;
    bool committed_ = false;
};

Status TemporaryFile::create() {
    std::string prefix = folderOf(target_) + "/" + temporaryPrefix(nameOf(target_));
    for (int attempt = 0; attempt < kMaxNameAttempts; ++attempt) {
        std::string candidate = prefix + randomSuffix();
        fd_ = SystemCalls::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL, kNewFileMode);
        if (fd_ >= 0 && holdsLiveLock()) {
            path_ = candidate;
            return Status::success();
        }
        if (fd_ >= 0) {
            // Another save took the file for stale and removed it before the lock was ours.
            releaseDescriptors();
            continue;
        }
        if (errno != EEXIST && errno != EINTR) {
            break;
        }
    }
    return failure("create temporary file");
}

// Locks the new file for as long as this write lives, on a descriptor of its own that stays
// open after the checked close, so that saves of the same file in other processes leave it
// alone. The lock is taken after the file exists; a cleaner that came in between has unlinked
// it, which shows as no link left.
bool TemporaryFile::holdsLiveLock() {
    lockFd_ = ::dup(fd_);
    if (lockFd_ < 0) {
        return true;  // Unlocked but usable: only a concurrent save could remove it.
    }
    while (::flock(lockFd_, LOCK_EX) != 0 && errno == EINTR) {
    }
    struct stat status {};
    return ::fstat(lockFd_, &status) != 0 || status.st_nlink > 0;
}

void TemporaryFile::releaseDescriptors() {
    if (fd_ >= 0) {
        SystemCalls::close(fd_);
        fd_ = -1;
    }
    if (lockFd_ >= 0) {
        ::close(lockFd_);
        lockFd_ = -1;
    }
}

// Hands the kernel the pieces where they lie, as many as one gathered write takes.
Status TemporaryFile::writeAll(std::span<const std::string_view> pieces) {
    std::vector<iovec> batch;
    std::size_t next = 0;
    std::size_t offset = 0;
    while (next < pieces.size()) {
        batch.clear();
        for (std::size_t i = next; i < pieces.size() && batch.size() < IOV_MAX; ++i) {
            std::string_view piece = pieces[i].substr(i == next ? offset : 0);
            batch.push_back({const_cast<char*>(piece.data()), piece.size()});
        }
        ssize_t written = SystemCalls::writev(fd_, batch.data(), static_cast<int>(batch.size()));
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written < 0) {
            return failure("write");
        }
        auto done = static_cast<std::size_t>(written);
        bool progressed = done > 0;
        for (; next < pieces.size() && done >= pieces[next].size() - offset; ++next) {
            done -= pieces[next].size() - offset;
            offset = 0;
            progressed = true;
        }
        offset += done;
        if (!progressed) {
            // A write that makes no progress would loop for ever; report it as an I/O error.
            errno = EIO;
            return failure("write");
        }
    }
    return Status::success();
}

Status TemporaryFile::setMode(mode_t mode) {
    // fchmod rather than the creation mode, which the umask would narrow.
    return SystemCalls::fchmod(fd_, mode) == 0 ? Status::success() : failure("chmod");
}

Status TemporaryFile::setModified(const std::optional<timespec>& modified) {
    if (!modified) {
        return Status::success();
    }
    const timespec times[2] = {{0, UTIME_OMIT}, *modified};
    return ::futimens(fd_, times) == 0 ? Status::success() : failure("set modification time");
}

Status TemporaryFile::sync() {
    // Never retried: after a failed fsync the kernel may have dropped the dirty pages, and a
    // second fsync that succeeds proves nothing about them.
    return SystemCalls::fsync(fd_) == 0 ? Status::success() : failure("fsync");
}

Status TemporaryFile::close() {
    int result = SystemCalls::close(fd_);
    fd_ = -1;
    return result == 0 ? Status::success() : failure("close");
}

Status TemporaryFile::renameOverTarget() {
    if (SystemCalls::rename(path_.c_str(), target_.c_str()) != 0) {
        return failure("rename");
    }
    committed_ = true;
    return Status::success();
}

// Makes the rename durable. When this fails the new file is already in place, but the write
// still reports failure: the caller cannot count on the change surviving a crash, so it must
// not tell other processes about it.
Status syncFolder(const std::string& target) {
    std::string folder = folderOf(target);
    int fd = SystemCalls::openDirectory(folder.c_str());
    if (fd < 0) {
        return Status::failure(describe(target, "open folder", errno));
    }
    int result = SystemCalls::fsyncDirectory(fd);
    int error = errno;
    // Closing a read-only folder descriptor cannot lose data, so its result does not matter.
    SystemCalls::close(fd);
    if (result != 0) {
        return Status::failure(describe(target, "fsync folder", error));
    }
    return Status::success();
}

}  // namespace

int AtomicFile::removeAbandonedTemporaries(const std::string& path) {
    if (path.empty() || path.back() == '/') {
        return 0;
    }
    std::string folder = folderOf(path);
    DIR* directory = ::opendir(folder.c_str());
    if (!directory) {
        return 0;
    }
    std::string prefix = temporaryPrefix(nameOf(path));
    std::vector<std::string> candidates;
    while (const dirent* entry = ::readdir(directory)) {
        if (isTemporaryOf(entry->d_name, prefix)) {
            candidates.push_back(folder + "/" + entry->d_name);
        }
    }
    ::closedir(directory);
    return static_cast<int>(std::count_if(candidates.begin(), candidates.end(), removeIfAbandoned));
}

Status AtomicFile::write(const std::string& path, std::string_view bytes) {
    return write(path, std::span(&bytes, 1), {});
}

Status AtomicFile::write(const std::string& path, std::span<const std::string_view> pieces,
                         const Options& options) {
    if (path.empty() || path.back() == '/') {
        return Status::failure(describe(path, "target", EISDIR));
    }
    removeAbandonedTemporaries(path);
    Result<mode_t> mode = targetMode(path);
    if (!mode) {
        return Status::failure(mode.error());
    }
    TemporaryFile temporary(path);
    Status status = temporary.create();
    if (status) {
        status = temporary.writeAll(pieces);
    }
    if (status) {
        status = temporary.setModified(options.modified);
    }
    if (status) {
        status = temporary.setMode(mode.value());
    }
    if (status) {
        status = temporary.sync();
    }
    if (status) {
        status = temporary.close();
    }
    if (status) {
        status = temporary.renameOverTarget();
    }
    if (!status) {
        return status;
    }
    return syncFolder(path);
}
