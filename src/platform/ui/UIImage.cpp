#include "platform/ui/UIImage.h"

#include "platform/foundation/FileBytes.h"
#include "platform/system/DeviceRoot.h"
#include "platform/ui/UIGraphics.h"

#include <cairo.h>
#include <png.h>
#include <zlib.h>

#include <cstring>
#include <mutex>
#include <utility>

namespace {

struct ReadCursor {
    const std::vector<std::uint8_t>* data;
    std::size_t offset;
};

cairo_status_t readChunk(void* closure, unsigned char* out, unsigned int length) {
    auto* cursor = static_cast<ReadCursor*>(closure);
    if (cursor->data->size() - cursor->offset < length) {
        return CAIRO_STATUS_READ_ERROR;
    }
    std::memcpy(out, cursor->data->data() + cursor->offset, length);
    cursor->offset += length;
    return CAIRO_STATUS_SUCCESS;
}

void appendPNGBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void flushNothing(png_structp) {}

std::uint8_t unpremultiply(std::uint32_t channel, std::uint32_t alpha) {
    return static_cast<std::uint8_t>(alpha == 0 ? 0 : (channel * 255 + alpha / 2) / alpha);
}

std::uint8_t premultiply(std::uint32_t channel, std::uint32_t alpha) {
    return static_cast<std::uint8_t>((channel * alpha + 127) / 255);
}

// A cairo surface in any format drawn onto a new ARGB32 surface.
cairo_surface_t* argbCopy(cairo_surface_t* source, int width, int height) {
    cairo_surface_t* argb = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(argb);
    cairo_set_source_surface(cr, source, 0, 0);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(argb);
    return argb;
}

// A host that never asks keeps only the first few.
constexpr std::size_t kKeptUnreadablePaths = 256;

std::mutex& unreadableMutex() {
    static std::mutex mutex;
    return mutex;
}

std::vector<std::string>& unreadablePaths() {
    static std::vector<std::string> paths;
    return paths;
}

double scaleOfFileName(const std::string& path) {
    if (path.find("@3x.") != std::string::npos) {
        return 3;
    }
    return path.find("@2x.") != std::string::npos ? 2 : 1;
}

}  // namespace

UIImage::UIImage(std::size_t pixelWidth, std::size_t pixelHeight, std::vector<std::uint8_t> rgba,
                 double scale)
    : width_(pixelWidth), height_(pixelHeight), rgba_(std::move(rgba)), scale_(scale) {
    rgba_.resize(width_ * height_ * 4);
    if (scale_ <= 0) {
        scale_ = 1;
    }
}

// A folder or a read that fails part way gives null like a missing file.
UIImagePtr UIImage::imageWithContentsOfFile(const std::string& path) {
    Result<std::string> bytes = FileBytes::read(DeviceRoot::resolve(path));
    UIImagePtr image;
    if (bytes) {
        const std::string& read = bytes.value();
        image = imageWithPNGData(std::vector<std::uint8_t>(read.begin(), read.end()),
                                 scaleOfFileName(path));
    }
    if (!image) {
        std::lock_guard lock(unreadableMutex());
        if (unreadablePaths().size() < kKeptUnreadablePaths) {
            unreadablePaths().push_back(path);
        }
    }
    return image;
}

std::vector<std::string> UIImage::takeUnreadablePaths() {
    std::lock_guard lock(unreadableMutex());
    return std::exchange(unreadablePaths(), {});
}

UIImagePtr UIImage::imageWithPNGData(const std::vector<std::uint8_t>& data, double scale) {
    ReadCursor cursor{&data, 0};
    cairo_surface_t* surface = cairo_image_surface_create_from_png_stream(readChunk, &cursor);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return nullptr;
    }
    int width = cairo_image_surface_get_width(surface);
    int height = cairo_image_surface_get_height(surface);
    cairo_surface_t* argb = argbCopy(surface, width, height);
    cairo_surface_destroy(surface);
    UIImagePtr image = imageWithPremultipliedARGB(cairo_image_surface_get_data(argb), width, height,
                                                  cairo_image_surface_get_stride(argb), scale);
    cairo_surface_destroy(argb);
    return image;
}

UIImagePtr UIImage::imageWithPremultipliedARGB(const unsigned char* data, std::size_t width,
                                               std::size_t height, std::size_t stride,
                                               double scale) {
    std::vector<std::uint8_t> rgba(width * height * 4);
    for (std::size_t y = 0; data && y < height; ++y) {
        for (std::size_t x = 0; x < width; ++x) {
            std::uint32_t pixel;
            std::memcpy(&pixel, data + y * stride + x * 4, 4);
            std::uint32_t a = pixel >> 24;
            std::uint8_t* out = &rgba[(y * width + x) * 4];
            if (a == 0xFF) {  // most of a drawing: nothing to divide
                out[0] = static_cast<std::uint8_t>(pixel >> 16);
                out[1] = static_cast<std::uint8_t>(pixel >> 8);
                out[2] = static_cast<std::uint8_t>(pixel);
                out[3] = 0xFF;
                continue;
            }
            out[0] = unpremultiply((pixel >> 16) & 0xFF, a);
            out[1] = unpremultiply((pixel >> 8) & 0xFF, a);
            out[2] = unpremultiply(pixel & 0xFF, a);
            out[3] = static_cast<std::uint8_t>(a);
        }
    }
    return std::make_shared<UIImage>(width, height, std::move(rgba), scale);
}

std::vector<std::uint32_t> UIImage::premultipliedARGB() const {
    std::vector<std::uint32_t> argb(width_ * height_);
    for (std::size_t i = 0; i < argb.size(); ++i) {
        const std::uint8_t* p = &rgba_[i * 4];
        std::uint32_t a = p[3];
        argb[i] = (a << 24) | (std::uint32_t(premultiply(p[0], a)) << 16) |
                  (std::uint32_t(premultiply(p[1], a)) << 8) | premultiply(p[2], a);
    }
    return argb;
}

CGSize UIImage::size() const {
    return CGSize{static_cast<double>(width_) / scale_, static_cast<double>(height_) / scale_};
}

std::uint32_t UIImage::pixelAt(std::size_t x, std::size_t y) const {
    if (x >= width_ || y >= height_) {
        return 0;
    }
    const std::uint8_t* p = &rgba_[(y * width_ + x) * 4];
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) |
           p[3];
}

bool UIImage::isOpaque() const {
    for (std::size_t i = 3; i < rgba_.size(); i += 4) {
        if (rgba_[i] != 255) {
            return false;
        }
    }
    return true;
}

std::vector<std::uint8_t> UIImage::pngRepresentation() const {
    std::vector<std::uint8_t> png;
    if (width_ == 0 || height_ == 0 || !writePNG(&png, isOpaque())) {
        png.clear();
    }
    return png;
}

// Drawings are large and mostly smooth: rows filtered against the row above and the fastest
// zlib level keep encoding a few times cheaper than the default effort, for files about
// twice as large. An opaque image drops its alpha bytes as it is written.
bool UIImage::writePNG(std::vector<std::uint8_t>* out, bool opaque) const {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, out, appendPNGBytes, flushNothing);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width_), static_cast<png_uint_32>(height_), 8,
                 opaque ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, Z_BEST_SPEED);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_UP);
    png_write_info(png, info);
    if (opaque) {
        png_set_filler(png, 0, PNG_FILLER_AFTER);
    }
    for (std::size_t y = 0; y < height_; ++y) {
        png_write_row(png, &rgba_[y * width_ * 4]);
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

std::vector<std::uint8_t> UIImagePNGRepresentation(const UIImagePtr& image) {
    return image ? image->pngRepresentation() : std::vector<std::uint8_t>{};
}

void UIImage::drawInRect(CGRect rect) const {
    CGContextRef context = UIGraphicsGetCurrentContext();
    if (!context || width_ == 0 || height_ == 0 || rect.size.width <= 0 || rect.size.height <= 0) {
        return;
    }
    std::vector<std::uint32_t> argb = premultipliedARGB();
    int width = static_cast<int>(width_);
    int height = static_cast<int>(height_);
    cairo_surface_t* surface =
        cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(argb.data()),
                                            CAIRO_FORMAT_ARGB32, width, height, width * 4);
    cairo_t* cr = context->cairo();
    cairo_save(cr);
    cairo_translate(cr, rect.origin.x, rect.origin.y);
    cairo_scale(cr, rect.size.width / width, rect.size.height / height);
    cairo_set_source_surface(cr, surface, 0, 0);
    cairo_paint(cr);
    cairo_restore(cr);
    cairo_surface_destroy(surface);
}
