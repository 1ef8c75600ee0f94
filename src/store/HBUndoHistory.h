#pragma once

#include <cstddef>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/PlistValue.h"
#include "store/HBPreferencesObserver.h"

class HBPreferences;

// The user's changes of the settings store, as steps that can be taken back and done again.
// A step is what the code that makes one user change does while a Scope is open: every key
// stored, with its value before and after; a whole table put in place, with the table before
// and after; every file removed, with its bytes. The history lives as long as the program
// and keeps the last kLimit steps. Everything runs on the main thread.
class HBUndoHistory : public HBPreferencesObserver,
                      public std::enable_shared_from_this<HBUndoHistory> {
  public:
    static constexpr std::size_t kLimit = 100;
    enum class Direction { Undo, Redo };

    // Makes the changes of its lifetime one step titled `title` ("Label Type", "Delete
    // Filter 'Invoices'"). A scope opened inside another adds to the outer one's step.
    class Scope {
      public:
        explicit Scope(std::string title);
        Scope(std::string title, HBUndoHistory& history);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

      private:
        HBUndoHistory& _history;
    };

    // The history of the shared store, observing it from the first use on.
    static HBUndoHistory& shared();
    // A history of `store`, observing it.
    static std::shared_ptr<HBUndoHistory> attach(HBPreferences& store);
    explicit HBUndoHistory(HBPreferences& store);

    // The title of the step an undo or a redo would take; none when there is no step.
    std::optional<std::string> title(Direction direction) const;
    std::size_t count(Direction direction) const;
    // Takes in what other programs wrote, then names what the next step in that direction
    // would overwrite: the keys (and files) that hold another value than the step left.
    std::vector<std::string> conflicts(Direction direction);
    // Puts the values of the next step back (its values before for an undo, after for a
    // redo) as a user's change: written, notified, the profile marked unsaved, shown pages
    // refreshed. False, with the step kept, when there is none or the write failed.
    bool apply(Direction direction);
    void clear();

    // The file at this host path is about to be removed by the open step: its bytes come
    // back on undo.
    void willRemoveFile(const std::string& path);

    void preferenceWillChange(std::string_view key, const PlistValue& before) override;
    void preferencesWillReplace(const std::optional<PlistValue>& before) override;

  private:
    struct Value {
        PlistValue before;
        PlistValue after;
    };
    struct File {
        std::string path;
        std::string bytes;
    };
    struct Step {
        std::string title;
        std::map<std::string, Value, std::less<>> keys;
        // Both set for a step that put a whole table in place.
        std::optional<PlistValue> tableBefore;
        std::optional<PlistValue> tableAfter;
        std::vector<File> removedFiles;
    };

    void open(std::string title);
    void close();
    bool isEmpty(const Step& step) const;
    static void nameByKey(Step& step);
    PlistValue tableFor(const Step& step, Direction direction) const;
    std::vector<std::string> changedKeys(const Step& step, Direction direction) const;
    std::vector<std::string> changedFiles(const Step& step, Direction direction) const;
    bool putFiles(const Step& step, Direction direction) const;

    HBPreferences& _store;
    std::deque<Step> _undo;
    std::vector<Step> _redo;
    std::optional<Step> _open;
    int _depth = 0;
};
