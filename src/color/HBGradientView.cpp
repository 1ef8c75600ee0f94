#include "color/HBGradientView.h"

#include "platform/ui/CGColorSpace.h"
#include "platform/ui/CGContext.h"
#include "platform/ui/CGGradient.h"
#include "platform/ui/UIGraphics.h"

void HBGradientView::drawRect(CGRect) {
    CGContextRef context = UIGraphicsGetCurrentContext();
    if (!context) {
        return;
    }
    CGSize size = bounds().size;
    CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
    CGContextSaveGState(context);
    CGContextClipToRect(context, CGRectMake(0, 0, size.width, size.height));
    for (const HBGradientLayer& layer : gradientLayers()) {
        CGGradientRef gradient = CGGradientCreateWithColors(space, layer.colors);
        CGContextDrawLinearGradient(
            context, gradient, CGPointMake(layer.start.x * size.width, layer.start.y * size.height),
            CGPointMake(layer.end.x * size.width, layer.end.y * size.height));
    }
    CGContextRestoreGState(context);
}

void HBGradientView::storeAndRedraw(double hue, double saturation, double brightness) {
    bool changed = ((uses_ & kUsesHue) && hue != hue_) ||
                   ((uses_ & kUsesSaturation) && saturation != saturation_) ||
                   ((uses_ & kUsesBrightness) && brightness != brightness_);
    hue_ = hue;
    saturation_ = saturation;
    brightness_ = brightness;
    if (changed) {
        setNeedsDisplay();
    }
}

// Drawn from the right edge to the left, so that on screen red is at the left and the hues
// follow in the order of the hue slider.
HBGradientLayer HBGradientView::hueSpectrumLayer() {
    return {
        {UIColor::redColor(), UIColor::magentaColor(), UIColor::blueColor(), UIColor::cyanColor(),
         UIColor::greenColor(), UIColor::yellowColor(), UIColor::redColor()},
        {1, 0},
        {0, 0}};
}
