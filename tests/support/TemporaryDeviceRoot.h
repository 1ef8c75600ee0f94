#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/system/DeviceRoot.h"

// A fresh, empty device root for one test, removed afterwards; the root chosen before it is
// chosen again.
class TemporaryDeviceRoot {
  public:
    TemporaryDeviceRoot() : previous_(DeviceRoot::directory()) {
        std::string pattern = (std::filesystem::temp_directory_path() / "huebadge-test-XXXXXX");
        char* made = ::mkdtemp(pattern.data());
        path_ = made ? made : pattern;
        DeviceRoot::set(path_.string());
    }
    ~TemporaryDeviceRoot() {
        DeviceRoot::set(previous_);
        std::error_code error;
        std::filesystem::remove_all(path_, error);
    }
    TemporaryDeviceRoot(const TemporaryDeviceRoot&) = delete;
    TemporaryDeviceRoot& operator=(const TemporaryDeviceRoot&) = delete;

    const std::filesystem::path& path() const { return path_; }

    // The host path of a device path.
    std::string resolve(const std::string& devicePath) const {
        return DeviceRoot::resolve(devicePath);
    }

    static std::string read(const std::string& hostPath) {
        std::ifstream in(hostPath, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    static void write(const std::string& hostPath, const std::string& bytes) {
        std::filesystem::create_directories(std::filesystem::path(hostPath).parent_path());
        std::ofstream(hostPath, std::ios::binary) << bytes;
    }

  private:
    std::string previous_;
    std::filesystem::path path_;
};
