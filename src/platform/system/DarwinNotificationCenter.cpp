#include "platform/system/DarwinNotificationCenter.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <filesystem>

#include "platform/system/DeviceRoot.h"

namespace {

constexpr const char* kFolder = "/var/run/notifications";
constexpr std::size_t kMaxFileName = 255;
constexpr std::uint32_t kWatchedEvents = IN_CLOSE_WRITE | IN_MOVED_TO | IN_MOVE_SELF;

bool isSafe(char c, std::size_t position) {
    bool alphanumeric = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    // A leading dot would make hidden files and the names "." and "..".
    return alphanumeric || c == '-' || c == '_' || (c == '.' && position > 0);
}

std::string signalFolder() {
    std::string folder = DeviceRoot::resolve(kFolder);
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    return folder;
}

}  // namespace

std::string DarwinNotificationCenter::fileNameFor(std::string_view name) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    for (std::size_t i = 0; i < name.size(); ++i) {
        char c = name[i];
        if (isSafe(c, i)) {
            encoded += c;
        } else {
            auto byte = static_cast<unsigned char>(c);
            encoded += {'%', kHex[byte >> 4], kHex[byte & 0xF]};
        }
    }
    return encoded.size() <= kMaxFileName ? encoded : std::string();
}

bool DarwinNotificationCenter::post(std::string_view name) {
    std::string fileName = fileNameFor(name);
    if (fileName.empty()) {
        return false;
    }
    std::string path = signalFolder() + "/" + fileName;
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        return false;
    }
    // The byte is not read by anyone; closing a file opened for writing is the signal.
    bool written = ::write(fd, "!", 1) == 1;
    return ::close(fd) == 0 && written;
}

std::unique_ptr<DarwinNotificationCenter::Observation> DarwinNotificationCenter::observe(
    std::string_view name, Callback callback) {
    std::string fileName = fileNameFor(name);
    if (fileName.empty() || !callback) {
        return nullptr;
    }
    std::unique_ptr<Observation> observation(
        new Observation(signalFolder(), std::move(fileName), std::move(callback)));
    if (!observation->start()) {
        return nullptr;
    }
    return observation;
}

DarwinNotificationCenter::Observation::Observation(std::string folder, std::string fileName,
                                                   Callback callback)
    : folder_(std::move(folder)), fileName_(std::move(fileName)), callback_(std::move(callback)) {}

DarwinNotificationCenter::Observation::~Observation() {
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

bool DarwinNotificationCenter::Observation::start() {
    inotify_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    stop_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (inotify_ < 0 || stop_ < 0 || !watchFolder()) {
        return false;
    }
    thread_ = std::thread([this] { run(); });
    return true;
}

bool DarwinNotificationCenter::Observation::watchFolder() {
    if (watch_ >= 0) {
        inotify_rm_watch(inotify_, watch_);
    }
    std::error_code error;
    std::filesystem::create_directories(folder_, error);
    watch_ = inotify_add_watch(inotify_, folder_.c_str(), kWatchedEvents);
    return watch_ >= 0;
}

void DarwinNotificationCenter::Observation::run() {
    pollfd fds[2] = {{stop_, POLLIN, 0}, {inotify_, POLLIN, 0}};
    while (true) {
        int ready = ::poll(fds, 2, -1);
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready < 0 || fds[0].revents != 0) {
            return;
        }
        if (drainEvents()) {
            callback_();
        }
    }
}

bool DarwinNotificationCenter::Observation::drainEvents() {
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
        // The folder was removed or moved away: watch the new one at the same place, and
        // deliver, since a post may have gone into it before the watch was back.
        watchFolder();
        relevant = true;
    }
    return relevant;
}
