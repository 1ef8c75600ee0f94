#pragma once

#include <string>
#include <string_view>

// The pane's bundle as far as pages use it: the folder their descriptions and images are
// loaded from. A host or test chooses it once at start; until then it is
// $HUEBADGE_RESOURCES_DIR, else "resources" in the working directory.
class PSBundle {
  public:
    // Where the bundle sits on the device. Device paths below it resolve into the resources
    // folder on every device root, so pages load its images by their device paths.
    static constexpr const char* kDeviceFolder = "/Library/PreferenceBundles/Huebadge.bundle";

    static void setResourcesDirectory(std::string directory);
    static const std::string& resourcesDirectory();
    // The host path of NAME.TYPE in the resources folder; empty for a name that would leave
    // the folder (empty, containing "/" or NUL, or starting with ".").
    static std::string pathForResource(std::string_view name, std::string_view type);
};
