#include "platform/system/DeviceRoot.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

namespace {

constexpr const char* kOption = "--device-root";

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
    std::string path = directory();
    if (path == "/") {
        path.clear();
    }
    for (std::string_view segment : normalisedSegments(devicePath)) {
        path += '/';
        path += segment;
    }
    return path.empty() ? "/" : path;
}
