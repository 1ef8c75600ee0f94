#pragma once

#include <memory>
#include <vector>

#include "platform/ui/CGGradient.h"
#include "platform/ui/UIGeometry.h"
#include "platform/ui/UIImage.h"

typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;

enum CGGradientDrawingOptions : unsigned {
    kCGGradientDrawsBeforeStartLocation = 1u << 0,
    kCGGradientDrawsAfterEndLocation = 1u << 1,
};

// A drawing destination in points with a current transform, clip, and fill and stroke
// colours, kept on a stack by save and restore. A bitmap context owns its pixels.
class CGContext {
  public:
    // A transparent bitmap of the given size in points, at a scale of pixels per point.
    static std::unique_ptr<CGContext> createBitmap(CGSize size, double scale);
    ~CGContext();
    CGContext(const CGContext&) = delete;
    CGContext& operator=(const CGContext&) = delete;

    // The part of the state that cairo does not keep.
    struct GraphicsState {
        UIColor fillColor = UIColor::blackColor();
        UIColor strokeColor = UIColor::blackColor();
    };

    cairo_t* cairo() const { return cairo_; }
    double scale() const { return scale_; }
    GraphicsState& state() { return states_.back(); }
    void saveState();
    // An unmatched restore does nothing.
    void restoreState();
    std::size_t stateDepth() const { return states_.size(); }
    // A copy of the pixels drawn so far.
    UIImagePtr makeImage() const;

  private:
    CGContext(cairo_surface_t* surface, double scale);

    cairo_surface_t* surface_;
    cairo_t* cairo_;
    double scale_;
    std::vector<GraphicsState> states_{GraphicsState{}};
};

// Borrowed: whoever made the context owns it.
using CGContextRef = CGContext*;

void CGContextSaveGState(CGContextRef context);
void CGContextRestoreGState(CGContextRef context);
void CGContextTranslateCTM(CGContextRef context, double tx, double ty);
void CGContextScaleCTM(CGContextRef context, double sx, double sy);
void CGContextClipToRect(CGContextRef context, CGRect rect);
void CGContextSetFillColorWithColor(CGContextRef context, const UIColor& color);
void CGContextSetStrokeColorWithColor(CGContextRef context, const UIColor& color);
void CGContextSetLineWidth(CGContextRef context, double width);
void CGContextFillRect(CGContextRef context, CGRect rect);
void CGContextStrokeRect(CGContextRef context, CGRect rect);
void CGContextFillEllipseInRect(CGContextRef context, CGRect rect);
// Fills the clip with the gradient along the line from start to end. Without options nothing
// is drawn before the start point or beyond the end point (measured along the line).
void CGContextDrawLinearGradient(CGContextRef context, const CGGradientRef& gradient,
                                 CGPoint startPoint, CGPoint endPoint, unsigned options = 0);
