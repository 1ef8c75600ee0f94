#include "host/browser/ViewTreeWriter.h"

#include <fmt/format.h>

#include <cmath>

#include "host/browser/ViewKinds.h"
#include "platform/ui/ColorText.h"
#include "platform/ui/UIAlertController.h"
#include "platform/ui/UITableViewHeaderFooterView.h"
#include "platform/ui/UITextField.h"

namespace {

using nlohmann::json;

json frameOf(CGRect frame) {
    return json::array({frame.origin.x, frame.origin.y, frame.size.width, frame.size.height});
}

const char* tableStyleName(UITableViewStyle style) {
    switch (style) {
        case UITableViewStylePlain:
            return "plain";
        case UITableViewStyleInsetGrouped:
            return "insetGrouped";
        default:
            return "grouped";
    }
}

const char* accessoryName(UITableViewCellAccessoryType type) {
    switch (type) {
        case UITableViewCellAccessoryDisclosureIndicator:
            return "disclosureIndicator";
        case UITableViewCellAccessoryCheckmark:
            return "checkmark";
        case UITableViewCellAccessoryDetailButton:
        case UITableViewCellAccessoryDetailDisclosureButton:
            return "detailButton";
        default:
            return "none";
    }
}

const char* editingStyleName(UITableViewCellEditingStyle style) {
    switch (style) {
        case UITableViewCellEditingStyleDelete:
            return "delete";
        case UITableViewCellEditingStyleInsert:
            return "insert";
        default:
            return "none";
    }
}

const char* actionStyleName(UIAlertActionStyle style) {
    switch (style) {
        case UIAlertActionStyleCancel:
            return "cancel";
        case UIAlertActionStyleDestructive:
            return "destructive";
        default:
            return "default";
    }
}

json optionalColor(const OptionalColor& color) {
    return color ? json(ViewTreeWriter::color(*color)) : json(nullptr);
}

json optionalText(const std::optional<std::string>& text) {
    return text ? json(*text) : json(nullptr);
}

// A view's frame in the coordinates of an ancestor.
CGRect frameIn(const UIView& view, const UIView& ancestor) {
    CGRect frame = view.frame();
    if (view.superview() && view.superview() != &ancestor) {
        frame.origin = view.superview()->convertPointToView(frame.origin, &ancestor);
    }
    return frame;
}

// While editing, the row's own style; outside editing, delete for a row that takes a swipe.
UITableViewCellEditingStyle shownEditingStyle(UITableView& table, const LoadedTableRow& loaded) {
    if (loaded.cell->isEditing()) {
        return loaded.cell->editingStyle();
    }
    return table.offersDeleteForRowAtIndexPath(loaded.indexPath) ? UITableViewCellEditingStyleDelete
                                                                 : UITableViewCellEditingStyleNone;
}

}  // namespace

const char* ViewTreeWriter::keyboardName(UIKeyboardType type) {
    static constexpr const char* kNames[] = {
        "default",  "asciiCapable", "numbersAndPunctuation", "URL",       "numberPad",
        "phonePad", "namePhonePad", "emailAddress",          "decimalPad"};
    auto index = static_cast<std::size_t>(type);
    return index < std::size(kNames) ? kNames[index] : "default";
}

std::string ViewTreeWriter::color(const UIColor& color) {
    return ColorText::format(color);
}

json ViewTreeWriter::view(UIView& view) {
    return viewAt(view, view.frame());
}

json ViewTreeWriter::viewAt(UIView& view, CGRect frame) {
    view.layoutIfNeeded();
    json node = {{"type", view.className()},
                 {"id", identifiers_.identifierFor(view)},
                 {"frame", frameOf(frame)}};
    addLayer(view, node);
    addContent(view, node);
    return node;
}

void ViewTreeWriter::addLayer(const UIView& view, json& node) {
    if (view.backgroundColor()) {
        node["backgroundColor"] = color(*view.backgroundColor());
    }
    if (view.alpha() != 1) {
        node["alpha"] = view.alpha();
    }
    if (view.isHidden()) {
        node["hidden"] = true;
    }
    // Labels and other views that take no touches let them through to the views beneath.
    if (!view.isUserInteractionEnabled()) {
        node["userInteraction"] = false;
    }
    const CALayer& layer = view.layer();
    if (layer.cornerRadius != 0) {
        node["cornerRadius"] = layer.cornerRadius;
    }
    if (layer.borderWidth != 0) {
        node["borderWidth"] = layer.borderWidth;
        node["borderColor"] = optionalColor(layer.borderColor);
    }
    if (layer.masksToBounds) {
        node["clipsToBounds"] = true;
    }
    if (layer.shadowColor && layer.shadowOpacity > 0) {
        node["shadow"] = {{"color", color(*layer.shadowColor)},
                          {"opacity", layer.shadowOpacity},
                          {"offset", {layer.shadowOffset.width, layer.shadowOffset.height}},
                          {"radius", layer.shadowRadius}};
    }
}

void ViewTreeWriter::addContent(UIView& view, json& node) {
    const ViewKind& kind = ViewKinds::of(view);
    if (kind.name != ViewKinds::kSelfDrawn && kind.name != "UIView" && kind.name != node["type"]) {
        node["kind"] = kind.name;
    }
    kind.write(view, *this, node);
    if (kind.subviews == ViewKind::Subviews::Written) {
        addSubviews(view, node);
    }
}

std::string ViewTreeWriter::imageURL(const UIImagePtr& image) {
    return images_.dataURL(image);
}

std::string ViewTreeWriter::drawingURL(UIView& view) {
    return images_.drawingOf(view, identifiers_.identifierFor(view));
}

void ViewTreeWriter::addSubviews(UIView& view, json& node) {
    if (view.subviews().empty()) {
        return;
    }
    json subviews = json::array();
    for (const UIViewPtr& subview : view.subviews()) {
        subviews.push_back(this->view(*subview));
    }
    node["subviews"] = std::move(subviews);
}

void ViewTreeWriter::writeTable(UITableView& table, json& node) {
    node["style"] = tableStyleName(table.style());
    node["editing"] = table.isEditing();
    UIEdgeInsets inset = table.adjustedContentInset();
    node["contentInset"] = {inset.top, inset.left, inset.bottom, inset.right};
    node["contentOffset"] = {table.contentOffset().x, table.contentOffset().y};
    json sections = json::array();
    for (const LoadedTableSection& loaded : table.snapshot()) {
        sections.push_back(section(table, loaded));
    }
    node["sections"] = std::move(sections);
    node["contentHeight"] = table.contentSize().height;
    if (table.tableHeaderView()) {
        node["headerView"] = view(*table.tableHeaderView());
    }
    if (table.tableFooterView()) {
        node["footerView"] = view(*table.tableFooterView());
    }
}

json ViewTreeWriter::section(UITableView& table, const LoadedTableSection& loaded) {
    json node = json::object();
    addSectionEnd(loaded.headerView, loaded.headerTitle, "header", loaded.headerHeight, node);
    addSectionEnd(loaded.footerView, loaded.footerTitle, "footer", loaded.footerHeight, node);
    // Only the rows the table made cells for travel, each with its place.
    json rows = json::array();
    for (const LoadedTableRow& loadedRow : loaded.rows) {
        if (loadedRow.cell) {
            rows.push_back(row(table, loadedRow));
        }
    }
    node["rowCount"] = loaded.rows.size();
    node["rowsY"] = loaded.rowsY;
    node["rowsHeight"] = loaded.rowsHeight;
    node["rows"] = std::move(rows);
    return node;
}

// A title shows as text; a view the delegate made itself shows as a view.
void ViewTreeWriter::addSectionEnd(const UIViewPtr& view, const std::optional<std::string>& title,
                                   const char* name, double height, json& node) {
    node[name] = title.value_or("");
    node[std::string(name) + "Height"] = height;
    bool titled = dynamic_cast<UITableViewHeaderFooterView*>(view.get()) && title;
    if (view && !titled) {
        node[std::string(name) + "View"] = this->view(*view);
    }
}

json ViewTreeWriter::row(UITableView& table, const LoadedTableRow& loaded) {
    UITableViewCell& cell = *loaded.cell;
    cell.layoutIfNeeded();
    const UILabel& text = *cell.textLabel();
    const UILabel& detail = *cell.detailTextLabel();
    const UIImagePtr& image = cell.imageView()->image();
    return {{"id", identifiers_.identifierFor(cell)},
            {"row", loaded.indexPath.row()},
            {"y", loaded.y},
            {"height", loaded.height},
            {"text", text.text()},
            {"detail", cell.showsDetailTextLabel() ? detail.text() : ""},
            {"detailHidden", !cell.showsDetailTextLabel() || detail.isHidden()},
            {"textColor", color(text.textColor())},
            {"detailColor", color(detail.textColor())},
            {"backgroundColor", optionalColor(cell.backgroundColor())},
            {"image",
             image && !cell.imageView()->isHidden() ? json(images_.dataURL(image)) : json(nullptr)},
            {"accessory", cell.accessoryView() ? "none" : accessoryName(cell.accessoryType())},
            {"enabled", text.isEnabled()},
            {"userInteraction", cell.isUserInteractionEnabled()},
            {"selectable", cell.selectionStyle() != UITableViewCellSelectionStyleNone},
            {"reorder", cell.showsReorderControl()},
            {"editingStyle", editingStyleName(shownEditingStyle(table, loaded))},
            {"views", cellViews(cell)}};
}

// The cell's own subviews and those of its content view, less the standard labels and image
// view that the row's fields already show, framed in the cell.
json ViewTreeWriter::cellViews(UITableViewCell& cell) {
    json views = json::array();
    const UIView* standard[] = {cell.textLabel().get(), cell.detailTextLabel().get(),
                                cell.imageView().get()};
    for (const UIViewPtr& subview : cell.contentView()->subviews()) {
        if (std::find(std::begin(standard), std::end(standard), subview.get()) ==
            std::end(standard)) {
            views.push_back(viewAt(*subview, frameIn(*subview, cell)));
        }
    }
    for (const UIViewPtr& subview : cell.subviews()) {
        if (subview != cell.contentView()) {
            views.push_back(viewAt(*subview, subview->frame()));
        }
    }
    return views;
}

json ViewTreeWriter::alert(const UIAlertController& alert) {
    json fields = json::array();
    for (const UITextFieldPtr& field : alert.textFields()) {
        fields.push_back({{"placeholder", field->placeholder()},
                          {"text", field->text()},
                          {"keyboardType", keyboardName(field->keyboardType())},
                          {"secure", field->secureTextEntry()}});
    }
    json actions = json::array();
    for (const UIAlertActionPtr& action : alert.actions()) {
        actions.push_back({{"title", action->title()},
                           {"style", actionStyleName(action->style())},
                           {"enabled", action->isEnabled()}});
    }
    return {{"title", optionalText(alert.alertTitle())},
            {"message", optionalText(alert.message())},
            {"textFields", std::move(fields)},
            {"actions", std::move(actions)}};
}
