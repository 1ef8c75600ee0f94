#pragma once

#include "platform/ui/UIGeometry.h"

class UIView;

enum UITouchPhase : long {
    UITouchPhaseBegan = 0,
    UITouchPhaseMoved = 1,
    UITouchPhaseStationary = 2,
    UITouchPhaseEnded = 3,
    UITouchPhaseCancelled = 4,
};

// One finger of an event. It keeps its place in window coordinates, so its location can be
// asked in any view's coordinates; the view it belongs to is kept for identity only.
class UITouch {
  public:
    UITouch(const UIView* view, CGPoint locationInWindow, UITouchPhase phase, long tapCount = 1)
        : view_(view), locationInWindow_(locationInWindow), phase_(phase), tapCount_(tapCount) {}

    const UIView* view() const { return view_; }
    UITouchPhase phase() const { return phase_; }
    long tapCount() const { return tapCount_; }
    // The location in the view's coordinates; null means window coordinates.
    CGPoint locationInView(const UIView* view) const;

  private:
    const UIView* view_;
    CGPoint locationInWindow_;
    UITouchPhase phase_;
    long tapCount_;
};
