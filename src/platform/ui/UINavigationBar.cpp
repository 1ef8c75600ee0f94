#include "platform/ui/UINavigationBar.h"

#include "platform/ui/UINavigationController.h"

UINavigationBar::UINavigationBar(const UINavigationController* owner)
    : UIView(CGRectMake(0, 0, 0, 44)), owner_(owner) {}

std::optional<std::string> UINavigationBar::topItemTitle() const {
    const auto& stack = owner_->viewControllers();
    if (stack.empty()) {
        return std::nullopt;
    }
    return stack.back()->title();
}

std::optional<std::string> UINavigationBar::backItemTitle() const {
    const auto& stack = owner_->viewControllers();
    if (stack.size() < 2) {
        return std::nullopt;
    }
    return stack[stack.size() - 2]->title();
}
