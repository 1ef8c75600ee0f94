#include "host/browser/TableWriter.h"

#include <algorithm>
#include <iterator>

#include "host/browser/WireText.h"
#include "platform/ui/UITableViewHeaderFooterView.h"

namespace {

using nlohmann::json;

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

void TableWriter::write(UITableView& table, json& node) {
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
        node["headerView"] = context_.view(*table.tableHeaderView());
    }
    if (table.tableFooterView()) {
        node["footerView"] = context_.view(*table.tableFooterView());
    }
}

json TableWriter::section(UITableView& table, const LoadedTableSection& loaded) {
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
void TableWriter::addSectionEnd(const UIViewPtr& view, const std::optional<std::string>& title,
                                const char* name, double height, json& node) {
    node[name] = title.value_or("");
    node[std::string(name) + "Height"] = height;
    bool titled = dynamic_cast<UITableViewHeaderFooterView*>(view.get()) && title;
    if (view && !titled) {
        node[std::string(name) + "View"] = context_.view(*view);
    }
}

json TableWriter::row(UITableView& table, const LoadedTableRow& loaded) {
    UITableViewCell& cell = *loaded.cell;
    cell.layoutIfNeeded();
    const UILabel& text = *cell.textLabel();
    const UILabel& detail = *cell.detailTextLabel();
    const UIImagePtr& image = cell.imageView()->image();
    return {{"id", context_.identifierOf(cell)},
            {"row", loaded.indexPath.row()},
            {"y", loaded.y},
            {"height", loaded.height},
            {"text", text.text()},
            {"detail", cell.showsDetailTextLabel() ? detail.text() : ""},
            {"detailHidden", !cell.showsDetailTextLabel() || detail.isHidden()},
            {"textColor", WireText::color(text.textColor())},
            {"detailColor", WireText::color(detail.textColor())},
            {"backgroundColor", WireText::optionalColor(cell.backgroundColor())},
            {"image", image && !cell.imageView()->isHidden() ? json(context_.imageURL(image))
                                                             : json(nullptr)},
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
json TableWriter::cellViews(UITableViewCell& cell) {
    json views = json::array();
    const UIView* standard[] = {cell.textLabel().get(), cell.detailTextLabel().get(),
                                cell.imageView().get()};
    for (const UIViewPtr& subview : cell.contentView()->subviews()) {
        if (std::find(std::begin(standard), std::end(standard), subview.get()) ==
            std::end(standard)) {
            views.push_back(context_.viewAt(*subview, frameIn(*subview, cell)));
        }
    }
    for (const UIViewPtr& subview : cell.subviews()) {
        if (subview != cell.contentView()) {
            views.push_back(context_.viewAt(*subview, subview->frame()));
        }
    }
    return views;
}
