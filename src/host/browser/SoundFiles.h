#pragma once

#include <optional>
#include <string>
#include <string_view>

// The sound files the browser page may fetch to play what the pane plays: regular files with
// a sound's extension inside the device's tone or ringtone folders, once symbolic links and
// ".." are resolved, and nothing else. Addresses are kPath followed by the device path.
class SoundFiles {
  public:
    static constexpr std::string_view kPath = "/api/sound";

    struct Located {
        std::string hostPath;
        std::string contentType;
    };

    // The page's address of a device path, each byte outside A-Z a-z 0-9 - . _ ~ / escaped.
    static std::string address(std::string_view devicePath);
    // The file a requested device path names, when it is one the page may fetch.
    static std::optional<Located> locate(std::string_view devicePath);
    // The file's bytes, when it can be read and is at most kMaxBytes long.
    static std::optional<std::string> read(const Located& sound);

    static constexpr std::size_t kMaxBytes = 16 * 1024 * 1024;
};
