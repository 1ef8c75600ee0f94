#pragma once

#include <optional>

#include "platform/ui/NSParagraphStyle.h"
#include "platform/ui/UIColor.h"
#include "platform/ui/UIFont.h"

// The attributes of a run of text (the platform's attribute dictionary with the keys
// NSFontAttributeName, NSForegroundColorAttributeName, NSBackgroundColorAttributeName and
// NSParagraphStyleAttributeName). An absent attribute takes the text view's default.
struct NSTextAttributes {
    std::optional<UIFont> font;
    OptionalColor foregroundColor;
    OptionalColor backgroundColor;
    std::optional<NSParagraphStyle> paragraphStyle;

    // These attributes with every attribute that other has replacing this one's.
    NSTextAttributes mergedWith(const NSTextAttributes& other) const {
        NSTextAttributes result = *this;
        if (other.font) {
            result.font = other.font;
        }
        if (other.foregroundColor) {
            result.foregroundColor = other.foregroundColor;
        }
        if (other.backgroundColor) {
            result.backgroundColor = other.backgroundColor;
        }
        if (other.paragraphStyle) {
            result.paragraphStyle = other.paragraphStyle;
        }
        return result;
    }
    bool operator==(const NSTextAttributes&) const = default;
};
