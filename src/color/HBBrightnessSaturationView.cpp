#include "color/HBBrightnessSaturationView.h"

HBBrightnessSaturationView::HBBrightnessSaturationView(CGRect frame)
    : HBGradientView(frame, kUsesHue, true) {
    showLayers();
}

void HBBrightnessSaturationView::setHue(double hue) {
    storeAndRedraw(hue, storedSaturation(), storedBrightness());
}

void HBBrightnessSaturationView::showHue(double hue, double, double) {
    setHue(hue);
}

// The pure hue under a white ramp that clears towards the right and a black one that
// darkens towards the bottom.
std::vector<HBPictureLayer> HBBrightnessSaturationView::pictureLayers() const {
    return {
        {{}, UIColor::colorWithHue(hue(), 1, 1, 1)},
        {{{{UIColor::whiteColor(), UIColor::colorWithWhite(1, 0)}, {0, 0}, {1, 0}},
          {{UIColor::colorWithRed(0, 0, 0, 0), UIColor::blackColor()}, {0, 0}, {0, 1}}},
         std::nullopt},
    };
}
