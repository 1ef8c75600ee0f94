// Measures the browser host serving the pane over loopback: the time from posting an event to
// having the new screen (a slider drag sends one such event per frame, hence the 16 ms goal),
// for a tap on the first page and for a control event on the page with the most views, a bare
// screen fetch as their floor, and the size of the screen JSON. The pane runs on a temporary
// copy of the demo device.
#include <fmt/format.h>
#include <httplib.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>
#include <vector>

#include "BenchTools.h"
#include "host/browser/BrowserServer.h"
#include "host/browser/ScreenSourceFactory.h"
#include "platform/system/DeviceRoot.h"

namespace {

namespace fs = std::filesystem;

constexpr int kWarmUp = 20;
constexpr int kSamples = 300;

struct Percentiles {
    double p50 = 0;
    double p95 = 0;
};

Percentiles percentiles(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return {samples[samples.size() / 2], samples[samples.size() * 95 / 100]};
}

template <typename Request>
Percentiles timeRequests(Request request) {
    using Clock = std::chrono::steady_clock;
    std::vector<double> samples;
    for (int i = 0; i < kWarmUp + kSamples; ++i) {
        auto before = Clock::now();
        request(i);
        if (i >= kWarmUp) {
            samples.push_back(std::chrono::duration<double>(Clock::now() - before).count());
        }
    }
    return percentiles(samples);
}

void report(const std::string& what, Percentiles event, Percentiles fetch) {
    printRatio("browser: " + what + " p50", event.p50, "screen fetch p50", fetch.p50,
               "goal p95 < 16 ms");
    printRatio("browser: " + what + " p95", event.p95, "16 ms goal", 0.016, "ratio below 1");
}

// The first switch of the first page: its "Enabled" row.
std::string firstSwitch(httplib::Client& client, const httplib::Headers& headers) {
    auto answer = client.Get("/api/screen", headers);
    if (!answer) {
        return "";
    }
    nlohmann::json screen = nlohmann::json::parse(answer->body);
    for (const nlohmann::json& view : screen["page"]["sections"][0]["rows"][0]["views"]) {
        if (view["type"] == "UISwitch") {
            return view["id"];
        }
    }
    return "";
}

void measure(httplib::Client& client, const httplib::Headers& headers) {
    auto post = [&](const std::string& body) {
        (void)client.Post("/api/event", headers, body, "application/json");
    };
    Percentiles fetch = timeRequests([&](int) { (void)client.Get("/api/screen", headers); });
    // "Change Log" in the help group: it opens a web page and the first page stays.
    Percentiles tap = timeRequests([&](int) { post(R"({"type":"tapRow","section":2,"row":1})"); });
    std::string toggle = firstSwitch(client, headers);
    Percentiles control = timeRequests([&](int i) {
        post(fmt::format(R"({{"type":"control","id":"{}","event":"valueChanged","value":{}}})",
                         toggle, i % 2 == 0 ? "false" : "true"));
    });
    report("tap on the first page ->", tap, fetch);
    report("switch (saves the file) ->", control, fetch);
    auto screen = client.Get("/api/screen", headers);
    fmt::print("{:<42} {:>9} bytes\n", "browser: screen JSON of the first page",
               screen ? screen->body.size() : 0);
}

std::string demoDeviceCopy() {
    std::string pattern = (fs::temp_directory_path() / "huebadge-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
        return "";
    }
    fs::copy(fs::path(HUEBADGE_SOURCE_DIR) / "demo/device", pattern, fs::copy_options::recursive);
    return pattern;
}

}  // namespace

void runBrowserBenchmarks() {
    std::string device = demoDeviceCopy();
    DeviceRoot::set(device);
    std::unique_ptr<ScreenSource> source = makeScreenSource(ScreenOptions{});
    if (!source) {
        fmt::print("browser: the pane's first page is missing\n");
        return;
    }
    BrowserServerOptions options;
    options.port = 0;
    BrowserServer server(*source, options);
    if (Status started = server.start(); !started) {
        fmt::print("browser: {}\n", started.error());
        return;
    }
    std::thread mainThread([&] { (void)server.run(); });
    httplib::Client client("127.0.0.1", server.port());
    client.set_keep_alive(true);
    client.set_tcp_nodelay(true);
    measure(client, {{"Authorization", "Bearer " + server.token()}});
    server.requestStop();
    mainThread.join();
    std::error_code ignored;
    fs::remove_all(device, ignored);
}
