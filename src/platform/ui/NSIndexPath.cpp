#include "platform/ui/NSIndexPath.h"

#include <algorithm>

NSIndexPath::NSIndexPath(std::vector<long> indexes) : length_(indexes.size()) {
    if (length_ > kHeldInPlace) {
        longer_ = std::move(indexes);
    } else {
        std::copy(indexes.begin(), indexes.end(), inPlace_.begin());
    }
}

std::span<const long> NSIndexPath::all() const {
    return length_ > kHeldInPlace ? std::span<const long>(longer_)
                                  : std::span<const long>(inPlace_.data(), length_);
}

bool NSIndexPath::operator==(const NSIndexPath& other) const {
    return std::ranges::equal(all(), other.all());
}

// Position by position; a path that is a prefix of another comes first.
std::strong_ordering NSIndexPath::operator<=>(const NSIndexPath& other) const {
    std::span<const long> mine = all();
    std::span<const long> theirs = other.all();
    return std::lexicographical_compare_three_way(mine.begin(), mine.end(), theirs.begin(),
                                                  theirs.end());
}

NSIndexPath NSIndexPath::indexPathForRow(long row, long section) {
    NSIndexPath path;
    path.inPlace_ = {section, row};
    path.length_ = 2;
    return path;
}

NSIndexPath NSIndexPath::indexPathWithIndex(long index) {
    return NSIndexPath({index});
}

NSIndexPath NSIndexPath::indexPathWithIndexes(std::vector<long> indexes) {
    return NSIndexPath(std::move(indexes));
}

long NSIndexPath::indexAtPosition(std::size_t position) const {
    std::span<const long> indexes = all();
    return position < indexes.size() ? indexes[position] : NSNotFound;
}

NSIndexPath NSIndexPath::indexPathByAddingIndex(long index) const {
    std::vector<long> longer(all().begin(), all().end());
    longer.push_back(index);
    return NSIndexPath(std::move(longer));
}

NSComparisonResult NSIndexPath::compare(const NSIndexPath& other) const {
    auto order = *this <=> other;
    if (order < 0) {
        return NSOrderedAscending;
    }
    return order > 0 ? NSOrderedDescending : NSOrderedSame;
}

std::string NSIndexPath::description() const {
    std::string text = "[";
    std::span<const long> indexes = all();
    for (std::size_t i = 0; i < indexes.size(); ++i) {
        text += (i ? ", " : "") + std::to_string(indexes[i]);
    }
    return text + "]";
}
