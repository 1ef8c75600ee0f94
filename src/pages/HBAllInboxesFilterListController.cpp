#include "pages/HBAllInboxesFilterListController.h"

#include <algorithm>

#include "kit/HBPalette.h"
#include "pages/HBAccounts.h"
#include "platform/prefs/PSClasses.h"
#include "platform/ui/UIFont.h"
#include "platform/ui/UILabel.h"
#include "store/HBPreferenceBinding.h"
#include "store/HBPreferences.h"
#include "store/HBUndoHistory.h"

namespace {

const bool kHBAllInboxesFilterListControllerRegistered = PSControllerClasses::registerClass(
    "HBAllInboxesFilterListController",
    [] { return std::make_shared<HBAllInboxesFilterListController>(); });

constexpr const char* kHeaderTitle = "Enabled Accounts";
constexpr double kHeaderHeight = 50;

std::shared_ptr<UILabel> headerLabel(double tableWidth, const HBPalette& palette) {
    auto label = std::make_shared<UILabel>(CGRectMake(10, 10, tableWidth - 110, 30));
    label->setFont(UIFont::boldSystemFontOfSize(16));
    label->setTextColor(palette.text);
    label->setAdjustsFontSizeToFitWidth(true);
    label->setText(kHeaderTitle);
    return label;
}

}  // namespace

HBAllInboxesFilterListController::HBAllInboxesFilterListController() {
    _tableView->setEditing(false);
    _tableView->setAllowsSelection(true);
    _tableView->setAllowsMultipleSelection(true);
    _tableView->setAllowsSelectionDuringEditing(false);
    buildRows();
    buildEnabledAccounts();
}

void HBAllInboxesFilterListController::refreshAfterStep() {
    buildEnabledAccounts();
    _tableView->reloadData();
}

void HBAllInboxesFilterListController::buildRows() {
    _accountNames = {kAllValue};
    _accountValues = {kAllValue};
    for (const auto& [displayName, identifier] :
         HBAccounts::sortedAccounts(HBAccounts::Identifier::PersistentConnection)) {
        _accountValues.push_back(identifier);
        _accountNames.push_back(HBAccounts::shownName(displayName));
    }
}

// Only values of the listed rows are kept, so accounts removed from Mail drop out. A stored
// value that is not an array cannot be a choice of accounts and reads as the default "All".
void HBAllInboxesFilterListController::buildEnabledAccounts() {
    _enabledAccounts.clear();
    PlistValue stored = binding().read();
    const PlistValue::Array* entries = stored.arrayValue();
    if (!entries) {
        _enabledAccounts = {kAllValue};
        return;
    }
    for (const PlistValue& entry : *entries) {
        const std::string* value = entry.stringValue();
        if (value && std::find(_accountValues.begin(), _accountValues.end(), *value) !=
                         _accountValues.end()) {
            _enabledAccounts.insert(*value);
        }
    }
}

long HBAllInboxesFilterListController::numberOfRowsInSection(UITableView*, long) {
    return static_cast<long>(_accountNames.size());
}

std::optional<std::string> HBAllInboxesFilterListController::titleForHeaderInSection(UITableView*,
                                                                                     long) {
    return kHeaderTitle;
}

double HBAllInboxesFilterListController::heightForHeaderInSection(UITableView*, long) {
    return kHeaderHeight;
}

UIViewPtr HBAllInboxesFilterListController::viewForHeaderInSection(UITableView* tableView, long) {
    CGSize size = tableView->frame().size;
    HBPalette palette = HBPalette::of(tableView->traitCollection());
    auto header = std::make_shared<UIView>(CGRectMake(0, 0, size.width, size.height));
    double grey = (palette.light ? 247.0 : 8.0) / 255.0;
    header->setBackgroundColor(UIColor::colorWithRed(grey, grey, grey, 1));
    header->addSubview(headerLabel(size.width, palette));
    return header;
}

UITableViewCellPtr HBAllInboxesFilterListController::cellForRowAtIndexPath(
    UITableView* tableView, const NSIndexPath& indexPath) {
    UITableViewCellPtr cell = HuebadgePSViewController::cellForRowAtIndexPath(tableView, indexPath);
    // This page shows plain cells, without the pane's look: account names keep their size.
    cell->textLabel()->setAdjustsFontSizeToFitWidth(false);
    long row = indexPath.row();
    if (row < 0 || row >= static_cast<long>(_accountNames.size())) {
        return cell;
    }
    cell->textLabel()->setText(_accountNames[row]);
    bool checked = _enabledAccounts.count(_accountValues[row]) > 0;
    cell->setAccessoryType(checked ? UITableViewCellAccessoryCheckmark
                                   : UITableViewCellAccessoryNone);
    applyRowState(*cell, row);
    return cell;
}

// While "All" is enabled, every single account is included anyway: its row shows the check
// mark, greyed and out of reach. The "All" row itself must always take touches, also when
// it reuses a cell that was greyed in the previous load, or "All" could not be turned back on.
void HBAllInboxesFilterListController::applyRowState(UITableViewCell& cell, long row) const {
    bool greyed = row > 0 && allEnabled();
    if (greyed) {
        cell.setAccessoryType(UITableViewCellAccessoryCheckmark);
    }
    cell.setUserInteractionEnabled(!greyed);
    cell.textLabel()->setEnabled(!greyed);
    cell.detailTextLabel()->setEnabled(!greyed);
}

void HBAllInboxesFilterListController::didSelectRowAtIndexPath(UITableView* tableView,
                                                               const NSIndexPath& indexPath) {
    long row = indexPath.row();
    if (row < 0 || row >= static_cast<long>(_accountValues.size())) {
        return;
    }
    const std::string& value = _accountValues[row];
    UITableViewCellPtr cell = tableView->cellForRowAtIndexPath(indexPath);
    bool enable = _enabledAccounts.count(value) == 0;
    if (enable) {
        _enabledAccounts.insert(value);
    } else {
        _enabledAccounts.erase(value);
    }
    if (cell) {
        cell->setAccessoryType(enable ? UITableViewCellAccessoryCheckmark
                                      : UITableViewCellAccessoryNone);
    }
    {
        HBUndoHistory::Scope step(_accountNames[static_cast<std::size_t>(row)]);
        savePreferences();
    }
    tableView->deselectRowAtIndexPath(indexPath, true);
    tableView->reloadData();
}

// The set has no order; the array follows the rows so that the file reads the same for the
// same choice. Each value is stored once, even when two rows share it.
PlistValue HBAllInboxesFilterListController::enabledAccountList() const {
    PlistValue::Array list;
    std::set<std::string> stored;
    for (const std::string& value : _accountValues) {
        if (_enabledAccounts.count(value) > 0 && stored.insert(value).second) {
            list.emplace_back(value);
        }
    }
    return PlistValue(std::move(list));
}

// Choosing accounts is the one change that leaves "profileSaved" as it is.
HBPreferenceBinding HBAllInboxesFilterListController::binding() {
    return HBPreferenceBinding(kAccountListKey, std::nullopt, HBPreferences::kIdentifier,
                               HBPreferenceBinding::Profile::Keep);
}

bool HBAllInboxesFilterListController::savePreferences() {
    return binding().write(enabledAccountList());
}

bool HBAllInboxesFilterListController::allEnabled() const {
    return _enabledAccounts.count(kAllValue) > 0;
}
