#include "platform/system/MailAccount.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/system/DeviceRoot.h"
#include "platform/system/LocalAccount.h"
#include "support/TemporaryDeviceRoot.h"

namespace {

PlistValue entry(const char* name, const char* mailbox, const char* connection, bool local) {
    PlistValue account = PlistValue::dictionary();
    account.set("displayName", name);
    account.set("primaryMailboxUniqueId", mailbox);
    account.set("uniqueIdForPersistentConnection", connection);
    account.set("local", PlistValue::boolean(local));
    return account;
}

TEST(MailAccount, ListKeepsFileOrderAndTellsLocalAccounts) {
    PlistValue list(PlistValue::Array{entry("work", "M1", "P1", false),
                                      entry("On My iPhone", "M2", "P2", true),
                                      entry("Home", "M3", "P3", false)});
    Result<MailAccount::List> accounts = MailAccount::accountsFromPropertyList(list);
    ASSERT_TRUE(accounts.ok());
    ASSERT_EQ(accounts->size(), 3u);
    const MailAccount& work = *accounts.value()[0];
    EXPECT_EQ(work.displayName(), "work");
    EXPECT_EQ(work.primaryMailboxUid()->uniqueId(), "M1");
    EXPECT_EQ(work.uniqueIdForPersistentConnection(), "P1");
    EXPECT_FALSE(work.isLocalAccount());
    EXPECT_EQ(dynamic_cast<const LocalAccount*>(&work), nullptr);

    const MailAccount& local = *accounts.value()[1];
    EXPECT_TRUE(local.isLocalAccount());
    EXPECT_NE(dynamic_cast<const LocalAccount*>(&local), nullptr);
    EXPECT_EQ(accounts.value()[2]->displayName(), "Home");
}

TEST(MailAccount, MalformedEntriesAreLeftOutAndMissingIdsReadEmpty) {
    PlistValue unnamed = entry("x", "M", "P", false);
    unnamed.set("displayName", PlistValue::integer(7));
    PlistValue bare = PlistValue::dictionary();
    bare.set("displayName", "bare");
    bare.set("local", "yes");  // not a boolean: not local
    PlistValue list(PlistValue::Array{PlistValue("text"), PlistValue::dictionary(), unnamed, bare});

    Result<MailAccount::List> accounts = MailAccount::accountsFromPropertyList(list);
    ASSERT_TRUE(accounts.ok());
    ASSERT_EQ(accounts->size(), 1u);
    EXPECT_EQ(accounts.value()[0]->displayName(), "bare");
    EXPECT_EQ(accounts.value()[0]->primaryMailboxUid()->uniqueId(), "");
    EXPECT_EQ(accounts.value()[0]->uniqueIdForPersistentConnection(), "");
    EXPECT_FALSE(accounts.value()[0]->isLocalAccount());

    EXPECT_FALSE(MailAccount::accountsFromPropertyList(PlistValue::dictionary()).ok());
    EXPECT_FALSE(MailAccount::accountsFromPropertyList(PlistValue()).ok());
}

class MailAccountsOnDevice : public testing::Test {
  protected:
    void writeAccountsFile(const std::string& contents) {
        std::filesystem::path file = DeviceRoot::resolve(MailAccount::kAccountsPath);
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file) << contents;
    }

    TemporaryDeviceRoot device_;
};

TEST_F(MailAccountsOnDevice, ClassesArePresentExactlyWithAReadableList) {
    EXPECT_FALSE(MailAccount::lookupClass());
    EXPECT_FALSE(LocalAccount::lookupClass());
    EXPECT_TRUE(MailAccount::activeAccounts().empty());

    writeAccountsFile("<?xml version=\"1.0\"?><plist><array><dict>");
    EXPECT_FALSE(MailAccount::lookupClass());
    EXPECT_TRUE(MailAccount::activeAccounts().empty());

    writeAccountsFile("<?xml version=\"1.0\"?><plist><dict/></plist>");
    EXPECT_FALSE(MailAccount::lookupClass());

    writeAccountsFile("<?xml version=\"1.0\"?><plist version=\"1.0\"><array/></plist>");
    EXPECT_TRUE(MailAccount::lookupClass());
    EXPECT_TRUE(LocalAccount::lookupClass());
    EXPECT_TRUE(MailAccount::activeAccounts().empty());
}

TEST(MailAccountDemoDevice, ListsTheDemoAccounts) {
    std::string saved = DeviceRoot::directory();
    DeviceRoot::set(std::string(HUEBADGE_SOURCE_DIR) + "/demo/device");
    MailAccount::List accounts = MailAccount::activeAccounts();
    bool present = MailAccount::lookupClass();
    DeviceRoot::set(saved);

    EXPECT_TRUE(present);
    std::vector<std::string> names;
    int local = 0;
    for (const auto& account : accounts) {
        names.push_back(account->displayName());
        local += account->isLocalAccount() ? 1 : 0;
        EXPECT_EQ(account->primaryMailboxUid()->uniqueId().size(), 36u);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"work", "Home", "On My iPhone", "f4edcb52Office",
                                               "iCloud"}));
    EXPECT_EQ(local, 1);
}

}  // namespace
