#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

// Holds the connections that have no complete request yet, all on one thread, so that a
// slow or idle client costs a socket but never a server thread. A connection leaves for
// `ready` once its request head (and a small body) has arrived; one whose request does not
// arrive within the time limits is closed.
class ConnectionGate {
  public:
    struct Limits {
        // Open connections, waiting or being answered; more are refused at once.
        std::size_t maxConnections = 1024;
        // From the connection's start, or a kept-alive one's first byte, to the end of its head.
        std::chrono::milliseconds headDeadline{2000};
        // How long a kept-alive connection may wait for its next request.
        std::chrono::milliseconds idleTimeout{5000};
        // A body up to this size must arrive with the head; a larger one is read afterwards.
        std::size_t bodyWithHead = 64 * 1024;
    };

    ConnectionGate(Limits limits, std::function<void(int socket)> ready);
    ~ConnectionGate();
    ConnectionGate(const ConnectionGate&) = delete;
    ConnectionGate& operator=(const ConnectionGate&) = delete;

    // A new connection: waits for its request, or is answered 503 and closed when the cap
    // is reached or the gate is closed.
    void arrive(int socket);
    // A kept-alive connection after its answer: waits for its next request.
    void await(int socket);
    // A connection that leaves the server's hands (closed, or taken over by a stream).
    void release(int socket, bool closeIt);

    // Closes every waiting connection and refuses new ones.
    void close();

  private:
    struct Waiting {
        std::chrono::steady_clock::time_point deadline;
        bool started = false;
    };

    void watch(int socket, std::chrono::milliseconds limit, bool started);
    void loop();
    bool complete(int socket, Waiting& waiting);
    static void refuse(int socket, const std::string& answer);

    const Limits limits_;
    const std::function<void(int)> ready_;
    const int poller_;
    const int wakeup_;
    // The bytes a waiting connection has sent, looked at by the gate's thread only.
    std::vector<char> peeked_;
    std::mutex mutex_;
    std::unordered_map<int, Waiting> waiting_;
    std::size_t open_ = 0;
    bool closed_ = false;
    std::thread thread_;
};
