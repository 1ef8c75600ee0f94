#include "kit/HBUndoPrompt.h"

#include <fmt/format.h>
#include <fmt/ranges.h>

#include "kit/HBAlert.h"

bool HBUndoPrompt::take(HBUndoHistory::Direction direction, HBUndoHistory& history) {
    std::optional<std::string> title = history.title(direction);
    if (!title) {
        return false;
    }
    std::vector<std::string> changed = history.conflicts(direction);
    if (changed.empty()) {
        return history.apply(direction);
    }
    const char* verb = direction == HBUndoHistory::Direction::Undo ? "Undo" : "Redo";
    std::string message =
        fmt::format("Another program changed {} since. {} anyway and overwrite {}?",
                    fmt::join(changed, ", "), verb, changed.size() == 1 ? "it" : "them");
    std::weak_ptr<HBUndoHistory> kept = history.weak_from_this();
    return HBAlert::showOnKeyWindow(HBAlert::make(
        fmt::format("{} {}", verb, *title), message,
        {{"Cancel", nullptr}, {verb, [kept, direction] {
                                   if (std::shared_ptr<HBUndoHistory> shown = kept.lock()) {
                                       shown->apply(direction);
                                   }
                               }}}));
}
