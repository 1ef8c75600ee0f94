#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/PlistValue.h"
#include "platform/foundation/Result.h"
#include "platform/foundation/XmlPlistCache.h"
#include "store/HBBackgroundSave.h"
#include "store/HBOtherWritersWatch.h"
#include "store/HBPreferencesObserver.h"
#include "store/HBSaveSchedule.h"
#include "store/HBSettingsFile.h"

// How a save writes: to which file, with which notification, and whether it stamps
// "lastModified". What is not given is the store's own; a given notification of none posts
// nothing.
struct HBSaveOptions {
    enum class Stamp { Fresh, Unchanged };
    std::optional<std::string> identifier = std::nullopt;
    std::optional<std::optional<std::string>> notification = std::nullopt;
    Stamp stamp = Stamp::Fresh;
};

// The one store of the pane's settings: the whole settings table in memory, read from and
// written to "/var/mobile/Library/Preferences/<identifier>.plist", with a system-wide
// notification after each successful write. Everything runs on the main thread.
// Other programs may write the file too. Each writer holds the file's lock (FileLock) while
// it reads, changes and writes; a save first takes in what another program wrote since this
// store last read or wrote the file and puts the keys this store changed on top, so no one's
// change is lost.
class HBPreferences {
  public:
    using Notification = std::optional<std::string>;

    // The pane's settings domain and the notification posted after each write of it.
    static constexpr const char* kIdentifier = "net.quorvel.huebadge";
    static constexpr const char* kNotification = "net.quorvel.huebadge/preferences";

    // Why the last write of a settings file failed: the file and the system's error text.
    struct SaveFailure {
        std::string path;
        std::string message;
    };

    using SaveOptions = HBSaveOptions;

    // A fresh store: no table, no identifier, no notification. Tests make their own.
    HBPreferences();
    ~HBPreferences();
    HBPreferences(const HBPreferences&) = delete;
    HBPreferences& operator=(const HBPreferences&) = delete;

    // The process's one store, created on first use under a once-only guard.
    static HBPreferences& sharedInstance();
    // The shared store with the pane's settings loaded (read from the file on first use).
    static HBPreferences& paneStore();

    bool loadFromIdentifier(const std::string& identifier, const std::string& notification);
    bool reLoadFromIdentifier(const std::string& identifier, const std::string& notification);
    bool loadOnceFromIdentifier(const std::string& identifier);
    // Reads an identifier's file without putting it in place: none when it is missing or
    // unreadable (an unreadable file is kept aside before a save of this store replaces it).
    std::optional<PlistValue> readIdentifier(const std::string& identifier);
    void resetPreferences();

    // The stored value, or an absent value.
    PlistValue objectForKey(std::string_view key) const;
    std::int64_t integerForKey(std::string_view key) const { return integerForKey(key, 0); }
    double floatForKey(std::string_view key) const { return floatForKey(key, 0.0); }
    bool boolForKey(std::string_view key) const { return boolForKey(key, false); }
    std::int64_t integerForKey(std::string_view key, std::int64_t defaultValue) const;
    double floatForKey(std::string_view key, double defaultValue) const;
    bool boolForKey(std::string_view key, bool defaultValue) const;

    // Stores the value; does nothing while no table is loaded or when the value is absent.
    void setObject(PlistValue value, std::string_view key);

    // Writes the whole table as told (stamping "lastModified" first unless told not to) and
    // posts the notification after a successful write. A failed write leaves the file as it
    // was, is kept in lastSaveFailure and is told to the observers.
    bool save(const SaveOptions& options = {});

    // A user's change: stores the value, marks the profile unsaved and saves (with the
    // store's notification, or the one given). True when the file was written, or, with a
    // save delay, when the save is scheduled; on failure the value stays in memory, so
    // the next save retries it.
    [[nodiscard]] bool change(PlistValue value, std::string_view key);
    [[nodiscard]] bool change(PlistValue value, std::string_view key,
                              const Notification& notification);
    // For changes already made with setObject: marks the profile unsaved and saves.
    [[nodiscard]] bool saveChange(const Notification& notification);
    [[nodiscard]] bool saveChange() { return saveChange(_notification); }

    // How saves of changes are timed. By default a change is saved at once. A host that
    // answers events delays them: a change is saved once no other came for `quiet` seconds,
    // and at most `longest` seconds after the first change waiting, so that a burst of changes
    // is one write and an event's answer never waits for the disk. With `inBackground` the
    // file is written on a thread of its own, so that no event waits for a large table's
    // write either. Failures reach the observers as ever. Any other save, and
    // savePendingChanges, first saves what waits.
    using SaveDelay = HBSaveSchedule::Delay;
    void setSaveDelay(SaveDelay delay) { _saveSchedule.setDelay(delay); }
    void savePendingChanges();
    // Makes the text of the store's own file now, so that the first save of a large table is
    // as quick as the later ones, which write again only what changed.
    void prepareForSaves();

    // Takes in what another program wrote to the store's own file since this store last read
    // or wrote it, with this store's unsaved changes on top, and tells the observers. True
    // when the table changed so.
    bool reloadIfChangedElsewhere();
    // Watches the store's own file and notification, and reloads on the main queue when
    // another program wrote; the store's own saves make no reload. Stops with the store.
    void watchForOtherWriters();

    // Observers are told of each key stored, of each table put in place as a whole and of
    // each failed write. They are not owned: one that is gone is dropped.
    void addObserver(const std::weak_ptr<HBPreferencesObserver>& observer);
    // Tells every observer; the undo history tells them so of a step it took.
    void tellObservers(const std::function<void(HBPreferencesObserver&)>& tell);

    // Set by a failed write of a settings file, cleared by the next successful one.
    const std::optional<SaveFailure>& lastSaveFailure() const { return _lastSaveFailure; }

    bool hasTable() const { return _preferences.has_value(); }
    // The whole table (absent before the first load), and putting back one taken earlier:
    // lets a caller undo a load or reset whose outcome it refuses.
    const std::optional<PlistValue>& table() const { return _preferences; }
    void restoreTable(std::optional<PlistValue> table);
    // Puts a whole new table in place and saves it as told. When the save fails, the table
    // in use stays as it was, in memory as on disk, and the failure is in lastSaveFailure.
    [[nodiscard]] bool replaceTable(PlistValue table, const SaveOptions& options);
    const std::string& identifier() const { return _identifier; }
    const Notification& notification() const { return _notification; }

    // The host path of an identifier's file; empty for an identifier that cannot name a
    // file in the preferences folder (empty, containing "/" or NUL, or starting with ".").
    static std::string pathForIdentifier(std::string_view identifier);

  private:
    const PlistValue* number(std::string_view key) const;
    void putReadTable(PlistValue table);
    void markChangedKeys(const std::optional<PlistValue>& before);
    HBSettingsFile::Read readFile(const std::string& path);
    void takeOtherWrites(HBSettingsFile::Read read);
    // A main-queue task that does `work` on this store, or nothing once the store is gone.
    std::function<void()> onThisStore(std::function<void(HBPreferences&)> work);
    // A write whose text is ready, under the file's lock.
    struct PreparedWrite {
        std::unique_ptr<FileLock> lock;
        XmlPlistCache once;
        std::span<const std::string_view> pieces;
        AtomicFile::Options options;
    };

    Status writeTableOnce(const std::string& path, bool own);
    Status prepareWrite(const std::string& path, bool own, PreparedWrite& write);
    void saveWaitingInBackground();
    void finishBackgroundSave();
    void failedToSave(const std::string& path, const Status& status);
    void stampNow();
    Status keepUnreadableFile(const std::string& path);
    void post(const Notification& notification);
    void scheduleSave(const Notification& notification);

    std::optional<PlistValue> _preferences;
    std::string _identifier;
    Notification _notification;
    // Files that existed but could not be read; their bytes are kept before a save replaces them.
    std::set<std::string> _unreadableFiles;
    std::optional<SaveFailure> _lastSaveFailure;
    std::vector<std::weak_ptr<HBPreferencesObserver>> _observers;
    // The text of the parts of the table that the last save wrote, for the next save.
    XmlPlistCache _xml;
    // The store's own file as this store last read or wrote it.
    HBSettingsFile _ownFile;
    // Keys stored since then: a save or reload puts them on top of another program's writes.
    std::set<std::string, std::less<>> _changedKeys;
    HBSaveSchedule _saveSchedule;
    HBBackgroundSave _background;
    std::unique_ptr<HBOtherWritersWatch> _watch;
    // Tasks handed to the main queue hold it weakly: one that runs after the store is gone
    // does nothing.
    std::shared_ptr<HBPreferences*> _self;
};
