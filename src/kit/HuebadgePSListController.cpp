#include "kit/HuebadgePSListController.h"

#include "platform/prefs/PSSwitchTableCell.h"
#include "platform/ui/UINavigationController.h"
#include "store/HBPreferenceBinding.h"
#include "store/HBPreferences.h"
#include "store/HBUndoHistory.h"

namespace {

const std::string* keyOf(const PSSpecifier& specifier) {
    return specifier.propertyForKey("key").stringValue();
}

}  // namespace

HuebadgePSListController::HuebadgePSListController()
    : _liveReload(HBLiveReload::attach(*this, [this] { reload(); })) {}

void HuebadgePSListController::viewWillAppear(bool animated) {
    PSListController::viewWillAppear(animated);
    reload();
}

PlistValue HuebadgePSListController::readPreferenceValue(const PSSpecifierPtr& specifier) {
    const std::string* key = keyOf(*specifier);
    PlistValue value = key ? HBPreferenceBinding(*key).read() : PlistValue();
    return value.isAbsent() ? specifier->propertyForKey("default") : value;
}

void HuebadgePSListController::setPreferenceValue(const PlistValue& value,
                                                  const PSSpecifierPtr& specifier) {
    const std::string* key = keyOf(*specifier);
    // A row without a key names no setting; storing under "" would invent one.
    if (!key || key->empty()) {
        return;
    }
    HBUndoHistory::Scope step(specifier->name());
    HBPreferenceBinding(*key).write(value);
}

UITableViewCellPtr HuebadgePSListController::cellForRowAtIndexPath(UITableView* tableView,
                                                                   const NSIndexPath& indexPath) {
    UITableViewCellPtr cell = PSListController::cellForRowAtIndexPath(tableView, indexPath);
    cell->textLabel()->setAdjustsFontSizeToFitWidth(true);
    if (auto* switchCell = dynamic_cast<PSSwitchTableCell*>(cell.get())) {
        UINavigationController* navigation =
            navigationController() ? navigationController() : rootController();
        if (navigation) {
            switchCell->control()->setOnTintColor(navigation->navigationBar().tintColor());
        }
    }
    return cell;
}
