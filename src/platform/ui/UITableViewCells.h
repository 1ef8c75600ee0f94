#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/ui/UITableViewCell.h"
#include "platform/ui/UITableViewRows.h"

class UITableView;

// The cells of a table's rows: which rows have one (those in a range of the content), making
// them through the data source, and keeping the cells that leave the range for reuse.
class UITableViewCells {
  public:
    // Per section, the rows that have cells: first and one past the last.
    using ShownRanges = std::vector<std::pair<std::size_t, std::size_t>>;

    UITableViewCells(UITableView& table, UITableViewRows& rows) : table_(table), rows_(rows) {}

    // Hands back the cells of rows outside [top, bottom) and returns the rows inside it that
    // have none yet, for the table to fill with show().
    std::vector<LoadedTableRow*> moveRange(double top, double bottom);
    // The data source fills a cell for the row, which takes the row's place, selection and
    // editing state.
    void show(LoadedTableRow& row);
    // The cells made take the table's editing state again.
    void applyEditingStates();
    // Hands back every cell and takes the section views off the table, before a load.
    void recycleAll();
    // After a load or a move, which rows have cells is no longer known by range.
    void forgetRanges() { shownRanges_.clear(); }
    const ShownRanges& shownRanges() const { return shownRanges_; }

    UITableViewCellPtr dequeue(const std::string& identifier);
    // Cells waiting for reuse take the appearance too.
    void updateWaitingTraits();

  private:
    void hide(LoadedTableRow& row);
    void hideOutside(double top, double bottom);
    void applyEditingState(LoadedTableRow& row);

    UITableView& table_;
    UITableViewRows& rows_;
    // Empty when unknown.
    ShownRanges shownRanges_;
    std::map<std::string, std::vector<UITableViewCellPtr>> reusePool_;
};
