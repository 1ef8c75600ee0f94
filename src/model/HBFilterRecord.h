#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/foundation/PlistValue.h"
#include "platform/ui/UIColor.h"

struct HBFilterKind;

// How a filter row is painted for its stored colour.
struct HBFilterPreview {
    UIColor background;
    UIColor text;
    // The text is white: the row needs the light variants of its images.
    bool whiteText = false;
};

// The rules for one stored filter record (a dictionary). Stored data may be of any kind:
// an entry of the wrong kind counts as missing, so no record can break a page.
class HBFilterRecord {
  public:
    static constexpr const char* kNameKey = "filterName";
    static constexpr const char* kColorKey = "hexColor";
    static constexpr const char* kSoundKey = "alertSound";

    // The text under the key, or null when it is missing or not a text.
    static const std::string* text(const PlistValue& record, const std::string& key);
    // A field takes part when it holds a non-empty text.
    static bool isPresent(const PlistValue& record, const std::string& key);
    // The first present value among the name and the fields, else "".
    static std::string title(const PlistValue& record, const HBFilterKind& kind);
    // The colour preview at an alpha level; none for a record without a colour.
    static std::optional<HBFilterPreview> preview(const PlistValue& record,
                                                  std::int64_t alphaLevel);
    // Why a pattern does not compile as a case-insensitive regular expression; none when
    // it does. The empty pattern always passes.
    static std::optional<std::string> patternError(const std::string& pattern);
};
