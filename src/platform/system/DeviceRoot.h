#pragma once

#include <functional>
#include <string>
#include <string_view>

// Maps the device's absolute paths ("/var/mobile/Library/Preferences/...") into a folder
// that stands for the device's file system. Chosen once per process: `--device-root DIR`,
// else $HUEBADGE_DEVICE_ROOT, else a per-user default folder.
class DeviceRoot {
  public:
    // Picks the root from the arguments and the environment and removes "--device-root DIR"
    // from argv. Returns false (and leaves the root unset) when the option lacks its value.
    static bool chooseFromArguments(int& argc, char** argv);
    // Sets the root directly (programs after parsing, tests with a fresh temporary folder).
    static void set(std::string directory);
    // The chosen root; the per-user default when nothing was chosen.
    static const std::string& directory();
    static std::string defaultDirectory();
    // The host path of a device path: the root followed by the device path. "." and ".."
    // segments are applied lexically and never climb above the root, so a device path
    // (say, a profile name typed by the user) cannot reach files outside the device.
    static std::string resolve(std::string_view devicePath);
    // Puts a host folder at a device folder on every root: paths below DEVICEFOLDER resolve
    // into the folder HOSTFOLDER names when asked (a bundle shipped beside the programs).
    // Paths are normalised first, so ".." never reaches the host folder's parents.
    static void mount(std::string deviceFolder, std::function<std::string()> hostFolder);
};
