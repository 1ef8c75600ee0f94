#include "color/HBHueSliderView.h"

HBHueSliderView::HBHueSliderView(CGRect frame) : HBGradientView(frame, kUsesNothing) {}

void HBHueSliderView::showHue(double, double, double) {}

std::vector<HBGradientLayer> HBHueSliderView::gradientLayers() const {
    return {
        {{UIColor::redColor(), UIColor::yellowColor(), UIColor::greenColor(), UIColor::cyanColor(),
          UIColor::blueColor(), UIColor::magentaColor(), UIColor::redColor()},
         {0, 0},
         {1, 0}}};
}
