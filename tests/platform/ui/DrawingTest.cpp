#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>

#include "platform/ui/CGContext.h"
#include "platform/ui/UIGraphics.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UITextField.h"
#include "platform/ui/ViewRenderer.h"
#include "support/TemporaryDeviceRoot.h"

namespace {

struct Pixel {
    int r, g, b, a;
};

Pixel at(const UIImagePtr& image, std::size_t x, std::size_t y) {
    std::uint32_t p = image->pixelAt(x, y);
    return Pixel{int(p >> 24), int((p >> 16) & 0xFF), int((p >> 8) & 0xFF), int(p & 0xFF)};
}

// A view that draws a horizontal gradient between two x positions, clipped to a rectangle.
class GradientView : public UIView {
  public:
    GradientView(double from, double to, CGRect clip, unsigned options = 0)
        : UIView(CGRectMake(0, 0, 100, 10)), from_(from), to_(to), clip_(clip), options_(options) {}
    bool drawsItself() const override { return true; }
    void drawRect(CGRect) override {
        CGContextRef context = UIGraphicsGetCurrentContext();
        CGContextSaveGState(context);
        CGContextClipToRect(context, clip_);
        auto gradient =
            CGGradientCreateWithColors(CGColorSpaceCreateDeviceRGB(),
                                       {UIColor::colorWithRed(1, 0, 0, 1), UIColor::blueColor()});
        CGContextDrawLinearGradient(context, gradient, CGPointMake(from_, 0), CGPointMake(to_, 0),
                                    options_);
        CGContextRestoreGState(context);
    }

  private:
    double from_, to_;
    CGRect clip_;
    unsigned options_;
};

UIImagePtr render(UIView& view) {
    return ViewRenderer::renderView(view, view.bounds().size);
}

}  // namespace

TEST(CGGradientDrawing, AHorizontalGradientRunsFromRedToBlueBetweenItsEnds) {
    GradientView view(0, 100, CGRectMake(0, 0, 100, 10));
    UIImagePtr image = render(view);
    ASSERT_EQ(image->pixelWidth(), 100u);
    Pixel left = at(image, 0, 5), middle = at(image, 50, 5), right = at(image, 99, 5);
    EXPECT_GE(left.r, 250);
    EXPECT_LE(left.b, 5);
    EXPECT_GE(right.b, 250);
    EXPECT_LE(right.r, 5);
    EXPECT_NEAR(middle.r, 128, 6);
    EXPECT_NEAR(middle.b, 128, 6);
    EXPECT_EQ(middle.g, 0);
    EXPECT_EQ(middle.a, 255);
}

TEST(CGGradientDrawing, NothingIsDrawnBeyondTheEndsOrOutsideTheClip) {
    GradientView between(20, 60, CGRectMake(0, 0, 100, 10));
    UIImagePtr image = render(between);
    EXPECT_EQ(at(image, 10, 5).a, 0);
    EXPECT_EQ(at(image, 80, 5).a, 0);
    EXPECT_EQ(at(image, 40, 5).a, 255);

    GradientView clipped(0, 100, CGRectMake(30, 2, 20, 4));
    image = render(clipped);
    EXPECT_EQ(at(image, 29, 3).a, 0);
    EXPECT_EQ(at(image, 30, 3).a, 255);
    EXPECT_EQ(at(image, 40, 1).a, 0);
    EXPECT_EQ(at(image, 50, 3).a, 0);

    // With the option, the end colour carries on past the end, and only there.
    GradientView after(20, 60, CGRectMake(0, 0, 100, 10), kCGGradientDrawsAfterEndLocation);
    image = render(after);
    EXPECT_EQ(at(image, 10, 5).a, 0);
    EXPECT_GE(at(image, 90, 5).b, 250);
    EXPECT_EQ(at(image, 90, 5).a, 255);
}

TEST(CGGradientDrawing, StopsAreEvenlySpacedWithoutLocations) {
    auto gradient = CGGradientCreateWithColors(
        CGColorSpaceCreateDeviceRGB(),
        {UIColor::whiteColor(), UIColor::grayColor(), UIColor::blackColor(), UIColor::blueColor()});
    ASSERT_EQ(gradient->stops().size(), 4u);
    EXPECT_DOUBLE_EQ(gradient->stops()[1].location, 1.0 / 3);
    EXPECT_DOUBLE_EQ(gradient->stops()[3].location, 1.0);
    double at[] = {0, 0.9};
    EXPECT_DOUBLE_EQ(
        CGGradientCreateWithColors(nullptr, {UIColor::whiteColor(), UIColor::blackColor()}, at)
            ->stops()[1]
            .location,
        0.9);
    EXPECT_EQ(CGGradientCreateWithColors(CGColorSpaceCreateDeviceRGB(), {}), nullptr);
}

TEST(UIViewRendering, BackgroundsSubviewsAlphaAndHiddenViews) {
    UIView root(CGRectMake(0, 0, 40, 20));
    root.setBackgroundColor(UIColor::whiteColor());
    auto box = std::make_shared<UIView>(CGRectMake(10, 5, 10, 10));
    box->setBackgroundColor(UIColor::colorWithRed(0, 1, 0, 1));
    auto faded = std::make_shared<UIView>(CGRectMake(25, 5, 10, 10));
    faded->setBackgroundColor(UIColor::blackColor());
    faded->setAlpha(0.5);
    auto hidden = std::make_shared<UIView>(CGRectMake(0, 0, 5, 5));
    hidden->setBackgroundColor(UIColor::blackColor());
    hidden->setHidden(true);
    for (auto& view : {box, faded, hidden}) {
        root.addSubview(view);
    }
    UIImagePtr image = ViewRenderer::renderView(root, CGSizeMake(40, 20), 2);
    ASSERT_EQ(image->pixelWidth(), 80u);
    EXPECT_EQ(image->size(), CGSizeMake(40, 20));
    Pixel inBox = at(image, 30, 20);
    EXPECT_EQ(inBox.g, 255);
    EXPECT_EQ(inBox.r, 0);
    EXPECT_NEAR(at(image, 60, 20).r, 128, 2);  // half black over white
    EXPECT_EQ(at(image, 2, 2).r, 255);         // the hidden view left no mark

    std::vector<std::uint8_t> png = ViewRenderer::renderViewToPNG(root, CGSizeMake(40, 20));
    ASSERT_GT(png.size(), 8u);
    UIImagePtr decoded = UIImage::imageWithPNGData(png);
    ASSERT_NE(decoded, nullptr);
    EXPECT_EQ(decoded->pixelAt(15, 10),
              ViewRenderer::renderView(root, CGSizeMake(40, 20))->pixelAt(15, 10));
}

namespace {

// The number of mostly opaque pixels, each of which must have the given colour's hue.
int inkOf(UIView& view, const UIColor& colour) {
    UIImagePtr image = render(view);
    int inked = 0;
    for (std::size_t y = 0; y < image->pixelHeight(); ++y) {
        for (std::size_t x = 0; x < image->pixelWidth(); ++x) {
            Pixel p = at(image, x, y);
            if (p.a > 200) {
                ++inked;
                EXPECT_NEAR(p.r, std::lround(colour.red() * 255), 1) << x << "," << y;
                EXPECT_NEAR(p.b, std::lround(colour.blue() * 255), 1) << x << "," << y;
            }
        }
    }
    return inked;
}

}  // namespace

TEST(UIViewRendering, TextLeavesInkInItsColour) {
    UILabel label(CGRectMake(0, 0, 60, 20));
    label.setText("MailBox");
    label.setTextColor(UIColor::redColor());
    EXPECT_GT(inkOf(label, UIColor::redColor()), 20);

    UITextField field(CGRectMake(0, 0, 60, 30));
    field.setPlaceholder("200");
    EXPECT_GT(inkOf(field, UIColor::colorWithWhite(0.7, 1)), 10);
    field.setText("37");
    field.setTextColor(UIColor::blueColor());
    EXPECT_GT(inkOf(field, UIColor::blueColor()), 10);
    field.setText("");
    field.setPlaceholder("");
    EXPECT_EQ(inkOf(field, UIColor::blackColor()), 0);
}

// Image paths are device paths, read from under the device root.
TEST(UIImageLoading, PNGFilesLoadAndAnythingElseGivesNull) {
    TemporaryDeviceRoot device;
    auto put = [&](const std::string& devicePath, const std::string& bytes) {
        TemporaryDeviceRoot::write(device.resolve(devicePath), bytes);
    };
    EXPECT_EQ(UIImage::imageWithContentsOfFile("/images/missing.png"), nullptr);
    put("/images/bad.png", "not a picture");
    EXPECT_EQ(UIImage::imageWithContentsOfFile("/images/bad.png"), nullptr);
    EXPECT_EQ(UIImage::imageWithContentsOfFile("/images"), nullptr);  // a folder

    std::vector<std::uint8_t> rgba{255, 0, 0, 255, 0, 0, 255, 128};
    auto png = UIImage(2, 1, rgba).pngRepresentation();
    put("/images/Selector@2x.png", std::string(png.begin(), png.end()));
    UIImagePtr image = UIImage::imageWithContentsOfFile("/images/Selector@2x.png");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->size(), CGSizeMake(1, 0.5));
    EXPECT_EQ(image->pixelAt(0, 0), 0xFF0000FFu);
    Pixel translucent = at(image, 1, 0);
    EXPECT_EQ(translucent.a, 128);
    EXPECT_NEAR(translucent.b, 255, 1);

    auto view = std::make_shared<UIImageView>(image);
    EXPECT_EQ(view->frame(), CGRectMake(0, 0, 1, 0.5));
}

// Opaque images are written without alpha; every byte must still come back.
TEST(UIImageEncoding, OpaqueAndTranslucentImagesReadBackFromTheirPNG) {
    std::vector<std::uint8_t> rgba;
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 70; ++x) {
            rgba.insert(rgba.end(),
                        {std::uint8_t(x * 3), std::uint8_t(y * 50), std::uint8_t(x ^ y), 255});
        }
    }
    UIImage opaque(70, 5, rgba);
    UIImagePtr back = UIImage::imageWithPNGData(opaque.pngRepresentation());
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->pixels(), opaque.pixels());

    rgba[3] = 0;
    UIImagePtr clear = UIImage::imageWithPNGData(UIImage(70, 5, rgba).pngRepresentation());
    ASSERT_NE(clear, nullptr);
    EXPECT_EQ(clear->pixelAt(0, 0) & 0xFF, 0u);
    EXPECT_EQ(clear->pixelAt(1, 0), back->pixelAt(1, 0));
    EXPECT_TRUE(UIImage(0, 0, {}).pngRepresentation().empty());
}
