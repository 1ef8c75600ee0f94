#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/ui/UIGeometry.h"
#include "platform/ui/UIImage.h"

class UIView;

// The pictures a screen shows. Encoding is the costly part of a screen, so an image is
// encoded once (as a PNG data URL) for as long as it lives, and a view that draws itself is
// drawn again only when it asked to be redrawn or changed size. Drawings go by address
// (kDrawingPath, the view's identifier, the drawing's version): a screen names them, and
// the browser fetches only those whose address changed, so a drag on a picker moves one
// picture per redraw rather than every picture per screen.
class ImageCache {
  public:
    // Pixels per point of the drawings of self-drawn views.
    static constexpr double kDrawingScale = 2;

    std::string dataURL(const UIImagePtr& image);
    static constexpr std::string_view kDrawingPath = "/api/drawing/";

    // The address of the drawing of a view that draws itself, cached under the view's
    // identifier; empty while the view has no size.
    std::string drawingOf(UIView& view, const std::string& identifier);
    // The PNG of a drawing an address named, while it is the view's latest.
    std::optional<std::string> drawingPNG(const std::string& identifier,
                                          std::uint64_t version) const;

    // Entries not used since the last call are dropped: their images or views have gone.
    void dropUnused();
    std::size_t drawingsMade() const { return drawingsMade_; }

  private:
    struct Encoded {
        std::weak_ptr<UIImage> image;
        std::string url;
        bool used = true;
    };
    struct Drawing {
        std::uint64_t generation = 0;
        CGSize size;
        std::uint64_t version = 0;
        std::string png;
        bool used = true;
    };

    static std::uint64_t subtreeGeneration(const UIView& view);
    static std::string encode(const std::vector<std::uint8_t>& png);

    std::unordered_map<const UIImage*, Encoded> images_;
    std::unordered_map<std::string, Drawing> drawings_;
    std::size_t drawingsMade_ = 0;
};
