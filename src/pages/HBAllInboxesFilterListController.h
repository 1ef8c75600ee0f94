#pragma once

#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "kit/HuebadgePSViewController.h"
#include "platform/foundation/PlistValue.h"
#include "store/HBPreferenceBinding.h"

// Chooses the accounts whose mailboxes get labels in the combined inbox views: "All", or
// any set of single accounts, stored as an array under "allFoldersAccountList". Draws its
// own one-section table of check-marked rows, built once when the page is created.
class HBAllInboxesFilterListController : public HuebadgePSViewController {
  public:
    static constexpr const char* kAllValue = "All";
    static constexpr const char* kAccountListKey = "allFoldersAccountList";

    HBAllInboxesFilterListController();
    std::string className() const override { return "HBAllInboxesFilterListController"; }

    long numberOfSectionsInTableView(UITableView*) override { return 1; }
    long numberOfRowsInSection(UITableView* tableView, long section) override;
    std::optional<std::string> titleForHeaderInSection(UITableView* tableView,
                                                       long section) override;
    double heightForHeaderInSection(UITableView* tableView, long section) override;
    UIViewPtr viewForHeaderInSection(UITableView* tableView, long section) override;
    UITableViewCellPtr cellForRowAtIndexPath(UITableView* tableView,
                                             const NSIndexPath& indexPath) override;
    void didSelectRowAtIndexPath(UITableView* tableView, const NSIndexPath& indexPath) override;

    // Stores the chosen accounts and writes the settings file, leaving "profileSaved" as it
    // is; false when the write failed (the choice stays in memory and in lastSaveFailure).
    bool savePreferences();

    const std::set<std::string>& enabledAccounts() const { return _enabledAccounts; }
    // The choice is kept on the page, so it is read again after an undo or redo.
    void refreshAfterStep() override;

  private:
    static HBPreferenceBinding binding();
    void buildRows();
    void buildEnabledAccounts();
    PlistValue enabledAccountList() const;
    bool allEnabled() const;
    void applyRowState(UITableViewCell& cell, long row) const;

    std::set<std::string> _enabledAccounts;
    std::vector<std::string> _accountNames;
    std::vector<std::string> _accountValues;
};
