#include "store/HBSaveSchedule.h"

#include <algorithm>
#include <utility>

namespace {

std::int64_t nanoseconds(double seconds) {
    return static_cast<std::int64_t>(seconds * 1e9);
}

}  // namespace

HBSaveSchedule::Due HBSaveSchedule::note(const Notification& notification, std::int64_t now) {
    if (_posts.empty()) {
        _firstAt = now;
    }
    if (std::find(_posts.begin(), _posts.end(), notification) == _posts.end()) {
        _posts.push_back(notification);
    }
    std::int64_t at =
        std::min(now + nanoseconds(_delay.quiet), _firstAt + nanoseconds(_delay.longest));
    return {at, ++_latest};
}

std::vector<HBSaveSchedule::Notification> HBSaveSchedule::take() {
    return std::exchange(_posts, {});
}
