#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/foundation/Result.h"

// What a file held when a program last read or wrote it, to tell later whether another
// program changed it since: device, inode, size and modification time (in nanoseconds), and
// the bytes for when the time cannot tell. A change made within the file system's time
// granularity after the version was taken keeps the time, so while the modification time is
// that close to when the version was taken, the bytes are compared too (with a hash kept of
// the bytes read, or with the bytes the writer still holds); once they are found the same after
// that window, the time alone tells again. A writer that dates its file before that window
// (`settledTime`) is told by the time alone at once.
class FileVersion {
  public:
    struct Contents;

    // Reads a file's bytes and the version they are, from one open file.
    static Result<Contents> read(const std::string& path);
    // The version of `pieces`, just written to `path` in that order; none when the file is
    // gone already. The pieces are hashed only when the file's time cannot tell.
    static std::optional<FileVersion> written(const std::string& path,
                                              std::span<const std::string_view> pieces);

    // Whether the file at `path` may hold other bytes than this version: it is gone,
    // replaced, or its size, time or bytes differ.
    bool changedAt(const std::string& path);
    // How long after it was written a file's time cannot tell a later change, in seconds.
    static double timeGranularity();
    // A modification time for a file about to be written, older than the time any later write
    // gives it, so that the time alone tells a change from the start.
    static timespec settledTime();

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
    // The hash of the bytes; none for a version written whose time tells.
    std::optional<std::uint64_t> hash_;
    // When the version was taken or last confirmed, in nanoseconds of the real-time clock.
    std::int64_t confirmed_ = 0;
};

struct FileVersion::Contents {
    std::string bytes;
    FileVersion version;
};
