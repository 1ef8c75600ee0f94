#include "platform/ui/UIControl.h"

void UIControl::setEnabled(bool enabled) {
    if (enabled_ != enabled) {
        enabled_ = enabled;
        if (!enabled) {
            tracking_ = false;
            highlighted_ = false;
        }
        controlStateChanged();
        setNeedsDisplay();
    }
}

void UIControl::setSelected(bool selected) {
    if (selected_ != selected) {
        selected_ = selected;
        controlStateChanged();
        setNeedsDisplay();
    }
}

void UIControl::setHighlighted(bool highlighted) {
    if (highlighted_ != highlighted) {
        highlighted_ = highlighted;
        controlStateChanged();
        setNeedsDisplay();
    }
}

unsigned UIControl::state() const {
    unsigned state = UIControlStateNormal;
    if (highlighted_) {
        state |= UIControlStateHighlighted;
    }
    if (!enabled_) {
        state |= UIControlStateDisabled;
    }
    if (selected_) {
        state |= UIControlStateSelected;
    }
    return state;
}

void UIControl::addTarget(UIControlAction action, unsigned controlEvents) {
    if (action && controlEvents != 0) {
        targets_.push_back(Target{controlEvents, std::move(action)});
    }
}

unsigned UIControl::allControlEvents() const {
    unsigned events = 0;
    for (const auto& target : targets_) {
        events |= target.events;
    }
    return events;
}

void UIControl::sendActionsForControlEvents(unsigned controlEvents, const UIEvent& event) {
    // An action may add or remove actions: run over a copy.
    auto keepAlive = retainWhileSending();
    std::vector<Target> targets = targets_;
    for (const auto& target : targets) {
        if (target.events & controlEvents) {
            target.action(this, event);
        }
    }
}

void UIControl::sendActionsForControlEvents(unsigned controlEvents) {
    sendActionsForControlEvents(controlEvents, UIEvent());
}

bool UIControl::withinTolerance(CGPoint point) const {
    CGRect area = bounds();
    area.origin.x -= touchTolerance;
    area.origin.y -= touchTolerance;
    area.size.width += 2 * touchTolerance;
    area.size.height += 2 * touchTolerance;
    return CGRectContainsPoint(area, point);
}

bool UIControl::userTouchDown(CGPoint point) {
    auto keepAlive = retainWhileSending();
    if (!enabled_ || !isUserInteractionEnabled() || isHidden()) {
        return false;
    }
    tracking_ = true;
    touchInside_ = true;
    setHighlighted(true);
    sendActionsForControlEvents(UIControlEventTouchDown,
                                UIEvent::eventWithTouch(this, point, UITouchPhaseBegan));
    return true;
}

void UIControl::userTouchMoved(CGPoint point) {
    auto keepAlive = retainWhileSending();
    if (!tracking_) {
        return;
    }
    bool inside = withinTolerance(point);
    UIEvent event = UIEvent::eventWithTouch(this, point, UITouchPhaseMoved);
    if (inside != touchInside_) {
        touchInside_ = inside;
        setHighlighted(inside);
        sendActionsForControlEvents(
            inside ? UIControlEventTouchDragEnter : UIControlEventTouchDragExit, event);
    }
    sendActionsForControlEvents(
        inside ? UIControlEventTouchDragInside : UIControlEventTouchDragOutside, event);
}

void UIControl::userTouchUp(CGPoint point) {
    auto keepAlive = retainWhileSending();
    if (!tracking_) {
        return;
    }
    bool inside = withinTolerance(point);
    tracking_ = false;
    touchInside_ = false;
    setHighlighted(false);
    sendActionsForControlEvents(inside ? UIControlEventTouchUpInside : UIControlEventTouchUpOutside,
                                UIEvent::eventWithTouch(this, point, UITouchPhaseEnded));
}

void UIControl::userTouchCancelled() {
    auto keepAlive = retainWhileSending();
    if (!tracking_) {
        return;
    }
    tracking_ = false;
    touchInside_ = false;
    setHighlighted(false);
    sendActionsForControlEvents(UIControlEventTouchCancel);
}

bool UIControl::userTapped() {
    auto keepAlive = retainWhileSending();
    CGRect b = bounds();
    CGPoint middle{b.origin.x + b.size.width / 2, b.origin.y + b.size.height / 2};
    if (!userTouchDown(middle)) {
        return false;
    }
    userTouchUp(middle);
    return true;
}
