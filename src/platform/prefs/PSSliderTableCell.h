#pragma once

#include "platform/prefs/PSTableCell.h"
#include "platform/ui/UISlider.h"

// A row that is a slider over the row's "min" .. "max" (0 .. 1 by default). The stored value
// sets the slider without an event; the value is stored once, when the user lets go.
class PSSliderTableCell : public PSTableCell {
  public:
    PSSliderTableCell(UITableViewCellStyle style, std::string reuseIdentifier,
                      PSSpecifierPtr specifier);
    std::string className() const override { return "PSSliderTableCell"; }

    const UISliderPtr& control() const { return control_; }
    void refreshCellContentsWithSpecifier(const PSSpecifierPtr& specifier) override;
    void setValue(const PlistValue& value) override;
    void setCellEnabled(bool enabled) override;
    void layoutSubviews() override;

  private:
    void applyBounds(const PSSpecifier& specifier);

    UISliderPtr control_;
};
