#include "pages/HBProfileController.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <fmt/format.h>
#include <fmt/ranges.h>

#include <algorithm>

#include "platform/dispatch/Dispatch.h"
#include "platform/foundation/NSFileManager.h"
#include "platform/foundation/NSPredicate.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/PropertyList.h"
#include "platform/prefs/PSClasses.h"
#include "platform/ui/NSMutableAttributedString.h"
#include "platform/ui/NSParagraphStyle.h"
#include "platform/ui/UIAlertController.h"
#include "platform/ui/UILongPressGestureRecognizer.h"
#include "platform/ui/UITableViewHeaderFooterView.h"
#include "platform/ui/UITextView.h"
#include "store/HBPreferences.h"

namespace {

const bool kHBProfileControllerRegistered = PSControllerClasses::registerClass(
    "HBProfileController", [] { return std::make_shared<HBProfileController>(); });

constexpr const char* kPreferencesFolder = "/var/mobile/Library/Preferences/";
constexpr const char* kProfilePrefix = "net.quorvel.huebadge_";
constexpr const char* kPlistSuffix = ".plist";
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

bool isLight() {
    return UITraitCollection::current().userInterfaceStyle == UIUserInterfaceStyleLight;
}

std::string profileIdentifier(std::string_view name) {
    return kProfilePrefix + std::string(name);
}

std::string stringOr(const PlistValue& value, std::string fallback) {
    const std::string* text = value.stringValue();
    return text ? *text : fallback;
}

// A stamp that is there but is not text: the file is not a profile this page wrote.
bool hasUsableStamp(const PlistValue& table) {
    const PlistValue& stamp = table["lastModified"];
    return stamp.isAbsent() || stamp.stringValue() != nullptr;
}

// The name in a listed file name "net.quorvel.huebadge_NAME.plist".
std::string nameInFileName(const std::string& fileName) {
    std::size_t prefix = std::string_view(kProfilePrefix).size();
    std::size_t suffix = std::string_view(kPlistSuffix).size();
    return fileName.substr(prefix, fileName.size() - prefix - suffix);
}

// A listed file as a profile entry; none for a folder that happens to match the pattern.
std::optional<HBProfileController::Profile> readProfile(const std::string& fileName) {
    bool isDirectory = false;
    if (!NSFileManager::defaultManager().fileExistsAtPath(kPreferencesFolder + fileName,
                                                          &isDirectory) ||
        isDirectory) {
        return std::nullopt;
    }
    HBProfileController::Profile profile{nameInFileName(fileName), ""};
    Result<PlistValue> contents = PropertyList::readFile(
        HBPreferences::pathForIdentifier(profileIdentifier(profile.profileName)));
    if (contents && contents->isDictionary()) {
        profile.lastModified = stringOr(contents.value()["lastModified"], "");
    }
    return profile;
}

// The name a brought-in file gives its profile: its "profileName", else its file name without
// the ".plist" extension and, for a file shared from this page, without the profile prefix.
std::string importedName(const PlistValue& table, std::string_view fileName) {
    const std::string* stored = table["profileName"].stringValue();
    if (stored && !stored->empty()) {
        return *stored;
    }
    if (fileName.ends_with(kPlistSuffix)) {
        fileName.remove_suffix(std::string_view(kPlistSuffix).size());
    }
    if (fileName.starts_with(kProfilePrefix)) {
        fileName.remove_prefix(std::string_view(kProfilePrefix).size());
    }
    return std::string(fileName);
}

std::string helpText() {
    return fmt::format("{}", fmt::join(kHelpLines, "\n"));
}

// Characters that would break a line where the name is shown or that have no glyph at all.
bool isControlCharacter(UChar32 character) {
    int8_t type = u_charType(character);
    return type == U_CONTROL_CHAR || type == U_LINE_SEPARATOR || type == U_PARAGRAPH_SEPARATOR;
}

std::optional<std::string> problemWithCharacters(std::string_view name) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(name.data());
    int32_t length = static_cast<int32_t>(name.size());
    for (int32_t offset = 0; offset < length;) {
        UChar32 character;
        U8_NEXT(bytes, offset, length, character);
        if (character < 0) {
            return "A profile name must be valid text.";
        }
        if (isControlCharacter(character)) {
            return "A profile name cannot contain control characters or line breaks.";
        }
    }
    return std::nullopt;
}

}  // namespace

HBProfileController::HBProfileController() {
    reloadSortOrder();
    _tableView->setEditing(false);
    _tableView->setAllowsSelection(true);
    _tableView->setAllowsMultipleSelection(false);
    _tableView->setAllowsSelectionDuringEditing(false);
}

std::string HBProfileController::profilePath(std::string_view name) {
    return kPreferencesFolder + profileIdentifier(name) + kPlistSuffix;
}

std::optional<std::string> HBProfileController::problemWithProfileName(std::string_view name) {
    if (name.find('/') != std::string_view::npos) {
        return "A profile name cannot contain \"/\".";
    }
    if (name.starts_with('.') || name.find("..") != std::string_view::npos) {
        return "A profile name cannot start with \".\" or contain \"..\".";
    }
    if (name.size() > kMaxProfileNameBytes) {
        return fmt::format("A profile name cannot be longer than {} bytes.", kMaxProfileNameBytes);
    }
    if (auto problem = problemWithCharacters(name)) {
        return problem;
    }
    if (HBPreferences::pathForIdentifier(profileIdentifier(name)).empty()) {
        return "A profile name cannot name a settings file.";
    }
    return std::nullopt;
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
    dispatch_after(
        dispatch_time(DISPATCH_TIME_NOW, static_cast<std::int64_t>(kReloadDelay * NSEC_PER_SEC)),
        dispatch_get_main_queue(), [weak = weak_from_this()] {
            if (auto page = weak.lock()) {
                static_cast<HBProfileController&>(*page).reloadProfiles();
            }
        });
    HuebadgePSViewController::viewWillAppear(animated);
}

void HBProfileController::viewWillDisappear(bool animated) {
    HuebadgePSViewController::viewWillDisappear(animated);
}

UIViewPtr HBProfileController::makeHelpFooter() const {
    bool light = isLight();
    UIColor textColor = light ? UIColor::darkGrayColor() : UIColor::lightGrayColor();
    UIColor background = UIColor::colorWithWhite((light ? 240.0 : 15.0) / 255.0, 1);

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
    bool light = isLight();
    cell->textLabel()->setTextColor(light ? UIColor::blackColor() : UIColor::whiteColor());
    cell->detailTextLabel()->setTextColor(light ? UIColor::darkGrayColor()
                                                : UIColor::lightGrayColor());
    const HBPreferences& store = HBPreferences::sharedInstance();
    std::string text;
    std::string stamp;
    if (indexPath.section() == kCurrentSection) {
        const std::string* name = store.objectForKey("profileName").stringValue();
        text =
            !name ? "Unsaved" : (store.boolForKey("profileSaved") ? *name : *name + " (Unsaved)");
        stamp = stringOr(store.objectForKey("lastModified"), "");
    } else if (const Profile* profile = profileAt(indexPath)) {
        text = profile->profileName;
        stamp = profile->lastModified;
    }
    cell->textLabel()->setText(text);
    cell->detailTextLabel()->setText("Last Modified: " + stamp);
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
    HBPreferences::paneStore();
    NSPredicate pattern =
        NSPredicate::predicateWithFormatLike(std::string(kProfilePrefix) + "*" + kPlistSuffix);
    std::vector<std::string> names = NSPredicate::filteredArrayUsingPredicate(
        NSFileManager::defaultManager().contentsOfDirectoryAtPath(kPreferencesFolder), pattern);
    std::vector<Profile> profiles;
    for (const std::string& name : names) {
        if (std::optional<Profile> profile = readProfile(name)) {
            profiles.push_back(std::move(*profile));
        }
    }
    // The folder lists names in byte order, so names equal but for case keep one order.
    std::stable_sort(profiles.begin(), profiles.end(), [](const Profile& a, const Profile& b) {
        return NSString::caseInsensitiveCompare(a.profileName, b.profileName) == NSOrderedAscending;
    });
    _profiles = std::move(profiles);
}

void HBProfileController::reloadProfiles() {
    reloadSortOrder();
    _tableView->reloadData();
}

// ---- Saving -------------------------------------------------------------------------------

void HBProfileController::askForProfileName() {
    auto alert = makeAlert("Save", std::string("Please enter a Profile Name"));
    std::string current = stringOr(HBPreferences::sharedInstance().objectForKey("profileName"), "");
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
    if (std::optional<std::string> problem = problemWithProfileName(name)) {
        showError("Error, Invalid profile name", problem);
        return;
    }
    if (NSFileManager::defaultManager().fileExistsAtPath(profilePath(name))) {
        ask("That profile exists!", "Would you like to overwrite it?", "Yes", "No",
            [name](HBProfileController& page) { page.saveProfile(name); });
        return;
    }
    saveProfile(name);
}

// The profile file is written first: the settings file names a profile only once it exists.
// Neither write stamps the time or notifies, as the settings themselves did not change.
void HBProfileController::saveProfile(const std::string& name) {
    HBPreferences& store = HBPreferences::sharedInstance();
    std::optional<PlistValue> before = store.table();
    store.setObject(PlistValue(name), "profileName");
    store.setObject(PlistValue::boolean(true), "profileSaved");
    if (!store.saveToIdentifier(profileIdentifier(name), std::nullopt, false)) {
        std::string failure = lastSaveFailureText();
        store.restoreTable(std::move(before));
        reloadProfiles();
        showError(kCouldNotSave, failure);
        return;
    }
    bool mainWritten = store.saveWithNotification(std::nullopt, false);
    reloadProfiles();
    if (!mainWritten) {
        showError(kCouldNotSave,
                  "The profile was saved, but the settings file could not be "
                  "updated: " +
                      lastSaveFailureText());
    }
}

// ---- Importing ----------------------------------------------------------------------------

void HBProfileController::importProfileFile(const std::string& fileName, std::string_view bytes) {
    Result<PlistValue> read = PropertyList::parse(bytes);
    if (!read) {
        showError(kCouldNotImport, "The file is not a property list: " + read.error());
        return;
    }
    if (!read->isDictionary()) {
        showError(kCouldNotImport, std::string("The file holds no settings: its property list is "
                                               "not a dictionary."));
        return;
    }
    PlistValue table = std::move(read).value();
    std::string name = importedName(table, fileName);
    if (name.empty()) {
        showError(kCouldNotImport, std::string("The file names no profile."));
        return;
    }
    if (std::optional<std::string> problem = problemWithProfileName(name)) {
        showError(kCouldNotImport, problem);
        return;
    }
    if (NSFileManager::defaultManager().fileExistsAtPath(profilePath(name))) {
        ask("That profile exists!", "Would you like to overwrite it?", "Yes", "No",
            [name, table](HBProfileController& page) { page.writeImportedProfile(name, table); });
        return;
    }
    writeImportedProfile(name, std::move(table));
}

// The file is kept as this page keeps a saved profile: named after itself and marked saved.
// A stamp that is not text would keep it from loading, so such a stamp is dropped. The
// settings in use are not touched: the file goes through a store of its own.
void HBProfileController::writeImportedProfile(const std::string& name, PlistValue table) {
    table.set("profileName", PlistValue(name));
    table.set("profileSaved", PlistValue::boolean(true));
    if (!hasUsableStamp(table)) {
        table.mutableDictionary().erase("lastModified");
    }
    HBPreferences profile;
    profile.restoreTable(std::move(table));
    bool written = profile.saveToIdentifier(profileIdentifier(name), std::nullopt, false);
    reloadProfiles();
    if (!written) {
        const auto& failure = profile.lastSaveFailure();
        showError(kCouldNotImport,
                  failure ? failure->message : std::string("The file could not be written."));
    }
}

// ---- Loading and resetting ----------------------------------------------------------------

void HBProfileController::askToLoad(const std::string& name) {
    ask("Are you sure you want to load the selected profile?", kUnsavedWarning, "Yes", "Cancel",
        [name](HBProfileController& page) { page.loadProfile(name); });
}

// A profile that cannot be read, or whose file could not become the settings file, leaves
// the settings in use as they were: in memory as on disk.
void HBProfileController::loadProfile(const std::string& name) {
    HBPreferences& store = HBPreferences::sharedInstance();
    std::optional<PlistValue> before = store.table();
    if (!store.loadOnceFromIdentifier(profileIdentifier(name)) || !hasUsableStamp(*store.table())) {
        store.restoreTable(std::move(before));
        reloadProfiles();
        showError(kCouldNotLoad, std::nullopt);
        return;
    }
    if (!store.saveWithLastModified(false)) {
        std::string failure = lastSaveFailureText();
        store.restoreTable(std::move(before));
        reloadProfiles();
        showError(kCouldNotLoad, failure);
        return;
    }
    reloadProfiles();
}

void HBProfileController::askToReset() {
    ask("Are you sure you want to reset your current profile?", kUnsavedWarning, "Reset", "Cancel",
        [](HBProfileController& page) { page.resetCurrentProfile(); });
}

void HBProfileController::resetCurrentProfile() {
    HBPreferences& store = HBPreferences::sharedInstance();
    std::optional<PlistValue> before = store.table();
    store.resetPreferences();
    if (!store.save()) {
        std::string failure = lastSaveFailureText();
        store.restoreTable(std::move(before));
        reloadProfiles();
        showError("Error, Could not reset profile", failure);
        return;
    }
    reloadProfiles();
}

void HBProfileController::deleteProfile(const std::string& name) {
    Status removed = NSFileManager::defaultManager().removeItemAtPath(profilePath(name));
    if (!removed) {
        showError("Error, Could not delete profile", removed.error());
        return;
    }
    reloadSortOrder();
}

// ---- Sharing ------------------------------------------------------------------------------

void HBProfileController::handleLongPress(UIGestureRecognizer* recognizer) {
    if (recognizer->state() != UIGestureRecognizerStateBegan) {
        return;
    }
    std::string fileName = std::string(HBPreferences::kIdentifier) + kPlistSuffix;
    std::optional<NSIndexPath> pressed =
        _tableView->indexPathForRowAtPoint(recognizer->locationInView(_tableView.get()));
    if (const Profile* profile = pressed ? profileAt(*pressed) : nullptr) {
        fileName = profileIdentifier(profile->profileName) + kPlistSuffix;
    }
    shareFile(fileName);
}

void HBProfileController::shareFile(const std::string& fileName) {
    _documentController = UIDocumentInteractionController::interactionControllerWithURL(
        NSURL::fileURLWithPath(kPreferencesFolder + fileName));
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
    return UIAlertController::alertControllerWithTitle(title, message, UIAlertControllerStyleAlert);
}

void HBProfileController::addAction(UIAlertController& alert, const std::string& title,
                                    PageAction action) {
    std::weak_ptr<UIViewController> weak = weak_from_this();
    alert.addAction(UIAlertAction::actionWithTitle(
        title, UIAlertActionStyleDefault, [weak, action = std::move(action)](UIAlertAction*) {
            auto page = weak.lock();
            if (page && action) {
                action(static_cast<HBProfileController&>(*page));
            }
        }));
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
    presentViewController(alert, false);
}

std::string HBProfileController::lastSaveFailureText() const {
    const auto& failure = HBPreferences::sharedInstance().lastSaveFailure();
    return failure ? failure->message : std::string("The file could not be written.");
}
