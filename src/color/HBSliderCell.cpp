#include "color/HBSliderCell.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>

#include "kit/HBPalette.h"
#include "kit/HBValuePrompt.h"
#include "platform/foundation/NSString.h"
#include "platform/prefs/PSClasses.h"
#include "store/HBPreferenceBinding.h"
#include "store/HBUndoHistory.h"

namespace {

const bool kHBSliderCellRegistered = PSCellClasses::registerClass(
    "HBSliderCell", [](long style, const std::string& reuseIdentifier, PSSpecifierPtr specifier) {
        return std::make_shared<HBSliderCell>(static_cast<UITableViewCellStyle>(style),
                                              reuseIdentifier, std::move(specifier));
    });

std::optional<std::string> stringProperty(const PSSpecifier& specifier, std::string_view key) {
    const std::string* text = specifier.propertyForKey(key).stringValue();
    return text ? std::optional<std::string>(*text) : std::nullopt;
}

float floatProperty(const PSSpecifier& specifier, std::string_view key, float fallback) {
    PlistValue value = specifier.propertyForKey(key);
    return value.isNumber() ? static_cast<float>(value.doubleValue()) : fallback;
}

// The value to two decimals, halves away from zero, in the slider's own precision.
float hundredths(float value) {
    return std::round(value * 100.0f) / 100.0f;
}

// Truncated toward zero and kept within what a stored integer can hold.
long long wholeNumber(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    constexpr double kLimit = 9.0e18;
    return static_cast<long long>(std::clamp(std::trunc(value), -kLimit, kLimit));
}

}  // namespace

HBSliderCell::HBSliderCell(UITableViewCellStyle, std::string reuseIdentifier,
                           PSSpecifierPtr specifier)
    : PSTableCell(UITableViewCellStyleDefault, std::move(reuseIdentifier), specifier) {
    _formatter.setNumberStyle(NSNumberFormatterDecimalStyle);
    _formatter.setMaximumFractionDigits(0);
    // Without a row the cell still has its controls: it shows 0 and stores nothing.
    static const PSSpecifier kNoRow("", nullptr, PSSliderCell);
    const PSSpecifier& row = specifier ? *specifier : kNoRow;
    _specifierObject = stringProperty(row, "key").value_or("");
    _defaults = stringProperty(row, "defaults");
    _PostNotification = stringProperty(row, "PostNotification");
    _unit = stringProperty(row, "type");

    double width = frame().size.width;
    buildTitle(width, row);
    buildValueField(width, _unit);
    applyAppearance();
    buildSlider(width, row);
    buildButton(width);
    contentView()->addSubview(_title);
    contentView()->addSubview(_value);
    contentView()->addSubview(_slider);
    contentView()->addSubview(_button);

    loadStoredValue(row);
    _value->setText(_formatter.stringFromNumber(hundredths(_slider->value())));
}

void HBSliderCell::refreshCellContentsWithSpecifier(const PSSpecifierPtr& specifier) {
    PSTableCell::refreshCellContentsWithSpecifier(specifier);
    // The name shows in the cell's own title above the slider, not in the standard label.
    textLabel()->setText("");
    // A reload shows what is stored now (another program may have written it), except
    // while the user holds the slider.
    if (specifier && !_slider->isTracking()) {
        loadStoredValue(*specifier);
        _value->setText(_formatter.stringFromNumber(hundredths(_slider->value())));
    }
}

void HBSliderCell::applyAppearance() {
    HBPalette palette = HBPalette::of(traitCollection());
    setBackgroundColor(palette.background);
    _title->setTextColor(palette.text);
    // The number and its unit in the accent colour, readable on either background.
    UIColor number = palette.accent;
    _value->setTextColor(number);
    if (auto* unit = dynamic_cast<UILabel*>(_value->rightView().get())) {
        unit->setTextColor(number);
    }
}

void HBSliderCell::traitCollectionDidChange(const UITraitCollection& previous) {
    PSTableCell::traitCollectionDidChange(previous);
    applyAppearance();
}

void HBSliderCell::buildTitle(double width, const PSSpecifier& specifier) {
    _title = std::make_shared<UILabel>(CGRectMake(15, 10, width - 120, 20));
    _title->setNumberOfLines(1);
    _title->setAdjustsFontSizeToFitWidth(true);
    _title->setText(stringProperty(specifier, "name").value_or(specifier.name()));
    _title->setBackgroundColor(UIColor::clearColor());
    _title->setTextAlignment(NSTextAlignmentLeft);
}

void HBSliderCell::buildButton(double width) {
    _button = UIButton::buttonWithType(UIButtonTypeSystem);
    _button->setFrame(CGRectMake(width - 75, 3, 60, 30));
    _button->setTitle("", UIControlStateNormal);
    _button->layer().cornerRadius = 5;
    _button->setBackgroundColor(UIColor::colorWithWhite(0, 0.04));
    _button->setAutoresizingMask(UIViewAutoresizingFlexibleLeftMargin |
                                 UIViewAutoresizingFlexibleRightMargin);
    // The button is this cell's own subview, so it never outlives the cell it calls.
    _button->addTarget([this](UIControl*, const UIEvent&) { askUserForInput(); },
                       UIControlEventTouchUpInside);
}

void HBSliderCell::buildValueField(double width, const std::optional<std::string>& unit) {
    _value = std::make_shared<UITextField>(CGRectMake(width - 75, 3, 60, 30));
    _value->setText("0");
    _value->setBackgroundColor(UIColor::clearColor());
    _value->setTextAlignment(NSTextAlignmentRight);
    _value->setEnabled(false);
    _value->setAutoresizingMask(UIViewAutoresizingFlexibleLeftMargin |
                                UIViewAutoresizingFlexibleRightMargin);
    if (!unit) {
        return;
    }
    auto unitLabel = std::make_shared<UILabel>();
    unitLabel->setFont(UIFont::systemFontOfSize(15));
    unitLabel->setText(*unit);
    unitLabel->sizeToFit();
    _value->setRightView(unitLabel);
    _value->setRightViewMode(UITextFieldViewModeAlways);
    _value->setReturnKeyType(UIReturnKeyDone);
}

void HBSliderCell::buildSlider(double width, const PSSpecifier& specifier) {
    _slider = std::make_shared<UISlider>(CGRectMake(15, 28, width - 30, 40));
    _slider->setAutoresizingMask(UIViewAutoresizingFlexibleLeftMargin |
                                 UIViewAutoresizingFlexibleWidth |
                                 UIViewAutoresizingFlexibleRightMargin);
    _slider->setMinimumValue(floatProperty(specifier, "min", _slider->minimumValue()));
    _slider->setMaximumValue(floatProperty(specifier, "max", _slider->maximumValue()));
    // The slider may have raised its maximum to a higher minimum: the prompt names its bounds.
    _min = _slider->minimumValue();
    _max = _slider->maximumValue();
    _slider->setContinuous(true);
    _slider->addTarget(
        [this](UIControl*, const UIEvent&) { sliderValueChangedAction(_slider.get()); },
        UIControlEventValueChanged);
    _slider->addTarget(
        [this](UIControl*, const UIEvent&) { sliderTouchUpInsideOutsideAction(_slider.get()); },
        UIControlEventTouchUpInside | UIControlEventTouchUpOutside);
    _slider->setValue(floatProperty(specifier, "default", 0));
}

// A stored value that is not a number shows the row's "default"; one outside the bounds
// shows clamped and stays as stored until the user releases the slider.
void HBSliderCell::loadStoredValue(const PSSpecifier& specifier) {
    if (!_defaults) {
        return;
    }
    HBPreferenceBinding binding(_specifierObject);
    _slider->setValue(static_cast<float>(
        binding.store().floatForKey(_specifierObject, floatProperty(specifier, "default", 0))));
}

long long HBSliderCell::sliderInteger() const {
    return wholeNumber(hundredths(_slider->value()));
}

void HBSliderCell::showInteger(long long number) {
    _value->setText(_formatter.stringFromNumber(static_cast<double>(number)));
}

void HBSliderCell::sliderValueChangedAction(UISlider*) {
    long long number = sliderInteger();
    showInteger(number);
    tellObserver(number, Moment::Moving);
}

void HBSliderCell::sliderTouchUpInsideOutsideAction(UISlider*) {
    long long number = sliderInteger();
    showInteger(number);
    // A row without a key names no setting to store.
    if (_defaults && !_specifierObject.empty()) {
        HBUndoHistory::Scope step(specifier() ? specifier()->name() : std::string());
        HBPreferenceBinding(_specifierObject).write(PlistValue::integer(number));
    }
    tellObserver(number, Moment::Released);
}

void HBSliderCell::tellObserver(long long number, Moment moment) const {
    if (_valueObserver && !_specifierObject.empty()) {
        _valueObserver(_specifierObject, number, moment);
    }
}

void HBSliderCell::askUserForInput() {
    std::string unit = _unit.value_or("");
    std::weak_ptr<UIView> weakCell = weak_from_this();
    HBValuePrompt prompt{
        fmt::format("Please enter a value between\n{}{} and {}{}", wholeNumber(_min), unit,
                    wholeNumber(_max), unit),
        "200", UIKeyboardTypeNumberPad,
        [weakCell](const std::string& text) {
            if (auto cell = std::static_pointer_cast<HBSliderCell>(weakCell.lock())) {
                cell->applyTypedValue(text);
            }
        },
        HBPalette::current().accent};
    prompt.present();
}

void HBSliderCell::applyTypedValue(const std::string& text) {
    _slider->setValue(NSString::floatValue(text));
    sliderValueChangedAction(_slider.get());
    sliderTouchUpInsideOutsideAction(_slider.get());
}

void HBSliderCell::enableControls(bool enabled) {
    _title->setEnabled(enabled);
    _value->setEnabled(enabled);
    _value->setAlpha(enabled ? 1.0 : 0.5);
    _slider->setEnabled(enabled);
}
