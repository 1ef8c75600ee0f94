#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/foundation/BinaryPlistBuilder.h"
#include "platform/foundation/PropertyList.h"

namespace {

namespace fs = std::filesystem;

const fs::path kData = fs::path(HUEBADGE_SOURCE_DIR) / "tests" / "data";

std::string contents(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

}  // namespace

// Every file in tests/data/hostile: bad-* is refused with a message, ok-* is read.
TEST(HostilePlist, EachHandMadeFileFailsCleanlyOrParses) {
    int files = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(kData / "hostile")) {
        std::string name = entry.path().filename().string();
        if (entry.path().extension() != ".plist") {
            continue;
        }
        ++files;
        Result<PlistValue> value = PropertyList::readFile(entry.path().string());
        if (name.starts_with("ok-")) {
            EXPECT_TRUE(value.ok()) << name << ": " << value.error();
        } else {
            EXPECT_FALSE(value.ok()) << name;
            EXPECT_FALSE(value.ok() || value.error().empty()) << name;
        }
    }
    EXPECT_GT(files, 40);
}

TEST(HostilePlist, UnusualButValidFilesReadAsWritten) {
    auto read = [](const char* name) {
        return PropertyList::readFile((kData / "hostile" / name).string());
    };
    EXPECT_EQ(read("ok-duplicate-keys.plist").value()["a"], PlistValue::boolean(false));
    EXPECT_EQ(read("ok-bare-root.plist").value()["a"], PlistValue::integer(10));
    EXPECT_EQ(read("ok-utf16.plist").value(), PlistValue("h\xC3\xA9\xF0\x9F\x98\x80"));
    EXPECT_TRUE(read("ok-array-root.plist").value().isArray());
}

TEST(HostilePlist, XmlAndBinaryFormsOfOneValueReadEqual) {
    Result<PlistValue> xml =
        PropertyList::readFile((kData / "plist" / "sample-xml.plist").string());
    Result<PlistValue> binary =
        PropertyList::readFile((kData / "plist" / "sample-binary.plist").string());
    ASSERT_TRUE(xml.ok()) << xml.error();
    ASSERT_TRUE(binary.ok()) << binary.error();
    EXPECT_EQ(xml.value(), binary.value());
    EXPECT_EQ(xml.value()["huge"], PlistValue::unsignedInteger(UINT64_MAX));
    EXPECT_EQ(xml.value()["tiny"], PlistValue::integer(INT64_MIN));
    EXPECT_EQ(xml.value()["blob"].dataValue()->size(), 256u);
    // plistlib writes dictionaries with sorted keys the way we do.
    EXPECT_EQ(PropertyList::toXml(xml.value()).value(),
              contents(kData / "plist" / "sample-xml.plist"));
}

TEST(HostilePlist, EveryTruncationOfASoundFileFailsCleanly) {
    for (const char* name : {"sample-xml.plist", "sample-binary.plist"}) {
        std::string whole = contents(kData / "plist" / name);
        ASSERT_FALSE(whole.empty());
        // The XML form stays valid until its closing tag is cut.
        std::size_t end = whole.rfind("</plist>") + 1;
        for (std::size_t length = 0; length < std::min(end, whole.size() - 1); ++length) {
            EXPECT_FALSE(PropertyList::parse(std::string_view(whole).substr(0, length)).ok())
                << name << " cut at " << length;
        }
    }
}

TEST(HostilePlist, HundredThousandLevelsFailWithoutExhaustingTheStack) {
    constexpr int kLevels = 100000;
    std::string xml = "<plist>";
    for (int i = 0; i < kLevels; ++i) {
        xml += "<dict><key>k</key>";
    }
    EXPECT_FALSE(PropertyList::parse(xml).ok());

    BinaryPlistBuilder binary;
    binary.setRefSize(4);
    for (int i = 0; i < kLevels; ++i) {
        binary.array({static_cast<std::size_t>(i + 1)});
    }
    binary.array({});
    EXPECT_FALSE(PropertyList::parse(binary.build(0)).ok());
}
