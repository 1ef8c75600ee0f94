#pragma once

#include <functional>
#include <memory>
#include <string>

enum UIAlertActionStyle : long {
    UIAlertActionStyleDefault = 0,
    UIAlertActionStyleCancel = 1,
    UIAlertActionStyleDestructive = 2,
};

class UIAlertAction;
using UIAlertActionPtr = std::shared_ptr<UIAlertAction>;

// One button of an alert. The handler runs after the alert has been dismissed; a handler
// that reads the alert's text fields captures the alert weakly, as the alert owns the action.
class UIAlertAction {
  public:
    using Handler = std::function<void(UIAlertAction* action)>;

    static UIAlertActionPtr actionWithTitle(std::string title, UIAlertActionStyle style,
                                            Handler handler);
    UIAlertAction(std::string title, UIAlertActionStyle style, Handler handler);

    const std::string& title() const { return title_; }
    UIAlertActionStyle style() const { return style_; }
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled) { enabled_ = enabled; }
    // Runs the handler, if there is one.
    void perform();

  private:
    std::string title_;
    UIAlertActionStyle style_;
    Handler handler_;
    bool enabled_ = true;
};
