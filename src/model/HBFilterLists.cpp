#include "model/HBFilterLists.h"

#include <algorithm>

#include "model/HBFilterKind.h"
#include "store/HBPreferences.h"

namespace {

const std::string& listKey(const HBFilterKind& kind, HBFilterLists::List list) {
    return list == HBFilterLists::List::Enabled ? kind.enabledKey : kind.disabledKey;
}

}  // namespace

HBFilterLists::HBFilterLists(const HBFilterKind& kind, HBPreferences& store)
    : HBFilterLists(kind, store, store.notification()) {}

HBFilterLists::HBFilterLists(const HBFilterKind& kind, HBPreferences& store,
                             HBPreferences::Notification notification)
    : kind_(kind), store_(store), notification_(std::move(notification)) {}

const std::string& HBFilterLists::keyOf(List list) const {
    return listKey(kind_, list);
}

PlistValue HBFilterLists::recordIn(const HBFilterKind& kind, const HBPreferences& store,
                                   Place place) {
    PlistValue stored = store.objectForKey(listKey(kind, place.list));
    const PlistValue::Array* entries = stored.arrayValue();
    return entries && place.index < entries->size() ? (*entries)[place.index] : PlistValue();
}

std::size_t HBFilterLists::count(List list) const {
    PlistValue stored = store_.objectForKey(keyOf(list));
    return stored.isArray() ? stored.count() : 0;
}

PlistValue HBFilterLists::record(Place place) const {
    return recordIn(kind_, store_, place);
}

std::optional<PlistValue> HBFilterLists::editableList(List list) const {
    PlistValue stored = store_.objectForKey(keyOf(list));
    if (stored.isAbsent()) {
        return PlistValue::array();
    }
    return stored.isArray() ? std::optional(stored) : std::nullopt;
}

HBFilterLists::Outcome HBFilterLists::save() {
    return store_.saveChange(notification_) ? Outcome::Saved : Outcome::SaveFailed;
}

HBFilterLists::Outcome HBFilterLists::addRecord() {
    std::optional<PlistValue> enabled = editableList(List::Enabled);
    if (!enabled) {
        return Outcome::Refused;
    }
    enabled->append(kind_.newRecord());
    store_.setObject(std::move(*enabled), kind_.enabledKey);
    return save();
}

HBFilterLists::Outcome HBFilterLists::moveRecord(Place from, std::optional<Place> to) {
    std::optional<PlistValue> lists[2] = {editableList(List::Enabled),
                                          editableList(List::Disabled)};
    std::optional<PlistValue>& source = lists[from.list == List::Enabled ? 0 : 1];
    if (!source || from.index >= source->count() ||
        (to && !lists[to->list == List::Enabled ? 0 : 1])) {
        return Outcome::Refused;
    }
    PlistValue::Array& sourceEntries = source->mutableArray();
    PlistValue moved = sourceEntries[from.index];
    sourceEntries.erase(sourceEntries.begin() + static_cast<std::ptrdiff_t>(from.index));
    if (to) {
        PlistValue::Array& entries = lists[to->list == List::Enabled ? 0 : 1]->mutableArray();
        std::size_t index = std::min(to->index, entries.size());
        entries.insert(entries.begin() + static_cast<std::ptrdiff_t>(index), std::move(moved));
    }
    // Both lists are stored, so a missing one becomes an empty list; a list of the wrong
    // kind that took no part in the move stays as it was.
    for (List list : {List::Enabled, List::Disabled}) {
        if (std::optional<PlistValue>& entries = lists[list == List::Enabled ? 0 : 1]) {
            store_.setObject(std::move(*entries), keyOf(list));
        }
    }
    return save();
}

HBFilterLists::Outcome HBFilterLists::removeRecord(Place place) {
    std::optional<PlistValue> entries = editableList(place.list);
    if (!entries || place.index >= entries->count()) {
        return Outcome::Refused;
    }
    PlistValue::Array& array = entries->mutableArray();
    array.erase(array.begin() + static_cast<std::ptrdiff_t>(place.index));
    store_.setObject(std::move(*entries), keyOf(place.list));
    return save();
}

HBFilterLists::Outcome HBFilterLists::setRecordValue(std::size_t index, const std::string& key,
                                                     const PlistValue& value) {
    PlistValue stored = store_.objectForKey(kind_.enabledKey);
    if (!stored.isArray() || index >= stored.count() || !stored[index].isDictionary() ||
        value.isAbsent()) {
        return Outcome::Refused;
    }
    stored.mutableArray()[index].set(key, value);
    store_.setObject(std::move(stored), kind_.enabledKey);
    return save();
}
