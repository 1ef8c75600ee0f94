#include "pages/HBProfileController.h"

#include <fmt/format.h>
#include <fmt/ranges.h>

#include "kit/HBAlert.h"
#include "kit/HBDelayedReload.h"
#include "kit/HBPalette.h"
#include "platform/prefs/PSClasses.h"
#include "platform/ui/NSMutableAttributedString.h"
#include "platform/ui/NSParagraphStyle.h"
#include "platform/ui/UIAlertController.h"
#include "platform/ui/UILongPressGestureRecognizer.h"
#include "platform/ui/UITableViewHeaderFooterView.h"
#include "platform/ui/UITextView.h"
#include "store/HBPreferences.h"
#include "store/HBUndoHistory.h"

namespace {

const bool kHBProfileControllerRegistered = PSControllerClasses::registerClass(
    "HBProfileController", [] { return std::make_shared<HBProfileController>(); });

constexpr long kCurrentSection = 0;
constexpr long kAvailableSection = 1;

constexpr const char* kUnsavedWarning = "If your current profile is Unsaved, it will be lost!!!";
constexpr const char* kCouldNotSave = "Error, Could not save profile";
constexpr const char* kCouldNotLoad = "Error, Could not load profile";
constexpr const char* kCouldNotImport = "Error, Could not import profile";

constexpr double kFooterTextTop = 12;
constexpr double kFooterExtraHeight = 24;
const char* const kHelpLines[] = {
    "\u2022 Tap on the Current profile to save it.",
    "\u2022 Tap on an Available profile to load it.",
    "\u2022 Tap and hold on a profile to share it (send via email, Copy to DropBox, etc.).",
    "",
    "\u2022 Save to DropBox does not work. You have to use Open In DropBox. This appears to be an "
    "iOS/DropBox issue with the plist file extenstion.",
};

std::string helpText() {
    return fmt::format("{}", fmt::join(kHelpLines, "\n"));
}

}  // namespace

HBProfileController::HBProfileController() {
    reloadSortOrder();
    _tableView->setEditing(false);
    _tableView->setAllowsSelection(true);
    _tableView->setAllowsMultipleSelection(false);
    _tableView->setAllowsSelectionDuringEditing(false);
}

// ---- Appearance ---------------------------------------------------------------------------

void HBProfileController::viewDidLoad() {
    setTitle("Profiles");
    auto press = std::make_shared<UILongPressGestureRecognizer>(
        [weak = weak_from_this()](UIGestureRecognizer* recognizer) {
            if (auto page = weak.lock()) {
                static_cast<HBProfileController&>(*page).handleLongPress(recognizer);
            }
        });
    press->setMinimumPressDuration(kLongPressDuration);
    press->setDelegate(this);
    _tableView->addGestureRecognizer(press);
    _tableView->setTableFooterView(makeHelpFooter());
    HuebadgePSViewController::viewDidLoad();
}

void HBProfileController::traitCollectionDidChange(const UITraitCollection& previous) {
    HuebadgePSViewController::traitCollectionDidChange(previous);
    if (isViewLoaded()) {
        _tableView->setTableFooterView(makeHelpFooter());
    }
}

// Profiles may have been added or removed meanwhile (a share, another program): the list is
// read again shortly after the page shows.
void HBProfileController::viewWillAppear(bool animated) {
    HBDelayedReload::schedule(*this, &HBProfileController::reloadProfiles);
    HuebadgePSViewController::viewWillAppear(animated);
}

void HBProfileController::viewWillDisappear(bool animated) {
    HuebadgePSViewController::viewWillDisappear(animated);
}

UIViewPtr HBProfileController::makeHelpFooter() const {
    HBPalette palette = HBPalette::current();
    UIColor textColor = palette.secondaryText;
    UIColor background = UIColor::colorWithWhite((palette.light ? 240.0 : 15.0) / 255.0, 1);

    NSMutableParagraphStyle paragraph;
    paragraph.setParagraphSpacing(1.5);
    paragraph.setParagraphSpacingBefore(0);
    paragraph.setHeadIndent(11);
    paragraph.setTabStops({NSTextTab(NSTextAlignmentLeft, 15)});
    paragraph.setDefaultTabInterval(15);
    NSTextAttributes attributes;
    attributes.font = UIFont::systemFontOfSize(13);
    attributes.foregroundColor = textColor;
    attributes.paragraphStyle = paragraph;

    double width = _tableView->frame().size.width;
    auto textView = std::make_shared<UITextView>();
    textView->setAttributedText(NSAttributedString(helpText(), attributes));
    textView->setTextColor(textColor);
    textView->setFont(UIFont::systemFontOfSize(13));
    textView->setBackgroundColor(UIColor::clearColor());
    textView->setEditable(false);
    textView->setScrollEnabled(false);
    double height = textView->sizeThatFits(CGSizeMake(width, 0)).height;
    textView->setFrame(CGRectMake(0, kFooterTextTop, width, height));

    CGRect whole = CGRectMake(0, 0, width, height + kFooterExtraHeight);
    auto backdrop = std::make_shared<UIView>(whole);
    backdrop->setBackgroundColor(background);
    auto container = std::make_shared<UIView>(whole);
    container->setBackgroundColor(UIColor::clearColor());
    for (UIView* view : {static_cast<UIView*>(textView.get()), backdrop.get(), container.get()}) {
        view->setAutoresizingMask(UIViewAutoresizingFlexibleWidth);
    }
    container->addSubview(backdrop);
    container->addSubview(textView);
    return container;
}

// ---- Table --------------------------------------------------------------------------------

long HBProfileController::numberOfRowsInSection(UITableView*, long section) {
    if (section == kCurrentSection) {
        return 1;
    }
    return section == kAvailableSection ? static_cast<long>(_profiles.size()) : 0;
}

std::optional<std::string> HBProfileController::titleForHeaderInSection(UITableView*,
                                                                        long section) {
    switch (section) {
        case kCurrentSection:
            return "CURRENT";
        case kAvailableSection:
            return "AVAILABLE";
        default:
            return "Unknown";
    }
}

void HBProfileController::willDisplayHeaderView(UITableView*, UIView* view, long) {
    if (auto* header = dynamic_cast<UITableViewHeaderFooterView*>(view)) {
        header->textLabel()->setTextColor(UIColor::redColor());
    }
}

UITableViewCellPtr HBProfileController::cellForRowAtIndexPath(UITableView* tableView,
                                                              const NSIndexPath& indexPath) {
    UITableViewCellPtr cell = tableView->dequeueReusableCellWithIdentifier("Cell");
    if (!cell) {
        cell = std::make_shared<UITableViewCell>(UITableViewCellStyleSubtitle, "Cell");
    }
    applyCellLook(*cell);
    HBPalette palette = HBPalette::current();
    cell->textLabel()->setTextColor(palette.text);
    cell->detailTextLabel()->setTextColor(palette.secondaryText);
    Profile shown;
    if (indexPath.section() == kCurrentSection) {
        shown = model().current();
    } else if (const Profile* profile = profileAt(indexPath)) {
        shown = *profile;
    }
    cell->textLabel()->setText(shown.profileName);
    cell->detailTextLabel()->setText("Last Modified: " + shown.lastModified);
    return cell;
}

void HBProfileController::didSelectRowAtIndexPath(UITableView* tableView,
                                                  const NSIndexPath& indexPath) {
    if (indexPath.section() == kCurrentSection) {
        askForProfileName();
    } else if (const Profile* profile = profileAt(indexPath)) {
        askToLoad(profile->profileName);
    }
    tableView->deselectRowAtIndexPath(indexPath, true);
}

void HBProfileController::commitEditingStyle(UITableView* tableView,
                                             UITableViewCellEditingStyle style,
                                             const NSIndexPath& indexPath) {
    if (style == UITableViewCellEditingStyleDelete) {
        if (indexPath.section() == kCurrentSection) {
            askToReset();
        } else if (const Profile* profile = profileAt(indexPath)) {
            deleteProfile(profile->profileName);
        }
    }
    tableView->reloadData();
}

const HBProfileController::Profile* HBProfileController::profileAt(
    const NSIndexPath& indexPath) const {
    long row = indexPath.row();
    bool listed = indexPath.section() == kAvailableSection && row >= 0 &&
                  row < static_cast<long>(_profiles.size());
    return listed ? &_profiles[static_cast<std::size_t>(row)] : nullptr;
}

// ---- Listing ------------------------------------------------------------------------------

void HBProfileController::reloadSortOrder() {
    _profiles = model().list();
}

void HBProfileController::reloadProfiles() {
    reloadSortOrder();
    _tableView->reloadData();
}

// ---- Saving -------------------------------------------------------------------------------

void HBProfileController::askForProfileName() {
    auto alert = makeAlert("Save", std::string("Please enter a Profile Name"));
    std::string current = model().currentName();
    alert->addTextFieldWithConfigurationHandler([&current](UITextField* field) {
        field->setPlaceholder("Profile Name");
        field->setText(current);
    });
    std::weak_ptr<UIAlertController> weakAlert = alert;
    addAction(*alert, "Save", [weakAlert](HBProfileController& page) {
        auto shown = weakAlert.lock();
        page.saveTypedName(shown && !shown->textFields().empty() ? shown->textFields()[0]->text()
                                                                 : std::string());
    });
    addAction(*alert, "Cancel", nullptr);
    present(alert);
}

void HBProfileController::saveTypedName(const std::string& name) {
    if (name.empty()) {
        showError("Error, You cannot save a profile with no name", std::nullopt);
        return;
    }
    if (std::optional<std::string> problem = HBProfiles::problemWithProfileName(name)) {
        showError("Error, Invalid profile name", problem);
        return;
    }
    if (model().exists(name)) {
        ask("That profile exists!", "Would you like to overwrite it?", "Yes", "No",
            [name](HBProfileController& page) { page.saveProfile(name); });
        return;
    }
    saveProfile(name);
}

void HBProfileController::saveProfile(const std::string& name) {
    finish(model().save(name), kCouldNotSave);
}

// ---- Importing ----------------------------------------------------------------------------

void HBProfileController::importProfileFile(const std::string& fileName, std::string_view bytes) {
    Result<HBProfiles::Import> read = HBProfiles::readImport(fileName, bytes);
    if (!read) {
        showError(kCouldNotImport, read.error());
        return;
    }
    if (model().exists(read->name)) {
        ask("That profile exists!", "Would you like to overwrite it?", "Yes", "No",
            [import = read.value()](HBProfileController& page) {
                page.finish(HBProfiles::writeImport(import), kCouldNotImport);
            });
        return;
    }
    finish(HBProfiles::writeImport(std::move(read).value()), kCouldNotImport);
}

// ---- Loading, resetting and deleting ------------------------------------------------------

void HBProfileController::askToLoad(const std::string& name) {
    ask("Are you sure you want to load the selected profile?", kUnsavedWarning, "Yes", "Cancel",
        [name](HBProfileController& page) {
            HBUndoHistory::Scope step(fmt::format("Load Profile '{}'", name));
            page.finish(page.model().load(name), kCouldNotLoad);
        });
}

void HBProfileController::askToReset() {
    ask("Are you sure you want to reset your current profile?", kUnsavedWarning, "Reset", "Cancel",
        [](HBProfileController& page) {
            HBUndoHistory::Scope step("Reset Profile");
            page.finish(page.model().reset(), "Error, Could not reset profile");
        });
}

// A profile that is gone from the list needs no reload of the table: the swipe that
// deleted it reloads it.
void HBProfileController::deleteProfile(const std::string& name) {
    HBUndoHistory::Scope step(fmt::format("Delete Profile '{}'", name));
    HBProfiles::Outcome removed = model().remove(name);
    if (!removed.done) {
        showError("Error, Could not delete profile", removed.detail);
        return;
    }
    reloadSortOrder();
}

// The list and the CURRENT row show the outcome, whichever it was.
void HBProfileController::finish(const HBProfiles::Outcome& outcome, const char* failureTitle) {
    reloadProfiles();
    if (!outcome.done) {
        showError(failureTitle, outcome.detail);
    }
}

HBProfiles HBProfileController::model() const {
    return HBProfiles(HBPreferences::sharedInstance());
}

// ---- Sharing ------------------------------------------------------------------------------

void HBProfileController::handleLongPress(UIGestureRecognizer* recognizer) {
    if (recognizer->state() != UIGestureRecognizerStateBegan) {
        return;
    }
    std::string fileName = HBProfiles::settingsFileName();
    std::optional<NSIndexPath> pressed =
        _tableView->indexPathForRowAtPoint(recognizer->locationInView(_tableView.get()));
    if (const Profile* profile = pressed ? profileAt(*pressed) : nullptr) {
        fileName = HBProfiles::profileFileName(profile->profileName);
    }
    shareFile(fileName);
}

void HBProfileController::shareFile(const std::string& fileName) {
    _documentController = UIDocumentInteractionController::interactionControllerWithURL(
        NSURL::fileURLWithPath(HBProfiles::preferencesFolder() + fileName));
    _documentController->setDelegate(this);
    UIView* shown = view().get();
    if (!_documentController->presentOptionsMenuFromRect(shown->bounds(), shown, true)) {
        showError("ERROR",
                  std::string("Cannot Open File: There are no Apps installed on your device "
                              "that can open this file."));
    }
}

// ---- Alerts -------------------------------------------------------------------------------

std::shared_ptr<UIAlertController> HBProfileController::makeAlert(
    const std::string& title, const std::optional<std::string>& message) {
    return HBAlert::make(title, message);
}

void HBProfileController::addAction(UIAlertController& alert, const std::string& title,
                                    PageAction action) {
    std::weak_ptr<UIViewController> weak = weak_from_this();
    HBAlert::addAction(alert, title, [weak, action = std::move(action)] {
        auto page = weak.lock();
        if (page && action) {
            action(static_cast<HBProfileController&>(*page));
        }
    });
}

void HBProfileController::ask(const std::string& title, const std::string& message,
                              const std::string& confirm, const std::string& decline,
                              PageAction onConfirm) {
    auto alert = makeAlert(title, message);
    addAction(*alert, confirm, std::move(onConfirm));
    addAction(*alert, decline, nullptr);
    present(alert);
}

void HBProfileController::showError(const std::string& title,
                                    const std::optional<std::string>& message) {
    auto alert = makeAlert(title, message);
    addAction(*alert, "Dismiss", nullptr);
    present(alert);
}

void HBProfileController::present(const std::shared_ptr<UIAlertController>& alert) {
    HBAlert::showOn(*this, alert);
}
