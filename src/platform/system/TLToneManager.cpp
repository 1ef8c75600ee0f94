#include "platform/system/TLToneManager.h"

#include "platform/foundation/NSFileManager.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/PropertyList.h"
#include "platform/system/DeviceRoot.h"

namespace {

std::vector<TLToneManager::Tone> tonesOfArray(const PlistValue& array) {
    std::vector<TLToneManager::Tone> tones;
    for (std::size_t i = 0; i < array.count() && array.isArray(); ++i) {
        const PlistValue& entry = array[i];
        std::string identifier = entry["identifier"].stringOr("");
        if (!identifier.empty()) {
            tones.push_back({identifier, entry["name"].stringOr(""), entry["file"].stringOr("")});
        }
    }
    return tones;
}

}  // namespace

bool TLToneManager::lookupClass() {
    return readCatalogue().ok();
}

std::shared_ptr<TLToneManager> TLToneManager::sharedToneManager() {
    static std::shared_ptr<TLToneManager> shared = std::make_shared<TLToneManager>();
    return lookupClass() ? shared : nullptr;
}

Result<TLToneManager::Catalogue> TLToneManager::catalogueFromPropertyList(const PlistValue& list) {
    if (!list.isDictionary()) {
        return Result<Catalogue>::failure("the tone list is not a dictionary");
    }
    return Catalogue{tonesOfArray(list["AlertTones"]), tonesOfArray(list["InstalledTones"])};
}

Result<TLToneManager::Catalogue> TLToneManager::readCatalogue() {
    Result<PlistValue> list = PropertyList::readFile(DeviceRoot::resolve(kTonesPath));
    if (!list) {
        return Result<Catalogue>::failure(list.error());
    }
    return catalogueFromPropertyList(list.value());
}

std::map<std::string, std::string> TLToneManager::alertTonesByIdentifier() const {
    std::map<std::string, std::string> tones;
    Result<Catalogue> catalogue = readCatalogue();
    for (const Tone& tone : catalogue ? catalogue->alertTones : std::vector<Tone>()) {
        tones.emplace(tone.identifier, devicePathOfFile(tone.file));
    }
    return tones;
}

std::optional<std::string> TLToneManager::localizedNameOfToneWithIdentifier(
    std::string_view identifier) const {
    Result<Catalogue> catalogue = readCatalogue();
    std::optional<Tone> tone = catalogue ? findTone(catalogue.value(), identifier) : std::nullopt;
    if (!tone || tone->name.empty()) {
        return std::nullopt;
    }
    return tone->name;
}

std::vector<std::shared_ptr<TLITunesTone>> TLToneManager::installedTones() const {
    std::vector<std::shared_ptr<TLITunesTone>> tones;
    Result<Catalogue> catalogue = readCatalogue();
    for (const Tone& tone : catalogue ? catalogue->installedTones : std::vector<Tone>()) {
        tones.push_back(std::make_shared<TLITunesTone>(tone.identifier, tone.name));
    }
    return tones;
}

// The library's own tones first; then a ringtone's file, named after it.
std::optional<std::string> TLToneManager::filePathForToneIdentifier(
    std::string_view identifier) const {
    Result<Catalogue> catalogue = readCatalogue();
    if (std::optional<Tone> tone =
            catalogue ? findTone(catalogue.value(), identifier) : std::nullopt) {
        return tone->file.empty() ? std::nullopt : std::optional(devicePathOfFile(tone->file));
    }
    if (!NSString::hasPrefix(identifier, kRingtonePrefix)) {
        return std::nullopt;
    }
    std::string path = std::string(kRingtonesDirectory) + "/" +
                       std::string(identifier.substr(kRingtonePrefix.size())) + ".m4r";
    if (!NSFileManager::defaultManager().fileExistsAtPath(path)) {
        return std::nullopt;
    }
    return path;
}

std::optional<TLToneManager::Tone> TLToneManager::findTone(const Catalogue& catalogue,
                                                           std::string_view identifier) {
    for (const auto* list : {&catalogue.alertTones, &catalogue.installedTones}) {
        for (const Tone& tone : *list) {
            if (tone.identifier == identifier) {
                return tone;
            }
        }
    }
    return std::nullopt;
}

// A bare file name lives in the tone folder; a device path stands as it is.
std::string TLToneManager::devicePathOfFile(const std::string& file) {
    if (file.empty() || file.front() == '/') {
        return file;
    }
    return std::string(kTonesDirectory) + "/" + file;
}
