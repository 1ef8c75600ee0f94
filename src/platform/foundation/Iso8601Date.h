#pragma once

#include <optional>
#include <string>
#include <string_view>

// Dates in the property-list text form "YYYY-MM-DDTHH:MM:SSZ": whole seconds, UTC, years 1 to
// 9999. Values are seconds since 1970-01-01T00:00:00Z.
class Iso8601Date {
  public:
    // Null unless the text is exactly of that form and names a real calendar moment.
    static std::optional<double> parse(std::string_view text);
    // The moment rounded down to the second; null outside years 1 to 9999 or for NaN.
    static std::optional<std::string> format(double secondsSince1970);
};
