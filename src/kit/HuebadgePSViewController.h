#pragma once

#include <memory>
#include <string>

#include "kit/HBLiveReload.h"
#include "platform/prefs/PSViewController.h"
#include "platform/ui/UITableView.h"

// Base of the pane's pages that draw their own table: it makes the table (the size of the
// screen, resizing with its page, this page as data source and delegate) and loads the
// shared settings store; the table is the page's view. Cells get the pane's look (captions
// shrink to fit the width). Subclasses set the table's editing and selection flags.
class HuebadgePSViewController : public PSViewController,
                                 public UITableViewDataSource,
                                 public UITableViewDelegate {
  public:
    explicit HuebadgePSViewController(UITableViewStyle style = UITableViewStylePlain);
    std::string className() const override { return "HuebadgePSViewController"; }

    void loadView() override;
    const std::shared_ptr<UITableView>& tableView() const { return _tableView; }

    long numberOfRowsInSection(UITableView*, long) override { return 0; }
    // A default-style cell ("Cell", reused when the table has one) with the pane's look;
    // subclasses start from it.
    UITableViewCellPtr cellForRowAtIndexPath(UITableView* tableView,
                                             const NSIndexPath& indexPath) override;

    // The pane's look on any cell.
    static void applyCellLook(UITableViewCell& cell);

    // Shows what the store holds now, while the page is shown and another program wrote the
    // settings: the table reloads. Pages that keep what they read refresh that too.
    virtual void refreshFromStore() { _tableView->reloadData(); }
    // Shows what the store holds after an undo or redo while the page is shown.
    virtual void refreshAfterStep() { refreshFromStore(); }

  protected:
    // The table keeps plain pointers back to the page, so the page owning it makes no cycle.
    std::shared_ptr<UITableView> _tableView;

  private:
    std::shared_ptr<HBLiveReload> _liveReload;
};
