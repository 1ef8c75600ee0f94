#pragma once

#include "platform/prefs/PSTableCell.h"
#include "platform/ui/UITextField.h"
#include "platform/ui/UITextFieldDelegate.h"

// A row with a one-line text field beside its caption. The stored value fills the field;
// when the user ends editing (leaving the field or pressing return) the text is stored
// through the row's target. The row's "placeholder" and "keyboard" properties configure it.
class PSEditableTableCell : public PSTableCell, public UITextFieldDelegate {
  public:
    PSEditableTableCell(UITableViewCellStyle style, std::string reuseIdentifier,
                        PSSpecifierPtr specifier);
    std::string className() const override { return "PSEditableTableCell"; }

    const UITextFieldPtr& textField() const { return textField_; }
    void refreshCellContentsWithSpecifier(const PSSpecifierPtr& specifier) override;
    void setValue(const PlistValue& value) override;
    void setCellEnabled(bool enabled) override;
    void layoutSubviews() override;

    // Return ends editing, which stores the text.
    bool textFieldShouldReturn(UITextField* textField) override;

  private:
    void configureField(const PSSpecifier& specifier);

    UITextFieldPtr textField_;
};
