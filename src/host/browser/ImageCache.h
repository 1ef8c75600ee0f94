#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

#include "platform/ui/UIGeometry.h"
#include "platform/ui/UIImage.h"

class UIView;

// PNG data URLs of the pictures a screen shows. Encoding is the costly part of a screen, so
// an image is encoded once for as long as it lives, and a view that draws itself is drawn
// again only when it asked to be redrawn or changed size.
class ImageCache {
  public:
    // Pixels per point of the drawings of self-drawn views.
    static constexpr double kDrawingScale = 2;

    std::string dataURL(const UIImagePtr& image);
    // The drawing of a view that draws itself, cached under the view's identifier.
    std::string drawingOf(UIView& view, const std::string& identifier);

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
        std::string url;
        bool used = true;
    };

    static std::uint64_t subtreeGeneration(const UIView& view);
    static std::string encode(const std::vector<std::uint8_t>& png);

    std::unordered_map<const UIImage*, Encoded> images_;
    std::unordered_map<std::string, Drawing> drawings_;
    std::size_t drawingsMade_ = 0;
};
