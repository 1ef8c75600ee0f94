#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/ui/NSIndexPath.h"
#include "platform/ui/UIScrollView.h"
#include "platform/ui/UITableViewCell.h"
#include "platform/ui/UITableViewCells.h"
#include "platform/ui/UITableViewDataSource.h"
#include "platform/ui/UITableViewDelegate.h"
#include "platform/ui/UITableViewRows.h"
#include "platform/ui/UITableViewSelection.h"

enum UITableViewStyle : long {
    UITableViewStylePlain = 0,
    UITableViewStyleGrouped = 1,
    UITableViewStyleInsetGrouped = 2,
};

enum UITableViewScrollPosition : long {
    UITableViewScrollPositionNone = 0,
    UITableViewScrollPositionTop = 1,
    UITableViewScrollPositionMiddle = 2,
    UITableViewScrollPositionBottom = 3,
};

// A list of sections of rows, laid out top to bottom in explicit frames. When it loads
// (reloadData, or first use) the table asks for the counts, every header and footer and every
// row's height, so its content size is known; it asks for cells only for the rows in and near
// its visible bounds (a screen's worth above and below), and as the content offset moves it
// hands the cells that leave that range back for reuse and asks for the rows that enter it.
// The data source and delegate are not owned. The user... operations stand for touches and
// deliver them as the platform does; one on a row without a cell scrolls the row into view.
class UITableView : public UIScrollView {
  public:
    UITableView(CGRect frame, UITableViewStyle style);
    ~UITableView() override;
    std::string className() const override { return "UITableView"; }

    UITableViewStyle style() const { return style_; }
    UITableViewDataSource* dataSource() const { return dataSource_; }
    void setDataSource(UITableViewDataSource* dataSource);
    UITableViewDelegate* delegate() const { return delegate_; }
    void setDelegate(UITableViewDelegate* delegate);

    double rowHeight() const { return rowHeight_; }
    void setRowHeight(double height);
    double sectionHeaderHeight() const { return sectionHeaderHeight_; }
    void setSectionHeaderHeight(double height);
    double sectionFooterHeight() const { return sectionFooterHeight_; }
    void setSectionFooterHeight(double height);
    const UIViewPtr& tableHeaderView() const { return tableHeaderView_; }
    void setTableHeaderView(UIViewPtr view);
    const UIViewPtr& tableFooterView() const { return tableFooterView_; }
    void setTableFooterView(UIViewPtr view);

    bool isEditing() const { return editing_; }
    void setEditing(bool editing, bool animated = false);
    bool allowsSelection() const { return allowsSelection_; }
    void setAllowsSelection(bool allows);
    bool allowsSelectionDuringEditing() const { return allowsSelectionDuringEditing_; }
    void setAllowsSelectionDuringEditing(bool allows);
    bool allowsMultipleSelection() const { return allowsMultipleSelection_; }
    void setAllowsMultipleSelection(bool allows);
    bool allowsMultipleSelectionDuringEditing() const {
        return allowsMultipleSelectionDuringEditing_;
    }
    void setAllowsMultipleSelectionDuringEditing(bool allows);

    // Asks the data source again for everything; clears the selection.
    void reloadData();
    // Grows with every load, so a host can tell when to render again.
    std::uint64_t reloadGeneration() const { return reloadGeneration_; }

    long numberOfSections();
    long numberOfRowsInSection(long section);
    // The cell of a row in or near the visible bounds; null for any other path.
    UITableViewCellPtr cellForRowAtIndexPath(const NSIndexPath& indexPath);
    std::optional<NSIndexPath> indexPathForCell(const UITableViewCell* cell);
    // The row under a point in the table's coordinates.
    std::optional<NSIndexPath> indexPathForRowAtPoint(CGPoint point);
    // The cells made: those of the rows in and near the visible bounds, top to bottom.
    std::vector<UITableViewCellPtr> visibleCells();
    std::vector<NSIndexPath> indexPathsForVisibleRows();
    // Moves the content offset (within what a drag reaches) so that the row shows at the
    // position asked; None scrolls only as far as the row needs to show whole.
    void scrollToRowAtIndexPath(const NSIndexPath& indexPath, UITableViewScrollPosition position,
                                bool animated);
    CGRect rectForRowAtIndexPath(const NSIndexPath& indexPath);
    UIViewPtr headerViewForSection(long section);
    UIViewPtr footerViewForSection(long section);
    CGSize contentSize() override;

    // A cell that left the table in an earlier load, ready to be filled again; null if none.
    UITableViewCellPtr dequeueReusableCellWithIdentifier(const std::string& identifier);

    // Selection from code: no delegate calls, as on the platform.
    void selectRowAtIndexPath(const NSIndexPath& indexPath, bool animated,
                              UITableViewScrollPosition position);
    void deselectRowAtIndexPath(const NSIndexPath& indexPath, bool animated);
    std::optional<NSIndexPath> indexPathForSelectedRow() const;
    std::vector<NSIndexPath> indexPathsForSelectedRows() const;

    // A tap on a row: willSelect, the selection rules, then didSelect. False when the tap
    // selects nothing (no such row, a row that ignores touches, selection not allowed,
    // refused by willSelect).
    bool userTappedRow(const NSIndexPath& indexPath);
    // A drag of a row's reorder control to a final position: only while editing and for a
    // row that shows the control. Calls moveRowAtIndexPath, then moves the row itself unless
    // the data source reloaded the table meanwhile.
    bool userMovedRow(const NSIndexPath& from, const NSIndexPath& to);
    // The delete control (or swipe) of a row whose editing style is delete.
    bool userCommittedDelete(const NSIndexPath& indexPath);
    // Whether a shown row offers its delete control now: while editing, or by a swipe when
    // the data source takes swipe deletes.
    bool offersDeleteForRowAtIndexPath(const NSIndexPath& indexPath);
    bool userTappedAccessoryButton(const NSIndexPath& indexPath);

    // Every loaded section with its header, footer and rows (a row out of range has no cell),
    // for hosts and tests; brings the rows made up to date with the offset first.
    const std::vector<LoadedTableSection>& snapshot();

    void setFrame(CGRect frame) override;
    void contentOffsetDidChange() override;
    // Brings the cells waiting for reuse up to date too, then asks the data source for every
    // row again, so that cells coloured as they were filled are coloured for the appearance.
    void traitCollectionDidChange(const UITraitCollection& previous) override;

  private:
    void ensureLoaded();
    void load();
    void updateShownRows();
    double shownHeight() const;
    void layoutRows();
    LoadedTableRow* findRow(const NSIndexPath& indexPath);
    LoadedTableRow* rowWithCell(const NSIndexPath& indexPath);
    UITableViewSelection selection();

    UITableViewStyle style_;
    UITableViewDataSource* dataSource_ = nullptr;
    UITableViewDelegate* delegate_ = nullptr;
    double rowHeight_ = 44;
    double sectionHeaderHeight_ = UITableViewAutomaticDimension;
    double sectionFooterHeight_ = UITableViewAutomaticDimension;
    UIViewPtr tableHeaderView_;
    UIViewPtr tableFooterView_;
    bool editing_ = false;
    bool allowsSelection_ = true;
    bool allowsSelectionDuringEditing_ = false;
    bool allowsMultipleSelection_ = false;
    bool allowsMultipleSelectionDuringEditing_ = false;

    UITableViewRows rows_;
    UITableViewCells cells_{*this, rows_};
    bool loaded_ = false;
    bool loading_ = false;
    bool reloadRequested_ = false;
    bool reloading_ = false;
    std::uint64_t reloadGeneration_ = 0;
    double contentHeight_ = 0;
};

using UITableViewPtr = std::shared_ptr<UITableView>;
