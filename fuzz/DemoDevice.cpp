#include "DemoDevice.h"

#include <fmt/format.h>

#include <cstdlib>
#include <stdexcept>
#include <system_error>

#include "platform/foundation/PropertyList.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kSettingsPath = "var/mobile/Library/Preferences/net.quorvel.huebadge.plist";

}  // namespace

DemoDevice::DemoDevice(const fs::path& sourceDirectory) : source_(sourceDirectory) {
    std::string pattern = fs::temp_directory_path() / "huebadge-demo-XXXXXX";
    if (!::mkdtemp(pattern.data())) {
        throw std::runtime_error("no temporary folder for the demo device");
    }
    folder_ = pattern;
    root_ = folder_ / "device";
    std::string command = fmt::format("'{}' '{}' >/dev/null",
                                      (source_ / "scripts/prepare-device-root").string(), root_);
    if (std::system(command.c_str()) != 0) {
        throw std::runtime_error("scripts/prepare-device-root failed for " + root_);
    }
}

DemoDevice::~DemoDevice() {
    std::error_code error;
    fs::remove_all(folder_, error);
}

std::string DemoDevice::settingsPath() const {
    return fs::path(root_) / kSettingsPath;
}

void DemoDevice::resetSettings() const {
    fs::path settings = settingsPath();
    fs::remove_all(settings.parent_path());
    fs::create_directories(settings.parent_path());
    fs::copy_file(source_ / "demo" / settings.filename(), settings);
}

Status DemoDevice::settingsWhole() const {
    std::string path = settingsPath();
    std::error_code error;
    if (!fs::exists(fs::symlink_status(path, error))) {
        return Status::success();
    }
    Result<PlistValue> settings = PropertyList::readFile(path);
    if (!settings) {
        return Status::failure("the settings file does not read: " + settings.error());
    }
    if (!settings->isDictionary()) {
        return Status::failure("the settings file holds no dictionary");
    }
    return Status::success();
}
