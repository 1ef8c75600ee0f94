#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

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

    // Runs `work` on the main thread and waits for its result. Nothing when the work could
    // not start within `timeout` (closed queue, busy main thread): it is then dropped and
    // never runs, so a caller told "no" knows nothing happened. Work that has started is
    // always waited for.
    template <typename T>
    std::optional<T> call(std::function<T()> work, std::chrono::milliseconds timeout);

  private:
    template <typename T>
    struct Call {
        enum class Stage { Waiting, Running, Finished, Dropped };
        std::mutex mutex;
        std::condition_variable finished;
        Stage stage = Stage::Waiting;
        std::optional<T> result;
    };

    std::mutex mutex_;
    std::condition_variable posted_;
    std::deque<Task> tasks_;
    bool closed_ = false;
};

template <typename T>
std::optional<T> MainThreadQueue::call(std::function<T()> work, std::chrono::milliseconds timeout) {
    using Stage = typename Call<T>::Stage;
    auto state = std::make_shared<Call<T>>();
    bool posted = post([state, work = std::move(work)] {
        {
            std::lock_guard lock(state->mutex);
            if (state->stage == Stage::Dropped) {
                return;
            }
            state->stage = Stage::Running;
        }
        std::optional<T> result(work());
        std::lock_guard lock(state->mutex);
        state->result = std::move(result);
        state->stage = Stage::Finished;
        state->finished.notify_all();
    });
    if (!posted) {
        return std::nullopt;
    }
    std::unique_lock lock(state->mutex);
    if (!state->finished.wait_for(lock, timeout, [&] { return state->stage != Stage::Waiting; })) {
        state->stage = Stage::Dropped;
        return std::nullopt;
    }
    state->finished.wait(lock, [&] { return state->stage == Stage::Finished; });
    return std::move(state->result);
}
