#include "platform/dispatch/RunLoop.h"

#include <algorithm>
#include <cmath>

RunLoop& RunLoop::main() {
    static RunLoop loop;
    return loop;
}

RunLoop::RunLoop() : realStart_(std::chrono::steady_clock::now()) {}

RunLoop::Nanoseconds RunLoop::realNow() const {
    auto elapsed = std::chrono::steady_clock::now() - realStart_;
    return realOffset_ + std::chrono::duration_cast<std::chrono::nanoseconds>(elapsed).count();
}

RunLoop::Nanoseconds RunLoop::nowLocked() const {
    return manual_ ? manualNow_ : realNow();
}

RunLoop::Nanoseconds RunLoop::now() const {
    std::lock_guard lock(mutex_);
    return nowLocked();
}

void RunLoop::useManualClock() {
    std::lock_guard lock(mutex_);
    if (!manual_) {
        manualNow_ = realNow();
        manual_ = true;
    }
}

void RunLoop::useRealClock() {
    std::lock_guard lock(mutex_);
    if (manual_) {
        // The real clock carries on from the manual time so that no task jumps its turn.
        realOffset_ = manualNow_;
        realStart_ = std::chrono::steady_clock::now();
        manual_ = false;
    }
    wake_.notify_all();
}

bool RunLoop::usesManualClock() const {
    std::lock_guard lock(mutex_);
    return manual_;
}

void RunLoop::schedule(Nanoseconds due, Block block) {
    if (!block) {
        return;
    }
    std::lock_guard lock(mutex_);
    tasks_.emplace(Key{due, nextSequence_++}, std::move(block));
    wake_.notify_all();
}

void RunLoop::post(Block block) {
    if (!block) {
        return;
    }
    std::lock_guard lock(mutex_);
    tasks_.emplace(Key{nowLocked(), nextSequence_++}, std::move(block));
    wake_.notify_all();
}

bool RunLoop::takeDue(Nanoseconds limit, Block& block) {
    std::lock_guard lock(mutex_);
    if (tasks_.empty() || tasks_.begin()->first.first > limit) {
        return false;
    }
    auto first = tasks_.begin();
    if (manual_) {
        manualNow_ = std::max(manualNow_, first->first.first);
    }
    block = std::move(first->second);
    tasks_.erase(first);
    return true;
}

namespace {

// A span of seconds on the loop's clock: none for a negative or non-finite one.
RunLoop::Nanoseconds runLoopSpan(double seconds) {
    return std::isfinite(seconds) && seconds > 0 ? RunLoop::Nanoseconds(std::llround(seconds * 1e9))
                                                 : 0;
}

}  // namespace

void RunLoop::advanceBy(double seconds) {
    Nanoseconds span = runLoopSpan(seconds);
    Nanoseconds end;
    {
        std::lock_guard lock(mutex_);
        end = nowLocked() + span;
    }
    Block block;
    while (takeDue(end, block)) {
        block();  // runs unlocked: a task may queue more tasks
    }
    std::lock_guard lock(mutex_);
    if (manual_) {
        manualNow_ = std::max(manualNow_, end);
    }
}

void RunLoop::moveClockBy(double seconds) {
    std::lock_guard lock(mutex_);
    if (manual_) {
        manualNow_ += runLoopSpan(seconds);
    }
}

std::size_t RunLoop::runUntilIdle() {
    std::size_t ran = 0;
    Block block;
    while (takeDue(now(), block)) {
        block();
        ++ran;
    }
    return ran;
}

bool RunLoop::waitForWork(std::chrono::milliseconds timeout) {
    return waitUntil(std::chrono::steady_clock::now() + timeout);
}

bool RunLoop::waitUntil(std::chrono::steady_clock::time_point deadline) {
    std::unique_lock lock(mutex_);
    while (true) {
        Nanoseconds current = nowLocked();
        if (!tasks_.empty() && tasks_.begin()->first.first <= current) {
            return true;
        }
        auto now = std::chrono::steady_clock::now();
        if (now >= deadline) {
            return false;
        }
        auto until = deadline;
        if (!tasks_.empty() && !manual_) {
            auto wait = std::chrono::nanoseconds(tasks_.begin()->first.first - current);
            until = std::min(
                until, now + std::chrono::duration_cast<std::chrono::steady_clock::duration>(wait));
        }
        wake_.wait_until(lock, until);
    }
}

void RunLoop::runFor(std::chrono::milliseconds duration) {
    auto deadline = std::chrono::steady_clock::now() + duration;
    do {
        runUntilIdle();
    } while (waitUntil(deadline));
}

std::size_t RunLoop::pendingCount() const {
    std::lock_guard lock(mutex_);
    return tasks_.size();
}

void RunLoop::cancelAll() {
    std::lock_guard lock(mutex_);
    tasks_.clear();
}
