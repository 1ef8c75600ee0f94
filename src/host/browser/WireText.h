#pragma once

#include <nlohmann/json.hpp>

#include <string>

#include "platform/ui/UIColor.h"
#include "platform/ui/UIFont.h"
#include "platform/ui/UITextField.h"

// The words the screen JSON uses for the toolkit's values: colours as ColorText writes them,
// fonts, alignments, border styles and keyboards by name.
class WireText {
  public:
    static std::string color(const UIColor& color);
    // A colour, or null for none.
    static nlohmann::json optionalColor(const OptionalColor& color);
    static nlohmann::json font(const UIFont& font);
    static const char* alignmentName(NSTextAlignment alignment);
    static const char* borderStyleName(UITextBorderStyle style);
    static const char* keyboardName(UIKeyboardType type);
};
