#pragma once

#include "color/HBGradientView.h"

// The slider of the brightness-first picker: from the colour of the hue and saturation at full
// brightness at the left to black at the right.
class HBBrightnessSliderView : public HBGradientView {
  public:
    explicit HBBrightnessSliderView(CGRect frame = CGRectZero);
    std::string className() const override { return "HBBrightnessSliderView"; }

    double hue() const { return storedHue(); }
    double saturation() const { return storedSaturation(); }
    // The single setters only store; the combined one also redraws.
    void setHue(double hue) { storeHue(hue); }
    void setSaturation(double saturation) { storeSaturation(saturation); }
    void setHue(double hue, double andSaturation);

    std::vector<HBGradientLayer> gradientLayers() const override;
    void showHue(double hue, double saturation, double brightness) override;
};
