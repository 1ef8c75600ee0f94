#include "color/HBColorTarget.h"

#include <algorithm>
#include <cmath>

#include "color/HBPaneKeys.h"
#include "platform/foundation/NSString.h"

namespace {

struct KindRule {
    const char* prefix;
    HBColorTarget::Kind kind;
    const char* list;
    int offset;
};

// Tested in this order: "Color Value" is a prefix of the folder filter names.
constexpr KindRule kKindRules[] = {
    {"Color Value F1", HBColorTarget::Kind::FolderFilter1, "filtersFolders1Enabled", 15},
    {"Color Value F2", HBColorTarget::Kind::FolderFilter2, "filtersFolders2Enabled", 15},
    {"Color Value", HBColorTarget::Kind::MessageFilter, "filtersEnabled", 12},
};

float opacity(const HBPreferences& store, const char* key, double defaultLevel) {
    float level = static_cast<float>(store.floatForKey(key, defaultLevel)) / 100.0f;
    return std::isnan(level) ? 0.0f : std::clamp(level, 0.0f, 1.0f);
}

}  // namespace

HBColorTarget::HBColorTarget(std::string key) : _key(std::move(key)) {
    for (const KindRule& rule : kKindRules) {
        if (_key.starts_with(rule.prefix)) {
            _kind = rule.kind;
            _key1 = rule.list;
            _key1Offset = rule.offset;
            std::string_view rest(_key);
            _index =
                NSString::intValue(rest.substr(std::min<std::size_t>(rule.offset, rest.size())));
            return;
        }
    }
}

std::optional<PlistValue> HBColorTarget::filterRecord(const HBPreferences& store) const {
    PlistValue list = store.objectForKey(*_key1);
    if (_index < 0 || static_cast<std::size_t>(_index) >= list.count() || !list.isArray()) {
        return std::nullopt;
    }
    PlistValue found = list[static_cast<std::size_t>(_index)];
    return found.isDictionary() ? std::optional<PlistValue>(std::move(found)) : std::nullopt;
}

std::optional<std::string> HBColorTarget::storedText(const HBPreferences& store) const {
    PlistValue value;
    if (_key1) {
        std::optional<PlistValue> found = filterRecord(store);
        value = found ? (*found)["hexColor"] : PlistValue();
    } else if (!_key.empty() && !HBPaneKeys::isPaneKey(_key)) {
        // A setting of the pane's own under the name is not this row's colour.
        value = store.objectForKey(_key);
    }
    const std::string* text = value.stringValue();
    return text ? std::optional<std::string>(*text) : std::nullopt;
}

bool HBColorTarget::isWritable(const HBPreferences& store) const {
    if (!store.hasTable()) {
        return false;
    }
    if (_key1) {
        return filterRecord(store).has_value();
    }
    // A value of another kind under the name is not a colour of ours to replace.
    PlistValue existing = store.objectForKey(_key);
    return !_key.empty() && !HBPaneKeys::isPaneKey(_key) &&
           (existing.isAbsent() || existing.isString());
}

bool HBColorTarget::save(HBPreferences& store, const std::string& text,
                         const HBPreferences::Notification& notification) const {
    if (!isWritable(store)) {
        return false;
    }
    if (!_key1) {
        return store.change(PlistValue(text), _key, notification);
    }
    PlistValue list = store.objectForKey(*_key1);
    PlistValue& entry = list.mutableArray()[static_cast<std::size_t>(_index)];
    entry.set("hexColor", PlistValue(text));
    return store.change(std::move(list), *_key1, notification);
}

HBPreviewOpacities HBColorTarget::previewOpacities(const HBPreferences& store) const {
    switch (_kind) {
        case Kind::FolderFilter1:
            return {opacity(store, "mailBoxAlphaLevel", 25), 0, 0};
        case Kind::FolderFilter2:
            return {0, opacity(store, "listAlphaLevelFilters", 25), 0};
        case Kind::MessageFilter:
            if (!store.boolForKey("useAccountSettingsForListFilters")) {
                return {0, opacity(store, "listAlphaLevelFilters", 100),
                        opacity(store, "messageAlphaLevelFilters", 100)};
            }
            break;
        case Kind::Setting:
            break;
    }
    return {opacity(store, "mailBoxAlphaLevel", 25), opacity(store, "listAlphaLevel", 25),
            opacity(store, "messageAlphaLevel", 25)};
}
