#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/UIAlertAction.h"
#include "platform/ui/UITextField.h"
#include "platform/ui/UIViewController.h"

enum UIAlertControllerStyle : long {
    UIAlertControllerStyleActionSheet = 0,
    UIAlertControllerStyleAlert = 1,
};

class UIAlertController;
using UIAlertControllerPtr = std::shared_ptr<UIAlertController>;

// A dialog with a title, a message, text fields (alert style only) and actions in the order
// they were added. userTappedAction stands for a tap on a button: it dismisses the alert, then
// runs the action's handler, which may read the text fields.
class UIAlertController : public UIViewController {
  public:
    using TextFieldConfiguration = std::function<void(UITextField* textField)>;

    static UIAlertControllerPtr alertControllerWithTitle(std::optional<std::string> title,
                                                         std::optional<std::string> message,
                                                         UIAlertControllerStyle preferredStyle);
    UIAlertController(std::optional<std::string> title, std::optional<std::string> message,
                      UIAlertControllerStyle preferredStyle);

    std::string className() const override { return "UIAlertController"; }

    // None stands for the platform's nil: no title line or no message line.
    const std::optional<std::string>& alertTitle() const { return alertTitle_; }
    const std::optional<std::string>& message() const { return message_; }
    void setMessage(std::optional<std::string> message) { message_ = std::move(message); }
    UIAlertControllerStyle preferredStyle() const { return preferredStyle_; }

    // Adds a field and lets the block configure it; action sheets take no fields.
    void addTextFieldWithConfigurationHandler(const TextFieldConfiguration& configuration);
    const std::vector<UITextFieldPtr>& textFields() const { return textFields_; }

    void addAction(UIAlertActionPtr action);
    const std::vector<UIAlertActionPtr>& actions() const { return actions_; }
    const UIAlertActionPtr& preferredAction() const { return preferredAction_; }
    void setPreferredAction(UIAlertActionPtr action);

    // False for an index past the actions or a disabled action.
    bool userTappedAction(std::size_t index);
    // The action titled so; false when there is none.
    bool userTappedActionTitled(const std::string& title);

  private:
    std::optional<std::string> alertTitle_;
    std::optional<std::string> message_;
    UIAlertControllerStyle preferredStyle_;
    std::vector<UITextFieldPtr> textFields_;
    std::vector<UIAlertActionPtr> actions_;
    UIAlertActionPtr preferredAction_;
};
