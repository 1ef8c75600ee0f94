#pragma once

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
class AtomicFile {
  public:
    static Status write(const std::string& path, std::string_view bytes);
};
