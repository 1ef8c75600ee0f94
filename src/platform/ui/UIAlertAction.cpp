#include "platform/ui/UIAlertAction.h"

UIAlertActionPtr UIAlertAction::actionWithTitle(std::string title, UIAlertActionStyle style,
                                                Handler handler) {
    return std::make_shared<UIAlertAction>(std::move(title), style, std::move(handler));
}

UIAlertAction::UIAlertAction(std::string title, UIAlertActionStyle style, Handler handler)
    : title_(std::move(title)), style_(style), handler_(std::move(handler)) {}

void UIAlertAction::perform() {
    if (handler_) {
        Handler handler = handler_;  // the handler may drop the last reference to this action
        handler(this);
    }
}
