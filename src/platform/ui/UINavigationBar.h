#pragma once

#include <optional>
#include <string>

#include "platform/ui/UIView.h"

class UINavigationController;

// The bar at the top of a navigation controller: its tint colour, and the titles of the top
// page and of the page the back button returns to.
class UINavigationBar : public UIView {
  public:
    explicit UINavigationBar(const UINavigationController* owner);

    std::string className() const override { return "UINavigationBar"; }

    const OptionalColor& tintColor() const { return tintColor_; }
    void setTintColor(OptionalColor color) { tintColor_ = std::move(color); }
    const OptionalColor& barTintColor() const { return barTintColor_; }
    void setBarTintColor(OptionalColor color) { barTintColor_ = std::move(color); }

    std::optional<std::string> topItemTitle() const;
    // The previous page's title; none on the first page.
    std::optional<std::string> backItemTitle() const;

  private:
    const UINavigationController* owner_;
    OptionalColor tintColor_ = UIColor::colorWithRed(0, 122 / 255.0, 1, 1);
    OptionalColor barTintColor_;
};
