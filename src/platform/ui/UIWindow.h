#pragma once

#include <memory>

#include "platform/ui/UIView.h"
#include "platform/ui/UIViewController.h"

// The window that shows a root controller's view. Becoming key makes the application's key
// window this one and lets the root controller appear.
class UIWindow : public UIView {
  public:
    explicit UIWindow(CGRect frame);
    ~UIWindow() override;

    std::string className() const override { return "UIWindow"; }

    const UIViewControllerPtr& rootViewController() const { return rootViewController_; }
    void setRootViewController(UIViewControllerPtr controller);

    // The screen's: the status bar and the home indicator.
    UIEdgeInsets safeAreaInsets() const override;

    void makeKeyAndVisible();
    bool isKeyWindow() const;

  private:
    void installRoot();

    UIViewControllerPtr rootViewController_;
};

using UIWindowPtr = std::shared_ptr<UIWindow>;
