#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/Result.h"

// The file manager, over device paths: every path is resolved through DeviceRoot, so the
// pane passes "/var/mobile/Library/Preferences/..." exactly as on the device.
class NSFileManager {
  public:
    static NSFileManager& defaultManager();

    bool fileExistsAtPath(std::string_view path) const;
    // Also says whether the item is a folder (following symbolic links, as the platform does).
    bool fileExistsAtPath(std::string_view path, bool* isDirectory) const;
    // The names in a folder, sorted; empty with a message in `error` when it cannot be listed.
    std::vector<std::string> contentsOfDirectoryAtPath(std::string_view path,
                                                       std::string* error = nullptr) const;
    // Every path below a folder, relative to it, subfolders included: each folder's entries in
    // sorted order, a folder followed by its contents. Symbolic links are listed, not followed.
    // Empty when the folder cannot be read.
    std::vector<std::string> enumeratorAtPath(std::string_view path) const;
    // Removes a file, or a folder with everything in it. Refuses the device root itself.
    Status removeItemAtPath(std::string_view path) const;
    // Copies a file or a folder with its contents; fails when the destination exists.
    Status copyItemAtPath(std::string_view from, std::string_view to) const;

  private:
    NSFileManager() = default;
};
