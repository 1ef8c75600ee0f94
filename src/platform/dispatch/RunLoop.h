#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <utility>

// The main run loop: the one place where main-queue tasks wait and run. Its clock is real in a
// host and manual in tests, where time moves only when the test says so. Everything UI runs on
// the thread that runs the loop; post() is the only entry for other threads.
class RunLoop {
  public:
    using Block = std::function<void()>;
    using Nanoseconds = std::int64_t;

    static RunLoop& main();

    // A manual clock starts at zero and moves only by advanceBy; a real clock follows the
    // steady clock. Switching drops no tasks: their due times stay where they were.
    void useManualClock();
    void useRealClock();
    bool usesManualClock() const;

    // The loop's time in nanoseconds since its clock started.
    Nanoseconds now() const;

    // Queues a block to run once the loop's time reaches `due`; blocks due at the same time
    // run in the order they were queued.
    void schedule(Nanoseconds due, Block block);
    // Thread safe: queues a block to run as soon as possible and wakes a waiting loop.
    void post(Block block);

    // Manual clock: runs every task due within the next `seconds`, in time order, tasks queued
    // meanwhile included when they fall due, then leaves the clock at the end of the span.
    void advanceBy(double seconds);
    // Manual clock: moves the time on by `seconds` without running anything, as real time
    // passes between two turns of a host's loop; runUntilIdle then runs what fell due.
    void moveClockBy(double seconds);
    // Runs the tasks that are due now, including ones they queue for now; returns how many.
    std::size_t runUntilIdle();

    // Real clock: runs due tasks as they fall due for the given span of real time.
    void runFor(std::chrono::milliseconds duration);
    // Waits until a task is due or posted, or the timeout passes; true when work is ready.
    bool waitForWork(std::chrono::milliseconds timeout);

    std::size_t pendingCount() const;
    // Drops every queued task (a test's fresh start).
    void cancelAll();

  private:
    using Key = std::pair<Nanoseconds, std::uint64_t>;

    RunLoop();
    Nanoseconds realNow() const;
    Nanoseconds nowLocked() const;
    // Takes the earliest task due at or before `limit` off the queue.
    bool takeDue(Nanoseconds limit, Block& block);
    bool waitUntil(std::chrono::steady_clock::time_point deadline);

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::map<Key, Block> tasks_;
    std::uint64_t nextSequence_ = 0;
    bool manual_ = true;
    Nanoseconds manualNow_ = 0;
    Nanoseconds realOffset_ = 0;
    std::chrono::steady_clock::time_point realStart_;
};
