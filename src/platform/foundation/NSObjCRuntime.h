#pragma once

#include <climits>

// "No such index or position", as the platform's NSNotFound.
inline constexpr long NSNotFound = LONG_MAX;

enum NSComparisonResult : long {
    NSOrderedAscending = -1,
    NSOrderedSame = 0,
    NSOrderedDescending = 1,
};
