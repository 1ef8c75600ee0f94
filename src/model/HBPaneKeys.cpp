#include "model/HBPaneKeys.h"

#include <array>
#include <filesystem>
#include <string>

#include "platform/foundation/PropertyList.h"
#include "platform/prefs/PSBundle.h"

namespace {

constexpr std::array<std::string_view, 20> kCodeKeys = {
    "profileSaved",
    "profileName",
    "lastModified",
    "colorPickerType",
    "preferColorPicker",
    "filtersEnabled",
    "filtersDisabled",
    "filtersFolders1Enabled",
    "filtersFolders1Disabled",
    "filtersFolders2Enabled",
    "filtersFolders2Disabled",
    "mailBoxAlphaLevel",
    "listAlphaLevel",
    "messageAlphaLevel",
    "listAlphaLevelFilters",
    "messageAlphaLevelFilters",
    "useAccountSettingsForListFilters",
    "useAccountSettingsForMessageFilters",
    "allFoldersAccountList",
    "enabled",
};

// The folder filter options page keys each row by set: its "key" followed by "1" or "2".
bool namesRowKey(std::string_view rowKey, std::string_view key) {
    if (key == rowKey) {
        return true;
    }
    return key.size() == rowKey.size() + 1 && key.starts_with(rowKey) &&
           (key.back() == '1' || key.back() == '2');
}

bool descriptionNamesKey(const std::filesystem::path& file, std::string_view key) {
    Result<PlistValue> description = PropertyList::readFile(file.string());
    if (!description) {
        return false;
    }
    const PlistValue::Array* items = description.value()["items"].arrayValue();
    if (!items) {
        return false;
    }
    for (const PlistValue& item : *items) {
        const std::string* rowKey = item["key"].stringValue();
        if (rowKey && !rowKey->empty() && namesRowKey(*rowKey, key)) {
            return true;
        }
    }
    return false;
}

// Read at each question rather than cached: descriptions are few and small, and a test or
// host may point the bundle at another folder.
bool anyDescriptionNamesKey(std::string_view key) {
    std::error_code error;
    std::filesystem::directory_iterator files(PSBundle::resourcesDirectory(), error);
    for (; !error && files != std::filesystem::directory_iterator(); files.increment(error)) {
        const std::filesystem::path& file = files->path();
        if (file.extension() == ".plist" && descriptionNamesKey(file, key)) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::vector<std::string_view> HBPaneKeys::codeKeys() {
    return {kCodeKeys.begin(), kCodeKeys.end()};
}

bool HBPaneKeys::isPaneKey(std::string_view key) {
    for (std::string_view own : kCodeKeys) {
        if (key == own) {
            return true;
        }
    }
    return anyDescriptionNamesKey(key);
}
