#pragma once

#include <optional>

#include "platform/ui/NSIndexPath.h"
#include "platform/ui/UITableViewCell.h"

class UITableView;

// Asks the height of automatic headers and footers, and of self-sizing rows.
inline constexpr double UITableViewAutomaticDimension = -1;

// What a table tells or asks its delegate about appearance, selection and editing. Every
// operation is optional; the defaults answer as the platform does when one is left out.
class UITableViewDelegate {
  public:
    virtual ~UITableViewDelegate() = default;

    // The table's rowHeight unless overridden.
    virtual double heightForRowAtIndexPath(UITableView* tableView, const NSIndexPath& indexPath);
    virtual double heightForHeaderInSection(UITableView*, long) {
        return UITableViewAutomaticDimension;
    }
    virtual double heightForFooterInSection(UITableView*, long) {
        return UITableViewAutomaticDimension;
    }
    // A view replaces the section's title; null keeps the title.
    virtual UIViewPtr viewForHeaderInSection(UITableView*, long) { return nullptr; }
    virtual UIViewPtr viewForFooterInSection(UITableView*, long) { return nullptr; }

    virtual void willDisplayCell(UITableView*, UITableViewCell*, const NSIndexPath&) {}
    virtual void willDisplayHeaderView(UITableView*, UIView*, long) {}
    virtual void willDisplayFooterView(UITableView*, UIView*, long) {}

    // The row to select instead, or none to refuse the selection.
    virtual std::optional<NSIndexPath> willSelectRowAtIndexPath(UITableView*,
                                                                const NSIndexPath& indexPath) {
        return indexPath;
    }
    virtual void didSelectRowAtIndexPath(UITableView*, const NSIndexPath&) {}
    virtual std::optional<NSIndexPath> willDeselectRowAtIndexPath(UITableView*,
                                                                  const NSIndexPath& indexPath) {
        return indexPath;
    }
    virtual void didDeselectRowAtIndexPath(UITableView*, const NSIndexPath&) {}
    virtual void accessoryButtonTappedForRowWithIndexPath(UITableView*, const NSIndexPath&) {}

    virtual UITableViewCellEditingStyle editingStyleForRowAtIndexPath(UITableView*,
                                                                      const NSIndexPath&) {
        return UITableViewCellEditingStyleDelete;
    }
    virtual bool shouldIndentWhileEditingRowAtIndexPath(UITableView*, const NSIndexPath&) {
        return true;
    }
    // Where a dragged row lands; the proposal unless overridden.
    virtual NSIndexPath targetIndexPathForMoveFromRowAtIndexPath(UITableView*, const NSIndexPath&,
                                                                 const NSIndexPath& proposed) {
        return proposed;
    }
};
