#include "platform/prefs/PSSwitchTableCell.h"

PSSwitchTableCell::PSSwitchTableCell(UITableViewCellStyle style, std::string reuseIdentifier,
                                     PSSpecifierPtr specifier)
    : PSTableCell(style, std::move(reuseIdentifier), std::move(specifier)),
      control_(std::make_shared<UISwitch>()) {
    setAccessoryView(control_);
    // The switch is this cell's own subview, so it never outlives the cell it calls.
    control_->addTarget(
        [this](UIControl*, const UIEvent&) { storeValue(PlistValue::boolean(control_->isOn())); },
        UIControlEventValueChanged);
}

void PSSwitchTableCell::setValue(const PlistValue& value) {
    PSTableCell::setValue(value);
    control_->setOn(value.boolValue());
}

void PSSwitchTableCell::setCellEnabled(bool enabled) {
    PSTableCell::setCellEnabled(enabled);
    control_->setEnabled(enabled);
}
