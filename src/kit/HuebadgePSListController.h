#pragma once

#include <string>

#include "kit/HBLiveReload.h"
#include "platform/prefs/PSListController.h"

// Base of the pane's list pages. Gives their cells the pane's look and binds every row to
// the shared settings store: a row shows the stored value under its "key" (else its
// "default"), and a change is stored under that key with HBPreferences::change (profile
// marked unsaved, file written, settings notification posted). Subclasses only load
// their description in specifiers().
class HuebadgePSListController : public PSListController {
  public:
    // Loads the shared store (a no-op once any page has loaded it) and follows it.
    HuebadgePSListController();
    std::string className() const override { return "HuebadgePSListController"; }

    // Rows show what the store holds now, including changes made on other pages.
    void viewWillAppear(bool animated) override;
    PlistValue readPreferenceValue(const PSSpecifierPtr& specifier) override;
    void setPreferenceValue(const PlistValue& value, const PSSpecifierPtr& specifier) override;

    UITableViewCellPtr cellForRowAtIndexPath(UITableView* tableView,
                                             const NSIndexPath& indexPath) override;

  private:
    // While shown, rows reload when another program wrote the settings.
    std::shared_ptr<HBLiveReload> _liveReload;
};
