#include "platform/prefs/PSListController.h"

#include "platform/prefs/PSClasses.h"
#include "platform/prefs/PSEditableTableCell.h"
#include "platform/prefs/PSPageDescription.h"
#include "platform/prefs/PSSliderTableCell.h"
#include "platform/prefs/PSSwitchTableCell.h"
#include "platform/ui/UIScreen.h"

namespace {

UITableViewCellStyle styleFor(PSCellType type) {
    switch (type) {
        case PSLinkCell:
        case PSLinkListCell:
        case PSTitleValueCell:
            return UITableViewCellStyleValue1;
        default:
            return UITableViewCellStyleDefault;
    }
}

}  // namespace

PSListController::~PSListController() {
    if (table_) {
        table_->setDataSource(nullptr);
        table_->setDelegate(nullptr);
    }
}

const std::vector<PSSpecifierPtr>& PSListController::specifiers() {
    if (!_specifiers) {
        _specifiers.emplace();
    }
    return *_specifiers;
}

std::vector<PSSpecifierPtr> PSListController::loadSpecifiersFromPlistName(
    std::string_view name, PSListController* target) {
    Result<PSPageDescription> description = PSPageDescription::load(name, target);
    if (!description) {
        UIViewController::warn(description.error());
        return {};
    }
    if (target && !description->title.empty()) {
        target->setTitle(description->title);
    }
    return description->specifiers;
}

PSSpecifierPtr PSListController::specifierForID(std::string_view identifier) {
    for (const PSSpecifierPtr& specifier : specifiers()) {
        if (specifier->identifier() == identifier) {
            return specifier;
        }
    }
    return nullptr;
}

std::vector<PSListController::Section> PSListController::sections() {
    std::vector<Section> result;
    for (const PSSpecifierPtr& specifier : specifiers()) {
        if (specifier->cellType() == PSGroupCell) {
            result.push_back(Section{specifier, {}});
            continue;
        }
        if (result.empty()) {
            result.emplace_back();
        }
        result.back().rows.push_back(specifier);
    }
    return result;
}

PSSpecifierPtr PSListController::specifierAtIndexPath(const NSIndexPath& indexPath) {
    if (indexPath.length() != 2) {
        return nullptr;
    }
    std::vector<Section> all = sections();
    long section = indexPath.section();
    long row = indexPath.row();
    if (section < 0 || section >= static_cast<long>(all.size()) || row < 0 ||
        row >= static_cast<long>(all[section].rows.size())) {
        return nullptr;
    }
    return all[section].rows[row];
}

std::optional<NSIndexPath> PSListController::indexPathForSpecifier(const PSSpecifier* specifier) {
    std::vector<Section> all = sections();
    for (std::size_t section = 0; section < all.size(); ++section) {
        for (std::size_t row = 0; row < all[section].rows.size(); ++row) {
            if (all[section].rows[row].get() == specifier) {
                return NSIndexPath::indexPathForRow(static_cast<long>(row),
                                                    static_cast<long>(section));
            }
        }
    }
    return std::nullopt;
}

PlistValue PSListController::readPreferenceValue(const PSSpecifierPtr& specifier) {
    return specifier->propertyForKey("default");
}

void PSListController::setPreferenceValue(const PlistValue&, const PSSpecifierPtr&) {}

void PSListController::reload() {
    if (table_) {
        table_->reloadData();
    }
}

UITableView* PSListController::table() {
    view();
    return table_.get();
}

void PSListController::performAction(PSSpecifier& specifier) {
    if (specifier.action()) {
        specifier.action()(specifier);
        return;
    }
    auto found = actions_.find(specifier.actionName());
    if (found != actions_.end()) {
        found->second(specifier);
    }
}

void PSListController::registerAction(std::string name, ActionHandler handler) {
    actions_.insert_or_assign(std::move(name), std::move(handler));
}

void PSListController::loadView() {
    CGRect bounds = UIScreen::mainScreen().bounds();
    table_ = std::make_shared<UITableView>(bounds, UITableViewStyleGrouped);
    table_->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    table_->setDataSource(this);
    table_->setDelegate(this);
    setView(table_);
}

long PSListController::numberOfSectionsInTableView(UITableView*) {
    return static_cast<long>(sections().size());
}

long PSListController::numberOfRowsInSection(UITableView*, long section) {
    std::vector<Section> all = sections();
    if (section < 0 || section >= static_cast<long>(all.size())) {
        return 0;
    }
    return static_cast<long>(all[section].rows.size());
}

std::optional<std::string> PSListController::titleForHeaderInSection(UITableView*, long section) {
    std::vector<Section> all = sections();
    if (section < 0 || section >= static_cast<long>(all.size()) || !all[section].group ||
        all[section].group->name().empty()) {
        return std::nullopt;
    }
    return all[section].group->name();
}

std::optional<std::string> PSListController::titleForFooterInSection(UITableView*, long section) {
    std::vector<Section> all = sections();
    if (section < 0 || section >= static_cast<long>(all.size()) || !all[section].group) {
        return std::nullopt;
    }
    const std::string* footer = all[section].group->propertyForKey("footerText").stringValue();
    return footer ? std::optional<std::string>(*footer) : std::nullopt;
}

PSTableCellPtr PSListController::makeCell(const PSSpecifierPtr& specifier) {
    UITableViewCellStyle style = styleFor(specifier->cellType());
    // Cells are kept per row by the page rather than recycled by the table, so they carry
    // no reuse identifier.
    const std::string* cellClass = specifier->propertyForKey("cellClass").stringValue();
    if (cellClass) {
        if (auto cell = PSCellClasses::create(*cellClass, style, "", specifier)) {
            return cell;
        }
    }
    switch (specifier->cellType()) {
        case PSSwitchCell:
            return std::make_shared<PSSwitchTableCell>(style, "", specifier);
        case PSEditTextCell:
        case PSSecureEditTextCell:
            return std::make_shared<PSEditableTableCell>(style, "", specifier);
        case PSSliderCell:
            return std::make_shared<PSSliderTableCell>(style, "", specifier);
        default:
            return std::make_shared<PSTableCell>(style, "", specifier);
    }
}

PSTableCellPtr PSListController::cellFor(const PSSpecifierPtr& specifier) {
    auto found = cells_.find(specifier.get());
    if (found != cells_.end() && found->second.specifier.lock() == specifier) {
        return found->second.cell;
    }
    PSTableCellPtr cell = makeCell(specifier);
    cells_[specifier.get()] = CachedCell{specifier, cell};
    return cell;
}

UITableViewCellPtr PSListController::cellForRowAtIndexPath(UITableView*,
                                                           const NSIndexPath& indexPath) {
    PSSpecifierPtr specifier = specifierAtIndexPath(indexPath);
    if (!specifier) {
        return std::make_shared<UITableViewCell>(UITableViewCellStyleDefault, "");
    }
    PSTableCellPtr cell = cellFor(specifier);
    cell->refreshCellContentsWithSpecifier(specifier);
    if (specifier->hasGetter()) {
        PSListController* target = specifier->target() ? specifier->target() : this;
        cell->setValue(target->readPreferenceValue(specifier));
    }
    return cell;
}

double PSListController::heightForRowAtIndexPath(UITableView* tableView,
                                                 const NSIndexPath& indexPath) {
    PSSpecifierPtr specifier = specifierAtIndexPath(indexPath);
    PlistValue height = specifier ? specifier->propertyForKey("height") : PlistValue();
    if (height.isNumber() && height.doubleValue() > 0) {
        return height.doubleValue();
    }
    return UITableViewDelegate::heightForRowAtIndexPath(tableView, indexPath);
}

std::shared_ptr<UIViewController> PSListController::detailControllerFor(
    const PSSpecifierPtr& specifier) {
    std::string detail = specifier->detailControllerClass();
    if (detail.empty() && specifier->cellType() == PSLinkListCell) {
        detail = "PSListItemsController";
    }
    PSViewControllerPtr page = PSControllerClasses::create(detail);
    if (page) {
        page->setSpecifier(specifier);
        page->setRootController(rootController());
        page->setParentController(this);
    }
    return page;
}

void PSListController::didSelectRowAtIndexPath(UITableView* tableView,
                                               const NSIndexPath& indexPath) {
    tableView->deselectRowAtIndexPath(indexPath, true);
    PSSpecifierPtr specifier = specifierAtIndexPath(indexPath);
    if (!specifier) {
        return;
    }
    switch (specifier->cellType()) {
        case PSLinkCell:
        case PSLinkListCell:
            pushController(detailControllerFor(specifier));
            break;
        case PSButtonCell:
            if (PSListController* target = specifier->target()) {
                target->performAction(*specifier);
            } else {
                performAction(*specifier);
            }
            break;
        default:
            break;
    }
}
