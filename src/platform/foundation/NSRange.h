#pragma once

#include <cstddef>

#include "platform/foundation/NSObjCRuntime.h"

// A span of text: where it starts and how long it is. In this stand-in positions count the
// bytes of UTF-8 text, the form every string of the pane takes.
struct NSRange {
    std::size_t location = 0;
    std::size_t length = 0;

    std::size_t end() const { return location + length; }
    bool operator==(const NSRange&) const = default;
};

inline NSRange NSMakeRange(std::size_t location, std::size_t length) {
    return NSRange{location, length};
}
