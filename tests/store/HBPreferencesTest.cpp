#include "store/HBPreferences.h"

#include <gtest/gtest.h>
#include <unicode/locid.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <regex>

#include "platform/foundation/PropertyList.h"
#include "platform/foundation/SystemCalls.h"
#include "support/NotificationProbe.h"
#include "support/TemporaryDeviceRoot.h"

namespace {

const std::string kIdentifier = "net.quorvel.huebadge";
const std::string kNotification = "net.quorvel.huebadge/preferences";

class HBPreferencesTest : public ::testing::Test {
  protected:
    std::string settingsPath(const std::string& identifier = kIdentifier) const {
        return root.resolve("/var/mobile/Library/Preferences/" + identifier + ".plist");
    }

    PlistValue fileContents(const std::string& identifier = kIdentifier) const {
        Result<PlistValue> contents = PropertyList::readFile(settingsPath(identifier));
        EXPECT_TRUE(contents.ok()) << contents.error();
        return contents.ok() ? contents.value() : PlistValue();
    }

    void writeSettings(const PlistValue& table, const std::string& identifier = kIdentifier) {
        TemporaryDeviceRoot::write(settingsPath(identifier), PropertyList::toXml(table).value());
    }

    void change(const std::string& key, PlistValue value) {
        ASSERT_TRUE(store.change(std::move(value), key));
    }

    TemporaryDeviceRoot root;
    HBPreferences store;
};

TEST_F(HBPreferencesTest, FreshInstallShowsDefaultsAndTheFirstChangeWritesTheFile) {
    EXPECT_FALSE(store.loadFromIdentifier(kIdentifier, kNotification));
    EXPECT_TRUE(store.objectForKey("mailBoxAlphaLevel").isAbsent());
    EXPECT_EQ(store.integerForKey("mailBoxAlphaLevel", 25), 25);
    EXPECT_FALSE(std::filesystem::exists(settingsPath()));

    NotificationProbe probe(kNotification);
    change("mailBoxAlphaLevel", PlistValue::integer(40));

    PlistValue file = fileContents();
    EXPECT_EQ(file.count(), 3u);
    EXPECT_EQ(file["mailBoxAlphaLevel"], PlistValue::integer(40));
    EXPECT_EQ(file["profileSaved"], PlistValue::boolean(false));
    EXPECT_TRUE(file["lastModified"].isString());
    EXPECT_TRUE(probe.waitForDelivery());
}

TEST_F(HBPreferencesTest, TypedGettersConvertOnlyNumbersAndBooleans) {
    PlistValue table = PlistValue::dictionary();
    table.set("text", "25");
    table.set("yes", PlistValue::boolean(true));
    table.set("tenth", PlistValue::real(0.1));
    table.set("count", PlistValue::integer(-7));
    table.set("list", PlistValue::array());
    writeSettings(table);
    ASSERT_TRUE(store.loadFromIdentifier(kIdentifier, kNotification));

    EXPECT_EQ(store.integerForKey("text", 10), 10);
    EXPECT_EQ(store.floatForKey("text", 2.5), 2.5);
    EXPECT_FALSE(store.boolForKey("text"));
    EXPECT_EQ(*store.objectForKey("text").stringValue(), "25");
    EXPECT_EQ(store.integerForKey("yes"), 1);
    EXPECT_EQ(store.floatForKey("yes"), 1.0);
    EXPECT_EQ(store.floatForKey("tenth"), static_cast<double>(0.1f));
    EXPECT_NE(store.floatForKey("tenth"), 0.1);
    EXPECT_EQ(store.integerForKey("tenth"), 0);
    EXPECT_TRUE(store.boolForKey("tenth"));
    EXPECT_EQ(store.integerForKey("count"), -7);
    EXPECT_TRUE(store.boolForKey("count"));
    EXPECT_TRUE(store.boolForKey("list", true));
    EXPECT_EQ(store.integerForKey("missing", 3), 3);
}

TEST_F(HBPreferencesTest, WithoutATableNothingIsStoredOrWritten) {
    NotificationProbe probe(kNotification);
    store.setObject("x", "key");
    EXPECT_TRUE(store.objectForKey("key").isAbsent());
    EXPECT_EQ(store.integerForKey("key", 5), 5);
    EXPECT_FALSE(store.save());
    EXPECT_FALSE(store.save({.identifier = kIdentifier, .notification = kNotification}));
    EXPECT_FALSE(std::filesystem::exists(settingsPath()));
    EXPECT_TRUE(probe.staysQuiet());
}

TEST_F(HBPreferencesTest, StampIsWrittenOnlyWhenAsked) {
    PlistValue table = PlistValue::dictionary();
    table.set("lastModified", "1/1/20, 1:00:00 AM");
    writeSettings(table);
    ASSERT_TRUE(store.loadFromIdentifier(kIdentifier, kNotification));

    store.setObject(PlistValue::integer(1), "a");
    ASSERT_TRUE(store.save({.stamp = HBSaveOptions::Stamp::Unchanged}));
    EXPECT_EQ(*fileContents()["lastModified"].stringValue(), "1/1/20, 1:00:00 AM");

    ASSERT_TRUE(store.save());
    EXPECT_NE(*fileContents()["lastModified"].stringValue(), "1/1/20, 1:00:00 AM");
    EXPECT_EQ(fileContents()["lastModified"], store.objectForKey("lastModified"));
}

TEST_F(HBPreferencesTest, StampUsesShortDateAndMediumTimeOfTheLocale) {
    icu::Locale previous = icu::Locale::getDefault();
    UErrorCode status = U_ZERO_ERROR;
    icu::Locale::setDefault(icu::Locale("en_US"), status);
    store.loadFromIdentifier(kIdentifier, kNotification);
    ASSERT_TRUE(store.save());
    icu::Locale::setDefault(previous, status);

    // Recent ICU puts a narrow no-break space before AM/PM.
    std::regex usShortMedium(
        R"(^\d{1,2}/\d{1,2}/\d{2}, \d{1,2}:\d{2}:\d{2}(\s|\xE2\x80\xAF)[AP]M$)");
    EXPECT_TRUE(std::regex_match(*fileContents()["lastModified"].stringValue(), usShortMedium))
        << *fileContents()["lastModified"].stringValue();
}

TEST_F(HBPreferencesTest, LaterLoadsShareTheFirstTable) {
    PlistValue other = PlistValue::dictionary();
    other.set("from", "other");
    writeSettings(other, "other.domain");
    store.loadFromIdentifier(kIdentifier, kNotification);
    store.setObject("kept", "note");

    EXPECT_TRUE(store.loadFromIdentifier("other.domain", "other/notification"));
    EXPECT_EQ(*store.objectForKey("note").stringValue(), "kept");
    EXPECT_TRUE(store.objectForKey("from").isAbsent());
    ASSERT_TRUE(store.save());
    EXPECT_TRUE(std::filesystem::exists(settingsPath()));
    EXPECT_EQ(fileContents("other.domain"), other);
}

TEST_F(HBPreferencesTest, LoadOnceReplacesTheTableButKeepsWhereSavesGo) {
    PlistValue profile = PlistValue::dictionary();
    profile.set("profileName", "Work");
    profile.set("profileSaved", PlistValue::boolean(true));
    writeSettings(profile, "net.quorvel.huebadge_Work");
    store.loadFromIdentifier(kIdentifier, kNotification);
    store.setObject("gone", "note");

    NotificationProbe probe(kNotification);
    ASSERT_TRUE(store.loadOnceFromIdentifier("net.quorvel.huebadge_Work"));
    EXPECT_TRUE(store.objectForKey("note").isAbsent());
    ASSERT_TRUE(store.save({.stamp = HBSaveOptions::Stamp::Unchanged}));
    EXPECT_EQ(fileContents(), profile);
    EXPECT_TRUE(probe.waitForDelivery());

    EXPECT_FALSE(store.loadOnceFromIdentifier("net.quorvel.huebadge_Missing"));
    EXPECT_TRUE(store.hasTable());
    EXPECT_EQ(store.objectForKey("profileName").isAbsent(), true);
    EXPECT_EQ(store.identifier(), kIdentifier);
}

TEST_F(HBPreferencesTest, ReLoadRecordsTheNewIdentifierAndNotification) {
    writeSettings(PlistValue::dictionary(), "second");
    store.loadFromIdentifier(kIdentifier, kNotification);
    EXPECT_TRUE(store.reLoadFromIdentifier("second", "second/changed"));
    EXPECT_EQ(store.identifier(), "second");
    EXPECT_EQ(store.notification(), "second/changed");
}

TEST_F(HBPreferencesTest, NullNotificationWritesButPostsNothing) {
    store.loadFromIdentifier(kIdentifier, kNotification);
    NotificationProbe probe(kNotification);
    store.setObject(PlistValue::integer(2), "x");
    ASSERT_TRUE(
        store.save({.identifier = kIdentifier, .notification = HBPreferences::Notification()}));
    EXPECT_EQ(fileContents()["x"], PlistValue::integer(2));
    EXPECT_TRUE(probe.staysQuiet());
}

TEST_F(HBPreferencesTest, ResetThenSaveLeavesOnlyTheStamp) {
    PlistValue table = PlistValue::dictionary();
    table.set("profileName", "Home");
    table.set("filtersEnabled", PlistValue::array());
    writeSettings(table);
    store.loadFromIdentifier(kIdentifier, kNotification);
    store.resetPreferences();
    ASSERT_TRUE(store.save());
    PlistValue file = fileContents();
    ASSERT_EQ(file.count(), 1u);
    EXPECT_TRUE(file["lastModified"].isString());
}

TEST_F(HBPreferencesTest, EditingAHandedOutArrayChangesNothingUntilStoredBack) {
    store.loadFromIdentifier(kIdentifier, kNotification);
    store.setObject(PlistValue(PlistValue::Array{PlistValue("a")}), "filtersEnabled");
    PlistValue filters = store.objectForKey("filtersEnabled");
    filters.append("b");
    EXPECT_EQ(store.objectForKey("filtersEnabled").count(), 1u);
    store.setObject(filters, "filtersEnabled");
    EXPECT_EQ(store.objectForKey("filtersEnabled").count(), 2u);
}

TEST_F(HBPreferencesTest, UnreadableFileIsKeptBesideTheNewOne) {
    std::string broken = "<?xml version=\"1.0\"?><plist><dict><key>a</key>";
    TemporaryDeviceRoot::write(settingsPath(), broken);
    EXPECT_FALSE(store.loadFromIdentifier(kIdentifier, kNotification));
    EXPECT_EQ(store.objectForKey("a").isAbsent(), true);

    change("mailBoxAlphaLevel", PlistValue::integer(30));
    EXPECT_EQ(TemporaryDeviceRoot::read(settingsPath() + ".unreadable"), broken);
    EXPECT_EQ(fileContents()["mailBoxAlphaLevel"], PlistValue::integer(30));

    // Only the first save keeps a copy: later saves replace a file the store wrote itself.
    change("mailBoxAlphaLevel", PlistValue::integer(31));
    EXPECT_FALSE(std::filesystem::exists(settingsPath() + ".unreadable.1"));
}

TEST_F(HBPreferencesTest, NonDictionaryRootCountsAsUnreadable) {
    PlistValue list(PlistValue::Array{PlistValue("not a table")});
    TemporaryDeviceRoot::write(settingsPath(), PropertyList::toXml(list).value());
    EXPECT_FALSE(store.loadFromIdentifier(kIdentifier, kNotification));
    ASSERT_TRUE(store.save());
    EXPECT_EQ(PropertyList::readFile(settingsPath() + ".unreadable").value(), list);
}

TEST_F(HBPreferencesTest, AnEarlierKeptCopyIsNeverOverwritten) {
    TemporaryDeviceRoot::write(settingsPath() + ".unreadable", "first");
    TemporaryDeviceRoot::write(settingsPath(), "second");
    store.loadFromIdentifier(kIdentifier, kNotification);
    ASSERT_TRUE(store.save());
    EXPECT_EQ(TemporaryDeviceRoot::read(settingsPath() + ".unreadable"), "first");
    EXPECT_EQ(TemporaryDeviceRoot::read(settingsPath() + ".unreadable.1"), "second");
}

TEST_F(HBPreferencesTest, IdentifiersThatLeaveThePreferencesFolderAreRefused) {
    store.loadFromIdentifier(kIdentifier, kNotification);
    for (const char* identifier : {"../escape", "a/b", ".hidden", ""}) {
        EXPECT_FALSE(store.save({.identifier = identifier,
                                 .notification = HBPreferences::Notification(),
                                 .stamp = HBSaveOptions::Stamp::Unchanged}))
            << identifier;
        EXPECT_FALSE(store.loadOnceFromIdentifier(identifier)) << identifier;
    }
    EXPECT_FALSE(std::filesystem::exists(root.path() / "var/mobile/Library/escape.plist"));
}

TEST_F(HBPreferencesTest, FailedWriteReportsNoPostsNothingAndKeepsTheChangeInMemory) {
    store.loadFromIdentifier(kIdentifier, kNotification);
    change("mailBoxAlphaLevel", PlistValue::integer(10));
    std::string before = TemporaryDeviceRoot::read(settingsPath());

    for (auto kind : {SystemCalls::Kind::Write, SystemCalls::Kind::Fsync, SystemCalls::Kind::Rename,
                      SystemCalls::Kind::DirectoryFsync}) {
        NotificationProbe probe(kNotification);
        {
            SystemCalls::ScopedFaultPlan plan({{{kind}}});
            store.setObject(PlistValue::integer(90), "mailBoxAlphaLevel");
            EXPECT_FALSE(store.save());
        }
        EXPECT_EQ(store.integerForKey("mailBoxAlphaLevel"), 90);
        EXPECT_TRUE(probe.staysQuiet());
        if (kind != SystemCalls::Kind::DirectoryFsync) {
            EXPECT_EQ(TemporaryDeviceRoot::read(settingsPath()), before);
        }
    }
}

TEST_F(HBPreferencesTest, AChangeMarksTheProfileUnsavedAndPostsTheGivenNotification) {
    store.loadFromIdentifier(kIdentifier, kNotification);
    writeSettings(PlistValue::dictionary());
    NotificationProbe other("net.quorvel.huebadge/other");
    NotificationProbe usual(kNotification);
    store.setObject(PlistValue::boolean(true), "profileSaved");
    ASSERT_TRUE(store.change(PlistValue::integer(7), "mailBoxAlphaLevel",
                             std::string("net.quorvel.huebadge/other")));
    EXPECT_TRUE(other.waitForDelivery());
    EXPECT_TRUE(usual.staysQuiet());
    PlistValue written = fileContents();
    EXPECT_EQ(written["mailBoxAlphaLevel"], PlistValue::integer(7));
    EXPECT_EQ(written["profileSaved"], PlistValue::boolean(false));
}

// A failed write names the file and the system's reason; the value waits in memory and the
// next successful save writes it and clears the failure.
TEST_F(HBPreferencesTest, AFailedChangeIsReportedAndRetriedByTheNextSave) {
    store.loadFromIdentifier(kIdentifier, kNotification);
    {
        SystemCalls::ScopedFaultPlan plan({{{SystemCalls::Kind::Rename, 1, EROFS}}});
        EXPECT_FALSE(store.change(PlistValue::integer(42), "mailBoxAlphaLevel"));
    }
    ASSERT_TRUE(store.lastSaveFailure());
    EXPECT_EQ(store.lastSaveFailure()->path, settingsPath());
    EXPECT_NE(store.lastSaveFailure()->message.find(std::strerror(EROFS)), std::string::npos)
        << store.lastSaveFailure()->message;
    EXPECT_FALSE(std::filesystem::exists(settingsPath()));

    ASSERT_TRUE(store.saveChange());
    EXPECT_FALSE(store.lastSaveFailure());
    EXPECT_EQ(fileContents()["mailBoxAlphaLevel"], PlistValue::integer(42));
}

// A folder where the settings file belongs is an unreadable file that cannot be kept aside:
// nothing throws, the folder is left alone, and the save fails with the system's reason.
TEST_F(HBPreferencesTest, AFolderInPlaceOfTheFileFailsTheSaveSoftly) {
    std::filesystem::create_directories(settingsPath());
    TemporaryDeviceRoot::write(settingsPath() + "/inside", "kept");
    EXPECT_FALSE(store.loadFromIdentifier(kIdentifier, kNotification));

    bool written = true;
    EXPECT_NO_THROW(written = store.change(PlistValue::boolean(true), "enabled"));
    EXPECT_FALSE(written);
    ASSERT_TRUE(store.lastSaveFailure());
    EXPECT_EQ(store.lastSaveFailure()->path, settingsPath());
    EXPECT_NE(store.lastSaveFailure()->message.find(std::strerror(EISDIR)), std::string::npos)
        << store.lastSaveFailure()->message;
    EXPECT_EQ(TemporaryDeviceRoot::read(settingsPath() + "/inside"), "kept");
    EXPECT_TRUE(store.boolForKey("enabled"));

    std::filesystem::remove_all(settingsPath());
    ASSERT_TRUE(store.saveChange());
    EXPECT_EQ(fileContents()["enabled"], PlistValue::boolean(true));
    EXPECT_FALSE(store.lastSaveFailure());
}

// A replaced table that cannot be written leaves the one before it in use, in memory as on
// disk; one that is written is in use and on disk.
TEST_F(HBPreferencesTest, ReplacedTableIsKeptOnlyWhenWritten) {
    PlistValue before = PlistValue::dictionary();
    before.set("enabled", PlistValue::boolean(true));
    writeSettings(before);
    ASSERT_TRUE(store.reLoadFromIdentifier(kIdentifier, kNotification));
    PlistValue replacement = PlistValue::dictionary();
    replacement.set("listAlphaLevel", PlistValue::integer(5));
    {
        SystemCalls::ScopedFaultPlan plan({{{SystemCalls::Kind::Open, 1, ENOSPC}}});
        EXPECT_FALSE(store.replaceTable(replacement, {}));
    }
    EXPECT_EQ(store.table(), before);
    EXPECT_EQ(fileContents(), before);
    ASSERT_TRUE(store.lastSaveFailure());

    ASSERT_TRUE(store.replaceTable(replacement, {}));
    EXPECT_EQ(store.integerForKey("listAlphaLevel"), 5);
    EXPECT_TRUE(store.objectForKey("enabled").isAbsent());
    EXPECT_EQ(fileContents()["listAlphaLevel"], PlistValue::integer(5));
}

// Records what the store tells, in order.
class RecordingObserver : public HBPreferencesObserver {
  public:
    void preferenceDidChange(std::string_view key) override { told.push_back(std::string(key)); }
    void preferencesDidReload() override { told.push_back("(reload)"); }
    void preferencesDidFailToSave() override { told.push_back("(failed)"); }
    std::vector<std::string> told;
};

TEST_F(HBPreferencesTest, ObserversAreToldOfEachChangeReloadAndFailure) {
    struct Case {
        const char* what;
        std::function<void(HBPreferences&)> act;
        std::vector<std::string> told;
    };
    PlistValue table = PlistValue::dictionary();
    const Case cases[] = {
        {"setObject", [](HBPreferences& s) { s.setObject(PlistValue::integer(1), "a"); }, {"a"}},
        {"absent value", [](HBPreferences& s) { s.setObject(PlistValue(), "a"); }, {}},
        {"change",
         [](HBPreferences& s) { ASSERT_TRUE(s.change(PlistValue::integer(2), "a")); },
         {"a", "profileSaved"}},
        {"reload",
         [](HBPreferences& s) { s.reLoadFromIdentifier(kIdentifier, kNotification); },
         {"(reload)"}},
        {"reset", [](HBPreferences& s) { s.resetPreferences(); }, {"(reload)"}},
        {"replace",
         [&](HBPreferences& s) { ASSERT_TRUE(s.replaceTable(table, {})); },
         {"(reload)"}},
        {"failed replace",
         [&](HBPreferences& s) {
             SystemCalls::ScopedFaultPlan plan({{{SystemCalls::Kind::Open, 1, ENOSPC}}});
             EXPECT_FALSE(s.replaceTable(table, {}));
         },
         {"(failed)"}},
        {"failed save",
         [](HBPreferences& s) { EXPECT_FALSE(s.save({.identifier = "a/b"})); },
         {"(failed)"}},
    };
    ASSERT_TRUE(store.reLoadFromIdentifier(kIdentifier, kNotification) || store.hasTable());
    for (const Case& c : cases) {
        auto observer = std::make_shared<RecordingObserver>();
        store.addObserver(observer);
        c.act(store);
        EXPECT_EQ(observer->told, c.told) << c.what;
    }
}

// The store does not keep an observer alive, and one that is gone is skipped.
TEST_F(HBPreferencesTest, ObserversThatAreGoneAreNotTold) {
    ASSERT_TRUE(store.reLoadFromIdentifier(kIdentifier, kNotification) || store.hasTable());
    auto kept = std::make_shared<RecordingObserver>();
    std::weak_ptr<RecordingObserver> dropped;
    {
        auto gone = std::make_shared<RecordingObserver>();
        dropped = gone;
        store.addObserver(gone);
    }
    store.addObserver(kept);
    store.setObject(PlistValue::integer(1), "a");
    EXPECT_TRUE(dropped.expired());
    EXPECT_EQ(kept->told, std::vector<std::string>{"a"});
}

}  // namespace
