#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/ui/UIGeometry.h"
#include "platform/ui/UIGestureRecognizerDelegate.h"

class UIView;

enum UIGestureRecognizerState : long {
    UIGestureRecognizerStatePossible = 0,
    UIGestureRecognizerStateBegan = 1,
    UIGestureRecognizerStateChanged = 2,
    UIGestureRecognizerStateEnded = 3,
    UIGestureRecognizerStateCancelled = 4,
    UIGestureRecognizerStateFailed = 5,
    UIGestureRecognizerStateRecognized = UIGestureRecognizerStateEnded,
};

class UIGestureRecognizer;
// An action: the recogniser, whose state and location say what happened. Capture weak or
// raw pointers only.
using UIGestureRecognizerAction = std::function<void(UIGestureRecognizer* recognizer)>;

// Recognises a gesture on the view it is added to (which owns it) and calls its actions at
// each change of state. The view and the delegate are not owned.
class UIGestureRecognizer : public std::enable_shared_from_this<UIGestureRecognizer> {
  public:
    explicit UIGestureRecognizer(UIGestureRecognizerAction action = {});
    virtual ~UIGestureRecognizer() = default;
    UIGestureRecognizer(const UIGestureRecognizer&) = delete;
    UIGestureRecognizer& operator=(const UIGestureRecognizer&) = delete;

    void addTarget(UIGestureRecognizerAction action);
    UIGestureRecognizerState state() const { return state_; }
    UIView* view() const { return view_; }
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled) { enabled_ = enabled; }
    UIGestureRecognizerDelegate* delegate() const { return delegate_; }
    void setDelegate(UIGestureRecognizerDelegate* delegate) { delegate_ = delegate; }
    // The gesture's location in the view's coordinates (null: window coordinates).
    CGPoint locationInView(const UIView* view) const;

  protected:
    // Whether the gesture may start now: enabled, on a view, and the delegate agrees.
    bool mayBegin();
    // Moves to a state at a point in the recogniser's view and calls the actions.
    void moveToState(UIGestureRecognizerState state, CGPoint pointInView);
    // Back to Possible, ready for the next gesture; calls nothing.
    void reset() { state_ = UIGestureRecognizerStatePossible; }

  private:
    friend class UIView;

    std::vector<UIGestureRecognizerAction> actions_;
    UIGestureRecognizerState state_ = UIGestureRecognizerStatePossible;
    UIView* view_ = nullptr;
    UIGestureRecognizerDelegate* delegate_ = nullptr;
    bool enabled_ = true;
    CGPoint locationInWindow_;
};

using UIGestureRecognizerPtr = std::shared_ptr<UIGestureRecognizer>;
