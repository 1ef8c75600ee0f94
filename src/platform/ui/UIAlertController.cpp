#include "platform/ui/UIAlertController.h"

#include <algorithm>

UIAlertControllerPtr UIAlertController::alertControllerWithTitle(
    std::optional<std::string> title, std::optional<std::string> message,
    UIAlertControllerStyle preferredStyle) {
    return std::make_shared<UIAlertController>(std::move(title), std::move(message),
                                               preferredStyle);
}

UIAlertController::UIAlertController(std::optional<std::string> title,
                                     std::optional<std::string> message,
                                     UIAlertControllerStyle preferredStyle)
    : alertTitle_(std::move(title)), message_(std::move(message)), preferredStyle_(preferredStyle) {
    setTitle(alertTitle_.value_or(""));
}

void UIAlertController::addTextFieldWithConfigurationHandler(
    const TextFieldConfiguration& configuration) {
    if (preferredStyle_ != UIAlertControllerStyleAlert) {
        return;
    }
    auto field = std::make_shared<UITextField>(CGRectMake(0, 0, 238, 24));
    field->setBorderStyle(UITextBorderStyleLine);
    textFields_.push_back(field);
    if (configuration) {
        configuration(field.get());
    }
}

void UIAlertController::addAction(UIAlertActionPtr action) {
    if (action) {
        actions_.push_back(std::move(action));
    }
}

void UIAlertController::setPreferredAction(UIAlertActionPtr action) {
    bool ours = std::find(actions_.begin(), actions_.end(), action) != actions_.end();
    preferredAction_ = ours ? std::move(action) : nullptr;
}

bool UIAlertController::userTappedAction(std::size_t index) {
    if (index >= actions_.size() || !actions_[index]->isEnabled()) {
        return false;
    }
    // Both stay alive until the handler is done, though dismissing lets the presenter go.
    auto self = std::static_pointer_cast<UIAlertController>(shared_from_this());
    UIAlertActionPtr action = actions_[index];
    if (presentingViewController()) {
        dismissViewControllerAnimated(true);
    }
    action->perform();
    return true;
}

bool UIAlertController::userTappedActionTitled(const std::string& title) {
    for (std::size_t i = 0; i < actions_.size(); ++i) {
        if (actions_[i]->title() == title) {
            return userTappedAction(i);
        }
    }
    return false;
}
