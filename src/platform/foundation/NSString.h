#pragma once

#include <string_view>

#include "platform/foundation/NSObjCRuntime.h"

// The string operations the pane uses beyond std::string, on UTF-8 text.
class NSString {
  public:
    // Compares with case folded away (ICU's default case folding), code point by code point.
    static NSComparisonResult caseInsensitiveCompare(std::string_view a, std::string_view b);
    static bool hasPrefix(std::string_view text, std::string_view prefix) {
        return text.substr(0, prefix.size()) == prefix;
    }
};
