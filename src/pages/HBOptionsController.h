#pragma once

#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "kit/HuebadgePSListController.h"
#include "pages/HBLabelPreviewView.h"
#include "pages/HBPreviewDescription.h"

// What tells one option page from another: its class and description name, the width row
// that may reach across the whole screen, the rows drawn 70 points high (slider rows), and
// the switch that hands a run of rows over to the account settings.
struct HBOptionsLayout {
    // A switch whose value, when true or absent, dims rows first..last of section 0.
    struct AccountSettingsSwitch {
        std::string key;
        long firstRow = 0;
        long lastRow = 0;
    };

    std::string name;
    // Row ID of the width slider whose "max" becomes the screen's larger side; empty for none.
    std::string widthRowID;
    // (section, row) of the 70-point rows; every other row is 44 points high.
    std::set<std::pair<long, long>> tallRows;
    // The framework's own heights instead of 70 and 44.
    bool hostHeights = false;
    std::optional<AccountSettingsSwitch> accountSettings;
    // What the preview above the rows draws; empty for no preview.
    HBPreviewDescription preview;
};

// An option page: the rows of the description named by its layout, bound to the settings
// store, with the row heights and behaviour its layout describes. docs/option-pages.md lists
// each page's rows; row positions and heights are what the code relies on.
class HBOptionsController : public HuebadgePSListController {
  public:
    explicit HBOptionsController(HBOptionsLayout layout);
    std::string className() const override { return _layout.name; }

    const std::vector<PSSpecifierPtr>& specifiers() override;
    PlistValue readPreferenceValue(const PSSpecifierPtr& specifier) override;
    void setPreferenceValue(const PlistValue& value, const PSSpecifierPtr& specifier) override;
    double heightForRowAtIndexPath(UITableView* tableView, const NSIndexPath& indexPath) override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    UITableViewCellPtr cellForRowAtIndexPath(UITableView* tableView,
                                             const NSIndexPath& indexPath) override;

    // The table's header view; null on a page without one.
    HBLabelPreviewView* preview() const { return _preview.get(); }

    static constexpr double kSliderRowHeight = 70;
    static constexpr double kRowHeight = 44;

  protected:
    // Runs once, after the description is loaded and the width row adjusted.
    virtual void adjustSpecifiers(std::vector<PSSpecifierPtr>& rows);

  private:
    void stretchWidthRow(std::vector<PSSpecifierPtr>& rows) const;
    bool isAccountSettingsSwitch(const PSSpecifier& specifier) const;
    void followAccountSettings(const PlistValue& value);
    void setRowLive(long row, bool live);
    void watchSlider(UITableViewCell& cell);

    HBOptionsLayout _layout;
    bool _updatingRows = false;
    HBLabelPreviewViewPtr _preview;
};
