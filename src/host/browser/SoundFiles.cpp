#include "host/browser/SoundFiles.h"

#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/system/DeviceRoot.h"
#include "platform/system/TLToneManager.h"

namespace {

namespace fs = std::filesystem;

struct SoundType {
    std::string_view extension;
    std::string_view contentType;
};

constexpr std::array<SoundType, 7> kTypes = {{
    {".m4r", "audio/mp4"},
    {".m4a", "audio/mp4"},
    {".caf", "audio/x-caf"},
    {".wav", "audio/wav"},
    {".aif", "audio/aiff"},
    {".aiff", "audio/aiff"},
    {".mp3", "audio/mpeg"},
}};

std::optional<fs::path> realPath(const fs::path& path) {
    std::error_code error;
    fs::path real = fs::canonical(path, error);
    return error ? std::nullopt : std::optional<fs::path>(real);
}

// Strictly below the folder: the folder itself is no file.
bool isInside(const fs::path& path, const fs::path& folder) {
    auto [end, at] = std::mismatch(folder.begin(), folder.end(), path.begin(), path.end());
    return end == folder.end() && at != path.end();
}

bool isInSoundFolder(const fs::path& real) {
    std::optional<fs::path> root = realPath(DeviceRoot::directory());
    if (!root || !isInside(real, *root)) {
        return false;
    }
    for (std::string_view folder :
         {TLToneManager::kTonesDirectory, TLToneManager::kRingtonesDirectory}) {
        std::optional<fs::path> allowed = realPath(DeviceRoot::resolve(folder));
        if (allowed && isInside(real, *allowed)) {
            return true;
        }
    }
    return false;
}

std::optional<std::string_view> contentTypeOf(const fs::path& path) {
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const SoundType& type : kTypes) {
        if (type.extension == extension) {
            return type.contentType;
        }
    }
    return std::nullopt;
}

}  // namespace

std::string SoundFiles::address(std::string_view devicePath) {
    std::string out(kPath);
    for (unsigned char c : devicePath) {
        if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~' || c == '/') {
            out += static_cast<char>(c);
        } else {
            out += fmt::format("%{:02X}", c);
        }
    }
    return out;
}

std::optional<SoundFiles::Located> SoundFiles::locate(std::string_view devicePath) {
    if (devicePath.empty() || devicePath.front() != '/' ||
        devicePath.find('\0') != std::string_view::npos) {
        return std::nullopt;
    }
    std::optional<fs::path> real = realPath(DeviceRoot::resolve(devicePath));
    std::error_code error;
    if (!real || !fs::is_regular_file(*real, error) || !isInSoundFolder(*real)) {
        return std::nullopt;
    }
    std::optional<std::string_view> type = contentTypeOf(*real);
    if (!type) {
        return std::nullopt;
    }
    return Located{real->string(), std::string(*type)};
}

std::optional<std::string> SoundFiles::read(const Located& sound) {
    std::error_code error;
    std::uintmax_t size = fs::file_size(sound.hostPath, error);
    if (error || size > kMaxBytes) {
        return std::nullopt;
    }
    std::ifstream in(sound.hostPath, std::ios::binary);
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (!in.good() && !in.eof()) {
        return std::nullopt;
    }
    return bytes;
}
