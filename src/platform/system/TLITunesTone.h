#pragma once

#include <string>
#include <utility>

// A tone the user installed (bought or synced), as the tone library lists it. Either field
// may be empty: the library does not promise them, so callers check before use.
class TLITunesTone {
  public:
    TLITunesTone(std::string identifier, std::string name)
        : identifier_(std::move(identifier)), name_(std::move(name)) {}

    // Present exactly when TLToneManager is.
    static bool lookupClass();

    const std::string& identifier() const { return identifier_; }
    const std::string& name() const { return name_; }

  private:
    std::string identifier_;
    std::string name_;
};
