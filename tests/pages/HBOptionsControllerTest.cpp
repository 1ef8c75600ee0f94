#include "pages/HBOptionsController.h"

#include <gtest/gtest.h>

#include <fmt/format.h>

#include "color/HBSliderCell.h"
#include "host/HeadlessHost.h"
#include "kit/HBPageRouter.h"
#include "pages/HBOptionsFiltersFolders.h"
#include "pages/HuebadgeListController.h"
#include "platform/foundation/PropertyList.h"
#include "platform/prefs/PSBundle.h"
#include "platform/prefs/PSClasses.h"
#include "platform/prefs/PSSwitchTableCell.h"
#include "platform/ui/UIScreen.h"
#include "store/HBPreferences.h"
#include "support/Golden.h"
#include "support/PlistPrint.h"
#include "support/TemporaryDeviceRoot.h"

namespace {

class OptionPagesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        PSBundle::setResourcesDirectory(HUEBADGE_RESOURCES_DIR);
        screen = UIScreen::mainScreen().bounds();
        UIScreen::mainScreen().setBounds(CGRectMake(0, 0, 390, 844));
        store().reLoadFromIdentifier(HBPreferences::kIdentifier, HBPreferences::kNotification);
    }
    void TearDown() override { UIScreen::mainScreen().setBounds(screen); }

    static HBPreferences& store() { return HBPreferences::sharedInstance(); }

    void show(PSViewControllerPtr page) {
        ASSERT_TRUE(page);
        host = std::make_unique<HeadlessHost>(std::move(page));
    }
    void show(const std::string& name) { show(PSControllerClasses::create(name)); }
    void showFolders(long type) {
        show(HBTypedControllerClasses::create("HBOptionsFiltersFolders", type));
    }

    PSListController& page() { return dynamic_cast<PSListController&>(*host->topPage()); }

    HBSliderCell* sliderAt(long section, long row) {
        return dynamic_cast<HBSliderCell*>(host->cellAt(section, row).get());
    }
    PSSwitchTableCell* switchAt(long section, long row) {
        return dynamic_cast<PSSwitchTableCell*>(host->cellAt(section, row).get());
    }

    // The page's rows as a user sees them, with what each slider row shows.
    std::string dump() {
        std::string out = host->dump();
        auto sections = host->visibleSections();
        for (std::size_t s = 0; s < sections.size(); ++s) {
            for (std::size_t r = 0; r < sections[s].rows.size(); ++r) {
                if (HBSliderCell* cell = sliderAt(static_cast<long>(s), static_cast<long>(r))) {
                    out += describeSlider(s, r, *cell);
                }
            }
        }
        return out;
    }

    static std::string describeSlider(std::size_t section, std::size_t row, HBSliderCell& cell) {
        auto* unit = dynamic_cast<UILabel*>(cell.valueField()->rightView().get());
        return fmt::format("slider {}.{} \"{}\" {} .. {} at {} shows \"{}{}\"{}\n", section, row,
                           cell.titleLabel()->text(), cell.slider()->minimumValue(),
                           cell.slider()->maximumValue(), cell.slider()->value(),
                           cell.valueField()->text(), unit ? unit->text() : "",
                           cell.slider()->isEnabled() ? "" : " disabled");
    }

    PlistValue written(std::string_view key) {
        auto file =
            PropertyList::readFile(HBPreferences::pathForIdentifier(HBPreferences::kIdentifier));
        return file ? file.value()[key] : PlistValue();
    }

    TemporaryDeviceRoot device;
    std::unique_ptr<HeadlessHost> host;
    CGRect screen{};
};

TEST_F(OptionPagesTest, EveryPageShowsItsRowsAndHeights) {
    const char* pages[] = {"HBOptionsAccountsMailbox", "HBOptionsAccountsList",
                           "HBOptionsAccountsMessage", "HBOptionsFiltersList",
                           "HBOptionsFiltersMessage",  "HBOptionsReminders",
                           "HBOptionsFilters",         "HBUnreadToolbar"};
    for (const char* name : pages) {
        SCOPED_TRACE(name);
        show(name);
        EXPECT_EQ(host->topPage()->className(), name);
        expectMatchesGolden(fmt::format("pages/options/{}.txt", name), dump());
    }
    for (long type : {0, 1}) {
        showFolders(type);
        expectMatchesGolden(fmt::format("pages/options/HBOptionsFiltersFolders-{}.txt", type),
                            dump());
    }
}

TEST_F(OptionPagesTest, WidthRowsReachTheScreensLargerSide) {
    struct Case {
        const char* page;
        const char* widthRow;
        long section;
        long row;
    };
    const Case cases[] = {{"HBOptionsAccountsMailbox", "HBWidthTypeMailBox", 0, 2},
                          {"HBOptionsAccountsList", "HBWidthTypeList", 0, 3},
                          {"HBOptionsFiltersMessage", "HBWidthTypeMessage", 0, 4},
                          {"HBOptionsReminders", "HBWidthTypeList", 0, 3}};
    for (CGRect bounds : {CGRectMake(0, 0, 390, 844), CGRectMake(0, 0, 844, 390)}) {
        UIScreen::mainScreen().setBounds(bounds);
        for (const Case& c : cases) {
            SCOPED_TRACE(c.page);
            show(c.page);
            EXPECT_EQ(page().specifierForID(c.widthRow)->propertyForKey("max"),
                      PlistValue::real(844));
            ASSERT_TRUE(sliderAt(c.section, c.row));
            EXPECT_EQ(sliderAt(c.section, c.row)->slider()->maximumValue(), 844);
        }
    }
}

struct AccountSettingsCase {
    const char* page;
    const char* key;
    long firstRow;
    long lastRow;
};

class AccountSettingsSwitchTest : public OptionPagesTest,
                                  public ::testing::WithParamInterface<AccountSettingsCase> {
  protected:
    // Whether the rows the switch governs are live; fails when they disagree.
    void expectRowsLive(bool live) {
        const AccountSettingsCase& c = GetParam();
        auto rows = host->visibleSections().at(0).rows;
        for (long row = c.firstRow; row <= c.lastRow; ++row) {
            SCOPED_TRACE(row);
            EXPECT_EQ(rows.at(row).enabled, live);
            EXPECT_EQ(host->cellAt(0, row)->detailTextLabel()->isEnabled(), live);
            if (HBSliderCell* slider = sliderAt(0, row)) {
                EXPECT_EQ(slider->slider()->isEnabled(), live);
                EXPECT_DOUBLE_EQ(slider->valueField()->alpha(), live ? 1.0 : 0.5);
            }
        }
        EXPECT_TRUE(rows.at(0).enabled) << "rows before the governed ones stay live";
        EXPECT_TRUE(rows.at(c.firstRow - 1).enabled);
    }
};

TEST_P(AccountSettingsSwitchTest, DimsTheRowsItOverrides) {
    const AccountSettingsCase& c = GetParam();
    // Absent, and without a default on the row: the account settings apply.
    show(c.page);
    page()
        .specifierAtIndexPath(NSIndexPath::indexPathForRow(c.firstRow - 1, 0))
        ->setProperty(PlistValue(), "default");
    page().reload();
    expectRowsLive(false);

    // Shown off, as no value is stored; the first flip stores on.
    switchAt(0, c.firstRow - 1)->control()->userToggled();
    expectRowsLive(false);
    EXPECT_EQ(written(c.key), PlistValue::boolean(true));

    switchAt(0, c.firstRow - 1)->control()->userToggled();
    expectRowsLive(true);
    EXPECT_EQ(written(c.key), PlistValue::boolean(false));
    EXPECT_EQ(written("profileSaved"), PlistValue::boolean(false));

    store().setObject(PlistValue::boolean(false), c.key);
    show(c.page);
    expectRowsLive(true);
}

INSTANTIATE_TEST_SUITE_P(
    FilterPages, AccountSettingsSwitchTest,
    ::testing::Values(AccountSettingsCase{"HBOptionsFiltersList",
                                          "useAccountSettingsForListFilters", 2, 4},
                      AccountSettingsCase{"HBOptionsFiltersMessage",
                                          "useAccountSettingsForMessageFilters", 2, 5}));

TEST_F(OptionPagesTest, EachFolderSetKeepsItsOwnSettings) {
    store().setObject(PlistValue::integer(3), "folderFiltersLevels1");
    showFolders(1);
    EXPECT_EQ(host->topPage()->title(), "Folder Filters 2 - Options");
    EXPECT_EQ(sliderAt(0, 0)->valueField()->text(), "10") << "set 1's value is not set 2's";
    sliderAt(0, 0)->slider()->userChangedValue(6.4f);
    sliderAt(0, 0)->slider()->userEndedTracking();
    switchAt(0, 2)->control()->userToggled(false);
    EXPECT_EQ(written("folderFiltersLevels2"), PlistValue::integer(6));
    EXPECT_EQ(written("folderFiltersOverrideAccounts2"), PlistValue::boolean(false));
    EXPECT_EQ(written("folderFiltersLevels1"), PlistValue::integer(3));
    EXPECT_TRUE(written("folderFiltersOverrideAccounts1").isAbsent());

    showFolders(0);
    EXPECT_EQ(sliderAt(0, 0)->valueField()->text(), "3");
    EXPECT_EQ(host->visibleSections().at(0).rows.at(2).accessory, "switch on");
}

// The set the stand-in folder filter list was made for.
long standInFolderListType = -1;

TEST_F(OptionPagesTest, FolderFiltersRowOpensTheListOfItsSet) {
    // Stands in for the folder filter list only where that page is not built in.
    bool standIn =
        HBTypedControllerClasses::registerClass("HBFilterFolderController", [](long type) {
            standInFolderListType = type;
            return std::make_shared<PSViewController>();
        });
    showFolders(1);
    ASSERT_TRUE(host->tapRow(0, 1));
    ASSERT_EQ(host->depth(), 2u);
    if (standIn) {
        EXPECT_EQ(standInFolderListType, 1);
    } else {
        EXPECT_EQ(host->topPage()->className(), "HBFilterFolderController");
    }
    EXPECT_FALSE(dynamic_cast<PSListController&>(*host->navigation().viewControllers().front())
                     .table()
                     ->indexPathForSelectedRow());
}

TEST_F(OptionPagesTest, RootRowsOpenTheFolderSets) {
    for (long type : {0, 1}) {
        show(std::make_shared<HuebadgeListController>());
        ASSERT_TRUE(host->tapRow(0, 30 + type));
        ASSERT_EQ(host->depth(), 2u);
        auto* folders = dynamic_cast<HBOptionsFiltersFolders*>(host->topPage());
        ASSERT_TRUE(folders);
        EXPECT_EQ(folders->type(), type);
        EXPECT_EQ(folders->keySuffix(), type == 0 ? "1" : "2");
    }
}

}  // namespace
