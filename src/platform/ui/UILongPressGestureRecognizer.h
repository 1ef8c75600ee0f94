#pragma once

#include "platform/ui/UIGestureRecognizer.h"

// A finger held still on the view for at least the minimum duration.
class UILongPressGestureRecognizer : public UIGestureRecognizer {
  public:
    explicit UILongPressGestureRecognizer(UIGestureRecognizerAction action = {})
        : UIGestureRecognizer(std::move(action)) {}

    double minimumPressDuration() const { return minimumPressDuration_; }
    void setMinimumPressDuration(double seconds) { minimumPressDuration_ = seconds; }
    double allowableMovement() const { return allowableMovement_; }
    void setAllowableMovement(double points) { allowableMovement_ = points; }

    // The user held a finger at a point (in the view's coordinates) for the minimum duration
    // and lifted it: Began, then Ended, each calling the actions. False when the gesture
    // could not begin (disabled, not on a view, vetoed by the delegate, or outside the view).
    bool userLongPressed(CGPoint point);
    // The same for a press of a given length; one shorter than the minimum fails silently.
    bool userLongPressed(CGPoint point, double seconds);

  private:
    double minimumPressDuration_ = 0.5;
    double allowableMovement_ = 10;
};

using UILongPressGestureRecognizerPtr = std::shared_ptr<UILongPressGestureRecognizer>;
