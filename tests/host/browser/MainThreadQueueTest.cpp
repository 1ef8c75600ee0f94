#include "host/browser/MainThreadQueue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <thread>
#include <vector>

using namespace std::chrono_literals;

namespace {

// Runs the queue on its own thread, as the server's main loop does.
class MainLoop {
  public:
    explicit MainLoop(MainThreadQueue& queue)
        : thread_([this, &queue] {
              id_ = std::this_thread::get_id();
              while (!stop_)
                  queue.runPending(5ms);
          }) {}
    ~MainLoop() {
        stop_ = true;
        thread_.join();
    }
    std::thread::id id() const { return id_; }

  private:
    std::atomic<bool> stop_{false};
    std::thread::id id_;
    std::thread thread_;
};

}  // namespace

TEST(MainThreadQueueTest, CallsRunOnTheMainThreadAndReturnTheirResult) {
    MainThreadQueue queue;
    MainLoop loop(queue);
    std::optional<std::thread::id> ranOn =
        queue.call<std::thread::id>([] { return std::this_thread::get_id(); }, 1s);
    ASSERT_TRUE(ranOn);
    EXPECT_EQ(*ranOn, loop.id());
    EXPECT_NE(*ranOn, std::this_thread::get_id());
}

TEST(MainThreadQueueTest, WorkNotStartedInTimeIsDroppedAndNeverRuns) {
    MainThreadQueue queue;
    bool ran = false;
    EXPECT_EQ(queue.call<int>(
                  [&] {
                      ran = true;
                      return 1;
                  },
                  20ms),
              std::nullopt);
    EXPECT_EQ(queue.runPending(0ms), 1u);
    EXPECT_FALSE(ran) << "a caller told no must not see the work happen later";
}

TEST(MainThreadQueueTest, StartedWorkIsAwaitedPastTheTimeout) {
    MainThreadQueue queue;
    MainLoop loop(queue);
    auto slow = queue.call<int>(
        [] {
            std::this_thread::sleep_for(150ms);
            return 7;
        },
        20ms);
    EXPECT_EQ(slow, 7);
}

TEST(MainThreadQueueTest, ClosedQueueRefusesButRunsWhatWasQueued) {
    MainThreadQueue queue;
    std::vector<int> order;
    ASSERT_TRUE(queue.post([&] {
        order.push_back(1);
        queue.post([&] { order.push_back(3); });
    }));
    ASSERT_TRUE(queue.post([&] { order.push_back(2); }));
    queue.runPending(0ms);
    EXPECT_EQ(order, (std::vector<int>{1, 2})) << "work posted by a task waits for the next round";
    queue.close();
    EXPECT_FALSE(queue.post([] {}));
    EXPECT_EQ(queue.call<int>([] { return 1; }, 1s), std::nullopt);
    queue.runPending(0ms);
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
}
