#include "platform/ui/UIImageView.h"

UIImageView::UIImageView(CGRect frame) : UIView(frame) {
    setUserInteractionEnabled(false);
}

UIImageView::UIImageView(UIImagePtr image) : UIImageView(CGRectZero) {
    image_ = std::move(image);
    sizeToFit();
}

void UIImageView::setImage(UIImagePtr image) {
    if (image_ != image) {
        image_ = std::move(image);
        setNeedsDisplay();
    }
}

CGSize UIImageView::sizeThatFits(CGSize) const {
    return image_ ? image_->size() : CGSize{0, 0};
}

void UIImageView::sizeToFit() {
    CGRect f = frame();
    f.size = sizeThatFits(f.size);
    setFrame(f);
}
