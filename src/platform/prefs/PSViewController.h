#pragma once

#include <memory>
#include <string>

#include "platform/prefs/PSSpecifier.h"
#include "platform/ui/UIViewController.h"

class UINavigationController;

// A settings page: knows the row that opened it, the navigation stack it lives on and the
// page that pushed it, and pushes further pages. Pages that draw their own table derive
// from it directly; list pages through PSListController.
class PSViewController : public UIViewController {
  public:
    PSViewController() = default;
    std::string className() const override { return "PSViewController"; }

    // The row whose tap opened this page; null for a first page.
    const PSSpecifierPtr& specifier() const { return specifier_; }
    virtual void setSpecifier(PSSpecifierPtr specifier) { specifier_ = std::move(specifier); }

    // The navigation stack of the pane and the page that pushed this one; neither is owned.
    UINavigationController* rootController() const { return rootController_; }
    void setRootController(UINavigationController* controller) { rootController_ = controller; }
    UIViewController* parentController() const { return parentController_; }
    void setParentController(UIViewController* controller) { parentController_ = controller; }

    // Pushes a page on this page's navigation stack (or the root controller's, before this
    // page is on one), animated. A settings page that has no root or parent yet gets this
    // page's root and this page as parent.
    void pushController(const std::shared_ptr<UIViewController>& controller);

  private:
    PSSpecifierPtr specifier_;
    UINavigationController* rootController_ = nullptr;
    UIViewController* parentController_ = nullptr;
};

using PSViewControllerPtr = std::shared_ptr<PSViewController>;
