#include "host/browser/RevisionFeed.h"

#include <fmt/format.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>

namespace {
// How often the writer looks for streams whose tab has gone while nothing changes.
constexpr auto kHBFeedLookInterval = std::chrono::milliseconds(500);
}  // namespace

RevisionFeed::RevisionFeed(std::size_t maxStreams, std::chrono::milliseconds keepAliveInterval)
    : maxStreams_(maxStreams),
      keepAliveInterval_(keepAliveInterval),
      writer_([this] { write(); }) {}

RevisionFeed::~RevisionFeed() {
    close();
}

bool RevisionFeed::trySubscribe() {
    std::lock_guard lock(mutex_);
    if (closed_ || streams_.size() + reserved_ >= maxStreams_) {
        return false;
    }
    ++reserved_;
    return true;
}

void RevisionFeed::unsubscribe() {
    std::lock_guard lock(mutex_);
    reserved_ -= reserved_ > 0 ? 1 : 0;
}

void RevisionFeed::adopt(int socket, std::uint64_t sent) {
    {
        std::lock_guard lock(mutex_);
        reserved_ -= reserved_ > 0 ? 1 : 0;
        if (!closed_) {
            streams_.push_back({socket, sent, std::chrono::steady_clock::now()});
            socket = -1;
        }
    }
    if (socket >= 0) {
        sendChunk(socket, "");
        ::close(socket);
    }
    wake_.notify_all();
}

std::size_t RevisionFeed::subscribers() const {
    std::lock_guard lock(mutex_);
    return streams_.size() + reserved_;
}

void RevisionFeed::publish(std::uint64_t revision) {
    {
        std::lock_guard lock(mutex_);
        if (revision == revision_) {
            return;
        }
        revision_ = revision;
    }
    wake_.notify_all();
}

std::uint64_t RevisionFeed::revision() const {
    std::lock_guard lock(mutex_);
    return revision_;
}

std::string RevisionFeed::message(std::uint64_t revision) {
    return fmt::format("retry: 1000\nevent: revision\ndata: {}\n\n", revision);
}

void RevisionFeed::close() {
    {
        std::lock_guard lock(mutex_);
        closed_ = true;
    }
    wake_.notify_all();
    if (writer_.joinable() && writer_.get_id() != std::this_thread::get_id()) {
        writer_.join();
    }
}

// Writes under the lock: every write is a non-blocking send of a few dozen bytes, and a
// stream that cannot take them at once is dropped (its tab reconnects and refetches).
void RevisionFeed::write() {
    std::unique_lock lock(mutex_);
    while (true) {
        auto interval =
            std::min<std::chrono::milliseconds>(keepAliveInterval_, kHBFeedLookInterval);
        wake_.wait_for(lock, interval);
        auto now = std::chrono::steady_clock::now();
        auto ended = std::remove_if(streams_.begin(), streams_.end(), [&](Stream& stream) {
            bool ok = true;
            if (closed_) {
                ok = false;
                sendChunk(stream.socket, "");
            } else if (stream.sent != revision_) {
                ok = sendChunk(stream.socket, message(revision_));
                stream.sent = revision_;
                stream.lastWrite = now;
            } else if (now - stream.lastWrite >= keepAliveInterval_) {
                ok = sendChunk(stream.socket, ": keep-alive\n\n");
                stream.lastWrite = now;
            } else {
                ok = !peerLeft(stream.socket);
            }
            if (!ok) {
                ::close(stream.socket);
            }
            return !ok;
        });
        streams_.erase(ended, streams_.end());
        if (closed_) {
            return;
        }
    }
}

// One chunk of the chunked answer; the empty payload is the last chunk, which ends it.
bool RevisionFeed::sendChunk(int socket, const std::string& payload) {
    std::string chunk = payload.empty() ? std::string("0\r\n\r\n")
                                        : fmt::format("{:x}\r\n{}\r\n", payload.size(), payload);
    return ::send(socket, chunk.data(), chunk.size(), MSG_NOSIGNAL | MSG_DONTWAIT) ==
           static_cast<ssize_t>(chunk.size());
}

// A browser sends nothing on a stream: a readable socket means the tab closed it.
bool RevisionFeed::peerLeft(int socket) {
    char byte;
    ssize_t got = ::recv(socket, &byte, 1, MSG_PEEK | MSG_DONTWAIT);
    return got == 0 || (got < 0 && errno != EAGAIN && errno != EWOULDBLOCK);
}
