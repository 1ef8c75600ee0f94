#pragma once

#include <nlohmann/json.hpp>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/browser/PaneScreenSource.h"
#include "host/browser/ScreenHistory.h"
#include "platform/ui/UIGeometry.h"
#include "platform/ui/UIView.h"

// The pane's first page on a device root as the browser host serves it, taking the bodies of
// POST /api/event and POST /api/import with no sockets: each body is bounded, read and checked
// as the server reads it, applied on this thread (the one that runs the main loop) through the
// screen source, and answered as the server answers, a patch against the last screen answered
// where that is smaller. After each request the loop turns as the server's loop does between
// requests, on a manual clock, for a fixed span: no request can make the loop run for ever.
// The toolkit's process-wide state (device root, resources, clock, appearance, screen size)
// is put back as it was at the end.
class PaneRequests {
  public:
    enum class Route { Event, Import };
    struct Request {
        Route route;
        std::string_view body;
    };
    // The status the server would answer with, and its JSON body.
    struct Answer {
        int status = 0;
        nlohmann::json body;
    };

    // Requests taken from one input at most, and the loop's time after each one.
    static constexpr std::size_t kMaxRequests = 32;
    static constexpr double kTurnSeconds = 0.25;
    static constexpr int kTurnsAfterRequest = 4;

    PaneRequests(const std::string& deviceRoot, const std::string& resourcesDirectory);
    ~PaneRequests();
    PaneRequests(const PaneRequests&) = delete;
    PaneRequests& operator=(const PaneRequests&) = delete;

    // An input as requests, one a line: a line that starts with "I" carries an import body,
    // any other an event body, after that first byte. Lines past kMaxRequests are ignored.
    static std::vector<Request> split(std::string_view input);

    // Applies one request as the server would, then lets the loop turn.
    Answer post(const Request& request);
    // The two halves of post: the request alone, and the loop's turns after it.
    Answer apply(const Request& request);
    void turnLoop();
    PaneScreenSource& source() { return *source_; }

  private:
    Answer event(std::string_view body);
    Answer import(std::string_view body);
    static std::optional<nlohmann::json> parse(std::string_view body, const char* path,
                                               Answer& refusal);
    // The screen after a change, with what the change handed out, numbered by the history.
    Answer changedScreen();

    std::string previousRoot_;
    std::string previousResources_;
    bool previousManualClock_;
    UIUserInterfaceStyle previousStyle_;
    CGRect previousBounds_;
    std::unique_ptr<PaneScreenSource> source_;
    ScreenHistory history_;
    std::optional<std::uint64_t> basis_;
};
