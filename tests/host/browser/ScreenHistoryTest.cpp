#include "host/browser/ScreenHistory.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

using nlohmann::json;

json screenWith(int revision, const std::string& color) {
    return {
        {"revision", revision},
        {"navigation", {{"title", "Home"}, {"depth", 1}}},
        {"page",
         {{"type", "UIView"},
          {"subviews", json::array({{{"type", "UIView"}, {"backgroundColor", color}},
                                    {{"type", "UILabel"}, {"text", std::string(400, 'x')}}})}}}};
}

// The page's side: the screen an answer stands for, given the screens it holds by number.
json applied(const json& answer, const std::map<std::uint64_t, json>& held) {
    if (!answer.contains("changes")) {
        json screen = answer;
        screen.erase("screenNumber");
        return screen;
    }
    return held.at(answer["basis"].get<std::uint64_t>()).patch(answer["changes"]);
}

TEST(ScreenHistoryTest, AnswersChangesOnlyAgainstAKeptBasis) {
    struct Case {
        const char* name;
        // Screens sent before the one measured; the basis names one of them by its place.
        int sentBefore;
        std::optional<std::uint64_t> basis;
        bool changesOnly;
    };
    const Case cases[] = {
        {"no basis", 1, std::nullopt, false},
        {"the last screen", 1, 1, true},
        {"an older kept screen", 3, 1, true},
        {"a screen never sent", 1, 99, false},
        {"a screen no longer kept", static_cast<int>(ScreenHistory::kKeptScreens) + 1, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScreenHistory history;
        std::map<std::uint64_t, json> held;
        for (int i = 0; i < c.sentBefore; ++i) {
            json answer = history.answer(screenWith(i, "#ff0000"), std::nullopt);
            held[answer["screenNumber"].get<std::uint64_t>()] = applied(answer, held);
        }
        json next = screenWith(50, "#00ff00");
        json answer = history.answer(next, c.basis);
        EXPECT_EQ(answer.contains("changes"), c.changesOnly);
        EXPECT_EQ(answer["revision"], 50);
        EXPECT_EQ(answer["screenNumber"], c.sentBefore + 1);
        if (c.changesOnly) {
            EXPECT_LT(answer.dump().size(), next.dump().size() / 2);
        }
        EXPECT_EQ(applied(answer, held), next);
    }
}

// A new page shares nothing with the old one: its changes would be larger than itself.
// A page pushed: every row differs, so the patch is no smaller than the screen. (A small
// patch goes as it is, whatever the screen's size.)
TEST(ScreenHistoryTest, SendsTheWholeScreenWhenTheChangesAreNoSmaller) {
    ScreenHistory history;
    history.answer(screenWith(1, "#ff0000"), std::nullopt);
    json rows = json::array();
    for (int row = 0; row < 1000; ++row) {
        rows.push_back("row " + std::to_string(row));
    }
    json other = {{"revision", 2}, {"page", rows}};
    json answer = history.answer(other, 1);
    EXPECT_FALSE(answer.contains("changes"));
    EXPECT_EQ(answer["page"], other["page"]);
}

TEST(ScreenHistoryTest, ParsesOnlyAPlainDecimalBasis) {
    const std::pair<const char*, std::optional<std::uint64_t>> cases[] = {
        {"12", 12},
        {"0", 0},
        {"", std::nullopt},
        {"12a", std::nullopt},
        {"-1", std::nullopt},
        {" 1", std::nullopt},
        {"99999999999999999999", std::nullopt},
    };
    for (const auto& [header, expected] : cases) {
        EXPECT_EQ(ScreenHistory::parseBasis(header), expected) << header;
    }
}

}  // namespace
