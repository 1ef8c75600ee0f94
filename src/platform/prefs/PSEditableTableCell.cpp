#include "platform/prefs/PSEditableTableCell.h"

namespace {

// The framework's "keyboard" names.
UIKeyboardType keyboardNamed(const std::string* name) {
    if (!name) {
        return UIKeyboardTypeDefault;
    }
    if (*name == "numbers") {
        return UIKeyboardTypeNumbersAndPunctuation;
    }
    if (*name == "phone") {
        return UIKeyboardTypePhonePad;
    }
    if (*name == "url") {
        return UIKeyboardTypeURL;
    }
    if (*name == "email") {
        return UIKeyboardTypeEmailAddress;
    }
    return UIKeyboardTypeDefault;
}

}  // namespace

PSEditableTableCell::PSEditableTableCell(UITableViewCellStyle style, std::string reuseIdentifier,
                                         PSSpecifierPtr specifier)
    : PSTableCell(style, std::move(reuseIdentifier), specifier),
      textField_(std::make_shared<UITextField>()) {
    textField_->setDelegate(this);
    textField_->setClearButtonMode(UITextFieldViewModeWhileEditing);
    contentView()->addSubview(textField_);
    // The field is this cell's own subview, so it never outlives the cell it calls.
    textField_->addTarget(
        [this](UIControl*, const UIEvent&) { storeValue(PlistValue(textField_->text())); },
        UIControlEventEditingDidEnd);
    // Listening for the end on exit lets the return key end editing.
    textField_->addTarget([](UIControl*, const UIEvent&) {}, UIControlEventEditingDidEndOnExit);
    if (specifier) {
        configureField(*specifier);
    }
}

void PSEditableTableCell::refreshCellContentsWithSpecifier(const PSSpecifierPtr& specifier) {
    PSTableCell::refreshCellContentsWithSpecifier(specifier);
    configureField(*specifier);
}

void PSEditableTableCell::configureField(const PSSpecifier& specifier) {
    const std::string* placeholder = specifier.propertyForKey("placeholder").stringValue();
    textField_->setPlaceholder(placeholder ? *placeholder : std::string());
    textField_->setKeyboardType(keyboardNamed(specifier.propertyForKey("keyboard").stringValue()));
    textField_->setSecureTextEntry(specifier.cellType() == PSSecureEditTextCell);
}

void PSEditableTableCell::setValue(const PlistValue& value) {
    PSTableCell::setValue(value);
    if (!textField_->isEditing()) {
        textField_->setText(displayText(value));
    }
}

void PSEditableTableCell::setCellEnabled(bool enabled) {
    PSTableCell::setCellEnabled(enabled);
    textField_->setEnabled(enabled);
}

void PSEditableTableCell::layoutSubviews() {
    PSTableCell::layoutSubviews();
    CGRect bounds = contentView()->bounds();
    double left = bounds.size.width * 0.4;
    textField_->setFrame(CGRectMake(left, 0, bounds.size.width - left - 16, bounds.size.height));
}

bool PSEditableTableCell::textFieldShouldReturn(UITextField*) {
    return true;
}
