#include "platform/ui/UIViewRenderer.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>

#include "platform/ui/UIGraphics.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UILabel.h"

namespace {

cairo_t* currentCairo() {
    return UIGraphicsGetCurrentContext()->cairo();
}

void addRoundedRect(cairo_t* cr, CGRect r, double radius) {
    radius = std::clamp(radius, 0.0, std::min(r.size.width, r.size.height) / 2);
    if (radius <= 0) {
        cairo_rectangle(cr, r.origin.x, r.origin.y, r.size.width, r.size.height);
        return;
    }
    double x0 = r.origin.x;
    double y0 = r.origin.y;
    double x1 = x0 + r.size.width;
    double y1 = y0 + r.size.height;
    cairo_new_sub_path(cr);
    cairo_arc(cr, x1 - radius, y0 + radius, radius, -M_PI / 2, 0);
    cairo_arc(cr, x1 - radius, y1 - radius, radius, 0, M_PI / 2);
    cairo_arc(cr, x0 + radius, y1 - radius, radius, M_PI / 2, M_PI);
    cairo_arc(cr, x0 + radius, y0 + radius, radius, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

void setSource(cairo_t* cr, const UIColor& color) {
    cairo_set_source_rgba(cr, color.red(), color.green(), color.blue(), color.alpha());
}

void drawBorder(const UIView& view) {
    const CALayer& layer = view.layer();
    if (layer.borderWidth <= 0 || !layer.borderColor) {
        return;
    }
    cairo_t* cr = currentCairo();
    CGRect b = view.bounds();
    double inset = layer.borderWidth / 2;
    CGRect path{{b.origin.x + inset, b.origin.y + inset},
                {b.size.width - layer.borderWidth, b.size.height - layer.borderWidth}};
    addRoundedRect(cr, path, layer.cornerRadius - inset);
    setSource(cr, *layer.borderColor);
    cairo_set_line_width(cr, layer.borderWidth);
    cairo_stroke(cr);
}

double alignedX(const UILabel& label, double textWidth) {
    CGRect b = label.bounds();
    switch (label.textAlignment()) {
        case NSTextAlignmentCenter:
            return b.origin.x + (b.size.width - textWidth) / 2;
        case NSTextAlignmentRight:
            return b.origin.x + b.size.width - textWidth;
        default:
            return b.origin.x;
    }
}

// One line, vertically centred, in the face the measurement uses.
void drawLabelText(const UILabel& label) {
    if (label.text().empty()) {
        return;
    }
    UIFont font = label.displayedFont();
    cairo_t* cr = currentCairo();
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL,
                           font.bold() ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, font.pointSize());
    CGRect b = label.bounds();
    double baseline = b.origin.y + (b.size.height - font.lineHeight()) / 2 + font.ascender();
    std::string line = label.text().substr(0, label.text().find('\n'));
    cairo_move_to(cr, alignedX(label, font.widthOfString(line)), baseline);
    setSource(cr, label.displayedTextColor());
    cairo_show_text(cr, line.c_str());
    cairo_new_path(cr);
}

}  // namespace

UIImagePtr UIViewRenderer::renderView(UIView& view, CGSize size, double scale) {
    auto context = CGContext::createBitmap(size, scale);
    UIGraphicsPushContext(context.get());
    CGRect b = view.bounds();
    CGContextTranslateCTM(context.get(), -b.origin.x, -b.origin.y);
    drawView(view);
    UIGraphicsPopContext();
    return context->makeImage();
}

std::vector<std::uint8_t> UIViewRenderer::renderViewToPNG(UIView& view, CGSize size, double scale) {
    return renderView(view, size, scale)->pngRepresentation();
}

void UIViewRenderer::drawView(UIView& view) {
    if (view.isHidden() || view.alpha() <= 0) {
        return;
    }
    cairo_t* cr = currentCairo();
    CGContextSaveGState(UIGraphicsGetCurrentContext());
    bool faded = view.alpha() < 1;
    if (faded) {
        cairo_push_group(cr);
    }
    if (view.clipsToBounds()) {
        addRoundedRect(cr, view.bounds(), view.layer().cornerRadius);
        cairo_clip(cr);
    }
    drawContent(view);
    drawSubviews(view);
    drawBorder(view);
    if (faded) {
        cairo_pop_group_to_source(cr);
        cairo_paint_with_alpha(cr, view.alpha());
    }
    CGContextRestoreGState(UIGraphicsGetCurrentContext());
}

void UIViewRenderer::drawContent(UIView& view) {
    cairo_t* cr = currentCairo();
    if (const OptionalColor& background = view.backgroundColor()) {
        addRoundedRect(cr, view.bounds(), view.layer().cornerRadius);
        setSource(cr, *background);
        cairo_fill(cr);
    }
    if (auto* imageView = dynamic_cast<UIImageView*>(&view); imageView && imageView->image()) {
        imageView->image()->drawInRect(view.bounds());
    }
    if (auto* label = dynamic_cast<UILabel*>(&view)) {
        drawLabelText(*label);
    }
    CGContextRef context = UIGraphicsGetCurrentContext();
    std::size_t depth = context->stateDepth();
    CGContextSaveGState(context);
    view.drawRect(view.bounds());
    // Contexts pushed and states saved by drawRect and left behind stay inside this view.
    while (UIGraphicsGetCurrentContext() && UIGraphicsGetCurrentContext() != context) {
        UIGraphicsPopContext();
    }
    if (!UIGraphicsGetCurrentContext()) {
        UIGraphicsPushContext(context);
    }
    while (context->stateDepth() > depth) {
        context->restoreState();
    }
}

void UIViewRenderer::drawSubviews(UIView& view) {
    for (const auto& subview : view.subviews()) {
        CGContextRef context = UIGraphicsGetCurrentContext();
        CGContextSaveGState(context);
        CGRect frame = subview->frame();
        CGRect b = subview->bounds();
        CGContextTranslateCTM(context, frame.origin.x - b.origin.x, frame.origin.y - b.origin.y);
        drawView(*subview);
        CGContextRestoreGState(context);
    }
}
