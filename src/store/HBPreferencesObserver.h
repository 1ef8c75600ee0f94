#pragma once

#include <string_view>

// What a page or view that shows settings is told by the store, so that it never has to
// ask whether something changed. Every call comes on the main thread, after the change.
class HBPreferencesObserver {
  public:
    virtual ~HBPreferencesObserver() = default;
    // A value was stored under the key.
    virtual void preferenceDidChange(std::string_view /*key*/) {}
    // A whole table was put in place (loaded, reset or replaced): any key may differ.
    virtual void preferencesDidReload() {}
    // What another program wrote to the settings file was taken in (after the reload above):
    // a page shown refreshes, since no change of its own will.
    virtual void preferencesDidChangeElsewhere() {}
    // A write of a settings file failed; the store's lastSaveFailure says why.
    virtual void preferencesDidFailToSave() {}
};
