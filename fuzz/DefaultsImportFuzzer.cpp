// libFuzzer target for `huebadge-defaults import`: any input is either refused with a message,
// or becomes domain contents that hold a dictionary equal to the input's, and importing those
// contents again gives the same text.

#include <cstdint>
#include <string>
#include <string_view>

#include "PlistChecks.h"
#include "huebadge-defaults/DomainImport.h"
#include "platform/foundation/PropertyList.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Result<PlistValue> input = PropertyList::parse(bytes);
    if (input && expandedCount(input.value(), kRoundTripLimit) >= kRoundTripLimit) {
        return 0;
    }
    Result<std::string> contents = DomainImport::contentsFor(bytes, "input");
    if (!contents) {
        if (contents.error().rfind("Cannot import input: ", 0) != 0) {
            fuzzFault("a refusal that does not name the input");
        }
        if (input && input->isDictionary() && PropertyList::toXml(input.value())) {
            fuzzFault("a readable dictionary was refused");
        }
        return 0;
    }
    if (!input || !input->isDictionary()) {
        fuzzFault("input that is not a dictionary was imported");
    }
    Result<PlistValue> stored = PropertyList::parse(contents.value());
    if (!stored || !stored->isDictionary()) {
        fuzzFault("the imported contents do not read back as a dictionary");
    }
    if (comparesExactly(input.value()) && !(stored.value() == input.value())) {
        fuzzFault("the imported contents differ from the input");
    }
    Result<std::string> again = DomainImport::contentsFor(contents.value(), "again");
    if (!again || again.value() != contents.value()) {
        fuzzFault("importing the imported contents gives different text");
    }
    return 0;
}
