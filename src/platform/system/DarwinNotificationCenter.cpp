#include "platform/system/DarwinNotificationCenter.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <filesystem>

#include "platform/foundation/FileWatch.h"
#include "platform/system/DeviceRoot.h"

namespace {

constexpr const char* kFolder = "/var/run/notifications";
constexpr std::size_t kMaxFileName = 255;

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
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        return false;
    }
    // The byte is not read by anyone; closing a file opened for writing is the signal. It is
    // written over in place: truncating would make the file system free and allocate a block.
    bool written = ::pwrite(fd, "!", 1, 0) == 1;
    return ::close(fd) == 0 && written;
}

std::unique_ptr<DarwinNotificationCenter::Observation> DarwinNotificationCenter::observe(
    std::string_view name, Callback callback) {
    std::string fileName = fileNameFor(name);
    if (fileName.empty() || !callback) {
        return nullptr;
    }
    std::unique_ptr<FileWatch> watch =
        FileWatch::start(signalFolder(), std::move(fileName), std::move(callback));
    if (!watch) {
        return nullptr;
    }
    return std::unique_ptr<Observation>(new Observation(std::move(watch)));
}

DarwinNotificationCenter::Observation::Observation(std::unique_ptr<FileWatch> watch)
    : watch_(std::move(watch)) {}

DarwinNotificationCenter::Observation::~Observation() = default;
