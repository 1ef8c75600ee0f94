#pragma once

#include "color/HBGradientView.h"

// The field of the hue-first picker: saturation rising from white at the left to the pure hue
// at the right, brightness falling to black from top to bottom.
class HBBrightnessSaturationView : public HBGradientView {
  public:
    explicit HBBrightnessSaturationView(CGRect frame = CGRectZero);
    std::string className() const override { return "HBBrightnessSaturationView"; }

    double hue() const { return storedHue(); }
    // Stores the hue and recolours.
    void setHue(double hue);

    std::vector<HBPictureLayer> pictureLayers() const override;
    void showHue(double hue, double saturation, double brightness) override;
};
