#pragma once

#include "color/HBGradientView.h"

// The field of the saturation-first picker: hue from left to right, brightness falling from top
// to bottom, washed towards a grey ramp as saturation falls. Its picture uses saturation only.
class HBHueBrightnessView : public HBGradientView {
  public:
    explicit HBHueBrightnessView(CGRect frame = CGRectZero);
    std::string className() const override { return "HBHueBrightnessView"; }

    double hue() const { return storedHue(); }
    double saturation() const { return storedSaturation(); }
    double brightness() const { return storedBrightness(); }
    // The single setters only store; the combined one also recolours.
    void setHue(double hue) { storeHue(hue); }
    void setSaturation(double saturation) { storeSaturation(saturation); }
    void setBrightness(double brightness) { storeBrightness(brightness); }
    void setHue(double hue, double andSaturation, double andBrightness);

    std::vector<HBPictureLayer> pictureLayers() const override;
    void showHue(double hue, double saturation, double brightness) override;
};
