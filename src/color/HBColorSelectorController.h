#pragma once

#include <string>

#include "kit/HuebadgePSListController.h"

// The page on which one label colour is edited: the colour cell of "HBColorSelector" and a
// footer of usage hints. The row that opens it (an account's row, "Color Value N" or
// "Color Value F1/F2 N") gives its "title", which becomes the page's title and the colour
// cell's "key". The cell loads and saves by itself, so the page's value binding is off.
class HBColorSelectorController : public HuebadgePSListController {
  public:
    static constexpr double kRowHeight = 695;
    static constexpr long kFooterTag = 64529;
    static constexpr const char* kFooterText =
        "\u2022 Tap once on a color gradient to select a color.\n"
        "\u2022 Tap, hold and drag on a color gradient to scroll through different colors.\n"
        "\u2022 Tap once on a number value to bring up a keyboard and enter a value directly.\n"
        "\u2022 Tap once on the hex value to bring up a keyboard and enter a value directly.";

    std::string className() const override { return "HBColorSelectorController"; }

    const std::vector<PSSpecifierPtr>& specifiers() override;
    void viewDidLoad() override;
    // The footer's text is coloured for the appearance: it is made again on a change.
    void traitCollectionDidChange(const UITraitCollection& previous) override;

    PlistValue readPreferenceValue(const PSSpecifierPtr& specifier) override;
    void setPreferenceValue(const PlistValue& value, const PSSpecifierPtr& specifier) override;
    double heightForRowAtIndexPath(UITableView* tableView, const NSIndexPath& indexPath) override;

  private:
    std::string openingTitle() const;
    void addFooter();
};
