#pragma once

#include <memory>
#include <string>

#include "platform/foundation/PlistValue.h"
#include "platform/prefs/PSSpecifier.h"
#include "platform/ui/UITableViewCell.h"

// The cell of one settings row: shows the row's caption and its current value as the row's
// cell type says (a list row the title of its value, a title-value row the value itself),
// and hands the user's changes to the row's target. The page keeps one cell per row and
// refreshes it whenever the table asks for it again.
class PSTableCell : public UITableViewCell {
  public:
    PSTableCell(UITableViewCellStyle style, std::string reuseIdentifier, PSSpecifierPtr specifier);
    std::string className() const override { return "PSTableCell"; }

    const PSSpecifierPtr& specifier() const { return specifier_; }
    void setSpecifier(PSSpecifierPtr specifier) { specifier_ = std::move(specifier); }
    PSCellType type() const { return specifier_ ? specifier_->cellType() : PSGroupCell; }

    // Shows the row's caption, accessory and, when the row has an "enabled" property, its
    // enabled state. The value comes separately, through setValue.
    virtual void refreshCellContentsWithSpecifier(const PSSpecifierPtr& specifier);
    // Shows the row's current value; an absent value shows nothing.
    virtual void setValue(const PlistValue& value);
    const PlistValue& value() const { return value_; }

    // Dims or revives the whole row: its labels and whether it takes touches.
    virtual void setCellEnabled(bool enabled);
    bool cellEnabled() const { return cellEnabled_; }

    // The text a title-value or edit row shows for a value: strings as they are, numbers in
    // their shortest form, booleans as 1 or 0.
    static std::string displayText(const PlistValue& value);

  protected:
    // Hands a value the user chose to the row's target, when the row is bound.
    void storeValue(const PlistValue& value);

  private:
    PSSpecifierPtr specifier_;
    PlistValue value_;
    bool cellEnabled_ = true;
};

using PSTableCellPtr = std::shared_ptr<PSTableCell>;
