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

// A typed character the settings file cannot hold would make every later save fail.
TEST(EventShapeTest, TypedTextsHoldOnlyWhatTheSettingsFileKeeps) {
    struct Case {
        const char* event;
        bool accepted;
    };
    const std::vector<Case> cases = {
        {R"({"type": "text", "id": "f", "text": "tab\tand\nlines\r\n"})", true},
        {R"({"type": "text", "id": "f", "text": "\u00e9\u4e2d\ud83d\ude00 \ufffd"})", true},
        {R"({"type": "text", "id": "f", "text": "a\u0000b"})", false},
        {R"({"type": "text", "id": "f", "text": "bell\u0007"})", false},
        {R"({"type": "text", "id": "f", "text": "\u001f"})", false},
        {R"({"type": "text", "id": "f", "text": "\uffff"})", false},
        {R"({"type": "text", "id": "f", "text": "\ufffe"})", false},
        {R"({"type": "alertAction", "index": 0, "texts": ["Work", "\u007f"]})", true},
        {R"({"type": "alertAction", "index": 0, "texts": ["Work", "\u0001"]})", false},
        // Ids and other names are looked up, never stored.
        {R"({"type": "control", "id": "\u0001", "event": "touchDown"})", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EventShape::check(json::parse(c.event)).ok(), c.accepted) << c.event;
    }
    EXPECT_EQ(
        EventShape::check(json::parse(R"({"type": "text", "id": "f", "text": "\u0002"})")).error(),
        "Event \"text\": \"text\" must be a string without control characters (tab and "
        "line breaks aside)");
}

TEST(EventShapeTest, AnImportBodyCarriesANamedBase64File) {
    struct Case {
        const char* body;
        const char* name;  // null: refused
        const char* bytes;
    };
    const Case cases[] = {
        {R"({"fileName": "Work.plist", "data": "PD94"})", "Work.plist", "<?x"},
        {R"({"fileName": "", "data": ""})", "", ""},
        {R"({"fileName": "Work.plist"})", nullptr, nullptr},
        {R"({"fileName": 7, "data": "PD94"})", nullptr, nullptr},
        {R"({"fileName": "Work.plist", "data": "not base64!"})", nullptr, nullptr},
        {R"(["Work.plist", "PD94"])", nullptr, nullptr},
    };
    for (const Case& c : cases) {
        Result<EventShape::ImportedFile> file = EventShape::importedFile(json::parse(c.body));
        ASSERT_EQ(file.ok(), c.name != nullptr) << c.body;
        if (c.name) {
            EXPECT_EQ(file->name, c.name) << c.body;
            EXPECT_EQ(file->bytes, c.bytes) << c.body;
        }
    }
}
