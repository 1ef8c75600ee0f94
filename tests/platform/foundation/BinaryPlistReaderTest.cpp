#include "platform/foundation/BinaryPlistReader.h"

#include <gtest/gtest.h>

#include "platform/foundation/BinaryPlistBuilder.h"
#include "platform/foundation/PropertyList.h"

namespace {

using B = BinaryPlistBuilder;
using namespace std::string_literals;

Result<PlistValue> parseScalar(const std::string& object) {
    BinaryPlistBuilder plist;
    return PropertyList::parse(plist.build(plist.raw(object)));
}

PlistValue scalar(const std::string& object) {
    Result<PlistValue> value = parseScalar(object);
    EXPECT_TRUE(value.ok()) << value.error();
    return value.ok() ? value.value() : PlistValue();
}

std::string nestedArrays(int depth) {
    BinaryPlistBuilder plist;
    std::size_t inner = plist.array({});
    for (int i = 1; i < depth; ++i) {
        inner = plist.array({inner});
    }
    return plist.build(inner);
}

}  // namespace

TEST(BinaryPlistReader, ReadsEveryIntegerWidth) {
    EXPECT_EQ(scalar("\x10\xFF"), PlistValue::integer(255));
    EXPECT_EQ(scalar(std::string("\x11\x01\x00", 3)), PlistValue::integer(256));
    EXPECT_EQ(scalar("\x12\xFF\xFF\xFF\xFF"), PlistValue::integer(4294967295));
    EXPECT_EQ(scalar("\x13" + B::bigEndian(static_cast<std::uint64_t>(-5), 8)),
              PlistValue::integer(-5));
    // Sixteen-byte integers carry 2^63..2^64-1 and sign-extended negatives.
    EXPECT_EQ(scalar("\x14" + B::bigEndian(0, 8) + B::bigEndian(UINT64_MAX, 8)),
              PlistValue::unsignedInteger(UINT64_MAX));
    EXPECT_EQ(scalar("\x14" + B::bigEndian(UINT64_MAX, 8) + B::bigEndian(1ULL << 63, 8)),
              PlistValue::integer(INT64_MIN));
    EXPECT_FALSE(parseScalar("\x14" + B::bigEndian(1, 8) + B::bigEndian(0, 8)).ok());
    EXPECT_FALSE(parseScalar("\x15" + std::string(32, '\0')).ok());
}

TEST(BinaryPlistReader, ReadsRealsDatesBooleansAndData) {
    EXPECT_EQ(scalar("\x22" + B::bigEndian(0x3F800000, 4)), PlistValue::real(1.0));
    EXPECT_EQ(scalar("\x23" + B::bigEndian(0x3FB999999999999AULL, 8)), PlistValue::real(0.1));
    // Binary dates count from 2001-01-01.
    EXPECT_EQ(scalar("\x33" + B::bigEndian(0, 8)), PlistValue::date(978307200.0));
    EXPECT_FALSE(parseScalar("\x33" + B::bigEndian(0x7FF8000000000000ULL, 8)).ok());
    EXPECT_EQ(scalar("\x09"), PlistValue::boolean(true));
    EXPECT_EQ(scalar("\x08"), PlistValue::boolean(false));
    EXPECT_EQ(scalar("\x43"
                     "abc"),
              PlistValue::data({'a', 'b', 'c'}));
    EXPECT_EQ(scalar(B::marker(0x4, 20) + std::string(20, 'z')),
              PlistValue::data(PlistValue::Data(20, 'z')));
}

TEST(BinaryPlistReader, ConvertsStringsToUtf8) {
    EXPECT_EQ(scalar("\x52hi"), PlistValue("hi"));
    EXPECT_FALSE(parseScalar("\x52h\xC3").ok());
    BinaryPlistBuilder plist;
    // "é", then U+1F600 as a surrogate pair.
    auto ok = PropertyList::parse(plist.build(plist.utf16({0x00E9, 0xD83D, 0xDE00})));
    ASSERT_TRUE(ok.ok()) << ok.error();
    EXPECT_EQ(*ok->stringValue(), "\xC3\xA9\xF0\x9F\x98\x80");
    for (std::vector<std::uint16_t> bad :
         {std::vector<std::uint16_t>{0xD83D}, {0xDE00, 0xD83D}, {0xD83D, 0x0041}}) {
        BinaryPlistBuilder broken;
        EXPECT_FALSE(PropertyList::parse(broken.build(broken.utf16(bad))).ok());
    }
}

TEST(BinaryPlistReader, BuildsContainersAndKeepsTheLastOfRepeatedKeys) {
    BinaryPlistBuilder plist;
    std::size_t key = plist.ascii("k");
    std::size_t one = plist.integer(1);
    std::size_t two = plist.integer(2);
    std::size_t list = plist.array({one, two, one});
    std::size_t root = plist.dictionary({key, key, plist.ascii("list")}, {one, two, list});
    Result<PlistValue> value = PropertyList::parse(plist.build(root));
    ASSERT_TRUE(value.ok()) << value.error();
    PlistValue expected = PlistValue::dictionary();
    expected.set("k", PlistValue::integer(2));
    expected.set("list",
                 PlistValue(PlistValue::Array{PlistValue::integer(1), PlistValue::integer(2),
                                              PlistValue::integer(1)}));
    EXPECT_EQ(value.value(), expected);

    BinaryPlistBuilder numericKey;
    std::size_t n = numericKey.integer(1);
    EXPECT_FALSE(PropertyList::parse(numericKey.build(numericKey.dictionary({n}, {n}))).ok());
}

// Cycles and broken references are among the hostile files.
TEST(BinaryPlistReader, SharesRepeatedObjects) {
    // Sixteen levels that each hold the next level twice expand to 2^16 leaves but are
    // read once each.
    BinaryPlistBuilder shared;
    std::size_t level = shared.ascii("leaf");
    for (int i = 0; i < 16; ++i) {
        level = shared.array({level, level});
    }
    Result<PlistValue> value = PropertyList::parse(shared.build(level));
    ASSERT_TRUE(value.ok()) << value.error();
    EXPECT_EQ(value->arrayValue()->front().arrayValue(), value->arrayValue()->back().arrayValue());
}

TEST(BinaryPlistReader, RefusesValuesThatExpandBeyondTheBound) {
    // 2^25 leaves from 25 small arrays: a tiny file whose written form would be enormous.
    BinaryPlistBuilder plist;
    std::size_t level = plist.integer(7);
    for (int i = 0; i < 25; ++i) {
        level = plist.array({level, level});
    }
    Result<PlistValue> value = PropertyList::parse(plist.build(level));
    EXPECT_FALSE(value.ok());
    EXPECT_NE(value.error().find("expands"), std::string::npos) << value.error();

    // Few values, but one long string repeated 4096 times would write half a gigabyte.
    BinaryPlistBuilder text;
    std::size_t shared = text.ascii(std::string(65536, 't'));
    for (int i = 0; i < 12; ++i) {
        shared = text.array({shared, shared});
    }
    EXPECT_FALSE(PropertyList::parse(text.build(shared)).ok());
}

TEST(BinaryPlistReader, DepthLimitIsInclusive) {
    EXPECT_TRUE(PropertyList::parse(nestedArrays(PropertyList::kMaxDepth)).ok());
    EXPECT_FALSE(PropertyList::parse(nestedArrays(PropertyList::kMaxDepth + 1)).ok());
}
