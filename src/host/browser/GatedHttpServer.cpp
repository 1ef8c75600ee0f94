#include "host/browser/GatedHttpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace {

constexpr int kHBServerReadTimeoutMilliseconds = 5000;
constexpr int kHBServerWriteTimeoutMilliseconds = 5000;
constexpr int kHBServerAcceptBacklog = 1024;

thread_local std::function<void(int)> tHBHandOver;

// Accepted connections go straight to the gate: nothing may block the listening thread.
class ArrivalQueue : public httplib::TaskQueue {
  public:
    void enqueue(std::function<void()> work) override { work(); }
    void shutdown() override {}
};

// One request's reads and writes on a connection. Reads take exactly what the library asks
// for, so that bytes of a following request stay in the socket for the gate.
class GatedSocketStream : public httplib::Stream {
  public:
    explicit GatedSocketStream(int socket) : socket_(socket) {}

    bool is_readable() const override { return ready(POLLIN, kHBServerReadTimeoutMilliseconds); }
    bool is_writable() const override { return ready(POLLOUT, kHBServerWriteTimeoutMilliseconds); }

    ssize_t read(char* bytes, size_t size) override {
        if (!is_readable()) {
            return -1;
        }
        ssize_t got;
        do {
            got = ::recv(socket_, bytes, size, 0);
        } while (got < 0 && errno == EINTR);
        return got;
    }

    ssize_t write(const char* bytes, size_t size) override {
        if (!is_writable()) {
            return -1;
        }
        ssize_t sent;
        do {
            sent = ::send(socket_, bytes, size, MSG_NOSIGNAL);
        } while (sent < 0 && errno == EINTR);
        return sent;
    }

    void get_remote_ip_and_port(std::string& ip, int& port) const override {
        address(::getpeername, ip, port);
    }
    void get_local_ip_and_port(std::string& ip, int& port) const override {
        address(::getsockname, ip, port);
    }
    socket_t socket() const override { return socket_; }

  private:
    bool ready(short events, int timeout) const {
        pollfd entry{socket_, events, 0};
        int count;
        do {
            count = ::poll(&entry, 1, timeout);
        } while (count < 0 && errno == EINTR);
        return count > 0 && (entry.revents & events) != 0;
    }

    void address(int (*lookUp)(int, sockaddr*, socklen_t*), std::string& ip, int& port) const {
        sockaddr_in found{};
        socklen_t length = sizeof(found);
        char text[INET_ADDRSTRLEN] = "";
        if (lookUp(socket_, reinterpret_cast<sockaddr*>(&found), &length) == 0) {
            ::inet_ntop(AF_INET, &found.sin_addr, text, sizeof(text));
            port = ntohs(found.sin_port);
        }
        ip = text;
    }

    int socket_;
};

}  // namespace

GatedHttpServer::GatedHttpServer(ConnectionGate::Limits limits, std::size_t threads)
    : gate_(limits, [this](int socket) { threads_.enqueue([this, socket] { serve(socket); }); }),
      threads_(threads) {
    new_task_queue = [] { return new ArrivalQueue(); };
}

GatedHttpServer::~GatedHttpServer() {
    finish();
}

void GatedHttpServer::handOver(std::function<void(int)> taker) {
    tHBHandOver = std::move(taker);
}

bool GatedHttpServer::listenAfterBind() {
    // Listening again on a listening socket only changes its backlog.
    ::listen(svr_sock_, kHBServerAcceptBacklog);
    return listen_after_bind();
}

void GatedHttpServer::finish() {
    std::call_once(finished_, [this] {
        gate_.close();
        threads_.shutdown();
    });
}

bool GatedHttpServer::process_and_close_socket(socket_t socket) {
    gate_.arrive(socket);
    return true;
}

void GatedHttpServer::serve(int socket) {
    GatedSocketStream stream(socket);
    bool closed = false;
    bool answered = process_request(stream, !is_running(), closed, [](httplib::Request&) {});
    if (std::function<void(int)> taker = std::exchange(tHBHandOver, nullptr)) {
        gate_.release(socket, false);
        taker(socket);
    } else if (answered && !closed && is_running()) {
        gate_.await(socket);
    } else {
        gate_.release(socket, true);
    }
}
