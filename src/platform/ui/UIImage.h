#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/UIGeometry.h"

class UIImage;
using UIImagePtr = std::shared_ptr<UIImage>;

// A bitmap: width x height pixels of straight (not premultiplied) RGBA, 8 bits a channel,
// row by row from the top, shown at a scale of pixels per point.
class UIImage {
  public:
    UIImage(std::size_t pixelWidth, std::size_t pixelHeight, std::vector<std::uint8_t> rgba,
            double scale = 1);

    // Reads a PNG file; a missing, unreadable or malformed file gives null. The path is a
    // device path, read from under the device root.
    static UIImagePtr imageWithContentsOfFile(const std::string& path);
    // The device paths imageWithContentsOfFile was asked for and found no image at, oldest
    // first, since the last call (at most 256); for hosts and tests that report missing
    // pictures.
    static std::vector<std::string> takeUnreadablePaths();
    // Decodes PNG bytes; bytes that are not a PNG give null.
    static UIImagePtr imageWithPNGData(const std::vector<std::uint8_t>& data, double scale = 1);
    // Copies premultiplied 32-bit ARGB pixels in native byte order (a drawing surface).
    static UIImagePtr imageWithPremultipliedARGB(const unsigned char* data, std::size_t width,
                                                 std::size_t height, std::size_t stride,
                                                 double scale = 1);

    // The size in points.
    CGSize size() const;
    double scale() const { return scale_; }
    std::size_t pixelWidth() const { return width_; }
    std::size_t pixelHeight() const { return height_; }
    const std::vector<std::uint8_t>& pixels() const { return rgba_; }
    // The RGBA bytes of one pixel; zeros outside the image.
    std::uint32_t pixelAt(std::size_t x, std::size_t y) const;

    // The image as PNG bytes (empty when encoding fails).
    std::vector<std::uint8_t> pngRepresentation() const;
    // The pixels as premultiplied 32-bit ARGB in native byte order, rows of width x 4 bytes.
    std::vector<std::uint32_t> premultipliedARGB() const;
    // Draws the image scaled into a rectangle of the current graphics context.
    void drawInRect(CGRect rect) const;

  private:
    bool isOpaque() const;
    bool writePNG(std::vector<std::uint8_t>* out, bool opaque) const;

    std::size_t width_;
    std::size_t height_;
    std::vector<std::uint8_t> rgba_;
    double scale_;
};

// The platform's free function for PNG bytes of an image; empty for null.
std::vector<std::uint8_t> UIImagePNGRepresentation(const UIImagePtr& image);
