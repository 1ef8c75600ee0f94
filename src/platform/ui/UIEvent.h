#pragma once

#include <memory>
#include <vector>

#include "platform/ui/UITouch.h"

using UITouchPtr = std::shared_ptr<const UITouch>;

// A touch event: its touches in order. Controls hand it to their action handlers.
class UIEvent {
  public:
    UIEvent() = default;
    explicit UIEvent(std::vector<UITouchPtr> touches) : touches_(std::move(touches)) {}

    // An event with one touch at a point given in the view's coordinates.
    static UIEvent eventWithTouch(const UIView* view, CGPoint pointInView,
                                  UITouchPhase phase = UITouchPhaseBegan);

    const std::vector<UITouchPtr>& allTouches() const { return touches_; }
    // The touches that belong to the view, in the event's order.
    std::vector<UITouchPtr> touchesForView(const UIView* view) const;

  private:
    std::vector<UITouchPtr> touches_;
};
