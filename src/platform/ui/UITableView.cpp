#include "platform/ui/UITableView.h"

#include <algorithm>

#include "platform/ui/UIScreen.h"
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
    rows_.forEach([this](LoadedTableRow& row) {
        if (row.cell) {
            applyEditingState(row);
        }
    });
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
    recycleCells();
    rows_.clear();
    shownRanges_.clear();
    long count = dataSource_ ? std::max(0L, dataSource_->numberOfSectionsInTableView(this)) : 0;
    std::vector<long> rows;
    for (long section = 0; section < count; ++section) {
        rows.push_back(std::max(0L, dataSource_->numberOfRowsInSection(this, section)));
    }
    for (long section = 0; section < count; ++section) {
        rows_.sections().push_back(loadSection(section, rows[std::size_t(section)]));
    }
    loaded_ = true;
    loading_ = false;
    layoutRows();
}

LoadedTableSection UITableView::loadSection(long section, long rows) {
    LoadedTableSection loaded;
    loadHeader(loaded, section);
    loaded.rows.reserve(std::size_t(rows));
    for (long row = 0; row < rows; ++row) {
        NSIndexPath path = NSIndexPath::indexPathForRow(row, section);
        loaded.rows.push_back({path, 0, rowHeightAt(path), false, nullptr});
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

double UITableView::rowHeightAt(const NSIndexPath& indexPath) {
    double asked = delegate_ ? delegate_->heightForRowAtIndexPath(this, indexPath) : rowHeight_;
    return asked >= 0 ? asked : std::max(0.0, rowHeight_);
}

// The row came into range: the data source fills a cell for it, which takes the row's place,
// selection and editing state.
void UITableView::showCell(LoadedTableRow& row) {
    row.cell = dataSource_->cellForRowAtIndexPath(this, row.indexPath);
    if (!row.cell) {
        // The platform stops the app here; an empty row keeps the table usable instead.
        row.cell = std::make_shared<UITableViewCell>(UITableViewCellStyleDefault, "");
    }
    row.cell->removeFromSuperview();
    addSubview(row.cell);
    row.cell->setFrame(CGRectMake(0, row.y, bounds().size.width, row.height));
    row.cell->setSelected(row.selected);
    applyEditingState(row);
    if (delegate_) {
        delegate_->willDisplayCell(this, row.cell.get(), row.indexPath);
    }
}

// After a load or a move the rows made are not known by range: every row is looked at once.
void UITableView::hideCellsOutside(double top, double bottom) {
    rows_.forEach([&](LoadedTableRow& row) {
        if (row.cell && !UITableViewRows::overlaps(row, top, bottom)) {
            hideCell(row);
        }
    });
    shownRanges_.assign(rows_.sections().size(), {0, 0});
}

void UITableView::hideCell(LoadedTableRow& row) {
    UITableViewCellPtr cell = std::move(row.cell);
    row.cell = nullptr;
    cell->removeFromSuperview();
    if (!cell->reuseIdentifier().empty()) {
        reusePool_[cell->reuseIdentifier()].push_back(std::move(cell));
    }
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
    auto& sections = rows_.sections();
    if (shownRanges_.size() != sections.size()) {
        hideCellsOutside(top, bottom);
    }
    std::vector<LoadedTableRow*> entering;
    for (std::size_t section = 0; section < sections.size(); ++section) {
        auto& rows = sections[section].rows;
        auto [first, end] = rows_.rowsBetween(section, top, bottom);
        auto [was, wasEnd] = shownRanges_[section];
        for (std::size_t row = was; row < wasEnd; ++row) {
            if ((row < first || row >= end) && rows[row].cell) {
                hideCell(rows[row]);
            }
        }
        for (std::size_t row = first; row < end; ++row) {
            if (!rows[row].cell) {
                entering.push_back(&rows[row]);
            }
        }
        shownRanges_[section] = {first, end};
    }
    // A data source that reloads while filling a cell reloads once the cells are made, so
    // that the rows entering stay valid meanwhile.
    loading_ = true;
    for (LoadedTableRow* row : entering) {
        showCell(*row);
    }
    loading_ = false;
    if (reloadRequested_ && !reloading_) {
        reloadData();
    }
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
    auto& sections = rows_.sections();
    for (auto section = sections.rbegin(); section != sections.rend(); ++section) {
        if (section->footerView) {
            section->footerView->removeFromSuperview();
        }
        for (auto row = section->rows.rbegin(); row != section->rows.rend(); ++row) {
            if (row->cell) {
                hideCell(*row);
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
    for (std::size_t section = 0; section < shownRanges_.size(); ++section) {
        for (std::size_t row = shownRanges_[section].first; row < shownRanges_[section].second;
             ++row) {
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

// ---- Selection: each row keeps its own mark, so that it follows the row through moves and
// holds while the row has no cell.

void UITableView::markSelected(LoadedTableRow& row, bool selected) {
    row.selected = selected;
    if (row.cell) {
        row.cell->setSelected(selected);
    }
}

void UITableView::selectRowAtIndexPath(const NSIndexPath& indexPath, bool,
                                       UITableViewScrollPosition) {
    LoadedTableRow* row = findRow(indexPath);
    if (!row || !selectionAllowed()) {
        return;
    }
    if (!multipleSelectionAllowed()) {
        deselectAllBut(&indexPath, false);
    }
    markSelected(*row, true);
}

void UITableView::deselectRowAtIndexPath(const NSIndexPath& indexPath, bool) {
    if (LoadedTableRow* row = findRow(indexPath)) {
        markSelected(*row, false);
    }
}

std::optional<NSIndexPath> UITableView::indexPathForSelectedRow() const {
    std::vector<NSIndexPath> selected = indexPathsForSelectedRows();
    return selected.empty() ? std::nullopt : std::optional(selected.front());
}

std::vector<NSIndexPath> UITableView::indexPathsForSelectedRows() const {
    std::vector<NSIndexPath> paths;
    rows_.forEach([&](const LoadedTableRow& row) {
        if (row.selected) {
            paths.push_back(row.indexPath);
        }
    });
    return paths;
}

void UITableView::deselectAllBut(const NSIndexPath* kept, bool tellDelegate) {
    for (const NSIndexPath& path : indexPathsForSelectedRows()) {
        if (kept && path == *kept) {
            continue;
        }
        if (tellDelegate && delegate_) {
            userDeselectRow(path);
        } else {
            deselectRowAtIndexPath(path, false);
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
    deselectRowAtIndexPath(target, false);
    if (delegate_) {
        delegate_->didDeselectRowAtIndexPath(this, target);
    }
    return true;
}

bool UITableView::userTappedRow(const NSIndexPath& indexPath) {
    LoadedTableRow* row = rowWithCell(indexPath);
    if (!row || !row->cell->isUserInteractionEnabled() || !selectionAllowed()) {
        return false;
    }
    bool multiple = multipleSelectionAllowed();
    if (multiple && row->selected) {
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
    if (LoadedTableRow* chosen = findRow(target)) {
        markSelected(*chosen, true);
    }
    if (delegate_) {
        delegate_->didSelectRowAtIndexPath(this, target);
    }
    return true;
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
        shownRanges_.clear();
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
