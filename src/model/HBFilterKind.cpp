#include "model/HBFilterKind.h"

#include <fmt/format.h>

#include "model/HBFilterRecord.h"
#include "platform/foundation/NSString.h"
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
    kind.colorPreviewLevels = {
        {}, {"listAlphaLevelFilters", 100}, {"messageAlphaLevelFilters", 100}};
    kind.showsSoundImages = true;
    kind.matchEveryRecipientKey = "filtersMatchAllRecipients";
    kind.editorDescription = "HBFilterSelector";
    kind.colorRowFormat = "Color Value {}";
    return kind;
}

HBFilterKind folderKind(int set, HBAlphaLevelSource alphaLevel, HBPreviewLevels previewLevels) {
    HBFilterKind kind;
    kind.enabledKey = fmt::format("filtersFolders{}Enabled", set);
    kind.disabledKey = fmt::format("filtersFolders{}Disabled", set);
    // The level is a plain text, compared as it is.
    kind.fields = {{"folderName", "folderNameMatchType", "Name"},
                   {"folderPath", "folderPathMatchType", "Path"},
                   {"folderLevel", "folderLevelMatchType", "Level", false}};
    kind.alphaLevel = std::move(alphaLevel);
    kind.colorPreviewLevels = std::move(previewLevels);
    kind.editorDescription = "HBFilterFolderSelector";
    kind.colorRowFormat = fmt::format("Color Value F{} {{}}", set);
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
    static const HBFilterKind first =
        folderKind(1, {"mailBoxAlphaLevel", 25}, {{"mailBoxAlphaLevel", 25}, {}, {}});
    static const HBFilterKind second =
        folderKind(2, {"listAlphaLevelFilters", 25}, {{}, {"listAlphaLevelFilters", 25}, {}});
    return type == 0 ? first : second;
}

// "Color Value " begins the folder filters' titles too, so the message filters come last.
std::span<const HBFilterKind* const> HBFilterKind::all() {
    static const HBFilterKind* const kinds[] = {&folders(0), &folders(1), &messages()};
    return kinds;
}

const HBPreviewLevels& HBFilterKind::accountPreviewLevels() {
    static const HBPreviewLevels levels = {
        {"mailBoxAlphaLevel", 25}, {"listAlphaLevel", 25}, {"messageAlphaLevel", 25}};
    return levels;
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
    record.set(HBFilterRecord::kColorKey, "#FFFFFF");
    return record;
}

std::int64_t HBFilterKind::previewAlphaLevel(const HBPreferences& store) const {
    const HBAlphaLevelSource& source =
        !accountSettingsSwitch.empty() && store.boolForKey(accountSettingsSwitch)
            ? accountAlphaLevel
            : alphaLevel;
    return store.integerForKey(source.key, source.defaultLevel);
}

const HBPreviewLevels& HBFilterKind::colorPreviewLevelsNow(const HBPreferences& store) const {
    bool followsAccounts =
        !accountSettingsSwitch.empty() && store.boolForKey(accountSettingsSwitch);
    return followsAccounts ? accountPreviewLevels() : colorPreviewLevels;
}

std::string HBFilterKind::colorRowTitle(long row) const {
    return fmt::format(fmt::runtime(colorRowFormat), row);
}

// The index is read as a number is from typed text: leading digits, 0 when there are none.
std::optional<long> HBFilterKind::colorRowIndex(std::string_view title) const {
    std::string_view prefix = std::string_view(colorRowFormat).substr(0, colorRowFormat.find("{}"));
    if (!title.starts_with(prefix)) {
        return std::nullopt;
    }
    return NSString::intValue(title.substr(prefix.size()));
}
