#include "platform/ui/UIViewController.h"

#include <cstdio>

#include "platform/ui/UIScreen.h"

namespace {

std::function<void(const std::string&)>& warningHandler() {
    static std::function<void(const std::string&)> handler = [](const std::string& message) {
        std::fprintf(stderr, "Warning: %s\n", message.c_str());
    };
    return handler;
}

}  // namespace

UIViewController::UIViewController() = default;

UIViewController::~UIViewController() {
    if (presented_) {
        presented_->presenting_ = nullptr;
    }
}

UIViewPtr UIViewController::view() {
    if (!view_) {
        loadView();
        if (!view_) {
            view_ = std::make_shared<UIView>(UIScreen::mainScreen().bounds());
        }
        viewDidLoad();
    }
    return view_;
}

void UIViewController::setView(UIViewPtr view) {
    view_ = std::move(view);
}

void UIViewController::loadView() {
    view_ = std::make_shared<UIView>(UIScreen::mainScreen().bounds());
}

void UIViewController::viewWillAppear(bool) {}
void UIViewController::viewDidAppear(bool) {}
void UIViewController::viewWillDisappear(bool) {}
void UIViewController::viewDidDisappear(bool) {}

void UIViewController::setTitle(std::string title) {
    title_ = std::move(title);
}

void UIViewController::setContainer(UINavigationController* navigation, UIViewController* parent) {
    navigationController_ = navigation;
    parent_ = parent;
}

void UIViewController::beginAppearanceTransition(bool appearing, bool animated) {
    bool visible =
        appearance_ == UIAppearanceState::Appeared || appearance_ == UIAppearanceState::Appearing;
    if (appearing == visible) {
        return;
    }
    view();
    transitionAnimated_ = animated;
    appearance_ = appearing ? UIAppearanceState::Appearing : UIAppearanceState::Disappearing;
    if (appearing) {
        viewWillAppear(animated);
    } else {
        viewWillDisappear(animated);
    }
}

void UIViewController::endAppearanceTransition() {
    if (appearance_ == UIAppearanceState::Appearing) {
        appearance_ = UIAppearanceState::Appeared;
        viewDidAppear(transitionAnimated_);
    } else if (appearance_ == UIAppearanceState::Disappearing) {
        appearance_ = UIAppearanceState::Disappeared;
        viewDidDisappear(transitionAnimated_);
    }
}

bool UIViewController::presentViewController(std::shared_ptr<UIViewController> controller,
                                             bool animated, Completion completion) {
    if (!controller || controller.get() == this) {
        return false;
    }
    if (presented_ || controller->presenting_) {
        const UIViewController* shown = presented_ ? presented_.get() : controller.get();
        warn("Attempt to present " + controller->className() + " on " + className() +
             " which is already presenting " + shown->className());
        return false;
    }
    presented_ = controller;
    controller->presenting_ = this;
    controller->updateTraitsIfNeeded();
    controller->beginAppearanceTransition(true, animated);
    controller->endAppearanceTransition();
    if (completion) {
        completion();
    }
    return true;
}

void UIViewController::dismissViewControllerAnimated(bool animated, Completion completion) {
    if (!presented_ && presenting_) {
        presenting_->dismissViewControllerAnimated(animated, std::move(completion));
        return;
    }
    if (!presented_) {
        return;
    }
    // Keeps the dismissed controller alive until its last callback has run.
    std::shared_ptr<UIViewController> dismissed = std::move(presented_);
    presented_ = nullptr;
    dismissed->presenting_ = nullptr;
    if (dismissed->presented_) {
        dismissed->dismissViewControllerAnimated(false);
    }
    dismissed->beginAppearanceTransition(false, animated);
    dismissed->endAppearanceTransition();
    if (completion) {
        completion();
    }
}

void UIViewController::setWarningHandler(std::function<void(const std::string&)> handler) {
    warningHandler() = std::move(handler);
}

void UIViewController::warn(const std::string& message) {
    if (warningHandler()) {
        warningHandler()(message);
    }
}

void UIViewController::traitCollectionDidChange(const UITraitCollection&) {}

void UIViewController::updateTraitsIfNeeded() {
    UITraitCollection now = UITraitCollection::current();
    if (traits_ == now) {
        return;
    }
    UITraitCollection previous = traits_;
    traits_ = now;
    std::shared_ptr<UIViewController> keep = weak_from_this().lock();  // may be null
    if (view_) {
        view_->updateTraitsIfNeeded();
    }
    traitCollectionDidChange(previous);
    for (const auto& child : childViewControllers()) {
        child->updateTraitsIfNeeded();
    }
    if (std::shared_ptr<UIViewController> presented = presented_) {
        presented->updateTraitsIfNeeded();
    }
}
