#include "filters/HBFilterEditorController.h"

#include "filters/FilterPageFixture.h"
#include "filters/HBFilterFolderSelectorController.h"
#include "filters/HBFilterSelectorController.h"
#include "model/HBFilterKind.h"
#include "platform/prefs/PSEditableTableCell.h"
#include "platform/ui/UIAlertController.h"
#include "platform/ui/UIApplication.h"
#include "support/Golden.h"

namespace {

struct EditorKind {
    std::string name;
    long type;  // -1 for message filters
    std::string colorRowPrefix;
    const HBFilterKind& kind() const {
        return type < 0 ? HBFilterKind::messages() : HBFilterKind::folders(type);
    }
    std::shared_ptr<HBFilterEditorController> make(long row) const {
        if (type < 0) {
            return std::make_shared<HBFilterSelectorController>(row);
        }
        return std::make_shared<HBFilterFolderSelectorController>(row, type);
    }
};

class EditorFixture : protected FilterPageFixture {
  protected:
    void storeRecords(const HBFilterKind& kind, PlistValue::Array records) {
        PlistValue settings = PlistValue::dictionary();
        settings.set(kind.enabledKey, PlistValue(std::move(records)));
        writeSettings(settings);
    }

    void open(std::shared_ptr<HBFilterEditorController> made) {
        editor = std::move(made);
        show(editor);
    }

    // Types into the text row of a key and ends editing, as the keyboard would.
    void type(const std::string& key, const std::string& text) {
        auto cell = std::dynamic_pointer_cast<PSEditableTableCell>(cellForKey(key));
        ASSERT_NE(cell, nullptr) << key;
        cell->textField()->userTyped(text);
        cell->textField()->userEndedEditing();
    }

    // Opens a match-type row's choices and picks one.
    void choose(const std::string& key, long choice) {
        NSIndexPath path = pathForKey(key);
        ASSERT_TRUE(host->tapRow(path.section(), path.row()));
        ASSERT_TRUE(host->tapRow(0, choice));
        host->goBack();
    }

    NSIndexPath pathForKey(const std::string& key) {
        for (const PSSpecifierPtr& row : editor->specifiers()) {
            const std::string* rowKey = row->propertyForKey("key").stringValue();
            if (rowKey && *rowKey == key) {
                return *editor->indexPathForSpecifier(row.get());
            }
        }
        ADD_FAILURE() << "no row for " << key;
        return NSIndexPath::indexPathForRow(0, 0);
    }

    UITableViewCellPtr cellForKey(const std::string& key) {
        NSIndexPath path = pathForKey(key);
        return host->cellAt(path.section(), path.row());
    }

    std::string formulaShown() { return host->cellAt(1, 0)->textLabel()->text(); }

    bool detailShown(const std::string& matchTypeKey) {
        return !cellForKey(matchTypeKey)->detailTextLabel()->isHidden();
    }

    std::shared_ptr<HBFilterEditorController> editor;
};

class FilterEditorTest : public ::testing::TestWithParam<EditorKind>, protected EditorFixture {
  protected:
    const HBFilterKind& kind() const { return GetParam().kind(); }
    const HBFilterField& field(std::size_t index) const { return kind().fields.at(index); }
    PlistValue storedRecord(std::size_t index = 0) { return onDisk()[kind().enabledKey][index]; }
};

TEST_P(FilterEditorTest, TypingBuildsTheFormulaAndShowsOnlyUsedMatchTypes) {
    storeRecords(kind(), {kind().newRecord()});
    open(GetParam().make(0));
    EXPECT_EQ(formulaShown(), "");
    for (const HBFilterField& each : kind().fields) {
        EXPECT_FALSE(detailShown(each.matchTypeKey)) << each.key;
        EXPECT_EQ(host->visibleSections()[0].rows.at(pathForKey(each.matchTypeKey).row()).height,
                  34);
    }

    type(field(0).key, "a");
    EXPECT_EQ(formulaShown(), field(0).word);
    EXPECT_TRUE(detailShown(field(0).matchTypeKey));
    EXPECT_EQ(storedRecord()[field(0).key], PlistValue("a"));
    EXPECT_EQ(onDisk()["profileSaved"], PlistValue::boolean(false));

    choose(field(0).matchTypeKey, 1);
    EXPECT_EQ(storedRecord()[field(0).matchTypeKey], PlistValue::integer(1));
    EXPECT_EQ(formulaShown(), field(0).word);
    type(field(1).key, "b");
    EXPECT_EQ(formulaShown(), "(" + field(1).word + ") AND " + field(0).word);
    EXPECT_EQ(editor->formula(), formulaShown());

    type(field(0).key, "");
    EXPECT_EQ(formulaShown(), field(1).word);
    EXPECT_FALSE(detailShown(field(0).matchTypeKey));
    EXPECT_EQ(storedRecord()[field(0).key], PlistValue(""));

    // Coming back re-reads the record, so a change made elsewhere shows.
    PlistValue changed = onDisk()[kind().enabledKey];
    changed.mutableArray()[0].set(field(2).key, "c");
    HBPreferences::sharedInstance().setObject(changed, kind().enabledKey);
    editor->viewWillAppear(false);
    EXPECT_EQ(formulaShown(), field(1).word + " OR " + field(2).word);
}

// Every pattern field checks what is typed into it; a field that is no pattern stores any text.
TEST_P(FilterEditorTest, InvalidPatternIsRefusedWithAnAlertAndNothingStored) {
    for (const HBFilterField& each : kind().fields) {
        SCOPED_TRACE(each.key);
        PlistValue record = kind().newRecord();
        record.set(each.key, "ok");
        storeRecords(kind(), {record});
        open(GetParam().make(0));
        std::string before = TemporaryDeviceRoot::read(settingsPath());
        type(each.key, "(");
        UIAlertController* alert = host->presentedAlert();
        if (!each.isPattern) {
            EXPECT_EQ(alert, nullptr);
            EXPECT_EQ(storedRecord()[each.key], PlistValue("("));
            continue;
        }
        ASSERT_NE(alert, nullptr);
        EXPECT_EQ(alert->alertTitle(), "ERROR - " + each.key);
        EXPECT_EQ(alert->message(),
                  "(\n\nInvalid regular expression\nMissing closing parenthesis at offset 1");
        ASSERT_EQ(alert->actions().size(), 1u);
        EXPECT_EQ(alert->actions()[0]->title(), "OK");
        EXPECT_TRUE(host->pressAlertAction("OK"));
        EXPECT_EQ(TemporaryDeviceRoot::read(settingsPath()), before);
        EXPECT_EQ(formulaShown(), each.word);
        auto cell = std::dynamic_pointer_cast<PSEditableTableCell>(cellForKey(each.key));
        ASSERT_TRUE(cell);
        EXPECT_EQ(cell->textField()->text(), "ok");
    }
}

TEST_P(FilterEditorTest, ColourRowNamesItsRecordAndPreviewsItsColour) {
    PlistValue dark = kind().newRecord();
    dark.set("hexColor", "#000000");
    storeRecords(kind(), {kind().newRecord(), kind().newRecord(), kind().newRecord(), dark});
    HBPreferences::sharedInstance().setObject(PlistValue::integer(100), "listAlphaLevelFilters");
    HBPreferences::sharedInstance().setObject(PlistValue::integer(100), "mailBoxAlphaLevel");
    open(GetParam().make(3));
    long colorRow = static_cast<long>(host->visibleSections()[0].rows.size()) - 1;
    HeadlessHost::Row shown = host->visibleSections()[0].rows.at(colorRow);
    EXPECT_EQ(shown.text, GetParam().colorRowPrefix + "3");
    EXPECT_EQ(shown.background, "#000000");
    EXPECT_EQ(shown.textColor, "#FFFFFF");
    host->tapRow(0, colorRow);
    EXPECT_EQ(host->depth(), 2u);
}

TEST_P(FilterEditorTest, AMissingRecordShowsDefaultsAndStoresNothing) {
    PlistValue named = kind().newRecord();
    named.set(field(0).key, "x");
    for (PlistValue records : {PlistValue(PlistValue::Array{named, PlistValue("not a record")}),
                               PlistValue(PlistValue::Array{named})}) {
        storeRecords(kind(), *records.arrayValue());
        std::string before = TemporaryDeviceRoot::read(settingsPath());
        open(GetParam().make(1));
        auto cell = std::dynamic_pointer_cast<PSEditableTableCell>(cellForKey(field(0).key));
        EXPECT_EQ(cell->textField()->text(), "");
        type(field(0).key, "y");
        EXPECT_EQ(formulaShown(), field(0).word);  // the page follows what was typed
        choose(field(1).matchTypeKey, 1);
        EXPECT_EQ(TemporaryDeviceRoot::read(settingsPath()), before);
        // Coming back shows what is stored: the defaults.
        EXPECT_EQ(formulaShown(), "");
        EXPECT_EQ(onDisk()[kind().enabledKey].count(), records.count());
    }
}

TEST_P(FilterEditorTest, WrongTypedEntriesReadAsMissing) {
    PlistValue odd = kind().newRecord();
    odd.set(field(0).key, PlistValue::integer(12));
    odd.set(field(1).key, "b");
    odd.set(field(1).matchTypeKey, "one");
    odd.set("hexColor", PlistValue::integer(0));
    storeRecords(kind(), {odd});
    open(GetParam().make(0));
    auto cell = std::dynamic_pointer_cast<PSEditableTableCell>(cellForKey(field(0).key));
    EXPECT_EQ(cell->textField()->text(), "");
    EXPECT_EQ(formulaShown(), field(1).word);
    long colorRow = static_cast<long>(host->visibleSections()[0].rows.size()) - 1;
    EXPECT_EQ(host->visibleSections()[0].rows.at(colorRow).background, "#FFFFFF");
}

TEST_P(FilterEditorTest, DarkAppearanceGivesLightTextOnBlack) {
    UITraitCollection::setCurrentUserInterfaceStyle(UIUserInterfaceStyleDark);
    storeRecords(kind(), {kind().newRecord()});
    open(GetParam().make(0));
    for (const auto& section : host->visibleSections()) {
        for (const HeadlessHost::Row& row : section.rows) {
            if (row.text == GetParam().colorRowPrefix + "0") {
                continue;  // shows the record's own colour
            }
            EXPECT_EQ(row.background, "#000000") << row.text;
            EXPECT_EQ(row.textColor, "#FFFFFF") << row.text;
        }
    }
}

// The Test group: one sample row per field, then the verdict.
TEST_P(FilterEditorTest, TestGroupTriesSamplesAsTheFormulaReadsAndWritesNothing) {
    const long testSection = 2;
    PlistValue record = kind().newRecord();
    record.set(field(0).key, "bob");
    storeRecords(kind(), {record});
    open(GetParam().make(0));
    ASSERT_EQ(host->visibleSections().at(testSection).header, "Test");
    const long resultRow = static_cast<long>(kind().fields.size());
    auto typeSample = [&](long index, const std::string& text) {
        auto cell =
            std::dynamic_pointer_cast<PSEditableTableCell>(host->cellAt(testSection, index));
        ASSERT_NE(cell, nullptr);
        cell->textField()->userTyped(text);
        cell->textField()->userEndedEditing();
    };
    auto verdict = [&] { return host->cellAt(testSection, resultRow)->textLabel()->text(); };
    EXPECT_EQ(verdict(), "No match");

    // Editing the filter re-tests the samples typed so far.
    type(field(1).key, "^x");
    choose(field(1).matchTypeKey, 1);
    std::string before = TemporaryDeviceRoot::read(settingsPath());
    typeSample(0, "BOB smith");
    EXPECT_EQ(verdict(), "No match (found: " + field(0).word + ")");
    typeSample(1, "xy");
    EXPECT_EQ(verdict(), "Matches: " + field(0).word + ", " + field(1).word);
    EXPECT_EQ(TemporaryDeviceRoot::read(settingsPath()), before);
    EXPECT_EQ(before.find("BOB smith"), std::string::npos);

    type(field(0).key, "(a+)+$");
    typeSample(0, std::string(48, 'a') + "!");
    EXPECT_EQ(verdict(), field(0).word + ": too slow to test");

    // A page opened again starts without samples.
    open(GetParam().make(0));
    auto cell = std::dynamic_pointer_cast<PSEditableTableCell>(host->cellAt(testSection, 0));
    EXPECT_EQ(cell->textField()->text(), "");
    EXPECT_EQ(verdict(), "No match");
}

INSTANTIATE_TEST_SUITE_P(Kinds, FilterEditorTest,
                         ::testing::Values(EditorKind{"Messages", -1, "Color Value "},
                                           EditorKind{"FolderSet1", 0, "Color Value F1 "},
                                           EditorKind{"FolderSet2", 1, "Color Value F2 "}),
                         [](const auto& kind) { return kind.param.name; });

class MessageEditorTest : public ::testing::Test, protected EditorFixture {};

TEST_F(MessageEditorTest, NewRecordPageMatchesItsGolden) {
    storeRecords(HBFilterKind::messages(), {HBFilterKind::messages().newRecord()});
    open(std::make_shared<HBFilterSelectorController>(0));
    expectMatchesGolden("filters/message-editor.txt", host->dump());
}

TEST_F(MessageEditorTest, SubjectErrorKeepsTheStoredPatternAndHelpOpensTheGuide) {
    PlistValue record = HBFilterKind::messages().newRecord();
    record.set("subject", "^bill");
    record.set("subjectMatchType", PlistValue::integer(1));
    storeRecords(HBFilterKind::messages(), {record});
    open(std::make_shared<HBFilterSelectorController>(0));
    EXPECT_EQ(formulaShown(), "Subject");
    type("subject", "bill[");
    ASSERT_NE(host->presentedAlert(), nullptr);
    EXPECT_EQ(host->presentedAlert()->alertTitle(), "ERROR - subject");
    host->pressAlertAction("OK");
    EXPECT_EQ(onDisk()["filtersEnabled"][0]["subject"], PlistValue("^bill"));
    EXPECT_EQ(formulaShown(), "Subject");

    UIApplication::sharedApplication().takeOpenedURLs();
    auto sections = host->visibleSections();
    ASSERT_EQ(sections.size(), 4u);
    EXPECT_EQ(sections[3].header, "Help");
    host->tapRow(3, 0);
    std::vector<NSURL> opened = UIApplication::sharedApplication().takeOpenedURLs();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].absoluteString(), "https://quorvel.net/repo/html/regularexpressions.htm");
}

class FolderEditorTest : public ::testing::Test, protected EditorFixture {};

TEST_F(FolderEditorTest, LevelIsStoredUncheckedAndTheSetsStayApart) {
    const HBFilterKind& second = HBFilterKind::folders(1);
    PlistValue settings = PlistValue::dictionary();
    settings.set("filtersFolders1Enabled",
                 PlistValue(PlistValue::Array{HBFilterKind::folders(0).newRecord()}));
    settings.set("filtersFolders2Enabled", PlistValue(PlistValue::Array{second.newRecord()}));
    writeSettings(settings);
    open(std::make_shared<HBFilterFolderSelectorController>(0, 1));
    type("folderLevel", "(");
    EXPECT_EQ(host->presentedAlert(), nullptr);
    choose("folderLevelMatchType", 1);
    type("folderName", "inbox");
    type("folderPath", "^work/");
    EXPECT_EQ(formulaShown(), "(Name OR Path) AND Level");
    PlistValue file = onDisk();
    EXPECT_EQ(file["filtersFolders2Enabled"][0]["folderLevel"], PlistValue("("));
    EXPECT_EQ(file["filtersFolders1Enabled"][0], HBFilterKind::folders(0).newRecord());
    expectMatchesGolden("filters/folder-editor.txt", host->dump());
}

}  // namespace
