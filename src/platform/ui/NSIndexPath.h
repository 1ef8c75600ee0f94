#pragma once

#include <compare>
#include <string>
#include <vector>

#include "platform/foundation/NSObjCRuntime.h"

// A path of indexes into nested arrays, a value type. Tables use two positions, section then
// row, but a path of any length is kept and passed on as it is.
class NSIndexPath {
  public:
    NSIndexPath() = default;
    static NSIndexPath indexPathForRow(long row, long section);
    static NSIndexPath indexPathWithIndex(long index);
    static NSIndexPath indexPathWithIndexes(std::vector<long> indexes);

    const std::vector<long>& indexes() const { return indexes_; }
    std::size_t length() const { return indexes_.size(); }
    // NSNotFound past the end of the path.
    long indexAtPosition(std::size_t position) const;
    long section() const { return indexAtPosition(0); }
    long row() const { return indexAtPosition(1); }
    NSIndexPath indexPathByAddingIndex(long index) const;

    // Position by position; a path that is a prefix of another comes first.
    NSComparisonResult compare(const NSIndexPath& other) const;
    bool isEqual(const NSIndexPath& other) const { return *this == other; }
    bool operator==(const NSIndexPath&) const = default;
    std::strong_ordering operator<=>(const NSIndexPath&) const = default;

    // "[0, 3]": for logs and host output.
    std::string description() const;

  private:
    explicit NSIndexPath(std::vector<long> indexes) : indexes_(std::move(indexes)) {}

    std::vector<long> indexes_;
};
