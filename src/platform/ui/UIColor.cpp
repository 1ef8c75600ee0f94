#include "platform/ui/UIColor.h"

#include <algorithm>
#include <cmath>

UIColor UIColor::colorWithRed(double red, double green, double blue, double alpha) {
    return UIColor(red, green, blue, alpha);
}

UIColor UIColor::colorWithWhite(double white, double alpha) {
    return UIColor(white, white, white, alpha);
}

UIColor UIColor::colorWithHue(double hue, double saturation, double brightness, double alpha) {
    hue = std::clamp(hue, 0.0, 1.0);
    saturation = std::clamp(saturation, 0.0, 1.0);
    brightness = std::clamp(brightness, 0.0, 1.0);
    if (saturation == 0.0) {
        return UIColor(brightness, brightness, brightness, alpha);
    }
    double sector = hue * 6.0;
    if (sector >= 6.0) {
        sector = 0.0;
    }
    int index = static_cast<int>(std::floor(sector));
    double fraction = sector - index;
    double p = brightness * (1.0 - saturation);
    double q = brightness * (1.0 - saturation * fraction);
    double t = brightness * (1.0 - saturation * (1.0 - fraction));
    double v = brightness;
    switch (index) {
        case 0:
            return UIColor(v, t, p, alpha);
        case 1:
            return UIColor(q, v, p, alpha);
        case 2:
            return UIColor(p, v, t, alpha);
        case 3:
            return UIColor(p, q, v, alpha);
        case 4:
            return UIColor(t, p, v, alpha);
        default:
            return UIColor(v, p, q, alpha);
    }
}

UIColor UIColor::blackColor() {
    return UIColor(0, 0, 0, 1);
}
UIColor UIColor::whiteColor() {
    return UIColor(1, 1, 1, 1);
}
UIColor UIColor::blueColor() {
    return UIColor(0, 0, 1, 1);
}
UIColor UIColor::redColor() {
    return UIColor(1, 0, 0, 1);
}
UIColor UIColor::greenColor() {
    return UIColor(0, 1, 0, 1);
}
UIColor UIColor::yellowColor() {
    return UIColor(1, 1, 0, 1);
}
UIColor UIColor::cyanColor() {
    return UIColor(0, 1, 1, 1);
}
UIColor UIColor::magentaColor() {
    return UIColor(1, 0, 1, 1);
}
UIColor UIColor::clearColor() {
    return UIColor(0, 0, 0, 0);
}
UIColor UIColor::darkGrayColor() {
    return colorWithWhite(1.0 / 3.0, 1);
}
UIColor UIColor::lightGrayColor() {
    return colorWithWhite(2.0 / 3.0, 1);
}
UIColor UIColor::grayColor() {
    return colorWithWhite(0.5, 1);
}

void UIColor::getHue(double* hue, double* saturation, double* brightness, double* alpha) const {
    double maximum = std::max({red_, green_, blue_});
    double minimum = std::min({red_, green_, blue_});
    double delta = maximum - minimum;
    double h = 0.0;
    double s = maximum > 0.0 ? delta / maximum : 0.0;
    if (delta > 0.0) {
        if (maximum == red_) {
            h = (green_ - blue_) / delta;
        } else if (maximum == green_) {
            h = 2.0 + (blue_ - red_) / delta;
        } else {
            h = 4.0 + (red_ - green_) / delta;
        }
        h /= 6.0;
        if (h < 0.0) {
            h += 1.0;
        }
    }
    if (hue)
        *hue = h;
    if (saturation)
        *saturation = s;
    if (brightness)
        *brightness = maximum;
    if (alpha)
        *alpha = alpha_;
}

void UIColor::getRed(double* red, double* green, double* blue, double* alpha) const {
    if (red)
        *red = red_;
    if (green)
        *green = green_;
    if (blue)
        *blue = blue_;
    if (alpha)
        *alpha = alpha_;
}

UIColor UIColor::colorWithAlphaComponent(double alpha) const {
    return UIColor(red_, green_, blue_, alpha);
}
