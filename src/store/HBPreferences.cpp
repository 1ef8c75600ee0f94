#include "store/HBPreferences.h"

#include <fmt/format.h>

#include <filesystem>
#include <mutex>
#include <system_error>
#include <utility>

#include "platform/dispatch/RunLoop.h"
#include "platform/foundation/AtomicFile.h"
#include "platform/foundation/FileBytes.h"
#include "platform/foundation/FileLock.h"
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

HBPreferences::HBPreferences() : _self(std::make_shared<HBPreferences*>(this)) {}

HBPreferences::~HBPreferences() = default;

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

// The store's own file makes the table it was last seen as; another identifier's file (a
// profile) is a table put in place, whose differences the next save writes.
bool HBPreferences::loadOnceFromIdentifier(const std::string& identifier) {
    std::string path = pathForIdentifier(identifier);
    HBSettingsFile::Read read = path.empty() ? HBSettingsFile::Read{} : readFile(path);
    bool found = read.table.has_value();
    PlistValue table = found ? std::move(*read.table) : PlistValue::dictionary();
    if (identifier != _identifier) {
        restoreTable(std::move(table));
    } else {
        _ownFile.forget();
        if (!path.empty()) {
            _ownFile.saw(read);
        }
        putReadTable(std::move(table));
    }
    return found;
}

std::optional<PlistValue> HBPreferences::readIdentifier(const std::string& identifier) {
    std::string path = pathForIdentifier(identifier);
    return path.empty() ? std::nullopt : readFile(path).table;
}

HBSettingsFile::Read HBPreferences::readFile(const std::string& path) {
    HBSettingsFile::Read read = HBSettingsFile::read(path);
    if (read.unreadable()) {
        _unreadableFiles.insert(path);
    }
    return read;
}

bool HBPreferences::replaceTable(PlistValue table, const SaveOptions& options) {
    savePendingChanges();
    tellObservers(
        [this](HBPreferencesObserver& observer) { observer.preferencesWillReplace(_preferences); });
    std::optional<PlistValue> before = std::exchange(_preferences, std::move(table));
    std::set<std::string, std::less<>> changedBefore = _changedKeys;
    markChangedKeys(before);
    if (!save(options)) {
        _preferences = std::move(before);
        _changedKeys = std::move(changedBefore);
        return false;
    }
    tellObservers([](HBPreferencesObserver& observer) { observer.preferencesDidReload(); });
    return true;
}

void HBPreferences::restoreTable(std::optional<PlistValue> table) {
    std::optional<PlistValue> before = std::exchange(_preferences, std::move(table));
    markChangedKeys(before);
    tellObservers([](HBPreferencesObserver& observer) { observer.preferencesDidReload(); });
}

// Every key whose value differs between the table before and the one now in place, added or
// removed ones included, is a change of this store.
void HBPreferences::markChangedKeys(const std::optional<PlistValue>& before) {
    _changedKeys.merge(PlistValue::differingKeys(before.value_or(PlistValue()),
                                                 _preferences.value_or(PlistValue())));
}

void HBPreferences::putReadTable(PlistValue table) {
    _preferences = std::move(table);
    _changedKeys.clear();
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
        tellObservers([this, key](HBPreferencesObserver& observer) {
            observer.preferenceWillChange(key, (*_preferences)[key]);
        });
        _preferences->set(key, std::move(value));
        _changedKeys.emplace(key);
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
        _changedKeys.emplace("lastModified");
    }
    std::string path = pathForIdentifier(options.identifier.value_or(_identifier));
    bool own = !path.empty() && path == pathForIdentifier(_identifier);
    if (path.empty() || !writeTable(path, own)) {
        tellObservers([](HBPreferencesObserver& observer) { observer.preferencesDidFailToSave(); });
        return false;
    }
    post(options.notification.value_or(_notification));
    if (own) {
        for (const Notification& waiting : _saveSchedule.take()) {
            post(waiting);
        }
    }
    return true;
}

void HBPreferences::post(const Notification& notification) {
    if (notification) {
        DarwinNotificationCenter::post(*notification);
    }
}

bool HBPreferences::writeTable(const std::string& path, bool own) {
    Status written = writeTableOnce(path, own);
    if (written) {
        _lastSaveFailure.reset();
    } else {
        _lastSaveFailure = SaveFailure{path, written.error()};
    }
    return written.ok();
}

// `own`: the store's own file, which takes in other programs' writes and whose version is kept.
Status HBPreferences::writeTableOnce(const std::string& path, bool own) {
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    FileLock lock(path);
    if (!lock.status()) {
        return Status::failure("the file could not be locked: " + lock.status().error());
    }
    if (own && _ownFile.changedElsewhere(path)) {
        takeOtherWrites(readFile(path));
    }
    // The cache keeps the text of the store's own file for its next save; another
    // identifier's file (a profile) is written through a cache of its own.
    XmlPlistCache once;
    Result<std::span<const std::string_view>> xml = (own ? _xml : once).write(*_preferences);
    if (!xml) {
        return Status::failure(xml.error());
    }
    if (Status kept = keepUnreadableFile(path); !kept) {
        return kept;
    }
    // The store's own file is dated so that its next check needs its status alone.
    AtomicFile::Options options;
    if (own) {
        options.modified = FileVersion::settledTime();
    }
    if (Status written = AtomicFile::write(path, xml.value(), options); !written) {
        return written;
    }
    if (own) {
        _ownFile.wrote(path, xml.value());
        _changedKeys.clear();
        if (_watch) {
            _watch->checkAfterOwnWrite();
        }
    }
    return Status::success();
}

std::function<void()> HBPreferences::onThisStore(std::function<void(HBPreferences&)> work) {
    return [self = std::weak_ptr(_self), work = std::move(work)] {
        if (std::shared_ptr<HBPreferences*> store = self.lock()) {
            work(**store);
        }
    };
}

// What another program wrote becomes the table, with the keys this store changed since it
// last read or wrote the file on top. Only a file that can be read is taken in: a file gone
// (deleted, or its folder moved away for a while) leaves the settings as they are, and the
// next save writes them all; an unreadable one is kept aside when the store writes.
void HBPreferences::takeOtherWrites(HBSettingsFile::Read read) {
    if (!read.table) {
        return;
    }
    PlistValue merged = std::move(*read.table);
    for (const std::string& key : _changedKeys) {
        if (PlistValue ours = (*_preferences)[key]; ours.isAbsent()) {
            merged.mutableDictionary().erase(key);
        } else {
            merged.set(key, std::move(ours));
        }
    }
    _preferences = std::move(merged);
    _ownFile.saw(read);
    tellObservers([](HBPreferencesObserver& observer) {
        observer.preferencesDidReload();
        observer.preferencesDidChangeElsewhere();
    });
}

bool HBPreferences::reloadIfChangedElsewhere() {
    std::string path = pathForIdentifier(_identifier);
    if (!_preferences || path.empty() || !_ownFile.changedElsewhere(path)) {
        return false;
    }
    HBSettingsFile::Read read = readFile(path);
    if (!read.table) {
        return false;
    }
    takeOtherWrites(std::move(read));
    return true;
}

void HBPreferences::watchForOtherWriters() {
    std::string path = pathForIdentifier(_identifier);
    if (!path.empty() && !_watch) {
        _watch = HBOtherWritersWatch::start(
            path, _notification,
            onThisStore([](HBPreferences& store) { store.reloadIfChangedElsewhere(); }));
    }
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
    if (_saveSchedule.immediate()) {
        return save({.notification = notification});
    }
    scheduleSave(notification);
    return true;
}

void HBPreferences::scheduleSave(const Notification& notification) {
    RunLoop& loop = RunLoop::main();
    HBSaveSchedule::Due due = _saveSchedule.note(notification, loop.now());
    loop.schedule(due.at, onThisStore([ticket = due.ticket](HBPreferences& store) {
                      if (store._saveSchedule.isDue(ticket)) {
                          store.savePendingChanges();
                      }
                  }));
}

// A failed save drops the waiting notifications (nothing was written); the values stay in
// memory, and the next change schedules a save again.
void HBPreferences::savePendingChanges() {
    if (_saveSchedule.waiting() && !save({.notification = Notification()})) {
        _saveSchedule.take();
    }
}
