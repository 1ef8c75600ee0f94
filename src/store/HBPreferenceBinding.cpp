#include "store/HBPreferenceBinding.h"

HBPreferenceBinding::HBPreferenceBinding(std::string key,
                                         std::optional<HBPreferences::Notification> notification,
                                         std::string domain, Profile profile)
    : _key(std::move(key)),
      _notification(std::move(notification)),
      _domain(std::move(domain)),
      _profile(profile) {}

HBPreferences& HBPreferenceBinding::store() const {
    HBPreferences& store = HBPreferences::sharedInstance();
    store.loadFromIdentifier(_domain, HBPreferences::kNotification);
    return store;
}

bool HBPreferenceBinding::write(PlistValue value) const {
    if (_key.empty()) {
        return false;
    }
    HBPreferences& shared = store();
    HBPreferences::Notification posted = notification();
    if (_profile == Profile::MarkUnsaved) {
        return shared.change(std::move(value), _key, posted);
    }
    shared.setObject(std::move(value), _key);
    return shared.save({.notification = posted});
}
