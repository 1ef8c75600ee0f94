#include "platform/ui/UITableView.h"

#include <algorithm>

#include "platform/ui/UIScreen.h"
#include "platform/ui/UITableViewSectionLoader.h"

namespace {

// A data source that reloads from inside every load would never finish.
constexpr int maximumNestedReloads = 8;

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
    selection().dropIfNotAllowed();
    cells_.applyEditingStates();
}

void UITableView::setAllowsSelection(bool allows) {
    allowsSelection_ = allows;
    selection().dropIfNotAllowed();
}

void UITableView::setAllowsSelectionDuringEditing(bool allows) {
    allowsSelectionDuringEditing_ = allows;
    selection().dropIfNotAllowed();
}

void UITableView::setAllowsMultipleSelection(bool allows) {
    allowsMultipleSelection_ = allows;
}

void UITableView::setAllowsMultipleSelectionDuringEditing(bool allows) {
    allowsMultipleSelectionDuringEditing_ = allows;
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
    reloading_ = true;
    int rounds = 0;
    do {
        reloadRequested_ = false;
        load();
    } while (reloadRequested_ && ++rounds < maximumNestedReloads);
    reloading_ = false;
}

void UITableView::load() {
    loading_ = true;
    ++reloadGeneration_;
    cells_.recycleAll();
    rows_.clear();
    cells_.forgetRanges();
    long count = dataSource_ ? std::max(0L, dataSource_->numberOfSectionsInTableView(this)) : 0;
    std::vector<long> rows;
    for (long section = 0; section < count; ++section) {
        rows.push_back(std::max(0L, dataSource_->numberOfRowsInSection(this, section)));
    }
    UITableViewSectionLoader loader(*this);
    for (long section = 0; section < count; ++section) {
        rows_.sections().push_back(loader.load(section, rows[std::size_t(section)]));
    }
    loaded_ = true;
    loading_ = false;
    layoutRows();
}

// The visible height: the table's own, or the screen's before the table is laid out.
double UITableView::shownHeight() const {
    double height = bounds().size.height;
    return height > 0 ? height : UIScreen::mainScreen().bounds().size.height;
}

// Cells for the rows within a screen's worth above and below the visible bounds; the others
// go back for reuse first, so that the rows coming into range can take them. At either end of
// the content the margin that would lie beyond it goes to the other side, so a table of up to
// three screens has every row made wherever it is scrolled. The range is counted from the top
// inset, so that a page whose bars arrive after it loaded (its safe area grows, and with it
// the offset a new page rests at) keeps the cells it made.
void UITableView::updateShownRows() {
    if (!loaded_ || loading_ || !dataSource_) {
        return;
    }
    double height = shownHeight();
    double shownTop = contentOffset().y + adjustedContentInset().top;
    double top = std::clamp(shownTop - height, 0.0, std::max(0.0, contentHeight_ - 3 * height));
    double bottom = top + 3 * height;
    std::vector<LoadedTableRow*> entering = cells_.moveRange(top, bottom);
    // A data source that reloads while filling a cell reloads once the cells are made, so
    // that the rows entering stay valid meanwhile.
    loading_ = true;
    for (LoadedTableRow* row : entering) {
        cells_.show(*row);
    }
    loading_ = false;
    if (reloadRequested_ && !reloading_) {
        reloadData();
    }
}

UITableViewCellPtr UITableView::dequeueReusableCellWithIdentifier(const std::string& identifier) {
    return cells_.dequeue(identifier);
}

void UITableView::traitCollectionDidChange(const UITraitCollection& previous) {
    UIScrollView::traitCollectionDidChange(previous);
    cells_.updateWaitingTraits();
    if (loaded_) {
        reloadData();
    }
}

// ---- Layout: table header, then each section's header, rows and footer, then table footer.

void UITableView::layoutRows() {
    double width = bounds().size.width;
    double y = 0;
    if (tableHeaderView_) {
        y = tableHeaderView_->frame().size.height;
        tableHeaderView_->setFrame(CGRectMake(0, 0, width, y));
    }
    y = rows_.layout(y, width);
    if (tableFooterView_) {
        double height = tableFooterView_->frame().size.height;
        tableFooterView_->setFrame(CGRectMake(0, y, width, height));
        y += height;
    }
    contentHeight_ = y;
    updateShownRows();
}

void UITableView::setFrame(CGRect frame) {
    bool resized = frame.size != this->frame().size;
    UIScrollView::setFrame(frame);
    if (resized) {
        layoutRows();
    }
}

void UITableView::contentOffsetDidChange() {
    updateShownRows();
}

// ---- Queries

long UITableView::numberOfSections() {
    ensureLoaded();
    return long(rows_.sections().size());
}

long UITableView::numberOfRowsInSection(long section) {
    ensureLoaded();
    const auto& sections = rows_.sections();
    if (section < 0 || section >= long(sections.size())) {
        return 0;
    }
    return long(sections[std::size_t(section)].rows.size());
}

LoadedTableRow* UITableView::findRow(const NSIndexPath& indexPath) {
    ensureLoaded();
    return rows_.find(indexPath);
}

// The row with its cell: a row out of range is scrolled into view first, as a user would
// before touching it.
LoadedTableRow* UITableView::rowWithCell(const NSIndexPath& indexPath) {
    LoadedTableRow* row = findRow(indexPath);
    if (row && !row->cell) {
        scrollToRowAtIndexPath(indexPath, UITableViewScrollPositionNone, false);
    }
    return row && row->cell ? row : nullptr;
}

UITableViewCellPtr UITableView::cellForRowAtIndexPath(const NSIndexPath& indexPath) {
    LoadedTableRow* row = findRow(indexPath);
    return row ? row->cell : nullptr;
}

std::optional<NSIndexPath> UITableView::indexPathForCell(const UITableViewCell* cell) {
    ensureLoaded();
    std::optional<NSIndexPath> found;
    rows_.forEach([&](LoadedTableRow& row) {
        if (cell && row.cell.get() == cell) {
            found = row.indexPath;
        }
    });
    return found;
}

std::optional<NSIndexPath> UITableView::indexPathForRowAtPoint(CGPoint point) {
    ensureLoaded();
    if (point.x < 0 || point.x >= bounds().size.width) {
        return std::nullopt;
    }
    const LoadedTableRow* row = rows_.rowAtY(point.y);
    return row ? std::optional(row->indexPath) : std::nullopt;
}

std::vector<UITableViewCellPtr> UITableView::visibleCells() {
    std::vector<UITableViewCellPtr> cells;
    for (const NSIndexPath& path : indexPathsForVisibleRows()) {
        cells.push_back(findRow(path)->cell);
    }
    return cells;
}

std::vector<NSIndexPath> UITableView::indexPathsForVisibleRows() {
    const std::vector<LoadedTableSection>& sections = snapshot();
    std::vector<NSIndexPath> paths;
    const UITableViewCells::ShownRanges& ranges = cells_.shownRanges();
    for (std::size_t section = 0; section < ranges.size(); ++section) {
        for (std::size_t row = ranges[section].first; row < ranges[section].second; ++row) {
            paths.push_back(sections[section].rows[row].indexPath);
        }
    }
    return paths;
}

CGRect UITableView::rectForRowAtIndexPath(const NSIndexPath& indexPath) {
    LoadedTableRow* row = findRow(indexPath);
    return row ? CGRectMake(0, row->y, bounds().size.width, row->height) : CGRectZero;
}

void UITableView::scrollToRowAtIndexPath(const NSIndexPath& indexPath,
                                         UITableViewScrollPosition position, bool) {
    const LoadedTableRow* row = findRow(indexPath);
    if (!row) {
        return;
    }
    UIEdgeInsets inset = adjustedContentInset();
    double shown = bounds().size.height - inset.top - inset.bottom;
    double current = contentOffset().y + inset.top;  // the content's y at the top of the view
    double wanted = current;
    if (position == UITableViewScrollPositionTop) {
        wanted = row->y;
    } else if (position == UITableViewScrollPositionMiddle) {
        wanted = row->y + row->height / 2 - shown / 2;
    } else if (position == UITableViewScrollPositionBottom) {
        wanted = row->y + row->height - shown;
    } else if (row->y < current) {
        wanted = row->y;
    } else if (row->y + row->height > current + shown) {
        wanted = row->y + row->height - shown;
    }
    userScrolledTo(CGPointMake(contentOffset().x, wanted - inset.top));
}

UIViewPtr UITableView::headerViewForSection(long section) {
    ensureLoaded();
    const auto& sections = rows_.sections();
    if (section < 0 || section >= long(sections.size())) {
        return nullptr;
    }
    return sections[std::size_t(section)].headerView;
}

UIViewPtr UITableView::footerViewForSection(long section) {
    ensureLoaded();
    const auto& sections = rows_.sections();
    if (section < 0 || section >= long(sections.size())) {
        return nullptr;
    }
    return sections[std::size_t(section)].footerView;
}

CGSize UITableView::contentSize() {
    ensureLoaded();
    return CGSizeMake(bounds().size.width, contentHeight_);
}

const std::vector<LoadedTableSection>& UITableView::snapshot() {
    ensureLoaded();
    updateShownRows();
    return rows_.sections();
}

// ---- Selection

UITableViewSelection UITableView::selection() {
    return UITableViewSelection(*this, rows_,
                                [this](const NSIndexPath& path) { return findRow(path); });
}

void UITableView::selectRowAtIndexPath(const NSIndexPath& indexPath, bool,
                                       UITableViewScrollPosition) {
    selection().select(indexPath);
}

void UITableView::deselectRowAtIndexPath(const NSIndexPath& indexPath, bool) {
    selection().deselect(indexPath);
}

std::optional<NSIndexPath> UITableView::indexPathForSelectedRow() const {
    std::vector<NSIndexPath> selected = indexPathsForSelectedRows();
    return selected.empty() ? std::nullopt : std::optional(selected.front());
}

std::vector<NSIndexPath> UITableView::indexPathsForSelectedRows() const {
    return UITableViewSelection::selectedIn(rows_);
}

bool UITableView::userTappedRow(const NSIndexPath& indexPath) {
    LoadedTableRow* row = rowWithCell(indexPath);
    return row && selection().userTapped(*row, indexPath);
}

bool UITableView::userTappedAccessoryButton(const NSIndexPath& indexPath) {
    LoadedTableRow* row = rowWithCell(indexPath);
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

bool UITableView::userMovedRow(const NSIndexPath& from, const NSIndexPath& to) {
    LoadedTableRow* row = rowWithCell(from);
    if (!editing_ || !row || !row->cell->showsReorderControl() || !rows_.isValidMove(from, to)) {
        return false;
    }
    std::uint64_t generation = reloadGeneration_;
    NSIndexPath target =
        delegate_ ? delegate_->targetIndexPathForMoveFromRowAtIndexPath(this, from, to) : to;
    if (!rows_.isValidMove(from, target) ||
        (target.section() == from.section() && target.row() == from.row())) {
        return false;
    }
    dataSource_->moveRowAtIndexPath(this, from, target);
    if (generation == reloadGeneration_) {  // else a reload has already shown the new order
        rows_.move(from, target);
        cells_.forgetRanges();
        layoutRows();
    }
    return true;
}

bool UITableView::offersDeleteForRowAtIndexPath(const NSIndexPath& indexPath) {
    LoadedTableRow* row = rowWithCell(indexPath);
    if (!row || row->cell->editingStyle() != UITableViewCellEditingStyleDelete) {
        return false;
    }
    return editing_ || dataSource_->respondsToCommitEditingStyle();
}

bool UITableView::userCommittedDelete(const NSIndexPath& indexPath) {
    LoadedTableRow* row = rowWithCell(indexPath);
    if (!row || row->cell->editingStyle() != UITableViewCellEditingStyleDelete) {
        return false;
    }
    dataSource_->commitEditingStyle(this, UITableViewCellEditingStyleDelete, indexPath);
    return true;
}
