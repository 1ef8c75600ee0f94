#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "kit/HuebadgePSViewController.h"
#include "platform/ui/UIDocumentInteractionController.h"
#include "platform/ui/UIGestureRecognizer.h"
#include "platform/ui/UIGestureRecognizerDelegate.h"

class UIAlertController;

// Named copies of the whole settings table, kept as "net.quorvel.huebadge_NAME.plist" beside
// the settings file. A CURRENT section shows the settings in use (tap: save them as a
// profile; swipe: reset them) and an AVAILABLE section one row per profile file (tap: load
// it; swipe: delete it). A long press offers the file under the finger to other apps.
class HBProfileController : public HuebadgePSViewController,
                            public UIGestureRecognizerDelegate,
                            public UIDocumentInteractionControllerDelegate {
  public:
    // One profile file as listed: its name and the stamp it was saved with ("" when none).
    struct Profile {
        std::string profileName;
        std::string lastModified;
    };

    // Profile names refused before anything is written make file names longer than this
    // (in UTF-8 bytes) impossible, with room left for the prefix and temporary names.
    static constexpr std::size_t kMaxProfileNameBytes = 200;
    static constexpr double kLongPressDuration = 1.0;
    static constexpr double kReloadDelay = 0.25;

    HBProfileController();
    std::string className() const override { return "HBProfileController"; }

    void viewDidLoad() override;
    // The help footer is coloured for the appearance: it is made again on a change.
    void traitCollectionDidChange(const UITraitCollection& previous) override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    long numberOfSectionsInTableView(UITableView*) override { return 2; }
    long numberOfRowsInSection(UITableView* tableView, long section) override;
    std::optional<std::string> titleForHeaderInSection(UITableView* tableView,
                                                       long section) override;
    void willDisplayHeaderView(UITableView* tableView, UIView* view, long section) override;
    UITableViewCellPtr cellForRowAtIndexPath(UITableView* tableView,
                                             const NSIndexPath& indexPath) override;
    UITableViewCellEditingStyle editingStyleForRowAtIndexPath(UITableView*,
                                                              const NSIndexPath&) override {
        return UITableViewCellEditingStyleDelete;
    }
    bool canEditRowAtIndexPath(UITableView*, const NSIndexPath&) override { return true; }
    bool canMoveRowAtIndexPath(UITableView*, const NSIndexPath&) override { return false; }
    bool shouldIndentWhileEditingRowAtIndexPath(UITableView*, const NSIndexPath&) override {
        return false;
    }
    bool respondsToCommitEditingStyle() const override { return true; }
    void commitEditingStyle(UITableView* tableView, UITableViewCellEditingStyle style,
                            const NSIndexPath& indexPath) override;
    void didSelectRowAtIndexPath(UITableView* tableView, const NSIndexPath& indexPath) override;

    // Rebuilds the list of profiles from the preferences folder.
    void reloadSortOrder();
    // Shares the file under the finger: a profile's, else the current settings.
    void handleLongPress(UIGestureRecognizer* recognizer);

    const std::vector<Profile>& profiles() const { return _profiles; }
    const std::shared_ptr<UIDocumentInteractionController>& documentController() const {
        return _documentController;
    }

    // Makes a profile of a file the user brought in (chosen in or dropped on a browser page).
    // The file must be a property list whose root is a dictionary; the profile is named by
    // its "profileName", else by the file's name, under the rules for a typed name, and an
    // existing profile is replaced only after the user agrees. A file that cannot become a
    // profile gets an alert saying why, and nothing is written.
    void importProfileFile(const std::string& fileName, std::string_view bytes);

    // Why a typed name cannot be a profile's; none when it can. Names go into file names as
    // typed, so anything that could leave the preferences folder, hide the file or make one
    // that cannot be listed back is refused.
    static std::optional<std::string> problemWithProfileName(std::string_view name);
    // The device path of the file a profile of that name is kept in.
    static std::string profilePath(std::string_view name);

  private:
    using PageAction = std::function<void(HBProfileController&)>;

    // The listed profile a row of AVAILABLE shows; null for any other row.
    const Profile* profileAt(const NSIndexPath& indexPath) const;
    void reloadProfiles();
    UIViewPtr makeHelpFooter() const;

    void askForProfileName();
    void saveTypedName(const std::string& name);
    void saveProfile(const std::string& name);
    void writeImportedProfile(const std::string& name, PlistValue table);
    void askToLoad(const std::string& name);
    void loadProfile(const std::string& name);
    void askToReset();
    void resetCurrentProfile();
    void deleteProfile(const std::string& name);
    void shareFile(const std::string& fileName);

    // Alerts: always the alert style, every action of the default style, shown without
    // animation. Actions reach the page only while it lives.
    std::shared_ptr<UIAlertController> makeAlert(const std::string& title,
                                                 const std::optional<std::string>& message);
    void addAction(UIAlertController& alert, const std::string& title, PageAction action);
    void ask(const std::string& title, const std::string& message, const std::string& confirm,
             const std::string& decline, PageAction onConfirm);
    void showError(const std::string& title, const std::optional<std::string>& message);
    void present(const std::shared_ptr<UIAlertController>& alert);
    std::string lastSaveFailureText() const;

    std::vector<Profile> _profiles;
    std::shared_ptr<UIDocumentInteractionController> _documentController;
};
