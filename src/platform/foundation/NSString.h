#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/NSObjCRuntime.h"

// The string operations the pane uses beyond std::string, on UTF-8 text.
class NSString {
  public:
    // Compares with case folded away (ICU's default case folding), code point by code point.
    static NSComparisonResult caseInsensitiveCompare(std::string_view a, std::string_view b);
    // Compares as the user's language sorts, ignoring case but not accents (ICU's collator
    // for the default locale at secondary strength).
    static NSComparisonResult localizedCaseInsensitiveCompare(std::string_view a,
                                                              std::string_view b);
    static bool hasPrefix(std::string_view text, std::string_view prefix) {
        return text.substr(0, prefix.size()) == prefix;
    }

    // The longest leading decimal number, after leading white space: an optional sign,
    // digits with an optional decimal point, an optional exponent. 0 when there is none;
    // infinity or 0 when it is beyond the range of a float.
    static float floatValue(std::string_view text);
    // The leading integer, after leading white space, with an optional sign; 0 when there is
    // none. Values beyond 32 bits give INT_MAX or INT_MIN.
    static int intValue(std::string_view text);

    // Upper case by Unicode's rules, the same in every language ("straße" gives "STRASSE").
    static std::string uppercaseString(std::string_view text);
    // Removes from both ends the characters that occur in `characters` (UTF-8; each code
    // point is one member of the set).
    static std::string stringByTrimmingCharactersInSet(std::string_view text,
                                                       std::string_view characters);

    // Paths: "/" separates components; trailing separators are ignored (except the root's).
    // "Pack/Chime.m4r": last component "Chime.m4r", extension "m4r", without it "Pack/Chime".
    // A name that starts with its only dot (".profile") has no extension.
    static std::string lastPathComponent(std::string_view path);
    static std::string pathExtension(std::string_view path);
    static std::string stringByDeletingPathExtension(std::string_view path);

    // Percent-encodes, as UTF-8 bytes, every character that may not stand in a URL's path.
    static std::string stringByAddingPercentEscapes(std::string_view text);
    // Decodes percent escapes; none when an escape is malformed or the bytes are not UTF-8.
    static std::optional<std::string> stringByRemovingPercentEncoding(std::string_view text);
};
