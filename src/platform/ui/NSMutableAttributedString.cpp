#include "platform/ui/NSMutableAttributedString.h"

#include <algorithm>

void NSMutableAttributedString::appendAttributedString(const NSAttributedString& other) {
    runs_.insert(runs_.end(), other.runs().begin(), other.runs().end());
    mergeNeighbours();
}

void NSMutableAttributedString::forEachRunIn(std::size_t location, std::size_t length,
                                             const std::function<void(NSAttributedRun&)>& change) {
    std::size_t total = this->length();
    location = std::min(location, total);
    std::size_t end = location + std::min(length, total - location);
    splitAt(end);
    std::size_t first = splitAt(location);
    std::size_t last = splitAt(end);  // the split at location may have moved it
    for (std::size_t i = first; i < last; ++i) {
        change(runs_[i]);
    }
    mergeNeighbours();
}

void NSMutableAttributedString::addAttributes(const NSTextAttributes& attributes,
                                              std::size_t location, std::size_t length) {
    forEachRunIn(location, length, [&](NSAttributedRun& run) {
        run.attributes = run.attributes.mergedWith(attributes);
    });
}

void NSMutableAttributedString::setAttributes(const NSTextAttributes& attributes,
                                              std::size_t location, std::size_t length) {
    forEachRunIn(location, length, [&](NSAttributedRun& run) { run.attributes = attributes; });
}

// The new text takes the attributes of the first replaced character (or of the character
// before it when nothing is replaced), as on the platform.
void NSMutableAttributedString::replaceCharactersInRange(std::size_t location, std::size_t length,
                                                         std::string text) {
    std::size_t total = this->length();
    location = std::min(location, total);
    std::size_t end = location + std::min(length, total - location);
    NSTextAttributes attributes = location < end || location == 0 ? attributesAtIndex(location)
                                                                  : attributesAtIndex(location - 1);
    splitAt(end);
    std::size_t first = splitAt(location);
    std::size_t last = splitAt(end);
    runs_.erase(runs_.begin() + static_cast<std::ptrdiff_t>(first),
                runs_.begin() + static_cast<std::ptrdiff_t>(last));
    runs_.insert(runs_.begin() + static_cast<std::ptrdiff_t>(first),
                 NSAttributedRun{std::move(text), attributes});
    mergeNeighbours();
}
