#include "platform/foundation/FileWatch.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "support/TemporaryDeviceRoot.h"

namespace file_watch_test {

namespace fs = std::filesystem;

bool eventually(const std::atomic<int>& calls, int atLeast) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (calls < atLeast && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return calls >= atLeast;
}

// A watched folder moved away comes back as the owner makes it again: a watch that may make
// it does so at once, one that waits for it never does, and both see the file written there.
TEST(FileWatchTest, AFolderMovedAwayIsMadeAgainOrWaitedFor) {
    for (FileWatch::MissingFolder missing :
         {FileWatch::MissingFolder::Make, FileWatch::MissingFolder::WaitForIt}) {
        TemporaryDeviceRoot root;
        fs::path folder = root.resolve("/watched");
        fs::create_directories(folder);
        std::atomic<int> calls{0};
        auto watch = FileWatch::start(
            folder.string(), "file", [&] { ++calls; }, missing);
        ASSERT_TRUE(watch);
        std::ofstream(folder / "other") << "x";
        std::ofstream(folder / "file") << "x";
        ASSERT_TRUE(eventually(calls, 1));

        fs::rename(folder, folder.string() + ".away");
        ASSERT_TRUE(eventually(calls, 2));
        EXPECT_EQ(fs::exists(folder), missing == FileWatch::MissingFolder::Make);
        fs::create_directories(folder);
        std::this_thread::sleep_for(std::chrono::milliseconds(600));
        int before = calls;
        std::ofstream(folder / "file") << "y";
        EXPECT_TRUE(eventually(calls, before + 1));
    }
}

}  // namespace file_watch_test
