#pragma once

#include <string_view>

// The settings keys the pane itself reads: the ones its code names and every row key of its
// page descriptions. A colour row named like one of them (an account called "profileSaved")
// must not store a colour string there.
class HBPaneKeys {
  public:
    static bool isPaneKey(std::string_view key);
};
