#include "pages/HuebadgeListController.h"

#include <cfloat>
#include <set>

#include "kit/HBPageRouter.h"
#include "kit/HBPalette.h"
#include "model/HBColorValues.h"
#include "pages/HBAccounts.h"
#include "platform/prefs/PSClasses.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UITableViewCell.h"
#include "store/HBPreferences.h"

namespace {

const bool kHuebadgeListControllerRegistered = PSControllerClasses::registerClass(
    "HuebadgeListController", [] { return std::make_shared<HuebadgeListController>(); });

constexpr long kFirstFolderOptionsRow = 30;
constexpr long kSecondFolderOptionsRow = 31;
constexpr long kEnabledAccountsRow = 38;

const std::set<long> kClearRows = {15, 17, 19, 21, 23, 25, 27, 29, 32, 35, 37};
const std::set<long> kTenPointRows = {19, 21, 25, 27};
const std::set<long> kTwentyFivePointRows = {15, 17, 23, 29, 35, 37, 40};
const std::set<long> kThirtyFourPointRows = {14, 16, 18, 20, 22, 24, 26, 28, 30, 31, 32, 36, 38};

bool isRootRow(const NSIndexPath& indexPath, long section) {
    return indexPath.length() == 2 && indexPath.section() == section;
}

PSSpecifierPtr buttonRow(HuebadgeListController* page, const char* name,
                         void (HuebadgeListController::*open)()) {
    auto row = PSSpecifier::preferenceSpecifierNamed(name, page, PSSpecifier::NoSetter,
                                                     PSSpecifier::NoGetter, "", PSButtonCell, "");
    row->setProperty(PlistValue::boolean(true), "enabled");
    row->setAction([page, open](PSSpecifier&) { (page->*open)(); });
    return row;
}

}  // namespace

const std::vector<PSSpecifierPtr>& HuebadgeListController::specifiers() {
    if (!_specifiers) {
        std::vector<PSSpecifierPtr> rows = loadSpecifiersFromPlistName("Huebadge14", this);
        addAccountRows(rows);
        addHelpRows(rows);
        _specifiers = std::move(rows);
    }
    return *_specifiers;
}

void HuebadgeListController::addAccountRows(std::vector<PSSpecifierPtr>& rows) {
    auto accounts = HBAccounts::sortedAccounts(HBAccounts::Identifier::PrimaryMailbox);
    if (accounts.empty()) {
        return;
    }
    PlistValue::Array values{PlistValue("All")};
    std::vector<std::string> titles{"All"};
    for (const auto& [displayName, uniqueId] : accounts) {
        std::string shown = HBAccounts::shownName(displayName);
        values.emplace_back(uniqueId);
        titles.push_back(shown);
        auto row = PSSpecifier::preferenceSpecifierNamed(
            shown, this, PSSpecifier::NoSetter, PSSpecifier::NoGetter, "HBColorSelectorController",
            PSLinkCell, "");
        row->setProperty(PlistValue(shown), "title");
        row->setProperty(PlistValue(shown), "label");
        rows.push_back(row);
    }
    for (const auto& row : rows) {
        if (row->identifier() == "HBAllInboxesFilterListController") {
            row->setValues(values, titles);
        }
    }
}

void HuebadgeListController::addHelpRows(std::vector<PSSpecifierPtr>& rows) {
    rows.push_back(PSSpecifier::preferenceSpecifierNamed(
        "Help", this, PSSpecifier::NoSetter, PSSpecifier::NoGetter, "", PSGroupCell, ""));
    rows.push_back(buttonRow(this, "Documentation and FAQ", &HuebadgeListController::openFAQ));
    rows.push_back(buttonRow(this, "Change Log", &HuebadgeListController::openChangeLog));
    rows.push_back(
        buttonRow(this, "3rd Party Open Source Licenses", &HuebadgeListController::openLicenses));
}

void HuebadgeListController::viewDidLoad() {
    HuebadgePSListController::viewDidLoad();
    // A header of the smallest positive height: the table starts without a top gap.
    if (UITableView* tableView = table(); tableView && !tableView->tableHeaderView()) {
        tableView->setTableHeaderView(std::make_shared<UIView>(CGRectMake(0, 0, 0, DBL_MIN)));
    }
}

void HuebadgeListController::openFAQ() {
    HBPageRouter::openMakerPage("/repo/html/f/huebadge9.htm");
}

void HuebadgeListController::openChangeLog() {
    HBPageRouter::openMakerPage("/repo/html/changelog.php?p=huebadge11");
}

void HuebadgeListController::openLicenses() {
    HBPageRouter::openMakerPage("/repo/html/huebadge9_licenses.htm");
}

UITableViewCellPtr HuebadgeListController::cellForRowAtIndexPath(UITableView* tableView,
                                                                 const NSIndexPath& indexPath) {
    UITableViewCellPtr cell = HuebadgePSListController::cellForRowAtIndexPath(tableView, indexPath);
    if (isRootRow(indexPath, 1)) {
        paintAccountRow(*cell);
    } else if (isRootRow(indexPath, 0) && kClearRows.contains(indexPath.row())) {
        cell->setBackgroundColor(UIColor::clearColor());
    }
    return cell;
}

// The account's colour as the mailbox list draws it: blended over white at the mailbox
// opacity, with black or white text, whichever reads better.
void HuebadgeListController::paintAccountRow(UITableViewCell& cell) {
    const HBPreferences& store = HBPreferences::paneStore();
    PlistValue stored = store.objectForKey(cell.textLabel()->text());
    if (stored.isAbsent()) {
        cell.setBackgroundColor(HBPalette::current().background);
        return;
    }
    const std::string* text = stored.stringValue();
    HBRowColors colors = HBColorValues::rowColorsForHexString(
        text ? *text : std::string(), store.integerForKey("mailBoxAlphaLevel", 25));
    cell.setBackgroundColor(colors.background);
    cell.textLabel()->setTextColor(colors.text);
}

double HuebadgeListController::heightForRowAtIndexPath(UITableView*, const NSIndexPath& indexPath) {
    if (isRootRow(indexPath, 1) || (isRootRow(indexPath, 2) && indexPath.row() <= 2)) {
        return 34;
    }
    if (!isRootRow(indexPath, 0)) {
        return 42;
    }
    long row = indexPath.row();
    if (kTenPointRows.contains(row))
        return 10;
    if (kTwentyFivePointRows.contains(row))
        return 25;
    if (kThirtyFourPointRows.contains(row))
        return 34;
    return 42;
}

void HuebadgeListController::didSelectRowAtIndexPath(UITableView* tableView,
                                                     const NSIndexPath& indexPath) {
    if (isRootRow(indexPath, 0) &&
        (indexPath.row() == kFirstFolderOptionsRow || indexPath.row() == kSecondFolderOptionsRow)) {
        // The folder option pages take their set: 0 for the first, 1 for the second.
        HBPageRouter::pushPage(*this, "HBOptionsFiltersFolders",
                               indexPath.row() == kFirstFolderOptionsRow ? 0 : 1);
        tableView->deselectRowAtIndexPath(indexPath, true);
        return;
    }
    if (isRootRow(indexPath, 0) && indexPath.row() == kEnabledAccountsRow) {
        HBPageRouter::pushPage(*this, "HBAllInboxesFilterListController");
        tableView->deselectRowAtIndexPath(indexPath, true);
        return;
    }
    HuebadgePSListController::didSelectRowAtIndexPath(tableView, indexPath);
}
