#pragma once

#include <string>
#include <string_view>

#include "platform/foundation/PlistValue.h"
#include "platform/foundation/Result.h"

// Reading and writing whole property lists. Reading takes XML or binary ("bplist00") input
// from untrusted files: it never crashes, hangs or takes memory beyond a bound of the input's
// size, and refuses nesting deeper than kMaxDepth. Writing produces XML with sorted keys.
class PropertyList {
  public:
    static constexpr int kMaxDepth = 512;

    // Parses XML or binary input, chosen by its first bytes.
    static Result<PlistValue> parse(std::string_view bytes);
    // Reads the file at a host path (already resolved under the device root).
    static Result<PlistValue> readFile(const std::string& path);
    // The XML form: XML declaration, the usual DOCTYPE, tabs for indentation, sorted keys.
    // Fails for values XML cannot carry (such as control characters in a string).
    static Result<std::string> toXml(const PlistValue& value);
};
