#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/ui/UIColor.h"

// The three 0..255 channels of a colour value 0xRRGGBB.
struct HBChannels {
    int red = 0;
    int green = 0;
    int blue = 0;

    bool operator==(const HBChannels&) const = default;
};

// What a list row paints for a stored colour: the colour blended over white, and the white or
// black text that stays readable on it.
struct HBRowColors {
    UIColor background;
    UIColor text;
};

// The pane's rules for colour text, channels, alpha levels and readable text colours. Every
// page and cell that shows a stored colour goes through these, so all of them agree.
class HBColorValues {
  public:
    static constexpr std::uint32_t kWhite = 0xFFFFFF;

    // Reads "#RRGGBB"-like text. Leading "#" are skipped, an optional 0x/0X prefix is taken,
    // then the longest run of hex digits. Text without digits, or a value above 0xFFFFFF,
    // reads as white. Never fails.
    static std::uint32_t colorValueFromHexString(std::string_view text);
    // "#RRGGBB" in upper case.
    static std::string hexStringWithRed(int red, int green, int blue);
    static std::string hexStringWithChannels(HBChannels channels);
    static HBChannels channelsFromColorValue(std::uint32_t value);

    // How stored text is shown: the "#" at either end trimmed, one "#" put in front, upper case.
    static std::string displayStringForStoredText(std::string_view stored);
    static HBChannels channelsFromStoredText(std::string_view stored);

    // An alpha level (percent) as an opacity, kept within 0..1.
    static float opacityFromAlphaLevel(std::int64_t alphaLevel);
    // The channel drawn over white at the given opacity, truncated; always within 0..255.
    static int blendedChannel(int channel, float opacity);
    static HBChannels blendedChannels(HBChannels channels, float opacity);
    // True when white text reads better than black on the colour blended over white.
    static bool useWhiteFont(int red, int green, int blue, float opacity);
    static HBRowColors rowColorsForHexString(std::string_view text, std::int64_t alphaLevel);

    // A colour component 0..1 as the nearest channel, halves away from zero.
    static int channelFromComponent(double component);

  private:
    static bool useWhiteFontForBlended(HBChannels blended);
    static float clampedOpacity(float opacity);
};
