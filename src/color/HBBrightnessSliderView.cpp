#include "color/HBBrightnessSliderView.h"

HBBrightnessSliderView::HBBrightnessSliderView(CGRect frame)
    : HBGradientView(frame, kUsesHue | kUsesSaturation) {}

void HBBrightnessSliderView::setHue(double hue, double andSaturation) {
    storeAndRedraw(hue, andSaturation, storedBrightness());
}

void HBBrightnessSliderView::showHue(double hue, double saturation, double) {
    setHue(hue, saturation);
}

std::vector<HBGradientLayer> HBBrightnessSliderView::gradientLayers() const {
    return {{{UIColor::colorWithHue(hue(), saturation(), 1, 1), UIColor::blackColor()},
             {0, 0},
             {1, 0}}};
}
