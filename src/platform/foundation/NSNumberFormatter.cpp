#include "platform/foundation/NSNumberFormatter.h"

#include <unicode/locid.h>
#include <unicode/numberformatter.h>

#include <algorithm>

namespace {

UNumberFormatRoundingMode icuRoundingMode(NSNumberFormatterRoundingMode mode) {
    switch (mode) {
        case NSNumberFormatterRoundCeiling:
            return UNUM_ROUND_CEILING;
        case NSNumberFormatterRoundFloor:
            return UNUM_ROUND_FLOOR;
        case NSNumberFormatterRoundDown:
            return UNUM_ROUND_DOWN;
        case NSNumberFormatterRoundUp:
            return UNUM_ROUND_UP;
        case NSNumberFormatterRoundHalfDown:
            return UNUM_ROUND_HALFDOWN;
        case NSNumberFormatterRoundHalfUp:
            return UNUM_ROUND_HALFUP;
        case NSNumberFormatterRoundHalfEven:
            break;
    }
    return UNUM_ROUND_HALFEVEN;
}

icu::Locale icuLocale(const std::string& identifier) {
    return identifier.empty() ? icu::Locale::getDefault() : icu::Locale(identifier.c_str());
}

}  // namespace

void NSNumberFormatter::setNumberStyle(NSNumberFormatterStyle style) {
    numberStyle_ = style;
    bool decimal = style == NSNumberFormatterDecimalStyle;
    maximumFractionDigits_ = decimal ? 3 : 0;
    minimumFractionDigits_ = 0;
    usesGroupingSeparator_ = decimal;
}

void NSNumberFormatter::setMaximumFractionDigits(int digits) {
    maximumFractionDigits_ = std::clamp(digits, 0, kMaxFractionDigits);
    minimumFractionDigits_ = std::min(minimumFractionDigits_, maximumFractionDigits_);
}

void NSNumberFormatter::setMinimumFractionDigits(int digits) {
    minimumFractionDigits_ = std::clamp(digits, 0, kMaxFractionDigits);
    maximumFractionDigits_ = std::max(minimumFractionDigits_, maximumFractionDigits_);
}

std::string NSNumberFormatter::stringFromNumber(double number) const {
    using namespace icu::number;
    UErrorCode status = U_ZERO_ERROR;
    FormattedNumber formatted =
        NumberFormatter::withLocale(icuLocale(localeIdentifier_))
            .precision(Precision::minMaxFraction(minimumFractionDigits_, maximumFractionDigits_))
            .roundingMode(icuRoundingMode(roundingMode_))
            .grouping(usesGroupingSeparator_ ? UNUM_GROUPING_AUTO : UNUM_GROUPING_OFF)
            .formatDouble(number, status);
    std::string text;
    icu::UnicodeString unicode = formatted.toString(status);
    if (U_FAILURE(status)) {
        return {};
    }
    unicode.toUTF8String(text);
    return text;
}
