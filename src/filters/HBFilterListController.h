#pragma once

#include <map>
#include <optional>
#include <string>

#include "kit/HuebadgePSViewController.h"
#include "model/HBFilterKind.h"
#include "model/HBFilterLists.h"
#include "platform/ui/UIImage.h"

// The list page of one filter kind, titled "Filters": the enabled filters in their order,
// the disabled ones under the add row, and a drop zone that deletes. The table is always
// editing and shows reorder handles only. Nothing is kept: every callback reads the lists
// from the store again. Subclasses name the kind and make the editor of an enabled filter.
class HBFilterListController : public HuebadgePSViewController {
  public:
    static constexpr const char* kAddRowTitle = "Tap, to add new filter";

    explicit HBFilterListController(const HBFilterKind& kind);
    std::string className() const override { return "HBFilterListController"; }

    void reloadSortOrder();
    // Reads the lists again and shows them.
    void reloadList();
    void refreshFromStore() override { reloadList(); }
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;

    long numberOfSectionsInTableView(UITableView*) override { return 3; }
    long numberOfRowsInSection(UITableView* tableView, long section) override;
    std::optional<std::string> titleForHeaderInSection(UITableView* tableView,
                                                       long section) override;
    UITableViewCellPtr cellForRowAtIndexPath(UITableView* tableView,
                                             const NSIndexPath& indexPath) override;
    UITableViewCellEditingStyle editingStyleForRowAtIndexPath(UITableView*,
                                                              const NSIndexPath&) override {
        return UITableViewCellEditingStyleNone;
    }
    bool shouldIndentWhileEditingRowAtIndexPath(UITableView*, const NSIndexPath&) override {
        return false;
    }
    bool canEditRowAtIndexPath(UITableView* tableView, const NSIndexPath& indexPath) override;
    bool canMoveRowAtIndexPath(UITableView* tableView, const NSIndexPath& indexPath) override;
    bool respondsToMoveRowAtIndexPath() const override { return true; }
    void didSelectRowAtIndexPath(UITableView* tableView, const NSIndexPath& indexPath) override;
    void moveRowAtIndexPath(UITableView* tableView, const NSIndexPath& from,
                            const NSIndexPath& to) override;
    void commitEditingStyle(UITableView* tableView, UITableViewCellEditingStyle style,
                            const NSIndexPath& indexPath) override;

  protected:
    // The editor of enabled record ROW; null when there is none.
    virtual PSViewControllerPtr makeEditor(long row) = 0;

  private:
    // Where a row of the table keeps its record; none for the add row and the drop zone.
    static std::optional<HBFilterLists::Place> recordPlace(const NSIndexPath& indexPath);
    static bool isAddRow(const NSIndexPath& indexPath);
    HBFilterLists lists() const;
    // The undo step's title of a change of the record at a place: "Delete Filter 'Invoices'".
    std::string stepTitle(const char* verb, HBFilterLists::Place place) const;
    void fillRecordCell(UITableViewCell& cell, const NSIndexPath& indexPath);
    void fillAddCell(UITableViewCell& cell);
    void applyDefaultColors(UITableViewCell& cell) const;
    UIImagePtr ringImage(const PlistValue& record, bool whiteText);
    UIImagePtr bundleImage(const std::string& name);

    const HBFilterKind& kind_;
    std::map<std::string, UIImagePtr> images_;
};
