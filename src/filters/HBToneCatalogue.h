#pragma once

#include <array>
#include <string>
#include <vector>

#include "platform/foundation/PlistValue.h"
#include "platform/prefs/PSSpecifier.h"

// The alert sound choices of a message filter, in three sections, each led by a header
// entry that is not a choice: "Default", "Silent" and the installed tones; the system's
// alert tones; the ringtone files. The tone library is read when the catalogue is built.
class HBToneCatalogue {
  public:
    static constexpr const char* kInstalledHeader = "<INSTALLED TONES>";
    static constexpr const char* kAlertHeader = "<ALERT TONES>";
    static constexpr const char* kRingtoneHeader = "<RINGTONES>";
    static constexpr const char* kDefaultValue = "HBDefault";
    static constexpr const char* kSilentValue = "HBSilent";

    PlistValue::Array values;
    std::vector<std::string> titles;
    // The position of the alert header, the length of the alert section and the length of
    // the ringtone section, both with their header.
    std::array<long, 3> indexes{};

    static HBToneCatalogue build();
    // Gives a list row these choices and their "indexes".
    void applyTo(PSSpecifier& row) const;
    static bool isHeaderValue(const PlistValue& value);

  private:
    struct Tone {
        std::string identifier;
        std::string name;
    };

    void add(std::string value, std::string title);
    static std::vector<Tone> sortedByName(std::vector<Tone> tones);
    static std::vector<Tone> alertTones();
    static std::vector<Tone> installedTones();
    static std::vector<std::string> ringtoneNames();
};
