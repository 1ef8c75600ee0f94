// Measures the browser host over loopback: the time from posting an event to having the new
// screen (a slider drag sends one such event per frame, hence the 16 ms goal), the same for a
// bare screen fetch as its floor, and the size of the screen JSON.
#include <fmt/format.h>
#include <httplib.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "BenchTools.h"
#include "host/browser/BrowserServer.h"
#include "host/browser/ScreenSourceFactory.h"

namespace {

constexpr int kWarmUp = 20;
constexpr int kSamples = 400;

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

void measure(httplib::Client& client, const httplib::Headers& headers) {
    Percentiles fetch = timeRequests([&](int) { (void)client.Get("/api/screen", headers); });
    Percentiles event = timeRequests([&](int i) {
        std::string body = fmt::format(
            R"({{"type":"control","id":"alpha","event":"valueChanged","value":{}}})", i % 100);
        (void)client.Post("/api/event", headers, body, "application/json");
    });
    printRatio("browser: event -> new screen, p50", event.p50, "screen fetch p50", fetch.p50,
               "goal p95 < 16 ms");
    printRatio("browser: event -> new screen, p95", event.p95, "16 ms goal", 0.016,
               "ratio below 1");
    auto screen = client.Get("/api/screen", headers);
    fmt::print("{:<42} {:>9} bytes\n", "browser: screen JSON of the sample screen",
               screen ? screen->body.size() : 0);
}

}  // namespace

void runBrowserBenchmarks() {
    std::unique_ptr<ScreenSource> source = makeScreenSource(ScreenOptions{});
    BrowserServerOptions options;
    options.port = 0;
    BrowserServer server(*source, options);
    if (Status started = server.start(); !started) {
        fmt::print("browser: {}\n", started.error());
        return;
    }
    std::thread mainThread([&] { server.run(); });
    httplib::Client client("127.0.0.1", server.port());
    client.set_keep_alive(true);
    client.set_tcp_nodelay(true);
    measure(client, {{"Authorization", "Bearer " + server.token()}});
    server.requestStop();
    mainThread.join();
}
