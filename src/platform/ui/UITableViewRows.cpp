#include "platform/ui/UITableViewRows.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace {

bool namesTableRow(const NSIndexPath& indexPath) {
    return indexPath.length() >= 2;
}

void placeSectionView(UIView* view, double y, double width, double height) {
    if (view) {
        view->setFrame(CGRectMake(0, y, width, height));
    }
}

}  // namespace

LoadedTableRow* UITableViewRows::find(const NSIndexPath& indexPath) {
    return const_cast<LoadedTableRow*>(std::as_const(*this).find(indexPath));
}

const LoadedTableRow* UITableViewRows::find(const NSIndexPath& indexPath) const {
    long section = indexPath.section();
    long row = indexPath.row();
    if (!namesTableRow(indexPath) || section < 0 || section >= long(sections_.size())) {
        return nullptr;
    }
    const auto& rows = sections_[std::size_t(section)].rows;
    return row >= 0 && row < long(rows.size()) ? &rows[std::size_t(row)] : nullptr;
}

const LoadedTableRow* UITableViewRows::rowAtY(double y) const {
    for (const LoadedTableSection& section : sections_) {
        if (y < section.rowsY || y >= section.rowsY + section.rowsHeight) {
            continue;
        }
        auto after =
            std::upper_bound(section.rows.begin(), section.rows.end(), y,
                             [](double at, const LoadedTableRow& row) { return at < row.y; });
        if (after != section.rows.begin() && y < std::prev(after)->y + std::prev(after)->height) {
            return &*std::prev(after);
        }
    }
    return nullptr;
}

std::pair<std::size_t, std::size_t> UITableViewRows::rowsBetween(std::size_t section, double top,
                                                                 double bottom) const {
    const auto& rows = sections_[section].rows;
    // Rows lie top to bottom: those before the range end above it, those after start below.
    auto first = std::partition_point(rows.begin(), rows.end(), [top](const LoadedTableRow& row) {
        return !overlaps(row, top, std::numeric_limits<double>::infinity());
    });
    auto end = std::partition_point(first, rows.end(), [top, bottom](const LoadedTableRow& row) {
        return overlaps(row, top, bottom);
    });
    return {std::size_t(first - rows.begin()), std::size_t(end - rows.begin())};
}

void UITableViewRows::forEach(const std::function<void(LoadedTableRow&)>& visit) {
    for (auto& section : sections_) {
        for (auto& row : section.rows) {
            visit(row);
        }
    }
}

void UITableViewRows::forEach(const std::function<void(const LoadedTableRow&)>& visit) const {
    for (const auto& section : sections_) {
        for (const auto& row : section.rows) {
            visit(row);
        }
    }
}

bool UITableViewRows::overlaps(const LoadedTableRow& row, double top, double bottom) {
    return row.y < bottom && row.y + std::max(row.height, 1.0) > top;
}

double UITableViewRows::layout(double top, double width) {
    double y = top;
    for (auto& section : sections_) {
        placeSectionView(section.headerView.get(), y, width, section.headerHeight);
        y += section.headerHeight;
        section.rowsY = y;
        for (auto& row : section.rows) {
            row.y = y;
            placeSectionView(row.cell.get(), y, width, row.height);
            y += row.height;
        }
        section.rowsHeight = y - section.rowsY;
        placeSectionView(section.footerView.get(), y, width, section.footerHeight);
        y += section.footerHeight;
    }
    return y;
}

// A final position: within the rows of another section, or up to its end; within the
// other rows of the row's own section.
bool UITableViewRows::isValidMove(const NSIndexPath& from, const NSIndexPath& to) const {
    long section = to.section();
    if (!namesTableRow(to) || section < 0 || section >= long(sections_.size()) || to.row() < 0) {
        return false;
    }
    long rows = long(sections_[std::size_t(section)].rows.size());
    long last = section == from.section() ? rows - 1 : rows;
    return to.row() <= last;
}

void UITableViewRows::move(const NSIndexPath& from, const NSIndexPath& to) {
    auto& source = sections_[std::size_t(from.section())].rows;
    LoadedTableRow moved = std::move(source[std::size_t(from.row())]);
    source.erase(source.begin() + from.row());
    auto& destination = sections_[std::size_t(to.section())].rows;
    destination.insert(destination.begin() + to.row(), std::move(moved));
    for (long section : {from.section(), to.section()}) {
        auto& rows = sections_[std::size_t(section)].rows;
        for (std::size_t row = 0; row < rows.size(); ++row) {
            rows[row].indexPath = NSIndexPath::indexPathForRow(long(row), section);
        }
    }
}
