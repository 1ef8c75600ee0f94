#pragma once

#include <nlohmann/json.hpp>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "host/browser/AccessPolicy.h"
#include "host/browser/ConnectionGate.h"
#include "host/browser/MainThreadQueue.h"
#include "host/browser/RevisionFeed.h"
#include "host/browser/ScreenHistory.h"
#include "host/browser/ScreenSource.h"
#include "platform/foundation/Result.h"

namespace httplib {
struct Request;
struct Response;
}  // namespace httplib
class GatedHttpServer;
class RequestAdmission;

struct BrowserServerOptions {
    // 0 picks a free port.
    int port = 8080;
    // Streams cost a socket, not a thread: one writer serves them all.
    std::size_t maxStreams = 64;
    ConnectionGate::Limits connections;
    // Threads that answer requests whose head has arrived.
    std::size_t threads = 8;
    // How long an idle event stream waits before it writes a keep-alive comment; a closed
    // browser tab frees its stream slot at the next such write.
    std::chrono::milliseconds keepAliveInterval{5000};
    // How long a request waits for the main thread to take up its work before it answers
    // 503; the work is then dropped, so the refused event changes nothing.
    std::chrono::milliseconds answerTimeout{30000};
};

// Serves a ScreenSource to a web browser on 127.0.0.1. HTTP threads never touch the source:
// they hand their work to the main thread, which runs it between calls to runDueWork() and
// pushes every new revision to the open event streams.
class BrowserServer {
  public:
    BrowserServer(ScreenSource& source, BrowserServerOptions options);
    ~BrowserServer();
    BrowserServer(const BrowserServer&) = delete;
    BrowserServer& operator=(const BrowserServer&) = delete;

    // Binds the port and starts answering; requests wait until run() serves them.
    Status start();
    int port() const { return port_; }
    const std::string& token() const { return access_->token(); }
    // The address to open, token included: http://127.0.0.1:PORT/?token=TOKEN
    std::string address() const;

    // The main loop; returns after requestStop() once every accepted request is answered,
    // or with a failure when the listener stopped on its own (the port no longer answers).
    Status run();
    // Safe to call from a signal handler or any thread.
    void requestStop() { stopRequested_.store(true); }

  private:
    using Request = httplib::Request;
    using Response = httplib::Response;
    struct Answer {
        int status = 200;
        nlohmann::json body;
    };

    void configure();
    void installRoutes();
    void servePage(const Request& request, Response& response);
    void serveScreen(Response& response);
    void serveEvent(const Request& request, Response& response);
    void serveImport(const Request& request, Response& response);
    void answerFromMainThread(std::function<Answer()> work, Response& response);
    void serveDrawing(const Request& request, Response& response);
    static void serveSound(const Request& request, Response& response);
    void serveStream(Response& response);

    std::optional<Answer> onMainThread(std::function<Answer()> work);
    nlohmann::json currentScreen();
    // basis: the number of the screen the page holds (X-Screen-Basis), if it sent one.
    Answer applyEvent(const nlohmann::json& event, std::optional<std::uint64_t> basis);
    Answer applyImport(const std::string& fileName, const std::string& bytes);
    Answer changedScreen(std::optional<std::uint64_t> basis = std::nullopt);
    void step();
    void shutDown();

    ScreenSource& source_;
    BrowserServerOptions options_;
    std::unique_ptr<GatedHttpServer> http_;
    std::unique_ptr<AccessPolicy> access_;
    std::unique_ptr<RequestAdmission> admission_;
    MainThreadQueue queue_;
    std::shared_ptr<RevisionFeed> feed_;
    // Used on the main thread only.
    ScreenHistory history_;
    std::thread listener_;
    std::atomic<bool> listenerDone_{false};
    std::atomic<bool> stopRequested_{false};
    std::atomic<bool> stopping_{false};
    int port_ = 0;
};
