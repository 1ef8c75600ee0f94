#include "platform/system/DarwinNotificationCenter.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <mutex>

#include "platform/system/DeviceRoot.h"
#include "support/TemporaryDeviceRoot.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// Counts deliveries; waiting is bounded generously so that a slow machine does not fail.
class Deliveries {
  public:
    DarwinNotificationCenter::Callback callback() {
        return [this] {
            std::lock_guard lock(mutex_);
            ++count_;
            changed_.notify_all();
        };
    }
    bool waitFor(int count) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, 5s, [&] { return count_ >= count; });
    }
    int count() {
        std::lock_guard lock(mutex_);
        return count_;
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    int count_ = 0;
};

class DarwinNotificationCenterTest : public ::testing::Test {
  protected:
    TemporaryDeviceRoot device_;
    std::string root_ = device_.path().string();
};

constexpr const char* kName = "net.quorvel.huebadge/preferences";

}  // namespace

TEST(DarwinNotificationNames, EncodeIntoDistinctSafeFileNames) {
    EXPECT_EQ(DarwinNotificationCenter::fileNameFor(kName), "net.quorvel.huebadge%2Fpreferences");
    EXPECT_EQ(DarwinNotificationCenter::fileNameFor("a%2Fb"), "a%252Fb");
    EXPECT_EQ(DarwinNotificationCenter::fileNameFor(".."), "%2E.");
    EXPECT_EQ(DarwinNotificationCenter::fileNameFor("a b\n\xff"), "a%20b%0A%FF");
    EXPECT_EQ(DarwinNotificationCenter::fileNameFor(""), "");
    EXPECT_EQ(DarwinNotificationCenter::fileNameFor(std::string(256, 'n')), "");
    EXPECT_FALSE(DarwinNotificationCenter::post(""));
    EXPECT_EQ(DarwinNotificationCenter::observe("", [] {}), nullptr);
}

TEST_F(DarwinNotificationCenterTest, PostsAfterObservingAreDeliveredAndMayCoalesce) {
    Deliveries deliveries;
    auto observation = DarwinNotificationCenter::observe(kName, deliveries.callback());
    ASSERT_NE(observation, nullptr);
    ASSERT_TRUE(DarwinNotificationCenter::post(kName));
    ASSERT_TRUE(deliveries.waitFor(1));
    for (int i = 0; i < 50; ++i) {
        ASSERT_TRUE(DarwinNotificationCenter::post(kName));
    }
    int before = deliveries.count();
    ASSERT_TRUE(DarwinNotificationCenter::post(kName));
    EXPECT_TRUE(deliveries.waitFor(before + 1));
    EXPECT_LE(deliveries.count(), 52);
}

TEST_F(DarwinNotificationCenterTest, OnlyTheObservedNameIsDelivered) {
    Deliveries quiet, loud;
    auto quietObservation = DarwinNotificationCenter::observe("quiet", quiet.callback());
    auto loudObservation = DarwinNotificationCenter::observe("loud", loud.callback());
    ASSERT_TRUE(DarwinNotificationCenter::post("loud"));
    ASSERT_TRUE(loud.waitFor(1));
    // Both watch the same folder, so the quiet observer has seen the loud post by now.
    ASSERT_TRUE(DarwinNotificationCenter::post("quiet"));
    ASSERT_TRUE(quiet.waitFor(1));
    EXPECT_EQ(quiet.count(), 1);
}

TEST_F(DarwinNotificationCenterTest, DestroyedObservationsAreNeverCalledAgain) {
    Deliveries gone, kept;
    auto goneObservation = DarwinNotificationCenter::observe(kName, gone.callback());
    goneObservation.reset();
    auto keptObservation = DarwinNotificationCenter::observe(kName, kept.callback());
    ASSERT_TRUE(DarwinNotificationCenter::post(kName));
    ASSERT_TRUE(kept.waitFor(1));
    EXPECT_EQ(gone.count(), 0);
}

TEST_F(DarwinNotificationCenterTest, SurvivesTheSignalFolderBeingRemoved) {
    Deliveries deliveries;
    auto observation = DarwinNotificationCenter::observe(kName, deliveries.callback());
    fs::remove_all(root_ + "/var/run/notifications");
    ASSERT_TRUE(DarwinNotificationCenter::post(kName));
    ASSERT_TRUE(deliveries.waitFor(1));
    // The folder is watched again: later posts still arrive.
    int before = deliveries.count();
    for (int i = 0; i < 3 && deliveries.count() == before; ++i) {
        ASSERT_TRUE(DarwinNotificationCenter::post(kName));
        deliveries.waitFor(before + 1);
    }
    EXPECT_GT(deliveries.count(), before);
}

TEST_F(DarwinNotificationCenterTest, PostFailsWhenTheFolderCannotBeMade) {
    fs::create_directories(root_ + "/var");
    std::ofstream(root_ + "/var/run") << "a file where the folder should be";
    EXPECT_FALSE(DarwinNotificationCenter::post(kName));
    EXPECT_EQ(DarwinNotificationCenter::observe(kName, [] {}), nullptr);
}
