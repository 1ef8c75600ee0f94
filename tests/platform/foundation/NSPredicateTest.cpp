#include "platform/foundation/NSPredicate.h"

#include <gtest/gtest.h>

namespace {

bool like(std::string_view text, std::string pattern) {
    return NSPredicate::predicateWithFormatLike(std::move(pattern)).evaluateWithObject(text);
}

TEST(NSPredicateLike, StarsTakeAnyRunAndQuestionMarksOneCharacter) {
    EXPECT_TRUE(like("net.quorvel.huebadge_Work.plist", "net.quorvel.huebadge_*.plist"));
    EXPECT_TRUE(like("net.quorvel.huebadge_.plist", "net.quorvel.huebadge_*.plist"));
    EXPECT_TRUE(like("net.quorvel.huebadge_a.plist.plist", "net.quorvel.huebadge_*.plist"));
    EXPECT_FALSE(like("net.quorvel.huebadge.plist", "net.quorvel.huebadge_*.plist"));
    EXPECT_FALSE(like("net.quorvel.huebadge_Work.plist~", "net.quorvel.huebadge_*.plist"));
    EXPECT_FALSE(like("xnet.quorvel.huebadge_Work.plist", "net.quorvel.huebadge_*.plist"));
    EXPECT_FALSE(like("net.quorvel.huebadge_a.PLIST", "net.quorvel.huebadge_*.plist"));

    EXPECT_TRUE(like("abc", "a?c"));
    EXPECT_FALSE(like("ac", "a?c"));
    EXPECT_FALSE(like("abbc", "a?c"));
    // One character is one code point, however many bytes it takes.
    EXPECT_TRUE(like("aéc", "a?c"));
    EXPECT_TRUE(like("a😀c", "a?c"));
    EXPECT_TRUE(like("", "*"));
    EXPECT_FALSE(like("a", ""));
    EXPECT_TRUE(like("mississippi", "*iss*ipp?"));
    EXPECT_FALSE(like("mississippi", "*iss*ipp"));
}

TEST(NSPredicateLike, ManyStarsOverLongTextStayFast) {
    std::string text(20000, 'a');
    EXPECT_FALSE(like(text, "*a*a*a*a*a*a*a*a*b"));
    EXPECT_TRUE(like(text + "b", "*a*a*a*a*a*a*a*a*b"));
}

TEST(NSPredicateLike, FilteringKeepsMatchesInTheirOrder) {
    std::vector<std::string> names = {"net.quorvel.huebadge_b.plist", "net.quorvel.huebadge.plist",
                                      "net.quorvel.huebadge_a.plist", "other.plist"};
    auto predicate = NSPredicate::predicateWithFormatLike("net.quorvel.huebadge_*.plist");
    EXPECT_EQ(
        NSPredicate::filteredArrayUsingPredicate(names, predicate),
        (std::vector<std::string>{"net.quorvel.huebadge_b.plist", "net.quorvel.huebadge_a.plist"}));
    EXPECT_TRUE(NSPredicate::filteredArrayUsingPredicate({}, predicate).empty());
}

}  // namespace
