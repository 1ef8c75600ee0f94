#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <string>

// A bare HTTP connection for what a library client hides: event streams read piece by
// piece, and a connection dropped half way.
class RawConnection {
  public:
    explicit RawConnection(int port) : socket_(::socket(AF_INET, SOCK_STREAM, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<std::uint16_t>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        connected_ =
            ::connect(socket_, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
    }
    ~RawConnection() { close(); }
    RawConnection(const RawConnection&) = delete;
    RawConnection& operator=(const RawConnection&) = delete;

    bool send(const std::string& bytes) {
        return connected_ && ::send(socket_, bytes.data(), bytes.size(), MSG_NOSIGNAL) ==
                                 static_cast<ssize_t>(bytes.size());
    }

    // Reads until `needle` has arrived (true) or the time-out passes (false).
    bool readUntil(const std::string& needle,
                   std::chrono::milliseconds timeout = std::chrono::seconds(5)) {
        auto deadline = std::chrono::steady_clock::now() + timeout;
        while (received_.find(needle) == std::string::npos) {
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            pollfd ready{socket_, POLLIN, 0};
            if (left.count() <= 0 || ::poll(&ready, 1, static_cast<int>(left.count())) <= 0) {
                return false;
            }
            char buffer[4096];
            ssize_t count = ::recv(socket_, buffer, sizeof(buffer), 0);
            if (count <= 0) {
                ended_ = true;
                return false;
            }
            received_.append(buffer, static_cast<std::size_t>(count));
        }
        return true;
    }

    const std::string& received() const { return received_; }
    // Whether the server closed the connection (seen by readUntil).
    bool ended() const { return ended_; }

    void close() {
        if (socket_ >= 0) {
            ::close(socket_);
            socket_ = -1;
        }
    }

  private:
    int socket_;
    bool connected_ = false;
    bool ended_ = false;
    std::string received_;
};
