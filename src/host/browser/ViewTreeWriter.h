#pragma once

#include <nlohmann/json.hpp>

#include <string>

#include "host/browser/ImageCache.h"
#include "host/browser/ViewIdentifiers.h"
#include "host/browser/ViewWriteContext.h"

class UIAlertController;

// Writes what the toolkit shows as the browser page's JSON: any view by its class and its
// properties, and alerts. It knows the toolkit's classes only, never a page, so every page
// shows without changes here. What each kind of view writes is its entry in ViewKinds, which
// writes through this writer's ViewWriteContext.
class ViewTreeWriter : public ViewWriteContext {
  public:
    ViewTreeWriter(ViewIdentifiers& identifiers, ImageCache& images)
        : identifiers_(identifiers), images_(images) {}

    nlohmann::json view(UIView& view) override;
    nlohmann::json viewAt(UIView& view, CGRect frame) override;
    nlohmann::json alert(const UIAlertController& alert);

    std::string identifierOf(UIView& view) override;
    std::string imageURL(const UIImagePtr& image) override;
    std::string drawingURL(UIView& view) override;

  private:
    void addLayer(const UIView& view, nlohmann::json& node);
    void addContent(UIView& view, nlohmann::json& node);
    void addSubviews(UIView& view, nlohmann::json& node);

    ViewIdentifiers& identifiers_;
    ImageCache& images_;
};
