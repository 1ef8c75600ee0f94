#pragma once

#include <nlohmann/json.hpp>

#include <optional>
#include <string>

#include "host/browser/ViewWriteContext.h"
#include "platform/ui/UITableView.h"

// Writes a table as the page draws it: its style, insets and offset, and its loaded sections
// and rows, each with its place; the views it holds (headers, footers, a cell's own views)
// are written through the context.
class TableWriter {
  public:
    explicit TableWriter(ViewWriteContext& context) : context_(context) {}

    void write(UITableView& table, nlohmann::json& node);

  private:
    nlohmann::json section(UITableView& table, const LoadedTableSection& section);
    void addSectionEnd(const UIViewPtr& view, const std::optional<std::string>& title,
                       const char* name, double height, nlohmann::json& node);
    nlohmann::json row(UITableView& table, const LoadedTableRow& row);
    nlohmann::json cellViews(UITableViewCell& cell);

    ViewWriteContext& context_;
};
