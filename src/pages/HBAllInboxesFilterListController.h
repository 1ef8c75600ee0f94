#pragma once

#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/prefs/PSViewController.h"
#include "platform/ui/UITableView.h"

// Chooses the accounts whose mailboxes get labels in the combined inbox views: "All", or
// any set of single accounts, stored as an array under "allFoldersAccountList". Draws its
// own one-section table of check-marked rows, built once when the page is created.
class HBAllInboxesFilterListController : public PSViewController,
                                         public UITableViewDataSource,
                                         public UITableViewDelegate {
  public:
    static constexpr const char* kAllValue = "All";
    static constexpr const char* kAccountListKey = "allFoldersAccountList";

    HBAllInboxesFilterListController();
    std::string className() const override { return "HBAllInboxesFilterListController"; }

    void loadView() override;

    long numberOfSectionsInTableView(UITableView*) override { return 1; }
    long numberOfRowsInSection(UITableView* tableView, long section) override;
    std::optional<std::string> titleForHeaderInSection(UITableView* tableView,
                                                       long section) override;
    double heightForHeaderInSection(UITableView* tableView, long section) override;
    UIViewPtr viewForHeaderInSection(UITableView* tableView, long section) override;
    UITableViewCellPtr cellForRowAtIndexPath(UITableView* tableView,
                                             const NSIndexPath& indexPath) override;
    void didSelectRowAtIndexPath(UITableView* tableView, const NSIndexPath& indexPath) override;

    // Writes the settings file; false when the write failed.
    bool savePreferences();

    const std::shared_ptr<UITableView>& table() const { return _table; }
    const std::set<std::string>& enabledAccounts() const { return _enabledAccounts; }

  private:
    void createTable();
    void buildRows();
    void buildEnabledAccounts();
    void storeEnabledAccounts();
    bool allEnabled() const;
    void applyRowState(UITableViewCell& cell, long row) const;

    std::shared_ptr<UITableView> _table;
    std::set<std::string> _enabledAccounts;
    std::vector<std::string> _accountNames;
    std::vector<std::string> _accountValues;
};
