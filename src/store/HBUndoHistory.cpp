#include "store/HBUndoHistory.h"

#include <filesystem>
#include <set>
#include <system_error>
#include <utility>

#include "platform/foundation/AtomicFile.h"
#include "platform/foundation/FileBytes.h"
#include "store/HBPreferences.h"

namespace {

constexpr std::string_view kProfileSavedKey = "profileSaved";
constexpr std::string_view kStampKey = "lastModified";

// Whether a key says something about the settings themselves: the stamp and the profile mark
// change with every write and never make a step's values stale.
bool isSettingKey(std::string_view key) {
    return key != kProfileSavedKey && key != kStampKey;
}

bool fileExists(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(path, error);
}

}  // namespace

HBUndoHistory::Scope::Scope(std::string title) : Scope(std::move(title), shared()) {}

HBUndoHistory::Scope::Scope(std::string title, HBUndoHistory& history) : _history(history) {
    _history.open(std::move(title));
}

HBUndoHistory::Scope::~Scope() {
    _history.close();
}

HBUndoHistory& HBUndoHistory::shared() {
    static const std::shared_ptr<HBUndoHistory> history = attach(HBPreferences::sharedInstance());
    return *history;
}

std::shared_ptr<HBUndoHistory> HBUndoHistory::attach(HBPreferences& store) {
    auto history = std::make_shared<HBUndoHistory>(store);
    store.addObserver(history);
    return history;
}

HBUndoHistory::HBUndoHistory(HBPreferences& store) : _store(store) {}

std::optional<std::string> HBUndoHistory::title(Direction direction) const {
    if (direction == Direction::Undo) {
        return _undo.empty() ? std::nullopt : std::optional(_undo.back().title);
    }
    return _redo.empty() ? std::nullopt : std::optional(_redo.back().title);
}

std::size_t HBUndoHistory::count(Direction direction) const {
    return direction == Direction::Undo ? _undo.size() : _redo.size();
}

void HBUndoHistory::clear() {
    _undo.clear();
    _redo.clear();
}

// ---- Recording ----------------------------------------------------------------------------

void HBUndoHistory::open(std::string title) {
    if (_depth++ == 0) {
        _open.emplace();
        _open->title = std::move(title);
    }
}

// A value stored again keeps the value it had before the step; values the step left as they
// were and files it did not remove are no change, and a step that changed nothing (a refused
// change, a failed load) is not kept.
void HBUndoHistory::close() {
    if (--_depth > 0 || !_open) {
        return;
    }
    Step step = std::move(*std::exchange(_open, std::nullopt));
    if (step.tableBefore) {
        step.keys.clear();
        step.tableAfter = _store.table().value_or(PlistValue::dictionary());
        if (*step.tableAfter == *step.tableBefore) {
            step.tableBefore.reset();
            step.tableAfter.reset();
        }
    }
    std::erase_if(step.removedFiles, [](const File& file) { return fileExists(file.path); });
    for (auto entry = step.keys.begin(); entry != step.keys.end();) {
        entry->second.after = _store.objectForKey(entry->first);
        entry = entry->second.after == entry->second.before ? step.keys.erase(entry) : ++entry;
    }
    if (isEmpty(step)) {
        return;
    }
    nameByKey(step);
    _undo.push_back(std::move(step));
    if (_undo.size() > kLimit) {
        _undo.pop_front();
    }
    _redo.clear();
}

// A row without a title names its step by the setting it changed.
void HBUndoHistory::nameByKey(Step& step) {
    for (auto entry = step.keys.begin(); step.title.empty() && entry != step.keys.end(); ++entry) {
        if (isSettingKey(entry->first)) {
            step.title = entry->first;
        }
    }
}

bool HBUndoHistory::isEmpty(const Step& step) const {
    return step.keys.empty() && !step.tableBefore && step.removedFiles.empty();
}

void HBUndoHistory::preferenceWillChange(std::string_view key, const PlistValue& before) {
    if (_open && !_open->tableBefore) {
        _open->keys.try_emplace(std::string(key), Value{before, PlistValue()});
    }
}

void HBUndoHistory::preferencesWillReplace(const std::optional<PlistValue>& before) {
    if (_open && !_open->tableBefore) {
        _open->tableBefore = before.value_or(PlistValue::dictionary());
    }
}

void HBUndoHistory::willRemoveFile(const std::string& path) {
    if (!_open) {
        return;
    }
    if (Result<std::string> bytes = FileBytes::read(path)) {
        _open->removedFiles.push_back({path, std::move(bytes).value()});
    }
}

// ---- Taking steps -------------------------------------------------------------------------

std::vector<std::string> HBUndoHistory::conflicts(Direction direction) {
    const Step* step = direction == Direction::Undo ? (_undo.empty() ? nullptr : &_undo.back())
                                                    : (_redo.empty() ? nullptr : &_redo.back());
    if (!step) {
        return {};
    }
    _store.reloadIfChangedElsewhere();
    std::vector<std::string> found = changedKeys(*step, direction);
    std::vector<std::string> files = changedFiles(*step, direction);
    found.insert(found.end(), files.begin(), files.end());
    return found;
}

// The keys whose value now differs from the one the step left in that direction: after the
// step for an undo, before it for a redo.
std::vector<std::string> HBUndoHistory::changedKeys(const Step& step, Direction direction) const {
    std::vector<std::string> changed;
    bool undo = direction == Direction::Undo;
    if (step.tableBefore) {
        std::set<std::string> keys =
            PlistValue::differingKeys(undo ? *step.tableAfter : *step.tableBefore,
                                      _store.table().value_or(PlistValue::dictionary()));
        std::erase_if(keys, [](const std::string& key) { return !isSettingKey(key); });
        return {keys.begin(), keys.end()};
    }
    for (const auto& [key, value] : step.keys) {
        if (isSettingKey(key) &&
            !(_store.objectForKey(key) == (undo ? value.after : value.before))) {
            changed.push_back(key);
        }
    }
    return changed;
}

// A file an undo would bring back that exists again, or one a redo would remove that is gone
// or holds other bytes than the step kept.
std::vector<std::string> HBUndoHistory::changedFiles(const Step& step, Direction direction) const {
    std::vector<std::string> changed;
    for (const File& file : step.removedFiles) {
        bool stale = direction == Direction::Undo ? fileExists(file.path) : [&] {
            Result<std::string> now = FileBytes::read(file.path);
            return !now || now.value() != file.bytes;
        }();
        if (stale) {
            changed.push_back(std::filesystem::path(file.path).filename().string());
        }
    }
    return changed;
}

// The table an undo or redo puts in place: the whole table of a load or reset as it was; for
// any other step, the table in use with only the step's keys put back. The profile mark is
// part of a whole table; of a single change, it says the settings differ from the profile.
PlistValue HBUndoHistory::tableFor(const Step& step, Direction direction) const {
    bool undo = direction == Direction::Undo;
    if (step.tableBefore) {
        return undo ? *step.tableBefore : *step.tableAfter;
    }
    PlistValue table = _store.table().value_or(PlistValue::dictionary());
    for (const auto& [key, value] : step.keys) {
        PlistValue put = key == kProfileSavedKey ? PlistValue::boolean(false)
                                                 : (undo ? value.before : value.after);
        if (put.isAbsent()) {
            table.mutableDictionary().erase(key);
        } else {
            table.set(key, std::move(put));
        }
    }
    return table;
}

bool HBUndoHistory::putFiles(const Step& step, Direction direction) const {
    for (const File& file : step.removedFiles) {
        std::error_code error;
        bool done = direction == Direction::Undo
                        ? AtomicFile::write(file.path, file.bytes).ok()
                        : (std::filesystem::remove(file.path, error) || !fileExists(file.path));
        if (!done) {
            return false;
        }
    }
    return true;
}

bool HBUndoHistory::apply(Direction direction) {
    bool undo = direction == Direction::Undo;
    if (count(direction) == 0) {
        return false;
    }
    Step step = undo ? _undo.back() : _redo.back();
    _store.reloadIfChangedElsewhere();
    bool settings = step.tableBefore || !step.keys.empty();
    if ((settings && !_store.replaceTable(tableFor(step, direction), {})) ||
        !putFiles(step, direction)) {
        return false;
    }
    if (undo) {
        _undo.pop_back();
        _redo.push_back(std::move(step));
    } else {
        _redo.pop_back();
        _undo.push_back(std::move(step));
    }
    _store.tellObservers(
        [](HBPreferencesObserver& observer) { observer.preferencesDidTakeStep(); });
    return true;
}
