#include "platform/ui/UITableViewSelection.h"

#include "platform/ui/UITableView.h"

void UITableViewSelection::mark(LoadedTableRow& row, bool selected) {
    row.selected = selected;
    if (row.cell) {
        row.cell->setSelected(selected);
    }
}

bool UITableViewSelection::allowed() const {
    return table_.isEditing() ? table_.allowsSelectionDuringEditing() : table_.allowsSelection();
}

bool UITableViewSelection::multipleAllowed() const {
    return table_.isEditing() ? table_.allowsMultipleSelectionDuringEditing()
                              : table_.allowsMultipleSelection();
}

void UITableViewSelection::dropIfNotAllowed() {
    if (!allowed()) {
        deselectAllBut(nullptr, false);
    }
}

void UITableViewSelection::select(const NSIndexPath& indexPath) {
    LoadedTableRow* row = find_(indexPath);
    if (!row || !allowed()) {
        return;
    }
    if (!multipleAllowed()) {
        deselectAllBut(&indexPath, false);
    }
    mark(*row, true);
}

void UITableViewSelection::deselect(const NSIndexPath& indexPath) {
    if (LoadedTableRow* row = find_(indexPath)) {
        mark(*row, false);
    }
}

std::vector<NSIndexPath> UITableViewSelection::selectedIn(const UITableViewRows& rows) {
    std::vector<NSIndexPath> paths;
    rows.forEach([&](const LoadedTableRow& row) {
        if (row.selected) {
            paths.push_back(row.indexPath);
        }
    });
    return paths;
}

void UITableViewSelection::deselectAllBut(const NSIndexPath* kept, bool tellDelegate) {
    for (const NSIndexPath& path : selectedIn(rows_)) {
        if (kept && path == *kept) {
            continue;
        }
        if (tellDelegate && table_.delegate()) {
            userDeselect(path);
        } else {
            deselect(path);
        }
    }
}

bool UITableViewSelection::userDeselect(const NSIndexPath& indexPath) {
    NSIndexPath target = indexPath;
    if (table_.delegate()) {
        auto answer = table_.delegate()->willDeselectRowAtIndexPath(&table_, indexPath);
        if (!answer) {
            return false;
        }
        target = *answer;
    }
    deselect(target);
    if (table_.delegate()) {
        table_.delegate()->didDeselectRowAtIndexPath(&table_, target);
    }
    return true;
}

bool UITableViewSelection::userTapped(LoadedTableRow& row, const NSIndexPath& indexPath) {
    if (!row.cell->isUserInteractionEnabled() || !allowed()) {
        return false;
    }
    bool multiple = multipleAllowed();
    if (multiple && row.selected) {
        return userDeselect(indexPath);
    }
    NSIndexPath target = indexPath;
    if (table_.delegate()) {
        auto answer = table_.delegate()->willSelectRowAtIndexPath(&table_, indexPath);
        if (!answer || !find_(*answer)) {
            return false;
        }
        target = *answer;
    }
    if (!multiple) {
        deselectAllBut(&target, true);
    }
    if (LoadedTableRow* chosen = find_(target)) {
        mark(*chosen, true);
    }
    if (table_.delegate()) {
        table_.delegate()->didSelectRowAtIndexPath(&table_, target);
    }
    return true;
}
