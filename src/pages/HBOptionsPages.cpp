// The option pages that differ from one another only in their layout, registered under
// their class names. HBOptionsFiltersFolders has behaviour of its own and its own class.
#include <vector>

#include "pages/HBOptionsController.h"
#include "platform/prefs/PSClasses.h"

namespace {

using Switch = HBOptionsLayout::AccountSettingsSwitch;

std::vector<HBOptionsLayout> optionPages() {
    using Preview = HBPreviewDescription;
    return {
        {"HBOptionsAccountsMailbox",
         "HBWidthTypeMailBox",
         {{0, 2}, {0, 3}},
         false,
         {},
         Preview::accountsMailbox()},
        {"HBOptionsAccountsList",
         "HBWidthTypeList",
         {{0, 3}, {0, 4}, {0, 5}},
         false,
         {},
         Preview::accountsList()},
        {"HBOptionsAccountsMessage",
         "HBWidthTypeMessage",
         {{0, 3}, {0, 4}, {0, 5}},
         false,
         {},
         Preview::accountsMessage()},
        {"HBOptionsFiltersList",
         "HBWidthTypeList",
         {{0, 3}, {0, 4}},
         false,
         Switch{"useAccountSettingsForListFilters", 2, 4},
         Preview::filtersList()},
        {"HBOptionsFiltersMessage",
         "HBWidthTypeMessage",
         {{0, 4}, {0, 5}},
         false,
         Switch{"useAccountSettingsForMessageFilters", 2, 5},
         Preview::filtersMessage()},
        {"HBOptionsReminders",
         "HBWidthTypeList",
         {{0, 3}, {0, 4}, {1, 3}, {1, 4}, {2, 2}, {2, 3}},
         false,
         {},
         Preview::reminders()},
        // Sets how many filter labels a message gets, not how one is drawn: no preview.
        {"HBOptionsFilters", "", {{0, 1}}, false, {}, {}},
        {"HBUnreadToolbar", "", {}, true, {}, Preview::unreadToolbar()},
    };
}

bool registerOptionPages() {
    bool all = true;
    for (HBOptionsLayout& layout : optionPages()) {
        std::string name = layout.name;
        all &= PSControllerClasses::registerClass(
            name, [layout] { return std::make_shared<HBOptionsController>(layout); });
    }
    return all;
}

const bool kHBOptionsPagesRegistered = registerOptionPages();

}  // namespace
