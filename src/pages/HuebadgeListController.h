#pragma once

#include <string>

#include "kit/HuebadgePSListController.h"

// The pane's first page: the rows of "Huebadge14", one colour row per mail account with a
// preview of its colour, and the "Help" links. Rows 30, 31 and 38 of the first section open
// pages built in code; docs/root-page.md lists the rows the code relies on.
class HuebadgeListController : public HuebadgePSListController {
  public:
    std::string className() const override { return "HuebadgeListController"; }

    const std::vector<PSSpecifierPtr>& specifiers() override;
    void viewDidLoad() override;

    void openFAQ();
    void openChangeLog();
    void openLicenses();

    UITableViewCellPtr cellForRowAtIndexPath(UITableView* tableView,
                                             const NSIndexPath& indexPath) override;
    double heightForRowAtIndexPath(UITableView* tableView, const NSIndexPath& indexPath) override;
    void didSelectRowAtIndexPath(UITableView* tableView, const NSIndexPath& indexPath) override;

  private:
    void addAccountRows(std::vector<PSSpecifierPtr>& rows);
    void addHelpRows(std::vector<PSSpecifierPtr>& rows);
    void paintAccountRow(UITableViewCell& cell);
};
