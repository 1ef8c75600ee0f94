#include "model/HBProfiles.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <fmt/format.h>

#include <algorithm>

#include "platform/foundation/NSFileManager.h"
#include "platform/foundation/NSPredicate.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/PropertyList.h"
#include "platform/system/DeviceRoot.h"
#include "store/HBPreferences.h"
#include "store/HBUndoHistory.h"

namespace {

constexpr const char* kHBProfilesFolder = "/var/mobile/Library/Preferences/";
constexpr const char* kProfilePrefix = "net.quorvel.huebadge_";
constexpr const char* kPlistSuffix = ".plist";

std::string profileIdentifier(std::string_view name) {
    return kProfilePrefix + std::string(name);
}

std::string textOr(const PlistValue& value, std::string fallback) {
    const std::string* text = value.stringValue();
    return text ? *text : fallback;
}

// A stamp that is there but is not text: the file is not a profile this pane wrote.
bool hasUsableStamp(const PlistValue& table) {
    const PlistValue& stamp = table["lastModified"];
    return stamp.isAbsent() || stamp.stringValue() != nullptr;
}

// The name in a listed file name "net.quorvel.huebadge_NAME.plist".
std::string nameInFileName(const std::string& fileName) {
    std::size_t prefix = std::string_view(kProfilePrefix).size();
    std::size_t suffix = std::string_view(kPlistSuffix).size();
    return fileName.substr(prefix, fileName.size() - prefix - suffix);
}

// A listed file as a profile entry; none for a folder that happens to match the pattern.
std::optional<HBProfiles::Profile> readProfile(const std::string& fileName) {
    bool isDirectory = false;
    if (!NSFileManager::defaultManager().fileExistsAtPath(kHBProfilesFolder + fileName,
                                                          &isDirectory) ||
        isDirectory) {
        return std::nullopt;
    }
    HBProfiles::Profile profile{nameInFileName(fileName), ""};
    Result<PlistValue> contents = PropertyList::readFile(
        HBPreferences::pathForIdentifier(profileIdentifier(profile.profileName)));
    if (contents && contents->isDictionary()) {
        profile.lastModified = textOr(contents.value()["lastModified"], "");
    }
    return profile;
}

// The name a brought-in file gives its profile: its "profileName", else its file name without
// the ".plist" extension and, for a file shared from the pane, without the profile prefix.
std::string importedName(const PlistValue& table, std::string_view fileName) {
    const std::string* stored = table["profileName"].stringValue();
    if (stored && !stored->empty()) {
        return *stored;
    }
    if (fileName.ends_with(kPlistSuffix)) {
        fileName.remove_suffix(std::string_view(kPlistSuffix).size());
    }
    if (fileName.starts_with(kProfilePrefix)) {
        fileName.remove_prefix(std::string_view(kProfilePrefix).size());
    }
    return std::string(fileName);
}

// Characters that would break a line where the name is shown or that have no glyph at all.
bool isControlCharacter(UChar32 character) {
    int8_t type = u_charType(character);
    return type == U_CONTROL_CHAR || type == U_LINE_SEPARATOR || type == U_PARAGRAPH_SEPARATOR;
}

std::optional<std::string> problemWithCharacters(std::string_view name) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(name.data());
    int32_t length = static_cast<int32_t>(name.size());
    for (int32_t offset = 0; offset < length;) {
        UChar32 character;
        U8_NEXT(bytes, offset, length, character);
        if (character < 0) {
            return "A profile name must be valid text.";
        }
        if (isControlCharacter(character)) {
            return "A profile name cannot contain control characters or line breaks.";
        }
    }
    return std::nullopt;
}

// Writes of profiles and of the settings file for them change no setting: no stamp, no
// notification.
HBSaveOptions quietSave(std::optional<std::string> identifier = std::nullopt) {
    return {std::move(identifier), HBPreferences::Notification(), HBSaveOptions::Stamp::Unchanged};
}

}  // namespace

const char* HBProfiles::preferencesFolder() {
    return kHBProfilesFolder;
}

std::string HBProfiles::profileFileName(std::string_view name) {
    return profileIdentifier(name) + kPlistSuffix;
}

std::string HBProfiles::settingsFileName() {
    return std::string(HBPreferences::kIdentifier) + kPlistSuffix;
}

std::string HBProfiles::profilePath(std::string_view name) {
    return kHBProfilesFolder + profileFileName(name);
}

std::optional<std::string> HBProfiles::problemWithProfileName(std::string_view name) {
    if (name.find('/') != std::string_view::npos) {
        return "A profile name cannot contain \"/\".";
    }
    if (name.starts_with('.') || name.find("..") != std::string_view::npos) {
        return "A profile name cannot start with \".\" or contain \"..\".";
    }
    if (name.size() > kMaxProfileNameBytes) {
        return fmt::format("A profile name cannot be longer than {} bytes.", kMaxProfileNameBytes);
    }
    if (auto problem = problemWithCharacters(name)) {
        return problem;
    }
    if (HBPreferences::pathForIdentifier(profileIdentifier(name)).empty()) {
        return "A profile name cannot name a settings file.";
    }
    return std::nullopt;
}

std::vector<HBProfiles::Profile> HBProfiles::list() const {
    NSPredicate pattern =
        NSPredicate::predicateWithFormatLike(std::string(kProfilePrefix) + "*" + kPlistSuffix);
    std::vector<std::string> names = NSPredicate::filteredArrayUsingPredicate(
        NSFileManager::defaultManager().contentsOfDirectoryAtPath(kHBProfilesFolder), pattern);
    std::vector<Profile> profiles;
    for (const std::string& name : names) {
        if (std::optional<Profile> profile = readProfile(name)) {
            profiles.push_back(std::move(*profile));
        }
    }
    // The folder lists names in byte order, so names equal but for case keep one order.
    std::stable_sort(profiles.begin(), profiles.end(), [](const Profile& a, const Profile& b) {
        return NSString::caseInsensitiveCompare(a.profileName, b.profileName) == NSOrderedAscending;
    });
    return profiles;
}

bool HBProfiles::exists(std::string_view name) const {
    return NSFileManager::defaultManager().fileExistsAtPath(profilePath(name));
}

HBProfiles::Profile HBProfiles::current() const {
    const std::string* name = _store.objectForKey("profileName").stringValue();
    std::string title =
        !name ? "Unsaved" : (_store.boolForKey("profileSaved") ? *name : *name + " (Unsaved)");
    return {std::move(title), textOr(_store.objectForKey("lastModified"), "")};
}

std::string HBProfiles::currentName() const {
    return textOr(_store.objectForKey("profileName"), "");
}

// The profile file is written first: the settings file names a profile only once it exists.
HBProfiles::Outcome HBProfiles::save(const std::string& name) {
    if (!_store.hasTable()) {
        return Outcome::failure(lastSaveFailureText());
    }
    PlistValue table = *_store.table();
    table.set("profileName", PlistValue(name));
    table.set("profileSaved", PlistValue::boolean(true));
    if (!_store.replaceTable(std::move(table), quietSave(profileIdentifier(name)))) {
        return Outcome::failure(lastSaveFailureText());
    }
    if (!_store.save(quietSave())) {
        return Outcome::failure(
            "The profile was saved, but the settings file could not be updated: " +
            lastSaveFailureText());
    }
    return Outcome::success();
}

// A profile that cannot be read, or whose file could not become the settings file, leaves
// the settings in use as they were: in memory as on disk.
HBProfiles::Outcome HBProfiles::load(const std::string& name) {
    std::optional<PlistValue> table = _store.readIdentifier(profileIdentifier(name));
    if (!table || !hasUsableStamp(*table)) {
        return Outcome::failure(std::nullopt);
    }
    if (!_store.replaceTable(std::move(*table), {.stamp = HBSaveOptions::Stamp::Unchanged})) {
        return Outcome::failure(lastSaveFailureText());
    }
    return Outcome::success();
}

HBProfiles::Outcome HBProfiles::reset() {
    if (!_store.replaceTable(PlistValue::dictionary(), {})) {
        return Outcome::failure(lastSaveFailureText());
    }
    return Outcome::success();
}

// The file's bytes go to the undo step open, if any, so that an undo brings it back.
HBProfiles::Outcome HBProfiles::remove(const std::string& name) {
    HBUndoHistory::shared().willRemoveFile(DeviceRoot::resolve(profilePath(name)));
    Status removed = NSFileManager::defaultManager().removeItemAtPath(profilePath(name));
    return removed ? Outcome::success() : Outcome::failure(removed.error());
}

Result<HBProfiles::Import> HBProfiles::readImport(std::string_view fileName,
                                                  std::string_view bytes) {
    Result<PlistValue> read = PropertyList::parse(bytes);
    if (!read) {
        return Result<Import>::failure("The file is not a property list: " + read.error());
    }
    if (!read->isDictionary()) {
        return Result<Import>::failure(
            "The file holds no settings: its property list is not a dictionary.");
    }
    PlistValue table = std::move(read).value();
    std::string name = importedName(table, fileName);
    if (name.empty()) {
        return Result<Import>::failure("The file names no profile.");
    }
    if (std::optional<std::string> problem = problemWithProfileName(name)) {
        return Result<Import>::failure(*problem);
    }
    return Import{std::move(name), std::move(table)};
}

// The file is kept as a saved profile is: named after itself and marked saved. A stamp that
// is not text would keep it from loading, so such a stamp is dropped. It goes through a store
// of its own, so the settings in use are not touched.
HBProfiles::Outcome HBProfiles::writeImport(Import import) {
    PlistValue& table = import.table;
    table.set("profileName", PlistValue(import.name));
    table.set("profileSaved", PlistValue::boolean(true));
    if (!hasUsableStamp(table)) {
        table.mutableDictionary().erase("lastModified");
    }
    HBPreferences profile;
    if (profile.replaceTable(std::move(table), quietSave(profileIdentifier(import.name)))) {
        return Outcome::success();
    }
    const auto& failure = profile.lastSaveFailure();
    return Outcome::failure(failure ? failure->message
                                    : std::string("The file could not be written."));
}

std::string HBProfiles::lastSaveFailureText() const {
    const auto& failure = _store.lastSaveFailure();
    return failure ? failure->message : std::string("The file could not be written.");
}
