#include "pages/HBLabelMeaning.h"

#include <algorithm>

#include "model/HBColorValues.h"
#include "platform/ui/CGColorSpace.h"
#include "platform/ui/CGGradient.h"

namespace {

bool isEmpty(CGRect rect) {
    return rect.size.width <= 0 || rect.size.height <= 0;
}

double fraction(std::int64_t level) {
    return static_cast<double>(std::clamp<std::int64_t>(level, 0, 100)) / 100;
}

// A strip against the edge: thick across it, long along it and centred.
CGRect strip(CGRect row, const HBLabelSettings& settings) {
    double along = settings.edge == HBLabelEdge::Top ? row.size.width : row.size.height;
    double across = settings.edge == HBLabelEdge::Top ? row.size.height : row.size.width;
    double thickness = std::clamp(settings.width, 0.0, across);
    double length = along * fraction(settings.lengthLevel);
    double start = (along - length) / 2;
    switch (settings.edge) {
        case HBLabelEdge::Top:
            return CGRectMake(row.origin.x + start, row.origin.y, length, thickness);
        case HBLabelEdge::Right:
            return CGRectMake(row.origin.x + row.size.width - thickness, row.origin.y + start,
                              thickness, length);
        case HBLabelEdge::Left:
            break;
    }
    return CGRectMake(row.origin.x, row.origin.y + start, thickness, length);
}

CGRect circle(CGRect row, const HBLabelSettings& settings) {
    double inset = HBLabelMeaning::kDotInset;
    double room = std::min(row.size.width, row.size.height) - 2 * inset;
    double diameter = std::clamp(settings.width, 0.0, std::max(room, 0.0));
    double midX = row.origin.x + (row.size.width - diameter) / 2;
    double midY = row.origin.y + (row.size.height - diameter) / 2;
    switch (settings.edge) {
        case HBLabelEdge::Top:
            return CGRectMake(midX, row.origin.y + inset, diameter, diameter);
        case HBLabelEdge::Right:
            return CGRectMake(row.origin.x + row.size.width - inset - diameter, midY, diameter,
                              diameter);
        case HBLabelEdge::Left:
            break;
    }
    return CGRectMake(row.origin.x + inset, midY, diameter, diameter);
}

// From the label's edge to its far side.
std::pair<CGPoint, CGPoint> fadeLine(CGRect area, HBLabelEdge edge) {
    double left = area.origin.x;
    double top = area.origin.y;
    double right = left + area.size.width;
    double midY = top + area.size.height / 2;
    switch (edge) {
        case HBLabelEdge::Top:
            return {CGPointMake(left, top), CGPointMake(left, top + area.size.height)};
        case HBLabelEdge::Right:
            return {CGPointMake(right, midY), CGPointMake(left, midY)};
        case HBLabelEdge::Left:
            break;
    }
    return {CGPointMake(left, midY), CGPointMake(right, midY)};
}

void fillFading(CGContextRef context, CGRect area, HBLabelEdge edge, const UIColor& color) {
    CGContextSaveGState(context);
    CGContextClipToRect(context, area);
    auto gradient = CGGradientCreateWithColors(CGColorSpaceCreateDeviceRGB(),
                                               {color, color.colorWithAlphaComponent(0)});
    auto [from, to] = fadeLine(area, edge);
    CGContextDrawLinearGradient(context, gradient, from, to);
    CGContextRestoreGState(context);
}

}  // namespace

const std::vector<HBLabelMeaning::Entry>& HBLabelMeaning::types() {
    static const std::vector<Entry> kTypes = {
        {HBLabelType::Bar, Shape::Strip},
        {HBLabelType::Dot, Shape::Circle},
        {HBLabelType::Background, Shape::Fill},
        {HBLabelType::None, Shape::Nothing},
    };
    return kTypes;
}

const HBLabelMeaning::Entry& HBLabelMeaning::entryFor(std::int64_t storedType) {
    for (const Entry& entry : types()) {
        if (static_cast<std::int64_t>(entry.type) == storedType) {
            return entry;
        }
    }
    return entryFor(HBLabelType::None);
}

CGRect HBLabelMeaning::area(CGRect row, const HBLabelSettings& settings) {
    switch (entryFor(settings.type).shape) {
        case Shape::Strip:
            return strip(row, settings);
        case Shape::Circle:
            return circle(row, settings);
        case Shape::Fill:
            return row;
        case Shape::Nothing:
            break;
    }
    return CGRectZero;
}

void HBLabelMeaning::paint(CGContextRef context, CGRect row, const HBLabelSettings& settings,
                           const UIColor& color) {
    CGRect covered = area(row, settings);
    float opacity = HBColorValues::opacityFromAlphaLevel(settings.alphaLevel);
    if (!context || isEmpty(covered) || opacity <= 0) {
        return;
    }
    UIColor shown = color.colorWithAlphaComponent(opacity);
    Shape shape = entryFor(settings.type).shape;
    if (shape == Shape::Circle) {
        CGContextSetFillColorWithColor(context, shown);
        CGContextFillEllipseInRect(context, covered);
    } else if (settings.fadeOut) {
        fillFading(context, covered, settings.edge, shown);
    } else {
        CGContextSetFillColorWithColor(context, shown);
        CGContextFillRect(context, covered);
    }
}
