#include <gtest/gtest.h>

#include "filters/FilterPageFixture.h"
#include "filters/HBFilterEditorController.h"
#include "kit/HBUndoPrompt.h"
#include "model/HBFilterKind.h"
#include "platform/dispatch/RunLoop.h"
#include "platform/prefs/PSClasses.h"
#include "platform/prefs/PSEditableTableCell.h"
#include "store/HBUndoHistory.h"
#include "support/FilterRecords.h"

namespace {

using Direction = HBUndoHistory::Direction;

PlistValue filterNamed(const char* name) {
    return recordTitled(HBFilterKind::messages(), name);
}

// The message filter list with two enabled filters, the pages it opens, and the history of
// what the user did on them.
class UndoAcrossPagesTest : public ::testing::Test, protected FilterPageFixture {
  protected:
    void SetUp() override {
        PlistValue settings = PlistValue::dictionary();
        settings.set("filtersEnabled",
                     PlistValue(PlistValue::Array{filterNamed("Invoices"), filterNamed("Boss")}));
        writeSettings(settings);
        HBUndoHistory::shared().clear();
        show(PSControllerClasses::create("HBFilterController"));
    }
    void TearDown() override { HBUndoHistory::shared().clear(); }

    // Takes a step as the user asks for it, and lets the page shown refresh.
    static void take(Direction direction) {
        ASSERT_TRUE(HBUndoPrompt::take(direction));
        RunLoop::main().runUntilIdle();
    }

    PSEditableTableCell* editorField(const std::string& key) {
        auto* editor = dynamic_cast<HBFilterEditorController*>(host->topPage());
        for (const PSSpecifierPtr& row :
             editor ? editor->specifiers() : std::vector<PSSpecifierPtr>{}) {
            const std::string* rowKey = row->propertyForKey("key").stringValue();
            if (rowKey && *rowKey == key) {
                NSIndexPath path = *editor->indexPathForSpecifier(row.get());
                return dynamic_cast<PSEditableTableCell*>(
                    host->cellAt(path.section(), path.row()).get());
            }
        }
        return nullptr;
    }

    using Titles = std::vector<std::string>;
};

TEST_F(UndoAcrossPagesTest, StepsAreNamedByThePagesAndUndoneWhereverTheUserIs) {
    ASSERT_TRUE(
        host->dragRow(NSIndexPath::indexPathForRow(0, 0), NSIndexPath::indexPathForRow(0, 2)));
    EXPECT_EQ(titles(0), Titles{"Boss"});
    EXPECT_EQ(HBUndoHistory::shared().title(Direction::Undo), "Delete Filter 'Invoices'");

    ASSERT_TRUE(host->tapRow(0, 0));
    PSEditableTableCell* from = editorField("from");
    ASSERT_NE(from, nullptr);
    from->textField()->userTyped("^boss@");
    from->textField()->userEndedEditing();
    std::string rowTitle = from->textLabel()->text();
    EXPECT_EQ(HBUndoHistory::shared().title(Direction::Undo), rowTitle);

    // The editor shown takes the pattern back at once.
    take(Direction::Undo);
    EXPECT_EQ(editorField("from")->textField()->text(), "Boss");
    EXPECT_EQ(onDisk()["filtersEnabled"][0]["from"], PlistValue("Boss"));

    // The list, not shown, shows the filter back when it is reached again (it reloads a
    // moment after it appears).
    take(Direction::Undo);
    host->goBack();
    host->advanceClock(0.3);
    EXPECT_EQ(titles(0), (Titles{"Invoices", "Boss"}));

    take(Direction::Redo);
    EXPECT_EQ(titles(0), Titles{"Boss"});
    EXPECT_EQ(HBUndoHistory::shared().title(Direction::Undo), "Delete Filter 'Invoices'");
    EXPECT_EQ(HBUndoHistory::shared().title(Direction::Redo), rowTitle);
}

// Another program changed the filters since: the user is asked, and only an answer to go on
// overwrites its change.
TEST_F(UndoAcrossPagesTest, AValueChangedElsewhereIsOverwrittenOnlyAfterAsking) {
    ASSERT_TRUE(host->tapRow(1, 0));
    PlistValue elsewhere = onDisk();
    elsewhere.set("filtersEnabled", PlistValue(PlistValue::Array{filterNamed("Theirs")}));
    TemporaryDeviceRoot::write(settingsPath(), PropertyList::toXml(elsewhere).value());

    take(Direction::Undo);
    ASSERT_NE(host->presentedAlert(), nullptr);
    EXPECT_EQ(host->presentedAlert()->alertTitle(), std::optional<std::string>("Undo Add Filter"));
    ASSERT_TRUE(host->pressAlertAction("Cancel"));
    EXPECT_EQ(onDisk()["filtersEnabled"].count(), 1u);
    EXPECT_EQ(HBUndoHistory::shared().title(Direction::Undo), "Add Filter");

    take(Direction::Undo);
    ASSERT_TRUE(host->pressAlertAction("Undo"));
    RunLoop::main().runUntilIdle();
    EXPECT_EQ(titles(0), (Titles{"Invoices", "Boss"}));
    EXPECT_EQ(HBUndoHistory::shared().title(Direction::Redo), "Add Filter");
}

}  // namespace
