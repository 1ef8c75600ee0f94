#include "kit/HBValuePrompt.h"

#include "platform/ui/UIAlertController.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UIWindow.h"

bool HBValuePrompt::present() const {
    const std::shared_ptr<UIWindow>& window = UIApplication::sharedApplication().keyWindow();
    UIViewController* root = window ? window->rootViewController().get() : nullptr;
    if (!root) {
        return false;
    }
    auto alert = UIAlertController::alertControllerWithTitle(std::nullopt, message,
                                                             UIAlertControllerStyleAlert);
    alert->addTextFieldWithConfigurationHandler([placeholder = placeholder,
                                                 keyboardType = keyboardType,
                                                 textColor = textColor](UITextField* field) {
        field->setPlaceholder(placeholder);
        field->setTextColor(textColor);
        field->setClearButtonMode(UITextFieldViewModeWhileEditing);
        field->setBorderStyle(UITextBorderStyleRoundedRect);
        field->setKeyboardType(keyboardType);
    });
    std::weak_ptr<UIAlertController> weakAlert = alert;
    alert->addAction(UIAlertAction::actionWithTitle(
        "Save", UIAlertActionStyleDefault, [weakAlert, onSave = onSave](UIAlertAction*) {
            auto shown = weakAlert.lock();
            if (shown && onSave && !shown->textFields().empty()) {
                onSave(shown->textFields().front()->text());
            }
        }));
    alert->addAction(UIAlertAction::actionWithTitle("Cancel", UIAlertActionStyleDefault, nullptr));
    return root->presentViewController(alert, true);
}
