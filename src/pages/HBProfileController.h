#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "kit/HBDelayedReload.h"
#include "kit/HBFileTaker.h"
#include "kit/HuebadgePSViewController.h"
#include "model/HBProfiles.h"
#include "platform/ui/UIDocumentInteractionController.h"
#include "platform/ui/UIGestureRecognizer.h"
#include "platform/ui/UIGestureRecognizerDelegate.h"

class UIAlertController;

// The page of the profiles (see HBProfiles). A CURRENT section shows the settings in use (tap: save
// them as a profile; swipe: reset them) and an AVAILABLE section one row per profile file (tap:
// load it; swipe: delete it). A long press offers the file under the finger to other apps.
class HBProfileController : public HuebadgePSViewController,
                            public UIGestureRecognizerDelegate,
                            public UIDocumentInteractionControllerDelegate,
                            public HBFileTaker {
  public:
    using Profile = HBProfiles::Profile;

    static constexpr double kLongPressDuration = 1.0;
    static constexpr double kReloadDelay = HBDelayedReload::kDelay;

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

    // Makes a profile of a file the user brought in (chosen in or dropped on a browser page;
    // see HBProfiles::readImport). An existing profile is replaced only after the user
    // agrees. A file that cannot become a profile gets an alert saying why, and nothing is
    // written.
    void importProfileFile(const std::string& fileName, std::string_view bytes);
    void refreshFromStore() override { reloadProfiles(); }
    void takeFile(const std::string& fileName, std::string_view bytes) override {
        importProfileFile(fileName, bytes);
    }

  private:
    using PageAction = std::function<void(HBProfileController&)>;

    // The listed profile a row of AVAILABLE shows; null for any other row.
    const Profile* profileAt(const NSIndexPath& indexPath) const;
    void reloadProfiles();
    UIViewPtr makeHelpFooter() const;

    void askForProfileName();
    void saveTypedName(const std::string& name);
    void saveProfile(const std::string& name);
    void askToLoad(const std::string& name);
    void askToReset();
    void deleteProfile(const std::string& name);
    // Shows the list again and, when the operation failed, the alert of the title given.
    void finish(const HBProfiles::Outcome& outcome, const char* failureTitle);
    HBProfiles model() const;
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

    std::vector<Profile> _profiles;
    std::shared_ptr<UIDocumentInteractionController> _documentController;
};
