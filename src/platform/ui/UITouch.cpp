#include "platform/ui/UITouch.h"

#include "platform/ui/UIView.h"

CGPoint UITouch::locationInView(const UIView* view) const {
    return view ? view->convertPointFromView(locationInWindow_, nullptr) : locationInWindow_;
}
