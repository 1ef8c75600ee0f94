#include "platform/ui/UITableView.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <sstream>
#include <utility>

#include "platform/ui/RecordingTableSource.h"
#include "platform/ui/UITableViewHeaderFooterView.h"

namespace {

using Calls = std::vector<std::string>;

NSIndexPath path(long section, long row) {
    return NSIndexPath::indexPathForRow(row, section);
}

// One line per header and row: what a host would draw, top to bottom.
std::string dump(UITableView& table) {
    std::ostringstream out;
    const auto& sections = table.snapshot();
    for (std::size_t s = 0; s < sections.size(); ++s) {
        const auto& section = sections[s];
        out << "section " << s << " header " << section.headerTitle.value_or("-") << " "
            << section.headerHeight << "\n";
        for (const auto& row : section.rows) {
            const auto& cell = *row.cell;
            out << "  " << row.indexPath.description() << " y " << row.y << " h " << row.height
                << " '" << cell.textLabel()->text() << "'" << (cell.isSelected() ? " selected" : "")
                << (cell.showsReorderControl() ? " reorder" : "")
                << (cell.editingStyle() == UITableViewCellEditingStyleDelete ? " delete" : "")
                << "\n";
        }
    }
    return out.str();
}

class TableTest : public ::testing::Test {
  protected:
    TableTest() {
        source.sections = {{"ENABLED", {"a", "b"}}, {std::nullopt, {"c"}}, {"EMPTY", {}}};
        table->setDataSource(&source);
        table->setDelegate(&source);
    }

    RecordingTableSource source;
    UITableViewPtr table =
        std::make_shared<UITableView>(CGRectMake(0, 0, 390, 844), UITableViewStylePlain);
};

// The geometry of every section comes first, so the content size is known; then the cells.
TEST_F(TableTest, LoadingAsksCountsAndHeightsFirstThenTheCellsTopToBottom) {
    table->reloadData();
    EXPECT_EQ(source.calls(
                  {"sections", "rows", "title", "headerHeight", "height", "cell", "willDisplay"}),
              (Calls{"sections",
                     "rows 0",
                     "rows 1",
                     "rows 2",
                     "title 0",
                     "headerHeight 0",
                     "willDisplayHeader 0",
                     "height [0, 0]",
                     "height [0, 1]",
                     "title 1",
                     "headerHeight 1",
                     "height [1, 0]",
                     "title 2",
                     "headerHeight 2",
                     "willDisplayHeader 2",
                     "cell [0, 0]",
                     "willDisplay [0, 0]",
                     "cell [0, 1]",
                     "willDisplay [0, 1]",
                     "cell [1, 0]",
                     "willDisplay [1, 0]"}));
    EXPECT_EQ(table->numberOfSections(), 3);
    EXPECT_EQ(table->numberOfRowsInSection(0), 2);
    EXPECT_EQ(table->numberOfRowsInSection(7), 0);
}

TEST_F(TableTest, RowsAreStackedUnderTitledHeadersAndTheTableHeader) {
    table->setTableHeaderView(std::make_shared<UIView>(CGRectMake(0, 0, 10, 5)));
    table->setRowHeight(30);
    EXPECT_EQ(dump(*table),
              "section 0 header ENABLED 28\n"
              "  [0, 0] y 33 h 30 'a' delete\n"
              "  [0, 1] y 63 h 30 'b' delete\n"
              "section 1 header - 0\n"
              "  [1, 0] y 93 h 30 'c' delete\n"
              "section 2 header EMPTY 28\n");
    EXPECT_EQ(table->contentSize().height, 151);
    EXPECT_EQ(table->tableHeaderView()->frame().size.width, 390);
    EXPECT_EQ(table->indexPathForRowAtPoint(CGPointMake(5, 64)), path(0, 1));
    EXPECT_FALSE(table->indexPathForRowAtPoint(CGPointMake(5, 10)));
    auto* header = dynamic_cast<UITableViewHeaderFooterView*>(table->headerViewForSection(0).get());
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->textLabel()->text(), "ENABLED");
}

TEST_F(TableTest, TheDelegatesHeaderViewReplacesTheTitle) {
    auto own = std::make_shared<UIView>();
    source.headerView = [own](long section) { return section == 1 ? own : nullptr; };
    table->reloadData();
    EXPECT_EQ(table->headerViewForSection(1), own);
    EXPECT_EQ(table->snapshot()[1].headerHeight, 28);
    EXPECT_EQ(own->superview(), table.get());
}

TEST_F(TableTest, TableCellsAreTheShownOnesAndNullForPathsNamingNoRow) {
    table->reloadData();
    EXPECT_EQ(table->cellForRowAtIndexPath(path(0, 1))->textLabel()->text(), "b");
    EXPECT_EQ(table->indexPathForCell(table->cellForRowAtIndexPath(path(1, 0)).get()), path(1, 0));
    EXPECT_EQ(table->cellForRowAtIndexPath(path(0, 2)), nullptr);
    EXPECT_EQ(table->cellForRowAtIndexPath(path(3, 0)), nullptr);
    EXPECT_EQ(table->cellForRowAtIndexPath(NSIndexPath::indexPathWithIndex(0)), nullptr);
    EXPECT_EQ(table->visibleCells().size(), 3u);
}

TEST_F(TableTest, ReloadingHandsTheOldCellsOutAgainByIdentifier) {
    table->reloadData();
    std::vector<UITableViewCell*> first;
    for (const auto& cell : table->visibleCells()) {
        first.push_back(cell.get());
    }
    table->selectRowAtIndexPath(path(0, 0), false, UITableViewScrollPositionNone);
    table->reloadData();
    for (const auto& cell : table->visibleCells()) {
        EXPECT_NE(std::find(first.begin(), first.end(), cell.get()), first.end());
        EXPECT_FALSE(cell->isSelected());
    }
    EXPECT_EQ(table->dequeueReusableCellWithIdentifier("Cell"), nullptr);
    EXPECT_FALSE(table->indexPathForSelectedRow());
}

TEST_F(TableTest, TapsSelectAfterAskingTheDelegateAndMoveTheSingleSelection) {
    EXPECT_TRUE(table->userTappedRow(path(0, 0)));
    EXPECT_TRUE(table->userTappedRow(path(1, 0)));
    EXPECT_EQ(source.calls({"willSelect", "didSelect", "willDeselect", "didDeselect"}),
              (Calls{"willSelect [0, 0]", "didSelect [0, 0]", "willSelect [1, 0]",
                     "willDeselect [0, 0]", "didDeselect [0, 0]", "didSelect [1, 0]"}));
    EXPECT_EQ(table->indexPathsForSelectedRows(), (std::vector<NSIndexPath>{path(1, 0)}));
    table->deselectRowAtIndexPath(path(1, 0), true);
    EXPECT_FALSE(table->indexPathForSelectedRow());
    EXPECT_EQ(source.calls({"didDeselect"}).size(), 1u);  // deselecting from code tells nobody
}

TEST_F(TableTest, TapsFollowTheSelectionRulesOfTheEditingMode) {
    table->setAllowsSelection(false);
    EXPECT_FALSE(table->userTappedRow(path(0, 0)));
    table->setAllowsSelection(true);
    table->setEditing(true);
    EXPECT_FALSE(table->userTappedRow(path(0, 0)));
    EXPECT_TRUE(source.calls({"willSelect"}).empty());
    table->setAllowsSelectionDuringEditing(true);
    EXPECT_TRUE(table->userTappedRow(path(0, 0)));
    table->setAllowsMultipleSelectionDuringEditing(true);
    EXPECT_TRUE(table->userTappedRow(path(0, 1)));
    EXPECT_EQ(table->indexPathsForSelectedRows(),
              (std::vector<NSIndexPath>{path(0, 0), path(0, 1)}));
    EXPECT_TRUE(table->userTappedRow(path(0, 0)));  // a second tap deselects
    EXPECT_EQ(table->indexPathsForSelectedRows(), (std::vector<NSIndexPath>{path(0, 1)}));
    EXPECT_EQ(source.calls({"didDeselect"}), (Calls{"didDeselect [0, 0]"}));
    table->setEditing(false);  // multiple selection is off outside editing
    EXPECT_TRUE(table->userTappedRow(path(1, 0)));
    EXPECT_EQ(table->indexPathsForSelectedRows(), (std::vector<NSIndexPath>{path(1, 0)}));
}

TEST_F(TableTest, RefusedRedirectedAndUntouchableRows) {
    source.refusedRows = {"[0, 1]"};
    EXPECT_FALSE(table->userTappedRow(path(0, 1)));
    EXPECT_TRUE(source.calls({"didSelect"}).empty());
    source.redirectSelectionTo = path(1, 0);
    EXPECT_TRUE(table->userTappedRow(path(0, 0)));
    EXPECT_EQ(source.calls({"didSelect"}), (Calls{"didSelect [1, 0]"}));
    source.log.clear();
    table->cellForRowAtIndexPath(path(0, 0))->setUserInteractionEnabled(false);
    EXPECT_FALSE(table->userTappedRow(path(0, 0)));
    EXPECT_FALSE(table->userTappedRow(path(2, 0)));
    EXPECT_TRUE(source.log.empty());
}

TEST_F(TableTest, RowsMoveOnlyWhileEditingAndOnlyWhenMovable) {
    source.fixedRows = {"[1, 0]"};
    EXPECT_FALSE(table->userMovedRow(path(0, 0), path(0, 1)));
    table->setEditing(true);
    EXPECT_EQ(dump(*table),
              "section 0 header ENABLED 28\n"
              "  [0, 0] y 28 h 44 'a' reorder delete\n"
              "  [0, 1] y 72 h 44 'b' reorder delete\n"
              "section 1 header - 0\n"
              "  [1, 0] y 116 h 44 'c'\n"
              "section 2 header EMPTY 28\n");
    EXPECT_FALSE(table->userMovedRow(path(1, 0), path(0, 0)));
    EXPECT_FALSE(table->userMovedRow(path(0, 0), path(0, 2)));  // past the last position
    EXPECT_FALSE(table->userMovedRow(path(0, 0), path(0, 0)));
    EXPECT_TRUE(source.calls({"move"}).empty());
}

TEST_F(TableTest, AMovedRowKeepsItsCellWithoutAReload) {
    table->setEditing(true);
    auto moved = table->cellForRowAtIndexPath(path(0, 0));
    std::uint64_t generation = table->reloadGeneration();
    EXPECT_TRUE(table->userMovedRow(path(0, 0), path(2, 0)));  // into an empty section
    EXPECT_EQ(source.calls({"move"}), (Calls{"move [0, 0] [2, 0]"}));
    EXPECT_EQ(table->reloadGeneration(), generation);
    EXPECT_EQ(table->cellForRowAtIndexPath(path(2, 0)), moved);
    EXPECT_EQ(table->numberOfRowsInSection(0), 1);
    EXPECT_EQ(table->cellForRowAtIndexPath(path(0, 0))->textLabel()->text(), "b");
    EXPECT_EQ(table->rectForRowAtIndexPath(path(2, 0)).origin.y, 28 + 44 + 44 + 28);
}

TEST_F(TableTest, AMoveThatReloadsShowsTheDataSourcesOrderOnce) {
    source.reloadOnMove = true;
    table->setEditing(true);
    EXPECT_TRUE(table->userMovedRow(path(1, 0), path(0, 0)));
    EXPECT_EQ(dump(*table),
              "section 0 header ENABLED 28\n"
              "  [0, 0] y 28 h 44 'c' reorder delete\n"
              "  [0, 1] y 72 h 44 'a' reorder delete\n"
              "  [0, 2] y 116 h 44 'b' reorder delete\n"
              "section 1 header - 0\n"
              "section 2 header EMPTY 28\n");
}

TEST_F(TableTest, ADataSourceThatTakesNoMovesShowsNoReorderControls) {
    source.takesMoves = false;
    table->setEditing(true);
    EXPECT_FALSE(table->cellForRowAtIndexPath(path(0, 0))->showsReorderControl());
    EXPECT_FALSE(table->userMovedRow(path(0, 0), path(0, 1)));
}

TEST_F(TableTest, DeletesAreCommittedOnlyForRowsWithTheDeleteStyle) {
    source.fixedRows = {"[1, 0]"};
    EXPECT_TRUE(table->userCommittedDelete(path(0, 1)));
    EXPECT_FALSE(table->userCommittedDelete(path(1, 0)));
    source.editingStyle = UITableViewCellEditingStyleNone;
    table->reloadData();
    EXPECT_FALSE(table->userCommittedDelete(path(0, 0)));
    EXPECT_EQ(source.calls({"commit"}), (Calls{"commit 1 [0, 1]"}));
}

// Outside editing mode only a data source that takes swipe deletes offers them, and only on
// rows of the delete style.
TEST_F(TableTest, DeleteControlsAreOfferedWhileEditingOrBySwipe) {
    auto offered = [this] {
        std::string rows;
        for (NSIndexPath row : {path(0, 0), path(0, 1), path(1, 0), path(5, 0)}) {
            rows += table->offersDeleteForRowAtIndexPath(row) ? "Y" : "n";
        }
        return rows;
    };
    source.fixedRows = {"[0, 1]"};
    EXPECT_EQ(offered(), "nnnn");
    source.takesSwipeDeletes = true;
    EXPECT_EQ(offered(), "YnYn");
    source.takesSwipeDeletes = false;
    table->setEditing(true);
    EXPECT_EQ(offered(), "YnYn");
}

TEST_F(TableTest, LongerIndexPathsReachTheDelegateAndDataSourceUnchanged) {
    table->setEditing(true);
    table->setAllowsSelectionDuringEditing(true);
    auto longer = NSIndexPath::indexPathWithIndexes({0, 1, 7});
    EXPECT_TRUE(table->userTappedRow(longer));
    EXPECT_TRUE(table->userMovedRow(longer, NSIndexPath::indexPathWithIndexes({0, 0, 3})));
    EXPECT_TRUE(table->userCommittedDelete(longer));
    EXPECT_EQ(source.calls({"willSelect", "didSelect", "move", "commit"}),
              (Calls{"willSelect [0, 1, 7]", "didSelect [0, 1, 7]", "move [0, 1, 7] [0, 0, 3]",
                     "commit 1 [0, 1, 7]"}));
    EXPECT_FALSE(table->userTappedRow(NSIndexPath::indexPathWithIndex(0)));
}

TEST(NSIndexPath, OrdersPositionByPositionWithPrefixesFirst) {
    std::vector<NSIndexPath> paths = {
        NSIndexPath::indexPathForRow(0, 1), NSIndexPath::indexPathWithIndexes({0, 2, 1}),
        NSIndexPath::indexPathForRow(2, 0), NSIndexPath::indexPathWithIndex(0)};
    std::sort(paths.begin(), paths.end());
    EXPECT_EQ(paths[0].description(), "[0]");
    EXPECT_EQ(paths[1].description(), "[0, 2]");
    EXPECT_EQ(paths[2].description(), "[0, 2, 1]");
    EXPECT_EQ(paths[3].description(), "[1, 0]");
    EXPECT_EQ(paths[1].compare(paths[2]), NSOrderedAscending);
    EXPECT_EQ(paths[0].row(), NSNotFound);
    EXPECT_EQ(paths[3].section(), 1);
    // However a path was made, equal positions make equal paths.
    EXPECT_EQ(NSIndexPath::indexPathWithIndexes({0, 2}), paths[1]);
    EXPECT_EQ(paths[1].indexPathByAddingIndex(1), paths[2]);
    EXPECT_NE(paths[1].indexPathByAddingIndex(0), paths[1]);
    EXPECT_EQ(NSIndexPath::indexPathWithIndexes({}).length(), 0u);
}

// A long list in one section of 44-point rows, in a table 844 points high.
class LongTableTest : public ::testing::Test {
  protected:
    void fill(long rows) {
        source.sections = {{std::nullopt, {}}};
        for (long row = 0; row < rows; ++row) {
            source.sections[0].rows.push_back("r" + std::to_string(row));
        }
        table->setDataSource(&source);
        table->setDelegate(&source);
        table->reloadData();
    }
    std::pair<long, long> madeRows() {
        std::vector<NSIndexPath> made = table->indexPathsForVisibleRows();
        return made.empty() ? std::pair(-1L, -1L)
                            : std::pair(made.front().row(), made.back().row());
    }

    RecordingTableSource source;
    UITableViewPtr table =
        std::make_shared<UITableView>(CGRectMake(0, 0, 390, 844), UITableViewStylePlain);
};

// However long the list and wherever it is scrolled, cells are made for the rows that overlap
// the visible bounds and a screen above and below (three screens: 58 rows), the margin that
// lies beyond an end going to the other side; the data source is asked for those rows only.
TEST_F(LongTableTest, CellsAreMadeOnlyNearTheVisibleBounds) {
    struct Case {
        long rows;
        double offset;
        std::pair<long, long> made;
    };
    const Case cases[] = {
        {3, 0, {0, 2}},
        {100, 0, {0, 57}},
        {10000, 0, {0, 57}},
        {10000, 44 * 5000, {4980, 5038}},
        {10000, 44 * 10000 - 844, {9942, 9999}},
    };
    for (const Case& c : cases) {
        fill(c.rows);
        table->setContentOffset(CGPointMake(0, c.offset));
        source.log.clear();
        table->reloadData();
        EXPECT_EQ(madeRows(), c.made) << c.rows << " rows at " << c.offset;
        EXPECT_EQ(long(source.calls({"cell"}).size()), c.made.second - c.made.first + 1)
            << c.rows << " rows at " << c.offset;
        EXPECT_EQ(table->contentSize().height, 44.0 * double(c.rows));
        EXPECT_EQ(table->cellForRowAtIndexPath(NSIndexPath::indexPathForRow(c.made.second + 1, 0)),
                  nullptr);
    }
}

// Scrolling through the whole list hands the cells that leave the range back for reuse, so
// no more cells exist than one range holds.
TEST_F(LongTableTest, ScrollingReusesTheCellsThatLeftTheRange) {
    fill(10000);
    std::set<const UITableViewCell*> cells;
    for (double offset = 0; offset < 44 * 10000; offset += 400) {
        table->userScrolledTo(CGPointMake(0, offset));
        for (const UITableViewCellPtr& cell : table->visibleCells()) {
            cells.insert(cell.get());
        }
    }
    EXPECT_EQ(madeRows(), (std::pair(9942L, 9999L)));
    EXPECT_LE(cells.size(), 60u);
    EXPECT_EQ(
        table->cellForRowAtIndexPath(NSIndexPath::indexPathForRow(9999, 0))->textLabel()->text(),
        "r9999");
}

// A tap or a move on a row without a cell scrolls it into view first, as a user would; the
// selection stays with its row while the row is out of range and when it moves.
TEST_F(LongTableTest, FarRowsTakeTapsAndMovesAndKeepTheirSelection) {
    fill(10000);
    auto path = [](long row) { return NSIndexPath::indexPathForRow(row, 0); };
    ASSERT_TRUE(table->userTappedRow(path(9000)));
    EXPECT_TRUE(table->cellForRowAtIndexPath(path(9000))->isSelected());
    CGRect row = table->rectForRowAtIndexPath(path(9000));
    EXPECT_GE(row.origin.y, table->contentOffset().y);
    EXPECT_LE(row.origin.y + row.size.height, table->contentOffset().y + 844);

    table->userScrolledTo(CGPointMake(0, 0));
    EXPECT_EQ(table->cellForRowAtIndexPath(path(9000)), nullptr);
    EXPECT_EQ(table->indexPathForSelectedRow(), path(9000));
    table->setAllowsSelectionDuringEditing(true);
    table->setEditing(true);
    ASSERT_TRUE(table->userMovedRow(path(9000), path(1)));
    EXPECT_EQ(source.calls({"move"}), Calls{"move [0, 9000] [0, 1]"});
    EXPECT_EQ(table->indexPathForSelectedRow(), path(1));
    table->userScrolledTo(CGPointMake(0, 0));
    EXPECT_TRUE(table->cellForRowAtIndexPath(path(1))->isSelected());
    EXPECT_FALSE(table->cellForRowAtIndexPath(path(0))->isSelected());
}

}  // namespace
