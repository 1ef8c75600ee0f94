#include "platform/foundation/NSRegularExpression.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

std::shared_ptr<NSRegularExpression> compile(std::string_view pattern, unsigned options = 0) {
    std::string error;
    auto expression = NSRegularExpression::regularExpressionWithPattern(pattern, options, &error);
    EXPECT_TRUE(expression) << pattern << ": " << error;
    return expression;
}

TEST(NSRegularExpression, FaultyPatternsGiveNullAndNameTheFaultAndWhere) {
    struct Case {
        const char* pattern;
        const char* error;
    };
    for (const Case& bad : {Case{"abc[", "Missing closing bracket at offset 4"},
                            Case{"(ab", "Missing closing parenthesis at offset 3"},
                            Case{"*x", "Syntax error at offset 1"},
                            Case{"a{2,1}", "Repetition maximum below its minimum at offset 6"}}) {
        std::string error;
        EXPECT_EQ(NSRegularExpression::regularExpressionWithPattern(
                      bad.pattern, NSRegularExpressionCaseInsensitive, &error),
                  nullptr)
            << bad.pattern;
        EXPECT_EQ(error, bad.error) << bad.pattern;
    }
    // Callers that only want to know may pass no error.
    EXPECT_EQ(NSRegularExpression::regularExpressionWithPattern("(", 0, nullptr), nullptr);
}

TEST(NSRegularExpression, CaseIsIgnoredOnlyWhenAsked) {
    auto exact = compile("anna@example\\.com");
    auto loose = compile("anna@example\\.com", NSRegularExpressionCaseInsensitive);
    EXPECT_FALSE(exact->firstMatchInString("From: ANNA@Example.com"));
    EXPECT_EQ(loose->firstMatchInString("From: ANNA@Example.com"), NSMakeRange(6, 16));
    // Case folding goes beyond ASCII.
    auto greek = compile("σοφία", NSRegularExpressionCaseInsensitive);
    EXPECT_TRUE(greek->firstMatchInString("ΣΟΦΊΑ"));
    EXPECT_EQ(loose->options(), NSRegularExpressionCaseInsensitive);
    EXPECT_EQ(loose->pattern(), "anna@example\\.com");
}

TEST(NSRegularExpression, RangesCountUtf8BytesAndLimitTheSearch) {
    auto word = compile("\\w+");
    // "Grüße" is 7 bytes: the ranges are byte offsets, not characters.
    std::string text = "Grüße aus Köln";
    EXPECT_EQ(word->firstMatchInString(text), NSMakeRange(0, 7));
    EXPECT_EQ(word->numberOfMatchesInString(text), 3u);
    EXPECT_EQ(word->firstMatchInString(text, NSMatchingNone, NSMakeRange(8, 20)),
              NSMakeRange(8, 3));
    EXPECT_EQ(word->numberOfMatchesInString(text, NSMatchingNone, NSMakeRange(8, 3)), 1u);
    // A range past the end is cut to the text; an empty one finds nothing.
    EXPECT_FALSE(word->firstMatchInString(text, NSMatchingNone, NSMakeRange(99, 5)));
    EXPECT_EQ(word->numberOfMatchesInString("", NSMatchingNone), 0u);
}

TEST(NSRegularExpression, EmptyMatchesAreCountedOncePerPosition) {
    EXPECT_EQ(compile("x*")->numberOfMatchesInString("abc"), 4u);
    EXPECT_EQ(compile("")->firstMatchInString("abc"), NSMakeRange(0, 0));
}

TEST(NSRegularExpression, RunawayBacktrackingGivesUpInsteadOfHanging) {
    auto evil = compile("(a+)+$");
    std::string text(40, 'a');
    text += 'b';
    auto started = std::chrono::steady_clock::now();
    EXPECT_FALSE(evil->firstMatchInString(text));
    EXPECT_EQ(evil->numberOfMatchesInString(text), 0u);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20));
}

}  // namespace
