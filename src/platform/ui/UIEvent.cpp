#include "platform/ui/UIEvent.h"

#include "platform/ui/UIView.h"

UIEvent UIEvent::eventWithTouch(const UIView* view, CGPoint pointInView, UITouchPhase phase) {
    CGPoint inWindow = view ? view->convertPointToView(pointInView, nullptr) : pointInView;
    return UIEvent({std::make_shared<const UITouch>(view, inWindow, phase)});
}

std::vector<UITouchPtr> UIEvent::touchesForView(const UIView* view) const {
    std::vector<UITouchPtr> result;
    for (const auto& touch : touches_) {
        if (touch->view() == view) {
            result.push_back(touch);
        }
    }
    return result;
}
