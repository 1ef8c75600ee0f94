#pragma once

#include <optional>

// An RGBA colour with double components 0..1, a value type. Where the platform passes nil,
// the toolkit takes std::optional<UIColor>.
class UIColor {
  public:
    UIColor() = default;
    static UIColor colorWithRed(double red, double green, double blue, double alpha);
    static UIColor colorWithWhite(double white, double alpha);
    static UIColor colorWithHue(double hue, double saturation, double brightness, double alpha);

    static UIColor blackColor();
    static UIColor whiteColor();
    static UIColor blueColor();
    static UIColor redColor();
    static UIColor greenColor();
    static UIColor yellowColor();
    static UIColor cyanColor();
    static UIColor magentaColor();
    static UIColor clearColor();
    static UIColor darkGrayColor();
    static UIColor lightGrayColor();
    static UIColor grayColor();

    double red() const { return red_; }
    double green() const { return green_; }
    double blue() const { return blue_; }
    double alpha() const { return alpha_; }
    // The usual HSB model: a grey has hue 0 and saturation 0; black has all three 0.
    void getHue(double* hue, double* saturation, double* brightness, double* alpha) const;
    void getRed(double* red, double* green, double* blue, double* alpha) const;
    UIColor colorWithAlphaComponent(double alpha) const;

    bool isEqual(const UIColor& other) const { return *this == other; }
    bool operator==(const UIColor&) const = default;

  private:
    UIColor(double red, double green, double blue, double alpha)
        : red_(red), green_(green), blue_(blue), alpha_(alpha) {}

    double red_ = 0;
    double green_ = 0;
    double blue_ = 0;
    double alpha_ = 0;
};

using OptionalColor = std::optional<UIColor>;
