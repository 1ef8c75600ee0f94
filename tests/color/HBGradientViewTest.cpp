#include <fmt/format.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>

#include "color/HBBrightnessSaturationView.h"
#include "color/HBBrightnessSliderView.h"
#include "color/HBHueBrightnessView.h"
#include "color/HBHueSaturationView.h"
#include "color/HBHueSliderView.h"
#include "color/HBSaturationSliderView.h"
#include "platform/ui/UIGraphics.h"
#include "platform/ui/ViewRenderer.h"

namespace {

constexpr CGSize kSize{120, 60};

// A gradient view with its values set, and the colour that its stops give at a point (x and
// y as fractions of the width and height). Most pictures are one slice of the HSB model.
struct Picture {
    const char* name;
    std::function<std::shared_ptr<HBGradientView>()> make;
    std::function<UIColor(double x, double y)> expected;
};

const Picture kPictures[] = {
    {"hue-first field at hue 1/3",
     [] {
         auto view = std::make_shared<HBBrightnessSaturationView>();
         view->setHue(1.0 / 3);
         return view;
     },
     [](double x, double y) { return UIColor::colorWithHue(1.0 / 3, x, 1 - y, 1); }},
    {"hue slider", [] { return std::make_shared<HBHueSliderView>(); },
     [](double x, double) { return UIColor::colorWithHue(x, 1, 1, 1); }},
    {"saturation-first field at saturation 0.4",
     [] {
         auto view = std::make_shared<HBHueBrightnessView>();
         view->setHue(0.9, 0.4, 0.2);
         return view;
     },
     [](double x, double y) { return UIColor::colorWithHue(x, 0.4, 1 - y, 1); }},
    {"saturation slider at hue 0.6, brightness 0.7",
     [] {
         auto view = std::make_shared<HBSaturationSliderView>();
         view->setHue(0.6, 0.7);
         return view;
     },
     [](double x, double) { return UIColor::colorWithHue(0.6, 1 - x, 0.7, 1); }},
    {"brightness-first field at brightness 0.5",
     [] {
         auto view = std::make_shared<HBHueSaturationView>();
         view->setHue(0.1, 0.9, 0.5);
         return view;
     },
     // The white ramp starts at transparent black and stops blend in straight colour, so
     // at height y it adds white y at opacity y: a little darker than HSB(x, 1 - y, 0.5).
     [](double x, double y) {
         UIColor hue = UIColor::colorWithHue(x, 1, 1, 1);
         auto mix = [y](double c) { return 0.5 * (c * (1 - y) + y * y); };
         return UIColor::colorWithRed(mix(hue.red()), mix(hue.green()), mix(hue.blue()), 1);
     }},
    {"brightness slider at hue 0.8, saturation 0.5",
     [] {
         auto view = std::make_shared<HBBrightnessSliderView>();
         view->setHue(0.8, 0.5);
         return view;
     },
     [](double x, double) { return UIColor::colorWithHue(0.8, 0.5, 1 - x, 1); }},
};

std::string testName(const char* text) {
    std::string name;
    for (char c : std::string(text)) {
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    }
    return name;
}

int channel(double component) {
    return static_cast<int>(std::lround(component * 255));
}

class GradientPicture : public testing::TestWithParam<Picture> {};

TEST_P(GradientPicture, ShowsItsSliceOfTheColourModelWithinOneUnit) {
    std::shared_ptr<HBGradientView> view = GetParam().make();
    view->setFrame(CGRect{{0, 0}, kSize});
    UIImagePtr image = ViewRenderer::renderView(*view, kSize);
    for (int px : {0, 17, 59, 60, 101, 119}) {
        for (int py : {0, 13, 30, 47, 59}) {
            // A pixel shows the colour at its centre.
            UIColor want = GetParam().expected((px + 0.5) / kSize.width, (py + 0.5) / kSize.height);
            std::uint32_t rgba = image->pixelAt(px, py);
            int got[] = {int(rgba >> 24), int((rgba >> 16) & 0xFF), int((rgba >> 8) & 0xFF),
                         int(rgba & 0xFF)};
            int wanted[] = {channel(want.red()), channel(want.green()), channel(want.blue()), 255};
            for (int c = 0; c < 4; ++c) {
                EXPECT_NEAR(got[c], wanted[c], 1)
                    << "pixel " << px << "," << py << " channel " << c;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Views, GradientPicture, testing::ValuesIn(kPictures),
                         [](const auto& param) { return testName(param.param.name); });

TEST(GradientView, OnlyTheCombinedSettersRecolourAndOnlyForWhatThePictureUses) {
    HBHueBrightnessView field;
    const UIView& wash = *field.subviews().at(1);
    auto washAlpha = [&] { return wash.backgroundColor()->alpha(); };
    field.setHue(0.7, 0.3, 0.9);
    EXPECT_NEAR(washAlpha(), 0.7, 1e-9);
    field.setSaturation(0.6);
    field.setHue(0.5);
    EXPECT_NEAR(washAlpha(), 0.7, 1e-9) << "the single setters only store";
    field.setHue(0.2, 0.65, 0.1);
    EXPECT_NEAR(washAlpha(), 0.35, 1e-9);
    EXPECT_EQ(field.saturation(), 0.65);
    EXPECT_EQ(field.hue(), 0.2);
}

// Each field as it was drawn in one picture before it was split into layers.
struct SinglePicture {
    const char* name;
    std::function<std::shared_ptr<HBGradientView>(double value)> make;
    std::function<std::vector<HBGradientLayer>(double value)> layers;
};

const SinglePicture kSinglePictures[] = {
    {"hue-first",
     [](double hue) {
         auto view = std::make_shared<HBBrightnessSaturationView>();
         view->setHue(hue);
         return view;
     },
     [](double hue) {
         return std::vector<HBGradientLayer>{
             {{UIColor::colorWithHue(hue, 1, 1, 1), UIColor::whiteColor()}, {1, 0}, {0, 0}},
             {{UIColor::colorWithRed(0, 0, 0, 0), UIColor::blackColor()}, {0, 0}, {0, 1}}};
     }},
    {"saturation-first",
     [](double saturation) {
         auto view = std::make_shared<HBHueBrightnessView>();
         view->setHue(0.3, saturation, 0.6);
         return view;
     },
     [](double saturation) {
         double wash = 1 - saturation;
         return std::vector<HBGradientLayer>{
             HBGradientView::hueSpectrumLayer(),
             {{UIColor::colorWithRed(0, 0, 0, 0), UIColor::blackColor()}, {0, 0}, {0, 1}},
             {{UIColor::colorWithWhite(1, wash), UIColor::colorWithWhite(0, wash)},
              {0, 0},
              {0, 1}}};
     }},
    {"brightness-first",
     [](double brightness) {
         auto view = std::make_shared<HBHueSaturationView>();
         view->setHue(0.3, 0.6, brightness);
         return view;
     },
     [](double brightness) {
         UIColor veil = UIColor::colorWithRed(0, 0, 0, 1 - brightness);
         return std::vector<HBGradientLayer>{
             HBGradientView::hueSpectrumLayer(),
             {{UIColor::colorWithRed(0, 0, 0, 0), UIColor::whiteColor()}, {0, 0}, {0, 1}},
             {{veil, veil}, {0, 0}, {0, 1}}};
     }},
};

class LayeredField : public testing::TestWithParam<SinglePicture> {};

// At two pixels a point, as the browser gets them.
TEST_P(LayeredField, ComposesTheSinglePictureItReplaced) {
    constexpr double kScale = 2;
    for (double value : {0.0, 0.13, 0.5, 0.77, 1.0}) {
        std::shared_ptr<HBGradientView> view = GetParam().make(value);
        view->setFrame(CGRect{{0, 0}, kSize});
        UIImagePtr layered = ViewRenderer::renderView(*view, kSize, kScale);
        UIGraphicsBeginImageContextWithOptions(kSize, false, kScale);
        HBGradientView::paint(GetParam().layers(value), kSize);
        UIImagePtr single = UIGraphicsGetImageFromCurrentImageContext();
        UIGraphicsEndImageContext();
        ASSERT_TRUE(layered && single);
        ASSERT_EQ(layered->pixels().size(), single->pixels().size());
        int worst = 0;
        std::size_t offByTwo = 0;
        for (std::size_t i = 0; i < single->pixels().size(); ++i) {
            int difference = std::abs(int(layered->pixels()[i]) - int(single->pixels()[i]));
            worst = std::max(worst, difference);
            offByTwo += difference > 1;
        }
        RecordProperty(fmt::format("worst_at_{}", value), worst);
        RecordProperty(fmt::format("off_by_two_at_{}", value), static_cast<int>(offByTwo));
        // Three layers each rounded to 8 bits may add up to two units in a few channels.
        EXPECT_LE(worst, 2) << "at " << value;
        EXPECT_LE(offByTwo, single->pixels().size() / 200) << "at " << value;
    }
}

INSTANTIATE_TEST_SUITE_P(Fields, LayeredField, testing::ValuesIn(kSinglePictures),
                         [](const auto& param) { return testName(param.param.name); });

}  // namespace
