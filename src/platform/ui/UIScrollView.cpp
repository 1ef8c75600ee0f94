#include "platform/ui/UIScrollView.h"

#include <algorithm>

UIScrollView::UIScrollView(CGRect frame) : UIView(frame) {}

// Only the vertical axis scrolls in the pane, so the automatic behaviour and the scrollable
// axes one take the top and bottom of the safe area; always takes all of it.
UIEdgeInsets UIScrollView::adjustedContentInset() const {
    UIEdgeInsets adjusted = contentInset_;
    if (adjustment_ == UIScrollViewContentInsetAdjustmentNever) {
        return adjusted;
    }
    UIEdgeInsets safe = safeAreaInsets();
    adjusted.top += safe.top;
    adjusted.bottom += safe.bottom;
    if (adjustment_ == UIScrollViewContentInsetAdjustmentAlways) {
        adjusted.left += safe.left;
        adjusted.right += safe.right;
    }
    return adjusted;
}

CGPoint UIScrollView::contentOffset() const {
    return offsetSet_ ? contentOffset_ : minimumContentOffset();
}

void UIScrollView::setContentOffset(CGPoint offset, bool) {
    bool moved = !offsetSet_ || offset != contentOffset_;
    contentOffset_ = offset;
    offsetSet_ = true;
    if (moved) {
        contentOffsetDidChange();
    }
}

CGPoint UIScrollView::minimumContentOffset() const {
    UIEdgeInsets inset = adjustedContentInset();
    return CGPointMake(-inset.left, -inset.top);
}

CGPoint UIScrollView::maximumContentOffset() {
    UIEdgeInsets inset = adjustedContentInset();
    CGSize content = contentSize();
    CGSize shown = bounds().size;
    CGPoint least = minimumContentOffset();
    return CGPointMake(std::max(least.x, content.width + inset.right - shown.width),
                       std::max(least.y, content.height + inset.bottom - shown.height));
}

void UIScrollView::userScrolledTo(CGPoint offset) {
    CGPoint least = minimumContentOffset();
    CGPoint most = maximumContentOffset();
    setContentOffset(
        CGPointMake(std::clamp(offset.x, least.x, most.x), std::clamp(offset.y, least.y, most.y)));
}
