#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/PlistValue.h"
#include "platform/foundation/Result.h"
#include "platform/system/TLITunesTone.h"

// The system's tone library: alert tones, installed tones and ringtones. It is a component of
// its own that may be missing, so callers look the class up first; here it exists when the
// device holds a readable tone list at kTonesPath, a dictionary with two arrays,
// "AlertTones" and "InstalledTones", of dictionaries with "identifier", "name" and "file" (a
// device path, or a name inside kTonesDirectory). The list is read again for every question,
// so tones added on the device show at once.
class TLToneManager {
  public:
    static constexpr std::string_view kTonesDirectory = "/var/mobile/Library/Tones";
    static constexpr std::string_view kTonesPath = "/var/mobile/Library/Tones/Tones.plist";
    static constexpr std::string_view kRingtonesDirectory = "/Library/Ringtones";
    // Ringtones are named by their file: "system:Bells" is "/Library/Ringtones/Bells.m4r".
    static constexpr std::string_view kRingtonePrefix = "system:";

    // One entry of the tone list.
    struct Tone {
        std::string identifier;
        std::string name;
        std::string file;
    };
    struct Catalogue {
        std::vector<Tone> alertTones;
        std::vector<Tone> installedTones;
    };

    static bool lookupClass();
    // The one manager; null when the class is absent.
    static std::shared_ptr<TLToneManager> sharedToneManager();
    // The tones of a tone list. Entries without an identifier are left out; fails when the
    // list is not a dictionary.
    static Result<Catalogue> catalogueFromPropertyList(const PlistValue& list);

    // Alert tone identifiers with the device path of each tone's sound.
    std::map<std::string, std::string> alertTonesByIdentifier() const;
    // The display name of an alert or installed tone; none for an unknown or unnamed tone.
    std::optional<std::string> localizedNameOfToneWithIdentifier(std::string_view identifier) const;
    std::vector<std::shared_ptr<TLITunesTone>> installedTones() const;
    // The device path of a tone's sound; none for an unknown tone or one without a file.
    std::optional<std::string> filePathForToneIdentifier(std::string_view identifier) const;

  private:
    static Result<Catalogue> readCatalogue();
    static std::optional<Tone> findTone(const Catalogue& catalogue, std::string_view identifier);
    static std::string devicePathOfFile(const std::string& file);
};
