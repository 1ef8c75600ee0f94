#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

// Work handed to the main thread by other threads. Any thread may post; only the main
// thread runs the tasks, in the order they were posted.
class MainThreadQueue {
  public:
    using Task = std::function<void()>;

    // False once the queue is closed: the task will never run.
    bool post(Task task);
    // Runs every queued task, waiting up to `timeout` for the first one. Returns how many ran.
    std::size_t runPending(std::chrono::milliseconds timeout);
    // Refuses further tasks; the ones already queued still run on the next runPending().
    void close();

  private:
    std::mutex mutex_;
    std::condition_variable posted_;
    std::deque<Task> tasks_;
    bool closed_ = false;
};
