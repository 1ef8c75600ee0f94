#pragma once

#include "color/HBGradientView.h"

// The slider of the saturation-first picker: from the full colour of the hue and brightness at
// the left to the grey of that brightness at the right.
class HBSaturationSliderView : public HBGradientView {
  public:
    explicit HBSaturationSliderView(CGRect frame = CGRectZero);
    std::string className() const override { return "HBSaturationSliderView"; }

    double hue() const { return storedHue(); }
    double brightness() const { return storedBrightness(); }
    // The single setters only store; the combined one also redraws.
    void setHue(double hue) { storeHue(hue); }
    void setBrightness(double brightness) { storeBrightness(brightness); }
    void setHue(double hue, double andBrightness);

    std::vector<HBGradientLayer> gradientLayers() const override;
    void showHue(double hue, double saturation, double brightness) override;
};
