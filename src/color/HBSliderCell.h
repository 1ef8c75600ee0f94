#pragma once

#include <functional>
#include <optional>
#include <string>

#include "kit/HBLiveValueCell.h"
#include "platform/foundation/NSNumberFormatter.h"
#include "platform/prefs/PSTableCell.h"
#include "platform/ui/UIButton.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UISlider.h"
#include "platform/ui/UITextField.h"

// The row that edits one numeric setting, named "HBSliderCell" as a row's "cellClass": the
// setting's name, its value as a whole number with the row's unit ("type"), and a slider over
// the row's "min" .. "max". A tap on the number asks for a value. The value is read once, at
// creation, and stored as a whole number when the user lets go of the slider or confirms a
// typed value; rows without "defaults" only show their "default".
class HBSliderCell : public PSTableCell, public HBLiveValueCell {
  public:
    HBSliderCell(UITableViewCellStyle style, std::string reuseIdentifier, PSSpecifierPtr specifier);
    std::string className() const override { return "HBSliderCell"; }

    void refreshCellContentsWithSpecifier(const PSSpecifierPtr& specifier) override;

    void sliderValueChangedAction(UISlider* slider);
    void sliderTouchUpInsideOutsideAction(UISlider* slider);
    void askUserForInput();
    // Switches the row on or off; the number stays tappable, so a value can still be typed.
    void enableControls(bool enabled) override;

    void setValueObserver(ValueObserver observer) override { _valueObserver = std::move(observer); }
    // The settings key of the row ("key"); empty without one.
    const std::string& settingKey() const { return _specifierObject; }

    UILabel* titleLabel() const { return _title.get(); }
    UITextField* valueField() const { return _value.get(); }
    UISlider* slider() const { return _slider.get(); }
    UIButton* inputButton() const { return _button.get(); }

    // Recolours the title and the background for the new appearance.
    void traitCollectionDidChange(const UITraitCollection& previous) override;

  private:
    void applyAppearance();
    void buildTitle(double width, const PSSpecifier& specifier);
    void buildButton(double width);
    void buildValueField(double width, const std::optional<std::string>& unit);
    void buildSlider(double width, const PSSpecifier& specifier);
    void loadStoredValue(const PSSpecifier& specifier);
    void showInteger(long long number);
    long long sliderInteger() const;
    void applyTypedValue(const std::string& text);
    void tellObserver(long long number, Moment moment) const;

    UILabelPtr _title;
    UITextFieldPtr _value;
    UISliderPtr _slider;
    UIButtonPtr _button;
    float _min = 0;
    float _max = 0;
    NSNumberFormatter _formatter;
    std::string _specifierObject;
    std::optional<std::string> _defaults;
    std::optional<std::string> _PostNotification;
    std::optional<std::string> _unit;
    ValueObserver _valueObserver;
};
