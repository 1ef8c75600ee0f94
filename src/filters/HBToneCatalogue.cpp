#include "filters/HBToneCatalogue.h"

#include <algorithm>

#include "platform/foundation/NSFileManager.h"
#include "platform/foundation/NSString.h"
#include "platform/system/TLITunesTone.h"
#include "platform/system/TLToneManager.h"

HBToneCatalogue HBToneCatalogue::build() {
    HBToneCatalogue catalogue;
    catalogue.add(kInstalledHeader, "");
    catalogue.add(kDefaultValue, "Default");
    catalogue.add(kSilentValue, "Silent");
    for (const Tone& tone : installedTones()) {
        catalogue.add(tone.identifier, tone.name);
    }
    catalogue.indexes[0] = static_cast<long>(catalogue.values.size());
    catalogue.add(kAlertHeader, "");
    std::vector<Tone> alerts = alertTones();
    for (const Tone& tone : alerts) {
        catalogue.add(tone.identifier, tone.name);
    }
    catalogue.indexes[1] = static_cast<long>(alerts.size()) + 1;
    catalogue.add(kRingtoneHeader, "");
    std::vector<std::string> ringtones = ringtoneNames();
    for (const std::string& name : ringtones) {
        catalogue.add(std::string(TLToneManager::kRingtonePrefix) + name, name);
    }
    catalogue.indexes[2] = static_cast<long>(ringtones.size()) + 1;
    return catalogue;
}

void HBToneCatalogue::add(std::string value, std::string title) {
    values.emplace_back(std::move(value));
    titles.push_back(std::move(title));
}

void HBToneCatalogue::applyTo(PSSpecifier& row) const {
    row.setValues(values, titles);
    PlistValue::Array numbers;
    for (long index : indexes) {
        numbers.push_back(PlistValue::integer(index));
    }
    row.setProperty(PlistValue(std::move(numbers)), "indexes");
}

bool HBToneCatalogue::isHeaderValue(const PlistValue& value) {
    const std::string* text = value.stringValue();
    return text && (*text == kInstalledHeader || *text == kAlertHeader || *text == kRingtoneHeader);
}

std::vector<HBToneCatalogue::Tone> HBToneCatalogue::sortedByName(std::vector<Tone> tones) {
    std::stable_sort(tones.begin(), tones.end(), [](const Tone& a, const Tone& b) {
        return NSString::localizedCaseInsensitiveCompare(a.name, b.name) == NSOrderedAscending;
    });
    return tones;
}

// Tones the library cannot name are left out: a choice needs a title.
std::vector<HBToneCatalogue::Tone> HBToneCatalogue::alertTones() {
    std::shared_ptr<TLToneManager> manager = TLToneManager::sharedToneManager();
    std::vector<Tone> tones;
    for (const auto& [identifier, file] :
         manager ? manager->alertTonesByIdentifier() : std::map<std::string, std::string>()) {
        if (auto name = manager->localizedNameOfToneWithIdentifier(identifier)) {
            tones.push_back({identifier, *name});
        }
    }
    return sortedByName(std::move(tones));
}

std::vector<HBToneCatalogue::Tone> HBToneCatalogue::installedTones() {
    std::shared_ptr<TLToneManager> manager = TLToneManager::sharedToneManager();
    std::vector<Tone> tones;
    if (!manager || !TLITunesTone::lookupClass()) {
        return tones;
    }
    for (const std::shared_ptr<TLITunesTone>& tone : manager->installedTones()) {
        if (tone && !tone->name().empty() && !tone->identifier().empty()) {
            tones.push_back({tone->identifier(), tone->name()});
        }
    }
    return sortedByName(std::move(tones));
}

// In the file manager's order, subfolders included: "Pack/Chime.m4r" is "Pack/Chime".
std::vector<std::string> HBToneCatalogue::ringtoneNames() {
    const NSFileManager& files = NSFileManager::defaultManager();
    std::string folder = std::string(TLToneManager::kRingtonesDirectory) + "/";
    std::vector<std::string> names;
    for (const std::string& path : files.enumeratorAtPath(TLToneManager::kRingtonesDirectory)) {
        bool isFolder = false;
        if (NSString::pathExtension(path) == "m4r" &&
            files.fileExistsAtPath(folder + path, &isFolder) && !isFolder) {
            names.push_back(NSString::stringByDeletingPathExtension(path));
        }
    }
    return names;
}
