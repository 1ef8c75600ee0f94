#include "host/browser/BrowserServer.h"

#include <fmt/format.h>
#include <httplib.h>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>

#include "host/browser/EventShape.h"
#include "host/browser/GatedHttpServer.h"
#include "host/browser/HttpAnswer.h"
#include "host/browser/RequestAdmission.h"
#include "host/browser/SoundFiles.h"
#include "host/browser/WebAssets.h"
#include "platform/foundation/Base64.h"

namespace {

using nlohmann::json;
constexpr auto kMainLoopTick = std::chrono::milliseconds(10);

// Only SO_REUSEADDR: the library's default adds SO_REUSEPORT, with which a second server
// on the same fixed port binds too and steals half the connections.
void socketOptions(int socket) {
    int yes = 1;
    ::setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof(yes));
}

// Every open connection holds a descriptor: make room for as many as the server takes.
void raiseDescriptorLimit(std::size_t wanted) {
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < wanted) {
        limit.rlim_cur = std::min<rlim_t>(wanted, limit.rlim_max);
        ::setrlimit(RLIMIT_NOFILE, &limit);
    }
}

// Room for the program's own files beside its connections and streams.
constexpr std::size_t kSpareDescriptors = 256;

}  // namespace

BrowserServer::BrowserServer(ScreenSource& source, BrowserServerOptions options)
    : source_(source),
      options_(options),
      http_(std::make_unique<GatedHttpServer>(options.connections, options.threads)),
      feed_(std::make_shared<RevisionFeed>(options.maxStreams, options.keepAliveInterval)) {}

BrowserServer::~BrowserServer() {
    if (listener_.joinable()) {
        requestStop();
        shutDown();
    }
}

std::string BrowserServer::address() const {
    return fmt::format("http://127.0.0.1:{}/?token={}", port_, access_->token());
}

Status BrowserServer::start() {
    Result<std::string> token = AccessPolicy::makeToken();
    if (!token) {
        return Status::failure(token.error());
    }
    configure();
    raiseDescriptorLimit(options_.connections.maxConnections + options_.maxStreams +
                         kSpareDescriptors);
    port_ = options_.port == 0
                ? http_->bind_to_any_port("127.0.0.1")
                : (http_->bind_to_port("127.0.0.1", options_.port) ? options_.port : -1);
    if (port_ <= 0) {
        return Status::failure(fmt::format("Cannot listen on 127.0.0.1:{}", options_.port));
    }
    access_ = std::make_unique<AccessPolicy>(std::move(token).value(), port_);
    admission_ = std::make_unique<RequestAdmission>(*access_, stopping_);
    installRoutes();
    feed_->publish(source_.revision());
    listener_ = std::thread([this] {
        http_->listenAfterBind();
        http_->finish();
        listenerDone_.store(true);
    });
    // stop() does nothing until the listener runs, so make sure it does before going on.
    while (!http_->is_running() && !listenerDone_.load()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return Status::success();
}

void BrowserServer::configure() {
    http_->set_socket_options(socketOptions);
    // Headers and body leave in separate writes; without this the second waits for the
    // peer's delayed acknowledgement, some 40 ms on every answer.
    http_->set_tcp_nodelay(true);
    http_->set_payload_max_length(RequestAdmission::kMaxImportBytes);
    http_->set_default_headers({{"Cache-Control", "no-store"},
                                {"X-Content-Type-Options", "nosniff"},
                                {"Referrer-Policy", "no-referrer"}});
}

void BrowserServer::installRoutes() {
    http_->set_pre_routing_handler([this](const Request& request, Response& response) {
        // Answers go uncompressed whatever the browser accepts: on loopback compressing costs
        // more than the bytes save (Brotli at the library's quality takes some 40 ms for one
        // screen). The library picks the encoding from this header of its own request object.
        const_cast<Request&>(request).headers.erase("Accept-Encoding");
        return admission_->admit(request, response) ? httplib::Server::HandlerResponse::Unhandled
                                                    : httplib::Server::HandlerResponse::Handled;
    });
    auto page = [this](const Request& request, Response& response) {
        servePage(request, response);
    };
    for (std::string_view path : WebAssets::paths()) {
        http_->Get(std::string(path), page);
    }
    http_->Get("/api/screen",
               [this](const Request&, Response& response) { serveScreen(response); });
    http_->Post("/api/event", [this](const Request& request, Response& response) {
        serveEvent(request, response);
    });
    http_->Post("/api/import", [this](const Request& request, Response& response) {
        serveImport(request, response);
    });
    http_->Get(
        R"(/api/drawing/(\w+)/(\d{1,19}))",
        [this](const Request& request, Response& response) { serveDrawing(request, response); });
    http_->Get(std::string(SoundFiles::kPath) + "(/.*)",
               [](const Request& request, Response& response) { serveSound(request, response); });
    http_->Get("/api/stream",
               [this](const Request&, Response& response) { serveStream(response); });
}

void BrowserServer::servePage(const Request& request, Response& response) {
    std::optional<WebAssets::Asset> asset = WebAssets::load(request.path);
    if (!asset) {
        HttpAnswer::error(response, 500,
                          fmt::format("The page is missing from {}", WebAssets::directory()));
        return;
    }
    response.set_header("Content-Security-Policy",
                        "default-src 'self'; img-src 'self' data: blob:; "
                        "frame-ancestors 'none'; base-uri 'none'; form-action 'none'");
    response.set_header("X-Frame-Options", "DENY");
    response.set_content(asset->bytes, asset->contentType);
}

void BrowserServer::serveScreen(Response& response) {
    std::optional<Answer> answer = onMainThread([this] {
        return Answer{200, history_.answer(currentScreen(), std::nullopt)};
    });
    if (!answer) {
        HttpAnswer::error(response, 503, "The pane did not answer in time");
        return;
    }
    HttpAnswer::json(response, answer->body);
}

void BrowserServer::answerFromMainThread(std::function<Answer()> work, Response& response) {
    std::optional<Answer> answer = onMainThread(std::move(work));
    if (!answer) {
        HttpAnswer::error(response, 503, "The pane is busy; the event was not applied");
        return;
    }
    response.status = answer->status;
    HttpAnswer::json(response, answer->body);
}

void BrowserServer::serveEvent(const Request& request, Response& response) {
    std::optional<json> event = RequestAdmission::parseBody(request, response);
    if (!event) {
        return;
    }
    if (Status shape = EventShape::check(*event); !shape) {
        HttpAnswer::error(response, 400, shape.error());
        return;
    }
    std::optional<std::uint64_t> basis =
        ScreenHistory::parseBasis(request.get_header_value("X-Screen-Basis"));
    answerFromMainThread(
        [this, event = std::move(*event), basis] { return applyEvent(event, basis); }, response);
}

// A file handed in: {"fileName": "...", "data": "BASE64"}, so that it passes the same
// admission as events (JSON only, bounded, from this page only).
void BrowserServer::serveImport(const Request& request, Response& response) {
    std::optional<json> upload = RequestAdmission::parseBody(request, response);
    if (!upload) {
        return;
    }
    Result<EventShape::ImportedFile> file = EventShape::importedFile(*upload);
    if (!file) {
        HttpAnswer::error(response, 400, file.error());
        return;
    }
    answerFromMainThread(
        [this, file = std::move(file).value()] { return applyImport(file.name, file.bytes); },
        response);
}

// A drawing's address names one picture for good, so the browser may keep it: a screen drawn
// again fetches only the pictures whose address changed.
void BrowserServer::serveDrawing(const Request& request, Response& response) {
    std::string identifier = request.matches[1];
    std::uint64_t version = std::stoull(request.matches[2]);
    auto png = queue_.call<std::optional<std::string>>(
        [this, identifier, version] { return source_.drawing(identifier, version); },
        options_.answerTimeout);
    if (!png) {
        HttpAnswer::error(response, 503, "The pane did not answer in time");
        return;
    }
    if (!*png) {
        HttpAnswer::error(response, 404, "No such drawing: the view was drawn again or has gone");
        return;
    }
    response.headers.erase("Cache-Control");
    response.set_header("Cache-Control", "private, max-age=86400, immutable");
    response.set_content(std::move(**png), "image/png");
}

// Files only, read on the HTTP thread: no state of the pane is touched.
void BrowserServer::serveSound(const Request& request, Response& response) {
    std::optional<SoundFiles::Located> sound = SoundFiles::locate(request.matches[1].str());
    std::optional<std::string> bytes = sound ? SoundFiles::read(*sound) : std::nullopt;
    if (!bytes) {
        HttpAnswer::error(response, 404,
                          "Only sound files of the device's tones and ringtones play");
        return;
    }
    response.set_content(std::move(*bytes), sound->contentType);
}

// The answer head and the current revision are written here; then the feed's writer takes
// the connection over, so that an open stream holds no server thread.
void BrowserServer::serveStream(Response& response) {
    std::shared_ptr<RevisionFeed> feed = feed_;
    if (!feed->trySubscribe()) {
        HttpAnswer::error(response, 503,
                          fmt::format("At most {} event streams", options_.maxStreams));
        return;
    }
    auto handedOver = std::make_shared<bool>(false);
    auto provider = [feed, handedOver](std::size_t, httplib::DataSink& sink) {
        std::uint64_t revision = feed->revision();
        std::string message = RevisionFeed::message(revision);
        if (sink.write(message.data(), message.size())) {
            *handedOver = true;
            GatedHttpServer::handOver(
                [feed, revision](int socket) { feed->adopt(socket, revision); });
        }
        return false;
    };
    response.set_header("X-Accel-Buffering", "no");
    response.set_chunked_content_provider("text/event-stream", provider, [feed, handedOver](bool) {
        if (!*handedOver) {
            feed->unsubscribe();
        }
    });
}

std::optional<BrowserServer::Answer> BrowserServer::onMainThread(std::function<Answer()> work) {
    return queue_.call<Answer>(
        [work = std::move(work)] {
            try {
                return work();
            } catch (const std::exception& error) {
                return Answer{500, json{{"error", error.what()}}};
            }
        },
        options_.answerTimeout);
}

json BrowserServer::currentScreen() {
    json screen = source_.screen();
    screen["revision"] = source_.revision();
    return screen;
}

BrowserServer::Answer BrowserServer::applyEvent(const json& event,
                                                std::optional<std::uint64_t> basis) {
    if (Status applied = source_.handleEvent(event); !applied) {
        return Answer{400, json{{"error", applied.error()}}};
    }
    return changedScreen(basis);
}

BrowserServer::Answer BrowserServer::applyImport(const std::string& fileName,
                                                 const std::string& bytes) {
    if (Status taken = source_.receiveFile(fileName, bytes); !taken) {
        return Answer{400, json{{"error", taken.error()}}};
    }
    return changedScreen();
}

// The screen after a change, with what the change handed out.
BrowserServer::Answer BrowserServer::changedScreen(std::optional<std::uint64_t> basis) {
    json screen = currentScreen();
    if (std::optional<SharedFile> file = source_.takeSharedFile()) {
        screen["sharedFile"] = {{"name", file->name},
                                {"mimeType", file->mimeType},
                                {"data", Base64::encode(file->bytes)}};
    }
    if (std::vector<std::string> urls = source_.takeOpenedURLs(); !urls.empty()) {
        screen["openedURLs"] = urls;
    }
    // Other tabs learn of the change through their streams; this one has it in the answer.
    feed_->publish(source_.revision());
    return Answer{200, history_.answer(std::move(screen), basis)};
}

void BrowserServer::step() {
    queue_.runPending(kMainLoopTick);
    source_.runDueWork();
    feed_->publish(source_.revision());
}

Status BrowserServer::run() {
    while (!stopRequested_.load() && !listenerDone_.load()) {
        step();
    }
    bool asked = stopRequested_.load();
    shutDown();
    if (!asked) {
        return Status::failure(fmt::format("127.0.0.1:{} stopped answering", port_));
    }
    return Status::success();
}

// Refuses new requests, ends the streams and stops the listener; keeps serving the main
// queue meanwhile, because requests already accepted wait on it to finish.
void BrowserServer::shutDown() {
    stopping_.store(true);
    feed_->close();
    std::thread stopper([this] { http_->stop(); });
    while (!listenerDone_.load()) {
        step();
    }
    stopper.join();
    if (listener_.joinable()) {
        listener_.join();
    }
    queue_.close();
    queue_.runPending(std::chrono::milliseconds(0));
}
