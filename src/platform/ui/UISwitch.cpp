#include "platform/ui/UISwitch.h"

UISwitch::UISwitch(CGRect frame)
    : UIControl(CGRectMake(frame.origin.x, frame.origin.y, width, height)) {}

void UISwitch::setFrame(CGRect frame) {
    UIControl::setFrame(CGRectMake(frame.origin.x, frame.origin.y, width, height));
}

void UISwitch::setOn(bool on) {
    if (on_ != on) {
        on_ = on;
        setNeedsDisplay();
    }
}

void UISwitch::setOn(bool on, bool) {
    setOn(on);
}

void UISwitch::setOnTintColor(OptionalColor color) {
    if (onTintColor_ != color) {
        onTintColor_ = color;
        setNeedsDisplay();
    }
}

void UISwitch::setThumbTintColor(OptionalColor color) {
    if (thumbTintColor_ != color) {
        thumbTintColor_ = color;
        setNeedsDisplay();
    }
}

void UISwitch::userToggled(bool on) {
    if (!isEnabled() || !isUserInteractionEnabled() || on_ == on) {
        return;
    }
    setOn(on);
    sendActionsForControlEvents(UIControlEventValueChanged);
}
