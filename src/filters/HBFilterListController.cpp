#include "filters/HBFilterListController.h"

#include <fmt/format.h>

#include <tuple>

#include "kit/HBDelayedReload.h"
#include "kit/HBPageRouter.h"
#include "kit/HBPalette.h"
#include "model/HBFilterRecord.h"
#include "platform/prefs/PSBundle.h"
#include "store/HBPreferences.h"
#include "store/HBUndoHistory.h"

namespace {

constexpr long kEnabledSection = 0;
constexpr long kDisabledSection = 1;
constexpr long kDropSection = 2;

}  // namespace

HBFilterListController::HBFilterListController(const HBFilterKind& kind) : kind_(kind) {
    reloadSortOrder();
    _tableView->setEditing(true);
    _tableView->setAllowsSelection(true);
    _tableView->setAllowsSelectionDuringEditing(true);
    _tableView->setAllowsMultipleSelection(false);
}

void HBFilterListController::reloadSortOrder() {
    HBPreferences::sharedInstance().loadFromIdentifier(HBPreferences::kIdentifier,
                                                       HBPreferences::kNotification);
}

void HBFilterListController::viewDidLoad() {
    HuebadgePSViewController::viewDidLoad();
    setTitle("Filters");
}

// Edits made in the editor show when the user comes back.
void HBFilterListController::viewWillAppear(bool animated) {
    HuebadgePSViewController::viewWillAppear(animated);
    HBDelayedReload::schedule(*this, &HBFilterListController::reloadList);
}

void HBFilterListController::reloadList() {
    reloadSortOrder();
    _tableView->reloadData();
}

HBFilterLists HBFilterListController::lists() const {
    return HBFilterLists(kind_, HBPreferences::sharedInstance());
}

// A filter without a title is named by its kind alone.
std::string HBFilterListController::stepTitle(const char* verb, HBFilterLists::Place place) const {
    std::string title = HBFilterRecord::title(lists().record(place), kind_);
    return title.empty() ? fmt::format("{} Filter", verb)
                         : fmt::format("{} Filter '{}'", verb, title);
}

std::optional<HBFilterLists::Place> HBFilterListController::recordPlace(
    const NSIndexPath& indexPath) {
    long row = indexPath.row();
    if (indexPath.section() == kEnabledSection && row >= 0) {
        return HBFilterLists::Place{HBFilterLists::List::Enabled, static_cast<std::size_t>(row)};
    }
    if (indexPath.section() == kDisabledSection && row >= 1) {
        return HBFilterLists::Place{HBFilterLists::List::Disabled,
                                    static_cast<std::size_t>(row - 1)};
    }
    return std::nullopt;
}

bool HBFilterListController::isAddRow(const NSIndexPath& indexPath) {
    return indexPath.section() == kDisabledSection && indexPath.row() == 0;
}

long HBFilterListController::numberOfRowsInSection(UITableView*, long section) {
    switch (section) {
        case kEnabledSection:
            return static_cast<long>(lists().count(HBFilterLists::List::Enabled));
        case kDisabledSection:
            return static_cast<long>(lists().count(HBFilterLists::List::Disabled)) + 1;
        default:
            return 0;
    }
}

std::optional<std::string> HBFilterListController::titleForHeaderInSection(UITableView*,
                                                                           long section) {
    switch (section) {
        case kEnabledSection:
            return "ENABLED";
        case kDisabledSection:
            return "DISABLED";
        case kDropSection:
            return "DRAG BELOW, TO DELETE";
        default:
            return "Unknown";
    }
}

UITableViewCellPtr HBFilterListController::cellForRowAtIndexPath(UITableView* tableView,
                                                                 const NSIndexPath& indexPath) {
    UITableViewCellPtr cell = tableView->dequeueReusableCellWithIdentifier("Cell");
    if (!cell) {
        cell = std::make_shared<UITableViewCell>(UITableViewCellStyleSubtitle, "Cell");
    }
    applyCellLook(*cell);
    applyDefaultColors(*cell);
    if (isAddRow(indexPath)) {
        fillAddCell(*cell);
    } else {
        fillRecordCell(*cell, indexPath);
    }
    return cell;
}

void HBFilterListController::applyDefaultColors(UITableViewCell& cell) const {
    HBPalette::current().paint(cell);
}

void HBFilterListController::fillAddCell(UITableViewCell& cell) {
    cell.textLabel()->setText(kAddRowTitle);
    cell.textLabel()->setTextColor(UIColor::redColor());
    cell.imageView()->setImage(kind_.showsSoundImages ? bundleImage("ring_blank.png") : nullptr);
}

// Only enabled filters preview their colour: disabled ones are not applied.
void HBFilterListController::fillRecordCell(UITableViewCell& cell, const NSIndexPath& indexPath) {
    std::optional<HBFilterLists::Place> place = recordPlace(indexPath);
    PlistValue record = place ? lists().record(*place) : PlistValue();
    cell.textLabel()->setText(HBFilterRecord::title(record, kind_));
    std::optional<HBFilterPreview> preview;
    if (indexPath.section() == kEnabledSection) {
        preview = HBFilterRecord::preview(record,
                                          kind_.previewAlphaLevel(HBPreferences::sharedInstance()));
    }
    if (preview) {
        cell.setBackgroundColor(preview->background);
        cell.textLabel()->setTextColor(preview->text);
    }
    cell.imageView()->setImage(
        kind_.showsSoundImages ? ringImage(record, preview && preview->whiteText) : nullptr);
}

UIImagePtr HBFilterListController::ringImage(const PlistValue& record, bool whiteText) {
    const std::string* sound = HBFilterRecord::text(record, HBFilterRecord::kSoundKey);
    if (!sound || *sound == "HBDefault") {
        return bundleImage("ring_blank.png");
    }
    std::string name = *sound == "HBSilent" ? "ring_silent" : "ring_custom";
    return bundleImage(name + (whiteText ? "_w.png" : ".png"));
}

// A long list shows the same few images on every row; each is read once per page.
UIImagePtr HBFilterListController::bundleImage(const std::string& name) {
    auto [found, inserted] = images_.try_emplace(name);
    if (inserted) {
        found->second =
            UIImage::imageWithContentsOfFile(std::string(PSBundle::kDeviceFolder) + "/" + name);
    }
    return found->second;
}

bool HBFilterListController::canEditRowAtIndexPath(UITableView*, const NSIndexPath& indexPath) {
    return !isAddRow(indexPath);
}

bool HBFilterListController::canMoveRowAtIndexPath(UITableView*, const NSIndexPath& indexPath) {
    return !isAddRow(indexPath);
}

// A failed write is reported by the host from the store's last failure; the table shows
// what the store holds either way.
void HBFilterListController::didSelectRowAtIndexPath(UITableView* tableView,
                                                     const NSIndexPath& indexPath) {
    if (isAddRow(indexPath)) {
        HBUndoHistory::Scope step("Add Filter");
        std::ignore = lists().addRecord();
        tableView->reloadData();
    } else if (indexPath.section() == kEnabledSection) {
        if (PSViewControllerPtr editor = makeEditor(indexPath.row())) {
            HBPageRouter::push(*this, editor);
        }
    }
    tableView->deselectRowAtIndexPath(indexPath, true);
}

// Moves inside the disabled list snap back: its order is not the user's to change. A drop
// above the add row lands at the top of the disabled list, a drop on the drop zone deletes.
void HBFilterListController::moveRowAtIndexPath(UITableView* tableView, const NSIndexPath& from,
                                                const NSIndexPath& to) {
    std::optional<HBFilterLists::Place> source = recordPlace(from);
    bool insideDisabled = from.section() == kDisabledSection && to.section() == kDisabledSection;
    if (source && !insideDisabled) {
        std::optional<HBFilterLists::Place> destination = recordPlace(to);
        if (isAddRow(to)) {
            destination = HBFilterLists::Place{HBFilterLists::List::Disabled, 0};
        }
        if (destination || to.section() == kDropSection) {
            HBUndoHistory::Scope step(stepTitle(destination ? "Move" : "Delete", *source));
            std::ignore = lists().moveRecord(*source, destination);
        }
    }
    tableView->reloadData();
}

void HBFilterListController::commitEditingStyle(UITableView* tableView,
                                                UITableViewCellEditingStyle style,
                                                const NSIndexPath& indexPath) {
    std::optional<HBFilterLists::Place> place = recordPlace(indexPath);
    if (style != UITableViewCellEditingStyleDelete || !place) {
        return;
    }
    HBUndoHistory::Scope step(stepTitle("Delete", *place));
    std::ignore = lists().removeRecord(*place);
    tableView->reloadData();
}
