#include "host/browser/ImageCache.h"

#include "platform/foundation/Base64.h"
#include "platform/ui/UIView.h"
#include "platform/ui/ViewRenderer.h"

std::string ImageCache::encode(const std::vector<std::uint8_t>& png) {
    if (png.empty()) {
        return "";
    }
    std::string url = "data:image/png;base64,";
    Base64::appendLines(url, png, png.size(), "");
    while (!url.empty() && url.back() == '\n') {
        url.pop_back();
    }
    return url;
}

std::string ImageCache::dataURL(const UIImagePtr& image) {
    if (!image) {
        return "";
    }
    auto found = images_.find(image.get());
    if (found == images_.end() || found->second.image.lock() != image) {
        found =
            images_
                .insert_or_assign(image.get(), Encoded{image, encode(image->pngRepresentation())})
                .first;
    }
    found->second.used = true;
    return found->second.url;
}

// The drawing shows the view's subviews too, so a redraw of any of them counts.
std::uint64_t ImageCache::subtreeGeneration(const UIView& view) {
    std::uint64_t generation = view.displayGeneration();
    for (const UIViewPtr& subview : view.subviews()) {
        generation += subtreeGeneration(*subview) + 1;
    }
    return generation;
}

std::string ImageCache::drawingOf(UIView& view, const std::string& identifier) {
    CGSize size = view.bounds().size;
    std::uint64_t generation = subtreeGeneration(view);
    Drawing& drawing = drawings_[identifier];
    bool stale =
        drawing.versions.empty() || drawing.generation != generation || drawing.size != size;
    if (stale && size.width > 0 && size.height > 0) {
        std::vector<std::uint8_t> png = ViewRenderer::renderViewToPNG(view, size, kDrawingScale);
        drawing.generation = generation;
        drawing.size = size;
        // Versions never repeat, so an address names one picture for good.
        drawing.versions.push_back({++drawingsMade_, std::string(png.begin(), png.end())});
        if (drawing.versions.size() > kKeptDrawings) {
            drawing.versions.pop_front();
        }
    }
    drawing.lastScreen = screens_;
    if (drawing.versions.empty() || drawing.versions.back().png.empty()) {
        return "";
    }
    return std::string(kDrawingPath) + identifier + "/" +
           std::to_string(drawing.versions.back().number);
}

std::optional<std::string> ImageCache::drawingPNG(const std::string& identifier,
                                                  std::uint64_t version) const {
    auto found = drawings_.find(identifier);
    if (found == drawings_.end()) {
        return std::nullopt;
    }
    for (const Version& kept : found->second.versions) {
        if (kept.number == version && !kept.png.empty()) {
            return kept.png;
        }
    }
    return std::nullopt;
}

void ImageCache::dropUnused() {
    std::erase_if(images_, [](const auto& entry) { return !entry.second.used; });
    for (auto& [image, encoded] : images_) {
        encoded.used = false;
    }
    std::erase_if(drawings_,
                  [this](const auto& entry) { return entry.second.lastScreen + 1 < screens_; });
    ++screens_;
}
