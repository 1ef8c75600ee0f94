#include "platform/foundation/XmlPlistReader.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/foundation/PropertyList.h"

namespace {

std::string document(const std::string& body) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
           "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
           "<plist version=\"1.0\">\n" +
           body + "\n</plist>\n";
}

Result<PlistValue> parseBody(const std::string& body) {
    return PropertyList::parse(document(body));
}

PlistValue value(const std::string& body) {
    Result<PlistValue> result = parseBody(body);
    EXPECT_TRUE(result.ok()) << body << ": " << result.error();
    return result.ok() ? result.value() : PlistValue();
}

std::string integer(const std::string& text) {
    return "<integer>" + text + "</integer>";
}

std::string nested(const std::string& open, const std::string& close, int depth) {
    std::string text;
    for (int i = 0; i < depth; ++i) {
        text += open;
    }
    for (int i = 0; i < depth; ++i) {
        text += close;
    }
    return text;
}

}  // namespace

TEST(XmlPlistReader, IntegersAreDecimalOrHexWithinSixtyFourBits) {
    EXPECT_EQ(value(integer("010")), PlistValue::integer(10));
    EXPECT_EQ(value(integer("-42")), PlistValue::integer(-42));
    EXPECT_EQ(value(integer("+7")), PlistValue::integer(7));
    EXPECT_EQ(value(integer("0x1F")), PlistValue::integer(31));
    EXPECT_EQ(value(integer("-9223372036854775808")), PlistValue::integer(INT64_MIN));
    EXPECT_EQ(value(integer("18446744073709551615")), PlistValue::unsignedInteger(UINT64_MAX));
    EXPECT_TRUE(value(integer("9223372036854775808")).isUnsignedInteger());
    for (const char* bad : {"", "abc", "12abc", "1.5", "--1", "+-1", "-0x10", "0x", "1 2",
                            "18446744073709551616", "-9223372036854775809"}) {
        EXPECT_FALSE(parseBody(integer(bad)).ok()) << bad;
    }
}

TEST(XmlPlistReader, RealsDatesAndData) {
    EXPECT_EQ(value("<real>0.1</real>"), PlistValue::real(0.1));
    EXPECT_EQ(value("<real>-1e+300</real>"), PlistValue::real(-1e300));
    EXPECT_EQ(value("<real>5e-324</real>"), PlistValue::real(5e-324));
    EXPECT_EQ(value("<real>-inf</real>").doubleValue(), -INFINITY);
    EXPECT_TRUE(std::isnan(value("<real>nan</real>").doubleValue()));
    EXPECT_EQ(value("<real>3</real>"), PlistValue::real(3.0));
    EXPECT_FALSE(parseBody("<real>one</real>").ok());

    EXPECT_EQ(value("<date>1970-01-01T00:00:00Z</date>"), PlistValue::date(0));
    EXPECT_EQ(value("<date>2024-02-29T23:59:59Z</date>"), PlistValue::date(1709251199));
    EXPECT_EQ(value("<date>0001-01-01T00:00:00Z</date>"), PlistValue::date(-62135596800.0));
    for (const char* bad : {"2023-02-29T00:00:00Z", "2024-13-01T00:00:00Z", "2024-01-01T24:00:00Z",
                            "2024-01-01T00:60:00Z", "2024-01-01 00:00:00Z", "2024-01-01T00:00:00",
                            "0000-01-01T00:00:00Z", "yesterday"}) {
        EXPECT_FALSE(parseBody(std::string("<date>") + bad + "</date>").ok()) << bad;
    }

    EXPECT_EQ(value("<data>\n\tAAEC\n\t/w==\n</data>"), PlistValue::data({0, 1, 2, 255}));
    EXPECT_EQ(value("<data></data>"), PlistValue::data({}));
    for (const char* bad : {"AAE", "AA=A", "A===", "AA==AA==", "AA*C"}) {
        EXPECT_FALSE(parseBody(std::string("<data>") + bad + "</data>").ok()) << bad;
    }
}

TEST(XmlPlistReader, StringsKeepTheirTextAndEntities) {
    EXPECT_EQ(value("<string> a &lt;b&gt; &amp; &#13;&#x1F600; </string>"),
              PlistValue(" a <b> & \r\xF0\x9F\x98\x80 "));
    EXPECT_EQ(value("<string/>"), PlistValue(""));
    // Character data arriving in several chunks is joined.
    std::string longText(100000, 'x');
    longText[50000] = '&';
    std::string escaped = longText;
    escaped.replace(50000, 1, "&amp;");
    EXPECT_EQ(value("<string>" + escaped + "</string>"), PlistValue(longText));
}

TEST(XmlPlistReader, DictionariesPairKeysWithValuesAndKeepTheLastRepeat) {
    PlistValue table = value(
        "<dict><key>b</key><integer>1</integer><key>a</key><array><true/><false/></array>"
        "<key>b</key><string>again</string><key></key><dict/></dict>");
    EXPECT_EQ(table.count(), 3u);
    EXPECT_EQ(table["b"], PlistValue("again"));
    EXPECT_EQ(table["a"][1], PlistValue::boolean(false));
    EXPECT_TRUE(table[""].isDictionary());
    // A bare root without the <plist> wrapper is read as well.
    EXPECT_EQ(PropertyList::parse("<array><string>x</string></array>").value()[0], PlistValue("x"));
}

TEST(XmlPlistReader, RefusesMalformedStructure) {
    for (const char* bad : {
             "<dict><key>a</key><key>b</key><true/></dict>",  // key after key
             "<dict><string>a</string></dict>",               // value without key
             "<array><key>a</key></array>",                   // key outside a dict
             "<string>a<b/></string>",                        // element inside a value
             "<true>yes</true>",                              // text inside a boolean
             "<array><plist/></array>",                       // nested plist
             "<string>&#1;</string>",                         // control character
             "<string>&undeclared;</string>",                 // unknown entity
             "",                                              // no value
         }) {
        Result<PlistValue> result = parseBody(bad);
        EXPECT_FALSE(result.ok()) << bad;
        EXPECT_FALSE(result.ok() || result.error().empty());
    }
    EXPECT_FALSE(PropertyList::parse("<plist/>").ok());
    EXPECT_FALSE(PropertyList::parse("no markup at all").ok());
}

TEST(XmlPlistReader, DepthLimitIsInclusiveAndDeepInputFailsCleanly) {
    int limit = PropertyList::kMaxDepth;
    EXPECT_TRUE(parseBody(nested("<array>", "</array>", limit)).ok());
    EXPECT_FALSE(parseBody(nested("<array>", "</array>", limit + 1)).ok());
    EXPECT_FALSE(parseBody(nested("<dict><key>k</key>", "</dict>", limit + 1)).ok());
    Result<PlistValue> deep = parseBody(nested("<array>", "</array>", 100000));
    ASSERT_FALSE(deep.ok());
    EXPECT_NE(deep.error().find("deeper"), std::string::npos) << deep.error();
}
