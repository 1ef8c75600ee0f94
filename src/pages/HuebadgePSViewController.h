#pragma once

#include <string>

#include "platform/prefs/PSViewController.h"
#include "platform/ui/UITableView.h"

// Base of the pane's pages that draw their own table: they are its data source and
// delegate, and their cells get the pane's look (captions shrink to fit the width).
class HuebadgePSViewController : public PSViewController,
                                 public UITableViewDataSource,
                                 public UITableViewDelegate {
  public:
    std::string className() const override { return "HuebadgePSViewController"; }

    long numberOfRowsInSection(UITableView*, long) override { return 0; }
    // A default-style cell ("Cell", reused when the table has one) with the pane's look;
    // subclasses start from it.
    UITableViewCellPtr cellForRowAtIndexPath(UITableView* tableView,
                                             const NSIndexPath& indexPath) override;

    // The pane's look on any cell.
    static void applyCellLook(UITableViewCell& cell);
};
