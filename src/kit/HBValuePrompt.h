#pragma once

#include <functional>
#include <string>

#include "platform/ui/UITextField.h"

// The one request for a typed value of the pane's cells and pickers: an alert with no title,
// a message, one text field and the actions "Save" and "Cancel", presented (animated) by the
// root view controller of the application's key window. "Save" hands the typed text on;
// "Cancel" does nothing.
struct HBValuePrompt {
    std::string message;
    std::string placeholder;
    UIKeyboardType keyboardType = UIKeyboardTypeDefault;
    // Capture weak pointers or values: the alert keeps the handler and may outlive its owner.
    std::function<void(const std::string& text)> onSave;
    UIColor textColor = UIColor::blueColor();

    // False when there is no key window or it shows something already.
    bool present() const;
};
