#pragma once

#include <memory>
#include <vector>

#include "platform/ui/UINavigationBar.h"
#include "platform/ui/UIViewController.h"

// A stack of controllers, the top one shown. Pushes and pops tell the outgoing and incoming
// controllers of their appearance in the platform's order (outgoing will-disappear, incoming
// will-appear, outgoing did-disappear, incoming did-appear) while the stack is on screen.
class UINavigationController : public UIViewController {
  public:
    UINavigationController();
    explicit UINavigationController(UIViewControllerPtr rootViewController);
    ~UINavigationController() override;

    std::string className() const override { return "UINavigationController"; }

    void pushViewController(UIViewControllerPtr controller, bool animated);
    // The popped controller, or null when only the root is left.
    UIViewControllerPtr popViewControllerAnimated(bool animated);
    std::vector<UIViewControllerPtr> popToRootViewControllerAnimated(bool animated);

    const std::vector<UIViewControllerPtr>& viewControllers() const { return stack_; }
    std::vector<UIViewControllerPtr> childViewControllers() const override { return stack_; }
    UIViewController* topViewController() const;
    // The top controller, or what it presents.
    UIViewController* visibleViewController() const;

    UINavigationBar& navigationBar() { return *bar_; }
    const UINavigationBar& navigationBar() const { return *bar_; }

    void loadView() override;
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    void viewDidDisappear(bool animated) override;

  private:
    bool onScreen() const;
    void showTop();
    void replaceTop(UIViewController* outgoing, UIViewController* incoming, bool animated);

    std::vector<UIViewControllerPtr> stack_;
    std::shared_ptr<UINavigationBar> bar_;
};

using UINavigationControllerPtr = std::shared_ptr<UINavigationController>;
