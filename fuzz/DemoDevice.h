#pragma once

#include <filesystem>
#include <string>

#include "platform/foundation/Result.h"

// A temporary device root prepared from the demo device by scripts/prepare-device-root, as
// `make run` prepares one, and removed again at the end. Its preferences folder can be put
// back as the script leaves it: the demo settings and nothing else.
class DemoDevice {
  public:
    // Throws when the script fails: nothing can run on a device that is not there.
    explicit DemoDevice(const std::filesystem::path& sourceDirectory);
    ~DemoDevice();
    DemoDevice(const DemoDevice&) = delete;
    DemoDevice& operator=(const DemoDevice&) = delete;

    const std::string& root() const { return root_; }
    // The host path of the pane's settings file.
    std::string settingsPath() const;
    // Drops whatever the pane wrote beside the settings (profiles, files kept aside) and
    // puts the demo settings back.
    void resetSettings() const;
    // The settings file, when there is one, reads back as a dictionary; else why not.
    Status settingsWhole() const;

  private:
    std::filesystem::path source_;
    std::filesystem::path folder_;
    std::string root_;
};
