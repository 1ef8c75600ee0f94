#include "platform/ui/UITableView.h"

#include <algorithm>

#include "platform/ui/UITableViewHeaderFooterView.h"

namespace {

constexpr double titledHeaderHeight = 28;
constexpr double groupedGapHeight = 18;
// A titled footer's text sits this far below the rows and above the next section.
constexpr double footerTextGap = 6;
// The text of a header or footer view is inset this far from each side of the section.
constexpr double sectionTextInset = 16;
// A data source that reloads from inside every load would never finish.
constexpr int maximumNestedReloads = 8;

bool namesRow(const NSIndexPath& indexPath) {
    return indexPath.length() >= 2;
}

}  // namespace

UITableView::UITableView(CGRect frame, UITableViewStyle style)
    : UIScrollView(frame), style_(style) {}

UITableView::~UITableView() = default;

void UITableView::setDataSource(UITableViewDataSource* dataSource) {
    if (dataSource != dataSource_) {
        dataSource_ = dataSource;
        loaded_ = false;
    }
}

void UITableView::setDelegate(UITableViewDelegate* delegate) {
    if (delegate != delegate_) {
        delegate_ = delegate;
        loaded_ = false;
    }
}

void UITableView::setRowHeight(double height) {
    rowHeight_ = height;
}

void UITableView::setSectionHeaderHeight(double height) {
    sectionHeaderHeight_ = height;
}

void UITableView::setSectionFooterHeight(double height) {
    sectionFooterHeight_ = height;
}

void UITableView::setTableHeaderView(UIViewPtr view) {
    if (view == tableHeaderView_) {
        return;
    }
    if (tableHeaderView_) {
        tableHeaderView_->removeFromSuperview();
    }
    tableHeaderView_ = std::move(view);
    if (tableHeaderView_) {
        addSubview(tableHeaderView_);
    }
    layoutRows();
}

void UITableView::setTableFooterView(UIViewPtr view) {
    if (view == tableFooterView_) {
        return;
    }
    if (tableFooterView_) {
        tableFooterView_->removeFromSuperview();
    }
    tableFooterView_ = std::move(view);
    if (tableFooterView_) {
        addSubview(tableFooterView_);
    }
    layoutRows();
}

void UITableView::setEditing(bool editing, bool) {
    if (editing == editing_) {
        return;
    }
    editing_ = editing;
    if (!selectionAllowed()) {
        deselectAllBut(nullptr, false);
    }
    for (auto& section : sections_) {
        for (auto& row : section.rows) {
            applyEditingState(row);
        }
    }
}

void UITableView::setAllowsSelection(bool allows) {
    allowsSelection_ = allows;
    if (!selectionAllowed()) {
        deselectAllBut(nullptr, false);
    }
}

void UITableView::setAllowsSelectionDuringEditing(bool allows) {
    allowsSelectionDuringEditing_ = allows;
    if (!selectionAllowed()) {
        deselectAllBut(nullptr, false);
    }
}

void UITableView::setAllowsMultipleSelection(bool allows) {
    allowsMultipleSelection_ = allows;
}

void UITableView::setAllowsMultipleSelectionDuringEditing(bool allows) {
    allowsMultipleSelectionDuringEditing_ = allows;
}

bool UITableView::selectionAllowed() const {
    return editing_ ? allowsSelectionDuringEditing_ : allowsSelection_;
}

bool UITableView::multipleSelectionAllowed() const {
    return editing_ ? allowsMultipleSelectionDuringEditing_ : allowsMultipleSelection_;
}

// ---- Loading

void UITableView::ensureLoaded() {
    if (!loaded_ && !loading_) {
        reloadData();
    }
}

void UITableView::reloadData() {
    if (loading_) {
        reloadRequested_ = true;  // loads again once the running load is done
        return;
    }
    int rounds = 0;
    do {
        reloadRequested_ = false;
        load();
    } while (reloadRequested_ && ++rounds < maximumNestedReloads);
}

void UITableView::load() {
    loading_ = true;
    ++reloadGeneration_;
    recycleCells();
    selected_.clear();
    sections_.clear();
    long count = dataSource_ ? std::max(0L, dataSource_->numberOfSectionsInTableView(this)) : 0;
    std::vector<long> rows;
    for (long section = 0; section < count; ++section) {
        rows.push_back(std::max(0L, dataSource_->numberOfRowsInSection(this, section)));
    }
    for (long section = 0; section < count; ++section) {
        sections_.push_back(loadSection(section, rows[std::size_t(section)]));
    }
    loaded_ = true;
    loading_ = false;
    layoutRows();
}

LoadedTableSection UITableView::loadSection(long section, long rows) {
    LoadedTableSection loaded;
    loadHeader(loaded, section);
    for (long row = 0; row < rows; ++row) {
        loaded.rows.push_back(loadRow(NSIndexPath::indexPathForRow(row, section)));
    }
    loadFooter(loaded, section);
    return loaded;
}

// The delegate's view, else a header view showing the title; the height as the delegate
// asks, else the table's section height when there is something to show.
void UITableView::loadHeader(LoadedTableSection& loaded, long section) {
    loaded.headerTitle = dataSource_->titleForHeaderInSection(this, section);
    loaded.headerView = delegate_ ? delegate_->viewForHeaderInSection(this, section) : nullptr;
    if (!loaded.headerView && loaded.headerTitle) {
        auto titled = std::make_shared<UITableViewHeaderFooterView>();
        titled->textLabel()->setText(*loaded.headerTitle);
        loaded.headerView = titled;
    }
    double asked = delegate_ ? delegate_->heightForHeaderInSection(this, section)
                             : UITableViewAutomaticDimension;
    loaded.headerHeight =
        resolvedHeaderHeight(asked, loaded.headerView != nullptr, sectionHeaderHeight_);
    if (loaded.headerView) {
        addSubview(loaded.headerView);
        if (delegate_ && loaded.headerHeight > 0) {
            delegate_->willDisplayHeaderView(this, loaded.headerView.get(), section);
        }
    }
}

void UITableView::loadFooter(LoadedTableSection& loaded, long section) {
    loaded.footerTitle = dataSource_->titleForFooterInSection(this, section);
    loaded.footerView = delegate_ ? delegate_->viewForFooterInSection(this, section) : nullptr;
    if (!loaded.footerView && loaded.footerTitle) {
        auto titled = std::make_shared<UITableViewHeaderFooterView>();
        titled->textLabel()->setText(*loaded.footerTitle);
        titled->textLabel()->setNumberOfLines(0);
        loaded.footerView = titled;
    }
    double asked = delegate_ ? delegate_->heightForFooterInSection(this, section)
                             : UITableViewAutomaticDimension;
    loaded.footerHeight =
        resolvedHeaderHeight(asked, loaded.footerView != nullptr, sectionFooterHeight_);
    auto* titled = dynamic_cast<UITableViewHeaderFooterView*>(loaded.footerView.get());
    if (asked < 0 && sectionFooterHeight_ < 0 && titled && loaded.footerTitle) {
        loaded.footerHeight = std::max(loaded.footerHeight, titledFooterHeight(*titled));
    }
    if (loaded.footerView) {
        addSubview(loaded.footerView);
        if (delegate_ && loaded.footerHeight > 0) {
            delegate_->willDisplayFooterView(this, loaded.footerView.get(), section);
        }
    }
}

// A footer title wraps at the width the section leaves its text, and the footer grows to hold
// every line with a gap above and below.
double UITableView::titledFooterHeight(const UITableViewHeaderFooterView& footer) const {
    double width = bounds().size.width - 2 * sectionTextInset;
    if (style_ == UITableViewStyleInsetGrouped) {
        width -= 2 * sectionTextInset;
    }
    CGSize text = footer.textLabel()->sizeThatFits(CGSizeMake(std::max(1.0, width), 0));
    return text.height + 2 * footerTextGap;
}

double UITableView::resolvedHeaderHeight(double asked, bool hasContent, double preset) const {
    if (asked >= 0) {
        return asked;
    }
    if (!hasContent) {
        return style_ == UITableViewStylePlain ? 0 : groupedGapHeight;
    }
    return preset >= 0 ? preset : titledHeaderHeight;
}

LoadedTableRow UITableView::loadRow(const NSIndexPath& indexPath) {
    LoadedTableRow row;
    row.indexPath = indexPath;
    double asked = delegate_ ? delegate_->heightForRowAtIndexPath(this, indexPath) : rowHeight_;
    row.height = asked >= 0 ? asked : std::max(0.0, rowHeight_);
    row.cell = dataSource_->cellForRowAtIndexPath(this, indexPath);
    if (!row.cell) {
        // The platform stops the app here; an empty row keeps the table usable instead.
        row.cell = std::make_shared<UITableViewCell>(UITableViewCellStyleDefault, "");
    }
    row.cell->removeFromSuperview();
    addSubview(row.cell);
    applyEditingState(row);
    if (delegate_) {
        delegate_->willDisplayCell(this, row.cell.get(), indexPath);
    }
    return row;
}

// A row that cannot be edited shows neither a delete control nor a reorder control.
void UITableView::applyEditingState(LoadedTableRow& row) {
    const NSIndexPath& path = row.indexPath;
    bool editable = dataSource_ && dataSource_->canEditRowAtIndexPath(this, path);
    auto style = UITableViewCellEditingStyleNone;
    bool indent = true;
    if (editable && delegate_) {
        style = delegate_->editingStyleForRowAtIndexPath(this, path);
        indent = delegate_->shouldIndentWhileEditingRowAtIndexPath(this, path);
    } else if (editable) {
        style = UITableViewCellEditingStyleDelete;
    }
    bool movable = editing_ && editable && dataSource_->respondsToMoveRowAtIndexPath() &&
                   dataSource_->canMoveRowAtIndexPath(this, path);
    row.cell->applyEditingState(editing_, style, movable, indent);
}

// From the last row to the first, the reverse of the order they were added in, so that each
// one leaves the end of the table's subviews.
void UITableView::recycleCells() {
    for (auto section = sections_.rbegin(); section != sections_.rend(); ++section) {
        if (section->footerView) {
            section->footerView->removeFromSuperview();
        }
        for (auto row = section->rows.rbegin(); row != section->rows.rend(); ++row) {
            row->cell->removeFromSuperview();
            if (!row->cell->reuseIdentifier().empty()) {
                reusePool_[row->cell->reuseIdentifier()].push_back(row->cell);
            }
        }
        if (section->headerView) {
            section->headerView->removeFromSuperview();
        }
    }
}

UITableViewCellPtr UITableView::dequeueReusableCellWithIdentifier(const std::string& identifier) {
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

void UITableView::traitCollectionDidChange(const UITraitCollection& previous) {
    UIScrollView::traitCollectionDidChange(previous);
    for (auto& [identifier, cells] : reusePool_) {
        for (const UITableViewCellPtr& cell : cells) {
            cell->updateTraitsIfNeeded();
        }
    }
    if (loaded_) {
        reloadData();
    }
}

// ---- Layout: table header, then each section's header, rows and footer, then table footer.

void UITableView::layoutRows() {
    double width = bounds().size.width;
    double y = 0;
    auto place = [&](UIView* view, double height) {
        if (view) {
            view->setFrame(CGRectMake(0, y, width, height));
        }
        y += height;
    };
    if (tableHeaderView_) {
        place(tableHeaderView_.get(), tableHeaderView_->frame().size.height);
    }
    for (auto& section : sections_) {
        place(section.headerView.get(), section.headerHeight);
        for (auto& row : section.rows) {
            row.y = y;
            place(row.cell.get(), row.height);
        }
        place(section.footerView.get(), section.footerHeight);
    }
    if (tableFooterView_) {
        place(tableFooterView_.get(), tableFooterView_->frame().size.height);
    }
    contentHeight_ = y;
}

void UITableView::setFrame(CGRect frame) {
    bool resized = frame.size != this->frame().size;
    UIScrollView::setFrame(frame);
    if (resized) {
        layoutRows();
    }
}

// ---- Queries

long UITableView::numberOfSections() {
    ensureLoaded();
    return long(sections_.size());
}

long UITableView::numberOfRowsInSection(long section) {
    ensureLoaded();
    if (section < 0 || section >= long(sections_.size())) {
        return 0;
    }
    return long(sections_[std::size_t(section)].rows.size());
}

LoadedTableRow* UITableView::findRow(const NSIndexPath& indexPath) {
    ensureLoaded();
    long section = indexPath.section();
    long row = indexPath.row();
    if (!namesRow(indexPath) || section < 0 || section >= long(sections_.size())) {
        return nullptr;
    }
    auto& rows = sections_[std::size_t(section)].rows;
    return row >= 0 && row < long(rows.size()) ? &rows[std::size_t(row)] : nullptr;
}

UITableViewCellPtr UITableView::cellForRowAtIndexPath(const NSIndexPath& indexPath) {
    LoadedTableRow* row = findRow(indexPath);
    return row ? row->cell : nullptr;
}

std::optional<NSIndexPath> UITableView::indexPathForCell(const UITableViewCell* cell) {
    ensureLoaded();
    for (auto& section : sections_) {
        for (auto& row : section.rows) {
            if (row.cell.get() == cell) {
                return row.indexPath;
            }
        }
    }
    return std::nullopt;
}

std::optional<NSIndexPath> UITableView::indexPathForRowAtPoint(CGPoint point) {
    ensureLoaded();
    if (point.x < 0 || point.x >= bounds().size.width) {
        return std::nullopt;
    }
    for (auto& section : sections_) {
        for (auto& row : section.rows) {
            if (point.y >= row.y && point.y < row.y + row.height) {
                return row.indexPath;
            }
        }
    }
    return std::nullopt;
}

std::vector<UITableViewCellPtr> UITableView::visibleCells() {
    ensureLoaded();
    std::vector<UITableViewCellPtr> cells;
    for (auto& section : sections_) {
        for (auto& row : section.rows) {
            cells.push_back(row.cell);
        }
    }
    return cells;
}

CGRect UITableView::rectForRowAtIndexPath(const NSIndexPath& indexPath) {
    LoadedTableRow* row = findRow(indexPath);
    return row ? CGRectMake(0, row->y, bounds().size.width, row->height) : CGRectZero;
}

UIViewPtr UITableView::headerViewForSection(long section) {
    ensureLoaded();
    if (section < 0 || section >= long(sections_.size())) {
        return nullptr;
    }
    return sections_[std::size_t(section)].headerView;
}

UIViewPtr UITableView::footerViewForSection(long section) {
    ensureLoaded();
    if (section < 0 || section >= long(sections_.size())) {
        return nullptr;
    }
    return sections_[std::size_t(section)].footerView;
}

CGSize UITableView::contentSize() {
    ensureLoaded();
    return CGSizeMake(bounds().size.width, contentHeight_);
}

const std::vector<LoadedTableSection>& UITableView::snapshot() {
    ensureLoaded();
    return sections_;
}

// ---- Selection

bool UITableView::isSelected(const NSIndexPath& indexPath) const {
    return std::find(selected_.begin(), selected_.end(), indexPath) != selected_.end();
}

void UITableView::markSelected(const NSIndexPath& indexPath, bool selected) {
    auto found = std::find(selected_.begin(), selected_.end(), indexPath);
    if (selected && found == selected_.end()) {
        selected_.push_back(indexPath);
    } else if (!selected && found != selected_.end()) {
        selected_.erase(found);
    }
    if (LoadedTableRow* row = findRow(indexPath)) {
        row->cell->setSelected(selected);
    }
}

void UITableView::selectRowAtIndexPath(const NSIndexPath& indexPath, bool,
                                       UITableViewScrollPosition) {
    if (!findRow(indexPath) || !selectionAllowed()) {
        return;
    }
    if (!multipleSelectionAllowed()) {
        deselectAllBut(&indexPath, false);
    }
    markSelected(indexPath, true);
}

void UITableView::deselectRowAtIndexPath(const NSIndexPath& indexPath, bool) {
    markSelected(indexPath, false);
}

std::optional<NSIndexPath> UITableView::indexPathForSelectedRow() const {
    if (selected_.empty()) {
        return std::nullopt;
    }
    return *std::min_element(selected_.begin(), selected_.end());
}

std::vector<NSIndexPath> UITableView::indexPathsForSelectedRows() const {
    std::vector<NSIndexPath> sorted = selected_;
    std::sort(sorted.begin(), sorted.end());
    return sorted;
}

void UITableView::deselectAllBut(const NSIndexPath* kept, bool tellDelegate) {
    for (const NSIndexPath& path : std::vector<NSIndexPath>(selected_)) {
        if (kept && path == *kept) {
            continue;
        }
        if (tellDelegate && delegate_) {
            userDeselectRow(path);
        } else {
            markSelected(path, false);
        }
    }
}

bool UITableView::userDeselectRow(const NSIndexPath& indexPath) {
    NSIndexPath target = indexPath;
    if (delegate_) {
        auto answer = delegate_->willDeselectRowAtIndexPath(this, indexPath);
        if (!answer) {
            return false;
        }
        target = *answer;
    }
    markSelected(target, false);
    if (delegate_) {
        delegate_->didDeselectRowAtIndexPath(this, target);
    }
    return true;
}

bool UITableView::userTappedRow(const NSIndexPath& indexPath) {
    LoadedTableRow* row = findRow(indexPath);
    if (!row || !row->cell->isUserInteractionEnabled() || !selectionAllowed()) {
        return false;
    }
    bool multiple = multipleSelectionAllowed();
    if (multiple && isSelected(indexPath)) {
        return userDeselectRow(indexPath);
    }
    NSIndexPath target = indexPath;
    if (delegate_) {
        auto answer = delegate_->willSelectRowAtIndexPath(this, indexPath);
        if (!answer || !findRow(*answer)) {
            return false;
        }
        target = *answer;
    }
    if (!multiple) {
        deselectAllBut(&target, true);
    }
    markSelected(target, true);
    if (delegate_) {
        delegate_->didSelectRowAtIndexPath(this, target);
    }
    return true;
}

bool UITableView::userTappedAccessoryButton(const NSIndexPath& indexPath) {
    LoadedTableRow* row = findRow(indexPath);
    if (!row || !delegate_) {
        return false;
    }
    auto type = row->cell->accessoryType();
    if (row->cell->accessoryView() || (type != UITableViewCellAccessoryDetailDisclosureButton &&
                                       type != UITableViewCellAccessoryDetailButton)) {
        return false;
    }
    delegate_->accessoryButtonTappedForRowWithIndexPath(this, indexPath);
    return true;
}

// ---- Editing

// A final position: within the rows of another section, or up to its end; within the
// other rows of the row's own section.
bool UITableView::isValidDestination(const NSIndexPath& from, const NSIndexPath& to) const {
    long section = to.section();
    if (!namesRow(to) || section < 0 || section >= long(sections_.size()) || to.row() < 0) {
        return false;
    }
    long rows = long(sections_[std::size_t(section)].rows.size());
    long last = section == from.section() ? rows - 1 : rows;
    return to.row() <= last;
}

bool UITableView::userMovedRow(const NSIndexPath& from, const NSIndexPath& to) {
    LoadedTableRow* row = findRow(from);
    if (!editing_ || !row || !row->cell->showsReorderControl() || !isValidDestination(from, to)) {
        return false;
    }
    std::uint64_t generation = reloadGeneration_;
    NSIndexPath target =
        delegate_ ? delegate_->targetIndexPathForMoveFromRowAtIndexPath(this, from, to) : to;
    if (!isValidDestination(from, target) ||
        (target.section() == from.section() && target.row() == from.row())) {
        return false;
    }
    dataSource_->moveRowAtIndexPath(this, from, target);
    if (generation == reloadGeneration_) {
        moveLoadedRow(from, target);  // a reload has already shown the new order
    }
    return true;
}

void UITableView::moveLoadedRow(const NSIndexPath& from, const NSIndexPath& to) {
    auto& source = sections_[std::size_t(from.section())].rows;
    LoadedTableRow moved = std::move(source[std::size_t(from.row())]);
    source.erase(source.begin() + from.row());
    auto& destination = sections_[std::size_t(to.section())].rows;
    destination.insert(destination.begin() + to.row(), std::move(moved));
    // The selection follows the cells to their new positions.
    renumberRows();
    selected_.clear();
    for (auto& section : sections_) {
        for (auto& row : section.rows) {
            if (row.cell->isSelected()) {
                selected_.push_back(row.indexPath);
            }
        }
    }
    layoutRows();
}

void UITableView::renumberRows() {
    for (std::size_t section = 0; section < sections_.size(); ++section) {
        auto& rows = sections_[section].rows;
        for (std::size_t row = 0; row < rows.size(); ++row) {
            rows[row].indexPath = NSIndexPath::indexPathForRow(long(row), long(section));
        }
    }
}

bool UITableView::offersDeleteForRowAtIndexPath(const NSIndexPath& indexPath) {
    LoadedTableRow* row = findRow(indexPath);
    if (!row || row->cell->editingStyle() != UITableViewCellEditingStyleDelete) {
        return false;
    }
    return editing_ || dataSource_->respondsToCommitEditingStyle();
}

bool UITableView::userCommittedDelete(const NSIndexPath& indexPath) {
    LoadedTableRow* row = findRow(indexPath);
    if (!row || row->cell->editingStyle() != UITableViewCellEditingStyleDelete) {
        return false;
    }
    dataSource_->commitEditingStyle(this, UITableViewCellEditingStyleDelete, indexPath);
    return true;
}
