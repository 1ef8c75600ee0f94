#pragma once

#include "platform/ui/NSTextAlignment.h"

// A tab stop: where a tab moves the text to, in points from the line's leading edge.
class NSTextTab {
  public:
    NSTextTab(NSTextAlignment alignment, double location)
        : alignment_(alignment), location_(location) {}

    NSTextAlignment alignment() const { return alignment_; }
    double location() const { return location_; }
    bool operator==(const NSTextTab&) const = default;

  private:
    NSTextAlignment alignment_;
    double location_;
};
