#include "pages/HBPreviewLabelView.h"

#include "model/HBColorValues.h"
#include "platform/ui/UIGraphics.h"

HBPreviewLabelView::HBPreviewLabelView() : UIView(CGRectZero) {
    setUserInteractionEnabled(false);
    setHidden(true);
}

void HBPreviewLabelView::show(CGRect row, const HBLabelSettings& settings,
                              const std::optional<UIColor>& color) {
    CGRect area = HBLabelMeaning::area(row, settings);
    float opacity = HBColorValues::opacityFromAlphaLevel(settings.alphaLevel);
    HBLabelMeaning::Shape shape = HBLabelMeaning::entryFor(settings.type).shape;
    if (!color || area.size.width <= 0 || area.size.height <= 0 || opacity <= 0) {
        setHidden(true);
        return;
    }
    setHidden(false);
    setFrame(area);
    bool fading = shape != HBLabelMeaning::Shape::Circle && settings.fadeOut;
    if (fading) {
        // Painted as the other previews paint it, in the row moved to this view's origin.
        CGRect row0 = CGRectMake(row.origin.x - area.origin.x, row.origin.y - area.origin.y,
                                 row.size.width, row.size.height);
        if (!fading_ || row0 != row_ || settings != settings_ || *color != color_) {
            setNeedsDisplay();
        }
        row_ = row0;
        settings_ = settings;
        color_ = *color;
    }
    fading_ = fading;
    setBackgroundColor(fading ? OptionalColor()
                              : OptionalColor(color->colorWithAlphaComponent(opacity)));
    layer().cornerRadius = shape == HBLabelMeaning::Shape::Circle ? area.size.width / 2 : 0;
}

void HBPreviewLabelView::drawRect(CGRect) {
    HBLabelMeaning::paint(UIGraphicsGetCurrentContext(), row_, settings_, color_);
}
