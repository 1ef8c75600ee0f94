#include "platform/ui/CGContext.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>

namespace {

// Far enough to stand for "without end" at any size a view can have.
constexpr double kFar = 1e6;

void setSource(cairo_t* cr, const UIColor& color) {
    cairo_set_source_rgba(cr, color.red(), color.green(), color.blue(), color.alpha());
}

void addRect(cairo_t* cr, CGRect rect) {
    cairo_rectangle(cr, rect.origin.x, rect.origin.y, rect.size.width, rect.size.height);
}

// Clips to the half-plane on the kept side of the line through a point, across a direction.
void clipToHalfPlane(cairo_t* cr, CGPoint point, double dx, double dy, double side) {
    double nx = -dy;
    double ny = dx;
    cairo_move_to(cr, point.x + nx * kFar, point.y + ny * kFar);
    cairo_line_to(cr, point.x + (nx + side * dx) * kFar, point.y + (ny + side * dy) * kFar);
    cairo_line_to(cr, point.x + (-nx + side * dx) * kFar, point.y + (-ny + side * dy) * kFar);
    cairo_line_to(cr, point.x - nx * kFar, point.y - ny * kFar);
    cairo_close_path(cr);
    cairo_clip(cr);
}

}  // namespace

std::unique_ptr<CGContext> CGContext::createBitmap(CGSize size, double scale) {
    scale = scale > 0 ? scale : 1;
    int width = static_cast<int>(std::lround(std::max(0.0, size.width) * scale));
    int height = static_cast<int>(std::lround(std::max(0.0, size.height) * scale));
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    return std::unique_ptr<CGContext>(new CGContext(surface, scale));
}

CGContext::CGContext(cairo_surface_t* surface, double scale)
    : surface_(surface), cairo_(cairo_create(surface)), scale_(scale) {
    cairo_scale(cairo_, scale, scale);
}

CGContext::~CGContext() {
    cairo_destroy(cairo_);
    cairo_surface_destroy(surface_);
}

void CGContext::saveState() {
    cairo_save(cairo_);
    states_.push_back(states_.back());
}

void CGContext::restoreState() {
    if (states_.size() > 1) {
        states_.pop_back();
        cairo_restore(cairo_);
    }
}

UIImagePtr CGContext::makeImage() const {
    cairo_surface_flush(surface_);
    return UIImage::imageWithPremultipliedARGB(
        cairo_image_surface_get_data(surface_),
        static_cast<std::size_t>(cairo_image_surface_get_width(surface_)),
        static_cast<std::size_t>(cairo_image_surface_get_height(surface_)),
        static_cast<std::size_t>(cairo_image_surface_get_stride(surface_)), scale_);
}

void CGContextSaveGState(CGContextRef context) {
    if (context) {
        context->saveState();
    }
}

void CGContextRestoreGState(CGContextRef context) {
    if (context) {
        context->restoreState();
    }
}

void CGContextTranslateCTM(CGContextRef context, double tx, double ty) {
    if (context) {
        cairo_translate(context->cairo(), tx, ty);
    }
}

void CGContextScaleCTM(CGContextRef context, double sx, double sy) {
    if (context) {
        cairo_scale(context->cairo(), sx, sy);
    }
}

void CGContextClipToRect(CGContextRef context, CGRect rect) {
    if (context) {
        addRect(context->cairo(), rect);
        cairo_clip(context->cairo());
    }
}

void CGContextSetFillColorWithColor(CGContextRef context, const UIColor& color) {
    if (context) {
        context->state().fillColor = color;
    }
}

void CGContextSetStrokeColorWithColor(CGContextRef context, const UIColor& color) {
    if (context) {
        context->state().strokeColor = color;
    }
}

void CGContextSetLineWidth(CGContextRef context, double width) {
    if (context) {
        cairo_set_line_width(context->cairo(), width);
    }
}

void CGContextFillRect(CGContextRef context, CGRect rect) {
    if (!context) {
        return;
    }
    cairo_t* cr = context->cairo();
    setSource(cr, context->state().fillColor);
    addRect(cr, rect);
    cairo_fill(cr);
}

void CGContextStrokeRect(CGContextRef context, CGRect rect) {
    if (!context) {
        return;
    }
    cairo_t* cr = context->cairo();
    setSource(cr, context->state().strokeColor);
    addRect(cr, rect);
    cairo_stroke(cr);
}

void CGContextFillEllipseInRect(CGContextRef context, CGRect rect) {
    if (!context || rect.size.width <= 0 || rect.size.height <= 0) {
        return;
    }
    cairo_t* cr = context->cairo();
    cairo_save(cr);
    cairo_translate(cr, rect.origin.x + rect.size.width / 2, rect.origin.y + rect.size.height / 2);
    cairo_scale(cr, rect.size.width / 2, rect.size.height / 2);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    setSource(cr, context->state().fillColor);
    cairo_fill(cr);
}

void CGContextDrawLinearGradient(CGContextRef context, const CGGradientRef& gradient,
                                 CGPoint startPoint, CGPoint endPoint, unsigned options) {
    double dx = endPoint.x - startPoint.x;
    double dy = endPoint.y - startPoint.y;
    double length = std::hypot(dx, dy);
    if (!context || !gradient || length == 0) {
        return;
    }
    cairo_t* cr = context->cairo();
    cairo_pattern_t* pattern =
        cairo_pattern_create_linear(startPoint.x, startPoint.y, endPoint.x, endPoint.y);
    for (const auto& stop : gradient->stops()) {
        const UIColor& c = stop.color;
        cairo_pattern_add_color_stop_rgba(pattern, stop.location, c.red(), c.green(), c.blue(),
                                          c.alpha());
    }
    bool before = options & kCGGradientDrawsBeforeStartLocation;
    bool after = options & kCGGradientDrawsAfterEndLocation;
    cairo_pattern_set_extend(pattern, before || after ? CAIRO_EXTEND_PAD : CAIRO_EXTEND_NONE);
    cairo_save(cr);
    // Padding on one side only: pad both, then cut away the side that must stay empty.
    if (before != after) {
        clipToHalfPlane(cr, before ? endPoint : startPoint, dx / length, dy / length,
                        before ? -1 : 1);
    }
    cairo_set_source(cr, pattern);
    cairo_paint(cr);
    cairo_restore(cr);
    cairo_pattern_destroy(pattern);
}
