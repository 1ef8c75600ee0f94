#pragma once

#include <functional>
#include <string>

// A cell whose value the user moves through many steps before it is stored (a slider). A
// page that previews the setting follows it through this interface, without knowing the cell.
class HBLiveValueCell {
  public:
    // Told of each whole number the user moves to, and once more when the user lets go or
    // confirms a typed value (after the value is stored).
    enum class Moment { Moving, Released };
    using ValueObserver =
        std::function<void(const std::string& key, long long value, Moment moment)>;

    virtual ~HBLiveValueCell() = default;
    // One observer; a new one replaces it. It must not own the cell's page.
    virtual void setValueObserver(ValueObserver observer) = 0;
    // Switches the row's controls on or off; a typed value can still be given.
    virtual void enableControls(bool enabled) = 0;
};
