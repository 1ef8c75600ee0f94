#include "color/HBHueSaturationView.h"

HBHueSaturationView::HBHueSaturationView(CGRect frame)
    : HBGradientView(frame, kUsesBrightness, true) {
    showLayers();
}

void HBHueSaturationView::setHue(double hue, double andSaturation, double andBrightness) {
    storeAndRedraw(hue, andSaturation, andBrightness);
}

void HBHueSaturationView::showHue(double hue, double saturation, double brightness) {
    setHue(hue, saturation, brightness);
}

// The spectrum under a white ramp, then a black veil as brightness falls.
std::vector<HBPictureLayer> HBHueSaturationView::pictureLayers() const {
    return {
        {{hueSpectrumLayer(),
          {{UIColor::colorWithRed(0, 0, 0, 0), UIColor::whiteColor()}, {0, 0}, {0, 1}}},
         std::nullopt},
        {{}, UIColor::colorWithRed(0, 0, 0, 1 - brightness())},
    };
}
