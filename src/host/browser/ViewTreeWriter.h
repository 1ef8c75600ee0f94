#pragma once

#include <nlohmann/json.hpp>

#include <string>

#include "host/browser/ImageCache.h"
#include "host/browser/ViewIdentifiers.h"
#include "platform/ui/UIColor.h"
#include "platform/ui/UITableView.h"

class UIAlertController;
class UIButton;
class UILabel;
class UISlider;
class UISwitch;
class UITextField;
class UITextView;

// Writes what the toolkit shows as the browser page's JSON: any view by its class and its
// properties, tables by their loaded sections and rows, and alerts. It knows the toolkit's
// classes only, never a page, so every page shows without changes here.
class ViewTreeWriter {
  public:
    ViewTreeWriter(ViewIdentifiers& identifiers, ImageCache& images)
        : identifiers_(identifiers), images_(images) {}

    nlohmann::json view(UIView& view);
    nlohmann::json alert(const UIAlertController& alert);
    // "#RRGGBBAA"
    static std::string color(const UIColor& color);

  private:
    nlohmann::json viewAt(UIView& view, CGRect frame);
    void addLayer(const UIView& view, nlohmann::json& node);
    void addContent(UIView& view, const std::string& identifier, nlohmann::json& node);
    void addSubviews(UIView& view, nlohmann::json& node);
    static void addLabel(const UILabel& label, nlohmann::json& node);
    static void addButton(const UIButton& button, nlohmann::json& node);
    static void addSwitch(const UISwitch& control, nlohmann::json& node);
    static void addSlider(const UISlider& slider, nlohmann::json& node);
    static void addTextField(const UITextField& field, nlohmann::json& node);
    static void addTextView(const UITextView& text, nlohmann::json& node);

    void addTable(UITableView& table, nlohmann::json& node);
    nlohmann::json section(const UITableViewSection& section);
    void addSectionEnd(const UIViewPtr& view, const std::optional<std::string>& title,
                       const char* name, double height, nlohmann::json& node);
    nlohmann::json row(const UITableViewRow& row);
    nlohmann::json cellViews(UITableViewCell& cell);

    ViewIdentifiers& identifiers_;
    ImageCache& images_;
};
