#pragma once

#include <optional>
#include <string>

#include "store/HBPreferences.h"

struct HBFilterKind;
class HBPreferenceBinding;

// The opacities of the colour cell's three previews, each 0..1.
struct HBPreviewOpacities {
    float mailBox = 0.25f;
    float list = 0.25f;
    float message = 0.25f;

    bool operator==(const HBPreviewOpacities&) const = default;
};

// Where a colour row's colour lives, told by the row's name: a filter kind's colour row title
// names the colour of record N of that kind's enabled list, and any other name (an
// account's) is itself the settings key. Reads and writes go through the shared store; a
// colour that cannot be stored safely (a record that does not exist, an account named like
// one of the pane's own settings) is read-only.
class HBColorTarget {
  public:
    explicit HBColorTarget(std::string key);

    const std::string& key() const { return _key; }
    // The filter kind whose record holds the colour; null for a setting.
    const HBFilterKind* filterKind() const { return _filterKind; }
    // The filter list holding the record; none for a setting.
    std::optional<std::string> key1() const;
    // The record's index N named by the key; 0 for a setting.
    long index() const { return _index; }

    // The colour text stored for the row; none when nothing usable is stored (no record, no
    // colour, or a value that is not a string).
    std::optional<std::string> storedText(const HBPreferences& store) const;
    // Whether a save would store the colour where it belongs without harming anything else.
    bool isWritable(const HBPreferences& store) const;
    // Stores the colour text as a user's change through the binding (profile unsaved, file
    // written, the binding's notification posted). False, with nothing stored, when the
    // target is not writable; false too when the write failed (see HBPreferenceBinding).
    bool save(const HBPreferenceBinding& binding, const std::string& text) const;

    // The preview opacities the extension uses for this kind of colour.
    HBPreviewOpacities previewOpacities(const HBPreferences& store) const;

  private:
    // Record N of the filter list; absent when the list or the record does not exist.
    PlistValue filterRecord(const HBPreferences& store) const;

    std::string _key;
    const HBFilterKind* _filterKind = nullptr;
    long _index = 0;
};
