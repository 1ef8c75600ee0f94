#pragma once

#include <functional>
#include <vector>

#include "platform/ui/NSIndexPath.h"
#include "platform/ui/UITableViewRows.h"

class UITableView;

// The selection rules of a table. Each row keeps its own mark, so that it follows the row
// through moves and holds while the row has no cell; the rules read the table's selection
// flags and ask its delegate, as a touch would.
class UITableViewSelection {
  public:
    // Finds a row by path, loading the table first when it must.
    using FindRow = std::function<LoadedTableRow*(const NSIndexPath&)>;

    UITableViewSelection(UITableView& table, UITableViewRows& rows, FindRow find)
        : table_(table), rows_(rows), find_(std::move(find)) {}

    // From code: no delegate calls.
    void select(const NSIndexPath& indexPath);
    void deselect(const NSIndexPath& indexPath);
    static std::vector<NSIndexPath> selectedIn(const UITableViewRows& rows);
    // When the table's flags no longer allow a selection.
    void dropIfNotAllowed();
    // A tap on a row with a cell: willSelect, the rules, then didSelect.
    bool userTapped(LoadedTableRow& row, const NSIndexPath& indexPath);

  private:
    static void mark(LoadedTableRow& row, bool selected);
    bool userDeselect(const NSIndexPath& indexPath);
    void deselectAllBut(const NSIndexPath* kept, bool tellDelegate);
    bool allowed() const;
    bool multipleAllowed() const;

    UITableView& table_;
    UITableViewRows& rows_;
    FindRow find_;
};
