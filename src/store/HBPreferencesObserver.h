#pragma once

#include <optional>
#include <string_view>

#include "platform/foundation/PlistValue.h"

// What a page or view that shows settings is told by the store, so that it never has to
// ask whether something changed. Every call comes on the main thread, after the change, but
// for the two "will" calls, which let the undo history keep the values before.
class HBPreferencesObserver {
  public:
    virtual ~HBPreferencesObserver() = default;
    // A value is about to be stored under the key, which holds `before` (maybe absent).
    virtual void preferenceWillChange(std::string_view /*key*/, const PlistValue& /*before*/) {}
    // A whole table is about to replace `before` (none when no table was loaded).
    virtual void preferencesWillReplace(const std::optional<PlistValue>& /*before*/) {}
    // A value was stored under the key.
    virtual void preferenceDidChange(std::string_view /*key*/) {}
    // A whole table was put in place (loaded, reset or replaced): any key may differ.
    virtual void preferencesDidReload() {}
    // What another program wrote to the settings file was taken in (after the reload above):
    // a page shown refreshes, since no change of its own will.
    virtual void preferencesDidChangeElsewhere() {}
    // A step of the undo history was undone or redone (after the reload above): a page shown
    // refreshes, as for another program's write.
    virtual void preferencesDidTakeStep() {}
    // A write of a settings file failed; the store's lastSaveFailure says why.
    virtual void preferencesDidFailToSave() {}
};
