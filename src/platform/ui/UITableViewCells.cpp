#include "platform/ui/UITableViewCells.h"

#include "platform/ui/UITableView.h"

std::vector<LoadedTableRow*> UITableViewCells::moveRange(double top, double bottom) {
    auto& sections = rows_.sections();
    if (shownRanges_.size() != sections.size()) {
        hideOutside(top, bottom);
    }
    std::vector<LoadedTableRow*> entering;
    for (std::size_t section = 0; section < sections.size(); ++section) {
        auto& rows = sections[section].rows;
        auto [first, end] = rows_.rowsBetween(section, top, bottom);
        auto [was, wasEnd] = shownRanges_[section];
        for (std::size_t row = was; row < wasEnd; ++row) {
            if ((row < first || row >= end) && rows[row].cell) {
                hide(rows[row]);
            }
        }
        for (std::size_t row = first; row < end; ++row) {
            if (!rows[row].cell) {
                entering.push_back(&rows[row]);
            }
        }
        shownRanges_[section] = {first, end};
    }
    return entering;
}

void UITableViewCells::show(LoadedTableRow& row) {
    row.cell = table_.dataSource()->cellForRowAtIndexPath(&table_, row.indexPath);
    if (!row.cell) {
        // The platform stops the app here; an empty row keeps the table usable instead.
        row.cell = std::make_shared<UITableViewCell>(UITableViewCellStyleDefault, "");
    }
    row.cell->removeFromSuperview();
    table_.addSubview(row.cell);
    row.cell->setFrame(CGRectMake(0, row.y, table_.bounds().size.width, row.height));
    row.cell->setSelected(row.selected);
    applyEditingState(row);
    if (UITableViewDelegate* delegate = table_.delegate()) {
        delegate->willDisplayCell(&table_, row.cell.get(), row.indexPath);
    }
}

// Every row is looked at once.
void UITableViewCells::hideOutside(double top, double bottom) {
    rows_.forEach([&](LoadedTableRow& row) {
        if (row.cell && !UITableViewRows::overlaps(row, top, bottom)) {
            hide(row);
        }
    });
    shownRanges_.assign(rows_.sections().size(), {0, 0});
}

void UITableViewCells::hide(LoadedTableRow& row) {
    UITableViewCellPtr cell = std::move(row.cell);
    row.cell = nullptr;
    cell->removeFromSuperview();
    if (!cell->reuseIdentifier().empty()) {
        reusePool_[cell->reuseIdentifier()].push_back(std::move(cell));
    }
}

// A row that cannot be edited shows neither a delete control nor a reorder control.
void UITableViewCells::applyEditingState(LoadedTableRow& row) {
    const NSIndexPath& path = row.indexPath;
    UITableViewDataSource* dataSource = table_.dataSource();
    UITableViewDelegate* delegate = table_.delegate();
    bool editable = dataSource && dataSource->canEditRowAtIndexPath(&table_, path);
    auto style = UITableViewCellEditingStyleNone;
    bool indent = true;
    if (editable && delegate) {
        style = delegate->editingStyleForRowAtIndexPath(&table_, path);
        indent = delegate->shouldIndentWhileEditingRowAtIndexPath(&table_, path);
    } else if (editable) {
        style = UITableViewCellEditingStyleDelete;
    }
    bool editing = table_.isEditing();
    bool movable = editing && editable && dataSource->respondsToMoveRowAtIndexPath() &&
                   dataSource->canMoveRowAtIndexPath(&table_, path);
    row.cell->applyEditingState(editing, style, movable, indent);
}

void UITableViewCells::applyEditingStates() {
    rows_.forEach([this](LoadedTableRow& row) {
        if (row.cell) {
            applyEditingState(row);
        }
    });
}

// From the last row to the first, the reverse of the order they were added in, so that each
// one leaves the end of the table's subviews.
void UITableViewCells::recycleAll() {
    auto& sections = rows_.sections();
    for (auto section = sections.rbegin(); section != sections.rend(); ++section) {
        if (section->footerView) {
            section->footerView->removeFromSuperview();
        }
        for (auto row = section->rows.rbegin(); row != section->rows.rend(); ++row) {
            if (row->cell) {
                hide(*row);
            }
        }
        if (section->headerView) {
            section->headerView->removeFromSuperview();
        }
    }
}

UITableViewCellPtr UITableViewCells::dequeue(const std::string& identifier) {
    auto found = reusePool_.find(identifier);
    if (found == reusePool_.end() || found->second.empty()) {
        return nullptr;
    }
    UITableViewCellPtr cell = std::move(found->second.back());
    found->second.pop_back();
    cell->updateTraitsIfNeeded();
    cell->prepareForReuse();
    return cell;
}

void UITableViewCells::updateWaitingTraits() {
    for (auto& [identifier, cells] : reusePool_) {
        for (const UITableViewCellPtr& cell : cells) {
            cell->updateTraitsIfNeeded();
        }
    }
}
