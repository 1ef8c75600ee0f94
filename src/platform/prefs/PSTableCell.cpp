#include "platform/prefs/PSTableCell.h"

#include <fmt/format.h>

#include "platform/prefs/PSListController.h"

namespace {

UITableViewCellAccessoryType accessoryFor(PSCellType type) {
    switch (type) {
        case PSLinkCell:
        case PSLinkListCell:
            return UITableViewCellAccessoryDisclosureIndicator;
        default:
            return UITableViewCellAccessoryNone;
    }
}

bool takesTaps(PSCellType type) {
    return type == PSLinkCell || type == PSLinkListCell || type == PSButtonCell ||
           type == PSListItemCell;
}

}  // namespace

PSTableCell::PSTableCell(UITableViewCellStyle style, std::string reuseIdentifier,
                         PSSpecifierPtr specifier)
    : UITableViewCell(style, std::move(reuseIdentifier)), specifier_(std::move(specifier)) {
    if (specifier_) {
        refreshCellContentsWithSpecifier(specifier_);
    }
}

void PSTableCell::refreshCellContentsWithSpecifier(const PSSpecifierPtr& specifier) {
    specifier_ = specifier;
    textLabel()->setText(specifier->name());
    setAccessoryType(accessoryFor(specifier->cellType()));
    if (!takesTaps(specifier->cellType())) {
        setSelectionStyle(UITableViewCellSelectionStyleNone);
    }
    PlistValue enabled = specifier->propertyForKey("enabled");
    if (!enabled.isAbsent()) {
        setCellEnabled(enabled.boolValue());
    }
}

void PSTableCell::setValue(const PlistValue& value) {
    value_ = value;
    if (type() == PSLinkListCell) {
        const std::string* title = specifier_->titleForValue(value);
        detailTextLabel()->setText(title ? *title : std::string());
    } else if (type() == PSTitleValueCell) {
        detailTextLabel()->setText(displayText(value));
    }
}

void PSTableCell::setCellEnabled(bool enabled) {
    cellEnabled_ = enabled;
    textLabel()->setEnabled(enabled);
    detailTextLabel()->setEnabled(enabled);
    setUserInteractionEnabled(enabled);
}

std::string PSTableCell::displayText(const PlistValue& value) {
    switch (value.kind()) {
        case PlistValue::Kind::String:
            return *value.stringValue();
        case PlistValue::Kind::Integer:
            return value.isUnsignedInteger() ? fmt::format("{}", value.unsignedValue())
                                             : fmt::format("{}", value.integerValue());
        case PlistValue::Kind::Real:
            return fmt::format("{}", value.doubleValue());
        case PlistValue::Kind::Boolean:
            return value.boolValue() ? "1" : "0";
        default:
            return {};
    }
}

void PSTableCell::storeValue(const PlistValue& value) {
    value_ = value;
    if (specifier_ && specifier_->hasSetter() && specifier_->target()) {
        specifier_->target()->setPreferenceValue(value, specifier_);
    }
}
