#include "TestAlertPage.h"

#include <iostream>

#include "platform/prefs/PSClasses.h"
#include "platform/ui/UIAlertController.h"
#include "store/HBPreferences.h"

namespace {

const bool registered = PSControllerClasses::registerClass(
    "TestAlertPage", [] { return std::make_shared<TestAlertPage>(); });

}  // namespace

TestAlertPage::TestAlertPage() : HuebadgePSViewController(UITableViewStyleGrouped) {
    setTitle("Alert Test");
}

UITableViewCellPtr TestAlertPage::cellForRowAtIndexPath(UITableView* tableView,
                                                        const NSIndexPath&) {
    UITableViewCellPtr cell = tableView->dequeueReusableCellWithIdentifier("Rename");
    if (!cell) {
        cell = std::make_shared<UITableViewCell>(UITableViewCellStyleValue1, "Rename");
    }
    cell->textLabel()->setText("Rename");
    cell->detailTextLabel()->setText(storedName());
    return cell;
}

void TestAlertPage::didSelectRowAtIndexPath(UITableView* tableView, const NSIndexPath& indexPath) {
    tableView->deselectRowAtIndexPath(indexPath, true);
    presentRenameAlert();
}

// The handlers hold the page and the alert weakly: the alert owns its actions, and the page
// may be gone by the time a button is pressed.
void TestAlertPage::presentRenameAlert() {
    auto alert = UIAlertController::alertControllerWithTitle("Rename", "Enter a name for the row",
                                                             UIAlertControllerStyleAlert);
    alert->addTextFieldWithConfigurationHandler([](UITextField* field) {
        field->setPlaceholder("Name");
        field->setKeyboardType(UIKeyboardTypeDefault);
    });
    std::weak_ptr<UIViewController> page = weak_from_this();
    std::weak_ptr<UIAlertController> weakAlert = alert;
    alert->addAction(UIAlertAction::actionWithTitle(
        "Save", UIAlertActionStyleDefault, [page, weakAlert](UIAlertAction*) {
            auto self = std::dynamic_pointer_cast<TestAlertPage>(page.lock());
            auto shown = weakAlert.lock();
            if (self && shown && !shown->textFields().empty()) {
                self->saveName(shown->textFields().front()->text());
            }
        }));
    alert->addAction(UIAlertAction::actionWithTitle("Cancel", UIAlertActionStyleCancel, nullptr));
    presentViewController(alert, true);
}

void TestAlertPage::saveName(const std::string& name) {
    if (!HBPreferences::paneStore().change(PlistValue(name), kNameKey)) {
        // The browser test reads the file, so a failed write must not pass unnoticed.
        std::cerr << "TestAlertPage: the settings file could not be written\n";
    }
    _tableView->reloadData();
}

std::string TestAlertPage::storedName() const {
    const std::string* name = HBPreferences::paneStore().objectForKey(kNameKey).stringValue();
    return name ? *name : "";
}
