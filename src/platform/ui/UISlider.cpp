#include "platform/ui/UISlider.h"

#include <algorithm>
#include <cmath>

float UISlider::clamped(float value) const {
    if (std::isnan(value)) {
        return minimumValue_;
    }
    return std::clamp(value, minimumValue_, maximumValue_);
}

bool UISlider::changeValue(float value) {
    value = clamped(value);
    if (value == value_) {
        return false;
    }
    value_ = value;
    setNeedsDisplay();
    return true;
}

void UISlider::setValue(float value) {
    changeValue(value);
}

void UISlider::setValue(float value, bool) {
    changeValue(value);
}

// A new minimum above the maximum raises the maximum with it, and the value follows.
void UISlider::setMinimumValue(float value) {
    if (std::isnan(value) || value == minimumValue_) {
        return;
    }
    minimumValue_ = value;
    maximumValue_ = std::max(maximumValue_, value);
    value_ = clamped(value_);
    setNeedsDisplay();
}

void UISlider::setMaximumValue(float value) {
    if (std::isnan(value) || value == maximumValue_) {
        return;
    }
    maximumValue_ = value;
    minimumValue_ = std::min(minimumValue_, value);
    value_ = clamped(value_);
    setNeedsDisplay();
}

void UISlider::setMinimumTrackTintColor(OptionalColor color) {
    if (minimumTrackTintColor_ != color) {
        minimumTrackTintColor_ = color;
        setNeedsDisplay();
    }
}

void UISlider::setMaximumTrackTintColor(OptionalColor color) {
    if (maximumTrackTintColor_ != color) {
        maximumTrackTintColor_ = color;
        setNeedsDisplay();
    }
}

void UISlider::setThumbTintColor(OptionalColor color) {
    if (thumbTintColor_ != color) {
        thumbTintColor_ = color;
        setNeedsDisplay();
    }
}

bool UISlider::userBeganTracking() {
    auto keepAlive = retainWhileSending();
    if (!isEnabled() || !isUserInteractionEnabled()) {
        return false;
    }
    if (!dragging_) {
        dragging_ = true;
        changedWhileDragging_ = false;
        setHighlighted(true);
        sendActionsForControlEvents(UIControlEventTouchDown);
    }
    return true;
}

void UISlider::userChangedValue(float value) {
    auto keepAlive = retainWhileSending();
    if (!userBeganTracking() || !changeValue(value)) {
        return;
    }
    changedWhileDragging_ = true;
    if (continuous_) {
        sendActionsForControlEvents(UIControlEventValueChanged);
    }
}

void UISlider::userEndedTracking(TouchRelease release) {
    auto keepAlive = retainWhileSending();
    if (!dragging_) {
        return;
    }
    dragging_ = false;
    setHighlighted(false);
    if (!continuous_ && changedWhileDragging_) {
        sendActionsForControlEvents(UIControlEventValueChanged);
    }
    sendActionsForControlEvents(release == TouchRelease::Inside ? UIControlEventTouchUpInside
                                                                : UIControlEventTouchUpOutside);
}
