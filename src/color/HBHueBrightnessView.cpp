#include "color/HBHueBrightnessView.h"

HBHueBrightnessView::HBHueBrightnessView(CGRect frame)
    : HBGradientView(frame, kUsesSaturation, true) {
    showLayers();
}

void HBHueBrightnessView::setHue(double hue, double andSaturation, double andBrightness) {
    storeAndRedraw(hue, andSaturation, andBrightness);
}

void HBHueBrightnessView::showHue(double hue, double saturation, double brightness) {
    setHue(hue, saturation, brightness);
}

// The spectrum washed white as saturation falls, under a black ramp.
std::vector<HBPictureLayer> HBHueBrightnessView::pictureLayers() const {
    return {
        {{hueSpectrumLayer()}, std::nullopt},
        {{}, UIColor::colorWithWhite(1, 1 - saturation())},
        {{{{UIColor::colorWithRed(0, 0, 0, 0), UIColor::blackColor()}, {0, 0}, {0, 1}}},
         std::nullopt},
    };
}
