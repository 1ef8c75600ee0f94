#pragma once

#include "platform/prefs/PSListController.h"

// The choice page of a list row: one row per choice title, a check mark on the row's current
// value. A tap stores the choice through the row's target and moves the check mark; the
// page stays open. Registered as "PSListItemsController", the detail page of list rows.
class PSListItemsController : public PSListController {
  public:
    PSListItemsController() = default;
    std::string className() const override { return "PSListItemsController"; }

    void setSpecifier(PSSpecifierPtr specifier) override;

    long numberOfSectionsInTableView(UITableView* tableView) override;
    long numberOfRowsInSection(UITableView* tableView, long section) override;
    std::optional<std::string> titleForHeaderInSection(UITableView* tableView,
                                                       long section) override;
    std::optional<std::string> titleForFooterInSection(UITableView* tableView,
                                                       long section) override;
    UITableViewCellPtr cellForRowAtIndexPath(UITableView* tableView,
                                             const NSIndexPath& indexPath) override;
    double heightForRowAtIndexPath(UITableView* tableView, const NSIndexPath& indexPath) override;
    void didSelectRowAtIndexPath(UITableView* tableView, const NSIndexPath& indexPath) override;

  protected:
    // The chosen value as the row's target reads it now.
    PlistValue currentValue();
    bool isChoiceRow(const NSIndexPath& indexPath) const;
};
