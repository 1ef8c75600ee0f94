#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/ui/UIColor.h"

// The one text form of a colour, as in CSS: "#RRGGBB" when opaque, else "#RRGGBBAA".
// Channels are clamped to 0..1 and rounded to the nearest of 256 steps.
class ColorText {
  public:
    static std::string format(const UIColor& color);
    // "#RRGGBB" or "#RRGGBBAA", upper or lower case; nothing else.
    static std::optional<UIColor> parse(std::string_view text);
};
