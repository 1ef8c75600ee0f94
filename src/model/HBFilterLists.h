#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "platform/foundation/PlistValue.h"
#include "store/HBPreferences.h"

struct HBFilterKind;

// The enabled and disabled lists of one filter kind in the settings store. Nothing is kept:
// every call reads the lists again. A list of the wrong kind reads as empty, and a change
// that would have to rewrite it changes nothing, so stored data is never lost. Every change
// that goes through marks the profile unsaved and saves.
class HBFilterLists {
  public:
    enum class List { Enabled, Disabled };
    struct Place {
        List list;
        std::size_t index;
    };
    enum class Outcome { Saved, SaveFailed, Refused };

    // Changes save with the store's notification, or with the one given.
    HBFilterLists(const HBFilterKind& kind, HBPreferences& store);
    HBFilterLists(const HBFilterKind& kind, HBPreferences& store,
                  HBPreferences::Notification notification);

    // The record at a place of a store that is only read; absent when there is none.
    static PlistValue recordIn(const HBFilterKind& kind, const HBPreferences& store, Place place);

    std::size_t count(List list) const;
    // The record at a place; absent when there is none.
    PlistValue record(Place place) const;

    // Appends a fresh record to the enabled list, creating the list when it is missing.
    Outcome addRecord();
    // Moves a record; no destination drops (deletes) it. An index past the end of the
    // destination appends.
    Outcome moveRecord(Place from, std::optional<Place> to);
    Outcome removeRecord(Place place);
    // Sets one entry of an existing record of the enabled list; refused when the list, the
    // record or the index is missing or of the wrong kind.
    Outcome setRecordValue(std::size_t index, const std::string& key, const PlistValue& value);

  private:
    const std::string& keyOf(List list) const;
    // The stored list; absent when missing, none when of the wrong kind.
    std::optional<PlistValue> editableList(List list) const;
    Outcome save();

    const HBFilterKind& kind_;
    HBPreferences& store_;
    HBPreferences::Notification notification_;
};
