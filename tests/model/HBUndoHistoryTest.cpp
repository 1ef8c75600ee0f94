#include "store/HBUndoHistory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "model/HBFilterKind.h"
#include "model/HBFilterLists.h"
#include "model/HBProfiles.h"
#include "platform/foundation/PropertyList.h"
#include "store/HBPreferenceBinding.h"
#include "store/HBPreferences.h"
#include "support/FilterRecords.h"
#include "support/TemporaryDeviceRoot.h"

namespace {

using Direction = HBUndoHistory::Direction;

PlistValue filter(const char* name) {
    return recordTitled(HBFilterKind::messages(), name);
}

PlistValue list(std::initializer_list<PlistValue> entries) {
    return PlistValue(PlistValue::Array(entries));
}

// The shared store over a fresh device holding settings a user has changed since loading the
// profile "Home", and a saved profile "Work".
class UndoHistoryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        PlistValue settings = PlistValue::dictionary();
        settings.set("enabled", PlistValue::boolean(true));
        settings.set("profileName", "Home");
        settings.set("profileSaved", PlistValue::boolean(false));
        settings.set("lastModified", "then");
        settings.set("filtersEnabled", list({filter("Invoices"), filter("Boss")}));
        settings.set("filtersDisabled", list({filter("News")}));
        write(HBProfiles::settingsFileName(), settings);
        PlistValue work = PlistValue::dictionary();
        work.set("labelType", PlistValue::integer(2));
        work.set("profileName", "Work");
        work.set("profileSaved", PlistValue::boolean(true));
        work.set("lastModified", "earlier");
        write(HBProfiles::profileFileName("Work"), work);
        store().reLoadFromIdentifier(HBPreferences::kIdentifier, HBPreferences::kNotification);
        history().clear();
    }
    void TearDown() override { history().clear(); }

    static HBPreferences& store() { return HBPreferences::sharedInstance(); }
    static HBUndoHistory& history() { return HBUndoHistory::shared(); }
    std::string path(const std::string& fileName) const {
        return device.resolve(HBProfiles::preferencesFolder() + fileName);
    }
    void write(const std::string& fileName, const PlistValue& table) {
        TemporaryDeviceRoot::write(path(fileName), PropertyList::toXml(table).value());
    }

    // The settings file without its stamp, and the profile file's bytes ("" when gone).
    std::string files() const {
        Result<PlistValue> settings = PropertyList::readFile(path(HBProfiles::settingsFileName()));
        PlistValue table = settings ? settings.value() : PlistValue();
        if (table.isDictionary()) {
            table.mutableDictionary().erase("lastModified");
        }
        Result<std::string> xml = PropertyList::toXml(table);
        return (xml ? xml.value() : std::string()) + "\n---\n" +
               TemporaryDeviceRoot::read(path(HBProfiles::profileFileName("Work")));
    }

    TemporaryDeviceRoot device;
};

struct StepCase {
    const char* what;
    std::function<void()> change;
};

HBFilterLists messageLists() {
    return HBFilterLists(HBFilterKind::messages(), HBPreferences::sharedInstance());
}

const StepCase kSteps[] = {
    {"a switch", [] { HBPreferenceBinding("enabled").write(PlistValue::boolean(false)); }},
    {"a choice never made before",
     [] { HBPreferenceBinding("labelType").write(PlistValue::integer(3)); }},
    {"a text", [] { HBPreferenceBinding("Home").write("#00FF00"); }},
    {"accounts chosen, which keep the profile mark",
     [] {
         HBPreferenceBinding("allFoldersAccountList", std::nullopt, HBPreferences::kIdentifier,
                             HBPreferenceBinding::Profile::Keep)
             .write(list({"pc-work"}));
     }},
    {"a filter added", [] { std::ignore = messageLists().addRecord(); }},
    {"a filter moved to the disabled list",
     [] {
         std::ignore =
             messageLists().moveRecord({HBFilterLists::List::Enabled, 0},
                                       HBFilterLists::Place{HBFilterLists::List::Disabled, 1});
     }},
    {"a filter dropped to delete",
     [] {
         std::ignore = messageLists().moveRecord({HBFilterLists::List::Enabled, 1}, std::nullopt);
     }},
    {"a filter deleted",
     [] {
         std::ignore = messageLists().removeRecord({HBFilterLists::List::Disabled, 0});
     }},
    {"a pattern entered", [] { std::ignore = messageLists().setRecordValue(0, "from", "^boss@"); }},
    {"a profile loaded",
     [] { std::ignore = HBProfiles(HBPreferences::sharedInstance()).load("Work"); }},
    {"a reset", [] { std::ignore = HBProfiles(HBPreferences::sharedInstance()).reset(); }},
    {"a profile deleted",
     [] { std::ignore = HBProfiles(HBPreferences::sharedInstance()).remove("Work"); }},
};

TEST_F(UndoHistoryTest, EveryKindOfStepUndoesToBeforeAndRedoesToAfter) {
    for (const StepCase& step : kSteps) {
        SetUp();
        std::string before = files();
        {
            HBUndoHistory::Scope scope(step.what);
            step.change();
        }
        std::string after = files();
        ASSERT_NE(before, after) << step.what;
        ASSERT_EQ(history().title(Direction::Undo), step.what);
        ASSERT_TRUE(history().conflicts(Direction::Undo).empty()) << step.what;
        ASSERT_TRUE(history().apply(Direction::Undo)) << step.what;
        EXPECT_EQ(files(), before) << step.what;
        EXPECT_EQ(history().title(Direction::Redo), step.what);
        EXPECT_FALSE(history().title(Direction::Undo)) << step.what;
        ASSERT_TRUE(history().conflicts(Direction::Redo).empty()) << step.what;
        ASSERT_TRUE(history().apply(Direction::Redo)) << step.what;
        EXPECT_EQ(files(), after) << step.what;
        EXPECT_FALSE(history().title(Direction::Redo)) << step.what;
    }
}

TEST_F(UndoHistoryTest, KeepsTheLastHundredSteps) {
    for (int value = 1; value <= 105; ++value) {
        HBUndoHistory::Scope scope("Label Type");
        std::ignore = store().change(PlistValue::integer(value), "labelType");
    }
    EXPECT_EQ(history().count(Direction::Undo), HBUndoHistory::kLimit);
    while (history().apply(Direction::Undo)) {
    }
    EXPECT_EQ(history().count(Direction::Redo), HBUndoHistory::kLimit);
    EXPECT_EQ(store().integerForKey("labelType"), 5);
}

TEST_F(UndoHistoryTest, StepsThatChangeNothingAreNotKeptAndANewStepDropsTheRedos) {
    {
        HBUndoHistory::Scope scope("Enabled");
        HBPreferenceBinding("enabled").write(PlistValue::boolean(true));
    }
    {
        HBUndoHistory::Scope scope("Load Profile 'Missing'");
        std::ignore = HBProfiles(store()).load("Missing");
    }
    {
        HBUndoHistory::Scope scope("Delete Profile 'Missing'");
        std::ignore = HBProfiles(store()).remove("Missing");
    }
    EXPECT_EQ(history().count(Direction::Undo), 0u);
    {
        HBUndoHistory::Scope outer("Label Type");
        HBPreferenceBinding("labelType").write(PlistValue::integer(1));
        HBUndoHistory::Scope inner("inner");
        HBPreferenceBinding("enabled").write(PlistValue::boolean(false));
    }
    EXPECT_EQ(history().count(Direction::Undo), 1u);
    ASSERT_TRUE(history().apply(Direction::Undo));
    EXPECT_TRUE(store().boolForKey("enabled"));
    EXPECT_TRUE(store().objectForKey("labelType").isAbsent());
    {
        HBUndoHistory::Scope scope("");
        HBPreferenceBinding("labelType").write(PlistValue::integer(2));
    }
    EXPECT_EQ(history().title(Direction::Undo), "labelType");
    EXPECT_EQ(history().count(Direction::Redo), 0u);
}

// An undo is a change: the settings no longer are the saved profile, even when they were
// before the step.
TEST_F(UndoHistoryTest, AnUndoMarksTheProfileUnsaved) {
    store().setObject(PlistValue::boolean(true), "profileSaved");
    ASSERT_TRUE(store().save());
    {
        HBUndoHistory::Scope scope("Enabled");
        HBPreferenceBinding("enabled").write(PlistValue::boolean(false));
    }
    ASSERT_TRUE(history().apply(Direction::Undo));
    EXPECT_TRUE(store().boolForKey("enabled"));
    EXPECT_FALSE(store().boolForKey("profileSaved", true));
}

TEST_F(UndoHistoryTest, NamesWhatAnotherProgramChangedSince) {
    {
        HBUndoHistory::Scope scope("Enabled");
        HBPreferenceBinding("enabled").write(PlistValue::boolean(false));
    }
    {
        HBUndoHistory::Scope scope("Delete Profile 'Work'");
        std::ignore = HBProfiles(store()).remove("Work");
    }
    EXPECT_TRUE(history().conflicts(Direction::Undo).empty());
    PlistValue elsewhere = *store().table();
    elsewhere.set("enabled", PlistValue::integer(7));
    write(HBProfiles::settingsFileName(), elsewhere);
    write(HBProfiles::profileFileName("Work"), PlistValue::dictionary());
    EXPECT_EQ(history().conflicts(Direction::Undo),
              std::vector<std::string>{HBProfiles::profileFileName("Work")});
    ASSERT_TRUE(history().apply(Direction::Undo));
    Result<PlistValue> back = PropertyList::readFile(path(HBProfiles::profileFileName("Work")));
    ASSERT_TRUE(back);
    EXPECT_EQ(back.value()["profileName"], PlistValue("Work"));
    EXPECT_EQ(history().conflicts(Direction::Undo), std::vector<std::string>{"enabled"});
    ASSERT_TRUE(history().apply(Direction::Undo));
    EXPECT_TRUE(store().boolForKey("enabled"));
}

}  // namespace
