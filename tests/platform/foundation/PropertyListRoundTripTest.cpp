#include "platform/foundation/PropertyList.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <random>

namespace {

// Random property-list values of every kind, strings drawn from all of Unicode that XML carries.
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
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

    std::string text() {
        std::string out;
        for (int i = pick(12); i > 0; --i) {
            appendCodePoint(out, codePoint());
        }
        return out;
    }

    std::uint32_t codePoint() {
        static constexpr std::uint32_t kSpecial[] = {'\t', '\n', '\r', '&', '<', '>', '"', ' '};
        switch (pick(4)) {
            case 0:
                return kSpecial[pick(8)];
            case 1:
                return 0x20 + static_cast<std::uint32_t>(pick(0x5F));
            default: {
                std::uint32_t code =
                    std::uniform_int_distribution<std::uint32_t>(0x80, 0x10FFFF)(random_);
                bool carried = (code < 0xD800 || code > 0xDFFF) && code != 0xFFFE && code != 0xFFFF;
                return carried ? code : 0xE9;
            }
        }
    }

    static void appendCodePoint(std::string& out, std::uint32_t code) {
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (code >> 18));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
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
