#include "platform/foundation/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <random>

#include "platform/foundation/SystemCalls.h"

namespace {

constexpr int kMaxNameAttempts = 100;
constexpr mode_t kNewFileMode = 0644;

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

std::string randomSuffix() {
    static constexpr char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937 engine{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof(kAlphabet) - 2);
    std::string suffix(6, ' ');
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
        if (fd_ >= 0) {
            SystemCalls::close(fd_);
        }
        if (!path_.empty() && !committed_) {
            SystemCalls::unlink(path_.c_str());
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    Status create();
    Status writeAll(std::string_view bytes);
    Status setMode(mode_t mode);
    Status sync();
    Status close();
    Status renameOverTarget();

  private:
    Status failure(const char* step) const {
        return Status::failure(describe(target_, step, errno));
    }

    std::string target_;
    std::string path_;
    int fd_ = -1;
    bool committed_ = false;
};

Status TemporaryFile::create() {
    std::string prefix = folderOf(target_) + "/." + nameOf(target_) + ".";
    for (int attempt = 0; attempt < kMaxNameAttempts; ++attempt) {
        std::string candidate = prefix + randomSuffix();
        fd_ = SystemCalls::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL, kNewFileMode);
        if (fd_ >= 0) {
            path_ = candidate;
            return Status::success();
        }
        if (errno != EEXIST && errno != EINTR) {
            break;
        }
    }
    return failure("create temporary file");
}

Status TemporaryFile::writeAll(std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t written = SystemCalls::write(fd_, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            // A write that makes no progress would loop for ever; report it as an I/O error.
            if (written == 0) {
                errno = EIO;
            }
            return failure("write");
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return Status::success();
}

Status TemporaryFile::setMode(mode_t mode) {
    // fchmod rather than the creation mode, which the umask would narrow.
    return SystemCalls::fchmod(fd_, mode) == 0 ? Status::success() : failure("chmod");
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
    SystemCalls::close(fd);
    if (result != 0) {
        return Status::failure(describe(target, "fsync folder", error));
    }
    return Status::success();
}

}  // namespace

Status AtomicFile::write(const std::string& path, std::string_view bytes) {
    if (path.empty() || path.back() == '/') {
        return Status::failure(describe(path, "target", EISDIR));
    }
    Result<mode_t> mode = targetMode(path);
    if (!mode) {
        return Status::failure(mode.error());
    }
    TemporaryFile temporary(path);
    Status status = temporary.create();
    if (status) {
        status = temporary.writeAll(bytes);
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
