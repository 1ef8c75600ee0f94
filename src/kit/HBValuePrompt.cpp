#include "kit/HBValuePrompt.h"

#include "kit/HBAlert.h"

bool HBValuePrompt::present() const {
    auto alert = HBAlert::make(std::nullopt, message);
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
    HBAlert::addAction(*alert, "Save", [weakAlert, onSave = onSave] {
        auto shown = weakAlert.lock();
        if (shown && onSave && !shown->textFields().empty()) {
            onSave(shown->textFields().front()->text());
        }
    });
    HBAlert::addAction(*alert, "Cancel", nullptr);
    return HBAlert::showOnKeyWindow(alert);
}
