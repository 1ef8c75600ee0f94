#include "platform/prefs/PSListItemsController.h"

#include "platform/prefs/PSClasses.h"

namespace {

const bool kPSListItemsControllerRegistered = PSControllerClasses::registerClass(
    "PSListItemsController", [] { return std::make_shared<PSListItemsController>(); });

}  // namespace

void PSListItemsController::setSpecifier(PSSpecifierPtr specifier) {
    if (specifier) {
        setTitle(specifier->name());
    }
    PSListController::setSpecifier(std::move(specifier));
}

PlistValue PSListItemsController::currentValue() {
    const PSSpecifierPtr& row = specifier();
    if (!row || !row->target()) {
        return {};
    }
    return row->target()->readPreferenceValue(row);
}

bool PSListItemsController::isChoiceRow(const NSIndexPath& indexPath) const {
    return specifier() && indexPath.length() == 2 && indexPath.section() == 0 &&
           indexPath.row() >= 0 &&
           indexPath.row() < static_cast<long>(std::min(specifier()->values().size(),
                                                        specifier()->titles().size()));
}

long PSListItemsController::numberOfSectionsInTableView(UITableView*) {
    return 1;
}

long PSListItemsController::numberOfRowsInSection(UITableView*, long section) {
    if (section != 0 || !specifier()) {
        return 0;
    }
    return static_cast<long>(std::min(specifier()->values().size(), specifier()->titles().size()));
}

std::optional<std::string> PSListItemsController::titleForHeaderInSection(UITableView*, long) {
    return std::nullopt;
}

std::optional<std::string> PSListItemsController::titleForFooterInSection(UITableView*, long) {
    return std::nullopt;
}

UITableViewCellPtr PSListItemsController::cellForRowAtIndexPath(UITableView*,
                                                                const NSIndexPath& indexPath) {
    auto cell = std::make_shared<PSTableCell>(UITableViewCellStyleDefault, "", nullptr);
    if (!isChoiceRow(indexPath)) {
        return cell;
    }
    cell->textLabel()->setText(specifier()->titles()[static_cast<std::size_t>(indexPath.row())]);
    bool chosen = specifier()->indexOfValue(currentValue()) == indexPath.row();
    cell->setAccessoryType(chosen ? UITableViewCellAccessoryCheckmark
                                  : UITableViewCellAccessoryNone);
    return cell;
}

double PSListItemsController::heightForRowAtIndexPath(UITableView* tableView,
                                                      const NSIndexPath& indexPath) {
    return UITableViewDelegate::heightForRowAtIndexPath(tableView, indexPath);
}

void PSListItemsController::didSelectRowAtIndexPath(UITableView* tableView,
                                                    const NSIndexPath& indexPath) {
    tableView->deselectRowAtIndexPath(indexPath, true);
    const PSSpecifierPtr& row = specifier();
    if (!isChoiceRow(indexPath) || !row->target()) {
        return;
    }
    row->target()->setPreferenceValue(row->values()[static_cast<std::size_t>(indexPath.row())],
                                      row);
    tableView->reloadData();
}
