#pragma once

#include <string_view>
#include <vector>

// The settings keys the pane itself reads: the ones its code names and every row key of its
// page descriptions. A colour row named like one of them (an account called "profileSaved")
// must not store a colour string there.
class HBPaneKeys {
  public:
    static bool isPaneKey(std::string_view key);
    // The keys the pane's code names (row keys of descriptions come on top of these).
    static std::vector<std::string_view> codeKeys();
};
