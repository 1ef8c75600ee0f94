#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

// Hands the latest screen revision from the main thread to the open event streams. One
// writer thread serves every stream: it writes each new revision as a server-sent event in
// an HTTP chunk, a keep-alive comment to a stream idle for the keep-alive interval, and drops
// a stream whose tab has gone or that takes no more bytes.
class RevisionFeed {
  public:
    RevisionFeed(std::size_t maxStreams, std::chrono::milliseconds keepAliveInterval);
    ~RevisionFeed();
    RevisionFeed(const RevisionFeed&) = delete;
    RevisionFeed& operator=(const RevisionFeed&) = delete;

    // Takes a stream slot; false when all are taken or the feed is closed.
    bool trySubscribe();
    // Gives back a slot taken for a stream that did not start.
    void unsubscribe();
    // Takes over the socket of a stream whose answer head and first event, `sent`, are
    // written; the feed closes it when the stream ends. Frees the slot taken for it.
    void adopt(int socket, std::uint64_t sent);
    std::size_t subscribers() const;

    void publish(std::uint64_t revision);
    std::uint64_t revision() const;

    // Ends every stream with the last chunk and refuses new ones, so that the server can stop.
    void close();

    // The event that announces `revision`.
    static std::string message(std::uint64_t revision);

  private:
    struct Stream {
        int socket;
        std::uint64_t sent;
        std::chrono::steady_clock::time_point lastWrite;
    };

    void write();
    static bool sendChunk(int socket, const std::string& payload);
    static bool peerLeft(int socket);

    const std::size_t maxStreams_;
    const std::chrono::milliseconds keepAliveInterval_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::vector<Stream> streams_;
    std::size_t reserved_ = 0;
    std::uint64_t revision_ = 0;
    bool closed_ = false;
    std::thread writer_;
};
