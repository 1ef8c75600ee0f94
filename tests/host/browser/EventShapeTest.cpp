#include "host/browser/EventShape.h"

#include <gtest/gtest.h>

using nlohmann::json;

// What the page sends must pass: a refusal here would make a control dead in the browser.
TEST(EventShapeTest, EveryEventThePageSendsIsAccepted) {
    const std::vector<std::string> events = {
        R"({"type": "tapRow", "section": 0, "row": 12})",
        R"({"type": "moveRow", "from": [1, 0], "to": [2, 3]})",
        R"({"type": "deleteRow", "section": 1, "row": 0})",
        R"({"type": "longPress", "point": [12.5, 300]})",
        R"({"type": "control", "id": "7", "event": "touchDown", "point": [1, 2]})",
        R"({"type": "control", "id": "s", "event": "valueChanged", "value": true})",
        R"({"type": "control", "id": "s", "event": "valueChanged", "value": 0.25, "point": [3, 4]})",
        R"({"type": "control", "id": "p", "event": "touchUpOutside", "point": [-5, 400]})",
        R"({"type": "text", "id": "f", "text": "", "end": true})",
        R"({"type": "alertAction", "index": 1})",
        R"({"type": "alertAction", "index": 0, "texts": ["Home", ""]})",
        R"({"type": "back", "extra": "ignored"})",
        R"({"type": "appearance", "value": "dark"})",
        R"({"type": "undo"})",
        R"({"type": "redo"})",
    };
    for (const std::string& text : events) {
        Status status = EventShape::check(json::parse(text));
        EXPECT_TRUE(status.ok()) << text << ": " << status.error();
    }
}

TEST(EventShapeTest, RefusalsNameTheField) {
    EXPECT_EQ(EventShape::check(json::parse(R"({"type": "tapRow", "section": 0})")).error(),
              "Event \"tapRow\" needs \"row\"");
    EXPECT_EQ(
        EventShape::check(json::parse(R"({"type": "moveRow", "from": [0, 1], "to": 3})")).error(),
        "Event \"moveRow\": \"to\" must be an array of two non-negative integers "
        "[section, row]");
    EXPECT_FALSE(
        EventShape::check(json::parse(R"({"type": "tapRow", "section": 0, "row": 1e12})")));
    EXPECT_FALSE(EventShape::check(
        json::parse(R"({"type": "tapRow", "section": 0, "row": 18446744073709551615})")));
}
