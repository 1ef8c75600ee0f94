#include "platform/system/SystemSoundServices.h"

#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <system_error>

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

RunLoop::Nanoseconds durationOf(const std::string& hostPath) {
    double seconds = waveDuration(hostPath).value_or(SystemSoundServices::kDefaultDuration);
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
