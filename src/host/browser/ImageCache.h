#pragma once

#include <cstdint>
#include <deque>
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
// picture per redraw rather than every picture per screen. A fetch may arrive after the view
// was drawn again or left the page, so each view keeps its last few drawings, and a view
// missing from the latest screen keeps them until the screen after.
class ImageCache {
  public:
    // Pixels per point of the drawings of self-drawn views.
    static constexpr double kDrawingScale = 2;

    std::string dataURL(const UIImagePtr& image);
    static constexpr std::string_view kDrawingPath = "/api/drawing/";

    // The address of the drawing of a view that draws itself, cached under the view's
    // identifier; empty while the view has no size.
    std::string drawingOf(UIView& view, const std::string& identifier);
    // The PNG of a drawing an address named, while it is one of the view's kKeptDrawings.
    std::optional<std::string> drawingPNG(const std::string& identifier,
                                          std::uint64_t version) const;
    static constexpr std::size_t kKeptDrawings = 3;

    // Ends a screen. Images not used by it are dropped; drawings of views named by neither it
    // nor the screen before are dropped.
    void dropUnused();
    std::size_t drawingsMade() const { return drawingsMade_; }

  private:
    struct Encoded {
        std::weak_ptr<UIImage> image;
        std::string url;
        bool used = true;
    };
    struct Version {
        std::uint64_t number = 0;
        std::string png;
    };
    struct Drawing {
        std::uint64_t generation = 0;
        CGSize size;
        // Oldest first; the last is the one screens name.
        std::deque<Version> versions;
        std::uint64_t lastScreen = 0;
    };

    static std::uint64_t subtreeGeneration(const UIView& view);
    static std::string encode(const std::vector<std::uint8_t>& png);

    std::unordered_map<const UIImage*, Encoded> images_;
    std::unordered_map<std::string, Drawing> drawings_;
    std::size_t drawingsMade_ = 0;
    std::uint64_t screens_ = 0;
};
