#include "platform/foundation/NSFileManager.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/system/DeviceRoot.h"
#include "support/TemporaryDeviceRoot.h"

namespace fs = std::filesystem;

namespace {

using Names = std::vector<std::string>;

// A device root with a ringtone-like tree: "/Library/Ringtones" holding files and subfolders.
class NSFileManagerTest : public ::testing::Test {
  protected:
    // The device root is a folder inside the temporary one, so that removals can be shown
    // to stay inside it.
    void SetUp() override {
        DeviceRoot::set(root_);
        for (const char* file : {"a/x.m4r", "a-b.m4r", "z/y/deep.m4r", "B.m4r"}) {
            write("/Library/Ringtones/" + std::string(file), file);
        }
    }

    void write(const std::string& devicePath, const std::string& text) {
        std::string path = DeviceRoot::resolve(devicePath);
        fs::create_directories(fs::path(path).parent_path());
        std::ofstream(path) << text;
    }
    std::string read(const std::string& devicePath) {
        std::ifstream in(DeviceRoot::resolve(devicePath));
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    NSFileManager& files = NSFileManager::defaultManager();
    TemporaryDeviceRoot outerRoot_;
    std::string outer_ = outerRoot_.path().string();
    std::string root_ = outer_ + "/device";
};

}  // namespace

TEST_F(NSFileManagerTest, TellsFilesFromFolders) {
    bool isDirectory = true;
    EXPECT_TRUE(files.fileExistsAtPath("/Library/Ringtones/a-b.m4r", &isDirectory));
    EXPECT_FALSE(isDirectory);
    EXPECT_TRUE(files.fileExistsAtPath("/Library/Ringtones/a", &isDirectory));
    EXPECT_TRUE(isDirectory);
    EXPECT_FALSE(files.fileExistsAtPath("/Library/Ringtones/none", &isDirectory));
    EXPECT_FALSE(isDirectory);
}

TEST_F(NSFileManagerTest, ListsFoldersSortedOrReportsWhyNot) {
    EXPECT_EQ(files.contentsOfDirectoryAtPath("/Library/Ringtones"),
              (Names{"B.m4r", "a", "a-b.m4r", "z"}));
    std::string error;
    EXPECT_TRUE(files.contentsOfDirectoryAtPath("/Library/None", &error).empty());
    EXPECT_NE(error.find("/Library/None"), std::string::npos);
    EXPECT_TRUE(files.contentsOfDirectoryAtPath("/Library/Ringtones/a-b.m4r", &error).empty());
}

TEST_F(NSFileManagerTest, EnumeratesEachFolderBeforeItsContents) {
    // A link back up the tree would recurse for ever if followed.
    fs::create_directory_symlink(root_ + "/Library", root_ + "/Library/Ringtones/z/up");
    EXPECT_EQ(files.enumeratorAtPath("/Library/Ringtones"),
              (Names{"B.m4r", "a", "a/x.m4r", "a-b.m4r", "z", "z/up", "z/y", "z/y/deep.m4r"}));
    EXPECT_TRUE(files.enumeratorAtPath("/Library/None").empty());
}

TEST_F(NSFileManagerTest, RemovesFilesAndWholeFolders) {
    EXPECT_TRUE(files.removeItemAtPath("/Library/Ringtones/a-b.m4r").ok());
    EXPECT_TRUE(files.removeItemAtPath("/Library/Ringtones/z").ok());
    EXPECT_EQ(files.contentsOfDirectoryAtPath("/Library/Ringtones"), (Names{"B.m4r", "a"}));
    Status missing = files.removeItemAtPath("/Library/Ringtones/z");
    ASSERT_FALSE(missing.ok());
    EXPECT_NE(missing.error().find("/Library/Ringtones/z"), std::string::npos);
}

TEST_F(NSFileManagerTest, NeverReachesOutsideTheDevice) {
    std::ofstream(outer_ + "/outside") << "keep";
    EXPECT_FALSE(files.removeItemAtPath("/").ok());
    EXPECT_FALSE(files.removeItemAtPath("/Library/../..").ok());
    EXPECT_FALSE(files.removeItemAtPath("/../outside").ok());
    EXPECT_TRUE(fs::exists(outer_ + "/outside"));
    EXPECT_TRUE(fs::exists(root_ + "/Library/Ringtones/a-b.m4r"));
}

TEST_F(NSFileManagerTest, CopiesWithoutOverwriting) {
    EXPECT_TRUE(files.copyItemAtPath("/Library/Ringtones/a-b.m4r", "/Library/copy.m4r").ok());
    EXPECT_EQ(read("/Library/copy.m4r"), "a-b.m4r");
    EXPECT_TRUE(files.copyItemAtPath("/Library/Ringtones", "/Backup").ok());
    EXPECT_EQ(files.enumeratorAtPath("/Backup"), files.enumeratorAtPath("/Library/Ringtones"));

    Status exists = files.copyItemAtPath("/Library/Ringtones/B.m4r", "/Library/copy.m4r");
    EXPECT_FALSE(exists.ok());
    EXPECT_EQ(read("/Library/copy.m4r"), "a-b.m4r");
    EXPECT_FALSE(files.copyItemAtPath("/Library/none", "/Library/other").ok());
    EXPECT_FALSE(files.fileExistsAtPath("/Library/other"));
}
