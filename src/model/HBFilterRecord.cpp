#include "model/HBFilterRecord.h"

#include "model/HBColorValues.h"
#include "model/HBFilterKind.h"
#include "platform/foundation/NSRegularExpression.h"

const std::string* HBFilterRecord::text(const PlistValue& record, const std::string& key) {
    return record.isDictionary() ? record[key].stringValue() : nullptr;
}

bool HBFilterRecord::isPresent(const PlistValue& record, const std::string& key) {
    const std::string* value = text(record, key);
    return value && !value->empty();
}

std::string HBFilterRecord::title(const PlistValue& record, const HBFilterKind& kind) {
    if (isPresent(record, kNameKey)) {
        return *text(record, kNameKey);
    }
    for (const HBFilterField& field : kind.fields) {
        if (isPresent(record, field.key)) {
            return *text(record, field.key);
        }
    }
    return "";
}

std::optional<HBFilterPreview> HBFilterRecord::preview(const PlistValue& record,
                                                       std::int64_t alphaLevel) {
    const std::string* color = text(record, kColorKey);
    if (!color) {
        return std::nullopt;
    }
    HBRowColors colors = HBColorValues::rowColorsForHexString(*color, alphaLevel);
    bool white = colors.text == UIColor::whiteColor();
    return HBFilterPreview{colors.background, colors.text, white};
}

std::optional<std::string> HBFilterRecord::patternError(const std::string& pattern) {
    if (pattern.empty()) {
        return std::nullopt;
    }
    std::string error;
    if (NSRegularExpression::regularExpressionWithPattern(
            pattern, NSRegularExpressionCaseInsensitive, &error)) {
        return std::nullopt;
    }
    return error;
}
