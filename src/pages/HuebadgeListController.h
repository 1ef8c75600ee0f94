#pragma once

#include <string>

#include "pages/HuebadgePSListController.h"
#include "platform/foundation/ClassRegistry.h"
#include "platform/prefs/PSViewController.h"

// Pages the root page creates with a type, by class name ("HBOptionsFiltersFolders" with 0
// for the first folder-filter set, 1 for the second). Absent classes open nothing.
using HBTypedControllerClasses = ClassRegistry<PSViewController, long>;

// The pane's first page: the rows of "Huebadge14", one colour row per mail account with a
// preview of its colour, and the "Help" links. Rows 30, 31 and 38 of the first section open
// pages built in code; docs/root-page.md lists the rows the code relies on.
class HuebadgeListController : public HuebadgePSListController {
  public:
    static constexpr const char* kMakerSite = "https://quorvel.net";

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
    void pushTypedPage(const char* className, long type);
    void openMakerPage(const char* path);
};
