#pragma once

#include <memory>
#include <string>

#include "kit/HuebadgePSViewController.h"

// A page for the browser test only, registered as "TestAlertPage": one row, "Rename", that
// shows the stored name and opens an alert with a name field. "Save" stores the typed name
// under kNameKey in the pane's settings file and writes it; "Cancel" leaves both alone.
class TestAlertPage : public HuebadgePSViewController {
  public:
    static constexpr const char* kNameKey = "testAlertName";

    TestAlertPage();
    std::string className() const override { return "TestAlertPage"; }

    long numberOfSectionsInTableView(UITableView*) override { return 1; }
    long numberOfRowsInSection(UITableView*, long) override { return 1; }
    UITableViewCellPtr cellForRowAtIndexPath(UITableView* tableView,
                                             const NSIndexPath& indexPath) override;
    void didSelectRowAtIndexPath(UITableView* tableView, const NSIndexPath& indexPath) override;

  private:
    void presentRenameAlert();
    void saveName(const std::string& name);
    std::string storedName() const;
};
