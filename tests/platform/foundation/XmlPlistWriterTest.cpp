#include "platform/foundation/XmlPlistWriter.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/foundation/PropertyList.h"

namespace {

constexpr const char* kHeader =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
    "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
    "<plist version=\"1.0\">\n";

std::string xml(const PlistValue& value) {
    Result<std::string> text = PropertyList::toXml(value);
    EXPECT_TRUE(text.ok()) << text.error();
    return text.ok() ? text.value() : std::string();
}

PlistValue nestedArrays(int depth) {
    PlistValue value = PlistValue::array();
    for (int i = 1; i < depth; ++i) {
        value = PlistValue(PlistValue::Array{value});
    }
    return value;
}

}  // namespace

// Nested layout is compared with plistlib's own output in HostilePlistTest and the interop
// test; these are the cases a settings file does not show.
TEST(XmlPlistWriter, LaysOutScalarRootsDeepDataAndEmptyContainers) {
    EXPECT_EQ(xml(PlistValue::data({})), std::string(kHeader) + "<data>\n</data>\n</plist>\n");
    EXPECT_EQ(xml(PlistValue::integer(-3)),
              std::string(kHeader) + "<integer>-3</integer>\n</plist>\n");
    PlistValue deep = PlistValue::data(PlistValue::Data(13, 'y'));
    for (int i = 0; i < 9; ++i) {
        deep = PlistValue(PlistValue::Array{deep, PlistValue::dictionary()});
    }
    // Nine levels in, lines hold the minimum of 16 characters (12 bytes).
    std::string tabs(9, '\t');
    std::string expected = tabs + "<data>\n" + tabs + "eXl5eXl5eXl5eXl5\n" + tabs + "eQ==\n" +
                           tabs + "</data>\n" + tabs + "<dict/>\n";
    EXPECT_NE(xml(deep).find(expected), std::string::npos) << xml(deep);
}

TEST(XmlPlistWriter, RealsUseThePythonReprSpelling) {
    struct Case {
        double value;
        const char* text;
    };
    for (Case c : {Case{0.1, "0.1"},
                   {1.0, "1.0"},
                   {-0.0, "-0.0"},
                   {1e300, "1e+300"},
                   {1e16, "1e+16"},
                   {1234567890123456.0, "1234567890123456.0"},
                   {1e-5, "1e-05"},
                   {0.0001, "0.0001"},
                   {123.456, "123.456"},
                   {5e-324, "5e-324"},
                   {1.7976931348623157e308, "1.7976931348623157e+308"},
                   {INFINITY, "inf"},
                   {-INFINITY, "-inf"},
                   {NAN, "nan"}}) {
        EXPECT_EQ(XmlPlistWriter::formatReal(c.value), c.text);
    }
}

TEST(XmlPlistWriter, RefusesWhatCannotBeReadBack) {
    for (std::string bad : {std::string("bell\x07"), std::string("nul\0", 4),
                            std::string("\xC3\x28"), std::string("\xED\xA0\x80"),
                            std::string("\xEF\xBF\xBF"), std::string("\xF4\x90\x80\x80")}) {
        EXPECT_FALSE(PropertyList::toXml(PlistValue(bad)).ok());
        PlistValue asKey = PlistValue::dictionary();
        asKey.set(bad, PlistValue::integer(1));
        EXPECT_FALSE(PropertyList::toXml(asKey).ok());
    }
    EXPECT_FALSE(PropertyList::toXml(PlistValue()).ok());
    EXPECT_FALSE(PropertyList::toXml(PlistValue(PlistValue::Array{PlistValue()})).ok());
    EXPECT_FALSE(PropertyList::toXml(PlistValue::date(-1e12)).ok());
    EXPECT_FALSE(PropertyList::toXml(PlistValue::date(NAN)).ok());
}

TEST(XmlPlistWriter, KeepsTabsNewlinesAndCarriageReturns) {
    PlistValue text("line\r\n\tnext\r");
    std::string written = xml(text);
    EXPECT_NE(written.find("<string>line&#13;\n\tnext&#13;</string>"), std::string::npos);
    EXPECT_EQ(PropertyList::parse(written).value(), text);
}

TEST(XmlPlistWriter, DepthLimitIsInclusiveAndMatchesTheReader) {
    Result<std::string> deepest = PropertyList::toXml(nestedArrays(PropertyList::kMaxDepth));
    ASSERT_TRUE(deepest.ok()) << deepest.error();
    EXPECT_TRUE(PropertyList::parse(deepest.value()).ok());
    PlistValue holdingLeaf(PlistValue::Array{PlistValue::integer(1)});
    for (int i = 1; i <= PropertyList::kMaxDepth; ++i) {
        holdingLeaf = PlistValue(PlistValue::Array{holdingLeaf});
    }
    for (const PlistValue& tooDeep : {nestedArrays(PropertyList::kMaxDepth + 1), holdingLeaf}) {
        Result<std::string> refused = PropertyList::toXml(tooDeep);
        ASSERT_FALSE(refused.ok());
        EXPECT_NE(refused.error().find("deeper"), std::string::npos);
    }
}
