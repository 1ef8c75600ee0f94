#include "pages/HBPreviewReader.h"

#include <algorithm>
#include <set>

#include "model/HBColorValues.h"
#include "model/HBFilterKind.h"
#include "model/HBFilterLists.h"
#include "model/HBFilterRecord.h"
#include "pages/HBAccounts.h"
#include "platform/foundation/PropertyList.h"
#include "platform/prefs/PSBundle.h"
#include "platform/ui/UIView.h"
#include "store/HBPreferences.h"

namespace {

UIColor colorOfText(const std::string& text) {
    HBChannels channels = HBColorValues::channelsFromStoredText(text);
    return UIColor::colorWithRed(channels.red / 255.0, channels.green / 255.0,
                                 channels.blue / 255.0, 1);
}

// A stored colour text as a label colour; anything else is no label.
std::optional<UIColor> labelColor(const PlistValue& stored) {
    const std::string* text = stored.stringValue();
    return text ? std::optional<UIColor>(colorOfText(*text)) : std::nullopt;
}

}  // namespace

HBPreviewReader::HBPreviewReader(HBPreviewDescription description)
    : _description(std::move(description)) {
    std::set<std::string> descriptions;
    bool accounts = false;
    for (const HBPreviewPanel& panel : _description.panels) {
        descriptions.insert(panel.keys.description);
        if (panel.accountKeys) {
            descriptions.insert(panel.accountKeys->description);
        }
        accounts |= panel.colors == HBPreviewColors::Accounts;
    }
    for (const std::string& name : descriptions) {
        loadDefaults(name);
    }
    if (accounts) {
        for (const auto& [displayName, identifier] :
             HBAccounts::sortedAccounts(HBAccounts::Identifier::PrimaryMailbox)) {
            _accounts.push_back(HBAccounts::shownName(displayName));
        }
    }
}

// The "default" of every keyed row of a page description.
void HBPreviewReader::loadDefaults(const std::string& description) {
    auto file = PropertyList::readFile(PSBundle::pathForResource(description, "plist"));
    if (!file) {
        return;
    }
    const PlistValue::Array* items = file.value()["items"].arrayValue();
    for (const PlistValue& item : items ? *items : PlistValue::Array{}) {
        if (const std::string* key = item["key"].stringValue()) {
            _defaults.emplace(*key, item["default"]);
        }
    }
}

// The value being dragged, else the stored number, else the row's default.
PlistValue HBPreviewReader::setting(const std::string& key, const Source& source) const {
    if (auto live = source.live.find(key); live != source.live.end()) {
        return PlistValue::real(live->second);
    }
    PlistValue stored = source.store.objectForKey(key);
    if (stored.isNumber()) {
        return stored;
    }
    auto found = _defaults.find(key);
    return found != _defaults.end() ? found->second : PlistValue();
}

std::int64_t HBPreviewReader::integer(const std::string& key, std::int64_t fallback,
                                      const Source& source) const {
    PlistValue value = key.empty() ? PlistValue() : setting(key, source);
    return value.isNumber() ? value.integerValue() : fallback;
}

bool HBPreviewReader::flag(const std::string& key, bool fallback, const Source& source) const {
    PlistValue value = key.empty() ? PlistValue() : setting(key, source);
    return value.isNumber() ? value.boolValue() : fallback;
}

// The account settings apply while the page's switch is on or was never set, as the page
// dims its own rows then; whether labels show at all stays the page's own switch.
HBPreviewKeys HBPreviewReader::keysInEffect(const HBPreviewPanel& panel,
                                            const Source& source) const {
    if (!panel.accountKeys) {
        return panel.keys;
    }
    if (!flag(panel.accountSettingsSwitch, true, source)) {
        return panel.keys.filledFrom(*panel.accountKeys);
    }
    HBPreviewKeys keys = *panel.accountKeys;
    keys.enabled = panel.keys.enabled;
    return keys;
}

HBPanelState HBPreviewReader::readPanel(const HBPreviewPanel& panel, const Source& source) const {
    HBPreviewKeys keys = keysInEffect(panel, source);
    const HBSceneLayout& layout = HBSceneLayout::of(panel.scene);
    HBPanelState state;
    state.scene = panel.scene;
    state.label.type = HBLabelMeaning::entryFor(integer(keys.type, 0, source)).type;
    state.label.width = keys.width.empty() ? layout.fixedWidth
                                           : static_cast<double>(integer(keys.width, 0, source));
    state.label.alphaLevel = integer(keys.alpha, layout.fixedAlphaLevel, source);
    std::int64_t position = integer(keys.position, 0, source);
    bool known = position >= 0 && position < static_cast<std::int64_t>(layout.edges.size());
    state.label.edge = layout.edges.at(known ? static_cast<std::size_t>(position) : 0);
    state.label.fadeOut = flag(keys.fadeOut, false, source);
    state.label.lengthLevel = integer(keys.length, 100, source);
    state.labelsShown = flag(keys.enabled, true, source);
    state.countShown = flag(keys.countShown, true, source);
    state.countColored = flag(keys.countColored, false, source);
    state.rowColors = rowColors(panel, source.store);
    return state;
}

// The first colours of the panel's set, one a row; rows beyond the set have no label.
std::vector<std::optional<UIColor>> HBPreviewReader::rowColors(const HBPreviewPanel& panel,
                                                               HBPreferences& store) const {
    std::vector<std::optional<UIColor>> colors;
    auto rows = static_cast<std::size_t>(std::max(panel.rows, 0L));
    if (panel.colors == HBPreviewColors::Accounts) {
        for (std::size_t i = 0; i < _accounts.size() && colors.size() < rows; ++i) {
            colors.push_back(labelColor(store.objectForKey(_accounts[i])));
        }
    } else {
        const HBFilterKind& kind =
            panel.colors == HBPreviewColors::MessageFilters
                ? HBFilterKind::messages()
                : HBFilterKind::folders(panel.colors == HBPreviewColors::FolderFilters1 ? 0 : 1);
        // Only read: nothing here changes a list.
        HBFilterLists lists(kind, store);
        std::size_t count = lists.count(HBFilterLists::List::Enabled);
        for (std::size_t i = 0; i < count && colors.size() < rows; ++i) {
            colors.push_back(labelColor(
                lists.record({HBFilterLists::List::Enabled, i})[HBFilterRecord::kColorKey]));
        }
    }
    colors.resize(rows);
    return colors;
}

HBPreviewState HBPreviewReader::read(HBPreferences& store, const LiveValues& live) const {
    Source source{store, live};
    HBPreviewState state;
    state.dark = UITraitCollection::current().userInterfaceStyle != UIUserInterfaceStyleLight;
    for (const HBPreviewPanel& panel : _description.panels) {
        state.panels.push_back(readPanel(panel, source));
    }
    return state;
}
