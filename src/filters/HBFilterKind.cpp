#include "filters/HBFilterKind.h"

#include <fmt/format.h>

#include "store/HBPreferences.h"

namespace {

HBFilterKind messageKind() {
    HBFilterKind kind;
    kind.enabledKey = "filtersEnabled";
    kind.disabledKey = "filtersDisabled";
    kind.fields = {{"from", "fromMatchType", "From"},
                   {"to", "toMatchType", "To", true, true},
                   {"cc", "ccMatchType", "Cc", true, true},
                   {"subject", "subjectMatchType", "Subject"}};
    kind.alphaLevel = {"listAlphaLevelFilters", 100};
    kind.accountSettingsSwitch = "useAccountSettingsForListFilters";
    kind.accountAlphaLevel = {"listAlphaLevel", 25};
    kind.showsSoundImages = true;
    kind.matchEveryRecipientKey = "filtersMatchAllRecipients";
    kind.editorDescription = "HBFilterSelector";
    kind.colorRowFormat = "Color Value {}";
    kind.editorClass = "HBFilterSelectorController";
    return kind;
}

HBFilterKind folderKind(int set, HBAlphaLevelSource alphaLevel) {
    HBFilterKind kind;
    kind.enabledKey = fmt::format("filtersFolders{}Enabled", set);
    kind.disabledKey = fmt::format("filtersFolders{}Disabled", set);
    // The level is a plain text, compared as it is.
    kind.fields = {{"folderName", "folderNameMatchType", "Name"},
                   {"folderPath", "folderPathMatchType", "Path"},
                   {"folderLevel", "folderLevelMatchType", "Level", false}};
    kind.alphaLevel = std::move(alphaLevel);
    kind.editorDescription = "HBFilterFolderSelector";
    kind.colorRowFormat = fmt::format("Color Value F{} {{}}", set);
    kind.editorClass = "HBFilterFolderSelectorController";
    return kind;
}

}  // namespace

const HBFilterKind& HBFilterKind::messages() {
    static const HBFilterKind kind = messageKind();
    return kind;
}

// The first set takes its label settings from the accounts' mailbox options, the second
// from the message filters' list options.
const HBFilterKind& HBFilterKind::folders(long type) {
    static const HBFilterKind first = folderKind(1, {"mailBoxAlphaLevel", 25});
    static const HBFilterKind second = folderKind(2, {"listAlphaLevelFilters", 25});
    return type == 0 ? first : second;
}

std::vector<std::string> HBFilterKind::titleKeys() const {
    std::vector<std::string> keys{"filterName"};
    for (const HBFilterField& field : fields) {
        keys.push_back(field.key);
    }
    return keys;
}

const HBFilterField* HBFilterKind::fieldForKey(const std::string& key) const {
    for (const HBFilterField& field : fields) {
        if (field.key == key) {
            return &field;
        }
    }
    return nullptr;
}

const HBFilterField* HBFilterKind::fieldForMatchTypeKey(const std::string& key) const {
    for (const HBFilterField& field : fields) {
        if (field.matchTypeKey == key) {
            return &field;
        }
    }
    return nullptr;
}

PlistValue HBFilterKind::newRecord() const {
    PlistValue record = PlistValue::dictionary();
    for (const HBFilterField& field : fields) {
        record.set(field.key, "");
        record.set(field.matchTypeKey, PlistValue::integer(0));
    }
    record.set("hexColor", "#FFFFFF");
    return record;
}

std::int64_t HBFilterKind::previewAlphaLevel(const HBPreferences& store) const {
    const HBAlphaLevelSource& source =
        !accountSettingsSwitch.empty() && store.boolForKey(accountSettingsSwitch)
            ? accountAlphaLevel
            : alphaLevel;
    return store.integerForKey(source.key, source.defaultLevel);
}

std::string HBFilterKind::colorRowTitle(long row) const {
    return fmt::format(fmt::runtime(colorRowFormat), row);
}
