#include "platform/ui/ViewRenderer.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>

#include "platform/ui/UIGraphics.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UITextField.h"

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

double alignedX(CGRect bounds, NSTextAlignment alignment, double textWidth) {
    switch (alignment) {
        case NSTextAlignmentCenter:
            return bounds.origin.x + (bounds.size.width - textWidth) / 2;
        case NSTextAlignmentRight:
            return bounds.origin.x + bounds.size.width - textWidth;
        default:
            return bounds.origin.x;
    }
}

// The first line of a text, vertically centred, in the face the measurement uses.
void drawLine(const std::string& text, const UIFont& font, const UIColor& color,
              NSTextAlignment alignment, CGRect bounds) {
    std::string line = text.substr(0, text.find('\n'));
    if (line.empty()) {
        return;
    }
    cairo_t* cr = currentCairo();
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL,
                           font.bold() ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, font.pointSize());
    double baseline =
        bounds.origin.y + (bounds.size.height - font.lineHeight()) / 2 + font.ascender();
    cairo_move_to(cr, alignedX(bounds, alignment, font.widthOfString(line)), baseline);
    setSource(cr, color);
    cairo_show_text(cr, line.c_str());
    cairo_new_path(cr);
}

// A field shows its text, or its placeholder in grey, left of its right view.
void drawField(const UITextField& field) {
    CGRect area = field.bounds();
    if (field.isRightViewVisible()) {
        area.size.width -= field.rightView()->frame().size.width;
    }
    bool empty = field.text().empty();
    UIColor color = empty ? UIColor::colorWithWhite(0.7, 1) : field.textColor();
    if (!field.isEnabled()) {
        color = color.colorWithAlphaComponent(color.alpha() * 0.5);
    }
    drawLine(empty ? field.placeholder() : field.text(), field.font(), color, field.textAlignment(),
             area);
}

}  // namespace

UIImagePtr ViewRenderer::renderView(UIView& view, CGSize size, double scale) {
    auto context = CGContext::createBitmap(size, scale);
    UIGraphicsPushContext(context.get());
    CGRect b = view.bounds();
    CGContextTranslateCTM(context.get(), -b.origin.x, -b.origin.y);
    drawView(view);
    UIGraphicsPopContext();
    return context->makeImage();
}

std::vector<std::uint8_t> ViewRenderer::renderViewToPNG(UIView& view, CGSize size, double scale) {
    return renderView(view, size, scale)->pngRepresentation();
}

void ViewRenderer::drawView(UIView& view) {
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

void ViewRenderer::drawContent(UIView& view) {
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
        drawLine(label->text(), label->displayedFont(), label->displayedTextColor(),
                 label->textAlignment(), label->bounds());
    }
    if (auto* field = dynamic_cast<UITextField*>(&view)) {
        drawField(*field);
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

void ViewRenderer::drawSubviews(UIView& view) {
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
