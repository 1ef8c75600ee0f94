#pragma once

#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "platform/foundation/FileVersion.h"
#include "platform/foundation/PlistValue.h"
#include "platform/foundation/Result.h"

// What a store knows of a settings file: how to read it whole, and which version of it the
// store last read or wrote, to tell whether another program wrote it since.
class HBSettingsFile {
  public:
    struct Read {
        // None when the file is missing or unreadable (not a dictionary property list).
        std::optional<PlistValue> table;
        std::optional<FileVersion> version;
        bool exists = false;
        bool unreadable() const { return exists && !table; }
    };

    // Reads the file at `path`, after removing the temporary files of killed writes.
    static Read read(const std::string& path);
    // Copies a file that could not be read beside it (NAME.unreadable, or .unreadable.N when
    // that is taken), so that a save never destroys it. Nothing to do when it is gone; fails
    // when it cannot be read at all (a folder in its place).
    static Status keepAside(const std::string& path);

    // Another program's table with `keys` as in `ours` on top: a key absent from ours is
    // removed.
    static PlistValue merged(PlistValue theirs, const PlistValue& ours,
                             const std::set<std::string, std::less<>>& keys);

    // Nothing known: no other program's write can be told.
    void forget() { _seen.reset(); }
    // The store holds what `read` found (a missing file included).
    void saw(const Read& read) { _seen.emplace(read.version); }
    // The store has written the file, which then had this version (none: it was gone).
    void wrote(const std::optional<FileVersion>& version) { _seen.emplace(version); }
    // Whether another program wrote, replaced, created or removed the file since.
    bool changedElsewhere(const std::string& path);

  private:
    // The version last seen, or none when the file did not exist then; unset when unknown.
    std::optional<std::optional<FileVersion>> _seen;
};
