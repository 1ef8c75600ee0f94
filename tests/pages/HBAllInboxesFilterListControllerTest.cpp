#include "pages/HBAllInboxesFilterListController.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "host/HeadlessHost.h"
#include "kit/HuebadgePSListController.h"
#include "platform/foundation/PropertyList.h"
#include "platform/prefs/PSClasses.h"
#include "platform/system/MailAccount.h"
#include "platform/ui/UIScreen.h"
#include "store/HBPreferences.h"
#include "support/Golden.h"
#include "support/NotificationProbe.h"
#include "support/TemporaryDeviceRoot.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kSettingsPath = "/var/mobile/Library/Preferences/net.quorvel.huebadge.plist";

PlistValue account(const char* name, const char* connection, bool local = false) {
    PlistValue entry = PlistValue::dictionary();
    entry.set("displayName", name);
    entry.set("primaryMailboxUniqueId", std::string("M-") + connection);
    entry.set("uniqueIdForPersistentConnection", connection);
    entry.set("local", PlistValue::boolean(local));
    return entry;
}

// Mail lists work before Home; a local account and a hidden-prefix name are among them.
PlistValue usualAccounts() {
    return PlistValue(
        PlistValue::Array{account("work", "P-work"), account("On My iPhone", "P-local", true),
                          account("Home", "P-home"), account("f4edcb52Office", "P-office")});
}

PlistValue strings(std::initializer_list<const char*> values) {
    PlistValue::Array array;
    for (const char* value : values) {
        array.emplace_back(value);
    }
    return PlistValue(std::move(array));
}

class EnabledAccountsPageTest : public ::testing::Test {
  protected:
    void TearDown() override {
        host_.reset();
        page_.reset();
        UITraitCollection::setCurrentUserInterfaceStyle(UIUserInterfaceStyleLight);
    }

    void writeFile(const char* devicePath, const PlistValue& value) {
        Result<std::string> xml = PropertyList::toXml(value);
        ASSERT_TRUE(xml);
        TemporaryDeviceRoot::write(device_.resolve(devicePath), xml.value());
    }

    // Shows the page over the accounts and settings file given (absent: no file at all).
    void open(const PlistValue& accounts, const PlistValue& settings = PlistValue()) {
        if (!accounts.isAbsent()) {
            writeFile(MailAccount::kAccountsPath.data(), accounts);
        }
        if (!settings.isAbsent()) {
            writeFile(kSettingsPath, settings);
        }
        HBPreferences::sharedInstance().reLoadFromIdentifier(HBPreferences::kIdentifier,
                                                             HBPreferences::kNotification);
        page_ = std::make_shared<HBAllInboxesFilterListController>();
        host_ = std::make_unique<HeadlessHost>(page_);
    }

    PlistValue settingsFile() {
        auto file = PropertyList::readFile(device_.resolve(kSettingsPath));
        return file ? file.value() : PlistValue();
    }

    std::vector<HeadlessHost::Row> rows() { return host_->visibleSections().at(0).rows; }

    static PlistValue settingsWith(PlistValue list) {
        PlistValue settings = PlistValue::dictionary();
        settings.set("allFoldersAccountList", std::move(list));
        settings.set("profileSaved", PlistValue::boolean(true));
        return settings;
    }

    TemporaryDeviceRoot device_;
    std::shared_ptr<HBAllInboxesFilterListController> page_;
    std::unique_ptr<HeadlessHost> host_;
};

// The first visit and the page after "All" is turned off, against one golden text. Until
// then the greyed account rows refuse taps and nothing is written.
TEST_F(EnabledAccountsPageTest, FirstVisitAndAllTurnedOffMatchGolden) {
    open(usualAccounts());
    std::string shown = host_->dump();
    for (long row = 1; row < 4; ++row) {
        EXPECT_FALSE(host_->tapRow(0, row)) << row;
    }
    EXPECT_FALSE(fs::exists(device_.resolve(kSettingsPath)));
    ASSERT_TRUE(host_->tapRow(0, 0));
    shown += host_->dump();
    expectMatchesGolden("pages/enabled-accounts.txt", shown);
}

TEST_F(EnabledAccountsPageTest, TappingAllTogglesItStoresAtOnceAndLeavesProfileSaved) {
    open(usualAccounts(), settingsWith(strings({"All"})));
    NotificationProbe probe(HBPreferences::kNotification);
    ASSERT_TRUE(probe.observing());
    ASSERT_TRUE(host_->tapRow(0, 0));

    PlistValue file = settingsFile();
    EXPECT_EQ(file["allFoldersAccountList"], PlistValue::array());
    EXPECT_EQ(file["profileSaved"], PlistValue::boolean(true));
    EXPECT_TRUE(file["lastModified"].isString());
    EXPECT_TRUE(probe.waitForDelivery());
    for (const HeadlessHost::Row& row : rows()) {
        EXPECT_EQ(row.accessory, "") << row.text;
        EXPECT_TRUE(row.enabled) << row.text;
    }
    EXPECT_TRUE(host_->visibleTable()->indexPathsForSelectedRows().empty());

    // Reloads hand cells out in another order; one greyed before must not keep "All" off.
    ASSERT_TRUE(host_->tapRow(0, 0));
    EXPECT_EQ(settingsFile()["allFoldersAccountList"], strings({"All"}));
    EXPECT_FALSE(rows()[1].enabled);
}

TEST_F(EnabledAccountsPageTest, SingleAccountsStoreTheirConnectionIdsInRowOrder) {
    open(usualAccounts(), settingsWith(PlistValue::array()));
    std::vector<HeadlessHost::Row> shown = rows();
    ASSERT_EQ(shown.size(), 4u);
    // Sorted by the full display name, shown without the hidden prefix.
    EXPECT_EQ(shown[1].text, "Office");
    EXPECT_EQ(shown[2].text, "Home");
    EXPECT_EQ(shown[3].text, "work");

    ASSERT_TRUE(host_->tapRow(0, 3));
    ASSERT_TRUE(host_->tapRow(0, 2));
    EXPECT_EQ(settingsFile()["allFoldersAccountList"], strings({"P-home", "P-work"}));
    shown = rows();
    EXPECT_EQ(shown[0].accessory, "");
    EXPECT_EQ(shown[1].accessory, "");
    EXPECT_EQ(shown[2].accessory, "checkmark");
    EXPECT_EQ(shown[3].accessory, "checkmark");

    ASSERT_TRUE(host_->tapRow(0, 3));
    EXPECT_EQ(settingsFile()["allFoldersAccountList"], strings({"P-home"}));
    EXPECT_EQ(settingsFile()["profileSaved"], PlistValue::boolean(true));
}

TEST_F(EnabledAccountsPageTest, StoredIdsOfRemovedAccountsAndNonStringsAreDropped) {
    PlistValue list = strings({"P-gone", "P-home"});
    PlistValue::Array withNumber = *list.arrayValue();
    withNumber.push_back(PlistValue::integer(3));
    open(usualAccounts(), settingsWith(PlistValue(withNumber)));
    EXPECT_EQ(page_->enabledAccounts(), std::set<std::string>{"P-home"});
    EXPECT_EQ(rows()[2].accessory, "checkmark");
    EXPECT_EQ(settingsFile()["allFoldersAccountList"], PlistValue(withNumber));

    ASSERT_TRUE(host_->tapRow(0, 3));
    EXPECT_EQ(settingsFile()["allFoldersAccountList"], strings({"P-home", "P-work"}));
}

// Mail may give two accounts of different names one connection ID: both rows show it chosen,
// and the list names it once.
TEST_F(EnabledAccountsPageTest, AnIdSharedByTwoRowsIsStoredOnce) {
    open(PlistValue(PlistValue::Array{account("work", "P-shared"), account("Home", "P-shared"),
                                      account("Office", "P-office")}),
         settingsWith(PlistValue::array()));
    ASSERT_EQ(rows().size(), 4u);
    ASSERT_TRUE(host_->tapRow(0, 3));
    ASSERT_TRUE(host_->tapRow(0, 2));
    EXPECT_EQ(settingsFile()["allFoldersAccountList"], strings({"P-shared", "P-office"}));
    EXPECT_EQ(rows()[1].accessory, "checkmark");
    EXPECT_EQ(rows()[3].accessory, "checkmark");
}

// A value of another type cannot name accounts; it reads as the default.
TEST_F(EnabledAccountsPageTest, StoredValueThatIsNotAListMeansAll) {
    open(usualAccounts(), settingsWith("P-home"));
    EXPECT_EQ(page_->enabledAccounts(), std::set<std::string>{"All"});
    EXPECT_FALSE(rows()[1].enabled);
}

TEST_F(EnabledAccountsPageTest, WithoutMailAccountsOnlyAllIsListed) {
    open(PlistValue());
    ASSERT_EQ(rows().size(), 1u);
    EXPECT_EQ(rows()[0].text, "All");
    host_.reset();
    open(PlistValue(PlistValue::Array{account("On My iPhone", "P-local", true)}));
    ASSERT_EQ(rows().size(), 1u);
    ASSERT_TRUE(host_->tapRow(0, 0));
    EXPECT_EQ(settingsFile()["allFoldersAccountList"], PlistValue::array());
}

TEST_F(EnabledAccountsPageTest, HeaderFollowsTheAppearance) {
    struct Case {
        UIUserInterfaceStyle style;
        double background;
        UIColor text;
    };
    for (const Case& want : {Case{UIUserInterfaceStyleLight, 247, UIColor::blackColor()},
                             Case{UIUserInterfaceStyleDark, 8, UIColor::whiteColor()}}) {
        UITraitCollection::setCurrentUserInterfaceStyle(want.style);
        open(usualAccounts());
        UITableView* table = host_->visibleTable();
        ASSERT_EQ(table, page_->tableView().get());
        EXPECT_EQ(table->snapshot().at(0).headerHeight, 50);
        EXPECT_EQ(table->snapshot().at(0).headerTitle, "Enabled Accounts");
        UIViewPtr header = table->headerViewForSection(0);
        ASSERT_TRUE(header);
        EXPECT_EQ(HeadlessHost::describeColor(*header->backgroundColor()),
                  HeadlessHost::describeColor(UIColor::colorWithWhite(want.background / 255, 1)));
        ASSERT_EQ(header->subviews().size(), 1u);
        auto* label = dynamic_cast<UILabel*>(header->subviews()[0].get());
        ASSERT_TRUE(label);
        EXPECT_EQ(label->text(), "Enabled Accounts");
        EXPECT_EQ(label->frame(), CGRectMake(10, 10, 390 - 110, 30));
        EXPECT_EQ(label->font(), UIFont::boldSystemFontOfSize(16));
        EXPECT_EQ(HeadlessHost::describeColor(label->textColor()),
                  HeadlessHost::describeColor(want.text));
        EXPECT_TRUE(label->adjustsFontSizeToFitWidth());
        host_.reset();
    }
}

TEST_F(EnabledAccountsPageTest, PageIsCreatedByNameAndFreedWithItsHost) {
    writeFile(MailAccount::kAccountsPath.data(), usualAccounts());
    HBPreferences::sharedInstance().reLoadFromIdentifier(HBPreferences::kIdentifier,
                                                         HBPreferences::kNotification);
    std::weak_ptr<UIViewController> watched;
    {
        std::unique_ptr<HeadlessHost> host =
            HeadlessHost::startWithPageNamed("HBAllInboxesFilterListController");
        ASSERT_TRUE(host);
        watched = host->topPage()->shared_from_this();
        UITableView* table = host->visibleTable();
        ASSERT_TRUE(table);
        EXPECT_EQ(table->frame(), UIScreen::mainScreen().bounds());
        EXPECT_TRUE(table->allowsMultipleSelection());
        EXPECT_EQ(host->visibleSections().at(0).rows.size(), 4u);
        ASSERT_TRUE(host->tapRow(0, 0));
    }
    EXPECT_TRUE(watched.expired());
}

}  // namespace
