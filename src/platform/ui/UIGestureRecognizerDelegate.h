#pragma once

class UIGestureRecognizer;

// Lets an object veto a gesture before it begins; not owned by the recogniser.
class UIGestureRecognizerDelegate {
  public:
    virtual ~UIGestureRecognizerDelegate() = default;
    virtual bool gestureRecognizerShouldBegin(UIGestureRecognizer*) { return true; }
};
