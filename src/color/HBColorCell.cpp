#include "color/HBColorCell.h"

#include <algorithm>
#include <cmath>

#include <fmt/format.h>

#include "color/HBColorPickerView_B.h"
#include "color/HBColorPickerView_H.h"
#include "color/HBColorPickerView_S.h"
#include "kit/HBPalette.h"
#include "kit/HBValuePrompt.h"
#include "model/HBColorValues.h"
#include "platform/foundation/NSString.h"
#include "platform/prefs/PSClasses.h"
#include "store/HBPreferenceBinding.h"
#include "store/HBUndoHistory.h"

namespace {

const bool kHBColorCellRegistered = PSCellClasses::registerClass(
    "HBColorCell", [](long style, const std::string& reuseIdentifier, PSSpecifierPtr specifier) {
        return std::make_shared<HBColorCell>(static_cast<UITableViewCellStyle>(style),
                                             reuseIdentifier, std::move(specifier));
    });

constexpr unsigned kFlexibleHorizontally = UIViewAutoresizingFlexibleLeftMargin |
                                           UIViewAutoresizingFlexibleWidth |
                                           UIViewAutoresizingFlexibleRightMargin;
constexpr unsigned kFlexibleMargins =
    UIViewAutoresizingFlexibleLeftMargin | UIViewAutoresizingFlexibleRightMargin;
constexpr const char* kWhiteText = "#FFFFFF";

std::optional<std::string> stringProperty(const PSSpecifier& specifier, const char* key) {
    const std::string* text = specifier.propertyForKey(key).stringValue();
    return text ? std::optional<std::string>(*text) : std::nullopt;
}

// The sliders' bounds stay within the channel range, so the colour text always has six digits.
float channelBound(const PSSpecifier& specifier, const char* key, float fallback) {
    PlistValue bound = specifier.propertyForKey(key);
    double value = bound.isNumber() ? bound.doubleValue() : fallback;
    return std::isnan(value) ? fallback : static_cast<float>(std::clamp(value, 0.0, 255.0));
}

UILabelPtr makeLabel(CGRect frame, const UIColor& color, NSTextAlignment alignment,
                     unsigned autoresizing) {
    auto label = std::make_shared<UILabel>(frame);
    label->setNumberOfLines(1);
    label->setAdjustsFontSizeToFitWidth(true);
    label->setBackgroundColor(UIColor::clearColor());
    label->setTextColor(color);
    label->setTextAlignment(alignment);
    label->setAutoresizingMask(autoresizing);
    return label;
}

UIColor previewColor(HBChannels channels, float opacity) {
    return UIColor::colorWithRed(channels.red / 255.0, channels.green / 255.0,
                                 channels.blue / 255.0, opacity);
}

UIColor opaqueColor(HBChannels channels) {
    return previewColor(channels, 1.0f);
}

HBColorPickerViewPtr makePicker(int type, CGRect frame, const UIColor& color, HBColorBlock changed,
                                HBColorBlock finished) {
    switch (type) {
        case 2:
            return std::make_shared<HBColorPickerView_B>(frame, color, std::move(changed),
                                                         std::move(finished));
        case 1:
            return std::make_shared<HBColorPickerView_S>(frame, color, std::move(changed),
                                                         std::move(finished));
        default:
            return std::make_shared<HBColorPickerView_H>(frame, color, std::move(changed),
                                                         std::move(finished));
    }
}

}  // namespace

HBColorCell::HBColorCell(UITableViewCellStyle, std::string reuseIdentifier,
                         PSSpecifierPtr specifier)
    : PSTableCell(UITableViewCellStyleDefault, std::move(reuseIdentifier), specifier) {
    double width = frame().size.width;
    setSelectionStyle(UITableViewCellSelectionStyleNone);
    chooseAppearance();
    if (specifier) {
        readRow(*specifier);
    }
    _formatter.setNumberStyle(NSNumberFormatterDecimalStyle);
    _formatter.setMaximumFractionDigits(0);
    buildHexField(width);
    buildPreviews(width);
    buildChannel({_titleR, _valueR, _buttonR, _sliderR, "Red", &HBColorCell::askUserForInputR},
                 width, 490);
    buildChannel({_titleG, _valueG, _buttonG, _sliderG, "Green", &HBColorCell::askUserForInputG},
                 width, 558);
    buildChannel({_titleB, _valueB, _buttonB, _sliderB, "Blue", &HBColorCell::askUserForInputB},
                 width, 626);
    showColorText(loadColorText());
    buildPicker(width);
    addSubviewsInOrder();
    lockIfNotEditable();
}

HBColorCell::~HBColorCell() = default;

void HBColorCell::refreshCellContentsWithSpecifier(const PSSpecifierPtr& specifier) {
    PSTableCell::refreshCellContentsWithSpecifier(specifier);
    bool held = _sliderR->isTracking() || _sliderG->isTracking() || _sliderB->isTracking();
    if (_defaults && !held) {
        showColorText(loadColorText());
        _colorPickerView->setAColor(opaqueColor(sliderChannels()));
    }
}

void HBColorCell::chooseAppearance() {
    HBPalette palette = HBPalette::of(traitCollection());
    _primaryColor = palette.text;
    _accentColor = palette.accent;
    _buttonShade = palette.buttonShade;
    setBackgroundColor(palette.background);
}

void HBColorCell::applyAppearance() {
    for (const UILabelPtr* label : {&_titleR, &_titleG, &_titleB}) {
        (*label)->setTextColor(_primaryColor);
    }
    for (const UILabelPtr* label : {&_hexColorField, &_valueR, &_valueG, &_valueB}) {
        (*label)->setTextColor(_accentColor);
    }
    for (const UIButtonPtr* button : {&_hexButton, &_buttonR, &_buttonG, &_buttonB}) {
        (*button)->setTitleColor(_accentColor, UIControlStateNormal);
        (*button)->setBackgroundColor(_buttonShade);
    }
}

void HBColorCell::traitCollectionDidChange(const UITraitCollection& previous) {
    PSTableCell::traitCollectionDidChange(previous);
    chooseAppearance();
    applyAppearance();
}

void HBColorCell::readRow(const PSSpecifier& specifier) {
    _specifierObject = stringProperty(specifier, "key").value_or("");
    _defaults = stringProperty(specifier, "defaults");
    _postNotification = stringProperty(specifier, "PostNotification");
    _typeText = stringProperty(specifier, "type");
    _min = channelBound(specifier, "min", 0);
    _max = channelBound(specifier, "max", 255);
    _target = HBColorTarget(_specifierObject);
}

void HBColorCell::buildHexField(double width) {
    UILabel probe;
    probe.setText("#CCCCCCC");
    probe.sizeToFit();
    CGSize size = probe.frame().size;
    CGRect frame = CGRectMake(width / 2 - size.width / 2, 10, size.width, size.height);
    _hexColorField = makeLabel(frame, _accentColor, NSTextAlignmentCenter, kFlexibleHorizontally);
    _hexButton = makeButton(frame, kFlexibleHorizontally, &HBColorCell::askUserForInputHex);
}

void HBColorCell::buildPreviews(double width) {
    float columnWidth = static_cast<float>(std::round(width - 34)) / 3.0f;
    const std::pair<UILabelPtr*, const char*> previews[] = {{&_mailBoxColorField, "MailBox"},
                                                            {&_listColorField, "List"},
                                                            {&_messageColorField, "Message"}};
    double left = 15;
    for (const auto& [field, text] : previews) {
        *field = makeLabel(CGRectMake(left, 41, columnWidth, 38), _primaryColor,
                           NSTextAlignmentCenter, kFlexibleHorizontally);
        (*field)->setText(text);
        (*field)->layer().borderColor = UIColor::blackColor();
        (*field)->layer().borderWidth = 1;
        (*field)->layer().cornerRadius = 5;
        (*field)->setClipsToBounds(true);
        left += columnWidth + 2;
    }
}

// The sliders are this cell's own subviews, so their actions never outlive the cell.
void HBColorCell::buildChannel(const Channel& channel, double width, double top) {
    channel.title = makeLabel(CGRectMake(15, top, width - 120, 20), _primaryColor,
                              NSTextAlignmentLeft, UIViewAutoresizingNone);
    channel.title->setText(channel.name);
    CGRect valueFrame = CGRectMake(width - 75, top - 7, 60, 30);
    channel.value = makeLabel(valueFrame, _accentColor, NSTextAlignmentRight, kFlexibleMargins);
    channel.value->setText("0");
    channel.button = makeButton(valueFrame, kFlexibleMargins, channel.ask);

    channel.slider = std::make_shared<UISlider>(CGRectMake(15, top + 18, width - 30, 40));
    channel.slider->setMinimumValue(_min);
    channel.slider->setMaximumValue(_max);
    channel.slider->setContinuous(true);
    channel.slider->setAutoresizingMask(kFlexibleHorizontally);
    channel.slider->addTarget(
        [this](UIControl* sender, const UIEvent&) {
            sliderValueChangedAction(static_cast<UISlider*>(sender));
        },
        UIControlEventValueChanged);
    channel.slider->addTarget(
        [this](UIControl* sender, const UIEvent&) {
            sliderTouchUpInsideOutsideAction(static_cast<UISlider*>(sender));
        },
        UIControlEventTouchUpInside | UIControlEventTouchUpOutside);
}

UIButtonPtr HBColorCell::makeButton(CGRect frame, unsigned autoresizing,
                                    void (HBColorCell::*action)()) {
    UIButtonPtr button = UIButton::buttonWithType(UIButtonTypeSystem);
    button->setFrame(frame);
    button->setTitle("", UIControlStateNormal);
    button->setTitleColor(_accentColor, UIControlStateNormal);
    button->setBackgroundColor(_buttonShade);
    button->layer().cornerRadius = 5;
    button->setAutoresizingMask(autoresizing);
    button->addTarget([this, action](UIControl*, const UIEvent&) { (this->*action)(); },
                      UIControlEventTouchUpInside);
    return button;
}

// Without "defaults" the cell is an editor of the row's "default" that never loads or saves.
std::string HBColorCell::loadColorText() {
    std::optional<std::string> fallback =
        specifier() ? stringProperty(*specifier(), "default") : std::nullopt;
    std::string text = fallback.value_or(kWhiteText);
    if (!_defaults) {
        return text;
    }
    const HBPreferences& store = binding().store();
    if (std::optional<std::string> stored = _target.storedText(store)) {
        text = *stored;
    }
    HBPreviewOpacities opacities = _target.previewOpacities(store);
    _mailBoxAlphaLevel = opacities.mailBox;
    _listAlphaLevel = opacities.list;
    _messageAlphaLevel = opacities.message;
    _colorPickerType = static_cast<int>(store.integerForKey("colorPickerType"));
    _editable = _target.isWritable(store);
    return text;
}

void HBColorCell::showColorText(const std::string& text) {
    HBChannels channels = HBColorValues::channelsFromStoredText(text);
    _hexColorField->setText(HBColorValues::displayStringForStoredText(text));
    showSliders(channels);
    paintPreviewBackgrounds(channels);
    paintPreviewTexts(channels);
}

// The picker is this cell's own subview, so its blocks never outlive the cell.
void HBColorCell::buildPicker(double width) {
    HBChannels channels = sliderChannels();
    _colorPickerView = makePicker(
        _colorPickerType, CGRectMake(0, 90, width, 380), opaqueColor(channels),
        [this](const UIColor& color) { pickerChanged(color); }, [this](const UIColor&) { save(); });
    _colorPickerView->setAutoresizingMask(kFlexibleHorizontally);
}

void HBColorCell::addSubviewsInOrder() {
    const UIViewPtr views[] = {_hexButton,
                               _hexColorField,
                               _mailBoxColorField,
                               _listColorField,
                               _messageColorField,
                               _titleR,
                               _titleG,
                               _titleB,
                               _buttonR,
                               _buttonG,
                               _buttonB,
                               _sliderR,
                               _sliderG,
                               _sliderB,
                               _valueR,
                               _valueG,
                               _valueB,
                               _colorPickerView};
    for (const UIViewPtr& view : views) {
        contentView()->addSubview(view);
    }
}

// A colour that has no safe place to go is shown, but nothing offers to change it.
void HBColorCell::lockIfNotEditable() {
    if (_editable) {
        return;
    }
    const UIControlPtr controls[] = {_hexButton, _buttonR, _buttonG, _buttonB,
                                     _sliderR,   _sliderG, _sliderB};
    for (const UIControlPtr& control : controls) {
        control->setEnabled(false);
    }
    _colorPickerView->setUserInteractionEnabled(false);
}

void HBColorCell::showSliders(HBChannels channels) {
    _sliderR->setValue(static_cast<float>(channels.red));
    _sliderG->setValue(static_cast<float>(channels.green));
    _sliderB->setValue(static_cast<float>(channels.blue));
    _valueR->setText(fmt::format("{}", channels.red));
    _valueG->setText(fmt::format("{}", channels.green));
    _valueB->setText(fmt::format("{}", channels.blue));
}

// A slider's channel is its value truncated; the number shown and the colour stored agree.
HBChannels HBColorCell::sliderChannels() const {
    return {static_cast<int>(_sliderR->value()), static_cast<int>(_sliderG->value()),
            static_cast<int>(_sliderB->value())};
}

UILabel* HBColorCell::valueLabelFor(const UISlider* slider) const {
    if (slider == _sliderG.get()) {
        return _valueG.get();
    }
    return slider == _sliderB.get() ? _valueB.get() : _valueR.get();
}

void HBColorCell::showValue(UISlider* slider) {
    valueLabelFor(slider)->setText(
        _formatter.stringFromNumber(static_cast<double>(static_cast<int>(slider->value()))));
}

void HBColorCell::paintPreviewBackgrounds(HBChannels channels) {
    _mailBoxColorField->setBackgroundColor(previewColor(channels, _mailBoxAlphaLevel));
    _listColorField->setBackgroundColor(previewColor(channels, _listAlphaLevel));
    _messageColorField->setBackgroundColor(previewColor(channels, _messageAlphaLevel));
}

void HBColorCell::paintPreviewTexts(HBChannels channels) {
    const std::pair<UILabel*, float> previews[] = {{_mailBoxColorField.get(), _mailBoxAlphaLevel},
                                                   {_listColorField.get(), _listAlphaLevel},
                                                   {_messageColorField.get(), _messageAlphaLevel}};
    for (const auto& [field, opacity] : previews) {
        bool white = useWhiteFont(channels.red, channels.green, channels.blue, opacity);
        field->setTextColor(white ? UIColor::whiteColor() : UIColor::blackColor());
    }
}

void HBColorCell::setColors(bool tellPicker) {
    HBChannels channels = sliderChannels();
    paintPreviewBackgrounds(channels);
    _hexColorField->setText(HBColorValues::hexStringWithChannels(channels));
    if (tellPicker) {
        _colorPickerView->setAColor(opaqueColor(channels));
    }
    paintPreviewTexts(channels);
}

void HBColorCell::sliderValueChangedAction(UISlider* slider) {
    showValue(slider);
    setColors(true);
}

void HBColorCell::sliderTouchUpInsideOutsideAction(UISlider*) {
    HBChannels channels = sliderChannels();
    paintPreviewBackgrounds(channels);
    _hexColorField->setText(HBColorValues::hexStringWithChannels(channels));
    save();
}

HBPreferenceBinding HBColorCell::binding() const {
    return HBPreferenceBinding(_specifierObject, _postNotification,
                               _defaults.value_or(HBPreferences::kIdentifier));
}

void HBColorCell::save() {
    if (!_defaults || !_editable) {
        return;
    }
    HBUndoHistory::Scope step(specifier() ? specifier()->name() : std::string());
    _target.save(binding(), _hexColorField->text());
}

void HBColorCell::pickerChanged(const UIColor& color) {
    _sliderR->setValue(static_cast<float>(HBColorValues::channelFromComponent(color.red())));
    _sliderG->setValue(static_cast<float>(HBColorValues::channelFromComponent(color.green())));
    _sliderB->setValue(static_cast<float>(HBColorValues::channelFromComponent(color.blue())));
    for (UISlider* slider : {_sliderR.get(), _sliderG.get(), _sliderB.get()}) {
        showValue(slider);
    }
    setColors(false);
}

bool HBColorCell::useWhiteFont(int red, int green, int blue, float opacity) const {
    return HBColorValues::useWhiteFont(red, green, blue, opacity);
}

void HBColorCell::askUserForInputHex() {
    std::weak_ptr<UIView> weakCell = weak_from_this();
    HBValuePrompt prompt{
        fmt::format("Please enter a hex value between\n#000000 and #FFFFFF\nCurrent value is: {}",
                    _hexColorField->text()),
        "#FFFFFF", UIKeyboardTypeDefault, [weakCell](const std::string& text) {
            if (auto cell = std::static_pointer_cast<HBColorCell>(weakCell.lock())) {
                cell->applyTypedHex(text);
            }
        }};
    prompt.present();
}

void HBColorCell::applyTypedHex(const std::string& text) {
    showSliders(
        HBColorValues::channelsFromColorValue(HBColorValues::colorValueFromHexString(text)));
    setColors(true);
    sliderTouchUpInsideOutsideAction(_sliderB.get());
}

void HBColorCell::askUserForInputR() {
    askUserForChannel(&HBColorCell::_sliderR, "Red");
}

void HBColorCell::askUserForInputG() {
    askUserForChannel(&HBColorCell::_sliderG, "Green");
}

void HBColorCell::askUserForInputB() {
    askUserForChannel(&HBColorCell::_sliderB, "Blue");
}

void HBColorCell::askUserForChannel(UISliderPtr HBColorCell::*slider, const char* name) {
    std::string type = _typeText.value_or("");
    std::weak_ptr<UIView> weakCell = weak_from_this();
    HBValuePrompt prompt{
        fmt::format("Please enter a value for {} between\n{}{} and {}{}", name,
                    static_cast<int>(_min), type, static_cast<int>(_max), type),
        "200", UIKeyboardTypeNumberPad, [weakCell, slider](const std::string& text) {
            if (auto cell = std::static_pointer_cast<HBColorCell>(weakCell.lock())) {
                cell->applyTypedChannel((cell.get()->*slider).get(), text);
            }
        }};
    prompt.present();
}

// The slider keeps the typed value within its bounds; text that is not a number counts as 0.
void HBColorCell::applyTypedChannel(UISlider* slider, const std::string& text) {
    slider->setValue(NSString::floatValue(text));
    sliderValueChangedAction(slider);
    sliderTouchUpInsideOutsideAction(slider);
}
