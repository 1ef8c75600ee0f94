#pragma once

#include "color/HBGradientView.h"

// The field of the brightness-first picker: hue from left to right, saturation falling from top
// to bottom, under an even dark veil as brightness falls. Its picture uses brightness only.
class HBHueSaturationView : public HBGradientView {
  public:
    explicit HBHueSaturationView(CGRect frame = CGRectZero);
    std::string className() const override { return "HBHueSaturationView"; }

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
