#include "platform/foundation/PropertyList.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <iterator>
#include <random>

namespace {

// Random property-list values of every kind.
class RandomPlist {
  public:
    explicit RandomPlist(std::uint64_t seed) : random_(seed) {}

    PlistValue value(int depth) {
        int kind = pick(depth > 0 ? 9 : 7);
        switch (kind) {
            case 0:
                return PlistValue(text());
            case 1:
                return integer();
            case 2:
                return real();
            case 3:
                return PlistValue::boolean(pick(2) == 1);
            case 4:
                // Whole seconds from year 1 to 9999.
                return PlistValue::date(
                    static_cast<double>(std::uniform_int_distribution<std::int64_t>(
                        -62135596800, 253402300799)(random_)));
            case 5:
            case 6:
                return data();
            case 7:
                return array(depth - 1);
            default:
                return dictionary(depth - 1);
        }
    }

  private:
    int pick(std::size_t n) {
        return std::uniform_int_distribution<int>(0, static_cast<int>(n) - 1)(random_);
    }

    // Pieces that need escaping or are multi-byte, up to the last code point.
    std::string text() {
        static constexpr const char* kPieces[] = {"a",
                                                  "Z ",
                                                  "\t",
                                                  "\n",
                                                  "\r",
                                                  "&",
                                                  "<",
                                                  ">",
                                                  "\"'",
                                                  "\xC3\xA9",
                                                  "\xE4\xB8\xAD",
                                                  "\xEF\xBF\xBD",
                                                  "\xF0\x9F\x98\x80",
                                                  "\xF4\x8F\xBF\xBF",
                                                  "]]>",
                                                  "&amp;"};
        std::string out;
        for (int i = pick(12); i > 0; --i) {
            out += kPieces[pick(std::size(kPieces))];
        }
        return out;
    }

    PlistValue integer() {
        static constexpr std::int64_t kEdges[] = {0, -1, 1, INT64_MIN, INT64_MAX, 255, 256};
        switch (pick(3)) {
            case 0:
                return PlistValue::integer(kEdges[pick(7)]);
            case 1:
                return PlistValue::unsignedInteger(random_());
            default:
                return PlistValue::integer(static_cast<std::int64_t>(random_()) >> pick(64));
        }
    }

    PlistValue real() {
        // Any bit pattern but NaN, which never equals itself.
        double value = std::bit_cast<double>(random_());
        if (std::isnan(value) || pick(3) == 0) {
            value = static_cast<double>(pick(2000) - 1000) / 8.0;
        }
        return PlistValue::real(value);
    }

    PlistValue data() {
        PlistValue::Data bytes(static_cast<std::size_t>(pick(pick(2) ? 8 : 200)));
        for (auto& byte : bytes) {
            byte = static_cast<std::uint8_t>(pick(256));
        }
        return PlistValue::data(std::move(bytes));
    }

    PlistValue array(int depth) {
        PlistValue out = PlistValue::array();
        for (int i = pick(5); i > 0; --i) {
            out.append(value(depth));
        }
        return out;
    }

    PlistValue dictionary(int depth) {
        PlistValue out = PlistValue::dictionary();
        for (int i = pick(5); i > 0; --i) {
            out.set(text(), value(depth));
        }
        return out;
    }

    std::mt19937_64 random_;
};

}  // namespace

TEST(PropertyListRoundTrip, EveryWrittenValueReadsBackEqual) {
    RandomPlist random(20240229);
    for (int i = 0; i < 400; ++i) {
        PlistValue value = random.value(4);
        Result<std::string> xml = PropertyList::toXml(value);
        ASSERT_TRUE(xml.ok()) << xml.error();
        Result<PlistValue> back = PropertyList::parse(xml.value());
        ASSERT_TRUE(back.ok()) << back.error() << "\n" << xml.value();
        ASSERT_EQ(back.value(), value) << xml.value();
        // Writing what was read gives the same bytes.
        ASSERT_EQ(PropertyList::toXml(back.value()).value(), xml.value());
    }
}

TEST(PropertyListRoundTrip, DispatchesOnTheFirstBytes) {
    EXPECT_FALSE(PropertyList::parse("").ok());
    EXPECT_FALSE(PropertyList::parse("bplist01whatever").ok());
    EXPECT_FALSE(PropertyList::parse("bplist00").ok());
    std::string xml = PropertyList::toXml(PlistValue("bplist00")).value();
    EXPECT_EQ(PropertyList::parse(xml).value(), PlistValue("bplist00"));
}

TEST(PropertyListRoundTrip, ReadFileReportsMissingAndBrokenFiles) {
    std::string dir = HUEBADGE_BINARY_DIR;
    Result<PlistValue> missing = PropertyList::readFile(dir + "/no-such-file.plist");
    EXPECT_FALSE(missing.ok());
    EXPECT_NE(missing.error().find("no-such-file.plist"), std::string::npos);
    Result<PlistValue> folder = PropertyList::readFile(dir);
    EXPECT_FALSE(folder.ok());
}
