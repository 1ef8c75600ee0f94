#include "platform/foundation/Base64.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Base64Test, EncodesEveryLengthOfTheLastGroupAndReadsItBack) {
    struct Case {
        std::string bytes;
        std::string text;
    };
    const Case cases[] = {
        {"", ""},
        {"f", "Zg=="},
        {"fo", "Zm8="},
        {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="},
        {"fooba", "Zm9vYmE="},
        {"foobar", "Zm9vYmFy"},
        {std::string("\0\xff\xfe", 3), "AP/+"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Base64::encode(c.bytes), c.text) << c.text;
        auto decoded = Base64::decode(c.text);
        ASSERT_TRUE(decoded) << c.text;
        EXPECT_EQ(std::string(decoded->begin(), decoded->end()), c.bytes) << c.text;
    }
}

TEST(Base64Test, LinesHoldTheSameEncodingAsOneLine) {
    std::string bytes;
    for (int i = 0; i < 100; ++i) {
        bytes.push_back(static_cast<char>(i * 7));
    }
    std::string lines;
    Base64::appendLines(lines, std::vector<std::uint8_t>(bytes.begin(), bytes.end()), 24, "\t");
    std::string joined;
    for (std::size_t at = 0; at < lines.size();) {
        std::size_t end = lines.find('\n', at);
        ASSERT_EQ(lines[at], '\t');
        joined += lines.substr(at + 1, end - at - 1);
        at = end + 1;
    }
    EXPECT_EQ(joined, Base64::encode(bytes));
}

}  // namespace
