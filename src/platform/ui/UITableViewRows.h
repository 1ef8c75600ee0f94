#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/ui/NSIndexPath.h"
#include "platform/ui/UITableViewCell.h"

// One row of a loaded table: where it sits, whether it is selected, and the cell that shows
// it while the row is in or near the table's visible bounds (null further away).
struct LoadedTableRow {
    NSIndexPath indexPath;
    double y = 0;
    double height = 0;
    bool selected = false;
    UITableViewCellPtr cell;
};

// One loaded section: its header and footer (a title, and the view that shows it or the
// delegate's own view), where its rows start and how tall they are together, and its rows.
struct LoadedTableSection {
    std::optional<std::string> headerTitle;
    std::optional<std::string> footerTitle;
    UIViewPtr headerView;
    UIViewPtr footerView;
    double headerHeight = 0;
    double footerHeight = 0;
    double rowsY = 0;
    double rowsHeight = 0;
    std::vector<LoadedTableRow> rows;
};

// The sections and rows of a table, laid out top to bottom: finds rows by index path and by
// height, and moves a row from one place to another. Knows nothing of data sources.
class UITableViewRows {
  public:
    std::vector<LoadedTableSection>& sections() { return sections_; }
    const std::vector<LoadedTableSection>& sections() const { return sections_; }
    void clear() { sections_.clear(); }

    // Null for a path that names no row.
    LoadedTableRow* find(const NSIndexPath& indexPath);
    const LoadedTableRow* find(const NSIndexPath& indexPath) const;
    // The row whose height spans y, found by halving, so long tables answer as fast.
    const LoadedTableRow* rowAtY(double y) const;
    // The rows of a section that overlap [top, bottom): first and one past the last, found by
    // halving.
    std::pair<std::size_t, std::size_t> rowsBetween(std::size_t section, double top,
                                                    double bottom) const;
    void forEach(const std::function<void(LoadedTableRow&)>& visit);
    void forEach(const std::function<void(const LoadedTableRow&)>& visit) const;
    // Whether the row's height (at least a point) overlaps [top, bottom).
    static bool overlaps(const LoadedTableRow& row, double top, double bottom);

    // Places everything from y = top on; section views take the width. Returns the end.
    double layout(double top, double width);
    // Within the rows, or up to the end of another section.
    bool isValidMove(const NSIndexPath& from, const NSIndexPath& to) const;
    // Moves the row and renumbers every row after it; the caller lays out again.
    void move(const NSIndexPath& from, const NSIndexPath& to);

  private:
    std::vector<LoadedTableSection> sections_;
};
