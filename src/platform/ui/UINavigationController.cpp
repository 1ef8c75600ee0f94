#include "platform/ui/UINavigationController.h"

#include "platform/ui/UIScreen.h"

UINavigationController::UINavigationController() : bar_(std::make_shared<UINavigationBar>(this)) {}

UINavigationController::UINavigationController(UIViewControllerPtr rootViewController)
    : UINavigationController() {
    if (rootViewController) {
        rootViewController->setContainer(this, this);
        stack_.push_back(std::move(rootViewController));
    }
}

UINavigationController::~UINavigationController() {
    for (auto& controller : stack_) {
        controller->setContainer(nullptr, nullptr);
    }
}

void UINavigationController::loadView() {
    auto view = std::make_shared<UIView>(UIScreen::mainScreen().bounds());
    // The bar sits under the status bar.
    double top = UIScreen::mainScreen().statusBarHeight();
    bar_->setFrame(CGRectMake(0, top, view->bounds().size.width, bar_->frame().size.height));
    bar_->setAutoresizingMask(UIViewAutoresizingFlexibleWidth);
    view->addSubview(bar_);
    setView(view);
    showTop();
}

UIViewController* UINavigationController::topViewController() const {
    return stack_.empty() ? nullptr : stack_.back().get();
}

UIViewController* UINavigationController::visibleViewController() const {
    UIViewController* top = topViewController();
    if (top && top->presentedViewController()) {
        return top->presentedViewController().get();
    }
    return top;
}

bool UINavigationController::onScreen() const {
    return appearanceState() != UIAppearanceState::Disappeared;
}

// Puts the top controller's view under the bar, in place of the one shown before.
void UINavigationController::showTop() {
    if (!isViewLoaded()) {
        return;
    }
    UIViewPtr container = view();
    for (const auto& subview : std::vector<UIViewPtr>(container->subviews())) {
        if (subview != bar_) {
            subview->removeFromSuperview();
        }
    }
    if (UIViewController* top = topViewController()) {
        UIViewPtr page = top->view();
        // The page fills the screen, under the bar; its safe area leaves the bar out.
        page->setFrame(container->bounds());
        page->setAdditionalSafeAreaInsets(UIEdgeInsets{bar_->frame().size.height, 0, 0, 0});
        container->insertSubviewAtIndex(page, 0);
    }
}

void UINavigationController::replaceTop(UIViewController* outgoing, UIViewController* incoming,
                                        bool animated) {
    if (!onScreen()) {
        showTop();
        return;
    }
    if (outgoing) {
        outgoing->beginAppearanceTransition(false, animated);
    }
    if (incoming) {
        incoming->beginAppearanceTransition(true, animated);
    }
    showTop();
    if (outgoing) {
        outgoing->endAppearanceTransition();
    }
    if (incoming) {
        incoming->endAppearanceTransition();
    }
}

void UINavigationController::pushViewController(UIViewControllerPtr controller, bool animated) {
    if (!controller || controller->navigationController() || controller.get() == this) {
        return;
    }
    UIViewController* outgoing = topViewController();
    controller->setContainer(this, this);
    stack_.push_back(controller);
    controller->updateTraitsIfNeeded();
    controller->view();
    replaceTop(outgoing, controller.get(), animated);
}

UIViewControllerPtr UINavigationController::popViewControllerAnimated(bool animated) {
    if (stack_.size() < 2) {
        return nullptr;
    }
    UIViewControllerPtr popped = stack_.back();
    stack_.pop_back();
    replaceTop(popped.get(), topViewController(), animated);
    popped->setContainer(nullptr, nullptr);
    return popped;
}

std::vector<UIViewControllerPtr> UINavigationController::popToRootViewControllerAnimated(
    bool animated) {
    std::vector<UIViewControllerPtr> popped;
    if (stack_.size() < 2) {
        return popped;
    }
    popped.assign(stack_.begin() + 1, stack_.end());
    stack_.resize(1);
    // Only the page that was shown hears that it goes; the pages under it were gone already.
    replaceTop(popped.back().get(), topViewController(), animated);
    for (auto& controller : popped) {
        controller->setContainer(nullptr, nullptr);
    }
    return popped;
}

void UINavigationController::viewWillAppear(bool animated) {
    UIViewController::viewWillAppear(animated);
    if (UIViewController* top = topViewController()) {
        top->beginAppearanceTransition(true, animated);
    }
}

void UINavigationController::viewDidAppear(bool animated) {
    UIViewController::viewDidAppear(animated);
    if (UIViewController* top = topViewController()) {
        top->endAppearanceTransition();
    }
}

void UINavigationController::viewWillDisappear(bool animated) {
    UIViewController::viewWillDisappear(animated);
    if (UIViewController* top = topViewController()) {
        top->beginAppearanceTransition(false, animated);
    }
}

void UINavigationController::viewDidDisappear(bool animated) {
    UIViewController::viewDidDisappear(animated);
    if (UIViewController* top = topViewController()) {
        top->endAppearanceTransition();
    }
}
