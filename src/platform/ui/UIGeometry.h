#pragma once

// Points, sizes, rectangles and edge insets in points, as the toolkit's geometry types.
struct CGPoint {
    double x = 0;
    double y = 0;
    bool operator==(const CGPoint&) const = default;
};

struct CGSize {
    double width = 0;
    double height = 0;
    bool operator==(const CGSize&) const = default;
};

struct CGRect {
    CGPoint origin;
    CGSize size;
    bool operator==(const CGRect&) const = default;
};

struct UIEdgeInsets {
    double top = 0;
    double left = 0;
    double bottom = 0;
    double right = 0;
    bool operator==(const UIEdgeInsets&) const = default;
};

inline CGRect CGRectMake(double x, double y, double width, double height) {
    return CGRect{{x, y}, {width, height}};
}
inline CGPoint CGPointMake(double x, double y) {
    return CGPoint{x, y};
}
inline CGSize CGSizeMake(double width, double height) {
    return CGSize{width, height};
}
inline constexpr CGRect CGRectZero{};

inline double CGRectGetMinX(CGRect r) {
    return r.origin.x;
}
inline double CGRectGetMinY(CGRect r) {
    return r.origin.y;
}
inline double CGRectGetMaxX(CGRect r) {
    return r.origin.x + r.size.width;
}
inline double CGRectGetMaxY(CGRect r) {
    return r.origin.y + r.size.height;
}
inline double CGRectGetWidth(CGRect r) {
    return r.size.width;
}
inline double CGRectGetHeight(CGRect r) {
    return r.size.height;
}

// Left and top edges are inside, right and bottom edges outside.
inline bool CGRectContainsPoint(CGRect r, CGPoint p) {
    return p.x >= CGRectGetMinX(r) && p.x < CGRectGetMaxX(r) && p.y >= CGRectGetMinY(r) &&
           p.y < CGRectGetMaxY(r);
}
