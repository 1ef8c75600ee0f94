#pragma once

#include <string>

#include "platform/ui/UIControl.h"

// A control that draws itself, as a colour picker does.
class DrawnTestControl : public UIControl {
  public:
    using UIControl::UIControl;
    std::string className() const override { return "DrawnTestControl"; }
    bool drawsItself() const override { return true; }
    void drawRect(CGRect) override {}
};
