#include <gtest/gtest.h>

#include "host/HeadlessHost.h"
#include "platform/dispatch/RunLoop.h"
#include "platform/foundation/AtomicFile.h"
#include "platform/foundation/PropertyList.h"
#include "platform/prefs/PSBundle.h"
#include "platform/ui/UIScreen.h"
#include "store/HBPreferences.h"
#include "support/TemporaryDeviceRoot.h"

namespace live_reload_test {

// A page shown while another program writes the settings file: what the page shows once the
// store took the write in. The dump of a page names each row's shown value.
struct Case {
    const char* page;
    const char* key;
    PlistValue value;
    const char* shown;
};

PlistValue filters(const char* name) {
    PlistValue record = PlistValue::dictionary();
    record.set("filterName", PlistValue(name));
    record.set("from", PlistValue("^boss@"));
    PlistValue list = PlistValue::array();
    list.append(record);
    return list;
}

TEST(LiveReloadTest, AShownPageShowsAnotherProgramsWrite) {
    PSBundle::setResourcesDirectory(HUEBADGE_RESOURCES_DIR);
    CGRect screen = UIScreen::mainScreen().bounds();
    UIScreen::mainScreen().setBounds(CGRectMake(0, 0, 390, 844));
    const std::vector<Case> cases = {
        {"HBOptionsAccountsList", "listAlphaLevel", PlistValue::integer(37), "37"},
        {"HuebadgeListController", "colorPickerType", PlistValue::integer(2), "[Brightness]"},
        {"HBFilterController", "filtersEnabled", filters("Written Elsewhere"), "Written Elsewhere"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.page);
        TemporaryDeviceRoot root;
        HBPreferences& store = HBPreferences::sharedInstance();
        store.reLoadFromIdentifier(HBPreferences::kIdentifier, HBPreferences::kNotification);
        ASSERT_TRUE(store.change(PlistValue::integer(1), "before"));
        std::unique_ptr<HeadlessHost> host = HeadlessHost::startWithPageNamed(test.page);
        ASSERT_TRUE(host);
        host->advanceClock(1);
        EXPECT_EQ(host->dump().find(test.shown), std::string::npos);

        PlistValue theirs = *store.table();
        theirs.set(test.key, test.value);
        std::string path = HBPreferences::pathForIdentifier(HBPreferences::kIdentifier);
        ASSERT_TRUE(AtomicFile::write(path, PropertyList::toXml(theirs).value()).ok());
        ASSERT_TRUE(store.reloadIfChangedElsewhere());
        RunLoop::main().runUntilIdle();
        EXPECT_NE(host->dump().find(test.shown), std::string::npos) << host->dump();
    }
    UIScreen::mainScreen().setBounds(screen);
}

}  // namespace live_reload_test
