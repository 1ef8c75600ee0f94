#include "pages/HBOptionsController.h"

#include <algorithm>

#include "kit/HBLiveValueCell.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UITableViewCell.h"
#include "store/HBPreferences.h"

HBOptionsController::HBOptionsController(HBOptionsLayout layout) : _layout(std::move(layout)) {}

const std::vector<PSSpecifierPtr>& HBOptionsController::specifiers() {
    if (!_specifiers) {
        std::vector<PSSpecifierPtr> rows = loadSpecifiersFromPlistName(_layout.name, this);
        stretchWidthRow(rows);
        adjustSpecifiers(rows);
        _specifiers = std::move(rows);
    }
    return *_specifiers;
}

void HBOptionsController::adjustSpecifiers(std::vector<PSSpecifierPtr>&) {}

// The width slider reaches the screen's larger side, so a label can span the screen in
// either orientation.
void HBOptionsController::stretchWidthRow(std::vector<PSSpecifierPtr>& rows) const {
    if (_layout.widthRowID.empty()) {
        return;
    }
    CGSize screen = UIScreen::mainScreen().bounds().size;
    float longest = static_cast<float>(std::max(screen.width, screen.height));
    for (const PSSpecifierPtr& row : rows) {
        if (row->identifier() == _layout.widthRowID) {
            row->setProperty(PlistValue::real(longest), "max");
        }
    }
}

PlistValue HBOptionsController::readPreferenceValue(const PSSpecifierPtr& specifier) {
    PlistValue value = HuebadgePSListController::readPreferenceValue(specifier);
    if (isAccountSettingsSwitch(*specifier)) {
        followAccountSettings(value);
    }
    return value;
}

void HBOptionsController::setPreferenceValue(const PlistValue& value,
                                             const PSSpecifierPtr& specifier) {
    if (isAccountSettingsSwitch(*specifier)) {
        followAccountSettings(value);
    }
    HuebadgePSListController::setPreferenceValue(value, specifier);
}

// The preview sits above the first row, so the rows keep their order and heights.
void HBOptionsController::viewDidLoad() {
    HuebadgePSListController::viewDidLoad();
    UITableView* tableView = table();
    if (_layout.preview.empty() || !tableView) {
        return;
    }
    _preview =
        std::make_shared<HBLabelPreviewView>(tableView->bounds().size.width, _layout.preview);
    tableView->setTableHeaderView(_preview);
    HBPreferences::sharedInstance().addObserver(_preview);
}

// The store and the appearance tell the preview of their changes; the accounts it shows
// colours of are read again when the page appears.
void HBOptionsController::viewWillAppear(bool animated) {
    if (_preview) {
        _preview->refresh();
    }
    HuebadgePSListController::viewWillAppear(animated);
}

UITableViewCellPtr HBOptionsController::cellForRowAtIndexPath(UITableView* tableView,
                                                              const NSIndexPath& indexPath) {
    UITableViewCellPtr cell = HuebadgePSListController::cellForRowAtIndexPath(tableView, indexPath);
    if (cell && _preview) {
        watchSlider(*cell);
    }
    return cell;
}

// The preview follows a slider while it moves, before the release stores the value.
void HBOptionsController::watchSlider(UITableViewCell& cell) {
    auto* slider = dynamic_cast<HBLiveValueCell*>(&cell);
    if (!slider) {
        return;
    }
    std::weak_ptr<HBLabelPreviewView> preview = _preview;
    slider->setValueObserver(
        [preview](const std::string& key, long long value, HBLiveValueCell::Moment moment) {
            auto shown = preview.lock();
            if (!shown) {
                return;
            }
            if (moment == HBLiveValueCell::Moment::Moving) {
                shown->setLiveValue(key, static_cast<double>(value));
            } else {
                shown->clearLiveValue(key);
            }
        });
}

double HBOptionsController::heightForRowAtIndexPath(UITableView* tableView,
                                                    const NSIndexPath& indexPath) {
    if (_layout.hostHeights) {
        return HuebadgePSListController::heightForRowAtIndexPath(tableView, indexPath);
    }
    if (indexPath.length() == 2 &&
        _layout.tallRows.contains({indexPath.section(), indexPath.row()})) {
        return kSliderRowHeight;
    }
    return kRowHeight;
}

bool HBOptionsController::isAccountSettingsSwitch(const PSSpecifier& specifier) const {
    const std::string* key = specifier.propertyForKey("key").stringValue();
    return _layout.accountSettings && key && *key == _layout.accountSettings->key;
}

// While the account settings apply (the switch on, or never set), the rows they replace
// are shown dimmed and take no touches.
void HBOptionsController::followAccountSettings(const PlistValue& value) {
    // Asking for the rows' cells reads their values again; never recurse into the switch.
    if (_updatingRows) {
        return;
    }
    _updatingRows = true;
    bool live = !value.isAbsent() && !value.boolValue();
    for (long row = _layout.accountSettings->firstRow; row <= _layout.accountSettings->lastRow;
         ++row) {
        setRowLive(row, live);
    }
    _updatingRows = false;
}

void HBOptionsController::setRowLive(long row, bool live) {
    NSIndexPath indexPath = NSIndexPath::indexPathForRow(row, 0);
    if (!specifierAtIndexPath(indexPath)) {
        return;
    }
    UITableViewCellPtr cell = cellForRowAtIndexPath(table(), indexPath);
    cell->setSelectionStyle(UITableViewCellSelectionStyleNone);
    cell->setUserInteractionEnabled(live);
    cell->textLabel()->setEnabled(live);
    cell->detailTextLabel()->setEnabled(live);
    if (auto* slider = dynamic_cast<HBLiveValueCell*>(cell.get())) {
        slider->enableControls(live);
    }
}
