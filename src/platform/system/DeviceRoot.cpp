#include "platform/system/DeviceRoot.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <optional>
#include <vector>

#include "platform/foundation/NSFileManager.h"

namespace {

constexpr const char* kOption = "--device-root";

// The file manager takes device paths; it resolves them here.
const bool kFileManagerResolves = (NSFileManager::setPathResolver(&DeviceRoot::resolve), true);

std::optional<std::string>& chosen() {
    static std::optional<std::string> root;
    return root;
}

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string homeFolder() {
    std::string home = environment("HOME");
    if (!home.empty()) {
        return home;
    }
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir) {
        return entry->pw_dir;
    }
    return ".";
}

// A trailing slash would double up with the device path's own leading one.
std::string withoutTrailingSlashes(std::string directory) {
    while (directory.size() > 1 && directory.back() == '/') {
        directory.pop_back();
    }
    return directory;
}

// The device path's segments with "." and ".." applied lexically; ".." at the top stays at
// the top, so no device path leads out of the root.
std::vector<std::string_view> normalisedSegments(std::string_view path) {
    std::vector<std::string_view> segments;
    while (!path.empty()) {
        std::size_t slash = path.find('/');
        std::string_view segment = path.substr(0, slash);
        path = slash == std::string_view::npos ? std::string_view() : path.substr(slash + 1);
        if (segment == "..") {
            if (!segments.empty()) {
                segments.pop_back();
            }
        } else if (!segment.empty() && segment != ".") {
            segments.push_back(segment);
        }
    }
    return segments;
}

struct Mount {
    std::vector<std::string> segments;
    std::function<std::string()> hostFolder;
};

std::vector<Mount>& mounts() {
    static std::vector<Mount> all;
    return all;
}

bool startsWith(const std::vector<std::string_view>& path, const std::vector<std::string>& prefix) {
    return path.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), path.begin());
}

std::string joined(std::string path, const std::vector<std::string_view>& segments,
                   std::size_t from) {
    if (path == "/") {
        path.clear();
    }
    for (std::size_t index = from; index < segments.size(); ++index) {
        path += '/';
        path += segments[index];
    }
    return path.empty() ? "/" : path;
}

void removeArguments(int& argc, char** argv, int index, int count) {
    for (int i = index; i + count <= argc; ++i) {
        argv[i] = argv[i + count];
    }
    argc -= count;
}

}  // namespace

bool DeviceRoot::chooseFromArguments(int& argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0) {
            break;
        }
        if (std::strcmp(argv[i], kOption) == 0) {
            if (i + 1 >= argc || argv[i + 1][0] == '\0') {
                return false;
            }
            set(argv[i + 1]);
            removeArguments(argc, argv, i, 2);
            return true;
        }
    }
    std::string fromEnvironment = environment("HUEBADGE_DEVICE_ROOT");
    if (!fromEnvironment.empty()) {
        set(fromEnvironment);
    }
    return true;
}

void DeviceRoot::set(std::string directory) {
    chosen() = withoutTrailingSlashes(std::move(directory));
}

const std::string& DeviceRoot::directory() {
    if (!chosen()) {
        std::string fromEnvironment = environment("HUEBADGE_DEVICE_ROOT");
        set(fromEnvironment.empty() ? defaultDirectory() : fromEnvironment);
    }
    return *chosen();
}

std::string DeviceRoot::defaultDirectory() {
    std::string data = environment("XDG_DATA_HOME");
    // Relative values are invalid for XDG_DATA_HOME and are ignored.
    if (data.empty() || data.front() != '/') {
        data = homeFolder() + "/.local/share";
    }
    return withoutTrailingSlashes(data) + "/huebadge/device";
}

std::string DeviceRoot::resolve(std::string_view devicePath) {
    std::vector<std::string_view> segments = normalisedSegments(devicePath);
    for (const Mount& mount : mounts()) {
        if (startsWith(segments, mount.segments)) {
            return joined(withoutTrailingSlashes(mount.hostFolder()), segments,
                          mount.segments.size());
        }
    }
    return joined(directory(), segments, 0);
}

void DeviceRoot::mount(std::string deviceFolder, std::function<std::string()> hostFolder) {
    Mount added{{}, std::move(hostFolder)};
    for (std::string_view segment : normalisedSegments(deviceFolder)) {
        added.segments.emplace_back(segment);
    }
    mounts().push_back(std::move(added));
}
