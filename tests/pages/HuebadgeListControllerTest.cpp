#include "pages/HuebadgeListController.h"

#include <gtest/gtest.h>

#include "host/HeadlessHost.h"
#include "kit/HBPageRouter.h"
#include "platform/foundation/PropertyList.h"
#include "platform/prefs/PSBundle.h"
#include "platform/system/MailAccount.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UIView.h"
#include "store/HBPreferences.h"
#include "support/Golden.h"
#include "support/PlistPrint.h"
#include "support/TemporaryDeviceRoot.h"

namespace {

PlistValue account(const char* name, const char* mailbox, const char* connection,
                   bool local = false) {
    PlistValue entry = PlistValue::dictionary();
    entry.set("displayName", name);
    entry.set("primaryMailboxUniqueId", mailbox);
    entry.set("uniqueIdForPersistentConnection", connection);
    entry.set("local", PlistValue::boolean(local));
    return entry;
}

constexpr const char* kFolderOptionsPage = "HBOptionsFiltersFolders";

// Stands in for the folder options page while the pane has none: its title names the set it
// was made for.
class FolderOptionsStandIn : public PSViewController {
  public:
    explicit FolderOptionsStandIn(long type) { setTitle("set " + std::to_string(type)); }
};

class RootPageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        PSBundle::setResourcesDirectory(HUEBADGE_RESOURCES_DIR);
        UITraitCollection::setCurrentUserInterfaceStyle(UIUserInterfaceStyleLight);
    }
    void TearDown() override {
        UITraitCollection::setCurrentUserInterfaceStyle(UIUserInterfaceStyleLight);
    }

    void writeAccounts(PlistValue::Array accounts) {
        TemporaryDeviceRoot::write(device.resolve(std::string(MailAccount::kAccountsPath)),
                                   PropertyList::toXml(PlistValue(std::move(accounts))).value());
    }

    void writeStandardAccounts() {
        writeAccounts({account("work", "mb-work", "pc-work"), account("Home", "mb-home", "pc-home"),
                       account("On My iPhone", "mb-local", "pc-local", true),
                       account("f4edcb52Office", "mb-office", "pc-office"),
                       account("Home", "mb-home-2", "pc-home-2")});
    }

    void store(const char* key, PlistValue value) {
        HBPreferences::sharedInstance().setObject(std::move(value), key);
    }

    // Loads the store from this test's device root, then shows the root page.
    void show() {
        HBPreferences::sharedInstance().reLoadFromIdentifier(HBPreferences::kIdentifier,
                                                             HBPreferences::kNotification);
        for (auto& [key, value] : pending) {
            store(key.c_str(), value);
        }
        page = std::make_shared<HuebadgeListController>();
        host = std::make_unique<HeadlessHost>(page);
    }

    HeadlessHost::Row accountRow(long row) { return host->visibleSections().at(1).rows.at(row); }

    TemporaryDeviceRoot device;
    std::vector<std::pair<std::string, PlistValue>> pending;
    std::shared_ptr<HuebadgeListController> page;
    std::unique_ptr<HeadlessHost> host;
};

TEST_F(RootPageTest, ShowsTheDescriptionAccountsAndHelp) {
    writeStandardAccounts();
    show();
    expectMatchesGolden("pages/root-page.txt", host->dump());
}

TEST_F(RootPageTest, AccountsAreSortedWithoutCaseAndTheChoiceListFollows) {
    writeStandardAccounts();
    show();
    auto sections = host->visibleSections();
    ASSERT_EQ(sections.size(), 3u);
    ASSERT_EQ(sections[1].rows.size(), 3u);
    // Display names sort before the hidden prefix is taken off: "f4edcb52Office" < "Home".
    EXPECT_EQ(sections[1].rows[0].text, "Office");
    EXPECT_EQ(sections[1].rows[1].text, "Home");
    EXPECT_EQ(sections[1].rows[2].text, "work");

    PSSpecifierPtr choices = page->specifierForID("HBAllInboxesFilterListController");
    ASSERT_TRUE(choices);
    EXPECT_EQ(choices->titles(), (std::vector<std::string>{"All", "Office", "Home", "work"}));
    // The later of two accounts with one name wins; values are mailbox IDs.
    EXPECT_EQ(choices->values(),
              (PlistValue::Array{PlistValue("All"), PlistValue("mb-office"),
                                 PlistValue("mb-home-2"), PlistValue("mb-work")}));
    PSSpecifierPtr office = page->specifierAtIndexPath(NSIndexPath::indexPathForRow(0, 1));
    EXPECT_EQ(office->propertyForKey("title"), PlistValue("Office"));
    EXPECT_EQ(office->detailControllerClass(), "HBColorSelectorController");
}

TEST_F(RootPageTest, WithoutTheMailClassThereAreNoAccountRows) {
    show();
    auto sections = host->visibleSections();
    ASSERT_EQ(sections.size(), 3u);
    EXPECT_TRUE(sections[1].rows.empty());
    EXPECT_EQ(page->specifierForID("HBAllInboxesFilterListController")->titles(),
              std::vector<std::string>{"All"});
}

TEST_F(RootPageTest, AccountPreviewsBlendAtTheMailboxOpacity) {
    writeStandardAccounts();
    pending = {{"Office", PlistValue("#000000")}, {"Home", PlistValue("none")}};
    show();
    EXPECT_EQ(accountRow(0).background, "#BFBFBF");  // 191: 0.75 x 255 truncated
    EXPECT_EQ(accountRow(0).textColor, "#000000");
    EXPECT_EQ(accountRow(1).background, "#FFFFFF");  // no digits: white at any opacity

    store("mailBoxAlphaLevel", PlistValue::integer(100));
    host->goBack();
    page->reload();
    EXPECT_EQ(accountRow(0).background, "#000000");
    EXPECT_EQ(accountRow(0).textColor, "#FFFFFF");
}

TEST_F(RootPageTest, AccountsWithoutAColourFollowTheAppearance) {
    writeStandardAccounts();
    show();
    EXPECT_EQ(accountRow(2).background, "#FFFFFF");
    UITraitCollection::setCurrentUserInterfaceStyle(UIUserInterfaceStyleDark);
    page->reload();
    EXPECT_EQ(accountRow(2).background, "#000000");
}

TEST_F(RootPageTest, HeightsAndSpacersFollowTheRowPositions) {
    show();
    auto rows = host->visibleSections().at(0).rows;
    ASSERT_GE(rows.size(), 41u);
    EXPECT_EQ(rows[0].height, 42);
    EXPECT_EQ(rows[19].height, 10);
    EXPECT_EQ(rows[40].height, 25);
    EXPECT_EQ(rows[32].height, 34);
    EXPECT_EQ(rows[32].background, "#00000000");
    EXPECT_NE(rows[40].background, "#00000000");
    EXPECT_EQ(host->visibleSections().at(2).rows.at(1).height, 34);
}

TEST_F(RootPageTest, TableStartsWithoutATopGap) {
    show();
    UITableView* table = page->table();
    ASSERT_TRUE(table->tableHeaderView());
    EXPECT_GT(table->tableHeaderView()->frame().size.height, 0);
    EXPECT_LT(table->tableHeaderView()->frame().size.height, 1e-300);
}

TEST_F(RootPageTest, HelpButtonsOpenTheMakersPages) {
    show();
    UIApplication::sharedApplication().takeOpenedURLs();
    for (long row = 0; row < 3; ++row) {
        ASSERT_TRUE(host->tapRow(2, row));
    }
    std::vector<std::string> opened;
    for (const NSURL& url : UIApplication::sharedApplication().takeOpenedURLs()) {
        opened.push_back(url.absoluteString());
    }
    std::string site = HBPageRouter::kMakerSite;
    EXPECT_EQ(opened, (std::vector<std::string>{site + "/repo/html/f/huebadge9.htm",
                                                site + "/repo/html/changelog.php?p=huebadge11",
                                                site + "/repo/html/huebadge9_licenses.htm"}));
    EXPECT_EQ(host->depth(), 1u);
}

TEST_F(RootPageTest, EnabledAccountsRowOpensItsPage) {
    writeStandardAccounts();
    show();
    ASSERT_TRUE(host->tapRow(0, 38));
    ASSERT_EQ(host->depth(), 2u);
    EXPECT_EQ(host->topPage()->className(), "HBAllInboxesFilterListController");
}

// The registration keeps the real page when there is one; either way each row must show the
// page the registry makes for its own set.
TEST_F(RootPageTest, FolderOptionRowsOpenTheFirstAndTheSecondSet) {
    HBTypedControllerClasses::registerClass(kFolderOptionsPage,
                                            [](long type) -> PSViewControllerPtr {
                                                return std::make_shared<FolderOptionsStandIn>(type);
                                            });
    show();
    std::vector<std::string> opened;
    for (long row : {30, 31}) {
        ASSERT_TRUE(host->tapRow(0, row));
        ASSERT_EQ(host->depth(), 2u) << row;
        opened.push_back(host->dump());
        host->goBack();
    }
    std::vector<std::string> made;
    for (long type : {0, 1}) {
        HeadlessHost shown(HBTypedControllerClasses::create(kFolderOptionsPage, type));
        made.push_back(shown.dump());
    }
    ASSERT_NE(made[0], made[1]) << "the two sets must be told apart";
    EXPECT_EQ(opened, made);
}

}  // namespace
