#include "platform/dispatch/RunLoop.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <string>
#include <thread>
#include <vector>

#include "platform/dispatch/Dispatch.h"

namespace {

class MainQueue : public ::testing::Test {
  protected:
    void SetUp() override {
        loop.useManualClock();
        loop.cancelAll();
    }
    void TearDown() override { loop.cancelAll(); }

    void after(double seconds, std::string name) {
        dispatch_after(dispatch_time(DISPATCH_TIME_NOW, std::int64_t(seconds * NSEC_PER_SEC)),
                       dispatch_get_main_queue(), [this, name] { ran.push_back(name); });
    }

    RunLoop& loop = RunLoop::main();
    std::vector<std::string> ran;
};

TEST_F(MainQueue, DelayedTasksRunInTimeOrderAndNotBeforeTheirTime) {
    after(0.5, "late");
    after(0.25, "early");
    after(0.25, "early-second");
    loop.advanceBy(0.2);
    EXPECT_TRUE(ran.empty());
    loop.advanceBy(0.05);
    EXPECT_EQ(ran, (std::vector<std::string>{"early", "early-second"}));
    loop.advanceBy(0.249);
    EXPECT_EQ(ran.size(), 2u);
    loop.advanceBy(0.001);
    EXPECT_EQ(ran.back(), "late");
    EXPECT_EQ(loop.pendingCount(), 0u);
}

TEST_F(MainQueue, TasksQueuedWhileRunningRunWhenTheyFallDueWithinTheSpan) {
    dispatch_after(dispatch_time(DISPATCH_TIME_NOW, NSEC_PER_SEC / 4), dispatch_get_main_queue(),
                   [this] {
                       ran.push_back("first");
                       after(0.25, "chained");  // due at 0.5, inside the span
                       after(1.0, "beyond");    // due at 1.25, outside it
                   });
    after(0.4, "between");
    loop.advanceBy(0.6);
    EXPECT_EQ(ran, (std::vector<std::string>{"first", "between", "chained"}));
    EXPECT_EQ(loop.pendingCount(), 1u);
}

TEST_F(MainQueue, AsyncTasksWaitForTheLoopAndRunUntilIdleLeavesFutureTasks) {
    dispatch_async(dispatch_get_main_queue(), [this] {
        ran.push_back("now");
        dispatch_async(dispatch_get_main_queue(), [this] { ran.push_back("queued by now"); });
    });
    after(0.1, "later");
    EXPECT_TRUE(ran.empty());
    EXPECT_EQ(loop.runUntilIdle(), 2u);
    EXPECT_EQ(ran, (std::vector<std::string>{"now", "queued by now"}));
    EXPECT_EQ(loop.pendingCount(), 1u);
}

TEST_F(MainQueue, MovingTheClockRunsNothingUntilTheLoopTurns) {
    after(0.25, "due");
    after(0.75, "later");
    struct Turn {
        double seconds;
        std::size_t ran;
    };
    // Negative and non-finite moves keep the time where it is.
    for (Turn turn : {Turn{0.2, 0}, Turn{-1, 0}, Turn{std::nan(""), 0}, Turn{0.05, 1},
                      Turn{0.25, 0}, Turn{0.25, 1}, Turn{1, 0}}) {
        loop.moveClockBy(turn.seconds);
        std::size_t before = ran.size();
        EXPECT_EQ(loop.runUntilIdle(), turn.ran) << turn.seconds;
        EXPECT_EQ(ran.size() - before, turn.ran) << turn.seconds;
    }
    EXPECT_EQ(ran, (std::vector<std::string>{"due", "later"}));
}

TEST_F(MainQueue, NeverAndNullBlocksAreNotQueued) {
    dispatch_after(DISPATCH_TIME_FOREVER, dispatch_get_main_queue(),
                   [this] { ran.push_back("x"); });
    dispatch_after(dispatch_time(DISPATCH_TIME_NOW, 1), dispatch_get_main_queue(), nullptr);
    EXPECT_EQ(dispatch_time(DISPATCH_TIME_FOREVER, NSEC_PER_SEC), DISPATCH_TIME_FOREVER);
    EXPECT_EQ(loop.pendingCount(), 0u);
}

TEST_F(MainQueue, PostsFromOtherThreadsAllRunOnTheLoopThread) {
    std::atomic<int> count{0};
    std::thread::id loopThread = std::this_thread::get_id();
    std::atomic<bool> wrongThread{false};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 50; ++i) {
                dispatch_async(dispatch_get_main_queue(), [&] {
                    wrongThread = wrongThread || std::this_thread::get_id() != loopThread;
                    ++count;
                });
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    loop.runUntilIdle();
    EXPECT_EQ(count, 200);
    EXPECT_FALSE(wrongThread);
}

TEST_F(MainQueue, RealClockWakesForAPostAndRunsDelayedTasksOnTime) {
    loop.useRealClock();
    std::thread poster([] { RunLoop::main().post([] {}); });
    EXPECT_TRUE(loop.waitForWork(std::chrono::milliseconds(2000)));
    poster.join();
    loop.runUntilIdle();
    after(0.02, "soon");
    auto start = std::chrono::steady_clock::now();
    loop.runFor(std::chrono::milliseconds(60));
    EXPECT_EQ(ran, (std::vector<std::string>{"soon"}));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(60));
    EXPECT_FALSE(loop.waitForWork(std::chrono::milliseconds(5)));
    loop.useManualClock();
}

TEST(DispatchOnce, RunsTheBlockOnceAcrossThreads) {
    static dispatch_once_t token = 0;
    std::atomic<int> runs{0};
    std::atomic<int> sawUnfinished{0};
    std::atomic<bool> finished{false};
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([&] {
            dispatch_once(&token, [&] {
                ++runs;
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
                finished = true;
            });
            // Every caller returns only once the block has finished.
            sawUnfinished += finished ? 0 : 1;
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(sawUnfinished, 0);
}

}  // namespace
