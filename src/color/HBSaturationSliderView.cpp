#include "color/HBSaturationSliderView.h"

HBSaturationSliderView::HBSaturationSliderView(CGRect frame)
    : HBGradientView(frame, kUsesHue | kUsesBrightness) {}

void HBSaturationSliderView::setHue(double hue, double andBrightness) {
    storeAndRedraw(hue, storedSaturation(), andBrightness);
}

void HBSaturationSliderView::showHue(double hue, double, double brightness) {
    setHue(hue, brightness);
}

std::vector<HBGradientLayer> HBSaturationSliderView::gradientLayers() const {
    return {{{UIColor::colorWithHue(hue(), 1, brightness(), 1),
              UIColor::colorWithHue(0, 0, brightness(), 1)},
             {0, 0},
             {1, 0}}};
}
