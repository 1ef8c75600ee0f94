#include "color/HBHueBrightnessView.h"

HBHueBrightnessView::HBHueBrightnessView(CGRect frame) : HBGradientView(frame, kUsesSaturation) {}

void HBHueBrightnessView::setHue(double hue, double andSaturation, double andBrightness) {
    storeAndRedraw(hue, andSaturation, andBrightness);
}

void HBHueBrightnessView::showHue(double hue, double saturation, double brightness) {
    setHue(hue, saturation, brightness);
}

std::vector<HBGradientLayer> HBHueBrightnessView::gradientLayers() const {
    double wash = 1 - saturation();
    return {
        hueSpectrumLayer(),
        {{UIColor::colorWithRed(0, 0, 0, 0), UIColor::blackColor()}, {0, 0}, {0, 1}},
        {{UIColor::colorWithWhite(1, wash), UIColor::colorWithWhite(0, wash)}, {0, 0}, {0, 1}},
    };
}
