#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>

// Hands the latest screen revision from the main thread to the open event streams. Each
// stream holds a server thread for its whole life, so their number is bounded.
class RevisionFeed {
  public:
    explicit RevisionFeed(std::size_t maxSubscribers) : maxSubscribers_(maxSubscribers) {}

    // Takes a stream slot; false when all are taken or the feed is closed.
    bool trySubscribe();
    void unsubscribe();
    std::size_t subscribers() const;

    void publish(std::uint64_t revision);
    std::uint64_t revision() const;
    // Waits until the revision differs from `known`, the feed closes or the time-out passes;
    // returns the revision then.
    std::uint64_t waitForChange(std::uint64_t known, std::chrono::milliseconds timeout);

    // Wakes every waiting stream for good, so that the server can stop.
    void close();
    bool closed() const;

  private:
    const std::size_t maxSubscribers_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::size_t subscribers_ = 0;
    std::uint64_t revision_ = 0;
    bool closed_ = false;
};
