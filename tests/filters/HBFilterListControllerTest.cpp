#include "filters/HBFilterListController.h"

#include "filters/FilterPageFixture.h"
#include "filters/HBFilterController.h"
#include "filters/HBFilterEditorController.h"
#include "filters/HBFilterFolderController.h"
#include "kit/HBPageRouter.h"
#include "model/HBFilterKind.h"
#include "model/HBFilterRecord.h"
#include "platform/prefs/PSClasses.h"
#include "support/FilterRecords.h"
#include "support/Golden.h"

namespace {

// One list page kind: how to make it and which keys it keeps its lists under.
struct ListKind {
    std::string name;
    long type;  // -1 for message filters
    const HBFilterKind& kind() const {
        return type < 0 ? HBFilterKind::messages() : HBFilterKind::folders(type);
    }
    std::shared_ptr<HBFilterListController> make() const {
        if (type < 0) {
            return std::static_pointer_cast<HBFilterListController>(
                PSControllerClasses::create("HBFilterController"));
        }
        return std::static_pointer_cast<HBFilterListController>(
            HBTypedControllerClasses::create("HBFilterFolderController", type));
    }
};

class FilterListTest : public ::testing::TestWithParam<ListKind>, protected FilterPageFixture {
  protected:
    const HBFilterKind& kind() const { return GetParam().kind(); }

    void store(std::vector<std::string> enabled, std::vector<std::string> disabled) {
        PlistValue settings = PlistValue::dictionary();
        PlistValue::Array on;
        PlistValue::Array off;
        for (const std::string& title : enabled) {
            on.push_back(recordTitled(kind(), title));
        }
        for (const std::string& title : disabled) {
            off.push_back(recordTitled(kind(), title));
        }
        settings.set(kind().enabledKey, PlistValue(std::move(on)));
        settings.set(kind().disabledKey, PlistValue(std::move(off)));
        writeSettings(settings);
    }

    void open() {
        page = GetParam().make();
        ASSERT_NE(page, nullptr);
        show(page);
    }

    // The titles of a list as stored in the file.
    std::vector<std::string> storedTitles(const std::string& key) {
        std::vector<std::string> shown;
        PlistValue stored = onDisk()[key];
        const PlistValue::Array* entries = stored.arrayValue();
        for (const PlistValue& record : entries ? *entries : PlistValue::Array()) {
            shown.push_back(HBFilterRecord::title(record, kind()));
        }
        return shown;
    }

    using Titles = std::vector<std::string>;
    std::shared_ptr<HBFilterListController> page;
};

TEST_P(FilterListTest, EmptyListsShowTheAddRowAndAddingAppendsToEnabled) {
    open();
    EXPECT_EQ(host->topPage()->title(), "Filters");
    auto sections = host->visibleSections();
    ASSERT_EQ(sections.size(), 3u);
    EXPECT_EQ(sections[0].header, "ENABLED");
    EXPECT_EQ(sections[1].header, "DISABLED");
    EXPECT_EQ(sections[2].header, "DRAG BELOW, TO DELETE");
    EXPECT_EQ(page->titleForHeaderInSection(nullptr, 3), "Unknown");
    EXPECT_TRUE(sections[0].rows.empty());
    ASSERT_EQ(sections[1].rows.size(), 1u);
    EXPECT_EQ(sections[1].rows[0].text, "Tap, to add new filter");
    EXPECT_EQ(sections[1].rows[0].textColor, "#FF0000");
    // The add row stays put.
    EXPECT_FALSE(host->cellAt(1, 0)->showsReorderControl());

    ASSERT_TRUE(host->tapRow(1, 0));
    PlistValue enabled = onDisk()[kind().enabledKey];
    ASSERT_EQ(enabled.count(), 1u);
    EXPECT_EQ(enabled[0], kind().newRecord());
    EXPECT_EQ(onDisk()["profileSaved"], PlistValue::boolean(false));
    EXPECT_EQ(titles(0), Titles{""});
    EXPECT_EQ(titles(1), Titles{"Tap, to add new filter"});
    EXPECT_TRUE(host->cellAt(0, 0)->showsReorderControl());
    EXPECT_EQ(host->cellAt(0, 0)->editingStyle(), UITableViewCellEditingStyleNone);
}

TEST_P(FilterListTest, MovesFollowTheRulesAndReachTheFile) {
    struct Case {
        const char* what;
        NSIndexPath from;
        NSIndexPath to;
        Titles enabled;
        Titles disabled;
    };
    const Case cases[] = {
        {"reorder enabled",
         NSIndexPath::indexPathForRow(0, 0),
         NSIndexPath::indexPathForRow(2, 0),
         {"b", "c", "a"},
         {"x", "y"}},
        {"enabled above the add row",
         NSIndexPath::indexPathForRow(1, 0),
         NSIndexPath::indexPathForRow(0, 1),
         {"a", "c"},
         {"b", "x", "y"}},
        {"enabled under a disabled one",
         NSIndexPath::indexPathForRow(2, 0),
         NSIndexPath::indexPathForRow(2, 1),
         {"a", "b"},
         {"x", "c", "y"}},
        {"disabled to the top of enabled",
         NSIndexPath::indexPathForRow(2, 1),
         NSIndexPath::indexPathForRow(0, 0),
         {"y", "a", "b", "c"},
         {"x"}},
        {"enabled into the drop zone",
         NSIndexPath::indexPathForRow(1, 0),
         NSIndexPath::indexPathForRow(0, 2),
         {"a", "c"},
         {"x", "y"}},
        {"disabled into the drop zone",
         NSIndexPath::indexPathForRow(1, 1),
         NSIndexPath::indexPathForRow(0, 2),
         {"a", "b", "c"},
         {"y"}},
    };
    for (const Case& c : cases) {
        store({"a", "b", "c"}, {"x", "y"});
        open();
        ASSERT_TRUE(host->dragRow(c.from, c.to)) << c.what;
        EXPECT_EQ(storedTitles(kind().enabledKey), c.enabled) << c.what;
        EXPECT_EQ(storedTitles(kind().disabledKey), c.disabled) << c.what;
        EXPECT_EQ(onDisk()["profileSaved"], PlistValue::boolean(false)) << c.what;
        // The table shows the stored order, under the add row.
        EXPECT_EQ(titles(0), c.enabled) << c.what;
        Titles shownDisabled{"Tap, to add new filter"};
        shownDisabled.insert(shownDisabled.end(), c.disabled.begin(), c.disabled.end());
        EXPECT_EQ(titles(1), shownDisabled) << c.what;
    }
}

TEST_P(FilterListTest, ReorderInsideDisabledSnapsBackWithoutWriting) {
    store({"a"}, {"x", "y"});
    std::string before = TemporaryDeviceRoot::read(settingsPath());
    open();
    host->dragRow(NSIndexPath::indexPathForRow(1, 1), NSIndexPath::indexPathForRow(2, 1));
    EXPECT_EQ(TemporaryDeviceRoot::read(settingsPath()), before);
    EXPECT_EQ(titles(1), (Titles{"Tap, to add new filter", "x", "y"}));
}

TEST_P(FilterListTest, DroppingTheLastFilterKeepsAnEmptyList) {
    PlistValue settings = PlistValue::dictionary();
    settings.set(kind().enabledKey, list({recordTitled(kind(), "only")}));
    writeSettings(settings);
    open();
    ASSERT_TRUE(
        host->dragRow(NSIndexPath::indexPathForRow(0, 0), NSIndexPath::indexPathForRow(0, 2)));
    EXPECT_EQ(onDisk()[kind().enabledKey], PlistValue::array());
    // Both lists are stored, the missing one as an empty list.
    EXPECT_EQ(onDisk()[kind().disabledKey], PlistValue::array());
}

TEST_P(FilterListTest, DeleteCommitsRemoveRecordsButNotTheAddRow) {
    store({"a", "b"}, {"x"});
    open();
    page->commitEditingStyle(page->tableView().get(), UITableViewCellEditingStyleDelete,
                             NSIndexPath::indexPathForRow(0, 0));
    page->commitEditingStyle(page->tableView().get(), UITableViewCellEditingStyleInsert,
                             NSIndexPath::indexPathForRow(0, 0));
    page->commitEditingStyle(page->tableView().get(), UITableViewCellEditingStyleDelete,
                             NSIndexPath::indexPathForRow(0, 1));
    EXPECT_EQ(storedTitles(kind().enabledKey), Titles{"b"});
    page->commitEditingStyle(page->tableView().get(), UITableViewCellEditingStyleDelete,
                             NSIndexPath::indexPathForRow(1, 1));
    EXPECT_EQ(storedTitles(kind().disabledKey), Titles{});
}

TEST_P(FilterListTest, OnlyEnabledFiltersPreviewTheirColour) {
    PlistValue dark = recordTitled(kind(), "dark");
    dark.set("hexColor", "#000000");
    PlistValue settings = PlistValue::dictionary();
    settings.set(kind().enabledKey, list({dark}));
    settings.set(kind().disabledKey, list({dark}));
    // Full opacity whichever key the kind reads.
    for (const char* key : {"listAlphaLevelFilters", "mailBoxAlphaLevel"}) {
        settings.set(key, PlistValue::integer(100));
    }
    writeSettings(settings);
    open();
    auto sections = host->visibleSections();
    EXPECT_EQ(sections[0].rows[0].background, "#000000");
    EXPECT_EQ(sections[0].rows[0].textColor, "#FFFFFF");
    EXPECT_EQ(sections[1].rows[1].background, "#FFFFFF");
    EXPECT_EQ(sections[1].rows[1].textColor, "#000000");

    UITraitCollection::setCurrentUserInterfaceStyle(UIUserInterfaceStyleDark);
    page->tableView()->reloadData();
    sections = host->visibleSections();
    EXPECT_EQ(sections[1].rows[1].background, "#000000");
    EXPECT_EQ(sections[1].rows[1].textColor, "#FFFFFF");
}

TEST_P(FilterListTest, WrongTypedListsReadAsEmptyAndAreNeverRewritten) {
    PlistValue settings = PlistValue::dictionary();
    settings.set(kind().enabledKey, "not a list");
    settings.set(kind().disabledKey, list({PlistValue::integer(4), recordTitled(kind(), "x")}));
    writeSettings(settings);
    std::string before = TemporaryDeviceRoot::read(settingsPath());
    open();
    EXPECT_EQ(titles(0), Titles{});
    EXPECT_EQ(titles(1), (Titles{"Tap, to add new filter", "", "x"}));
    host->tapRow(1, 0);
    host->dragRow(NSIndexPath::indexPathForRow(2, 1), NSIndexPath::indexPathForRow(0, 0));
    EXPECT_EQ(TemporaryDeviceRoot::read(settingsPath()), before);
    // A record that is not a dictionary still moves as it is.
    ASSERT_TRUE(
        host->dragRow(NSIndexPath::indexPathForRow(1, 1), NSIndexPath::indexPathForRow(0, 2)));
    EXPECT_EQ(storedTitles(kind().disabledKey), Titles{"x"});
    EXPECT_EQ(onDisk()[kind().enabledKey], PlistValue("not a list"));
}

TEST_P(FilterListTest, ReloadsAQuarterSecondAfterAppearing) {
    store({"a"}, {});
    open();
    EXPECT_EQ(titles(0), Titles{"a"});
    PlistValue changed = list({recordTitled(kind(), "a"), recordTitled(kind(), "new")});
    HBPreferences::sharedInstance().setObject(changed, kind().enabledKey);
    page->viewWillAppear(false);
    host->advanceClock(0.2);
    EXPECT_EQ(titles(0), Titles{"a"});
    host->advanceClock(0.1);
    EXPECT_EQ(titles(0), (Titles{"a", "new"}));
}

TEST_P(FilterListTest, TappingAnEnabledFilterOpensItsEditor) {
    store({"a", "b"}, {"x"});
    open();
    host->tapRow(1, 1);  // disabled filters do not open
    EXPECT_EQ(host->depth(), 1u);
    host->tapRow(0, 1);
    ASSERT_EQ(host->depth(), 2u);
    auto* editor = dynamic_cast<HBFilterEditorController*>(host->topPage());
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->row(), 1);
    EXPECT_EQ(editor->className(), kind().editorDescription + "Controller");
    EXPECT_EQ(editor->parentController(), page.get());
    EXPECT_FALSE(page->tableView()->indexPathForSelectedRow());
}

INSTANTIATE_TEST_SUITE_P(Kinds, FilterListTest,
                         ::testing::Values(ListKind{"Messages", -1}, ListKind{"FolderSet1", 0},
                                           ListKind{"FolderSet2", 1}),
                         [](const auto& kind) { return kind.param.name; });

class MessageFilterListTest : public ::testing::Test, protected FilterPageFixture {};

// The image a row shows, compared by its pixels with the bundle's image of that name.
bool showsImage(const UITableViewCellPtr& cell, const std::string& name) {
    UIImagePtr expected =
        UIImage::imageWithContentsOfFile(std::string(PSBundle::kDeviceFolder) + "/" + name);
    UIImagePtr shown = cell ? cell->imageView()->image() : nullptr;
    return expected && shown && shown->pixels() == expected->pixels();
}

TEST_F(MessageFilterListTest, RingImagesFollowTheSoundAndTheRowsDarkness) {
    auto record = [](const char* title, const char* color, PlistValue sound) {
        PlistValue made = HBFilterKind::messages().newRecord();
        made.set("from", title);
        made.set("hexColor", color);
        if (!sound.isAbsent()) {
            made.set("alertSound", sound);
        }
        return made;
    };
    PlistValue settings = PlistValue::dictionary();
    settings.set(
        "filtersEnabled",
        list({record("default", "#FFFFFF", {}), record("named default", "#000000", "HBDefault"),
              record("silent", "#FFFFFF", "HBSilent"), record("silent dark", "#000000", "HBSilent"),
              record("tone", "#FFFFFF", "alert:chord"),
              record("tone dark", "#000000", "system:Bells"),
              record("odd sound", "#FFFFFF", list({"HBSilent"}))}));
    settings.set("filtersDisabled", list({record("off dark", "#000000", "HBSilent")}));
    writeSettings(settings);
    show(std::make_shared<HBFilterController>());
    const std::pair<NSIndexPath, const char*> expected[] = {
        {NSIndexPath::indexPathForRow(0, 0), "ring_blank.png"},
        {NSIndexPath::indexPathForRow(1, 0), "ring_blank.png"},
        {NSIndexPath::indexPathForRow(2, 0), "ring_silent.png"},
        {NSIndexPath::indexPathForRow(3, 0), "ring_silent_w.png"},
        {NSIndexPath::indexPathForRow(4, 0), "ring_custom.png"},
        {NSIndexPath::indexPathForRow(5, 0), "ring_custom_w.png"},
        {NSIndexPath::indexPathForRow(6, 0), "ring_blank.png"},
        {NSIndexPath::indexPathForRow(0, 1), "ring_blank.png"},
        // No preview in the disabled list, so the plain image.
        {NSIndexPath::indexPathForRow(1, 1), "ring_silent.png"},
    };
    for (const auto& [path, name] : expected) {
        EXPECT_TRUE(showsImage(host->cellAt(path.section(), path.row()), name))
            << path.section() << "/" << path.row() << " " << name;
    }
    // The light and the plain images differ, and each exists on every device root.
    EXPECT_FALSE(showsImage(host->cellAt(0, 3), "ring_silent.png"));
}

TEST_F(MessageFilterListTest, OpacityFollowsTheAccountSettingsSwitch) {
    PlistValue black = HBFilterKind::messages().newRecord();
    black.set("hexColor", "#000000");
    PlistValue settings = PlistValue::dictionary();
    settings.set("filtersEnabled", list({black}));
    writeSettings(settings);
    show(std::make_shared<HBFilterController>());
    EXPECT_EQ(host->visibleSections()[0].rows[0].background, "#000000");  // 100 by default
    HBPreferences::sharedInstance().setObject(PlistValue::boolean(true),
                                              "useAccountSettingsForListFilters");
    host->visibleTable()->reloadData();
    EXPECT_EQ(host->visibleSections()[0].rows[0].background, "#BFBFBF");  // 25 by default
}

TEST_F(MessageFilterListTest, FolderRowsCarryNoImagesAndTheSetsStayApart) {
    PlistValue settings = PlistValue::dictionary();
    settings.set("filtersFolders1Enabled", list({recordTitled(HBFilterKind::folders(0), "one")}));
    settings.set("filtersFolders2Enabled", list({recordTitled(HBFilterKind::folders(1), "two")}));
    PlistValue black = recordTitled(HBFilterKind::folders(1), "black");
    black.set("hexColor", "#000000");
    settings.set("filtersFolders2Disabled", list({black}));
    writeSettings(settings);
    show(std::make_shared<HBFilterFolderController>(0));
    EXPECT_EQ(host->cellAt(0, 0)->imageView()->image(), nullptr);
    EXPECT_EQ(host->cellAt(1, 0)->imageView()->image(), nullptr);
    host->tapRow(1, 0);
    host.reset();
    show(std::make_shared<HBFilterFolderController>(1));
    // The second set previews at 25 when its level is unset.
    host->dragRow(NSIndexPath::indexPathForRow(1, 1), NSIndexPath::indexPathForRow(0, 0));
    auto sections = host->visibleSections();
    EXPECT_EQ(sections[0].rows[0].text, "black");
    EXPECT_EQ(sections[0].rows[0].background, "#BFBFBF");
    EXPECT_EQ(sections[0].rows[0].textColor, "#000000");
    PlistValue file = onDisk();
    EXPECT_EQ(file["filtersFolders1Enabled"].count(), 2u);
    EXPECT_EQ(file["filtersFolders2Enabled"].count(), 2u);
    EXPECT_EQ(file["filtersFolders2Disabled"], PlistValue::array());
    EXPECT_TRUE(file["filtersFolders1Disabled"].isAbsent());
    EXPECT_TRUE(file["filtersEnabled"].isAbsent());
}

TEST_F(MessageFilterListTest, PageMatchesItsGolden) {
    PlistValue settings = PlistValue::dictionary();
    PlistValue first = HBFilterKind::messages().newRecord();
    first.set("filterName", "Bills");
    first.set("subject", "^invoice");
    first.set("hexColor", "#1E88E5");
    PlistValue second = HBFilterKind::messages().newRecord();
    second.set("to", "me@");
    second.set("hexColor", "#000000");
    settings.set("filtersEnabled", list({first, second}));
    settings.set("filtersDisabled", list({first}));
    settings.set("listAlphaLevelFilters", PlistValue::integer(50));
    writeSettings(settings);
    show(std::make_shared<HBFilterController>());
    expectMatchesGolden("filters/message-list.txt", host->dump());
}

}  // namespace
