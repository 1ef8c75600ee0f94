#include "store/HBPreferences.h"

#include <fmt/format.h>

#include <filesystem>
#include <mutex>
#include <system_error>
#include <tuple>
#include <utility>

#include "platform/dispatch/RunLoop.h"
#include "platform/foundation/AtomicFile.h"
#include "platform/foundation/FileLock.h"
#include "platform/foundation/NSDateFormatter.h"
#include "platform/foundation/PropertyList.h"
#include "platform/system/DarwinNotificationCenter.h"
#include "platform/system/DeviceRoot.h"

namespace {

constexpr const char* kPreferencesPathFormat = "/var/mobile/Library/Preferences/{}.plist";

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
    finishBackgroundSave();
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

void HBPreferences::stampNow() {
    _preferences->set("lastModified", PlistValue(currentStamp()));
    _changedKeys.emplace("lastModified");
}

bool HBPreferences::save(const SaveOptions& options) {
    if (!_preferences) {
        return false;
    }
    if (options.stamp == SaveOptions::Stamp::Fresh) {
        stampNow();
    }
    std::string path = pathForIdentifier(options.identifier.value_or(_identifier));
    bool own = !path.empty() && path == pathForIdentifier(_identifier);
    if (path.empty()) {
        tellObservers([](HBPreferencesObserver& observer) { observer.preferencesDidFailToSave(); });
        return false;
    }
    if (Status written = writeTableOnce(path, own); !written) {
        failedToSave(path, written);
        return false;
    }
    _lastSaveFailure.reset();
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

// `own`: the store's own file, which takes in other programs' writes and whose version is kept.
Status HBPreferences::writeTableOnce(const std::string& path, bool own) {
    finishBackgroundSave();
    PreparedWrite write;
    if (Status ready = prepareWrite(path, own, write); !ready) {
        return ready;
    }
    if (Status written = AtomicFile::write(path, write.pieces, write.options); !written) {
        return written;
    }
    if (own) {
        _changedKeys.clear();
        _ownFile.wrote(FileVersion::written(path, write.pieces));
    }
    return Status::success();
}

// Takes the file's lock, takes in what other programs wrote to the store's own file, and
// makes the text to write.
Status HBPreferences::prepareWrite(const std::string& path, bool own, PreparedWrite& write) {
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    write.lock = std::make_unique<FileLock>(path);
    if (!write.lock->status()) {
        return Status::failure("the file could not be locked: " + write.lock->status().error());
    }
    if (own && _ownFile.changedElsewhere(path)) {
        takeOtherWrites(readFile(path));
    }
    // The cache keeps the text of the store's own file for its next save; another
    // identifier's file (a profile) is written through a cache of its own.
    Result<std::span<const std::string_view>> xml = (own ? _xml : write.once).write(*_preferences);
    if (!xml) {
        return Status::failure(xml.error());
    }
    write.pieces = xml.value();
    // The store's own file is dated so that its next check needs its status alone.
    if (own) {
        write.options.modified = FileVersion::settledTime();
    }
    return keepUnreadableFile(path);
}

// The changes waiting, written on the background save's thread; the outcome is taken on the
// main queue, or by whatever next needs the file.
void HBPreferences::saveWaitingInBackground() {
    finishBackgroundSave();
    std::string path = pathForIdentifier(_identifier);
    if (!_preferences || path.empty() || !_saveSchedule.waiting()) {
        return;
    }
    stampNow();
    PreparedWrite write;
    if (Status ready = prepareWrite(path, true, write); !ready) {
        _saveSchedule.take();
        failedToSave(path, ready);
        return;
    }
    HBBackgroundSave::Held held{std::exchange(_changedKeys, {}), _saveSchedule.take()};
    _background.start({path, write.pieces, write.options, std::move(write.lock)}, std::move(held),
                      onThisStore([](HBPreferences& store) { store.finishBackgroundSave(); }));
}

// A failed write keeps its keys as changed, so that the next save merges and writes them.
void HBPreferences::finishBackgroundSave() {
    std::optional<HBBackgroundSave::Outcome> outcome = _background.finish();
    if (!outcome) {
        return;
    }
    if (!outcome->status) {
        _changedKeys.merge(outcome->held.keys);
        failedToSave(outcome->path, outcome->status);
        return;
    }
    _lastSaveFailure.reset();
    _ownFile.wrote(outcome->version);
    for (const Notification& waiting : outcome->held.posts) {
        post(waiting);
    }
}

void HBPreferences::prepareForSaves() {
    finishBackgroundSave();
    if (_preferences) {
        std::ignore = _xml.write(*_preferences);
    }
}

void HBPreferences::failedToSave(const std::string& path, const Status& status) {
    _lastSaveFailure = SaveFailure{path, status.error()};
    tellObservers([](HBPreferencesObserver& observer) { observer.preferencesDidFailToSave(); });
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
    _preferences = HBSettingsFile::merged(std::move(*read.table), *_preferences, _changedKeys);
    _ownFile.saw(read);
    tellObservers([](HBPreferencesObserver& observer) {
        observer.preferencesDidReload();
        observer.preferencesDidChangeElsewhere();
    });
}

bool HBPreferences::reloadIfChangedElsewhere() {
    finishBackgroundSave();
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

// A settings file that could not be read is kept aside before the first save replaces it.
Status HBPreferences::keepUnreadableFile(const std::string& path) {
    if (!_unreadableFiles.contains(path)) {
        return Status::success();
    }
    if (Status kept = HBSettingsFile::keepAside(path); !kept) {
        return kept;
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
                      if (!store._saveSchedule.isDue(ticket)) {
                          return;
                      }
                      if (store._saveSchedule.inBackground()) {
                          store.saveWaitingInBackground();
                      } else {
                          store.savePendingChanges();
                      }
                  }));
}

// A failed save drops the waiting notifications (nothing was written); the values stay in
// memory, and the next change schedules a save again.
void HBPreferences::savePendingChanges() {
    finishBackgroundSave();
    if (_saveSchedule.waiting() && !save({.notification = Notification()})) {
        _saveSchedule.take();
    }
}
