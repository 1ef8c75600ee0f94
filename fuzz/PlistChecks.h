#pragma once

// What the fuzz targets check of a value they read.

#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstdlib>

#include "platform/foundation/PlistValue.h"

// Values that expand past this count are slow to write and read again under the sanitizers;
// the unit tests cover round trips of large values.
constexpr std::size_t kRoundTripLimit = 1 << 16;

// NaN never equals itself and XML keeps dates to the second; such values are compared by
// their written form only.
inline bool comparesExactly(const PlistValue& value) {
    switch (value.kind()) {
        case PlistValue::Kind::Real:
            return !std::isnan(value.doubleValue());
        case PlistValue::Kind::Date:
            return std::floor(value.dateValue()) == value.dateValue();
        case PlistValue::Kind::Array:
            for (const PlistValue& item : *value.arrayValue()) {
                if (!comparesExactly(item)) {
                    return false;
                }
            }
            return true;
        case PlistValue::Kind::Dictionary:
            for (const auto& [key, item] : *value.dictionaryValue()) {
                if (!comparesExactly(item)) {
                    return false;
                }
            }
            return true;
        default:
            return true;
    }
}

// Counts values with shared ones counted wherever they appear, stopping at `limit`.
inline std::size_t expandedCount(const PlistValue& value, std::size_t limit) {
    std::size_t count = 1;
    if (const PlistValue::Array* array = value.arrayValue()) {
        for (const PlistValue& item : *array) {
            count += count < limit ? expandedCount(item, limit - count) : 0;
        }
    } else if (const PlistValue::Dictionary* dictionary = value.dictionaryValue()) {
        for (const auto& [key, item] : *dictionary) {
            count += count < limit ? expandedCount(item, limit - count) : 0;
        }
    }
    return count;
}

[[noreturn]] inline void fuzzFault(const char* what) {
    std::fprintf(stderr, "fuzz fault: %s\n", what);
    std::abort();
}
