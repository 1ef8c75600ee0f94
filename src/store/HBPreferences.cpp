#include "store/HBPreferences.h"

#include <fmt/format.h>

#include <filesystem>
#include <mutex>
#include <system_error>
#include <utility>

#include "platform/foundation/AtomicFile.h"
#include "platform/foundation/FileBytes.h"
#include "platform/foundation/NSDateFormatter.h"
#include "platform/foundation/PropertyList.h"
#include "platform/system/DarwinNotificationCenter.h"
#include "platform/system/DeviceRoot.h"

namespace {

constexpr const char* kPreferencesPathFormat = "/var/mobile/Library/Preferences/{}.plist";
constexpr const char* kUnreadableSuffix = ".unreadable";

std::string currentStamp() {
    // Kept per thread: the formatter keeps its ICU formatter between saves.
    thread_local NSDateFormatter formatter = [] {
        NSDateFormatter made;
        made.setDateStyle(NSDateFormatterShortStyle);
        made.setTimeStyle(NSDateFormatterMediumStyle);
        return made;
    }();
    return formatter.stringFromDate(NSDateFormatter::now());
}

// The first of NAME.unreadable, NAME.unreadable.1, ... that does not exist yet, so that an
// older kept copy is never overwritten.
std::string freeUnreadableName(const std::string& path) {
    std::string candidate = path + kUnreadableSuffix;
    std::error_code error;
    for (int n = 1; std::filesystem::exists(candidate, error); ++n) {
        candidate = fmt::format("{}{}.{}", path, kUnreadableSuffix, n);
    }
    return candidate;
}

}  // namespace

HBPreferences& HBPreferences::sharedInstance() {
    static std::once_flag once;
    static HBPreferences* instance = nullptr;
    std::call_once(once, [] { instance = new HBPreferences(); });
    return *instance;
}

HBPreferences& HBPreferences::paneStore() {
    HBPreferences& store = sharedInstance();
    store.loadFromIdentifier(kIdentifier, kNotification);
    return store;
}

std::string HBPreferences::pathForIdentifier(std::string_view identifier) {
    if (identifier.empty() || identifier.front() == '.' ||
        identifier.find_first_of(std::string_view("/\0", 2)) != std::string_view::npos) {
        return {};
    }
    return DeviceRoot::resolve(fmt::format(kPreferencesPathFormat, identifier));
}

bool HBPreferences::loadFromIdentifier(const std::string& identifier,
                                       const std::string& notification) {
    if (_preferences) {
        return true;
    }
    return reLoadFromIdentifier(identifier, notification);
}

bool HBPreferences::reLoadFromIdentifier(const std::string& identifier,
                                         const std::string& notification) {
    _identifier = identifier;
    _notification = notification;
    return loadOnceFromIdentifier(identifier);
}

bool HBPreferences::loadOnceFromIdentifier(const std::string& identifier) {
    std::optional<PlistValue> read = readIdentifier(identifier);
    restoreTable(read ? std::move(*read) : PlistValue::dictionary());
    return read.has_value();
}

std::optional<PlistValue> HBPreferences::readIdentifier(const std::string& identifier) {
    std::string path = pathForIdentifier(identifier);
    if (path.empty()) {
        return std::nullopt;
    }
    AtomicFile::removeAbandonedTemporaries(path);
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        return std::nullopt;
    }
    Result<PlistValue> contents = PropertyList::readFile(path);
    if (!contents || !contents->isDictionary()) {
        _unreadableFiles.insert(path);
        return std::nullopt;
    }
    return std::move(contents).value();
}

bool HBPreferences::replaceTable(PlistValue table, const SaveOptions& options) {
    std::optional<PlistValue> before = std::exchange(_preferences, std::move(table));
    if (!save(options)) {
        _preferences = std::move(before);
        return false;
    }
    tellObservers([](HBPreferencesObserver& observer) { observer.preferencesDidReload(); });
    return true;
}

void HBPreferences::restoreTable(std::optional<PlistValue> table) {
    _preferences = std::move(table);
    tellObservers([](HBPreferencesObserver& observer) { observer.preferencesDidReload(); });
}

void HBPreferences::addObserver(const std::weak_ptr<HBPreferencesObserver>& observer) {
    _observers.push_back(observer);
}

// An observer may add another while it is told, so the list is walked by index; the ones
// that are gone are dropped afterwards.
void HBPreferences::tellObservers(const std::function<void(HBPreferencesObserver&)>& tell) {
    for (std::size_t index = 0; index < _observers.size(); ++index) {
        if (std::shared_ptr<HBPreferencesObserver> observer = _observers[index].lock()) {
            tell(*observer);
        }
    }
    std::erase_if(_observers, [](const auto& observer) { return observer.expired(); });
}

void HBPreferences::resetPreferences() {
    restoreTable(PlistValue::dictionary());
}

PlistValue HBPreferences::objectForKey(std::string_view key) const {
    return _preferences ? (*_preferences)[key] : PlistValue();
}

const PlistValue* HBPreferences::number(std::string_view key) const {
    if (!_preferences) {
        return nullptr;
    }
    const PlistValue& value = (*_preferences)[key];
    return value.isNumber() ? &value : nullptr;
}

std::int64_t HBPreferences::integerForKey(std::string_view key) const {
    return integerForKey(key, 0);
}

double HBPreferences::floatForKey(std::string_view key) const {
    return floatForKey(key, 0.0);
}

bool HBPreferences::boolForKey(std::string_view key) const {
    return boolForKey(key, false);
}

std::int64_t HBPreferences::integerForKey(std::string_view key, std::int64_t defaultValue) const {
    const PlistValue* value = number(key);
    return value ? value->integerValue() : defaultValue;
}

double HBPreferences::floatForKey(std::string_view key, double defaultValue) const {
    const PlistValue* value = number(key);
    return value ? static_cast<double>(static_cast<float>(value->doubleValue())) : defaultValue;
}

bool HBPreferences::boolForKey(std::string_view key, bool defaultValue) const {
    const PlistValue* value = number(key);
    return value ? value->boolValue() : defaultValue;
}

void HBPreferences::setObject(PlistValue value, std::string_view key) {
    if (_preferences && !value.isAbsent()) {
        _preferences->set(key, std::move(value));
        tellObservers(
            [key](HBPreferencesObserver& observer) { observer.preferenceDidChange(key); });
    }
}

bool HBPreferences::save(const SaveOptions& options) {
    if (!_preferences) {
        return false;
    }
    if (options.stamp == SaveOptions::Stamp::Fresh) {
        _preferences->set("lastModified", PlistValue(currentStamp()));
    }
    std::string path = pathForIdentifier(options.identifier.value_or(_identifier));
    if (path.empty() || !writeTable(path)) {
        tellObservers([](HBPreferencesObserver& observer) { observer.preferencesDidFailToSave(); });
        return false;
    }
    if (const Notification& notification = options.notification.value_or(_notification)) {
        DarwinNotificationCenter::post(*notification);
    }
    return true;
}

bool HBPreferences::writeTable(const std::string& path) {
    Status written = writeTableOnce(path);
    if (written) {
        _lastSaveFailure.reset();
    } else {
        _lastSaveFailure = SaveFailure{path, written.error()};
    }
    return written.ok();
}

Status HBPreferences::writeTableOnce(const std::string& path) {
    Result<std::string_view> xml = _xml.write(*_preferences);
    if (!xml) {
        return Status::failure(xml.error());
    }
    if (Status kept = keepUnreadableFile(path); !kept) {
        return kept;
    }
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    return AtomicFile::write(path, xml.value());
}

// A settings file that could not be read is never destroyed: its bytes go beside it before
// the first save replaces it. Something that cannot be read at all (a folder in its place)
// cannot be kept either, so the save fails and says why.
Status HBPreferences::keepUnreadableFile(const std::string& path) {
    if (!_unreadableFiles.contains(path)) {
        return Status::success();
    }
    std::error_code error;
    if (std::filesystem::exists(path, error)) {
        Result<std::string> bytes = FileBytes::read(path);
        if (!bytes) {
            return Status::failure("the unreadable file could not be kept aside: " + bytes.error());
        }
        if (Status kept = AtomicFile::write(freeUnreadableName(path), bytes.value()); !kept) {
            return kept;
        }
    }
    _unreadableFiles.erase(path);
    return Status::success();
}

bool HBPreferences::change(PlistValue value, std::string_view key) {
    return change(std::move(value), key, _notification);
}

bool HBPreferences::change(PlistValue value, std::string_view key,
                           const Notification& notification) {
    setObject(std::move(value), key);
    return saveChange(notification);
}

bool HBPreferences::saveChange(const Notification& notification) {
    setObject(PlistValue::boolean(false), "profileSaved");
    return save({.notification = notification});
}
