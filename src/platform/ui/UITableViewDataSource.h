#pragma once

#include <optional>
#include <string>

#include "platform/ui/NSIndexPath.h"
#include "platform/ui/UITableViewCell.h"

class UITableView;

// What a table asks of the object that holds its rows. The optional operations answer as the
// platform does when a data source leaves them out.
class UITableViewDataSource {
  public:
    virtual ~UITableViewDataSource() = default;

    virtual long numberOfRowsInSection(UITableView* tableView, long section) = 0;
    virtual UITableViewCellPtr cellForRowAtIndexPath(UITableView* tableView,
                                                     const NSIndexPath& indexPath) = 0;

    virtual long numberOfSectionsInTableView(UITableView*) { return 1; }
    virtual std::optional<std::string> titleForHeaderInSection(UITableView*, long) {
        return std::nullopt;
    }
    virtual std::optional<std::string> titleForFooterInSection(UITableView*, long) {
        return std::nullopt;
    }

    virtual bool canEditRowAtIndexPath(UITableView*, const NSIndexPath&) { return true; }
    // Rows can move only where the data source takes moves.
    virtual bool canMoveRowAtIndexPath(UITableView*, const NSIndexPath&) {
        return respondsToMoveRowAtIndexPath();
    }
    virtual void commitEditingStyle(UITableView*, UITableViewCellEditingStyle, const NSIndexPath&) {
    }
    virtual void moveRowAtIndexPath(UITableView*, const NSIndexPath&, const NSIndexPath&) {}
    // A data source that overrides moveRowAtIndexPath says so here, as the platform asks
    // whether the data source implements that operation.
    virtual bool respondsToMoveRowAtIndexPath() const { return false; }
    // A data source that takes commitEditingStyle outside editing mode says so here: its rows
    // of the delete style then offer a swipe to delete, as on the platform.
    virtual bool respondsToCommitEditingStyle() const { return false; }
};
