#pragma once

#include <httplib.h>

#include <functional>
#include <memory>
#include <mutex>

#include "host/browser/ConnectionGate.h"

// The HTTP server with its connections held by a ConnectionGate until their request has
// arrived: its threads only answer requests that are there to answer, so slow, idle and
// stream connections never take them up.
class GatedHttpServer : public httplib::Server {
  public:
    GatedHttpServer(ConnectionGate::Limits limits, std::size_t threads);
    ~GatedHttpServer() override;

    // From an answer's content provider: once the provider returns (false, to end the
    // library's writing), the connection goes to `taker` as it is, neither read again nor
    // closed.
    static void handOver(std::function<void(int socket)> taker);

    // listen_after_bind() with room for a burst of connections waiting to be accepted: the
    // library's queue of 5 drops the rest, whose clients retry only a second later.
    bool listenAfterBind();

    // After listenAfterBind() returned: closes the waiting connections and finishes the
    // requests being answered.
    void finish();

  private:
    // The library calls this for every accepted connection, on its listening thread.
    bool process_and_close_socket(socket_t socket) override;
    void serve(int socket);

    ConnectionGate gate_;
    std::once_flag finished_;
    httplib::ThreadPool threads_;
};
