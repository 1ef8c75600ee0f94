#pragma once

#include <string>
#include <vector>

#include "platform/ui/NSTextAttributes.h"

// A piece of an attributed string whose characters share their attributes.
struct NSAttributedRun {
    std::string text;
    NSTextAttributes attributes;
    bool operator==(const NSAttributedRun&) const = default;
};

// UTF-8 text with attributes over runs of it, a value. Positions and lengths count bytes of
// the UTF-8 text; neighbouring runs with equal attributes are always merged.
class NSAttributedString {
  public:
    NSAttributedString() = default;
    explicit NSAttributedString(std::string string, NSTextAttributes attributes = {});

    std::string string() const;
    std::size_t length() const;
    const std::vector<NSAttributedRun>& runs() const { return runs_; }
    // The attributes of the character at a position; none past the end.
    NSTextAttributes attributesAtIndex(std::size_t index) const;

    bool operator==(const NSAttributedString&) const = default;

  protected:
    // Splits the run holding a position so that a run starts there; returns that run's index.
    std::size_t splitAt(std::size_t position);
    void mergeNeighbours();

    std::vector<NSAttributedRun> runs_;
};
