#include "host/browser/DemoScreenSource.h"

#include <fmt/format.h>

#include <array>
#include <cmath>

namespace {

using nlohmann::json;

const std::array<std::string, 3> kLabelTypes = {"Bar", "Dot", "Full"};

bool dark(const ScreenOptions& options) {
    return options.appearance == "dark";
}

}  // namespace

DemoScreenSource::DemoScreenSource(const ScreenOptions& options) : options_(options) {}

std::string DemoScreenSource::title(Page page) const {
    switch (page) {
        case Page::Root:
            return "Huebadge";
        case Page::LabelType:
            return "Label Type";
        case Page::Filters:
            return "Filters";
    }
    return "";
}

json DemoScreenSource::screen() {
    Page page = pages_.back();
    json content = page == Page::Root        ? rootPage()
                   : page == Page::LabelType ? labelTypePage()
                                             : filtersPage();
    return {
        {"navigation",
         {{"title", title(page)},
          {"back", pages_.size() > 1 ? json(title(pages_[pages_.size() - 2])) : json(nullptr)}}},
        {"page", std::move(content)},
        {"alert", alertShown_ ? alert() : json(nullptr)},
        {"appearance", options_.appearance},
        {"screen", {{"width", options_.width}, {"height", options_.height}}},
    };
}

json DemoScreenSource::row(const std::string& text, const std::string& detail,
                           const std::string& accessory) const {
    return {{"height", 44},
            {"text", text},
            {"detail", detail},
            {"textColor", dark(options_) ? "#FFFFFFFF" : "#000000FF"},
            {"detailColor", "#8E8E93FF"},
            {"backgroundColor", dark(options_) ? "#1C1C1EFF" : "#FFFFFFFF"},
            {"image", nullptr},
            {"accessory", accessory},
            {"enabled", true},
            {"userInteraction", true},
            {"detailHidden", false},
            {"reorder", false},
            {"editingStyle", "none"},
            {"views", json::array()}};
}

json DemoScreenSource::table(json sections) const {
    return {{"type", "UITableView"},
            {"id", "table"},
            {"frame", {0, 0, options_.width, options_.height}},
            {"style", "grouped"},
            {"editing", false},
            {"backgroundColor", dark(options_) ? "#000000FF" : "#F2F2F7FF"},
            {"sections", std::move(sections)}};
}

json DemoScreenSource::rootPage() const {
    json enabled = row("Enabled", "", "none");
    enabled["views"].push_back({{"type", "UISwitch"},
                                {"id", "enabled"},
                                {"frame", {options_.width - 83, 6, 51, 31}},
                                {"on", enabled_},
                                {"enabled", true}});
    json alpha = row("", "", "none");
    alpha["views"] = {{{"type", "UILabel"},
                       {"id", "alpha-label"},
                       {"frame", {16, 0, 110, 44}},
                       {"text", fmt::format("Alpha {}", std::lround(alphaLevel_))},
                       {"textColor", dark(options_) ? "#FFFFFFFF" : "#000000FF"},
                       {"font", {{"size", 17}, {"bold", false}}}},
                      {{"type", "UISlider"},
                       {"id", "alpha"},
                       {"frame", {130, 7, options_.width - 162, 30}},
                       {"value", alphaLevel_},
                       {"min", 0},
                       {"max", 100},
                       {"enabled", true}}};
    json general = {{"header", "GENERAL"},
                    {"footer", "A sample screen, shown until the pane is connected."},
                    {"rows",
                     {row("Label Type", labelType_, "disclosureIndicator"), enabled, alpha,
                      row("Name", name_, "none"),
                      row("Filters", std::to_string(filters_.size()), "disclosureIndicator"),
                      row("Help", "", "none")}}};
    return table(json::array({general}));
}

json DemoScreenSource::labelTypePage() const {
    json rows = json::array();
    for (const std::string& type : kLabelTypes) {
        rows.push_back(row(type, "", type == labelType_ ? "checkmark" : "none"));
    }
    return table(json::array({{{"header", "LABEL TYPE"}, {"footer", ""}, {"rows", rows}}}));
}

json DemoScreenSource::filtersPage() const {
    json rows = json::array();
    for (const std::string& filter : filters_) {
        json entry = row(filter, "", "none");
        entry["reorder"] = true;
        entry["editingStyle"] = "delete";
        rows.push_back(std::move(entry));
    }
    json page = table(json::array({{{"header", "ENABLED"}, {"footer", ""}, {"rows", rows}}}));
    page["style"] = "plain";
    page["editing"] = true;
    return page;
}

json DemoScreenSource::alert() const {
    return {
        {"title", "Name"},
        {"message", "Please enter a name"},
        {"textFields", {{{"placeholder", "Name"}, {"text", name_}, {"keyboardType", "default"}}}},
        {"actions",
         {{{"title", "Save"}, {"style", "default"}}, {{"title", "Cancel"}, {"style", "cancel"}}}}};
}

Status DemoScreenSource::handleEvent(const json& event) {
    const std::string type = event["type"].get<std::string>();
    if (alertShown_ && type != "alertAction" && type != "appearance") {
        return Status::failure("An alert is shown: answer it first");
    }
    if (type == "tapRow") {
        return tapRow(event);
    }
    if (type == "moveRow") {
        return moveRow(event);
    }
    if (type == "deleteRow") {
        return deleteRow(event);
    }
    if (type == "control") {
        return control(event);
    }
    if (type == "alertAction") {
        return alertAction(event);
    }
    if (type == "back") {
        return back();
    }
    if (type == "appearance") {
        options_.appearance = event["value"].get<std::string>();
        return changed();
    }
    if (type == "longPress") {
        sharedFile_ = SharedFile{"huebadge-demo.txt", "text/plain", "Label type: " + labelType_};
        return Status::success();
    }
    return Status::failure(fmt::format("This screen has nothing for \"{}\"", type));
}

Status DemoScreenSource::tapRow(const json& event) {
    auto section = event["section"].get<std::size_t>();
    auto row = event["row"].get<std::size_t>();
    if (pages_.back() == Page::Root) {
        return tapRootRow(section, row);
    }
    if (pages_.back() == Page::Filters) {
        return section == 0 && row < filters_.size() ? Status::success()
                                                     : Status::failure("No such row");
    }
    if (section != 0 || row >= kLabelTypes.size()) {
        return Status::failure("No such row");
    }
    labelType_ = kLabelTypes[row];
    return changed();
}

Status DemoScreenSource::tapRootRow(std::size_t section, std::size_t row) {
    if (section != 0 || row > 5) {
        return Status::failure("No such row");
    }
    if (row == 0) {
        pages_.push_back(Page::LabelType);
    } else if (row == 3) {
        alertShown_ = true;
    } else if (row == 4) {
        pages_.push_back(Page::Filters);
    } else if (row == 5) {
        openedURLs_.push_back("https://example.invalid/huebadge/help");
    }
    return changed();
}

Status DemoScreenSource::control(const json& event) {
    const std::string id = event["id"].get<std::string>();
    if (pages_.back() != Page::Root || (id != "enabled" && id != "alpha")) {
        return Status::failure(fmt::format("No control \"{}\" on this page", id));
    }
    const json value = event.value("value", json());
    if (event["event"] != "valueChanged") {
        return Status::success();
    }
    if (id == "enabled" && value.is_boolean()) {
        enabled_ = value.get<bool>();
    } else if (id == "alpha" && value.is_number()) {
        alphaLevel_ = std::clamp(value.get<double>(), 0.0, 100.0);
    } else {
        return Status::failure(fmt::format("Control \"{}\" needs a value of its kind", id));
    }
    return changed();
}

Status DemoScreenSource::alertAction(const json& event) {
    auto index = event["index"].get<std::size_t>();
    if (!alertShown_ || index > 1) {
        return Status::failure(alertShown_ ? "No such action" : "No alert is shown");
    }
    const json texts = event.value("texts", json::array());
    if (index == 0 && !texts.empty()) {
        name_ = texts[0].get<std::string>();
    }
    alertShown_ = false;
    return changed();
}

Status DemoScreenSource::moveRow(const json& event) {
    auto from = event["from"].get<std::vector<std::size_t>>();
    auto to = event["to"].get<std::vector<std::size_t>>();
    if (pages_.back() != Page::Filters || from[0] != 0 || to[0] != 0 ||
        from[1] >= filters_.size() || to[1] >= filters_.size()) {
        return Status::failure("No such rows to move");
    }
    std::string moved = filters_[from[1]];
    filters_.erase(filters_.begin() + static_cast<long>(from[1]));
    filters_.insert(filters_.begin() + static_cast<long>(to[1]), moved);
    return changed();
}

Status DemoScreenSource::deleteRow(const json& event) {
    auto row = event["row"].get<std::size_t>();
    if (pages_.back() != Page::Filters || event["section"] != 0 || row >= filters_.size()) {
        return Status::failure("No such row to delete");
    }
    filters_.erase(filters_.begin() + static_cast<long>(row));
    return changed();
}

Status DemoScreenSource::back() {
    if (pages_.size() < 2) {
        return Status::failure("This is the first page");
    }
    pages_.pop_back();
    return changed();
}

Status DemoScreenSource::changed() {
    ++revision_;
    return Status::success();
}

std::optional<SharedFile> DemoScreenSource::takeSharedFile() {
    return std::exchange(sharedFile_, std::nullopt);
}

std::vector<std::string> DemoScreenSource::takeOpenedURLs() {
    return std::exchange(openedURLs_, {});
}
