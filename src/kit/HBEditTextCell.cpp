#include "kit/HBEditTextCell.h"

#include "platform/prefs/PSClasses.h"

namespace {

const bool kHBEditTextCellRegistered = PSCellClasses::registerClass(
    "HBEditTextCell", [](long style, const std::string& reuseIdentifier, PSSpecifierPtr specifier) {
        return std::make_shared<HBEditTextCell>(static_cast<UITableViewCellStyle>(style),
                                                reuseIdentifier, std::move(specifier));
    });

}  // namespace

HBEditTextCell::HBEditTextCell(UITableViewCellStyle style, std::string reuseIdentifier,
                               PSSpecifierPtr specifier)
    : PSEditableTableCell(style, std::move(reuseIdentifier), std::move(specifier)) {
    textField()->setReturnKeyType(UIReturnKeyDone);
}

bool HBEditTextCell::textFieldShouldReturn(UITextField*) {
    return true;
}
