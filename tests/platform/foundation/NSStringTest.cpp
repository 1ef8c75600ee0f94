#include "platform/foundation/NSString.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

namespace {

TEST(NSStringNumbers, FloatValueReadsTheLongestLeadingNumber) {
    EXPECT_FLOAT_EQ(NSString::floatValue("  \t12.5kg"), 12.5f);
    EXPECT_FLOAT_EQ(NSString::floatValue("-.5"), -0.5f);
    EXPECT_FLOAT_EQ(NSString::floatValue("+3."), 3.0f);
    EXPECT_FLOAT_EQ(NSString::floatValue("1e3x"), 1000.0f);
    // An exponent without digits is not part of the number.
    EXPECT_FLOAT_EQ(NSString::floatValue("2e"), 2.0f);
    EXPECT_FLOAT_EQ(NSString::floatValue("7.25.3"), 7.25f);
    // No number at the start.
    for (const char* none : {"", "abc", ".", "-", "x12", "inf", "nan", "0x10p1", "- 3"}) {
        EXPECT_EQ(NSString::floatValue(none), 0.0f) << none;
    }
    EXPECT_TRUE(std::isinf(NSString::floatValue("1e999")));
    EXPECT_LT(NSString::floatValue("-1e999"), 0.0f);
    EXPECT_EQ(NSString::floatValue("1e-999"), 0.0f);
}

TEST(NSStringNumbers, IntValueSaturatesAtThirtyTwoBits) {
    EXPECT_EQ(NSString::intValue(" 42 apples"), 42);
    EXPECT_EQ(NSString::intValue("-17"), -17);
    EXPECT_EQ(NSString::intValue("+8"), 8);
    EXPECT_EQ(NSString::intValue("3.9"), 3);
    EXPECT_EQ(NSString::intValue("two"), 0);
    EXPECT_EQ(NSString::intValue("2147483647"), INT_MAX);
    EXPECT_EQ(NSString::intValue("2147483648"), INT_MAX);
    EXPECT_EQ(NSString::intValue("-2147483648"), INT_MIN);
    EXPECT_EQ(NSString::intValue("-99999999999999999999999"), INT_MIN);
    EXPECT_EQ(NSString::intValue("00000000000000000000012"), 12);
}

TEST(NSStringText, UppercaseAndTrimFollowUnicode) {
    EXPECT_EQ(NSString::uppercaseString("#abc123"), "#ABC123");
    EXPECT_EQ(NSString::uppercaseString("straße ǆ é"), "STRASSE Ǆ É");
    // The same in every language: no Turkish dotted capital I.
    EXPECT_EQ(NSString::uppercaseString("istanbul"), "ISTANBUL");

    EXPECT_EQ(NSString::stringByTrimmingCharactersInSet("  # FF \n", " \n"), "# FF");
    EXPECT_EQ(NSString::stringByTrimmingCharactersInSet("··ab·c··", "·"), "ab·c");
    EXPECT_EQ(NSString::stringByTrimmingCharactersInSet("xxxx", "x"), "");
    EXPECT_EQ(NSString::stringByTrimmingCharactersInSet("abc", ""), "abc");
}

TEST(NSStringPaths, ComponentsAndExtensions) {
    struct Case {
        const char* path;
        const char* last;
        const char* extension;
        const char* withoutExtension;
    };
    for (const Case& c :
         {Case{"Pack/Chime.m4r", "Chime.m4r", "m4r", "Pack/Chime"},
          Case{"Bells.m4r", "Bells.m4r", "m4r", "Bells"}, Case{"/a.b/c", "c", "", "/a.b/c"},
          Case{"/tmp/x.tar.gz/", "x.tar.gz", "gz", "/tmp/x.tar"},
          Case{".profile", ".profile", "", ".profile"},
          Case{"dir/.hidden", ".hidden", "", "dir/.hidden"}, Case{"name.", "name.", "", "name"},
          Case{"/", "/", "", "/"}, Case{"", "", "", ""}}) {
        EXPECT_EQ(NSString::lastPathComponent(c.path), c.last) << c.path;
        EXPECT_EQ(NSString::pathExtension(c.path), c.extension) << c.path;
        EXPECT_EQ(NSString::stringByDeletingPathExtension(c.path), c.withoutExtension) << c.path;
    }
}

TEST(NSStringPaths, PercentEscapesRoundTrip) {
    EXPECT_EQ(NSString::stringByAddingPercentEscapes("/Library/Ringtones/My Tone #2.m4r"),
              "/Library/Ringtones/My%20Tone%20%232.m4r");
    EXPECT_EQ(NSString::stringByAddingPercentEscapes("Grün 100%?"), "Gr%C3%BCn%20100%25%3F");
    EXPECT_EQ(NSString::stringByAddingPercentEscapes("a-b_c.d~e!$&'()*+,;=:@"),
              "a-b_c.d~e!$&'()*+,;=:@");

    for (const char* text : {"", "plain", "/var/mobile/Ünïcödé tone 😀.wav", "%%%", "a\nb\tc"}) {
        std::optional<std::string> back =
            NSString::stringByRemovingPercentEncoding(NSString::stringByAddingPercentEscapes(text));
        ASSERT_TRUE(back) << text;
        EXPECT_EQ(*back, text);
    }
    for (const char* bad : {"%", "%4", "%zz", "%C3"}) {
        EXPECT_FALSE(NSString::stringByRemovingPercentEncoding(bad)) << bad;
    }
}

TEST(NSStringCompare, LocalizedCaseInsensitiveSortsAsTheLanguageDoes) {
    EXPECT_EQ(NSString::localizedCaseInsensitiveCompare("chime", "Chime"), NSOrderedSame);
    EXPECT_EQ(NSString::localizedCaseInsensitiveCompare("apple", "Banana"), NSOrderedAscending);
    // Accents still count, but weigh less than the letters themselves.
    EXPECT_NE(NSString::localizedCaseInsensitiveCompare("resume", "résumé"), NSOrderedSame);
    std::vector<std::string> names = {"Zebra", "éclair", "apple", "Eagle", "10 Tone", "2 Tone"};
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return NSString::localizedCaseInsensitiveCompare(a, b) == NSOrderedAscending;
    });
    EXPECT_EQ(names,
              (std::vector<std::string>{"10 Tone", "2 Tone", "apple", "Eagle", "éclair", "Zebra"}));
}

}  // namespace
