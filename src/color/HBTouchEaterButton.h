#pragma once

#include "platform/ui/UIButton.h"

// An invisible system button laid over a picker's field or slider to catch its touches. It
// draws nothing, but counts as a view that draws itself, so that a host carries the finger's
// whole drag to it (touch down, drags, release) rather than only taps.
class HBTouchEaterButton : public UIButton {
  public:
    explicit HBTouchEaterButton(CGRect frame) : UIButton(frame, UIButtonTypeSystem) {}
    std::string className() const override { return "HBTouchEaterButton"; }
    bool drawsItself() const override { return true; }
};
