#include "color/HBBrightnessSaturationView.h"

HBBrightnessSaturationView::HBBrightnessSaturationView(CGRect frame)
    : HBGradientView(frame, kUsesHue) {}

void HBBrightnessSaturationView::setHue(double hue) {
    storeAndRedraw(hue, storedSaturation(), storedBrightness());
}

void HBBrightnessSaturationView::showHue(double hue, double, double) {
    setHue(hue);
}

std::vector<HBGradientLayer> HBBrightnessSaturationView::gradientLayers() const {
    return {
        {{UIColor::colorWithHue(hue(), 1, 1, 1), UIColor::whiteColor()}, {1, 0}, {0, 0}},
        {{UIColor::colorWithRed(0, 0, 0, 0), UIColor::blackColor()}, {0, 0}, {0, 1}},
    };
}
