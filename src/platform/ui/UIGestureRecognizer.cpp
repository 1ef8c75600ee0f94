#include "platform/ui/UIGestureRecognizer.h"

#include "platform/ui/UIView.h"

UIGestureRecognizer::UIGestureRecognizer(UIGestureRecognizerAction action) {
    addTarget(std::move(action));
}

void UIGestureRecognizer::addTarget(UIGestureRecognizerAction action) {
    if (action) {
        actions_.push_back(std::move(action));
    }
}

CGPoint UIGestureRecognizer::locationInView(const UIView* view) const {
    return view ? view->convertPointFromView(locationInWindow_, nullptr) : locationInWindow_;
}

bool UIGestureRecognizer::mayBegin() {
    if (!enabled_ || !view_) {
        return false;
    }
    return !delegate_ || delegate_->gestureRecognizerShouldBegin(this);
}

void UIGestureRecognizer::moveToState(UIGestureRecognizerState state, CGPoint pointInView) {
    state_ = state;
    locationInWindow_ = view_ ? view_->convertPointToView(pointInView, nullptr) : pointInView;
    // An action may remove this recogniser from its view: run over a copy of the list.
    std::vector<UIGestureRecognizerAction> actions = actions_;
    for (const auto& action : actions) {
        action(this);
    }
}
