#pragma once

#include <string>

#include "platform/prefs/PSEditableTableCell.h"

// The pane's text-entry cell, named "HBEditTextCell" as a row's "cellClass": its keyboard's
// return key reads Done.
class HBEditTextCell : public PSEditableTableCell {
  public:
    HBEditTextCell(UITableViewCellStyle style, std::string reuseIdentifier,
                   PSSpecifierPtr specifier);
    std::string className() const override { return "HBEditTextCell"; }

    bool textFieldShouldReturn(UITextField* textField) override;
};
