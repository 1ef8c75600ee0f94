#include "model/HBColorValues.h"

#include <fmt/format.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr std::uint64_t kMaxScanned = 0xFFFFFFFF;

int hexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// A "0x" or "0X" counts as a prefix only before a digit; a bare "0x" is the number 0.
bool hasHexPrefix(std::string_view text) {
    return text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X') &&
           hexDigitValue(text[2]) >= 0;
}

// Scans the longest run of hex digits at the front, saturating at 32 bits. Returns false
// when no digit was read.
bool scanHex(std::string_view text, std::uint64_t& value) {
    std::size_t start = hasHexPrefix(text) ? 2 : 0;
    std::size_t index = start;
    value = 0;
    for (; index < text.size(); ++index) {
        int digit = hexDigitValue(text[index]);
        if (digit < 0) {
            break;
        }
        value = std::min<std::uint64_t>(value * 16 + static_cast<std::uint64_t>(digit),
                                        kMaxScanned + 1);
    }
    value = std::min(value, kMaxScanned);
    return index > start;
}

std::string uppercased(std::string_view text) {
    icu::UnicodeString unicode = icu::UnicodeString::fromUTF8(
        icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
    std::string result;
    unicode.toUpper(icu::Locale::getRoot()).toUTF8String(result);
    return result;
}

std::string_view trimmedOfHashes(std::string_view text) {
    std::size_t first = text.find_first_not_of('#');
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of('#') - first + 1);
}

UIColor opaqueColor(HBChannels channels) {
    return UIColor::colorWithRed(channels.red / 255.0, channels.green / 255.0,
                                 channels.blue / 255.0, 1.0);
}

}  // namespace

std::uint32_t HBColorValues::colorValueFromHexString(std::string_view text) {
    std::size_t first = text.find_first_not_of('#');
    std::uint64_t value = 0;
    if (first == std::string_view::npos || !scanHex(text.substr(first), value) || value > kWhite) {
        return kWhite;
    }
    return static_cast<std::uint32_t>(value);
}

std::string HBColorValues::hexStringWithRed(int red, int green, int blue) {
    // Channels outside 0..255 would write text that no longer reads back as the same colour.
    return uppercased(fmt::format("#{:02x}{:02x}{:02x}", std::clamp(red, 0, 255),
                                  std::clamp(green, 0, 255), std::clamp(blue, 0, 255)));
}

std::string HBColorValues::hexStringWithChannels(HBChannels channels) {
    return hexStringWithRed(channels.red, channels.green, channels.blue);
}

HBChannels HBColorValues::channelsFromColorValue(std::uint32_t value) {
    return {static_cast<int>((value >> 16) & 0xFF), static_cast<int>((value >> 8) & 0xFF),
            static_cast<int>(value & 0xFF)};
}

std::string HBColorValues::displayStringForStoredText(std::string_view stored) {
    return uppercased(fmt::format("#{}", trimmedOfHashes(stored)));
}

HBChannels HBColorValues::channelsFromStoredText(std::string_view stored) {
    return channelsFromColorValue(colorValueFromHexString(displayStringForStoredText(stored)));
}

float HBColorValues::opacityFromAlphaLevel(std::int64_t alphaLevel) {
    return clampedOpacity(static_cast<float>(alphaLevel) / 100.0f);
}

// Any number can sit in the settings file, so the opacity is kept within 0..1 (NaN counts as
// fully transparent) and the channel within 0..255: the blend then always stays a channel.
float HBColorValues::clampedOpacity(float opacity) {
    if (std::isnan(opacity)) {
        return 0.0f;
    }
    return std::clamp(opacity, 0.0f, 1.0f);
}

int HBColorValues::blendedChannel(int channel, float opacity) {
    float a = clampedOpacity(opacity);
    float x = static_cast<float>(std::clamp(channel, 0, 255));
    float blended = x * a + (1.0f - a) * 255.0f;
    return std::clamp(static_cast<int>(blended), 0, 255);
}

HBChannels HBColorValues::blendedChannels(HBChannels channels, float opacity) {
    return {blendedChannel(channels.red, opacity), blendedChannel(channels.green, opacity),
            blendedChannel(channels.blue, opacity)};
}

bool HBColorValues::useWhiteFont(int red, int green, int blue, float opacity) {
    return useWhiteFontForBlended(blendedChannels({red, green, blue}, opacity));
}

// BT.709 luma of the blended colour; white text once the colour is at most half as bright as
// white.
bool HBColorValues::useWhiteFontForBlended(HBChannels blended) {
    double luma = (0.2126 * blended.red + 0.7152 * blended.green) + 0.0722 * blended.blue;
    double darkness = luma / -255.0 + 1.0;
    return darkness >= 0.5;
}

HBRowColors HBColorValues::rowColorsForHexString(std::string_view text, std::int64_t alphaLevel) {
    HBChannels channels = channelsFromColorValue(colorValueFromHexString(text));
    HBChannels blended = blendedChannels(channels, opacityFromAlphaLevel(alphaLevel));
    UIColor textColor =
        useWhiteFontForBlended(blended) ? UIColor::whiteColor() : UIColor::blackColor();
    return {opaqueColor(blended), textColor};
}

int HBColorValues::channelFromComponent(double component) {
    float scaled = static_cast<float>(component * 255.0);
    if (std::isnan(scaled)) {
        return 0;
    }
    return static_cast<int>(std::round(std::clamp(scaled, 0.0f, 255.0f)));
}
