#include "color/HBColorTarget.h"

#include <algorithm>
#include <cmath>

#include "model/HBFilterKind.h"
#include "model/HBFilterLists.h"
#include "model/HBFilterRecord.h"
#include "model/HBPaneKeys.h"
#include "store/HBPreferenceBinding.h"

namespace {

float previewOpacity(const HBPreferences& store, const HBAlphaLevelSource& source) {
    if (source.key.empty()) {
        return 0.0f;
    }
    double level = store.floatForKey(source.key, static_cast<double>(source.defaultLevel));
    float opacity = static_cast<float>(level) / 100.0f;
    return std::isnan(opacity) ? 0.0f : std::clamp(opacity, 0.0f, 1.0f);
}

}  // namespace

HBColorTarget::HBColorTarget(std::string key) : _key(std::move(key)) {
    for (const HBFilterKind* kind : HBFilterKind::all()) {
        if (std::optional<long> index = kind->colorRowIndex(_key)) {
            _filterKind = kind;
            _index = *index;
            return;
        }
    }
}

std::optional<std::string> HBColorTarget::key1() const {
    return _filterKind ? std::optional<std::string>(_filterKind->enabledKey) : std::nullopt;
}

PlistValue HBColorTarget::filterRecord(const HBPreferences& store) const {
    if (_index < 0) {
        return PlistValue();
    }
    PlistValue record = HBFilterLists::recordIn(
        *_filterKind, store, {HBFilterLists::List::Enabled, static_cast<std::size_t>(_index)});
    return record.isDictionary() ? record : PlistValue();
}

std::optional<std::string> HBColorTarget::storedText(const HBPreferences& store) const {
    PlistValue value;
    if (_filterKind) {
        value = filterRecord(store)[HBFilterRecord::kColorKey];
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
    if (_filterKind) {
        return !filterRecord(store).isAbsent();
    }
    // A value of another kind under the name is not a colour of ours to replace.
    PlistValue existing = store.objectForKey(_key);
    return !_key.empty() && !HBPaneKeys::isPaneKey(_key) &&
           (existing.isAbsent() || existing.isString());
}

bool HBColorTarget::save(const HBPreferenceBinding& binding, const std::string& text) const {
    if (!isWritable(binding.store())) {
        return false;
    }
    if (!_filterKind) {
        return binding.write(PlistValue(text));
    }
    HBFilterLists lists(*_filterKind, binding.store(), binding.notification());
    return lists.setRecordValue(static_cast<std::size_t>(_index), HBFilterRecord::kColorKey,
                                PlistValue(text)) == HBFilterLists::Outcome::Saved;
}

HBPreviewOpacities HBColorTarget::previewOpacities(const HBPreferences& store) const {
    const HBPreviewLevels& levels = _filterKind ? _filterKind->colorPreviewLevelsNow(store)
                                                : HBFilterKind::accountPreviewLevels();
    return {previewOpacity(store, levels.mailBox), previewOpacity(store, levels.list),
            previewOpacity(store, levels.message)};
}
