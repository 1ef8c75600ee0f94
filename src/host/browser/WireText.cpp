#include "host/browser/WireText.h"

#include <cstddef>
#include <iterator>

#include "platform/ui/ColorText.h"

std::string WireText::color(const UIColor& color) {
    return ColorText::format(color);
}

nlohmann::json WireText::optionalColor(const OptionalColor& color) {
    return color ? nlohmann::json(WireText::color(*color)) : nlohmann::json(nullptr);
}

nlohmann::json WireText::font(const UIFont& font) {
    return {{"size", font.pointSize()}, {"bold", font.bold()}};
}

const char* WireText::alignmentName(NSTextAlignment alignment) {
    switch (alignment) {
        case NSTextAlignmentCenter:
            return "center";
        case NSTextAlignmentRight:
            return "right";
        default:
            return "left";
    }
}

const char* WireText::borderStyleName(UITextBorderStyle style) {
    static constexpr const char* kNames[] = {"none", "line", "bezel", "roundedRect"};
    auto index = static_cast<std::size_t>(style);
    return index < std::size(kNames) ? kNames[index] : "none";
}

const char* WireText::keyboardName(UIKeyboardType type) {
    static constexpr const char* kNames[] = {
        "default",  "asciiCapable", "numbersAndPunctuation", "URL",       "numberPad",
        "phonePad", "namePhonePad", "emailAddress",          "decimalPad"};
    auto index = static_cast<std::size_t>(type);
    return index < std::size(kNames) ? kNames[index] : "default";
}
