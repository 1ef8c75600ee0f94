#pragma once

#include <memory>
#include <vector>

#include "platform/ui/CGColorSpace.h"
#include "platform/ui/UIColor.h"

// Colour stops at locations 0..1, in a colour space.
class CGGradient {
  public:
    struct Stop {
        double location;
        UIColor color;
    };

    CGGradient(CGColorSpaceRef space, std::vector<Stop> stops)
        : space_(std::move(space)), stops_(std::move(stops)) {}
    const CGColorSpaceRef& colorSpace() const { return space_; }
    const std::vector<Stop>& stops() const { return stops_; }

  private:
    CGColorSpaceRef space_;
    std::vector<Stop> stops_;
};

using CGGradientRef = std::shared_ptr<const CGGradient>;

// Stops at the given locations (one per colour), or evenly from 0 to 1 when locations is
// null. No colours give null.
CGGradientRef CGGradientCreateWithColors(CGColorSpaceRef space, const std::vector<UIColor>& colors,
                                         const double* locations = nullptr);
