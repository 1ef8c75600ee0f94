#include "host/browser/ConnectionGate.h"

#include <fmt/format.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <string_view>
#include <vector>

namespace {

// The library refuses a request head larger than this itself; it is handed over to do so.
constexpr std::size_t kHBGateLargestHead = 16 * 1024;
// How often the deadlines are looked at.
constexpr int kHBGateSweepMilliseconds = 100;

// An answer that closes the connection, written before the request was read.
std::string closingAnswer(std::string_view status, std::string_view message) {
    std::string body = fmt::format(R"({{"error": "{}"}})", message);
    return fmt::format(
        "HTTP/1.1 {}\r\nConnection: close\r\nContent-Type: application/json\r\n"
        "Content-Length: {}\r\n\r\n{}",
        status, body.size(), body);
}

// The Content-Length a request head names, 0 when it names none.
std::size_t bodyLength(std::string_view head) {
    constexpr std::string_view kName = "\r\ncontent-length:";
    auto same = [](char a, char b) { return std::tolower(a) == std::tolower(b); };
    auto found = std::search(head.begin(), head.end(), kName.begin(), kName.end(), same);
    if (found == head.end()) {
        return 0;
    }
    std::string_view rest =
        head.substr(static_cast<std::size_t>(found - head.begin()) + kName.size());
    rest.remove_prefix(std::min(rest.find_first_not_of(' '), rest.size()));
    std::size_t length = 0;
    std::from_chars(rest.data(), rest.data() + rest.size(), length);
    return length;
}

}  // namespace

ConnectionGate::ConnectionGate(Limits limits, std::function<void(int)> ready)
    : limits_(limits),
      ready_(std::move(ready)),
      poller_(::epoll_create1(EPOLL_CLOEXEC)),
      wakeup_(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)),
      peeked_(kHBGateLargestHead + limits.bodyWithHead) {
    epoll_event event{};
    event.events = EPOLLIN;
    event.data.fd = wakeup_;
    ::epoll_ctl(poller_, EPOLL_CTL_ADD, wakeup_, &event);
    thread_ = std::thread([this] { loop(); });
}

ConnectionGate::~ConnectionGate() {
    close();
    ::close(poller_);
    ::close(wakeup_);
}

void ConnectionGate::arrive(int socket) {
    {
        std::lock_guard lock(mutex_);
        if (!closed_ && open_ < limits_.maxConnections) {
            ++open_;
        } else {
            socket = -socket - 1;
        }
    }
    if (socket < 0) {
        refuse(-socket - 1,
               closingAnswer("503 Service Unavailable", "Too many connections are open"));
        return;
    }
    watch(socket, limits_.headDeadline, true);
}

void ConnectionGate::await(int socket) {
    watch(socket, limits_.idleTimeout, false);
}

void ConnectionGate::watch(int socket, std::chrono::milliseconds limit, bool started) {
    std::unique_lock lock(mutex_);
    if (closed_) {
        lock.unlock();
        release(socket, true);
        return;
    }
    waiting_[socket] = {std::chrono::steady_clock::now() + limit, started};
    // Edge-triggered: the gate only peeks, so the bytes stay readable; each new arrival
    // still wakes it.
    epoll_event event{};
    event.events = EPOLLIN | EPOLLRDHUP | EPOLLET;
    event.data.fd = socket;
    ::epoll_ctl(poller_, EPOLL_CTL_ADD, socket, &event);
}

void ConnectionGate::release(int socket, bool closeIt) {
    {
        std::lock_guard lock(mutex_);
        open_ -= open_ > 0 ? 1 : 0;
    }
    if (closeIt) {
        ::close(socket);
    }
}

void ConnectionGate::close() {
    {
        std::lock_guard lock(mutex_);
        closed_ = true;
    }
    std::uint64_t one = 1;
    [[maybe_unused]] ssize_t written = ::write(wakeup_, &one, sizeof(one));
    if (thread_.joinable()) {
        thread_.join();
    }
}

void ConnectionGate::loop() {
    std::vector<epoll_event> events(256);
    std::vector<int> ready;
    while (true) {
        int count = ::epoll_wait(poller_, events.data(), static_cast<int>(events.size()),
                                 kHBGateSweepMilliseconds);
        std::unique_lock lock(mutex_);
        auto leave = [&](int socket) {
            ::epoll_ctl(poller_, EPOLL_CTL_DEL, socket, nullptr);
            waiting_.erase(socket);
        };
        if (closed_) {
            for (auto& [socket, waiting] : waiting_) {
                ::close(socket);
                open_ -= open_ > 0 ? 1 : 0;
            }
            waiting_.clear();
            return;
        }
        for (int i = 0; i < count; ++i) {
            auto found = waiting_.find(events[static_cast<std::size_t>(i)].data.fd);
            if (found == waiting_.end()) {
                continue;
            }
            int socket = found->first;
            // A client that stopped sending before its request was complete never completes it.
            bool ended = events[static_cast<std::size_t>(i)].events & (EPOLLRDHUP | EPOLLHUP);
            if (complete(socket, found->second)) {
                leave(socket);
                ready.push_back(socket);
            } else if (ended) {
                leave(socket);
                ::close(socket);
                open_ -= open_ > 0 ? 1 : 0;
            }
        }
        auto now = std::chrono::steady_clock::now();
        std::vector<std::pair<int, bool>> late;
        for (auto& [socket, waiting] : waiting_) {
            if (waiting.deadline <= now) {
                late.emplace_back(socket, waiting.started);
            }
        }
        for (auto [socket, started] : late) {
            leave(socket);
            open_ -= open_ > 0 ? 1 : 0;
            // A request begun is told why; an idle kept-alive connection is just closed.
            if (started) {
                refuse(socket,
                       closingAnswer("408 Request Timeout", "The request did not arrive in time"));
            } else {
                ::close(socket);
            }
        }
        lock.unlock();
        for (int socket : ready) {
            ready_(socket);
        }
        ready.clear();
    }
}

// Whether the request head (and a body small enough to wait for) has arrived. The first byte
// of a kept-alive connection's next request starts its head deadline.
bool ConnectionGate::complete(int socket, Waiting& waiting) {
    std::vector<char>& buffer = peeked_;
    ssize_t got = ::recv(socket, buffer.data(), buffer.size(), MSG_PEEK | MSG_DONTWAIT);
    if (got <= 0) {
        return false;
    }
    if (!waiting.started) {
        waiting.started = true;
        waiting.deadline =
            std::min(waiting.deadline, std::chrono::steady_clock::now() + limits_.headDeadline);
    }
    std::string_view bytes(buffer.data(), static_cast<std::size_t>(got));
    std::size_t end = bytes.find("\r\n\r\n");
    if (end == std::string_view::npos) {
        return bytes.size() >= kHBGateLargestHead;
    }
    std::size_t body = bodyLength(bytes.substr(0, end + 2));
    return body > limits_.bodyWithHead || bytes.size() >= end + 4 + body;
}

// Reads what the client sent first: closing a socket with unread bytes resets the connection,
// and the client may then lose the answer.
void ConnectionGate::refuse(int socket, const std::string& answer) {
    char scrap[4096];
    while (::recv(socket, scrap, sizeof(scrap), MSG_DONTWAIT) > 0) {
    }
    [[maybe_unused]] ssize_t sent =
        ::send(socket, answer.data(), answer.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    ::close(socket);
}
