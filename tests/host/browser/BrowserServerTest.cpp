#include "host/browser/BrowserServer.h"

#include <fmt/format.h>
#include <gtest/gtest.h>
#include <httplib.h>

#include <filesystem>
#include <future>
#include <regex>
#include <set>
#include <thread>

#include "host/browser/FakeScreenSource.h"
#include "host/browser/RawConnection.h"
#include "host/browser/SoundFiles.h"
#include "support/TemporaryDeviceRoot.h"

namespace {

using nlohmann::json;
using namespace std::chrono_literals;

class BrowserServerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        options_.port = 0;
        options_.keepAliveInterval = 100ms;
        adjust(options_);
        server_ = std::make_unique<BrowserServer>(source_, options_);
        ASSERT_TRUE(server_->start().ok());
        mainThread_ = std::thread([this] { EXPECT_TRUE(server_->run()); });
    }

    virtual void adjust(BrowserServerOptions&) {}

    void TearDown() override {
        server_->requestStop();
        mainThread_.join();
    }

    int port() const { return server_->port(); }
    std::string hostHeader() const { return "127.0.0.1:" + std::to_string(port()); }
    httplib::Headers authorized() const {
        return {{"Authorization", "Bearer " + server_->token()}};
    }

    httplib::Result get(const std::string& path, httplib::Headers headers) {
        httplib::Client client("127.0.0.1", port());
        return client.Get(path.c_str(), headers);
    }

    httplib::Result post(const std::string& body, httplib::Headers headers,
                         const std::string& type = "application/json") {
        httplib::Client client("127.0.0.1", port());
        return client.Post("/api/event", headers, body, type.c_str());
    }

    json screen() {
        auto answer = get("/api/screen", authorized());
        EXPECT_TRUE(answer && answer->status == 200);
        json screen = answer ? json::parse(answer->body) : json();
        // Each answer has a number of its own.
        screen.erase("screenNumber");
        return screen;
    }

    // An open event stream, headers read.
    std::unique_ptr<RawConnection> openStream() {
        auto stream = std::make_unique<RawConnection>(port());
        stream->send("GET /api/stream HTTP/1.1\r\nHost: " + hostHeader() +
                     "\r\nAuthorization: Bearer " + server_->token() + "\r\n\r\n");
        stream->readUntil("\r\n\r\n");
        return stream;
    }

    FakeScreenSource source_;
    BrowserServerOptions options_;
    std::unique_ptr<BrowserServer> server_;
    std::thread mainThread_;
};

TEST_F(BrowserServerTest, ScreenAndEventsGoThroughTheSource) {
    json first = screen();
    EXPECT_EQ(first["navigation"]["title"], "Fake");
    EXPECT_EQ(first["revision"], 1);

    auto answer = post(R"({"type": "tapRow", "section": 0, "row": 2})", authorized());
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->status, 200);
    json after = json::parse(answer->body);
    EXPECT_EQ(after["counter"], 1);
    EXPECT_EQ(after["revision"], 2);
    after.erase("screenNumber");
    EXPECT_EQ(after, screen()) << "the answer is the screen the next fetch shows";
}

// A page that names the screen it holds gets what changed since it, which patches it into
// the screen the next fetch shows.
TEST_F(BrowserServerTest, AnEventAnswersTheChangesSinceTheScreenThePageHolds) {
    auto first = get("/api/screen", authorized());
    ASSERT_TRUE(first);
    json held = json::parse(first->body);
    httplib::Headers withBasis = authorized();
    withBasis.emplace("X-Screen-Basis", held["screenNumber"].dump());
    held.erase("screenNumber");
    auto answer = post(R"({"type": "tapRow", "section": 0, "row": 2})", withBasis);
    ASSERT_TRUE(answer);
    ASSERT_EQ(answer->status, 200);
    json changes = json::parse(answer->body);
    ASSERT_TRUE(changes.contains("changes")) << changes;
    EXPECT_EQ(changes["revision"], 2);
    EXPECT_EQ(held.patch(changes["changes"]), screen());
}

TEST_F(BrowserServerTest, ImpossibleEventIsRefusedWithTheSourcesReason) {
    json before = screen();
    auto answer = post(R"({"type": "tapRow", "section": 0, "row": 7})", authorized());
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->status, 400);
    EXPECT_EQ(json::parse(answer->body)["error"], "No such row");
    EXPECT_EQ(screen(), before);
}

TEST_F(BrowserServerTest, MalformedEventsNeverReachTheSource) {
    const std::vector<std::string> bodies = {
        "tapRow",
        R"({"type": "tapRow", "section": 0)",
        "[1, 2]",
        R"({"section": 0, "row": 1})",
        R"({"type": 4})",
        R"({"type": "fly"})",
        R"({"type": "tapRow", "section": 0})",
        R"({"type": "tapRow", "section": 0, "row": -1})",
        R"({"type": "tapRow", "section": 0, "row": "1"})",
        R"({"type": "tapRow", "section": 0, "row": 1.5})",
        R"({"type": "moveRow", "from": [0], "to": [0, 1]})",
        R"({"type": "longPress", "point": [1, "2"]})",
        R"({"type": "control", "id": "s", "event": "wiggle"})",
        R"({"type": "control", "id": "s", "event": "valueChanged", "value": [1]})",
        R"({"type": "text", "id": "t"})",
        R"({"type": "alertAction", "index": 0, "texts": ["a", 1]})",
        R"({"type": "appearance", "value": "sepia"})",
    };
    json before = screen();
    for (const std::string& body : bodies) {
        auto answer = post(body, authorized());
        ASSERT_TRUE(answer) << body;
        EXPECT_EQ(answer->status, 400) << body;
        EXPECT_FALSE(json::parse(answer->body)["error"].get<std::string>().empty()) << body;
    }
    EXPECT_EQ(source_.eventsSeen, 0);
    EXPECT_EQ(screen(), before);
}

TEST_F(BrowserServerTest, RefusedRequestsChangeNothing) {
    const std::string tap = R"({"type": "tapRow", "section": 0, "row": 0})";
    httplib::Headers wrongHost = authorized();
    wrongHost.emplace("Host", "attacker.example:" + std::to_string(port()));
    httplib::Headers foreignOrigin = authorized();
    foreignOrigin.emplace("Origin", "http://attacker.example");
    httplib::Headers otherPortOrigin = authorized();
    otherPortOrigin.emplace("Origin", "http://127.0.0.1:1");
    httplib::Headers foreignOriginOnThisPort = authorized();
    foreignOriginOnThisPort.emplace("Origin", "http://evil.example:" + std::to_string(port()));
    httplib::Headers wrongToken = {{"Authorization", "Bearer " + std::string(32, '0')}};
    httplib::Headers cookieOfOtherPort = {{"Cookie", "huebadge_token_1=" + server_->token()}};

    struct Case {
        std::string name;
        httplib::Result answer;
        int status;
    };
    json before = screen();
    std::vector<Case> cases;
    cases.push_back({"wrong Host", post(tap, wrongHost), 403});
    cases.push_back({"foreign Origin", post(tap, foreignOrigin), 403});
    cases.push_back({"origin of another port", post(tap, otherPortOrigin), 403});
    cases.push_back({"foreign Origin on this port", post(tap, foreignOriginOnThisPort), 403});
    cases.push_back({"missing token", post(tap, {}), 401});
    cases.push_back({"wrong token", post(tap, wrongToken), 401});
    cases.push_back({"cookie of another port", post(tap, cookieOfOtherPort), 401});
    cases.push_back(
        {"form post", post(tap, authorized(), "application/x-www-form-urlencoded"), 415});
    cases.push_back({"text post", post(tap, authorized(), "text/plain"), 415});
    cases.push_back({"oversized body", post(std::string(65 * 1024, ' ') + tap, authorized()), 413});
    cases.push_back({"screen with wrong token", get("/api/screen", wrongToken), 401});
    cases.push_back({"screen for another host", get("/api/screen", wrongHost), 403});
    cases.push_back({"event by GET", get("/api/event", authorized()), 404});
    for (const Case& c : cases) {
        ASSERT_TRUE(c.answer) << c.name;
        EXPECT_EQ(c.answer->status, c.status) << c.name;
    }
    // Sent whole at once: the refusal comes before the body is read.
    RawConnection chunked(port());
    chunked.send(
        fmt::format("POST /api/event HTTP/1.1\r\nHost: {}\r\nAuthorization: Bearer {}\r\n"
                    "Content-Type: application/json\r\nTransfer-Encoding: chunked\r\n\r\n"
                    "{:x}\r\n{}\r\n0\r\n\r\n",
                    hostHeader(), server_->token(), tap.size(), tap));
    EXPECT_TRUE(chunked.readUntil("\r\n\r\n"));
    EXPECT_EQ(chunked.received().substr(0, 12), "HTTP/1.1 411") << "chunked body";
    EXPECT_EQ(source_.eventsSeen, 0);
    EXPECT_EQ(screen(), before);
}

TEST_F(BrowserServerTest, ScriptsMayUseLocalhostAndTheirOwnOrigin) {
    httplib::Headers headers = authorized();
    headers.emplace("Host", "localhost:" + std::to_string(port()));
    headers.emplace("Origin", "http://localhost:" + std::to_string(port()));
    auto answer = post(R"({"type": "tapRow", "section": 0, "row": 0})", headers,
                       "application/json; charset=utf-8");
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->status, 200);
}

TEST_F(BrowserServerTest, TokenLinkTradesTheTokenForACookie) {
    auto wrong = get("/?token=" + std::string(32, 'a'), {});
    ASSERT_TRUE(wrong);
    EXPECT_EQ(wrong->status, 401);
    EXPECT_FALSE(wrong->has_header("Set-Cookie"));
    EXPECT_EQ(get("/", {})->status, 401);

    auto link = get("/?token=" + server_->token(), {});
    ASSERT_TRUE(link);
    EXPECT_EQ(link->status, 303);
    EXPECT_EQ(link->get_header_value("Location"), "/");
    std::string cookie = link->get_header_value("Set-Cookie");
    EXPECT_NE(cookie.find("HttpOnly"), std::string::npos);
    EXPECT_NE(cookie.find("SameSite=Strict"), std::string::npos);

    httplib::Headers withCookie = {{"Cookie", "other=1; " + cookie.substr(0, cookie.find(';'))}};
    auto page = get("/", withCookie);
    ASSERT_TRUE(page);
    EXPECT_EQ(page->status, 200);
    EXPECT_NE(page->body.find("<html"), std::string::npos);
    EXPECT_NE(page->get_header_value("Content-Security-Policy").find("default-src 'self'"),
              std::string::npos);
    EXPECT_EQ(get("/../CMakeLists.txt", withCookie)->status, 404);
    EXPECT_EQ(get("/main.js", {})->status, 401);
}

// The page's script and every module it imports, followed through their import lines.
TEST_F(BrowserServerTest, AnswersGoUncompressedWhateverTheBrowserAccepts) {
    for (const char* path : {"/api/screen", "/", "/views.js"}) {
        RawConnection connection(port());
        connection.send(
            fmt::format("GET {} HTTP/1.1\r\nHost: {}\r\nAuthorization: Bearer {}\r\n"
                        "Accept-Encoding: gzip, deflate, br\r\nConnection: close\r\n\r\n",
                        path, hostHeader(), server_->token()));
        ASSERT_TRUE(connection.readUntil("\r\n\r\n")) << path;
        std::string head = connection.received().substr(0, connection.received().find("\r\n\r\n"));
        EXPECT_EQ(head.substr(0, 12), "HTTP/1.1 200") << path;
        EXPECT_EQ(head.find("Content-Encoding"), std::string::npos) << path << ": " << head;
    }
}

TEST_F(BrowserServerTest, EveryModuleThePageImportsIsServed) {
    std::regex reference(R"((?:src="|from ')(/|\./)([a-z]+\.js)['"])");
    std::vector<std::string> pending = {"/"};
    std::set<std::string> seen;
    while (!pending.empty()) {
        std::string path = pending.back();
        pending.pop_back();
        auto answer = get(path, authorized());
        ASSERT_TRUE(answer);
        ASSERT_EQ(answer->status, 200) << path;
        if (path.ends_with(".js")) {
            EXPECT_TRUE(answer->get_header_value("Content-Type").starts_with("text/javascript"));
        }
        for (std::sregex_iterator match(answer->body.begin(), answer->body.end(), reference), end;
             match != end; ++match) {
            if (std::string module = "/" + (*match)[2].str(); seen.insert(module).second) {
                pending.push_back(module);
            }
        }
    }
    EXPECT_GE(seen.size(), 5u);
}

TEST_F(BrowserServerTest, DrawingsAreServedByAddressAndMayBeKept) {
    auto drawing = get("/api/drawing/v1/2", authorized());
    ASSERT_TRUE(drawing);
    EXPECT_EQ(drawing->status, 200);
    EXPECT_EQ(drawing->body, std::string("\x89PNG fake", 9));
    EXPECT_EQ(drawing->get_header_value("Content-Type"), "image/png");
    EXPECT_EQ(drawing->get_header_value_count("Cache-Control"), 1u);
    EXPECT_NE(drawing->get_header_value("Cache-Control").find("immutable"), std::string::npos);

    for (const char* path : {"/api/drawing/v1/3", "/api/drawing/v2/2", "/api/drawing/v1/",
                             "/api/drawing/v1/99999999999999999999", "/api/drawing/../v1/2"}) {
        auto refused = get(path, authorized());
        ASSERT_TRUE(refused) << path;
        EXPECT_EQ(refused->status, 404) << path;
        EXPECT_NE(refused->get_header_value("Cache-Control"), "private, max-age=86400, immutable");
    }
    EXPECT_EQ(get("/api/drawing/v1/2", {})->status, 401);
}

class BrowserServerSoundTest : public BrowserServerTest {
  protected:
    void write(const std::string& devicePath) {
        TemporaryDeviceRoot::write(device_.resolve(devicePath), "sound of " + devicePath);
    }
    void link(const std::string& devicePath, const std::filesystem::path& target) {
        std::filesystem::create_symlink(target, device_.resolve(devicePath));
    }
    TemporaryDeviceRoot device_;
    TemporaryDeviceRoot elsewhere_;
};

TEST_F(BrowserServerSoundTest, OnlySoundFilesOfTheToneAndRingtoneFoldersAreServed) {
    DeviceRoot::set(device_.path().string());
    write("/Library/Ringtones/Bells Two.m4r");
    write("/var/mobile/Library/Tones/Installed/Ding.CAF");
    write("/var/mobile/Library/Tones/Tones.plist");
    write("/var/mobile/Library/Preferences/x.m4r");
    write("/Library/RingtonesExtra/x.m4r");
    std::filesystem::create_directories(device_.resolve("/Library/Ringtones/Folder.m4r"));
    TemporaryDeviceRoot::write((elsewhere_.path() / "outside.m4r").string(), "outside");
    link("/Library/Ringtones/Out.m4r", elsewhere_.path() / "outside.m4r");
    link("/Library/Ringtones/Alias.m4r", device_.resolve("/Library/Ringtones/Bells Two.m4r"));
    link("/Library/Ringtones/Prefs.m4r", device_.resolve("/var/mobile/Library/Preferences/x.m4r"));

    struct Case {
        std::string path;
        int status;
        std::string body;
    };
    const std::vector<Case> cases = {
        {SoundFiles::address("/Library/Ringtones/Bells Two.m4r"), 200,
         "sound of /Library/Ringtones/Bells Two.m4r"},
        {SoundFiles::address("/var/mobile/Library/Tones/Installed/Ding.CAF"), 200,
         "sound of /var/mobile/Library/Tones/Installed/Ding.CAF"},
        {"/api/sound/Library/Ringtones/Alias.m4r", 200,
         "sound of /Library/Ringtones/Bells Two.m4r"},
        {"/api/sound/var/mobile/Library/Tones/Tones.plist", 404, ""},
        {"/api/sound/var/mobile/Library/Preferences/x.m4r", 404, ""},
        {"/api/sound/Library/RingtonesExtra/x.m4r", 404, ""},
        {"/api/sound/Library/Ringtones/../../var/mobile/Library/Preferences/x.m4r", 404, ""},
        {"/api/sound/Library/Ringtones/%2E%2E/%2E%2E/var/mobile/Library/Preferences/x.m4r", 404,
         ""},
        {"/api/sound/Library/Ringtones/Out.m4r", 404, ""},
        {"/api/sound/Library/Ringtones/Prefs.m4r", 404, ""},
        {"/api/sound/Library/Ringtones/Folder.m4r", 404, ""},
        {"/api/sound/Library/Ringtones", 404, ""},
        {"/api/sound/Library/Ringtones/Missing.m4r", 404, ""},
        {"/api/sound", 404, ""},
    };
    for (const Case& c : cases) {
        auto answer = get(c.path, authorized());
        ASSERT_TRUE(answer) << c.path;
        EXPECT_EQ(answer->status, c.status) << c.path;
        if (c.status == 200) {
            EXPECT_EQ(answer->body, c.body) << c.path;
            EXPECT_TRUE(answer->get_header_value("Content-Type").starts_with("audio/")) << c.path;
        }
    }
    EXPECT_EQ(get(cases[0].path, {})->status, 401);
}

TEST_F(BrowserServerTest, SharedFilesAndOpenedAddressesComeWithTheAnswerOnce) {
    auto share = post(R"({"type": "longPress", "point": [10, 20]})", authorized());
    ASSERT_TRUE(share);
    json file = json::parse(share->body)["sharedFile"];
    EXPECT_EQ(file["name"], "p.plist");
    EXPECT_EQ(file["data"], "AAFoaf8=");

    auto open = post(R"({"type": "back"})", authorized());
    ASSERT_TRUE(open);
    json opened = json::parse(open->body);
    EXPECT_EQ(opened["openedURLs"], json({"https://example.invalid/help"}));
    EXPECT_FALSE(opened.contains("sharedFile"));
    EXPECT_FALSE(
        json::parse(post(R"({"type": "back"})", authorized())->body).contains("sharedFile"));
}

// Uploads pass the admission of events: the same token, Host, Origin, type and size rules.
TEST_F(BrowserServerTest, ImportsReachTheSourceOnlyThroughTheEventRules) {
    auto upload = [&](const std::string& body, httplib::Headers headers,
                      const std::string& type = "application/json") {
        httplib::Client client("127.0.0.1", port());
        return client.Post("/api/import", headers, body, type.c_str());
    };
    const std::string good = R"({"fileName": "p.plist", "data": "aGkh"})";
    httplib::Headers foreignOrigin = authorized();
    foreignOrigin.emplace("Origin", "http://attacker.example");
    httplib::Headers wrongHost = authorized();
    wrongHost.emplace("Host", "attacker.example:" + std::to_string(port()));
    const struct {
        std::string name;
        httplib::Result answer;
        int status;
    } refused[] = {
        {"no token", upload(good, {}), 401},
        {"wrong Host", upload(good, wrongHost), 403},
        {"foreign Origin", upload(good, foreignOrigin), 403},
        {"form post", upload(good, authorized(), "multipart/form-data; boundary=x"), 415},
        {"not JSON", upload("p.plist", authorized()), 400},
        {"no data", upload(R"({"fileName": "p.plist"})", authorized()), 400},
        {"name not text", upload(R"({"fileName": 1, "data": ""})", authorized()), 400},
        {"data not base64", upload(R"({"fileName": "p.plist", "data": "@@"})", authorized()), 400},
    };
    json before = screen();
    for (const auto& c : refused) {
        ASSERT_TRUE(c.answer) << c.name;
        EXPECT_EQ(c.answer->status, c.status) << c.name;
    }
    EXPECT_EQ(source_.filesSeen, 0);

    // 65 MB announced: refused from the headers, before any of the body is sent.
    RawConnection huge(port());
    huge.send(
        fmt::format("POST /api/import HTTP/1.1\r\nHost: {}\r\nAuthorization: Bearer {}\r\n"
                    "Content-Type: application/json\r\nContent-Length: {}\r\n\r\n",
                    hostHeader(), server_->token(), 65 * 1000 * 1000));
    EXPECT_TRUE(huge.readUntil("\r\n\r\n"));
    EXPECT_EQ(huge.received().substr(0, 12), "HTTP/1.1 413");
    EXPECT_EQ(source_.filesSeen, 0);
    EXPECT_EQ(screen(), before);

    auto other = upload(R"({"fileName": "q.plist", "data": ""})", authorized());
    ASSERT_TRUE(other);
    EXPECT_EQ(other->status, 400);
    EXPECT_EQ(json::parse(other->body)["error"], "Not a profile");
    auto taken = upload(good, authorized());
    ASSERT_TRUE(taken);
    EXPECT_EQ(taken->status, 200);
    json after = json::parse(taken->body);
    EXPECT_EQ(after["file"], "hi!");
    EXPECT_EQ(after["revision"], before["revision"].get<int>() + 1);

    // A profile of many filters is far larger than any event.
    auto large = upload(std::string(256 * 1024, ' ') + good, authorized());
    ASSERT_TRUE(large);
    EXPECT_EQ(large->status, 200);
}

TEST_F(BrowserServerTest, StreamsDeliverRevisionsOfMainQueueWork) {
    auto stream = openStream();
    EXPECT_NE(stream->received().find("text/event-stream"), std::string::npos);
    ASSERT_TRUE(stream->readUntil("data: 1\n\n"));
    source_.bumpsRequested = 1;
    ASSERT_TRUE(stream->readUntil("data: 2\n\n"));
    ASSERT_TRUE(stream->readUntil(": keep-alive")) << "an idle stream stays alive";
    EXPECT_EQ(screen()["counter"], 1);
}

TEST_F(BrowserServerTest, StreamsAreBoundedAndClosedOnesFreeTheirSlot) {
    std::vector<std::unique_ptr<RawConnection>> streams;
    for (std::size_t i = 0; i < options_.maxStreams; ++i) {
        streams.push_back(openStream());
        ASSERT_TRUE(streams.back()->readUntil("data: 1\n\n"));
    }
    EXPECT_EQ(get("/api/stream", authorized())->status, 503);
    EXPECT_EQ(screen()["counter"], 0) << "ordinary requests still have threads";

    streams.front()->close();
    bool reopened = false;
    for (int attempt = 0; attempt < 50 && !reopened; ++attempt) {
        std::this_thread::sleep_for(50ms);
        auto again = openStream();
        reopened = again->received().find(" 200 ") != std::string::npos;
    }
    EXPECT_TRUE(reopened);
}

TEST_F(BrowserServerTest, SecondServerOnTheSamePortDoesNotStart) {
    FakeScreenSource other;
    BrowserServerOptions sameOptions;
    sameOptions.port = port();
    BrowserServer second(other, sameOptions);
    EXPECT_FALSE(second.start().ok());
    EXPECT_EQ(screen()["navigation"]["title"], "Fake");
}

TEST_F(BrowserServerTest, StoppingFinishesAcceptedEventsAndEndsStreams) {
    auto stream = openStream();
    ASSERT_TRUE(stream->readUntil("data: 1\n\n"));
    source_.eventDelay = 300;
    auto pending = std::async(std::launch::async, [this] {
        return post(R"({"type": "tapRow", "section": 0, "row": 1})", authorized());
    });
    while (!source_.handling) {
        std::this_thread::sleep_for(1ms);
    }
    server_->requestStop();
    httplib::Result answer = pending.get();
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->status, 200);
    EXPECT_EQ(json::parse(answer->body)["counter"], 1);
    EXPECT_TRUE(stream->readUntil("\r\n0\r\n\r\n", 2s)) << "the stream has ended";
}

// A main thread that stays busy past the time-out: the waiting event is refused and dropped.
class BusyBrowserServerTest : public BrowserServerTest {
  protected:
    void adjust(BrowserServerOptions& options) override { options.answerTimeout = 100ms; }
};

TEST_F(BusyBrowserServerTest, EventThatCannotStartInTimeIsRefusedAndNeverApplied) {
    source_.eventDelay = 400;
    auto first = std::async(std::launch::async, [this] {
        return post(R"({"type": "tapRow", "section": 0, "row": 0})", authorized());
    });
    while (!source_.handling) {
        std::this_thread::sleep_for(1ms);
    }
    auto second = post(R"({"type": "tapRow", "section": 0, "row": 1})", authorized());
    ASSERT_TRUE(second);
    EXPECT_EQ(second->status, 503);
    httplib::Result started = first.get();
    ASSERT_TRUE(started);
    EXPECT_EQ(started->status, 200) << "started work is answered however long it takes";
    source_.eventDelay = 0;
    EXPECT_EQ(screen()["counter"], 1);
    EXPECT_EQ(source_.eventsSeen, 1);
}

}  // namespace

// Small connection limits, so that the gate's refusals and time-outs show quickly.
class GatedBrowserServerTest : public BrowserServerTest {
  protected:
    void adjust(BrowserServerOptions& options) override {
        options.connections.maxConnections = 4;
        options.connections.headDeadline = 300ms;
        options.connections.idleTimeout = 500ms;
        options.threads = 2;
        options.maxStreams = 12;
    }

    std::string request(const std::string& method, const std::string& path,
                        const std::string& body = "") {
        std::string head = method + " " + path + " HTTP/1.1\r\nHost: " + hostHeader() +
                           "\r\nAuthorization: Bearer " + server_->token() + "\r\n";
        if (!body.empty()) {
            head +=
                "Content-Type: application/json\r\nContent-Length: " + std::to_string(body.size()) +
                "\r\n";
        }
        return head + "\r\n" + body;
    }
};

TEST_F(GatedBrowserServerTest, RequestsThatDoNotArriveInTimeAreClosed) {
    std::string event = R"({"type": "tapRow", "section": 0, "row": 0})";
    std::string full = request("POST", "/api/event", event);
    struct Case {
        const char* name;
        std::string sent;
        const char* answer;  // nullptr: closed without one
    };
    const Case cases[] = {
        {"nothing sent", "", " 408 "},
        {"half a head", "GET /api/screen HTTP/1.1\r\nHost: ", " 408 "},
        {"head without its body", full.substr(0, full.size() - 5), " 408 "},
        {"idle after an answer", request("GET", "/api/screen"), nullptr},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        RawConnection connection(port());
        ASSERT_TRUE(connection.send(test.sent) || test.sent.empty());
        auto started = std::chrono::steady_clock::now();
        EXPECT_FALSE(connection.readUntil("never sent", 3s));
        EXPECT_TRUE(connection.ended());
        EXPECT_LT(std::chrono::steady_clock::now() - started, 1500ms);
        if (test.answer) {
            EXPECT_EQ(connection.received().find("HTTP/1.1"), 0u);
            EXPECT_NE(connection.received().find(test.answer), std::string::npos);
        } else {
            EXPECT_NE(connection.received().find(" 200 "), std::string::npos);
        }
    }
    EXPECT_EQ(screen()["counter"], 0) << "the event without its body was never applied";
}

TEST_F(GatedBrowserServerTest, ConnectionsPastTheCapAreRefusedAtOnce) {
    std::vector<std::unique_ptr<RawConnection>> slow;
    for (std::size_t i = 0; i < options_.connections.maxConnections; ++i) {
        slow.push_back(std::make_unique<RawConnection>(port()));
        slow.back()->send("GET /api/screen HTTP/1.1\r\n");
    }
    std::this_thread::sleep_for(50ms);
    RawConnection refused(port());
    ASSERT_TRUE(refused.readUntil("\r\n\r\n", 200ms));
    EXPECT_NE(refused.received().find(" 503 "), std::string::npos);

    slow.clear();
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(screen()["counter"], 0) << "closed connections free their places";
}

// Slow connections wait on the gate and streams on the feed's writer: neither takes up the
// two threads, and a pipelined connection is answered request by request.
TEST_F(GatedBrowserServerTest, SlowConnectionsAndStreamsLeaveTheThreadsFree) {
    std::vector<std::unique_ptr<RawConnection>> streams;
    for (std::size_t i = 0; i < options_.maxStreams; ++i) {
        streams.push_back(openStream());
        ASSERT_TRUE(streams.back()->readUntil("data: 1\n\n"));
    }
    RawConnection slow(port());
    slow.send("GET /api/screen HTTP/1.1\r\n");
    RawConnection pipelined(port());
    std::string tap = R"({"type": "tapRow", "section": 0, "row": 0})";
    pipelined.send(request("POST", "/api/event", tap) + request("POST", "/api/event", tap) +
                   request("GET", "/api/screen"));
    ASSERT_TRUE(pipelined.readUntil(R"("counter":2)"));
    pipelined.readUntil("never sent", 300ms);
    std::string answers = pipelined.received();
    std::size_t first = answers.find(R"("counter":1)");
    std::size_t second = answers.find(R"("counter":2)");
    ASSERT_NE(first, std::string::npos);
    EXPECT_LT(first, second);
    EXPECT_NE(answers.find(R"("counter":2)", second + 1), std::string::npos) << "three answers";
    for (auto& stream : streams) {
        EXPECT_TRUE(stream->readUntil("data: 3\n\n"));
    }
}
