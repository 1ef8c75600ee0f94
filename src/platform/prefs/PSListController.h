#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/PlistValue.h"
#include "platform/prefs/PSSpecifier.h"
#include "platform/prefs/PSTableCell.h"
#include "platform/prefs/PSViewController.h"
#include "platform/ui/UITableView.h"

// A settings page made of rows: its view is a grouped table whose data source and delegate it
// is. Group rows start sections (their name is the header, their "footerText" the footer);
// every other row is a cell made by its cell type or "cellClass". The page keeps one cell
// per row, so asking for a row's cell again gives the cell on screen, refreshed.
class PSListController : public PSViewController,
                         public UITableViewDataSource,
                         public UITableViewDelegate {
  public:
    using ActionHandler = std::function<void(PSSpecifier& specifier)>;

    PSListController() = default;
    ~PSListController() override;
    std::string className() const override { return "PSListController"; }

    // The page's rows. Subclasses fill _specifiers on the first call and return it after.
    virtual const std::vector<PSSpecifierPtr>& specifiers();
    // The rows of resources/NAME.plist with TARGET as their target; the description's
    // "title" becomes the target's title. A broken description gives no rows and a warning.
    std::vector<PSSpecifierPtr> loadSpecifiersFromPlistName(std::string_view name,
                                                            PSListController* target);
    PSSpecifierPtr specifierForID(std::string_view identifier);
    PSSpecifierPtr specifierAtIndexPath(const NSIndexPath& indexPath);
    std::optional<NSIndexPath> indexPathForSpecifier(const PSSpecifier* specifier);

    // A bound row's value and its change. The framework's own storage is not used: pages
    // override these; the defaults give the row's "default" and ignore the change.
    virtual PlistValue readPreferenceValue(const PSSpecifierPtr& specifier);
    virtual void setPreferenceValue(const PlistValue& value, const PSSpecifierPtr& specifier);

    // Re-reads every row's value: reloads the table.
    virtual void reload();
    UITableView* table();

    // A button row's action: its own code, else the handler registered under its name.
    void performAction(PSSpecifier& specifier);
    void registerAction(std::string name, ActionHandler handler);

    void loadView() override;

    long numberOfSectionsInTableView(UITableView* tableView) override;
    long numberOfRowsInSection(UITableView* tableView, long section) override;
    std::optional<std::string> titleForHeaderInSection(UITableView* tableView,
                                                       long section) override;
    std::optional<std::string> titleForFooterInSection(UITableView* tableView,
                                                       long section) override;
    UITableViewCellPtr cellForRowAtIndexPath(UITableView* tableView,
                                             const NSIndexPath& indexPath) override;
    double heightForRowAtIndexPath(UITableView* tableView, const NSIndexPath& indexPath) override;
    void didSelectRowAtIndexPath(UITableView* tableView, const NSIndexPath& indexPath) override;

  protected:
    // Absent until the first call of specifiers() in a subclass fills it.
    std::optional<std::vector<PSSpecifierPtr>> _specifiers;

    // The detail page of a link or list row, ready to push; null when its class is unknown.
    std::shared_ptr<UIViewController> detailControllerFor(const PSSpecifierPtr& specifier);

  private:
    struct Section {
        PSSpecifierPtr group;
        std::vector<PSSpecifierPtr> rows;
    };
    struct CachedCell {
        std::weak_ptr<PSSpecifier> specifier;
        PSTableCellPtr cell;
    };

    std::vector<Section> sections();
    PSTableCellPtr cellFor(const PSSpecifierPtr& specifier);
    static PSTableCellPtr makeCell(const PSSpecifierPtr& specifier);

    std::shared_ptr<UITableView> table_;
    std::map<const PSSpecifier*, CachedCell> cells_;
    std::map<std::string, ActionHandler, std::less<>> actions_;
};

using PSListControllerPtr = std::shared_ptr<PSListController>;
