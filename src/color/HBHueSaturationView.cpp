#include "color/HBHueSaturationView.h"

HBHueSaturationView::HBHueSaturationView(CGRect frame) : HBGradientView(frame, kUsesBrightness) {}

void HBHueSaturationView::setHue(double hue, double andSaturation, double andBrightness) {
    storeAndRedraw(hue, andSaturation, andBrightness);
}

void HBHueSaturationView::showHue(double hue, double saturation, double brightness) {
    setHue(hue, saturation, brightness);
}

std::vector<HBGradientLayer> HBHueSaturationView::gradientLayers() const {
    UIColor veil = UIColor::colorWithRed(0, 0, 0, 1 - brightness());
    return {
        hueSpectrumLayer(),
        {{UIColor::colorWithRed(0, 0, 0, 0), UIColor::whiteColor()}, {0, 0}, {0, 1}},
        {{veil, veil}, {0, 0}, {0, 1}},
    };
}
