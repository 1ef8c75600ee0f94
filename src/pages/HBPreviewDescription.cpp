#include "pages/HBPreviewDescription.h"

namespace {

using Scene = HBPreviewScene;
using Colors = HBPreviewColors;

HBPreviewKeys accountsMailboxKeys() {
    return {.description = "HBOptionsAccountsMailbox",
            .type = "mailBoxType",
            .width = "mailBoxWidth",
            .alpha = "mailBoxAlphaLevel",
            .countColored = "mailBoxColorUnreadCount"};
}

HBPreviewKeys accountsListKeys() {
    return {.description = "HBOptionsAccountsList",
            .type = "listType",
            .width = "listWidth",
            .alpha = "listAlphaLevel",
            .position = "listPosition",
            .fadeOut = "listGradient",
            .length = "listHeightLevel"};
}

HBPreviewKeys accountsMessageKeys() {
    return {.description = "HBOptionsAccountsMessage",
            .type = "messageType",
            .width = "messageWidth",
            .alpha = "messageAlphaLevel",
            .position = "messagePosition",
            .fadeOut = "messageGradient",
            .length = "messageHeightLevel"};
}

HBPreviewKeys filtersListKeys() {
    return {.description = "HBOptionsFiltersList",
            .enabled = "listFiltersEnabled",
            .type = "listTypeFilters",
            .width = "listWidthFilters",
            .alpha = "listAlphaLevelFilters"};
}

// One of the three kinds of reminder labels, named by the middle of its keys.
HBPreviewKeys remindersKeys(const std::string& place, bool hasPosition) {
    std::string prefix = "reminders" + place;
    return {.description = "HBOptionsReminders",
            .enabled = prefix + "Enabled",
            .type = prefix + "Type",
            .width = prefix + "Width",
            .alpha = prefix + "AlphaLevel",
            .position = hasPosition ? prefix + "Position" : ""};
}

HBPreviewPanel panel(Scene scene, Colors colors, HBPreviewKeys keys, long rows) {
    HBPreviewPanel made;
    made.scene = scene;
    made.colors = colors;
    made.keys = std::move(keys);
    made.rows = rows;
    return made;
}

// Filter labels that follow the account settings while the page's switch says so.
HBPreviewPanel followingAccounts(HBPreviewPanel made, std::string accountSettingsSwitch,
                                 HBPreviewKeys accountKeys) {
    made.accountSettingsSwitch = std::move(accountSettingsSwitch);
    made.accountKeys = std::move(accountKeys);
    return made;
}

}  // namespace

HBPreviewKeys HBPreviewKeys::filledFrom(const HBPreviewKeys& other) const {
    HBPreviewKeys filled = *this;
    for (auto member :
         {&HBPreviewKeys::enabled, &HBPreviewKeys::type, &HBPreviewKeys::width,
          &HBPreviewKeys::alpha, &HBPreviewKeys::position, &HBPreviewKeys::fadeOut,
          &HBPreviewKeys::length, &HBPreviewKeys::countShown, &HBPreviewKeys::countColored}) {
        if ((filled.*member).empty()) {
            filled.*member = other.*member;
        }
    }
    return filled;
}

const HBSceneLayout& HBSceneLayout::of(HBPreviewScene scene) {
    using Edge = HBLabelEdge;
    static const HBSceneLayout kMailboxRows{36, {Edge::Left}, 0, 100};
    static const HBSceneLayout kMessageRows{56, {Edge::Left, Edge::Right}, 0, 100};
    static const HBSceneLayout kMessageHeader{84, {Edge::Top, Edge::Left}, 0, 100};
    static const HBSceneLayout kToolbar{44, {Edge::Top}, 6, 100};
    switch (scene) {
        case Scene::MailboxRows:
            return kMailboxRows;
        case Scene::MessageHeader:
            return kMessageHeader;
        case Scene::Toolbar:
            return kToolbar;
        case Scene::MessageRows:
            break;
    }
    return kMessageRows;
}

HBPreviewDescription HBPreviewDescription::accountsMailbox() {
    return {{panel(Scene::MailboxRows, Colors::Accounts, accountsMailboxKeys(), 4)}};
}

HBPreviewDescription HBPreviewDescription::accountsList() {
    return {{panel(Scene::MessageRows, Colors::Accounts, accountsListKeys(), 3)}};
}

HBPreviewDescription HBPreviewDescription::accountsMessage() {
    return {{panel(Scene::MessageHeader, Colors::Accounts, accountsMessageKeys(), 1)}};
}

HBPreviewDescription HBPreviewDescription::filtersList() {
    return {
        {followingAccounts(panel(Scene::MessageRows, Colors::MessageFilters, filtersListKeys(), 3),
                           "useAccountSettingsForListFilters", accountsListKeys())}};
}

HBPreviewDescription HBPreviewDescription::filtersMessage() {
    HBPreviewKeys keys{.description = "HBOptionsFiltersMessage",
                       .enabled = "messageFiltersEnabled",
                       .type = "messageTypeFilters",
                       .width = "messageWidthFilters",
                       .alpha = "messageAlphaLevelFilters",
                       .position = "messagePositionFilters"};
    return {{followingAccounts(panel(Scene::MessageHeader, Colors::MessageFilters, keys, 1),
                               "useAccountSettingsForMessageFilters", accountsMessageKeys())}};
}

// Reminder labels take the colour of the account the reminder's message belongs to. One row
// of each place keeps the three drawings short enough to redraw at every slider step.
HBPreviewDescription HBPreviewDescription::reminders() {
    return {{panel(Scene::MessageRows, Colors::Accounts, remindersKeys("List", true), 1),
             panel(Scene::MessageHeader, Colors::Accounts, remindersKeys("Message", true), 1),
             panel(Scene::MailboxRows, Colors::Accounts, remindersKeys("MailBox", false), 1)}};
}

// The toolbar is coloured by the shown mailbox's account while "Account Colors" is on.
HBPreviewDescription HBPreviewDescription::unreadToolbar() {
    HBPreviewKeys keys{.description = "HBUnreadToolbar",
                       .enabled = "unreadToolbarAccountColors",
                       .type = "unreadToolbarType",
                       .countShown = "unreadToolbarShowCount"};
    return {{panel(Scene::Toolbar, Colors::Accounts, keys, 1)}};
}

// Folder filters label the folders of the mailbox list: set 1 with the mailbox settings of
// the accounts, set 2 with the list settings of the message filters.
HBPreviewDescription HBPreviewDescription::folderFilters(long type) {
    if (type == 0) {
        return {{panel(Scene::MailboxRows, Colors::FolderFilters1, accountsMailboxKeys(), 3)}};
    }
    HBPreviewKeys keys = filtersListKeys();
    keys.enabled.clear();
    return {{followingAccounts(panel(Scene::MailboxRows, Colors::FolderFilters2, keys, 3),
                               "useAccountSettingsForListFilters", accountsListKeys())}};
}
