#pragma once

#include <optional>
#include <string>

#include "store/HBPreferences.h"

// The opacities of the colour cell's three previews, each 0..1.
struct HBPreviewOpacities {
    float mailBox = 0.25f;
    float list = 0.25f;
    float message = 0.25f;

    bool operator==(const HBPreviewOpacities&) const = default;
};

// Where a colour row's colour lives, told by the row's name: "Color Value F1 N" and
// "Color Value F2 N" are the "hexColor" of record N of a folder filter list, "Color Value N"
// that of message filter N, and any other name (an account's) is itself the settings key.
// Reads and writes go through the shared store; a colour that cannot be stored safely (a
// record that does not exist, an account named like one of the pane's own settings) is
// read-only.
class HBColorTarget {
  public:
    enum class Kind { FolderFilter1, FolderFilter2, MessageFilter, Setting };

    explicit HBColorTarget(std::string key);

    const std::string& key() const { return _key; }
    Kind kind() const { return _kind; }
    // The filter list holding the record; none for a setting.
    const std::optional<std::string>& key1() const { return _key1; }
    // Where the filter's index begins in the key (0 for a setting).
    int key1Offset() const { return _key1Offset; }
    // The filter's index N read from the key; 0 for a setting.
    int index() const { return _index; }

    // The colour text stored for the row; none when nothing usable is stored (no record, no
    // "hexColor", or a value that is not a string).
    std::optional<std::string> storedText(const HBPreferences& store) const;
    // Whether a save would store the colour where it belongs without harming anything else.
    bool isWritable(const HBPreferences& store) const;
    // Stores the colour text as a user's change (profile unsaved, file written, notification
    // posted). False, with nothing stored, when the target is not writable or the write failed.
    [[nodiscard]] bool save(HBPreferences& store, const std::string& text,
                            const HBPreferences::Notification& notification) const;

    // The preview opacities the extension uses for this kind of colour.
    HBPreviewOpacities previewOpacities(const HBPreferences& store) const;

  private:
    // Record N of the filter list; none when the list or the record does not exist.
    std::optional<PlistValue> filterRecord(const HBPreferences& store) const;

    std::string _key;
    Kind _kind = Kind::Setting;
    std::optional<std::string> _key1;
    int _key1Offset = 0;
    int _index = 0;
};
