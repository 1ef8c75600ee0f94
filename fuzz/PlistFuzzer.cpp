// libFuzzer target: any input either fails to parse, or parses to a value whose XML form
// reads back to the same value and writes the same text again.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "platform/foundation/PropertyList.h"

namespace {

constexpr std::size_t kRoundTripLimit = 1 << 16;

// NaN never equals itself and XML keeps dates to the second; such values are compared by
// their written form only.
bool comparesExactly(const PlistValue& value) {
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
std::size_t expandedCount(const PlistValue& value, std::size_t limit) {
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

[[noreturn]] void fault(const char* what) {
    std::fprintf(stderr, "round trip fault: %s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Result<PlistValue> value = PropertyList::parse(bytes);
    if (!value) {
        return 0;
    }
    // Large expansions of shared objects are bounded by the reader but slow to write and read
    // again under the sanitizers; the unit tests cover round trips of large values.
    if (expandedCount(value.value(), kRoundTripLimit) >= kRoundTripLimit) {
        return 0;
    }
    // Values XML cannot carry (control characters from a binary file, far-off dates) are
    // refused by the writer; that is the sound outcome.
    Result<std::string> xml = PropertyList::toXml(value.value());
    if (!xml) {
        return 0;
    }
    Result<PlistValue> again = PropertyList::parse(xml.value());
    if (!again) {
        fault(again.error().c_str());
    }
    if (comparesExactly(value.value()) && !(again.value() == value.value())) {
        fault("the value read back differs");
    }
    Result<std::string> xmlAgain = PropertyList::toXml(again.value());
    if (!xmlAgain || xmlAgain.value() != xml.value()) {
        fault("writing the value read back gives different text");
    }
    return 0;
}
