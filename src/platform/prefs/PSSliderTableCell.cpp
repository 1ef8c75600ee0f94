#include "platform/prefs/PSSliderTableCell.h"

PSSliderTableCell::PSSliderTableCell(UITableViewCellStyle style, std::string reuseIdentifier,
                                     PSSpecifierPtr specifier)
    : PSTableCell(style, std::move(reuseIdentifier), specifier),
      control_(std::make_shared<UISlider>()) {
    control_->setContinuous(false);
    contentView()->addSubview(control_);
    // The slider is this cell's own subview, so it never outlives the cell it calls.
    control_->addTarget(
        [this](UIControl*, const UIEvent&) { storeValue(PlistValue::real(control_->value())); },
        UIControlEventValueChanged);
    if (specifier) {
        applyBounds(*specifier);
    }
}

void PSSliderTableCell::refreshCellContentsWithSpecifier(const PSSpecifierPtr& specifier) {
    PSTableCell::refreshCellContentsWithSpecifier(specifier);
    applyBounds(*specifier);
}

void PSSliderTableCell::applyBounds(const PSSpecifier& specifier) {
    PlistValue min = specifier.propertyForKey("min");
    PlistValue max = specifier.propertyForKey("max");
    control_->setMinimumValue(min.isNumber() ? static_cast<float>(min.doubleValue()) : 0.0f);
    control_->setMaximumValue(max.isNumber() ? static_cast<float>(max.doubleValue()) : 1.0f);
}

void PSSliderTableCell::setValue(const PlistValue& value) {
    PSTableCell::setValue(value);
    control_->setValue(static_cast<float>(value.doubleValue()));
}

void PSSliderTableCell::setCellEnabled(bool enabled) {
    PSTableCell::setCellEnabled(enabled);
    control_->setEnabled(enabled);
}

void PSSliderTableCell::layoutSubviews() {
    PSTableCell::layoutSubviews();
    CGRect bounds = contentView()->bounds();
    control_->setFrame(CGRectMake(16, 0, bounds.size.width - 32, bounds.size.height));
}
