#pragma once

#include <array>
#include <compare>
#include <span>
#include <string>
#include <vector>

#include "platform/foundation/NSObjCRuntime.h"

// A path of indexes into nested arrays, a value type. Tables use two positions, section then
// row, but a path of any length is kept and passed on as it is. Paths of up to two positions
// are held in place, so a table of many rows makes no allocation per row.
class NSIndexPath {
  public:
    NSIndexPath() = default;
    static NSIndexPath indexPathForRow(long row, long section);
    static NSIndexPath indexPathWithIndex(long index);
    static NSIndexPath indexPathWithIndexes(std::vector<long> indexes);

    std::size_t length() const { return all().size(); }
    // NSNotFound past the end of the path.
    long indexAtPosition(std::size_t position) const;
    long section() const { return indexAtPosition(0); }
    long row() const { return indexAtPosition(1); }
    NSIndexPath indexPathByAddingIndex(long index) const;

    // Position by position; a path that is a prefix of another comes first.
    NSComparisonResult compare(const NSIndexPath& other) const;
    bool isEqual(const NSIndexPath& other) const { return *this == other; }
    bool operator==(const NSIndexPath& other) const;
    std::strong_ordering operator<=>(const NSIndexPath& other) const;

    // "[0, 3]": for logs and host output.
    std::string description() const;

  private:
    static constexpr std::size_t kHeldInPlace = 2;

    explicit NSIndexPath(std::vector<long> indexes);
    std::span<const long> all() const;

    std::array<long, kHeldInPlace> inPlace_{};
    std::size_t length_ = 0;
    // Every index, for a path longer than those held in place.
    std::vector<long> longer_;
};
