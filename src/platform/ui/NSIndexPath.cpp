#include "platform/ui/NSIndexPath.h"

NSIndexPath NSIndexPath::indexPathForRow(long row, long section) {
    return NSIndexPath({section, row});
}

NSIndexPath NSIndexPath::indexPathWithIndex(long index) {
    return NSIndexPath({index});
}

NSIndexPath NSIndexPath::indexPathWithIndexes(std::vector<long> indexes) {
    return NSIndexPath(std::move(indexes));
}

long NSIndexPath::indexAtPosition(std::size_t position) const {
    return position < indexes_.size() ? indexes_[position] : NSNotFound;
}

NSIndexPath NSIndexPath::indexPathByAddingIndex(long index) const {
    std::vector<long> longer = indexes_;
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
    for (std::size_t i = 0; i < indexes_.size(); ++i) {
        text += (i ? ", " : "") + std::to_string(indexes_[i]);
    }
    return text + "]";
}
