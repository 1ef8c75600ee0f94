#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/UIColor.h"
#include "platform/ui/UIGeometry.h"

class UIGestureRecognizer;

// 1 light, 2 dark, as the platform's UIUserInterfaceStyle.
enum UIUserInterfaceStyle : long {
    UIUserInterfaceStyleUnspecified = 0,
    UIUserInterfaceStyleLight = 1,
    UIUserInterfaceStyleDark = 2,
};

struct UITraitCollection {
    UIUserInterfaceStyle userInterfaceStyle = UIUserInterfaceStyleLight;

    // The process-wide appearance; the host switches it, views read it. A switch tells the
    // key window's views and controllers (traitCollectionDidChange), as the platform does.
    static UITraitCollection current();
    static void setCurrentUserInterfaceStyle(UIUserInterfaceStyle style);

    // Light is dark text on white; anything else is light text on black.
    bool isLight() const { return userInterfaceStyle == UIUserInterfaceStyleLight; }

    bool operator==(const UITraitCollection&) const = default;
};

enum UIViewAutoresizing : unsigned {
    UIViewAutoresizingNone = 0,
    UIViewAutoresizingFlexibleLeftMargin = 1 << 0,
    UIViewAutoresizingFlexibleWidth = 1 << 1,
    UIViewAutoresizingFlexibleRightMargin = 1 << 2,
    UIViewAutoresizingFlexibleTopMargin = 1 << 3,
    UIViewAutoresizingFlexibleHeight = 1 << 4,
    UIViewAutoresizingFlexibleBottomMargin = 1 << 5,
};

// The parts of a view's layer that the pane sets.
struct CALayer {
    double cornerRadius = 0;
    double borderWidth = 0;
    OptionalColor borderColor;
    OptionalColor shadowColor;
    double shadowOpacity = 0;
    CGSize shadowOffset{0, -3};
    double shadowRadius = 3;
    bool masksToBounds = false;
};

// A rectangle on screen with subviews in order. A view owns its subviews; the superview
// pointer does not own.
class UIView : public std::enable_shared_from_this<UIView> {
  public:
    explicit UIView(CGRect frame = CGRectZero);
    virtual ~UIView();
    UIView(const UIView&) = delete;
    UIView& operator=(const UIView&) = delete;

    // The class name a host shows for this view ("UIView", "UILabel", or a pane class name).
    virtual std::string className() const { return "UIView"; }

    CGRect frame() const { return frame_; }
    // Resizes subviews by their autoresizing masks when the size changes.
    virtual void setFrame(CGRect frame);
    CGRect bounds() const;
    void setBounds(CGRect bounds);
    CGPoint center() const;
    // Moves the frame, keeping its size, so that its centre is the point.
    void setCenter(CGPoint center);

    const std::vector<std::shared_ptr<UIView>>& subviews() const { return subviews_; }
    UIView* superview() const { return superview_; }
    void addSubview(std::shared_ptr<UIView> view);
    void insertSubviewAtIndex(std::shared_ptr<UIView> view, std::size_t index);
    void removeFromSuperview();
    void bringSubviewToFront(UIView* view);

    long tag() const { return tag_; }
    void setTag(long tag) { tag_ = tag; }
    // This view or the first descendant (depth first) with the tag.
    UIView* viewWithTag(long tag);

    const OptionalColor& backgroundColor() const { return backgroundColor_; }
    void setBackgroundColor(OptionalColor color);
    double alpha() const { return alpha_; }
    void setAlpha(double alpha);
    bool isHidden() const { return hidden_; }
    void setHidden(bool hidden);
    bool isUserInteractionEnabled() const { return userInteractionEnabled_; }
    void setUserInteractionEnabled(bool enabled);
    unsigned autoresizingMask() const { return autoresizingMask_; }
    void setAutoresizingMask(unsigned mask) { autoresizingMask_ = mask; }
    bool clipsToBounds() const { return layer_.masksToBounds; }
    void setClipsToBounds(bool clips) { layer_.masksToBounds = clips; }

    bool translatesAutoresizingMaskIntoConstraints() const { return translatesMask_; }
    void setTranslatesAutoresizingMaskIntoConstraints(bool translates) {
        translatesMask_ = translates;
    }

    // The view owns its gesture recognisers; each knows its view without owning it.
    const std::vector<std::shared_ptr<UIGestureRecognizer>>& gestureRecognizers() const {
        return gestureRecognizers_;
    }
    void addGestureRecognizer(std::shared_ptr<UIGestureRecognizer> recognizer);
    void removeGestureRecognizer(UIGestureRecognizer* recognizer);

    CALayer& layer() { return layer_; }
    const CALayer& layer() const { return layer_; }

    UITraitCollection traitCollection() const { return UITraitCollection::current(); }
    // Called once per appearance change with the traits before it; views that chose colours
    // when they were made choose them again. The default redraws self-drawn views.
    virtual void traitCollectionDidChange(const UITraitCollection& previous);
    // Brings this view and its subviews (subviews first) to the current appearance, telling
    // each that had not heard of it yet. A view added to a superview is brought up to date.
    void updateTraitsIfNeeded();

    // Layout: subclasses place their subviews; layoutIfNeeded runs a pending layout.
    virtual void layoutSubviews() {}
    void setNeedsLayout() { needsLayout_ = true; }
    void layoutIfNeeded();

    // Drawing: a view that draws itself overrides drawRect, which runs with a current
    // graphics context (see the drawing layer); setNeedsDisplay asks for a redraw.
    virtual bool drawsItself() const { return false; }
    virtual void drawRect(CGRect rect);
    void setNeedsDisplay();
    // Grows with every setNeedsDisplay, so a host can tell when to render again.
    std::uint64_t displayGeneration() const { return displayGeneration_; }

    // The parts of the view that the system's bars and the screen's edges cover: a window's
    // are the screen's; any other view's are its superview's where they overlap it, plus
    // what its controller's container adds (a navigation bar). None outside a window.
    virtual UIEdgeInsets safeAreaInsets() const;
    // Set by a container controller for the view of the controller it shows under its bars.
    void setAdditionalSafeAreaInsets(UIEdgeInsets insets) { additionalSafeAreaInsets_ = insets; }

    CGPoint convertPointToView(CGPoint point, const UIView* view) const;
    CGPoint convertPointFromView(CGPoint point, const UIView* view) const;
    bool pointInside(CGPoint point) const;
    // The deepest visible, interactive subview containing the point (in this view's bounds).
    virtual UIView* hitTest(CGPoint point);

  private:
    void resizeSubviews(CGSize oldSize);
    CGPoint originInWindow() const;

    CGRect frame_;
    CGPoint boundsOrigin_;
    std::vector<std::shared_ptr<UIView>> subviews_;
    UIView* superview_ = nullptr;
    long tag_ = 0;
    OptionalColor backgroundColor_;
    double alpha_ = 1;
    bool hidden_ = false;
    bool userInteractionEnabled_ = true;
    unsigned autoresizingMask_ = UIViewAutoresizingNone;
    CALayer layer_;
    bool translatesMask_ = true;
    std::vector<std::shared_ptr<UIGestureRecognizer>> gestureRecognizers_;
    UIEdgeInsets additionalSafeAreaInsets_;
    bool needsLayout_ = false;
    std::uint64_t displayGeneration_ = 0;
    UITraitCollection traits_ = UITraitCollection::current();
};

using UIViewPtr = std::shared_ptr<UIView>;
