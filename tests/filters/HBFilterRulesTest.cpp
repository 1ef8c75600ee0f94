#include <gtest/gtest.h>

#include <array>

#include "filters/HBSearchFormula.h"
#include "host/HeadlessHost.h"
#include "model/HBFilterKind.h"
#include "model/HBFilterRecord.h"

namespace {

// Absent, OR, AND for each field.
enum class Use { Absent, Or, And };

std::string joined(const std::vector<std::string>& words, const std::string& separator) {
    std::string text;
    for (std::size_t i = 0; i < words.size(); ++i) {
        text += (i ? separator : "") + words[i];
    }
    return text;
}

// How a reader of the list would say it: the OR fields in brackets, ANDed with the rest.
std::string expectedFormula(const std::vector<std::string>& words, const std::vector<Use>& uses) {
    std::vector<std::string> anyOf;
    std::vector<std::string> allOf;
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (uses[i] == Use::Or) {
            anyOf.push_back(words[i]);
        } else if (uses[i] == Use::And) {
            allOf.push_back(words[i]);
        }
    }
    if (anyOf.empty() || allOf.empty()) {
        return joined(anyOf, " OR ") + joined(allOf, " AND ");
    }
    return "(" + joined(anyOf, " OR ") + ") AND " + joined(allOf, " AND ");
}

std::vector<HBSearchFormula::Term> terms(const std::vector<std::string>& words,
                                         const std::vector<Use>& uses) {
    std::vector<HBSearchFormula::Term> result;
    for (std::size_t i = 0; i < words.size(); ++i) {
        result.push_back({words[i], uses[i] != Use::Absent, uses[i] == Use::And ? 1 : 0});
    }
    return result;
}

TEST(SearchFormulaTest, EveryCombinationOfFourFields) {
    const std::vector<std::string> words{"From", "To", "Cc", "Subject"};
    for (int code = 0; code < 81; ++code) {
        std::vector<Use> uses;
        for (int i = 0, rest = code; i < 4; ++i, rest /= 3) {
            uses.push_back(static_cast<Use>(rest % 3));
        }
        EXPECT_EQ(HBSearchFormula::formulaWithTerms(terms(words, uses)),
                  expectedFormula(words, uses))
            << "combination " << code;
    }
}

TEST(SearchFormulaTest, UndefinedMatchTypesAndFolderWords) {
    // A present field of an unknown match type takes no part.
    EXPECT_EQ(HBSearchFormula::formulaWithTerms(
                  {{"From", true, 2}, {"To", true, 0}, {"Cc", true, -1}, {"Subject", true, 1}}),
              "(To) AND Subject");
    EXPECT_EQ(HBSearchFormula::formulaWithTerms(
                  {{"Name", true, 0}, {"Path", true, 0}, {"Level", true, 1}}),
              "(Name OR Path) AND Level");
    EXPECT_EQ(HBSearchFormula::formulaWithTerms(
                  {{"Name", false, 0}, {"Path", false, 1}, {"Level", true, 1}}),
              "Level");
}

PlistValue record(std::initializer_list<std::pair<const char*, PlistValue>> entries) {
    PlistValue made = PlistValue::dictionary();
    for (const auto& [key, value] : entries) {
        made.set(key, value);
    }
    return made;
}

TEST(FilterRecordTest, TitleIsTheFirstPresentText) {
    const HBFilterKind& messages = HBFilterKind::messages();
    const HBFilterKind& folders = HBFilterKind::folders(1);
    struct Case {
        PlistValue record;
        const HBFilterKind& kind;
        std::string title;
    };
    const Case cases[] = {
        {record({{"from", ""}, {"to", ""}, {"cc", ""}, {"subject", ""}}), messages, ""},
        {record({{"filterName", ""}, {"from", "abc"}}), messages, "abc"},
        {record({{"filterName", "Bills"}, {"from", "abc"}}), messages, "Bills"},
        {record({{"cc", "c"}, {"subject", "s"}}), messages, "c"},
        // A number where a text belongs counts as missing.
        {record({{"filterName", PlistValue::integer(3)}, {"to", "t"}}), messages, "t"},
        {record({{"folderLevel", "2"}}), folders, "2"},
        {record({{"folderPath", "a/b"}, {"folderLevel", "2"}}), folders, "a/b"},
        // Message fields mean nothing to a folder filter.
        {record({{"from", "x"}}), folders, ""},
        {PlistValue("not a record"), messages, ""},
        {PlistValue(), messages, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HBFilterRecord::title(c.record, c.kind), c.title);
    }
}

TEST(FilterRecordTest, PreviewBlendsOverWhiteAndPicksReadableText) {
    struct Case {
        PlistValue color;
        std::int64_t level;
        std::string background;
        bool whiteText;
    };
    const Case cases[] = {
        {"#000000", 100, "#000000", true},
        {"#000000", 25, "#BFBFBF", false},
        {"#000000", 0, "#FFFFFF", false},
        {"#1E88E5", 0, "#FFFFFF", false},
        {"#FF0000", 100, "#FF0000", true},
        {"#0000FF", 100, "#0000FF", true},
        {"#0000FF", 25, "#BFBFFF", false},
        // Seven digits are above white, and text without digits reads as white.
        {"#1000000", 100, "#FFFFFF", false},
        {"#zz", 100, "#FFFFFF", false},
    };
    for (const Case& c : cases) {
        auto preview = HBFilterRecord::preview(record({{"hexColor", c.color}}), c.level);
        ASSERT_TRUE(preview);
        EXPECT_EQ(HeadlessHost::describeColor(preview->background), c.background)
            << *c.color.stringValue() << " at " << c.level;
        EXPECT_EQ(preview->whiteText, c.whiteText) << *c.color.stringValue() << " at " << c.level;
        EXPECT_EQ(preview->text == UIColor::whiteColor(), c.whiteText);
    }
    EXPECT_FALSE(HBFilterRecord::preview(record({{"from", "a"}}), 100));
    EXPECT_FALSE(HBFilterRecord::preview(record({{"hexColor", PlistValue::integer(0)}}), 100));
}

TEST(FilterRecordTest, PatternsAreCheckedAsIcuExpressions) {
    // ICU syntax that std::regex would refuse.
    for (const char* good : {"", "(?i)bills", "\\p{L}+@", "^(invoice|receipt)\\b", "a{2,}",
                             "(?<name>x)", "[[:alpha:]]"}) {
        EXPECT_FALSE(HBFilterRecord::patternError(good)) << good;
    }
    for (const char* bad : {"(", "a)", "[", "*a", "a{2"}) {
        EXPECT_TRUE(HBFilterRecord::patternError(bad)) << bad;
    }
    EXPECT_EQ(HBFilterRecord::patternError("("), "Missing closing parenthesis at offset 1");
}

}  // namespace
