#include "platform/ui/UILongPressGestureRecognizer.h"

#include "platform/ui/UIView.h"

bool UILongPressGestureRecognizer::userLongPressed(CGPoint point) {
    return userLongPressed(point, minimumPressDuration_);
}

bool UILongPressGestureRecognizer::userLongPressed(CGPoint point, double seconds) {
    if (!view() || !view()->pointInside(point) || seconds < minimumPressDuration_ || !mayBegin()) {
        return false;
    }
    // An action may remove the recogniser from its view, which owns it.
    auto keepAlive = weak_from_this().lock();
    moveToState(UIGestureRecognizerStateBegan, point);
    moveToState(UIGestureRecognizerStateEnded, point);
    reset();
    return true;
}
