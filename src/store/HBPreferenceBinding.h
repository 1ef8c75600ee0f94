#pragma once

#include <optional>
#include <string>

#include "store/HBPreferences.h"

// Where one setting lives and how a change of it is written: its key, the settings domain it
// belongs to and the notification posted after the write. Every write of a single setting
// goes through a binding into HBPreferences::change. A failed write keeps the value in memory
// for the next save and is kept as the store's lastSaveFailure and told to its observers,
// which is how the user hears of it: a caller has nothing more to do with the result.
class HBPreferenceBinding {
  public:
    // Whether a change makes the settings differ from the profile they were saved as.
    enum class Profile { MarkUnsaved, Keep };

    // No notification given: the store's own.
    explicit HBPreferenceBinding(std::string key,
                                 std::optional<HBPreferences::Notification> notification = {},
                                 std::string domain = HBPreferences::kIdentifier,
                                 Profile profile = Profile::MarkUnsaved);

    const std::string& key() const { return _key; }
    // The pane's store, loaded for the domain on first use.
    HBPreferences& store() const;
    PlistValue read() const { return store().objectForKey(_key); }
    // The notification a write posts.
    HBPreferences::Notification notification() const {
        return _notification.value_or(store().notification());
    }
    // Stores the value and saves; true when the file was written. A binding without a key
    // names no setting and writes nothing.
    bool write(PlistValue value) const;

  private:
    std::string _key;
    std::optional<HBPreferences::Notification> _notification;
    std::string _domain;
    Profile _profile;
};
