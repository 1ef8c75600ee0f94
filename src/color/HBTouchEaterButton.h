#pragma once

#include <memory>

#include "platform/ui/UIButton.h"

// An invisible system button laid over a picker's field or slider to catch its touches. It
// draws nothing, but counts as a view that draws itself, so that a host carries the finger's
// whole drag to it (touch down, drags, release) rather than only taps.
class HBTouchEaterButton : public UIButton {
  public:
    explicit HBTouchEaterButton(CGRect frame) : UIButton(frame, UIButtonTypeSystem) {}
    std::string className() const override { return "HBTouchEaterButton"; }
    bool drawsItself() const override { return true; }

    // An eater that hands its drags and its release to the view it lies on.
    template <typename Owner>
    using Handler = void (Owner::*)(UIButton* button, const UIEvent& event);
    template <typename Owner>
    static std::shared_ptr<HBTouchEaterButton> forwardingTo(CGRect frame, Handler<Owner> moved,
                                                            Handler<Owner> ended) {
        auto eater = std::make_shared<HBTouchEaterButton>(frame);
        auto forward = [](Handler<Owner> handler) {
            return [handler](UIControl* sender, const UIEvent& event) {
                if (auto* owner = dynamic_cast<Owner*>(sender->superview())) {
                    (owner->*handler)(static_cast<UIButton*>(sender), event);
                }
            };
        };
        eater->addTarget(forward(moved), UIControlEventTouchDragInside);
        eater->addTarget(forward(ended),
                         UIControlEventTouchUpInside | UIControlEventTouchUpOutside);
        return eater;
    }
};
