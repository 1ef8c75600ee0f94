#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/ui/UIColor.h"
#include "platform/ui/UIView.h"

// One linear gradient of a gradient view: colours at evenly spaced stops, drawn from the
// start point to the end point and nowhere beyond them. Points are fractions of the view's
// width and height, so (1, 0) is the top right corner whatever the size.
struct HBGradientLayer {
    std::vector<UIColor> colors;
    CGPoint start;
    CGPoint end;
};

// One layer of a layered picture: fixed gradients, drawn once into a picture of their own,
// or, when plain is set, one colour (with its alpha) that follows the selection.
struct HBPictureLayer {
    std::vector<HBGradientLayer> fixed;
    std::optional<UIColor> plain;
};

// A view that paints one or more gradient layers, clipped to its bounds, in the device RGB
// colour space. Subclasses say which of hue, saturation and brightness their picture uses and
// which layers it has; a change of a value the picture does not use never redraws.
// A layered view (the picker fields) draws nothing itself: its picture is a stack of
// subviews, fixed gradient pictures drawn once and plain colours, so that a change of the
// selection recolours a plain layer instead of drawing and sending a new picture.
class HBGradientView : public UIView {
  public:
    // Which of the three values a picture depends on.
    enum Uses : unsigned {
        kUsesNothing = 0,
        kUsesHue = 1u << 0,
        kUsesSaturation = 1u << 1,
        kUsesBrightness = 1u << 2,
    };

    bool drawsItself() const override { return !layered_; }
    void drawRect(CGRect rect) override;
    void layoutSubviews() override;

    // The layers for the current values, lowest first, of a view that draws itself.
    virtual std::vector<HBGradientLayer> gradientLayers() const { return {}; }
    // The layers of a layered view for the current values, lowest first. Their number and
    // kinds never change, nor do the fixed gradients.
    virtual std::vector<HBPictureLayer> pictureLayers() const { return {}; }
    // Paints gradients over a size into the current context, clipped to it.
    static void paint(const std::vector<HBGradientLayer>& layers, CGSize size);
    // The spectrum of the two hue fields: red at the left, the hues in the hue slider's order.
    static HBGradientLayer hueSpectrumLayer();
    // How a picker hands this view the selection: each view keeps the values its own combined
    // setter takes and redraws only when its picture changes.
    virtual void showHue(double hue, double saturation, double brightness) = 0;

  protected:
    HBGradientView(CGRect frame, unsigned uses, bool layered = false)
        : UIView(frame), uses_(uses), layered_(layered) {}

    // Makes the layer subviews of a layered view on the first call, then gives the plain
    // layers their colours; a layered subclass calls it once constructed.
    void showLayers();

    double storedHue() const { return hue_; }
    double storedSaturation() const { return saturation_; }
    double storedBrightness() const { return brightness_; }
    // Plain stores: they never redraw.
    void storeHue(double hue) { hue_ = hue; }
    void storeSaturation(double saturation) { saturation_ = saturation; }
    void storeBrightness(double brightness) { brightness_ = brightness; }
    // Stores the three values and asks for a redraw when one the picture uses changed.
    void storeAndRedraw(double hue, double saturation, double brightness);

  private:
    unsigned uses_;
    bool layered_;
    double hue_ = 0;
    double saturation_ = 0;
    double brightness_ = 0;
};
