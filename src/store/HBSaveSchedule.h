#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// When a store's changes are saved once a burst of them pauses: the notifications of the
// changes waiting, and when their save is due. Each change moves the save to `quiet` seconds
// later, but never past `longest` seconds after the first change waiting.
class HBSaveSchedule {
  public:
    using Notification = std::optional<std::string>;
    struct Delay {
        double quiet = 0;
        double longest = 0;
        // Whether the save that is due writes on a thread of its own.
        bool inBackground = false;
    };
    // When a save is due (nanoseconds of the main run loop) and the ticket it holds.
    struct Due {
        std::int64_t at;
        std::uint64_t ticket;
    };

    void setDelay(Delay delay) { _delay = delay; }
    // No delay: changes are saved at once.
    bool immediate() const { return _delay.quiet <= 0; }
    bool inBackground() const { return _delay.inBackground; }
    Due note(const Notification& notification, std::int64_t now);
    // Whether the save holding `ticket` is the one to run: later changes moved the others.
    bool isDue(std::uint64_t ticket) const { return ticket == _latest; }
    bool waiting() const { return !_posts.empty(); }
    // The notifications of the changes waiting; none wait afterwards.
    std::vector<Notification> take();

  private:
    Delay _delay;
    std::vector<Notification> _posts;
    std::int64_t _firstAt = 0;
    std::uint64_t _latest = 0;
};
