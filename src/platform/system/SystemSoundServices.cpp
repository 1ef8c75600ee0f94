#include "platform/system/SystemSoundServices.h"

#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string_view>
#include <system_error>
#include <utility>

#include "platform/foundation/NSString.h"
#include "platform/system/DeviceRoot.h"

namespace {

constexpr int kMaxChunks = 64;

std::uint32_t littleEndian32(const char* bytes) {
    const auto* b = reinterpret_cast<const unsigned char*>(bytes);
    return b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
}

// Seconds of sound in a RIFF WAVE file: the data chunk's size over the format's byte rate.
// None when the file is not one, so the caller falls back to a fixed length. Only chunk
// headers are read, and a data size beyond the file's end is cut to it.
std::optional<double> waveDuration(const std::string& hostPath) {
    std::ifstream in(hostPath, std::ios::binary);
    std::array<char, 16> head{};
    if (!in.read(head.data(), 12) || std::string_view(head.data(), 4) != "RIFF" ||
        std::string_view(head.data() + 8, 4) != "WAVE") {
        return std::nullopt;
    }
    std::error_code error;
    std::uintmax_t fileSize = std::filesystem::file_size(hostPath, error);
    if (error) {
        return std::nullopt;
    }
    std::uint32_t byteRate = 0;
    for (int chunk = 0; chunk < kMaxChunks && in.read(head.data(), 8); ++chunk) {
        std::string_view id(head.data(), 4);
        std::uint32_t size = littleEndian32(head.data() + 4);
        std::streamoff start = in.tellg();
        if (id == "fmt " && size >= 16 && in.read(head.data(), 16)) {
            byteRate = littleEndian32(head.data() + 8);
        } else if (id == "data") {
            std::uintmax_t available = fileSize - static_cast<std::uintmax_t>(start);
            std::uintmax_t bytes = std::min<std::uintmax_t>(size, available);
            return byteRate ? std::optional<double>(static_cast<double>(bytes) / byteRate)
                            : std::nullopt;
        }
        in.seekg(start + static_cast<std::streamoff>(size + (size & 1)));
    }
    return std::nullopt;
}

std::uint64_t bigEndian(const char* bytes, int count) {
    std::uint64_t value = 0;
    for (int i = 0; i < count; ++i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[i]);
    }
    return value;
}

// The contents (from, to) of the first box of a type among the boxes between two offsets of
// an MPEG-4 file; none when there is none or a box's size runs past the end.
std::optional<std::pair<std::uint64_t, std::uint64_t>> findBox(std::ifstream& in, std::uint64_t at,
                                                               std::uint64_t end,
                                                               std::string_view type) {
    std::array<char, 16> head{};
    for (int box = 0; box < kMaxChunks && at + 8 <= end; ++box) {
        in.seekg(static_cast<std::streamoff>(at));
        if (!in.read(head.data(), 8)) {
            return std::nullopt;
        }
        std::uint64_t size = bigEndian(head.data(), 4);
        std::uint64_t header = 8;
        if (size == 1) {  // a 64-bit size follows the type
            if (!in.read(head.data() + 8, 8)) {
                return std::nullopt;
            }
            size = bigEndian(head.data() + 8, 8);
            header = 16;
        } else if (size == 0) {  // the box runs to the end
            size = end - at;
        }
        if (size < header || size > end - at) {
            return std::nullopt;
        }
        if (std::string_view(head.data() + 4, 4) == type) {
            return std::pair(at + header, at + size);
        }
        at += size;
    }
    return std::nullopt;
}

// Seconds of sound in an MPEG-4 file (a ringtone): the movie header's duration over its time
// scale. None when the file has no readable movie header.
std::optional<double> mpeg4Duration(const std::string& hostPath) {
    std::error_code error;
    std::uintmax_t fileSize = std::filesystem::file_size(hostPath, error);
    std::ifstream in(hostPath, std::ios::binary);
    auto movie = error || !in ? std::nullopt : findBox(in, 0, fileSize, "moov");
    auto header = movie ? findBox(in, movie->first, movie->second, "mvhd") : std::nullopt;
    std::array<char, 32> fields{};
    if (!header || header->second - header->first < 20) {
        return std::nullopt;
    }
    in.seekg(static_cast<std::streamoff>(header->first));
    bool wide = in.read(fields.data(), 1) && fields[0] == 1;  // version 1: 64-bit times
    std::size_t needed = wide ? 32 : 20;
    if (header->second - header->first < needed || !in.read(fields.data() + 1, needed - 1)) {
        return std::nullopt;
    }
    std::uint64_t scale = bigEndian(fields.data() + (wide ? 20 : 12), 4);
    std::uint64_t length = bigEndian(fields.data() + (wide ? 24 : 16), wide ? 8 : 4);
    return scale ? std::optional<double>(static_cast<double>(length) / static_cast<double>(scale))
                 : std::nullopt;
}

RunLoop::Nanoseconds durationOf(const std::string& hostPath) {
    std::optional<double> own = waveDuration(hostPath);
    if (!own) {
        own = mpeg4Duration(hostPath);
    }
    double seconds = own.value_or(SystemSoundServices::kDefaultDuration);
    return static_cast<RunLoop::Nanoseconds>(std::llround(seconds * 1e9));
}

}  // namespace

SystemSoundServices& SystemSoundServices::shared() {
    static SystemSoundServices services;
    return services;
}

OSStatus SystemSoundServices::createSound(const NSURL& fileURL, SystemSoundID* outSoundID) {
    *outSoundID = 0;
    if (!fileURL.isFileURL()) {
        return kAudioServicesSystemSoundUnspecifiedError;
    }
    std::string path = NSString::stringByRemovingPercentEncoding(fileURL.path()).value_or("");
    std::string hostPath = DeviceRoot::resolve(path);
    std::error_code error;
    if (path.empty() || !std::filesystem::is_regular_file(hostPath, error)) {
        return kAudioServicesSystemSoundUnspecifiedError;
    }
    Sound sound{path, durationOf(hostPath), nullptr, 0};
    std::lock_guard lock(mutex_);
    *outSoundID = nextID_++;
    sounds_.emplace(*outSoundID, std::move(sound));
    return kAudioServicesNoError;
}

OSStatus SystemSoundServices::setCompletion(SystemSoundID soundID,
                                            AudioServicesSystemSoundCompletion completion) {
    std::lock_guard lock(mutex_);
    auto found = sounds_.find(soundID);
    if (found == sounds_.end()) {
        return kAudioServicesBadSpecifierError;
    }
    found->second.completion = std::move(completion);
    return kAudioServicesNoError;
}

void SystemSoundServices::removeCompletion(SystemSoundID soundID) {
    std::lock_guard lock(mutex_);
    if (auto found = sounds_.find(soundID); found != sounds_.end()) {
        found->second.completion = nullptr;
    }
}

void SystemSoundServices::play(SystemSoundID soundID) {
    RunLoop& loop = RunLoop::main();
    std::lock_guard lock(mutex_);
    auto found = sounds_.find(soundID);
    if (found == sounds_.end()) {
        return;
    }
    RunLoop::Nanoseconds now = loop.now();
    log_.push_back({soundID, found->second.path, now});
    found->second.lastPlay = ++plays_;
    loop.schedule(now + found->second.duration, [this, soundID] { endPlay(soundID); });
}

// The completion runs without the lock held: it may well dispose of its own sound.
void SystemSoundServices::endPlay(SystemSoundID soundID) {
    AudioServicesSystemSoundCompletion completion;
    {
        std::lock_guard lock(mutex_);
        auto found = sounds_.find(soundID);
        if (found == sounds_.end() || !found->second.completion) {
            return;
        }
        completion = found->second.completion;
    }
    completion(soundID);
}

OSStatus SystemSoundServices::dispose(SystemSoundID soundID) {
    std::lock_guard lock(mutex_);
    return sounds_.erase(soundID) ? kAudioServicesNoError : kAudioServicesBadSpecifierError;
}

std::vector<SystemSoundServices::Play> SystemSoundServices::playLog() const {
    std::lock_guard lock(mutex_);
    return log_;
}

void SystemSoundServices::clearPlayLog() {
    std::lock_guard lock(mutex_);
    log_.clear();
}

std::vector<SystemSoundServices::LatestPlay> SystemSoundServices::latestPlays() const {
    std::lock_guard lock(mutex_);
    std::vector<LatestPlay> plays;
    for (const auto& [soundID, sound] : sounds_) {
        if (sound.lastPlay != 0) {
            plays.push_back({sound.lastPlay, soundID, sound.path});
        }
    }
    return plays;
}

std::size_t SystemSoundServices::soundCount() const {
    std::lock_guard lock(mutex_);
    return sounds_.size();
}
