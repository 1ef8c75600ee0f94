#pragma once

#include <nlohmann/json.hpp>

#include <string>

#include "host/browser/ImageCache.h"
#include "host/browser/ViewIdentifiers.h"
#include "platform/ui/UIColor.h"
#include "platform/ui/UITableView.h"

#include "platform/ui/UITextField.h"

class UIAlertController;

// Writes what the toolkit shows as the browser page's JSON: any view by its class and its
// properties, tables by their loaded sections and rows, and alerts. It knows the toolkit's
// classes only, never a page, so every page shows without changes here. What each kind of
// view writes is its entry in ViewKinds.
class ViewTreeWriter {
  public:
    ViewTreeWriter(ViewIdentifiers& identifiers, ImageCache& images)
        : identifiers_(identifiers), images_(images) {}

    nlohmann::json view(UIView& view);
    nlohmann::json alert(const UIAlertController& alert);
    // ColorText's form.
    static std::string color(const UIColor& color);
    static const char* keyboardName(UIKeyboardType type);

    // For the kinds' entries: a table's style, sections and rows; an image's address; the
    // address of the drawing of a view that draws itself.
    void writeTable(UITableView& table, nlohmann::json& node);
    std::string imageURL(const UIImagePtr& image);
    std::string drawingURL(UIView& view);

  private:
    nlohmann::json viewAt(UIView& view, CGRect frame);
    void addLayer(const UIView& view, nlohmann::json& node);
    void addContent(UIView& view, nlohmann::json& node);
    void addSubviews(UIView& view, nlohmann::json& node);

    nlohmann::json section(UITableView& table, const LoadedTableSection& section);
    void addSectionEnd(const UIViewPtr& view, const std::optional<std::string>& title,
                       const char* name, double height, nlohmann::json& node);
    nlohmann::json row(UITableView& table, const LoadedTableRow& row);
    nlohmann::json cellViews(UITableViewCell& cell);

    ViewIdentifiers& identifiers_;
    ImageCache& images_;
};
