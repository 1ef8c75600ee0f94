#include "color/HBGradientView.h"

#include "color/HBFixedGradientView.h"

#include "platform/ui/CGColorSpace.h"
#include "platform/ui/CGContext.h"
#include "platform/ui/CGGradient.h"
#include "platform/ui/UIGraphics.h"

void HBGradientView::paint(const std::vector<HBGradientLayer>& layers, CGSize size) {
    CGContextRef context = UIGraphicsGetCurrentContext();
    if (!context) {
        return;
    }
    CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
    CGContextSaveGState(context);
    CGContextClipToRect(context, CGRectMake(0, 0, size.width, size.height));
    for (const HBGradientLayer& layer : layers) {
        CGGradientRef gradient = CGGradientCreateWithColors(space, layer.colors);
        CGContextDrawLinearGradient(
            context, gradient, CGPointMake(layer.start.x * size.width, layer.start.y * size.height),
            CGPointMake(layer.end.x * size.width, layer.end.y * size.height));
    }
    CGContextRestoreGState(context);
}

void HBGradientView::drawRect(CGRect) {
    paint(gradientLayers(), bounds().size);
}

void HBGradientView::layoutSubviews() {
    UIView::layoutSubviews();
    showLayers();
}

void HBGradientView::showLayers() {
    if (!layered_) {
        return;
    }
    std::vector<HBPictureLayer> layers = pictureLayers();
    if (subviews().empty()) {
        for (HBPictureLayer& layer : layers) {
            UIViewPtr view = layer.plain ? std::make_shared<UIView>(bounds())
                                         : std::make_shared<HBFixedGradientView>(
                                               bounds(), std::move(layer.fixed));
            view->setUserInteractionEnabled(false);
            view->setAutoresizingMask(UIViewAutoresizingFlexibleWidth |
                                      UIViewAutoresizingFlexibleHeight);
            addSubview(view);
        }
    }
    const std::vector<UIViewPtr>& views = subviews();
    for (std::size_t i = 0; i < layers.size() && i < views.size(); ++i) {
        views[i]->setFrame(bounds());
        if (layers[i].plain) {
            views[i]->setBackgroundColor(*layers[i].plain);
        }
    }
}

void HBGradientView::storeAndRedraw(double hue, double saturation, double brightness) {
    bool changed = ((uses_ & kUsesHue) && hue != hue_) ||
                   ((uses_ & kUsesSaturation) && saturation != saturation_) ||
                   ((uses_ & kUsesBrightness) && brightness != brightness_);
    hue_ = hue;
    saturation_ = saturation;
    brightness_ = brightness;
    if (changed && layered_) {
        showLayers();
    } else if (changed) {
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
