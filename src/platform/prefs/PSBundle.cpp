#include "platform/prefs/PSBundle.h"

#include <cstdlib>

#include "platform/system/DeviceRoot.h"

namespace {

std::string& directoryStorage() {
    static std::string directory = [] {
        const char* fromEnvironment = std::getenv("HUEBADGE_RESOURCES_DIR");
        return std::string(fromEnvironment && *fromEnvironment ? fromEnvironment : "resources");
    }();
    return directory;
}

bool isPlainName(std::string_view name) {
    return !name.empty() && name.front() != '.' &&
           name.find_first_of(std::string_view("/\0", 2)) == std::string_view::npos;
}

const bool kMounted =
    (DeviceRoot::mount(PSBundle::kDeviceFolder, [] { return PSBundle::resourcesDirectory(); }),
     true);

}  // namespace

void PSBundle::setResourcesDirectory(std::string directory) {
    directoryStorage() = std::move(directory);
}

const std::string& PSBundle::resourcesDirectory() {
    return directoryStorage();
}

std::string PSBundle::pathForResource(std::string_view name, std::string_view type) {
    if (!isPlainName(name)) {
        return {};
    }
    std::string path = resourcesDirectory();
    path.append("/").append(name);
    if (!type.empty()) {
        path.append(".").append(type);
    }
    return path;
}
