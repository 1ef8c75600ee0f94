#pragma once

#include <string>
#include <utility>

enum NSNumberFormatterStyle {
    NSNumberFormatterNoStyle = 0,
    NSNumberFormatterDecimalStyle = 1,
};

enum NSNumberFormatterRoundingMode {
    NSNumberFormatterRoundCeiling = 0,
    NSNumberFormatterRoundFloor = 1,
    NSNumberFormatterRoundDown = 2,
    NSNumberFormatterRoundUp = 3,
    NSNumberFormatterRoundHalfEven = 4,
    NSNumberFormatterRoundHalfDown = 5,
    NSNumberFormatterRoundHalfUp = 6,
};

// Turns numbers into text for display, by the conventions of a locale: the process's own
// (ICU's default locale) unless one is set. Without a style a number is written as a whole
// number without grouping; the decimal style groups thousands and allows three fraction
// digits, until told otherwise. Halves round to even unless another rounding mode is set.
class NSNumberFormatter {
  public:
    NSNumberFormatterStyle numberStyle() const { return numberStyle_; }
    // Resets the fraction digits and grouping to the style's own.
    void setNumberStyle(NSNumberFormatterStyle style);

    int maximumFractionDigits() const { return maximumFractionDigits_; }
    // Also lowers the minimum when it would exceed the new maximum.
    void setMaximumFractionDigits(int digits);
    int minimumFractionDigits() const { return minimumFractionDigits_; }
    // Also raises the maximum when it would fall below the new minimum.
    void setMinimumFractionDigits(int digits);

    bool usesGroupingSeparator() const { return usesGroupingSeparator_; }
    void setUsesGroupingSeparator(bool uses) { usesGroupingSeparator_ = uses; }
    NSNumberFormatterRoundingMode roundingMode() const { return roundingMode_; }
    void setRoundingMode(NSNumberFormatterRoundingMode mode) { roundingMode_ = mode; }

    // A locale identifier such as "de_DE"; empty for the process's locale.
    const std::string& localeIdentifier() const { return localeIdentifier_; }
    void setLocaleIdentifier(std::string identifier) { localeIdentifier_ = std::move(identifier); }

    std::string stringFromNumber(double number) const;

  private:
    static constexpr int kMaxFractionDigits = 100;

    NSNumberFormatterStyle numberStyle_ = NSNumberFormatterNoStyle;
    int maximumFractionDigits_ = 0;
    int minimumFractionDigits_ = 0;
    bool usesGroupingSeparator_ = false;
    NSNumberFormatterRoundingMode roundingMode_ = NSNumberFormatterRoundHalfEven;
    std::string localeIdentifier_;
};
