// libFuzzer target: any input either fails to parse, or parses to a value whose XML form
// reads back to the same value and writes the same text again.

#include <cstdint>
#include <string_view>

#include "PlistChecks.h"
#include "platform/foundation/PropertyList.h"

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
        fuzzFault(again.error().c_str());
    }
    if (comparesExactly(value.value()) && !(again.value() == value.value())) {
        fuzzFault("the value read back differs");
    }
    Result<std::string> xmlAgain = PropertyList::toXml(again.value());
    if (!xmlAgain || xmlAgain.value() != xml.value()) {
        fuzzFault("writing the value read back gives different text");
    }
    return 0;
}
