#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/UIView.h"

class UINavigationController;

// Where a controller is in its appearance cycle, as its container last told it.
enum class UIAppearanceState { Disappeared, Appearing, Appeared, Disappearing };

// Manages one view: loads it lazily (loadView then viewDidLoad), hears when it appears and
// disappears, and presents one other controller at a time over itself.
class UIViewController : public std::enable_shared_from_this<UIViewController> {
  public:
    using Completion = std::function<void()>;

    UIViewController();
    virtual ~UIViewController();
    UIViewController(const UIViewController&) = delete;
    UIViewController& operator=(const UIViewController&) = delete;

    virtual std::string className() const { return "UIViewController"; }

    // Loads the view on first use.
    UIViewPtr view();
    bool isViewLoaded() const { return view_ != nullptr; }
    void setView(UIViewPtr view);
    // Creates the view; the default is a plain view of the screen's bounds.
    virtual void loadView();
    virtual void viewDidLoad() {}

    virtual void viewWillAppear(bool animated);
    virtual void viewDidAppear(bool animated);
    virtual void viewWillDisappear(bool animated);
    virtual void viewDidDisappear(bool animated);

    // Called once per appearance change with the traits before it, after the controller's
    // view heard of it; the default does nothing.
    virtual void traitCollectionDidChange(const UITraitCollection& previous);
    // Brings the view (when loaded), this controller, the controllers it contains and the
    // one it presents to the current appearance. Containers and presentation call it too.
    void updateTraitsIfNeeded();
    // The controllers this one shows inside its view; none by default.
    virtual std::vector<std::shared_ptr<UIViewController>> childViewControllers() const {
        return {};
    }

    const std::string& title() const { return title_; }
    virtual void setTitle(std::string title);

    // Set by the navigation controller that holds this controller; not owning.
    UINavigationController* navigationController() const { return navigationController_; }
    UIViewController* parentViewController() const { return parent_; }

    // Presents over this controller. Refused (false, with a warning) while this controller
    // already presents one, or when the controller is already presented elsewhere.
    bool presentViewController(std::shared_ptr<UIViewController> controller, bool animated,
                               Completion completion = nullptr);
    const std::shared_ptr<UIViewController>& presentedViewController() const { return presented_; }
    UIViewController* presentingViewController() const { return presenting_; }
    // On a presenting controller, dismisses what it presents; on a presented one, itself.
    void dismissViewControllerAnimated(bool animated, Completion completion = nullptr);

    // The appearance cycle as containers drive it: these keep the state and call the
    // overridable operations above, so a controller hears each change once.
    void beginAppearanceTransition(bool appearing, bool animated);
    void endAppearanceTransition();
    UIAppearanceState appearanceState() const { return appearance_; }

    // Where refused presentations are reported; the default writes to standard error.
    static void setWarningHandler(std::function<void(const std::string&)> handler);
    static void warn(const std::string& message);

  private:
    friend class UINavigationController;
    void setContainer(UINavigationController* navigation, UIViewController* parent);

    UIViewPtr view_;
    std::string title_;
    UINavigationController* navigationController_ = nullptr;
    UIViewController* parent_ = nullptr;
    std::shared_ptr<UIViewController> presented_;
    UIViewController* presenting_ = nullptr;
    UIAppearanceState appearance_ = UIAppearanceState::Disappeared;
    bool transitionAnimated_ = false;
    UITraitCollection traits_ = UITraitCollection::current();
};

using UIViewControllerPtr = std::shared_ptr<UIViewController>;
