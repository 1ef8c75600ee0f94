#include "model/HBProfiles.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "platform/foundation/PropertyList.h"
#include "platform/foundation/SystemCalls.h"
#include "store/HBPreferences.h"
#include "support/TemporaryDeviceRoot.h"

namespace {

class HBProfilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        PlistValue table = PlistValue::dictionary();
        table.set("enabled", PlistValue::boolean(true));
        table.set("lastModified", PlistValue("then"));
        writeFile(HBProfiles::settingsFileName(), table);
        ASSERT_TRUE(
            store_.reLoadFromIdentifier(HBPreferences::kIdentifier, HBPreferences::kNotification));
    }
    void writeFile(const std::string& fileName, const PlistValue& table) {
        TemporaryDeviceRoot::write(device_.resolve(HBProfiles::preferencesFolder() + fileName),
                                   PropertyList::toXml(table).value());
    }
    PlistValue file(const std::string& fileName) {
        auto read =
            PropertyList::readFile(device_.resolve(HBProfiles::preferencesFolder() + fileName));
        return read ? read.value() : PlistValue();
    }

    TemporaryDeviceRoot device_;
    HBPreferences store_;
    HBProfiles profiles_{store_};
};

TEST(HBProfilesNames, RefusesNamesThatCouldLeaveOrHideTheFile) {
    const std::string refused[] = {"a/b",
                                   "/",
                                   "../../../../tmp/x",
                                   ".hidden",
                                   "..",
                                   "a..b",
                                   std::string("nul\0x", 5),
                                   "tab\there",
                                   "line\nbreak",
                                   "\x7f",
                                   "next\xc2\x85line",
                                   "sep\xe2\x80\xa8rator",
                                   "bad \xff utf8",
                                   std::string(201, 'n')};
    for (const std::string& name : refused) {
        std::optional<std::string> problem = HBProfiles::problemWithProfileName(name);
        EXPECT_TRUE(problem && !problem->empty()) << name;
    }
    const std::string accepted[] = {
        "   ", "Ünïcode \xf0\x9f\x8e\xa8 family \xf0\x9f\x91\xa8\xe2\x80\x8d\xf0\x9f\x91\xa9",
        "a.b", std::string(200, 'n')};
    for (const std::string& name : accepted) {
        EXPECT_EQ(HBProfiles::problemWithProfileName(name), std::nullopt) << name;
    }
}

// Saving names the profile in both files without a new stamp; a load after a change brings
// the saved settings back; a reset leaves only a fresh stamp.
TEST_F(HBProfilesTest, SaveLoadAndResetMoveWholeTables) {
    ASSERT_TRUE(profiles_.save("Mine").done);
    PlistValue saved = file(HBProfiles::profileFileName("Mine"));
    EXPECT_EQ(saved, file(HBProfiles::settingsFileName()));
    EXPECT_EQ(saved["lastModified"], PlistValue("then"));
    EXPECT_EQ(profiles_.current().profileName, "Mine");

    ASSERT_TRUE(store_.change(PlistValue::boolean(false), "enabled"));
    EXPECT_EQ(profiles_.current().profileName, "Mine (Unsaved)");
    ASSERT_TRUE(profiles_.load("Mine").done);
    EXPECT_TRUE(store_.boolForKey("enabled"));
    EXPECT_EQ(file(HBProfiles::settingsFileName()), saved);

    ASSERT_TRUE(profiles_.reset().done);
    EXPECT_EQ(store_.table()->count(), 1u);
    EXPECT_EQ(profiles_.current().profileName, "Unsaved");
    ASSERT_EQ(profiles_.list().size(), 1u);
    EXPECT_EQ(profiles_.list()[0].profileName, "Mine");
}

// What cannot be read or written leaves the settings in use as they were.
TEST_F(HBProfilesTest, FailuresLeaveTheSettingsInUse) {
    PlistValue before = *store_.table();
    writeFile(HBProfiles::profileFileName("stamp"), [] {
        PlistValue odd = PlistValue::dictionary();
        odd.set("lastModified", PlistValue::integer(1));
        return odd;
    }());
    HBProfiles::Outcome unreadable = profiles_.load("stamp");
    EXPECT_FALSE(unreadable.done);
    EXPECT_EQ(unreadable.detail, std::nullopt);
    EXPECT_FALSE(profiles_.load("missing").done);
    {
        SystemCalls::ScopedFaultPlan plan({{{SystemCalls::Kind::Open, 1, ENOSPC}}});
        HBProfiles::Outcome failed = profiles_.save("New");
        EXPECT_FALSE(failed.done);
        EXPECT_NE(failed.detail.value_or("").find("No space left"), std::string::npos);
    }
    {
        SystemCalls::ScopedFaultPlan plan({{{SystemCalls::Kind::Open, 1, ENOSPC}}});
        EXPECT_FALSE(profiles_.reset().done);
    }
    EXPECT_EQ(*store_.table(), before);
    EXPECT_EQ(file(HBProfiles::settingsFileName()), before);
    EXPECT_FALSE(profiles_.exists("New"));
}

TEST(HBProfilesImport, NamesTheProfileByItsContentsElseItsFile) {
    struct Case {
        const char* fileName;
        std::string bytes;
        const char* name;  // null: refused
    };
    PlistValue named = PlistValue::dictionary();
    named.set("profileName", PlistValue("Inside"));
    std::string empty = PropertyList::toXml(PlistValue::dictionary()).value();
    const Case cases[] = {
        {"x.plist", PropertyList::toXml(named).value(), "Inside"},
        {"net.quorvel.huebadge_Shared.plist", empty, "Shared"},
        {"plain", empty, "plain"},
        {".plist", empty, nullptr},
        {"..x.plist", empty, nullptr},
        {"list.plist", PropertyList::toXml(PlistValue::array()).value(), nullptr},
        {"text.plist", "<plist><dict>", nullptr},
    };
    for (const Case& c : cases) {
        Result<HBProfiles::Import> read = HBProfiles::readImport(c.fileName, c.bytes);
        EXPECT_EQ(read.ok(), c.name != nullptr) << c.fileName;
        if (read && c.name) {
            EXPECT_EQ(read->name, c.name);
        } else {
            EXPECT_FALSE(read.error().empty()) << c.fileName;
        }
    }
}

}  // namespace
