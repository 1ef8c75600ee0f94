#include "platform/ui/UIFont.h"

#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <array>
#include <mutex>

namespace {

// Metrics are taken at one reference size and scaled: with hinting off, advances are linear.
constexpr double kReferenceSize = 100;

struct FaceMetrics {
    cairo_scaled_font_t* font = nullptr;
    double ascent = 0;
    double descent = 0;
    double height = 0;
};

FaceMetrics makeFace(bool bold) {
    cairo_font_face_t* face =
        cairo_toy_font_face_create("DejaVu Sans", CAIRO_FONT_SLANT_NORMAL,
                                   bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_matrix_t size;
    cairo_matrix_init_scale(&size, kReferenceSize, kReferenceSize);
    cairo_matrix_t identity;
    cairo_matrix_init_identity(&identity);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    FaceMetrics metrics;
    metrics.font = cairo_scaled_font_create(face, &size, &identity, options);
    cairo_font_options_destroy(options);
    cairo_font_face_destroy(face);
    cairo_font_extents_t extents;
    cairo_scaled_font_extents(metrics.font, &extents);
    metrics.ascent = extents.ascent;
    metrics.descent = extents.descent;
    metrics.height = extents.ascent + extents.descent;
    return metrics;
}

std::mutex& faceMutex() {
    static std::mutex mutex;
    return mutex;
}

// The two faces, made on first use. At exit they are released with cairo's and fontconfig's
// caches, so that leak checkers see a clean process.
struct FaceCache {
    std::array<FaceMetrics, 2> faces{makeFace(false), makeFace(true)};
    ~FaceCache() {
        for (auto& face : faces) {
            cairo_scaled_font_destroy(face.font);
            face.font = nullptr;
        }
        cairo_debug_reset_static_data();
        FcFini();
    }
};

const FaceMetrics& faceMetrics(bool bold) {
    static FaceCache cache;
    return cache.faces[bold ? 1 : 0];
}

// Length of a well-formed UTF-8 sequence at the start of text, or 0 when it is malformed.
std::size_t sequenceLength(std::string_view text) {
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    unsigned char lead = byte(0);
    std::size_t length = lead < 0x80                   ? 1
                         : lead >= 0xC2 && lead < 0xE0 ? 2
                         : lead >= 0xE0 && lead < 0xF0 ? 3
                         : lead >= 0xF0 && lead < 0xF5 ? 4
                                                       : 0;
    if (length == 0 || length > text.size()) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) {
            return 0;
        }
    }
    // Overlong three- and four-byte forms, surrogates and values past U+10FFFF.
    if ((lead == 0xE0 && byte(1) < 0xA0) || (lead == 0xED && byte(1) >= 0xA0) ||
        (lead == 0xF0 && byte(1) < 0x90) || (lead == 0xF4 && byte(1) >= 0x90)) {
        return 0;
    }
    return length;
}

// Cairo marks a scaled font as failed for good when it is given malformed UTF-8, so every
// text is made well-formed first.
std::string wellFormed(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    while (!text.empty()) {
        std::size_t length = sequenceLength(text);
        if (length == 0) {
            result += "\xEF\xBF\xBD";
            length = 1;
        } else {
            result.append(text.substr(0, length));
        }
        text.remove_prefix(length);
    }
    return result;
}

}  // namespace

UIFont UIFont::systemFontOfSize(double fontSize) {
    return UIFont(fontSize, false);
}

UIFont UIFont::boldSystemFontOfSize(double fontSize) {
    return UIFont(fontSize, true);
}

UIFont UIFont::fontWithSize(double fontSize) const {
    return UIFont(fontSize, bold_);
}

double UIFont::ascender() const {
    return faceMetrics(bold_).ascent * pointSize_ / kReferenceSize;
}

double UIFont::descender() const {
    return -faceMetrics(bold_).descent * pointSize_ / kReferenceSize;
}

double UIFont::lineHeight() const {
    return faceMetrics(bold_).height * pointSize_ / kReferenceSize;
}

double UIFont::widthOfString(std::string_view text) const {
    const FaceMetrics& face = faceMetrics(bold_);
    if (text.empty() || pointSize_ <= 0 || !face.font) {
        return 0;
    }
    std::string clean = wellFormed(text);
    cairo_text_extents_t extents;
    {
        std::lock_guard lock(faceMutex());
        cairo_scaled_font_text_extents(face.font, clean.c_str(), &extents);
    }
    return std::max(0.0, extents.x_advance) * pointSize_ / kReferenceSize;
}

CGSize UIFont::sizeOfString(std::string_view text) const {
    return CGSize{widthOfString(text), lineHeight()};
}
