#include "platform/ui/UIWindow.h"

#include "platform/ui/UIApplication.h"
#include "platform/ui/UIScreen.h"

UIWindow::UIWindow(CGRect frame) : UIView(frame) {}

UIWindow::~UIWindow() = default;

UIEdgeInsets UIWindow::safeAreaInsets() const {
    return UIScreen::mainScreen().safeAreaInsets();
}

void UIWindow::setRootViewController(UIViewControllerPtr controller) {
    if (controller == rootViewController_) {
        return;
    }
    UIViewControllerPtr old = std::move(rootViewController_);
    rootViewController_ = std::move(controller);
    bool shown = isKeyWindow() && !isHidden();
    if (old) {
        if (shown) {
            old->beginAppearanceTransition(false, false);
            old->endAppearanceTransition();
        }
        old->view()->removeFromSuperview();
    }
    if (shown) {
        installRoot();
    }
}

void UIWindow::installRoot() {
    if (!rootViewController_) {
        return;
    }
    UIViewPtr view = rootViewController_->view();
    view->setFrame(bounds());
    addSubview(view);
    rootViewController_->beginAppearanceTransition(true, false);
    rootViewController_->endAppearanceTransition();
}

void UIWindow::makeKeyAndVisible() {
    setHidden(false);
    if (isKeyWindow()) {
        return;
    }
    UIApplication::sharedApplication().setKeyWindow(
        std::static_pointer_cast<UIWindow>(shared_from_this()));
    installRoot();
}

bool UIWindow::isKeyWindow() const {
    return UIApplication::sharedApplication().keyWindow().get() == this;
}
