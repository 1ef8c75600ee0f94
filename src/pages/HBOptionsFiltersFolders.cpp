#include "pages/HBOptionsFiltersFolders.h"

#include <fmt/format.h>

#include "kit/HBPageRouter.h"
#include "platform/ui/UITableView.h"

namespace {

const bool kHBOptionsFiltersFoldersRegistered = HBTypedControllerClasses::registerClass(
    "HBOptionsFiltersFolders",
    [](long type) { return std::make_shared<HBOptionsFiltersFolders>(type); });

constexpr long kFolderFiltersRow = 1;

HBOptionsLayout folderLayout(long type) {
    HBOptionsLayout layout;
    layout.name = "HBOptionsFiltersFolders";
    layout.tallRows = {{0, 0}};
    layout.preview = HBPreviewDescription::folderFilters(type);
    return layout;
}

}  // namespace

HBOptionsFiltersFolders::HBOptionsFiltersFolders(long type)
    : HBOptionsController(folderLayout(type)), _type(type), key1(type == 0 ? "1" : "2") {}

void HBOptionsFiltersFolders::adjustSpecifiers(std::vector<PSSpecifierPtr>& rows) {
    addSuffixToKeys(rows);
    auto footer = PSSpecifier::preferenceSpecifierNamed("", this, PSSpecifier::NoSetter,
                                                        PSSpecifier::NoGetter, "", PSGroupCell, "");
    footer->setProperty(
        PlistValue(fmt::format(
            "Uses the settings (type, width, alpha level) from '{}'",
            _type == 0 ? "Accounts - MailBox Options" : "Email Filters - List Options")),
        "footerText");
    rows.push_back(footer);
    setTitle(fmt::format("Folder Filters {} - Options", key1));
}

// The suffix goes on the rows themselves rather than on each read and write, so that cells
// which store their own value (the slider rows) edit the set's key as well.
void HBOptionsFiltersFolders::addSuffixToKeys(std::vector<PSSpecifierPtr>& rows) const {
    for (const PSSpecifierPtr& row : rows) {
        if (const std::string* key = row->propertyForKey("key").stringValue()) {
            row->setProperty(PlistValue(fmt::format("{}{}", *key, key1)), "key");
        }
    }
}

void HBOptionsFiltersFolders::didSelectRowAtIndexPath(UITableView* tableView,
                                                      const NSIndexPath& indexPath) {
    if (indexPath.length() == 2 && indexPath.section() == 0 &&
        indexPath.row() == kFolderFiltersRow) {
        // The list of this set's folder filters; nothing opens while that page is missing.
        HBPageRouter::pushPage(*this, "HBFilterFolderController", _type);
        tableView->deselectRowAtIndexPath(indexPath, true);
        return;
    }
    HBOptionsController::didSelectRowAtIndexPath(tableView, indexPath);
}
