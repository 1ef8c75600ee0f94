#pragma once

#include <functional>
#include <vector>

#include "platform/ui/UIEvent.h"
#include "platform/ui/UIView.h"

enum UIControlEvents : unsigned {
    UIControlEventTouchDown = 1u << 0,
    UIControlEventTouchDownRepeat = 1u << 1,
    UIControlEventTouchDragInside = 1u << 2,
    UIControlEventTouchDragOutside = 1u << 3,
    UIControlEventTouchDragEnter = 1u << 4,
    UIControlEventTouchDragExit = 1u << 5,
    UIControlEventTouchUpInside = 1u << 6,
    UIControlEventTouchUpOutside = 1u << 7,
    UIControlEventTouchCancel = 1u << 8,
    UIControlEventValueChanged = 1u << 12,
    UIControlEventEditingDidBegin = 1u << 16,
    UIControlEventEditingChanged = 1u << 17,
    UIControlEventEditingDidEnd = 1u << 18,
    UIControlEventEditingDidEndOnExit = 1u << 19,
    UIControlEventAllTouchEvents = 0x00000FFFu,
    UIControlEventAllEditingEvents = 0x000F0000u,
    UIControlEventAllEvents = 0xFFFFFFFFu,
};

enum UIControlState : unsigned {
    UIControlStateNormal = 0,
    UIControlStateHighlighted = 1u << 0,
    UIControlStateDisabled = 1u << 1,
    UIControlStateSelected = 1u << 2,
};

class UIControl;
// An action: the control that sent it and the event. Capture weak or raw pointers only, so
// that a control never keeps its owner alive.
using UIControlAction = std::function<void(UIControl* sender, const UIEvent& event)>;

// A view that reports user actions to handlers registered per event mask. Values set from
// code never send events; only the user entry points (userTouchDown... and the subclasses'
// user... operations) and sendActionsForControlEvents do.
class UIControl : public UIView {
  public:
    // How far outside its bounds a dragging finger still counts as inside, in points.
    static constexpr double touchTolerance = 70;

    explicit UIControl(CGRect frame = CGRectZero) : UIView(frame) {}
    std::string className() const override { return "UIControl"; }

    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled);
    bool isSelected() const { return selected_; }
    void setSelected(bool selected);
    bool isHighlighted() const { return highlighted_; }
    void setHighlighted(bool highlighted);
    // Normal, or the highlighted, disabled and selected bits that apply.
    unsigned state() const;

    void addTarget(UIControlAction action, unsigned controlEvents);
    void removeAllTargets() { targets_.clear(); }
    // The union of the masks of all registered actions.
    unsigned allControlEvents() const;

    // Calls, in the order they were added, every action whose mask meets the events.
    void sendActionsForControlEvents(unsigned controlEvents, const UIEvent& event);
    void sendActionsForControlEvents(unsigned controlEvents);

    // A finger in the control, for hosts and tests; points in the control's coordinates.
    // A disabled control (or one that takes no touches) ignores them and returns false.
    bool userTouchDown(CGPoint point);
    void userTouchMoved(CGPoint point);
    void userTouchUp(CGPoint point);
    void userTouchCancelled();
    // Down and up at the middle of the bounds.
    bool userTapped();
    bool isTracking() const { return tracking_; }
    bool isTouchInside() const { return touchInside_; }

  protected:
    // An action may drop the last reference to its control; entry points that send events
    // hold this until they return. Null for a control not held by a shared pointer.
    std::shared_ptr<UIView> retainWhileSending() { return weak_from_this().lock(); }
    // Runs after the enabled, selected or highlighted state changed.
    virtual void controlStateChanged() {}

  private:
    struct Target {
        unsigned events;
        UIControlAction action;
    };

    bool withinTolerance(CGPoint point) const;

    bool enabled_ = true;
    bool selected_ = false;
    bool highlighted_ = false;
    bool tracking_ = false;
    bool touchInside_ = false;
    std::vector<Target> targets_;
};

using UIControlPtr = std::shared_ptr<UIControl>;
