#pragma once

#include <ctime>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/foundation/Result.h"

// Replaces a file as a whole: readers see either the old or the new contents, never a mix.
// The bytes go to a temporary file in the same folder (created exclusively), are flushed
// with fsync, renamed over the target, and the folder is fsynced. On any failure the old
// file is intact and the temporary file is removed. An existing file keeps its permission
// bits; a new one gets 0644. The system calls go through SystemCalls, so tests can fail them.
// One failure comes after the new file is in place: when the folder cannot be fsynced the
// write still reports failure, since the change might not survive a crash, and the caller
// then tells nobody about it.
// A write killed midway leaves its temporary file behind. Each temporary file is locked by
// the write that made it, so every write first removes the unlocked ones of the same target:
// those whose writer has died. Files of other names are never touched.
class AtomicFile {
  public:
    struct Options {
        // The new file's modification time, set before it replaces the target.
        std::optional<timespec> modified;
    };

    static Status write(const std::string& path, std::string_view bytes);
    // Writes the pieces one after another, from where they lie.
    static Status write(const std::string& path, std::span<const std::string_view> pieces,
                        const Options& options);
    // Removes the temporary files of `path` left by writes that were killed; returns how many.
    static int removeAbandonedTemporaries(const std::string& path);
};
