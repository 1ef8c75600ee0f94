#include "platform/ui/UIView.h"

#include <algorithm>
#include <iterator>

#include "platform/ui/UIApplication.h"
#include "platform/ui/UIGestureRecognizer.h"
#include "platform/ui/UIViewController.h"
#include "platform/ui/UIWindow.h"

namespace {

UIUserInterfaceStyle& processStyle() {
    static UIUserInterfaceStyle style = UIUserInterfaceStyleLight;
    return style;
}

// One axis of an autoresizing step: the flexible parts share the change in size in proportion
// to their current lengths (equally when those add up to nothing), as on the platform.
void resizeAxis(double& origin, double& length, double oldParent, double newParent,
                bool flexibleLead, bool flexibleLength, bool flexibleTrail) {
    double delta = newParent - oldParent;
    int parts = int(flexibleLead) + int(flexibleLength) + int(flexibleTrail);
    if (parts == 0 || delta == 0) {
        return;
    }
    double lead = flexibleLead ? std::max(0.0, origin) : 0.0;
    double body = flexibleLength ? std::max(0.0, length) : 0.0;
    double trail = flexibleTrail ? std::max(0.0, oldParent - origin - length) : 0.0;
    double total = lead + body + trail;
    auto share = [&](bool flexible, double part) {
        return !flexible ? 0.0 : total > 0 ? delta * part / total : delta / parts;
    };
    origin += share(flexibleLead, lead);
    if (flexibleLength) {
        length = std::max(0.0, length + share(flexibleLength, body));
    }
}

}  // namespace

UITraitCollection UITraitCollection::current() {
    return UITraitCollection{processStyle()};
}

void UITraitCollection::setCurrentUserInterfaceStyle(UIUserInterfaceStyle style) {
    processStyle() = style;
    if (const UIWindowPtr& window = UIApplication::sharedApplication().keyWindow()) {
        UIWindowPtr keep = window;
        keep->updateTraitsIfNeeded();
        if (UIViewControllerPtr root = keep->rootViewController()) {
            root->updateTraitsIfNeeded();
        }
    }
}

UIView::UIView(CGRect frame) : frame_(frame) {}

UIView::~UIView() {
    for (auto& subview : subviews_) {
        subview->superview_ = nullptr;
    }
    for (auto& recognizer : gestureRecognizers_) {
        recognizer->view_ = nullptr;
    }
}

void UIView::addGestureRecognizer(std::shared_ptr<UIGestureRecognizer> recognizer) {
    if (!recognizer || recognizer->view_ == this) {
        return;
    }
    if (recognizer->view_) {
        recognizer->view_->removeGestureRecognizer(recognizer.get());
    }
    recognizer->view_ = this;
    gestureRecognizers_.push_back(std::move(recognizer));
}

void UIView::removeGestureRecognizer(UIGestureRecognizer* recognizer) {
    auto found = std::find_if(gestureRecognizers_.begin(), gestureRecognizers_.end(),
                              [recognizer](const auto& held) { return held.get() == recognizer; });
    if (found != gestureRecognizers_.end()) {
        (*found)->view_ = nullptr;
        gestureRecognizers_.erase(found);  // may destroy the recogniser
    }
}

void UIView::setFrame(CGRect frame) {
    CGSize oldSize = frame_.size;
    frame_ = frame;
    if (oldSize != frame.size) {
        resizeSubviews(oldSize);
        setNeedsLayout();
    }
}

CGRect UIView::bounds() const {
    return CGRect{boundsOrigin_, frame_.size};
}

void UIView::setBounds(CGRect bounds) {
    boundsOrigin_ = bounds.origin;
    setFrame(CGRect{frame_.origin, bounds.size});
}

UIEdgeInsets UIView::safeAreaInsets() const {
    UIEdgeInsets own = additionalSafeAreaInsets_;
    if (!superview_) {
        return own;
    }
    UIEdgeInsets outer = superview_->safeAreaInsets();
    CGRect inner = superview_->bounds();
    double top = frame_.origin.y - inner.origin.y;
    double left = frame_.origin.x - inner.origin.x;
    double bottom = inner.size.height - (top + frame_.size.height);
    double right = inner.size.width - (left + frame_.size.width);
    own.top += std::max(0.0, outer.top - top);
    own.left += std::max(0.0, outer.left - left);
    own.bottom += std::max(0.0, outer.bottom - bottom);
    own.right += std::max(0.0, outer.right - right);
    return own;
}

CGPoint UIView::center() const {
    return CGPoint{frame_.origin.x + frame_.size.width / 2,
                   frame_.origin.y + frame_.size.height / 2};
}

void UIView::setCenter(CGPoint center) {
    CGSize size = frame_.size;
    setFrame(CGRect{CGPoint{center.x - size.width / 2, center.y - size.height / 2}, size});
}

void UIView::resizeSubviews(CGSize oldSize) {
    for (auto& subview : subviews_) {
        unsigned mask = subview->autoresizingMask_;
        if (mask == UIViewAutoresizingNone) {
            continue;
        }
        CGRect f = subview->frame_;
        resizeAxis(f.origin.x, f.size.width, oldSize.width, frame_.size.width,
                   mask & UIViewAutoresizingFlexibleLeftMargin,
                   mask & UIViewAutoresizingFlexibleWidth,
                   mask & UIViewAutoresizingFlexibleRightMargin);
        resizeAxis(f.origin.y, f.size.height, oldSize.height, frame_.size.height,
                   mask & UIViewAutoresizingFlexibleTopMargin,
                   mask & UIViewAutoresizingFlexibleHeight,
                   mask & UIViewAutoresizingFlexibleBottomMargin);
        subview->setFrame(f);
    }
}

void UIView::addSubview(std::shared_ptr<UIView> view) {
    insertSubviewAtIndex(std::move(view), subviews_.size());
}

void UIView::insertSubviewAtIndex(std::shared_ptr<UIView> view, std::size_t index) {
    if (!view || view.get() == this) {
        return;
    }
    std::shared_ptr<UIView> keep = view;
    view->removeFromSuperview();
    index = std::min(index, subviews_.size());
    subviews_.insert(subviews_.begin() + static_cast<std::ptrdiff_t>(index), std::move(keep));
    view->superview_ = this;
    view->updateTraitsIfNeeded();
}

void UIView::removeFromSuperview() {
    UIView* parent = superview_;
    if (!parent) {
        return;
    }
    superview_ = nullptr;
    // Searched from the end, where a view just added sits and where erasing moves nothing:
    // a table recycling its rows from the last one takes constant time a row.
    auto& siblings = parent->subviews_;
    auto found = std::find_if(siblings.rbegin(), siblings.rend(),
                              [this](const auto& view) { return view.get() == this; });
    if (found != siblings.rend()) {
        siblings.erase(std::next(found).base());  // may destroy this view: nothing runs after it
    }
}

void UIView::bringSubviewToFront(UIView* view) {
    auto found = std::find_if(subviews_.begin(), subviews_.end(),
                              [view](const auto& candidate) { return candidate.get() == view; });
    if (found != subviews_.end()) {
        std::rotate(found, found + 1, subviews_.end());
    }
}

UIView* UIView::viewWithTag(long tag) {
    if (tag_ == tag) {
        return this;
    }
    for (auto& subview : subviews_) {
        if (UIView* found = subview->viewWithTag(tag)) {
            return found;
        }
    }
    return nullptr;
}

void UIView::setBackgroundColor(OptionalColor color) {
    backgroundColor_ = color;
}

void UIView::setAlpha(double alpha) {
    alpha_ = std::clamp(alpha, 0.0, 1.0);
}

void UIView::setHidden(bool hidden) {
    hidden_ = hidden;
}

void UIView::setUserInteractionEnabled(bool enabled) {
    userInteractionEnabled_ = enabled;
}

void UIView::layoutIfNeeded() {
    if (needsLayout_) {
        needsLayout_ = false;
        layoutSubviews();
    }
    for (auto& subview : subviews_) {
        subview->layoutIfNeeded();
    }
}

void UIView::drawRect(CGRect) {}

void UIView::traitCollectionDidChange(const UITraitCollection&) {
    if (drawsItself()) {
        setNeedsDisplay();
    }
}

// A view that is up to date has up-to-date subviews: each was brought up to date when it
// was added, or with its superview.
void UIView::updateTraitsIfNeeded() {
    UITraitCollection now = UITraitCollection::current();
    if (traits_ == now) {
        return;
    }
    UITraitCollection previous = traits_;
    traits_ = now;
    std::vector<std::shared_ptr<UIView>> subviews = subviews_;
    for (const auto& subview : subviews) {
        subview->updateTraitsIfNeeded();
    }
    traitCollectionDidChange(previous);
}

void UIView::setNeedsDisplay() {
    ++displayGeneration_;
}

CGPoint UIView::originInWindow() const {
    CGPoint origin{0, 0};
    for (const UIView* view = this; view; view = view->superview_) {
        origin.x += view->frame_.origin.x - view->boundsOrigin_.x;
        origin.y += view->frame_.origin.y - view->boundsOrigin_.y;
    }
    return origin;
}

CGPoint UIView::convertPointToView(CGPoint point, const UIView* view) const {
    CGPoint from = originInWindow();
    CGPoint to = view ? view->originInWindow() : CGPoint{0, 0};
    return CGPoint{point.x + from.x - to.x, point.y + from.y - to.y};
}

CGPoint UIView::convertPointFromView(CGPoint point, const UIView* view) const {
    CGPoint from = view ? view->originInWindow() : CGPoint{0, 0};
    CGPoint to = originInWindow();
    return CGPoint{point.x + from.x - to.x, point.y + from.y - to.y};
}

bool UIView::pointInside(CGPoint point) const {
    return CGRectContainsPoint(bounds(), point);
}

UIView* UIView::hitTest(CGPoint point) {
    if (hidden_ || !userInteractionEnabled_ || alpha_ < 0.01 || !pointInside(point)) {
        return nullptr;
    }
    for (auto it = subviews_.rbegin(); it != subviews_.rend(); ++it) {
        UIView& subview = **it;
        CGPoint local{point.x - subview.frame_.origin.x + subview.boundsOrigin_.x,
                      point.y - subview.frame_.origin.y + subview.boundsOrigin_.y};
        if (UIView* hit = subview.hitTest(local)) {
            return hit;
        }
    }
    return this;
}
