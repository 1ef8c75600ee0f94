#include "pages/HBProfileController.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <functional>

#include "host/HeadlessHost.h"
#include "pages/HuebadgeListController.h"
#include "platform/foundation/PropertyList.h"
#include "platform/foundation/SystemCalls.h"
#include "platform/prefs/PSBundle.h"
#include "platform/ui/UIDocumentInteractionController.h"
#include "platform/ui/UILongPressGestureRecognizer.h"
#include "platform/ui/UITableViewHeaderFooterView.h"
#include "store/HBPreferences.h"
#include "support/Golden.h"
#include "support/NotificationProbe.h"
#include "support/PlistPrint.h"
#include "support/TemporaryDeviceRoot.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kFolder = "/var/mobile/Library/Preferences/";
constexpr const char* kSettings = "/var/mobile/Library/Preferences/net.quorvel.huebadge.plist";
constexpr const char* kStamp = "12/7/26, 1:50:45 PM";

std::string profileFile(const std::string& name) {
    return std::string(kFolder) + "net.quorvel.huebadge_" + name + ".plist";
}

PlistValue settings(std::initializer_list<std::pair<const char*, PlistValue>> entries) {
    PlistValue table = PlistValue::dictionary();
    for (const auto& [key, value] : entries) {
        table.set(key, value);
    }
    return table;
}

class ProfilePageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        UITraitCollection::setCurrentUserInterfaceStyle(UIUserInterfaceStyleLight);
        UIDocumentInteractionController::takePresentedShares();
    }
    void TearDown() override {
        host_.reset();
        page_.reset();
        UIDocumentInteractionController::takePresentedShares();
    }

    void write(const std::string& devicePath, const PlistValue& value) {
        TemporaryDeviceRoot::write(device_.resolve(devicePath), PropertyList::toXml(value).value());
    }
    std::string bytes(const std::string& devicePath) {
        return TemporaryDeviceRoot::read(device_.resolve(devicePath));
    }
    bool exists(const std::string& devicePath) { return fs::exists(device_.resolve(devicePath)); }
    std::vector<std::string> folder() {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(device_.resolve(kFolder))) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    // Shows the page over the settings file given (absent: none).
    void open(const PlistValue& current = PlistValue()) {
        fs::create_directories(device_.resolve(kFolder));
        if (!current.isAbsent()) {
            write(kSettings, current);
        }
        store().reLoadFromIdentifier(HBPreferences::kIdentifier, HBPreferences::kNotification);
        page_ = std::make_shared<HBProfileController>();
        host_ = std::make_unique<HeadlessHost>(page_);
    }

    static HBPreferences& store() { return HBPreferences::sharedInstance(); }

    // For the next case of a table: no page, no files.
    void startOver() {
        host_.reset();
        page_.reset();
        fs::remove_all(device_.resolve(kFolder));
    }

    std::string rowText(long section, long row) {
        return host_->visibleSections().at(section).rows.at(row).text;
    }
    std::vector<std::string> available() {
        std::vector<std::string> names;
        std::vector<HeadlessHost::Section> sections = host_->visibleSections();
        for (const auto& row : sections.at(1).rows) {
            names.push_back(row.text);
        }
        return names;
    }

    // The alert shown now as "title|message|action,action", or "" when none.
    std::string alert() {
        UIAlertController* shown = host_->presentedAlert();
        if (!shown) {
            return "";
        }
        std::string text = shown->alertTitle().value_or("(none)") + "|" +
                           shown->message().value_or("(none)") + "|";
        for (const auto& action : shown->actions()) {
            text += action->title() + (action == shown->actions().back() ? "" : ",");
        }
        return text;
    }

    // Taps CURRENT and answers the name alert with Save.
    void saveAs(const std::string& name) {
        ASSERT_TRUE(host_->tapRow(0, 0));
        ASSERT_TRUE(host_->typeIntoAlert(0, name));
        ASSERT_TRUE(host_->pressAlertAction("Save"));
    }
    void loadRow(long row) {
        ASSERT_TRUE(host_->tapRow(1, row));
        ASSERT_TRUE(host_->pressAlertAction("Yes"));
    }
    void pressAt(CGPoint point) { ASSERT_TRUE(host_->longPress(point)); }
    CGPoint centreOfRow(long section, long row) {
        CGRect rect = host_->visibleTable()->rectForRowAtIndexPath(
            NSIndexPath::indexPathForRow(row, section));
        return CGPoint{rect.origin.x + rect.size.width / 2, rect.origin.y + rect.size.height / 2};
    }

    TemporaryDeviceRoot device_;
    std::shared_ptr<HBProfileController> page_;
    std::unique_ptr<HeadlessHost> host_;
};

// Names sorted without regard to case; a file without a stamp, one that is no dictionary and
// one whose stamp is no string list an empty date; a folder, the settings file and other
// files matching nothing are left out.
TEST_F(ProfilePageTest, ListsProfileFilesByNameWithRedHeaders) {
    fs::create_directories(device_.resolve(kFolder));
    write(profileFile("beta"), settings({{"lastModified", PlistValue("1/2/26, 9:00:00 AM")}}));
    write(profileFile("Alpha"), settings({{"lastModified", PlistValue(kStamp)}}));
    write(profileFile("gamma"), settings({}));
    write(profileFile("array"), PlistValue(PlistValue::Array{PlistValue("x")}));
    write(profileFile("number stamp"), settings({{"lastModified", PlistValue::integer(3)}}));
    TemporaryDeviceRoot::write(device_.resolve(profileFile("broken")), "not a plist");
    fs::create_directories(device_.resolve(profileFile("folder")));
    write(std::string(kFolder) + "net.quorvel.huebadge_x.plist.unreadable", settings({}));
    write(std::string(kFolder) + "net.quorvel.huebadgeX.plist", settings({}));
    open(settings({{"lastModified", PlistValue(kStamp)}}));

    expectMatchesGolden("pages/profiles.txt", host_->dump());
    for (long section : {0L, 1L}) {
        auto* header = dynamic_cast<UITableViewHeaderFooterView*>(
            host_->visibleTable()->headerViewForSection(section).get());
        ASSERT_NE(header, nullptr);
        EXPECT_EQ(header->textLabel()->textColor(), UIColor::redColor());
    }
}

// Saving writes the profile and the settings file with the same bytes, the name and YES under
// "profileSaved", the stamp of the settings' last change, and tells nobody.
TEST_F(ProfilePageTest, SaveWritesBothFilesAlikeWithoutStampOrNotification) {
    open(settings({{"enabled", PlistValue::boolean(true)}, {"lastModified", PlistValue(kStamp)}}));
    NotificationProbe probe(HBPreferences::kNotification);
    ASSERT_TRUE(probe.observing());
    ASSERT_TRUE(host_->tapRow(0, 0));
    EXPECT_EQ(alert(), "Save|Please enter a Profile Name|Save,Cancel");
    ASSERT_TRUE(host_->pressAlertAction("Cancel"));
    EXPECT_EQ(folder(), std::vector<std::string>{"net.quorvel.huebadge.plist"});

    saveAs("Work");
    EXPECT_EQ(alert(), "");
    PlistValue expected = settings({{"enabled", PlistValue::boolean(true)},
                                    {"lastModified", PlistValue(kStamp)},
                                    {"profileName", PlistValue("Work")},
                                    {"profileSaved", PlistValue::boolean(true)}});
    EXPECT_EQ(bytes(profileFile("Work")), PropertyList::toXml(expected).value());
    EXPECT_EQ(bytes(kSettings), bytes(profileFile("Work")));
    EXPECT_TRUE(probe.staysQuiet());
    EXPECT_EQ(rowText(0, 0), "Work");
    EXPECT_EQ(available(), std::vector<std::string>{"Work"});

    // The field offers the last name again.
    ASSERT_TRUE(host_->tapRow(0, 0));
    EXPECT_EQ(host_->presentedAlert()->textFields().at(0)->text(), "Work");
}

TEST_F(ProfilePageTest, SavingUnderAnExistingNameAsksBeforeReplacingIt) {
    open(settings({{"listAlphaLevel", PlistValue::integer(10)}}));
    saveAs("Work");
    ASSERT_TRUE(store().change(PlistValue::integer(80), "listAlphaLevel"));
    std::string first = bytes(profileFile("Work"));

    saveAs("Work");
    EXPECT_EQ(alert(), "That profile exists!|Would you like to overwrite it?|Yes,No");
    ASSERT_TRUE(host_->pressAlertAction("No"));
    EXPECT_EQ(bytes(profileFile("Work")), first);

    saveAs("Work");
    ASSERT_TRUE(host_->pressAlertAction("Yes"));
    auto replaced = PropertyList::readFile(device_.resolve(profileFile("Work")));
    ASSERT_TRUE(replaced);
    EXPECT_EQ(replaced.value()["listAlphaLevel"].integerValue(), 80);
    EXPECT_EQ(available(), std::vector<std::string>{"Work"});
}

// A change on another page marks the settings unsaved; loading the profile brings its own
// table back, as the settings file, with one notification.
TEST_F(ProfilePageTest, LoadBringsTheProfileBackAfterAChangeElsewhere) {
    open(settings({{"enabled", PlistValue::boolean(true)}}));
    saveAs("Work");
    std::string saved = bytes(profileFile("Work"));
    ASSERT_TRUE(store().change(PlistValue::boolean(false), "enabled"));
    page_->viewWillAppear(false);
    host_->advanceClock(HBProfileController::kReloadDelay / 2);
    EXPECT_EQ(rowText(0, 0), "Work");
    host_->advanceClock(HBProfileController::kReloadDelay / 2);
    EXPECT_EQ(rowText(0, 0), "Work (Unsaved)");

    NotificationProbe probe(HBPreferences::kNotification);
    ASSERT_TRUE(probe.observing());
    ASSERT_TRUE(host_->tapRow(1, 0));
    EXPECT_EQ(alert(),
              "Are you sure you want to load the selected profile?|If your current profile is "
              "Unsaved, it will be lost!!!|Yes,Cancel");
    ASSERT_TRUE(host_->pressAlertAction("Cancel"));
    EXPECT_EQ(rowText(0, 0), "Work (Unsaved)");

    loadRow(0);
    EXPECT_EQ(alert(), "");
    EXPECT_EQ(rowText(0, 0), "Work");
    EXPECT_TRUE(store().boolForKey("enabled"));
    EXPECT_EQ(bytes(kSettings), saved);
    EXPECT_TRUE(probe.waitForDelivery());
    EXPECT_EQ(store().identifier(), HBPreferences::kIdentifier);
}

TEST_F(ProfilePageTest, ResetLeavesOnlyAFreshStampAndNotifies) {
    open(settings({{"profileName", PlistValue("Work")},
                   {"profileSaved", PlistValue::boolean(true)},
                   {"enabled", PlistValue::boolean(true)}}));
    NotificationProbe probe(HBPreferences::kNotification);
    ASSERT_TRUE(probe.observing());
    ASSERT_TRUE(host_->commitDelete(0, 0));
    EXPECT_EQ(alert(),
              "Are you sure you want to reset your current profile?|If your current profile is "
              "Unsaved, it will be lost!!!|Reset,Cancel");
    ASSERT_TRUE(host_->pressAlertAction("Reset"));

    auto file = PropertyList::readFile(device_.resolve(kSettings));
    ASSERT_TRUE(file);
    ASSERT_EQ(file.value().dictionaryValue()->size(), 1u);
    const std::string* stamp = file.value()["lastModified"].stringValue();
    ASSERT_NE(stamp, nullptr);
    EXPECT_FALSE(stamp->empty());
    HeadlessHost::Row current = host_->visibleSections().at(0).rows.at(0);
    EXPECT_EQ(current.text, "Unsaved");
    EXPECT_EQ(current.detail, "Last Modified: " + *stamp);
    EXPECT_TRUE(probe.waitForDelivery());
}

// Every refused name says why and writes nothing; the accepted ones come back as typed.
TEST_F(ProfilePageTest, UnsafeNamesAreRefusedBeforeAnythingIsWritten) {
    open(settings({{"enabled", PlistValue::boolean(true)}}));
    std::string before = bytes(kSettings);
    // The rules themselves are HBProfiles's; the page shows their answer and writes nothing.
    const std::string refused[] = {"a/b", std::string("nul\0x", 5)};
    for (const std::string& name : refused) {
        saveAs(name);
        UIAlertController* shown = host_->presentedAlert();
        ASSERT_NE(shown, nullptr) << name;
        EXPECT_EQ(shown->alertTitle(), "Error, Invalid profile name") << name;
        EXPECT_FALSE(shown->message().value_or("").empty()) << name;
        ASSERT_TRUE(host_->pressAlertAction("Dismiss"));
        EXPECT_EQ(folder(), std::vector<std::string>{"net.quorvel.huebadge.plist"}) << name;
        EXPECT_EQ(bytes(kSettings), before) << name;
    }
    EXPECT_EQ(rowText(0, 0), "Unsaved");

    saveAs("");
    EXPECT_EQ(alert(), "Error, You cannot save a profile with no name|(none)|Dismiss");
    ASSERT_TRUE(host_->pressAlertAction("Dismiss"));

    const std::string accepted[] = {"a.b", std::string(200, 'n')};
    for (const std::string& name : accepted) {
        saveAs(name);
        EXPECT_EQ(alert(), "") << name;
        EXPECT_TRUE(exists(profileFile(name))) << name;
        EXPECT_EQ(rowText(0, 0), name);
    }
    std::vector<std::string> listed = available();
    EXPECT_EQ(listed.size(), std::size(accepted));
    for (const std::string& name : accepted) {
        EXPECT_NE(std::find(listed.begin(), listed.end(), name), listed.end()) << name;
    }
}

// A profile that cannot be loaded leaves the table in use: a later change elsewhere still
// writes the user's settings.
TEST_F(ProfilePageTest, FailedLoadKeepsTheSettingsInUse) {
    open(settings({{"enabled", PlistValue::boolean(true)}, {"profileName", PlistValue("Mine")}}));
    write(profileFile("array"), PlistValue(PlistValue::Array{}));
    write(profileFile("stamp"), settings({{"lastModified", PlistValue::integer(1)},
                                          {"enabled", PlistValue::boolean(false)}}));
    TemporaryDeviceRoot::write(device_.resolve(profileFile("text")), "<plist><dict>");
    host_->advanceClock(HBProfileController::kReloadDelay);
    ASSERT_EQ(available(), (std::vector<std::string>{"array", "stamp", "text"}));
    std::string before = bytes(kSettings);
    for (long row = 0; row < 3; ++row) {
        loadRow(row);
        EXPECT_EQ(alert(), "Error, Could not load profile|(none)|Dismiss") << row;
        ASSERT_TRUE(host_->pressAlertAction("Dismiss"));
        EXPECT_EQ(bytes(kSettings), before);
    }
    ASSERT_TRUE(store().change(PlistValue::integer(5), "listAlphaLevel"));
    auto file = PropertyList::readFile(device_.resolve(kSettings));
    ASSERT_TRUE(file);
    EXPECT_TRUE(file.value()["enabled"].boolValue());
    EXPECT_EQ(rowText(0, 0), "Mine (Unsaved)");
}

// Each failed write is reported, and the settings file is never left naming a profile that
// was not written. Only the settings file failing after the profile was saved keeps the name.
TEST_F(ProfilePageTest, FailedWritesAreReportedAndUndone) {
    auto reset = [this] {
        ASSERT_TRUE(host_->commitDelete(0, 0));
        ASSERT_TRUE(host_->pressAlertAction("Reset"));
    };
    struct Case {
        std::function<void()> act;
        int failingOpen;
        const char* title;
        bool profileWritten;
        const char* current;
    };
    const Case cases[] = {
        {[this] { saveAs("New"); }, 1, "Error, Could not save profile", false, "Mine (Unsaved)"},
        {[this] { saveAs("New"); }, 2, "Error, Could not save profile", true, "New"},
        {[this] { loadRow(0); }, 1, "Error, Could not load profile", false, "Mine (Unsaved)"},
        {reset, 1, "Error, Could not reset profile", false, "Mine (Unsaved)"},
    };
    for (const Case& c : cases) {
        startOver();
        write(profileFile("Old"), settings({{"enabled", PlistValue::boolean(false)}}));
        open(settings(
            {{"enabled", PlistValue::boolean(true)}, {"profileName", PlistValue("Mine")}}));
        std::string before = bytes(kSettings);
        {
            SystemCalls::ScopedFaultPlan plan({{{SystemCalls::Kind::Open, c.failingOpen, ENOSPC}}});
            c.act();
        }
        SCOPED_TRACE(std::string(c.title) + " " + c.current);
        UIAlertController* shown = host_->presentedAlert();
        ASSERT_NE(shown, nullptr);
        EXPECT_EQ(shown->alertTitle(), c.title);
        EXPECT_NE(shown->message().value_or("").find("No space left"), std::string::npos);
        ASSERT_TRUE(host_->pressAlertAction("Dismiss"));
        EXPECT_EQ(bytes(kSettings), before);
        EXPECT_EQ(exists(profileFile("New")), c.profileWritten);
        EXPECT_TRUE(store().boolForKey("enabled"));
        EXPECT_EQ(rowText(0, 0), c.current);
    }
}

TEST_F(ProfilePageTest, SwipeDeletesAProfileFileAndReportsOneAlreadyGone) {
    write(profileFile("a"), settings({}));
    write(profileFile("b"), settings({}));
    open();
    EXPECT_TRUE(
        host_->visibleTable()->offersDeleteForRowAtIndexPath(NSIndexPath::indexPathForRow(0, 1)));
    ASSERT_TRUE(host_->commitDelete(1, 0));
    EXPECT_EQ(alert(), "");
    EXPECT_FALSE(exists(profileFile("a")));
    EXPECT_EQ(available(), std::vector<std::string>{"b"});

    fs::remove(device_.resolve(profileFile("b")));
    ASSERT_TRUE(host_->commitDelete(1, 0));
    UIAlertController* shown = host_->presentedAlert();
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->alertTitle(), "Error, Could not delete profile");
    EXPECT_NE(shown->message().value_or("").find("No such file"), std::string::npos);
}

// CURRENT and an empty spot share the settings file, a profile row its own file; a short
// press shares nothing, and a missing file is reported.
TEST_F(ProfilePageTest, LongPressSharesTheFileUnderTheFinger) {
    write(profileFile("Work"), settings({}));
    open(settings({}));
    CGRect footer = host_->visibleTable()->tableFooterView()->frame();
    struct Case {
        CGPoint point;
        std::string shared;
    };
    const Case cases[] = {
        {centreOfRow(0, 0), kSettings},
        {centreOfRow(1, 0), profileFile("Work")},
        {CGPoint{footer.origin.x + 20, footer.origin.y + 20}, kSettings},
    };
    for (const Case& c : cases) {
        pressAt(c.point);
        auto shares = UIDocumentInteractionController::takePresentedShares();
        ASSERT_EQ(shares.size(), 1u) << c.shared;
        EXPECT_EQ(shares[0].url.path(), c.shared);
        EXPECT_EQ(page_->documentController()->delegate(), page_.get());
        EXPECT_EQ(alert(), "");
    }

    auto* press = dynamic_cast<UILongPressGestureRecognizer*>(
        host_->visibleTable()->gestureRecognizers().at(0).get());
    ASSERT_NE(press, nullptr);
    press->userLongPressed(centreOfRow(1, 0), 0.9);
    EXPECT_TRUE(UIDocumentInteractionController::takePresentedShares().empty());

    fs::remove(device_.resolve(kSettings));
    pressAt(centreOfRow(0, 0));
    EXPECT_EQ(alert(),
              "ERROR|Cannot Open File: There are no Apps installed on your device that can open "
              "this file.|Dismiss");
}

std::string xmlPlist(const std::string& body) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">" + body +
           "</plist>\n";
}

std::string repeated(const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) {
        out += text;
    }
    return out;
}

// A file that cannot become a profile is refused with the import alert, and neither a profile
// nor the settings file is written.
TEST_F(ProfilePageTest, HostileImportsAreRefusedAndWriteNothing) {
    const struct {
        std::string name;
        std::string fileName;
        std::string bytes;
        std::string messageStart;
    } cases[] = {
        {"not a plist", "notes.plist", "just some text", "The file is not a property list"},
        {"empty", "empty.plist", "", "The file is not a property list"},
        {"nested 100000 deep", "deep.plist",
         xmlPlist(repeated("<array>", 100000) + repeated("</array>", 100000)),
         "The file is not a property list"},
        {"truncated binary", "cut.plist", "bplist00\xd1\x01\x02",
         "The file is not a property list"},
        {"array root", "list.plist", xmlPlist("<array><string>x</string></array>"),
         "The file holds no settings"},
        {"file name leaving the folder", "../evil.plist", xmlPlist("<dict/>"),
         "A profile name cannot contain \"/\"."},
        {"stored name leaving the folder", "fine.plist",
         xmlPlist("<dict><key>profileName</key><string>../../x</string></dict>"),
         "A profile name cannot contain \"/\"."},
        {"hidden name", "fine.plist",
         xmlPlist("<dict><key>profileName</key><string>.hidden</string></dict>"),
         "A profile name cannot start with"},
        {"no name at all", ".plist", xmlPlist("<dict/>"), "The file names no profile."},
    };
    open(settings({{"enabled", PlistValue::boolean(true)}}));
    std::string before = bytes(kSettings);
    for (const auto& c : cases) {
        page_->importProfileFile(c.fileName, c.bytes);
        UIAlertController* shown = host_->presentedAlert();
        ASSERT_NE(shown, nullptr) << c.name;
        EXPECT_EQ(shown->alertTitle(), "Error, Could not import profile") << c.name;
        EXPECT_TRUE(shown->message().value_or("").starts_with(c.messageStart))
            << c.name << ": " << shown->message().value_or("");
        ASSERT_TRUE(host_->pressAlertAction("Dismiss"));
        EXPECT_EQ(folder(), std::vector<std::string>{"net.quorvel.huebadge.plist"}) << c.name;
        EXPECT_EQ(bytes(kSettings), before) << c.name;
        EXPECT_TRUE(available().empty()) << c.name;
    }
}

// A brought-in file is named by its "profileName", else by its file name (a shared profile's
// prefix dropped); it is listed at once, the settings in use stay as they were, and it loads.
TEST_F(ProfilePageTest, ImportedFilesAreListedAndLoad) {
    open(settings({{"enabled", PlistValue::boolean(true)}}));
    std::string before = bytes(kSettings);
    page_->importProfileFile(
        "whatever.plist",
        xmlPlist("<dict><key>profileName</key><string>Holiday</string><key>lastModified</key>"
                 "<integer>7</integer><key>listAlphaLevel</key><integer>42</integer></dict>"));
    page_->importProfileFile("net.quorvel.huebadge_Trip.plist",
                             TemporaryDeviceRoot::read(std::string(HUEBADGE_SOURCE_DIR) +
                                                       "/tests/data/plist/sample-binary.plist"));
    EXPECT_EQ(alert(), "");
    EXPECT_EQ(available(), (std::vector<std::string>{"Holiday", "Trip"}));
    EXPECT_EQ(bytes(kSettings), before);
    EXPECT_EQ(store().objectForKey("listAlphaLevel"), PlistValue());

    Result<PlistValue> trip = PropertyList::readFile(device_.resolve(profileFile("Trip")));
    ASSERT_TRUE(trip);
    EXPECT_EQ(trip.value()["profileName"], PlistValue("Trip"));
    EXPECT_EQ(trip.value()["huge"], PlistValue::unsignedInteger(UINT64_MAX));

    loadRow(0);
    EXPECT_EQ(alert(), "");
    EXPECT_EQ(rowText(0, 0), "Holiday");
    EXPECT_EQ(store().integerForKey("listAlphaLevel"), 42);
    Result<PlistValue> loaded = PropertyList::readFile(device_.resolve(kSettings));
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded.value()["listAlphaLevel"], PlistValue::integer(42));
    EXPECT_EQ(loaded.value()["profileSaved"], PlistValue::boolean(true));
}

TEST_F(ProfilePageTest, ImportOverAnExistingProfileAsksFirst) {
    open(settings({{"listAlphaLevel", PlistValue::integer(10)}}));
    saveAs("Work");
    std::string saved = bytes(profileFile("Work"));
    const std::string incoming =
        xmlPlist("<dict><key>listAlphaLevel</key><integer>90</integer></dict>");

    page_->importProfileFile("Work.plist", incoming);
    EXPECT_EQ(alert(), "That profile exists!|Would you like to overwrite it?|Yes,No");
    ASSERT_TRUE(host_->pressAlertAction("No"));
    EXPECT_EQ(bytes(profileFile("Work")), saved);

    page_->importProfileFile("Work.plist", incoming);
    ASSERT_TRUE(host_->pressAlertAction("Yes"));
    Result<PlistValue> replaced = PropertyList::readFile(device_.resolve(profileFile("Work")));
    ASSERT_TRUE(replaced);
    EXPECT_EQ(replaced.value()["listAlphaLevel"], PlistValue::integer(90));
    EXPECT_EQ(available(), std::vector<std::string>{"Work"});
}

TEST(ProfilePageRouting, RootPageProfilesRowOpensThePage) {
    TemporaryDeviceRoot device;
    PSBundle::setResourcesDirectory(HUEBADGE_RESOURCES_DIR);
    HBPreferences::sharedInstance().reLoadFromIdentifier(HBPreferences::kIdentifier,
                                                         HBPreferences::kNotification);
    HeadlessHost host(std::make_shared<HuebadgeListController>());
    ASSERT_EQ(host.visibleSections().at(0).rows.at(34).text, "Profiles");
    ASSERT_TRUE(host.tapRow(0, 34));
    ASSERT_EQ(host.depth(), 2u);
    EXPECT_EQ(host.topPage()->className(), "HBProfileController");
    EXPECT_EQ(host.topPage()->title(), "Profiles");
}

}  // namespace
