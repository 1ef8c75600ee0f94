#pragma once

#include "color/HBGradientView.h"

// The slider of the hue-first picker: every hue from red at the left to red at the right. It
// depends on no value.
class HBHueSliderView : public HBGradientView {
  public:
    explicit HBHueSliderView(CGRect frame = CGRectZero);
    std::string className() const override { return "HBHueSliderView"; }

    std::vector<HBGradientLayer> gradientLayers() const override;
    void showHue(double hue, double saturation, double brightness) override;
};
