#pragma once

#include <nlohmann/json.hpp>

#include <string>

#include "platform/ui/UIGeometry.h"
#include "platform/ui/UIImage.h"

class UIView;

// What a view kind may ask of the writer while it writes a view: the JSON of a view it holds
// (a table's header, a cell's subviews), a view's name, and the addresses of pictures. The
// kinds see this and nothing else of the writer, so the writer calls the kinds and never the
// other way round.
class ViewWriteContext {
  public:
    virtual ~ViewWriteContext() = default;

    virtual nlohmann::json view(UIView& view) = 0;
    // A view written with the frame given instead of its own (a cell's views, framed in it).
    virtual nlohmann::json viewAt(UIView& view, CGRect frame) = 0;
    virtual std::string identifierOf(UIView& view) = 0;
    virtual std::string imageURL(const UIImagePtr& image) = 0;
    // The address of the drawing of a view that draws itself.
    virtual std::string drawingURL(UIView& view) = 0;
};
