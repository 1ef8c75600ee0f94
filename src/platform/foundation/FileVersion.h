#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/Result.h"

// What a file held when a program last read or wrote it, to tell later whether another
// program changed it since: device, inode, size and modification time (in nanoseconds), and
// the bytes for when the time cannot tell. A change made within the file system's time
// granularity after the version was taken keeps the time, so while the modification time is
// that close to when the version was taken, the bytes are compared too (with a hash kept of
// the bytes read, or with the bytes the writer still holds); once they are found the same after
// that window, the time alone tells again.
class FileVersion {
  public:
    struct Contents;

    // Reads a file's bytes and the version they are, from one open file.
    static Result<Contents> read(const std::string& path);
    // The version of what was just written to `path`, whose bytes the writer keeps; none when
    // the file is gone already.
    static std::optional<FileVersion> written(const std::string& path);

    // Whether the file at `path` may hold other bytes than this version: it is gone,
    // replaced, or its size, time or bytes differ. A written version compares the file with
    // `written`, the bytes its writer keeps.
    bool changedAt(const std::string& path, std::string_view written = {});
    // How long after it was written a file's time cannot tell a later change, in seconds.
    static double timeGranularity();

  private:
    struct Stat {
        std::uint64_t device = 0;
        std::uint64_t inode = 0;
        std::int64_t size = 0;
        std::int64_t modified = 0;
        bool operator==(const Stat&) const = default;
    };

    static std::optional<Stat> statOf(int fd);
    static FileVersion taken(const Stat& stat, std::optional<std::uint64_t> hash);
    bool timeCannotTell() const;

    Stat stat_;
    // The hash of the bytes read; none for a version written.
    std::optional<std::uint64_t> hash_;
    // When the version was taken or last confirmed, in nanoseconds of the real-time clock.
    std::int64_t confirmed_ = 0;
};

struct FileVersion::Contents {
    std::string bytes;
    FileVersion version;
};
