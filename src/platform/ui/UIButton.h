#pragma once

#include <map>
#include <string>

#include "platform/ui/UIControl.h"
#include "platform/ui/UILabel.h"

enum UIButtonType : long {
    UIButtonTypeCustom = 0,
    UIButtonTypeSystem = 1,
    UIButtonTypeDetailDisclosure = 2,
    UIButtonTypeInfoLight = 3,
    UIButtonTypeInfoDark = 4,
    UIButtonTypeContactAdd = 5,
    UIButtonTypeRoundedRect = UIButtonTypeSystem,
};

class UIButton;
using UIButtonPtr = std::shared_ptr<UIButton>;

// A tappable control with a title per state. The title label is a subview filling the bounds;
// it shows the title and title colour of the current state (normal when none is set for it).
class UIButton : public UIControl {
  public:
    static UIButtonPtr buttonWithType(UIButtonType type);
    explicit UIButton(CGRect frame = CGRectZero, UIButtonType type = UIButtonTypeCustom);
    std::string className() const override { return "UIButton"; }

    UIButtonType buttonType() const { return buttonType_; }

    void setTitle(std::string title, unsigned state);
    std::string titleForState(unsigned state) const;
    void setTitleColor(OptionalColor color, unsigned state);
    OptionalColor titleColorForState(unsigned state) const;
    std::string currentTitle() const { return titleForState(state()); }
    UIColor currentTitleColor() const;
    UILabel* titleLabel() const { return titleLabel_.get(); }

    CGSize sizeThatFits(CGSize size) const;
    void sizeToFit();
    void layoutSubviews() override;
    void setFrame(CGRect frame) override;

  protected:
    void controlStateChanged() override;

  private:
    void showCurrentTitle();

    UIButtonType buttonType_;
    std::map<unsigned, std::string> titles_;
    std::map<unsigned, UIColor> titleColors_;
    std::shared_ptr<UILabel> titleLabel_;
};
