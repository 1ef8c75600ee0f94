#include "kit/HBAlert.h"

#include "platform/ui/UIApplication.h"
#include "platform/ui/UIWindow.h"

std::shared_ptr<UIAlertController> HBAlert::make(const std::optional<std::string>& title,
                                                 const std::optional<std::string>& message,
                                                 std::vector<Action> actions) {
    auto alert =
        UIAlertController::alertControllerWithTitle(title, message, UIAlertControllerStyleAlert);
    for (Action& action : actions) {
        addAction(*alert, std::move(action.title), std::move(action.handler));
    }
    return alert;
}

void HBAlert::addAction(UIAlertController& alert, std::string title, Handler handler) {
    UIAlertAction::Handler tapped;
    if (handler) {
        tapped = [handler = std::move(handler)](UIAlertAction*) { handler(); };
    }
    alert.addAction(
        UIAlertAction::actionWithTitle(std::move(title), UIAlertActionStyleDefault, tapped));
}

bool HBAlert::showOn(UIViewController& page, const std::shared_ptr<UIAlertController>& alert) {
    return page.presentViewController(alert, false);
}

bool HBAlert::showOnKeyWindow(const std::shared_ptr<UIAlertController>& alert) {
    const std::shared_ptr<UIWindow>& window = UIApplication::sharedApplication().keyWindow();
    UIViewController* root = window ? window->rootViewController().get() : nullptr;
    return root && root->presentViewController(alert, true);
}
