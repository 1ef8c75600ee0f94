#pragma once

#include <string>
#include <string_view>

#include "platform/ui/UIGeometry.h"

// A font as a value: the system face (DejaVu Sans, or DejaVu Sans Bold) at a point size.
// Measurement comes from the real font's metrics with hinting off, so it scales linearly
// with the size and gives the same numbers on every run.
class UIFont {
  public:
    // The size labels, buttons and text fields use when nothing else is set.
    static constexpr double defaultLabelFontSize = 17;

    UIFont() = default;
    static UIFont systemFontOfSize(double fontSize);
    static UIFont boldSystemFontOfSize(double fontSize);
    static UIFont defaultLabelFont() { return systemFontOfSize(defaultLabelFontSize); }
    // The platform's standard sizes: labels, and the system font of other controls.
    static double labelFontSize() { return defaultLabelFontSize; }
    static double systemFontSize() { return 14; }

    double pointSize() const { return pointSize_; }
    bool bold() const { return bold_; }
    UIFont fontWithSize(double fontSize) const;
    std::string familyName() const { return "DejaVu Sans"; }
    std::string fontName() const { return bold_ ? "DejaVu Sans Bold" : "DejaVu Sans"; }

    // Distances above and below the baseline (descender is negative, as on the platform).
    double ascender() const;
    double descender() const;
    double lineHeight() const;

    // The advance of one line of UTF-8 text; invalid bytes measure as U+FFFD.
    double widthOfString(std::string_view text) const;
    // One line of text: its advance by the line height.
    CGSize sizeOfString(std::string_view text) const;

    bool operator==(const UIFont&) const = default;

  private:
    UIFont(double pointSize, bool bold) : pointSize_(pointSize), bold_(bold) {}

    double pointSize_ = defaultLabelFontSize;
    bool bold_ = false;
};
