#pragma once

#include "platform/prefs/PSTableCell.h"
#include "platform/ui/UISwitch.h"

// A row with an on/off switch as its accessory. The stored value sets the switch without an
// event; a flip by the user stores YES or NO through the row's target.
class PSSwitchTableCell : public PSTableCell {
  public:
    PSSwitchTableCell(UITableViewCellStyle style, std::string reuseIdentifier,
                      PSSpecifierPtr specifier);
    std::string className() const override { return "PSSwitchTableCell"; }

    const UISwitchPtr& control() const { return control_; }
    void setValue(const PlistValue& value) override;
    void setCellEnabled(bool enabled) override;

  private:
    UISwitchPtr control_;
};
