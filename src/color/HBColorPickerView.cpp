#include "color/HBColorPickerView.h"

#include <algorithm>
#include <cmath>

#include "color/HBTouchEaterButton.h"
#include "kit/HBPalette.h"
#include "kit/HBValuePrompt.h"
#include "platform/foundation/NSString.h"
#include "platform/ui/UIImage.h"

namespace {

constexpr unsigned kLabelMask =
    UIViewAutoresizingFlexibleLeftMargin | UIViewAutoresizingFlexibleWidth |
    UIViewAutoresizingFlexibleRightMargin | UIViewAutoresizingFlexibleTopMargin;
constexpr unsigned kGradientMask =
    UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleTopMargin;

// What a component's prompt asks and how its value is shown: hue in degrees, the others in
// percent.
struct ComponentText {
    double scale;
    const char* message;
    const char* placeholder;
};

ComponentText textOf(HBColorComponent component) {
    switch (component) {
        case HBColorComponent::Hue:
            return {360, "Please enter a Hue value between 0° and 360°\n current value is: %d°",
                    "120°"};
        case HBColorComponent::Saturation:
            return {100,
                    "Please enter a Saturation value between 0%% and 100%%\n current value is: "
                    "%d%%",
                    "75%"};
        case HBColorComponent::Brightness:
            break;
    }
    return {100, "Please enter a Brightness value between 0%% and 100%%\n current value is: %d%%",
            "75%"};
}

// The value shown for a component: scaled, then rounded with halves away from zero.
long shownValue(HBColorComponent component, double value) {
    return std::lround(value * textOf(component).scale);
}

// Fills a format of the pane's texts: "%d" takes the number, "%%" is "%".
std::string formatted(std::string_view format, long number) {
    std::string text;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size() && format[i + 1] == 'd') {
            text += std::to_string(number);
            ++i;
        } else if (format[i] == '%' && i + 1 < format.size() && format[i + 1] == '%') {
            text += '%';
            ++i;
        } else {
            text += format[i];
        }
    }
    return text;
}

double measuredLabelHeight() {
    UILabel probe;
    probe.setText("Brightness:");
    probe.sizeToFit();
    return probe.frame().size.height;
}

CGPoint midpoint(CGRect rect) {
    return CGPointMake(rect.origin.x + rect.size.width / 2, rect.origin.y + rect.size.height / 2);
}

bool levelWith(CGRect rect, double y) {
    return y >= rect.origin.y && y <= rect.origin.y + rect.size.height;
}

}  // namespace

HBColorPickerView::HBColorPickerView(CGRect frame, const UIColor& color,
                                     HBColorBlock colorsHaveChangedBlock,
                                     HBColorBlock saveChangesBlock,
                                     const HBColorPickerDescription& description,
                                     std::shared_ptr<HBGradientView> field,
                                     std::shared_ptr<HBGradientView> slider)
    : UIView(frame),
      _description(description),
      _colorsHaveChangedBlock(std::move(colorsHaveChangedBlock)),
      _saveChangesBlock(std::move(saveChangesBlock)),
      _aColor(color),
      _fieldView(std::move(field)),
      _sliderView(std::move(slider)) {
    choosePalette();
    _labelHeight = measuredLabelHeight();
    buildSubviews();
    setAColor(_aColor);
    addSubviewsInStackingOrder();
}

void HBColorPickerView::setColorsHaveChangedBlock(HBColorBlock block) {
    _colorsHaveChangedBlock = std::move(block);
}

void HBColorPickerView::setSaveChangesBlock(HBColorBlock block) {
    _saveChangesBlock = std::move(block);
}

UIButtonPtr HBColorPickerView::fieldTouchEater() const {
    return _fieldTouchEater;
}

UIButtonPtr HBColorPickerView::sliderTouchEater() const {
    return _sliderTouchEater;
}

// ---- Construction and layout ------------------------------------------------------------

CGRect HBColorPickerView::fieldFrame() const {
    CGSize size = frame().size;
    return CGRectMake(10, _labelHeight + 20, size.width - 20, size.height - 100 - _labelHeight);
}

CGRect HBColorPickerView::sliderFrame() const {
    CGRect field = fieldFrame();
    return CGRectMake(10, field.origin.y + field.size.height + 14 + _labelHeight,
                      frame().size.width - 20, 40);
}

void HBColorPickerView::choosePalette() {
    HBPalette palette = HBPalette::of(traitCollection());
    _labelColor = palette.accent;
    _buttonColor = palette.buttonShade;
}

void HBColorPickerView::applyPalette() {
    for (const UILabelPtr* label : {&_currentHueLabel, &_currentSaturationLabel,
                                    &_currentBrightnessLabel, &_centreStaticLabel}) {
        (*label)->setTextColor(_labelColor);
    }
    for (const UIButtonPtr* button : {&_topLeftButton, &_topRightButton, &_centreButton}) {
        (*button)->setBackgroundColor(_buttonColor);
    }
}

void HBColorPickerView::traitCollectionDidChange(const UITraitCollection& previous) {
    UIView::traitCollectionDidChange(previous);
    choosePalette();
    applyPalette();
}

UILabelPtr HBColorPickerView::makeLabel(CGRect frame, NSTextAlignment alignment) {
    auto label = std::make_shared<UILabel>(frame);
    label->setNumberOfLines(1);
    label->setAdjustsFontSizeToFitWidth(true);
    label->setBackgroundColor(UIColor::clearColor());
    label->setTextColor(_labelColor);
    label->setTextAlignment(alignment);
    label->setAutoresizingMask(kLabelMask);
    return label;
}

// The action finds its picker through the button's superview, so the button holds no
// reference to it and a button taken out of the picker does nothing.
UIButtonPtr HBColorPickerView::makeLabelButton(CGRect frame, HBColorComponent component) {
    auto button = std::make_shared<UIButton>(frame, UIButtonTypeSystem);
    button->setTitle("", UIControlStateNormal);
    button->layer().cornerRadius = 5;
    button->setBackgroundColor(_buttonColor);
    button->setAutoresizingMask(kLabelMask);
    button->addTarget(
        [component](UIControl* sender, const UIEvent&) {
            if (auto* picker = dynamic_cast<HBColorPickerView*>(sender->superview())) {
                picker->askUserFor(component);
            }
        },
        UIControlEventTouchUpInside);
    return button;
}

namespace {

std::shared_ptr<HBTouchEaterButton> makeTouchEater(CGRect frame) {
    return HBTouchEaterButton::forwardingTo<HBColorPickerView>(
        frame, &HBColorPickerView::touchesMovedButton, &HBColorPickerView::touchesEndedButton);
}

void lookLikeGradient(UIView& view, CGRect frame) {
    view.setFrame(frame);
    view.layer().borderWidth = 1;
    view.layer().borderColor = UIColor::blackColor();
    view.layer().cornerRadius = 6;
    view.setClipsToBounds(true);
    view.setAutoresizingMask(kGradientMask);
}

}  // namespace

void HBColorPickerView::buildSubviews() {
    double width = frame().size.width;
    double L = _labelHeight;
    CGRect field = fieldFrame();
    CGRect slider = sliderFrame();
    CGRect topLeft = CGRectMake(10, 10, width / 2 - 20, L);
    CGRect topRight = CGRectMake(width / 2 + 10, 10, width / 2 - 20, L);
    double centreY = slider.origin.y - L - 4;

    _topLeftButton = makeLabelButton(topLeft, _description.fieldVertical);
    _topRightButton = makeLabelButton(topRight, _description.fieldHorizontal);
    _centreButton =
        makeLabelButton(CGRectMake(width / 2 - 100, centreY, 200, L), _description.slider);
    labelOf(_description.fieldVertical) = makeLabel(topLeft, NSTextAlignmentLeft);
    labelOf(_description.fieldHorizontal) = makeLabel(topRight, NSTextAlignmentRight);
    labelOf(_description.slider) =
        makeLabel(CGRectMake(width / 2 + 2, centreY, 100, L), NSTextAlignmentLeft);
    _centreStaticLabel =
        makeLabel(CGRectMake(width / 2 - 100, centreY, 100, L), NSTextAlignmentRight);
    _centreStaticLabel->setText(_description.centreStaticText);

    lookLikeGradient(*_fieldView, field);
    lookLikeGradient(*_sliderView, slider);

    _crossHairs = std::make_shared<UIView>(CGRectMake(field.origin.x, field.origin.y, 20, 20));
    CALayer& ring = _crossHairs->layer();
    ring.cornerRadius = 10;
    ring.borderWidth = 1;
    ring.borderColor = UIColor::colorWithWhite(1, 0.5);
    ring.shadowColor = UIColor::blackColor();
    ring.shadowOffset = CGSizeMake(0, 0);
    ring.shadowRadius = 1;
    ring.shadowOpacity = 1;

    _sliderSelector =
        std::make_shared<UIImageView>(CGRectMake(slider.origin.x - 8, slider.origin.y - 4, 16, 48));
    _sliderSelector->setImage(UIImage::imageWithContentsOfFile(kSelectorImagePath));
    _sliderSelector->setBackgroundColor(UIColor::clearColor());

    _fieldTouchEater = makeTouchEater(field);
    _sliderTouchEater = makeTouchEater(slider);
}

// The touch catchers come last, above the crosshair and the selector they cover.
void HBColorPickerView::addSubviewsInStackingOrder() {
    for (UIViewPtr view : std::initializer_list<UIViewPtr>{
             _topLeftButton, _topRightButton, _centreButton, labelOf(_description.fieldVertical),
             labelOf(_description.fieldHorizontal), _fieldView, _crossHairs, _centreStaticLabel,
             labelOf(_description.slider), _sliderView, _sliderSelector, _fieldTouchEater,
             _sliderTouchEater}) {
        addSubview(view);
    }
}

void HBColorPickerView::layoutSubviews() {
    CGRect field = fieldFrame();
    CGRect slider = sliderFrame();
    _fieldView->setFrame(field);
    _sliderView->setFrame(slider);
    _fieldTouchEater->setFrame(field);
    _sliderTouchEater->setFrame(slider);
    updateSliderSelectorPosition();
    _updateCrosshairPosition();
}

// ---- Values -----------------------------------------------------------------------------

double& HBColorPickerView::valueOf(HBColorComponent component) {
    switch (component) {
        case HBColorComponent::Hue:
            return _currentHue;
        case HBColorComponent::Saturation:
            return _currentSaturation;
        case HBColorComponent::Brightness:
            break;
    }
    return _currentBrightness;
}

UILabelPtr& HBColorPickerView::labelOf(HBColorComponent component) {
    switch (component) {
        case HBColorComponent::Hue:
            return _currentHueLabel;
        case HBColorComponent::Saturation:
            return _currentSaturationLabel;
        case HBColorComponent::Brightness:
            break;
    }
    return _currentBrightnessLabel;
}

UIColor HBColorPickerView::currentColor() const {
    return UIColor::colorWithHue(_currentHue, _currentSaturation, _currentBrightness, 1);
}

// The slider's value as a fraction of its width from the left.
double HBColorPickerView::sliderPosition() const {
    double value = const_cast<HBColorPickerView*>(this)->valueOf(_description.slider);
    return _description.sliderRisesToTheRight ? value : 1 - value;
}

void HBColorPickerView::showLabel(HBColorComponent component, const char* format) {
    labelOf(component)->setText(formatted(format, shownValue(component, valueOf(component))));
}

void HBColorPickerView::setAColor(const UIColor& color) {
    color.getHue(&_currentHue, &_currentSaturation, &_currentBrightness, nullptr);
    _sliderView->showHue(_currentHue, _currentSaturation, _currentBrightness);
    _fieldView->showHue(_currentHue, _currentSaturation, _currentBrightness);
    updateSliderSelector();
    updateFieldSelector();
    _updateCrosshairPosition();
    updateSliderSelectorPosition();
    _crossHairs->setBackgroundColor(color);
}

// ---- Refresh steps ----------------------------------------------------------------------

void HBColorPickerView::updateSliderSelector() {
    _fieldView->showHue(_currentHue, _currentSaturation, _currentBrightness);
    showLabel(_description.slider, _description.centreFormat);
}

void HBColorPickerView::updateFieldSelector() {
    _sliderView->showHue(_currentHue, _currentSaturation, _currentBrightness);
    showLabel(_description.fieldVertical, _description.topLeftFormat);
    showLabel(_description.fieldHorizontal, _description.topRightFormat);
}

void HBColorPickerView::_updateCrosshairPosition() {
    CGRect field = fieldFrame();
    _crossHairs->setCenter(CGPointMake(
        valueOf(_description.fieldHorizontal) * field.size.width + field.origin.x,
        (1 - valueOf(_description.fieldVertical)) * field.size.height + field.origin.y));
}

void HBColorPickerView::updateSliderSelectorPosition() {
    CGRect slider = sliderFrame();
    _sliderSelector->setCenter(
        CGPointMake(sliderPosition() * slider.size.width + slider.origin.x, midpoint(slider).y));
}

// ---- Touches ----------------------------------------------------------------------------

void HBColorPickerView::touchesMovedButton(UIButton* button, const UIEvent& withEvent) {
    for (const UITouchPtr& touch : withEvent.touchesForView(button)) {
        dispatchTouchEvent(touch->locationInView(this), true);
    }
}

void HBColorPickerView::touchesEndedButton(UIButton* button, const UIEvent& withEvent) {
    for (const UITouchPtr& touch : withEvent.touchesForView(button)) {
        dispatchTouchEvent(touch->locationInView(this), false);
    }
    if (_saveChangesBlock) {
        _saveChangesBlock(_aColor);
    }
}

void HBColorPickerView::dispatchTouchEvent(CGPoint point, bool) {
    CGRect field = fieldFrame();
    CGRect slider = sliderFrame();
    double bandTop = labelOf(_description.fieldVertical)->frame().origin.y + _labelHeight;
    double bandBottom = labelOf(_description.slider)->frame().origin.y;
    if (CGRectContainsPoint(field, point)) {
        _crossHairs->setCenter(point);
        updateFieldWithTouch(point);
    } else if (CGRectContainsPoint(slider, point)) {
        _sliderSelector->setCenter(CGPointMake(point.x, midpoint(slider).y));
        updateSliderWithTouch(point);
    } else if (levelWith(slider, point.y)) {
        double x = std::clamp(point.x, slider.origin.x, slider.origin.x + slider.size.width);
        _sliderSelector->setCenter(CGPointMake(x, midpoint(slider).y));
        updateSliderWithTouch(CGPointMake(x, point.y));
    } else if (point.y < bandBottom && point.y > bandTop) {
        CGPoint clamped{std::clamp(point.x, field.origin.x, field.origin.x + field.size.width),
                        std::clamp(point.y, field.origin.y, field.origin.y + field.size.height)};
        _crossHairs->setCenter(clamped);
        updateFieldWithTouch(clamped);
    }
}

void HBColorPickerView::updateSliderWithTouch(CGPoint point) {
    CGRect slider = sliderFrame();
    double fraction = (point.x - slider.origin.x) / slider.size.width;
    valueOf(_description.slider) = _description.sliderRisesToTheRight ? fraction : 1 - fraction;
    updateSliderSelector();
    showCurrentColor();
}

void HBColorPickerView::updateFieldWithTouch(CGPoint point) {
    CGRect field = fieldFrame();
    valueOf(_description.fieldHorizontal) = (point.x - field.origin.x) / field.size.width;
    valueOf(_description.fieldVertical) = 1 - (point.y - field.origin.y) / field.size.height;
    updateFieldSelector();
    showCurrentColor();
}

void HBColorPickerView::showCurrentColor() {
    UIColor color = currentColor();
    _crossHairs->setBackgroundColor(color);
    _setColor(color);
}

void HBColorPickerView::_setColor(const UIColor& color) {
    if (color.isEqual(_aColor)) {
        return;
    }
    if (_colorsHaveChangedBlock) {
        _colorsHaveChangedBlock(color);
    }
    _aColor = color;
}

// ---- Typed input ------------------------------------------------------------------------

// The prompt holds the picker weakly: it may be gone before a button is pressed.
void HBColorPickerView::askUserFor(HBColorComponent component) {
    ComponentText text = textOf(component);
    std::weak_ptr<UIView> picker = weak_from_this();
    HBValuePrompt prompt{
        formatted(text.message, shownValue(component, valueOf(component))), text.placeholder,
        UIKeyboardTypeNumberPad, [picker, component](const std::string& typed) {
            if (auto self = std::static_pointer_cast<HBColorPickerView>(picker.lock())) {
                self->saveTypedValue(component, typed);
            }
        }};
    prompt.present();
}

void HBColorPickerView::saveTypedValue(HBColorComponent component, const std::string& text) {
    double number = NSString::floatValue(text);
    valueOf(component) = number / textOf(component).scale;
    UIColor color = currentColor();
    setAColor(color);
    _setColor(color);
    if (_saveChangesBlock) {
        _saveChangesBlock(_aColor);
    }
}
