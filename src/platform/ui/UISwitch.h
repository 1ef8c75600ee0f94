#pragma once

#include "platform/ui/UIControl.h"

// An on/off control of the platform's fixed size. setOn from code sends nothing;
// userToggled sends ValueChanged when the state changes.
class UISwitch : public UIControl {
  public:
    static constexpr double width = 51;
    static constexpr double height = 31;

    // Keeps the origin; the size is always the switch's own.
    explicit UISwitch(CGRect frame = CGRectZero);
    std::string className() const override { return "UISwitch"; }
    void setFrame(CGRect frame) override;

    bool isOn() const { return on_; }
    void setOn(bool on);
    void setOn(bool on, bool animated);
    const OptionalColor& onTintColor() const { return onTintColor_; }
    void setOnTintColor(OptionalColor color);
    const OptionalColor& thumbTintColor() const { return thumbTintColor_; }
    void setThumbTintColor(OptionalColor color);

    // The user flipped the switch to a state. Ignored when disabled.
    void userToggled(bool on);
    // The user tapped it: flips it.
    void userToggled() { userToggled(!on_); }

  private:
    bool on_ = false;
    OptionalColor onTintColor_;
    OptionalColor thumbTintColor_;
};

using UISwitchPtr = std::shared_ptr<UISwitch>;
