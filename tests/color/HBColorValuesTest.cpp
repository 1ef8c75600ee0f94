#include "model/HBColorValues.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

struct ParseCase {
    const char* text;
    std::uint32_t value;
};

class ColorTextParse : public testing::TestWithParam<ParseCase> {};

TEST_P(ColorTextParse, ReadsTheExpectedValue) {
    EXPECT_EQ(HBColorValues::colorValueFromHexString(GetParam().text), GetParam().value)
        << "text '" << GetParam().text << "'";
}

INSTANTIATE_TEST_SUITE_P(
    Table, ColorTextParse,
    testing::Values(ParseCase{"#1E90FF", 0x1E90FF}, ParseCase{"1E90FF", 0x1E90FF},
                    ParseCase{"1e90ff", 0x1E90FF}, ParseCase{"##1E90FF", 0x1E90FF},
                    ParseCase{"#FFF", 0x000FFF}, ParseCase{"#12", 0x000012},
                    ParseCase{"#1E90FFzz", 0x1E90FF}, ParseCase{"#1E 90FF", 0x00001E},
                    ParseCase{"#CCCCCCC", 0xFFFFFF}, ParseCase{"#1000000", 0xFFFFFF},
                    ParseCase{"#FFFFFFFFF", 0xFFFFFF}, ParseCase{"#00000000001E90FF", 0x1E90FF},
                    ParseCase{"0x1E90FF", 0x1E90FF}, ParseCase{"#0X00ff00", 0x00FF00},
                    ParseCase{"0x", 0x000000}, ParseCase{"0xzz", 0x000000},
                    ParseCase{"#000000", 0x000000}, ParseCase{"", 0xFFFFFF},
                    ParseCase{"#", 0xFFFFFF}, ParseCase{"###", 0xFFFFFF},
                    ParseCase{"none", 0xFFFFFF}, ParseCase{" #1E90FF", 0xFFFFFF},
                    ParseCase{" 1E90FF", 0xFFFFFF}, ParseCase{"-1E90FF", 0xFFFFFF},
                    ParseCase{"x1E90FF", 0xFFFFFF},
                    ParseCase{"\xc3\xa9"
                              "1E90FF",
                              0xFFFFFF}));

TEST(ColorText, WritesUpperCaseWithTwoDigitsPerChannel) {
    EXPECT_EQ(HBColorValues::hexStringWithRed(10, 11, 12), "#0A0B0C");
    EXPECT_EQ(HBColorValues::hexStringWithRed(30, 144, 255), "#1E90FF");
    EXPECT_EQ(HBColorValues::hexStringWithChannels({0, 0, 0}), "#000000");
    EXPECT_EQ(HBColorValues::hexStringWithRed(-5, 300, 0), "#00FF00");
}

TEST(ColorText, EveryChannelTripleOnAGridReadsBackEqual) {
    for (int red = 0; red <= 255; red += 15) {
        for (int green = 0; green <= 255; green += 17) {
            for (int blue = 0; blue <= 255; blue += 5) {
                HBChannels channels{red, green, blue};
                std::string text = HBColorValues::hexStringWithChannels(channels);
                ASSERT_EQ(text.size(), 7u);
                ASSERT_EQ(HBColorValues::channelsFromColorValue(
                              HBColorValues::colorValueFromHexString(text)),
                          channels)
                    << text;
            }
        }
    }
}

TEST(ColorText, DisplayFormTrimsHashesAndUpperCases) {
    EXPECT_EQ(HBColorValues::displayStringForStoredText("1e90ff"), "#1E90FF");
    EXPECT_EQ(HBColorValues::displayStringForStoredText("##abc##"), "#ABC");
    EXPECT_EQ(HBColorValues::displayStringForStoredText(""), "#");
    EXPECT_EQ(HBColorValues::displayStringForStoredText("###"), "#");
    EXPECT_EQ(HBColorValues::displayStringForStoredText("a#b"), "#A#B");
    EXPECT_EQ(HBColorValues::channelsFromStoredText("#abc"), (HBChannels{0, 10, 188}));
    EXPECT_EQ(HBColorValues::channelsFromStoredText("zz"), (HBChannels{255, 255, 255}));
}

struct BlendCase {
    HBChannels channels;
    float opacity;
    HBChannels blended;
    bool whiteText;
};

class WhiteOrBlackText : public testing::TestWithParam<BlendCase> {};

TEST_P(WhiteOrBlackText, BlendsOverWhiteAndPicksTheReadableText) {
    const BlendCase& c = GetParam();
    EXPECT_EQ(HBColorValues::blendedChannels(c.channels, c.opacity), c.blended);
    EXPECT_EQ(
        HBColorValues::useWhiteFont(c.channels.red, c.channels.green, c.channels.blue, c.opacity),
        c.whiteText);
}

INSTANTIATE_TEST_SUITE_P(Table, WhiteOrBlackText,
                         testing::Values(BlendCase{{255, 0, 0}, 1.0f, {255, 0, 0}, true},
                                         BlendCase{{0, 0, 255}, 1.0f, {0, 0, 255}, true},
                                         BlendCase{{0, 255, 0}, 1.0f, {0, 255, 0}, false},
                                         BlendCase{{127, 127, 127}, 1.0f, {127, 127, 127}, true},
                                         BlendCase{{128, 128, 128}, 1.0f, {128, 128, 128}, false},
                                         // Exactly half dark: white text.
                                         BlendCase{{61, 156, 41}, 1.0f, {61, 156, 41}, true},
                                         BlendCase{{30, 144, 255}, 1.0f, {30, 144, 255}, false},
                                         BlendCase{{0, 0, 0}, 0.5f, {127, 127, 127}, true},
                                         BlendCase{{0, 0, 0}, 0.49f, {130, 130, 130}, false},
                                         BlendCase{{0, 0, 0}, 0.25f, {191, 191, 191}, false},
                                         BlendCase{{12, 200, 77}, 0.0f, {255, 255, 255}, false},
                                         BlendCase{{0, 0, 0}, 2.0f, {0, 0, 0}, true},
                                         BlendCase{{0, 0, 0}, -1.0f, {255, 255, 255}, false}));

TEST(WhiteOrBlackText, BlendedChannelsStayChannelsForAnyOpacity) {
    constexpr float kInfinity = std::numeric_limits<float>::infinity();
    for (float opacity : {-kInfinity, -1.0f, -0.01f, 0.33f, 0.999f, 1.01f, 100.0f, kInfinity,
                          std::numeric_limits<float>::quiet_NaN()}) {
        for (int channel = 0; channel <= 255; ++channel) {
            int blended = HBColorValues::blendedChannel(channel, opacity);
            ASSERT_TRUE(blended >= channel && blended <= 255) << channel << " at " << opacity;
        }
    }
}

bool sameColor(const UIColor& color, double red, double green, double blue, double alpha) {
    return std::abs(color.red() - red) < 1e-12 && std::abs(color.green() - green) < 1e-12 &&
           std::abs(color.blue() - blue) < 1e-12 && color.alpha() == alpha;
}

TEST(RowColors, PaintTheBlendWithReadableText) {
    HBRowColors half = HBColorValues::rowColorsForHexString("#000000", 50);
    EXPECT_TRUE(sameColor(half.background, 127 / 255.0, 127 / 255.0, 127 / 255.0, 1));
    EXPECT_EQ(half.text, UIColor::whiteColor());

    HBRowColors lighter = HBColorValues::rowColorsForHexString("#000000", 49);
    EXPECT_TRUE(sameColor(lighter.background, 130 / 255.0, 130 / 255.0, 130 / 255.0, 1));
    EXPECT_EQ(lighter.text, UIColor::blackColor());

    HBRowColors invisible = HBColorValues::rowColorsForHexString("#1E90FF", 0);
    EXPECT_EQ(invisible.background, UIColor::whiteColor());
    EXPECT_EQ(invisible.text, UIColor::blackColor());

    EXPECT_EQ(HBColorValues::rowColorsForHexString("none", 25).background, UIColor::whiteColor());
    // Alpha levels outside a percentage are clamped.
    EXPECT_EQ(HBColorValues::rowColorsForHexString("#000000", 250).background,
              UIColor::blackColor());
    EXPECT_EQ(HBColorValues::rowColorsForHexString("#000000", -40).background,
              UIColor::whiteColor());
    EXPECT_EQ(HBColorValues::rowColorsForHexString("#000000", INT64_MIN).background,
              UIColor::whiteColor());
}

TEST(ChannelFromComponent, RoundsHalvesAwayFromZeroAndStaysAChannel) {
    EXPECT_EQ(HBColorValues::channelFromComponent(0.5), 128);  // 127.5 rounds up
    EXPECT_EQ(HBColorValues::channelFromComponent(0.498), 127);
    EXPECT_EQ(HBColorValues::channelFromComponent(-0.2), 0);
    EXPECT_EQ(HBColorValues::channelFromComponent(7.0), 255);
    EXPECT_EQ(HBColorValues::channelFromComponent(std::nan("")), 0);
    for (int channel = 0; channel <= 255; ++channel) {
        ASSERT_EQ(HBColorValues::channelFromComponent(channel / 255.0), channel);
    }
}

}  // namespace
