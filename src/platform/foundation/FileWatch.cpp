#include "platform/foundation/FileWatch.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <filesystem>

namespace {

constexpr std::uint32_t kFileEvents = IN_CLOSE_WRITE | IN_MOVED_TO | IN_DELETE | IN_MOVE_SELF;
constexpr int kLookForFolderMs = 500;

}  // namespace

std::unique_ptr<FileWatch> FileWatch::start(std::string folder, std::string fileName,
                                            Callback callback, MissingFolder missing) {
    std::unique_ptr<FileWatch> watch(
        new FileWatch(std::move(folder), std::move(fileName), std::move(callback), missing));
    return watch->begin() ? std::move(watch) : nullptr;
}

FileWatch::FileWatch(std::string folder, std::string fileName, Callback callback,
                     MissingFolder missing)
    : folder_(std::move(folder)),
      fileName_(std::move(fileName)),
      callback_(std::move(callback)),
      missing_(missing) {}

FileWatch::~FileWatch() {
    if (thread_.joinable()) {
        std::uint64_t one = 1;
        // An eventfd write of 1 cannot fail short of overflowing its counter.
        (void)::write(stop_, &one, sizeof one);
        thread_.join();
    }
    for (int fd : {inotify_, stop_}) {
        if (fd >= 0) {
            ::close(fd);
        }
    }
}

bool FileWatch::begin() {
    inotify_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    stop_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (inotify_ < 0 || stop_ < 0 || (!watchFolder() && missing_ == MissingFolder::Make)) {
        return false;
    }
    thread_ = std::thread([this] { run(); });
    return true;
}

bool FileWatch::watchFolder() {
    if (watch_ >= 0) {
        inotify_rm_watch(inotify_, watch_);
    }
    if (missing_ == MissingFolder::Make) {
        std::error_code error;
        std::filesystem::create_directories(folder_, error);
    }
    watch_ = inotify_add_watch(inotify_, folder_.c_str(), kFileEvents);
    return watch_ >= 0;
}

void FileWatch::run() {
    pollfd fds[2] = {{stop_, POLLIN, 0}, {inotify_, POLLIN, 0}};
    while (true) {
        int ready = ::poll(fds, 2, watch_ >= 0 ? -1 : kLookForFolderMs);
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready < 0 || fds[0].revents != 0) {
            return;
        }
        // A folder waited for that is back: the file in it may be new.
        bool back = watch_ < 0 && watchFolder();
        if (drainEvents() || back) {
            callback_();
        }
    }
}

bool FileWatch::drainEvents() {
    alignas(inotify_event) char buffer[4096];
    bool relevant = false;
    bool folderLost = false;
    ssize_t length;
    while ((length = ::read(inotify_, buffer, sizeof buffer)) > 0) {
        for (char* p = buffer; p < buffer + length;) {
            auto* event = reinterpret_cast<inotify_event*>(p);
            // The kernel dropped events: any of them may have been ours.
            relevant |= (event->mask & IN_Q_OVERFLOW) != 0;
            folderLost |= event->wd == watch_ && (event->mask & (IN_IGNORED | IN_MOVE_SELF));
            relevant |= event->len > 0 && fileName_ == event->name;
            p += sizeof(inotify_event) + event->len;
        }
    }
    if (folderLost) {
        watchFolder();
        relevant = true;
    }
    return relevant;
}
