#pragma once

#include <memory>
#include <string>

#include "platform/ui/UIView.h"

enum UIScrollViewContentInsetAdjustmentBehavior : long {
    UIScrollViewContentInsetAdjustmentAutomatic = 0,
    UIScrollViewContentInsetAdjustmentScrollableAxes = 1,
    UIScrollViewContentInsetAdjustmentNever = 2,
    UIScrollViewContentInsetAdjustmentAlways = 3,
};

// A view that shows part of a larger content: the content's size, the offset of the point of
// the content shown at the view's top left corner, and insets around the content. Unless told
// otherwise, the insets grow by the view's safe area, so that content under the bars (and the
// home indicator) scrolls out from under them. Until its offset is set, the view shows the
// top of its content just below the top inset, as a page opened anew does. The stand-in keeps
// its bounds at the origin; hosts draw the offset.
class UIScrollView : public UIView {
  public:
    explicit UIScrollView(CGRect frame = CGRectZero);
    std::string className() const override { return "UIScrollView"; }

    virtual CGSize contentSize() { return contentSize_; }
    void setContentSize(CGSize size) { contentSize_ = size; }
    UIEdgeInsets contentInset() const { return contentInset_; }
    void setContentInset(UIEdgeInsets insets) { contentInset_ = insets; }
    UIScrollViewContentInsetAdjustmentBehavior contentInsetAdjustmentBehavior() const {
        return adjustment_;
    }
    void setContentInsetAdjustmentBehavior(UIScrollViewContentInsetAdjustmentBehavior behavior) {
        adjustment_ = behavior;
    }
    // The content inset plus, as the adjustment behaviour says, the safe area.
    UIEdgeInsets adjustedContentInset() const;

    CGPoint contentOffset() const;
    void setContentOffset(CGPoint offset, bool animated = false);
    // The offsets a drag can reach: from the top inset down to where the content's end lies
    // above the bottom inset (the top, for content shorter than the view).
    CGPoint minimumContentOffset() const;
    CGPoint maximumContentOffset();
    // A drag (or wheel) that ends at the offset, kept inside the reachable offsets.
    void userScrolledTo(CGPoint offset);
    // Called after every change of the offset, as the delegate's scrollViewDidScroll is.
    virtual void contentOffsetDidChange() {}

  private:
    CGSize contentSize_;
    UIEdgeInsets contentInset_;
    UIScrollViewContentInsetAdjustmentBehavior adjustment_ =
        UIScrollViewContentInsetAdjustmentAutomatic;
    CGPoint contentOffset_;
    bool offsetSet_ = false;
};

using UIScrollViewPtr = std::shared_ptr<UIScrollView>;
