#include "host/browser/EventShape.h"

#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

#include "platform/foundation/Base64.h"
#include "platform/foundation/XmlPlistWriter.h"

namespace {

using nlohmann::json;

// Rows, sections and indexes stay far below this; anything larger is a broken client.
constexpr std::int64_t kLargestIndex = 1'000'000;

// Typed texts (Text, TextList) hold only characters the settings file can keep: a control
// character pasted into a field would make every later save of the settings fail.
enum class Kind { Index, Point, IndexPair, String, Text, Bool, TextList, Value, Number };
enum class Presence { Required, Optional };

struct Field {
    std::string_view name;
    Kind kind;
    Presence presence;
};

struct Shape {
    std::string_view type;
    std::vector<Field> fields;
};

const std::vector<Shape>& shapes() {
    using enum Kind;
    using enum Presence;
    static const std::vector<Shape> all = {
        {"tapRow", {{"section", Index, Required}, {"row", Index, Required}}},
        {"moveRow", {{"from", IndexPair, Required}, {"to", IndexPair, Required}}},
        {"deleteRow", {{"section", Index, Required}, {"row", Index, Required}}},
        {"longPress", {{"point", Point, Required}}},
        {"control",
         {{"id", String, Required},
          {"event", String, Required},
          {"point", Point, Optional},
          {"value", Value, Optional}}},
        {"text", {{"id", String, Required}, {"text", Text, Required}, {"end", Bool, Optional}}},
        {"alertAction", {{"index", Index, Required}, {"texts", TextList, Optional}}},
        {"back", {}},
        {"undo", {}},
        {"redo", {}},
        {"appearance", {{"value", String, Required}}},
        {"scroll", {{"id", String, Required}, {"offset", Number, Required}}},
    };
    return all;
}

bool isIndex(const json& value) {
    return value.is_number_integer() && value.get<std::int64_t>() >= 0 &&
           value.get<std::int64_t>() <= kLargestIndex;
}

bool isPoint(const json& value) {
    return value.is_array() && value.size() == 2 && value[0].is_number() && value[1].is_number();
}

bool isIndexPair(const json& value) {
    return value.is_array() && value.size() == 2 && isIndex(value[0]) && isIndex(value[1]);
}

bool isText(const json& value) {
    return value.is_string() && XmlPlistWriter::carries(value.get_ref<const std::string&>());
}

bool isTextList(const json& value) {
    return value.is_array() && std::all_of(value.begin(), value.end(), isText);
}

bool isScalar(const json& value) {
    return value.is_number() || value.is_boolean() || value.is_string();
}

bool hasKind(const json& value, Kind kind) {
    switch (kind) {
        case Kind::Index:
            return isIndex(value);
        case Kind::Point:
            return isPoint(value);
        case Kind::IndexPair:
            return isIndexPair(value);
        case Kind::String:
            return value.is_string();
        case Kind::Bool:
            return value.is_boolean();
        case Kind::Text:
            return isText(value);
        case Kind::TextList:
            return isTextList(value);
        case Kind::Value:
            return isScalar(value);
        case Kind::Number:
            return value.is_number() && std::isfinite(value.get<double>());
    }
    return false;
}

std::string_view describe(Kind kind) {
    switch (kind) {
        case Kind::Index:
            return "a non-negative integer";
        case Kind::Point:
            return "an array of two numbers [x, y]";
        case Kind::IndexPair:
            return "an array of two non-negative integers [section, row]";
        case Kind::String:
            return "a string";
        case Kind::Bool:
            return "true or false";
        case Kind::Text:
            return "a string without control characters (tab and line breaks aside)";
        case Kind::TextList:
            return "an array of strings without control characters (tab and line breaks aside)";
        case Kind::Value:
            return "a number, a boolean or a string";
        case Kind::Number:
            return "a finite number";
    }
    return "";
}

Status checkField(const json& event, std::string_view type, const Field& field) {
    auto found = event.find(std::string(field.name));
    if (found == event.end()) {
        return field.presence == Presence::Optional
                   ? Status::success()
                   : Status::failure(fmt::format("Event \"{}\" needs \"{}\"", type, field.name));
    }
    if (!hasKind(*found, field.kind)) {
        return Status::failure(
            fmt::format("Event \"{}\": \"{}\" must be {}", type, field.name, describe(field.kind)));
    }
    return Status::success();
}

Status checkChoices(const json& event, std::string_view type) {
    static constexpr std::array<std::string_view, 5> kControlEvents = {
        "touchDown", "touchDragInside", "touchUpInside", "touchUpOutside", "valueChanged"};
    if (type == "control") {
        auto name = event["event"].get<std::string>();
        if (std::find(kControlEvents.begin(), kControlEvents.end(), name) == kControlEvents.end()) {
            return Status::failure(fmt::format("Unknown control event \"{}\"", name));
        }
    }
    if (type == "appearance") {
        auto value = event["value"].get<std::string>();
        if (value != "light" && value != "dark") {
            return Status::failure("Appearance must be \"light\" or \"dark\"");
        }
    }
    return Status::success();
}

}  // namespace

Status EventShape::check(const json& event) {
    if (!event.is_object()) {
        return Status::failure("An event must be a JSON object");
    }
    auto type = event.find("type");
    if (type == event.end() || !type->is_string()) {
        return Status::failure("An event needs a string \"type\"");
    }
    const std::string name = type->get<std::string>();
    auto shape = std::find_if(shapes().begin(), shapes().end(),
                              [&](const Shape& s) { return s.type == name; });
    if (shape == shapes().end()) {
        return Status::failure(fmt::format("Unknown event type \"{}\"", name));
    }
    for (const Field& field : shape->fields) {
        if (Status status = checkField(event, name, field); !status) {
            return status;
        }
    }
    return checkChoices(event, name);
}

CGPoint EventShape::pointOf(const json& value) {
    return CGPoint{value.at(0).get<double>(), value.at(1).get<double>()};
}

Result<EventShape::ImportedFile> EventShape::importedFile(const nlohmann::json& upload) {
    using R = Result<ImportedFile>;
    auto name = upload.is_object() ? upload.find("fileName") : upload.end();
    auto data = upload.is_object() ? upload.find("data") : upload.end();
    if (name == upload.end() || !name->is_string() || data == upload.end() || !data->is_string()) {
        return R::failure("An import needs the texts \"fileName\" and \"data\"");
    }
    auto bytes = Base64::decode(data->get_ref<const std::string&>());
    if (!bytes) {
        return R::failure("The file's \"data\" is not base64");
    }
    return ImportedFile{name->get<std::string>(), std::string(bytes->begin(), bytes->end())};
}
