#include "host/browser/RevisionFeed.h"

bool RevisionFeed::trySubscribe() {
    std::lock_guard lock(mutex_);
    if (closed_ || subscribers_ >= maxSubscribers_) {
        return false;
    }
    ++subscribers_;
    return true;
}

void RevisionFeed::unsubscribe() {
    std::lock_guard lock(mutex_);
    if (subscribers_ > 0) {
        --subscribers_;
    }
}

std::size_t RevisionFeed::subscribers() const {
    std::lock_guard lock(mutex_);
    return subscribers_;
}

void RevisionFeed::publish(std::uint64_t revision) {
    {
        std::lock_guard lock(mutex_);
        if (revision == revision_) {
            return;
        }
        revision_ = revision;
    }
    changed_.notify_all();
}

std::uint64_t RevisionFeed::revision() const {
    std::lock_guard lock(mutex_);
    return revision_;
}

std::uint64_t RevisionFeed::waitForChange(std::uint64_t known, std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, timeout, [&] { return closed_ || revision_ != known; });
    return revision_;
}

void RevisionFeed::close() {
    {
        std::lock_guard lock(mutex_);
        closed_ = true;
    }
    changed_.notify_all();
}

bool RevisionFeed::closed() const {
    std::lock_guard lock(mutex_);
    return closed_;
}
