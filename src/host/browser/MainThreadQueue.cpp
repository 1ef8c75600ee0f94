#include "host/browser/MainThreadQueue.h"

bool MainThreadQueue::post(Task task) {
    {
        std::lock_guard lock(mutex_);
        if (closed_) {
            return false;
        }
        tasks_.push_back(std::move(task));
    }
    posted_.notify_one();
    return true;
}

std::size_t MainThreadQueue::runPending(std::chrono::milliseconds timeout) {
    std::deque<Task> batch;
    {
        std::unique_lock lock(mutex_);
        posted_.wait_for(lock, timeout, [this] { return !tasks_.empty(); });
        batch.swap(tasks_);
    }
    // Tasks run unlocked so that they may post further work.
    for (Task& task : batch) {
        task();
    }
    return batch.size();
}

void MainThreadQueue::close() {
    std::lock_guard lock(mutex_);
    closed_ = true;
}
