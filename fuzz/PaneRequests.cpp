#include "PaneRequests.h"

#include <exception>
#include <stdexcept>
#include <utility>

#include "host/browser/BrowserServer.h"
#include "host/browser/EventShape.h"
#include "host/browser/RequestAdmission.h"
#include "platform/dispatch/RunLoop.h"
#include "platform/prefs/PSBundle.h"
#include "platform/system/DeviceRoot.h"
#include "platform/ui/UIScreen.h"
#include "store/HBPreferences.h"

using nlohmann::json;

namespace {

PaneRequests::Answer refused(int status, std::string message) {
    return {status, json{{"error", std::move(message)}}};
}

}  // namespace

PaneRequests::PaneRequests(const std::string& deviceRoot, const std::string& resourcesDirectory)
    : previousRoot_(DeviceRoot::directory()),
      previousResources_(PSBundle::resourcesDirectory()),
      previousManualClock_(RunLoop::main().usesManualClock()),
      previousStyle_(UITraitCollection::current().userInterfaceStyle),
      previousBounds_(UIScreen::mainScreen().bounds()) {
    DeviceRoot::set(deviceRoot);
    PSBundle::setResourcesDirectory(resourcesDirectory);
    RunLoop::main().useManualClock();
    RunLoop::main().cancelAll();
    HBPreferences::sharedInstance().reLoadFromIdentifier(HBPreferences::kIdentifier,
                                                         HBPreferences::kNotification);
    source_ = PaneScreenSource::start(ScreenOptions{});
    if (!source_) {
        throw std::runtime_error("the pane's first page could not be shown");
    }
}

PaneRequests::~PaneRequests() {
    source_.reset();
    RunLoop::main().cancelAll();
    if (!previousManualClock_) {
        RunLoop::main().useRealClock();
    }
    UITraitCollection::setCurrentUserInterfaceStyle(previousStyle_);
    UIScreen::mainScreen().setBounds(previousBounds_);
    PSBundle::setResourcesDirectory(previousResources_);
    DeviceRoot::set(previousRoot_);
}

std::vector<PaneRequests::Request> PaneRequests::split(std::string_view input) {
    std::vector<Request> requests;
    while (!input.empty() && requests.size() < kMaxRequests) {
        std::size_t end = input.find('\n');
        std::string_view line = input.substr(0, end);
        Route route = !line.empty() && line.front() == 'I' ? Route::Import : Route::Event;
        requests.push_back({route, line.substr(line.empty() ? 0 : 1)});
        input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
    }
    return requests;
}

PaneRequests::Answer PaneRequests::post(const Request& request) {
    Answer answer = apply(request);
    turnLoop();
    return answer;
}

PaneRequests::Answer PaneRequests::apply(const Request& request) {
    return request.route == Route::Import ? import(request.body) : event(request.body);
}

// Bodies are JSON within the size the route takes; the refusal is kept in `refusal` else.
std::optional<json> PaneRequests::parse(std::string_view body, const char* path, Answer& refusal) {
    if (body.size() > RequestAdmission::maxBodyBytes(path)) {
        refusal = refused(413, "too large");
        return std::nullopt;
    }
    json parsed = json::parse(body, nullptr, false);
    if (parsed.is_discarded()) {
        refusal = refused(400, "The body is not valid JSON");
        return std::nullopt;
    }
    return parsed;
}

PaneRequests::Answer PaneRequests::event(std::string_view body) {
    Answer answer;
    std::optional<json> event = parse(body, "/api/event", answer);
    if (!event) {
        return answer;
    }
    if (Status shape = EventShape::check(*event); !shape) {
        return refused(400, shape.error());
    }
    try {
        if (Status applied = source_->handleEvent(*event); !applied) {
            return refused(400, applied.error());
        }
        return changedScreen();
    } catch (const std::exception& error) {
        return refused(500, error.what());
    }
}

PaneRequests::Answer PaneRequests::import(std::string_view body) {
    Answer answer;
    std::optional<json> upload = parse(body, "/api/import", answer);
    if (!upload) {
        return answer;
    }
    Result<EventShape::ImportedFile> file = EventShape::importedFile(*upload);
    if (!file) {
        return refused(400, file.error());
    }
    try {
        Status taken = source_->receiveFile(file->name, file->bytes);
        return taken ? changedScreen() : refused(400, taken.error());
    } catch (const std::exception& error) {
        return refused(500, error.what());
    }
}

PaneRequests::Answer PaneRequests::changedScreen() {
    json screen = source_->screen();
    screen["revision"] = source_->revision();
    if (std::optional<SharedFile> file = source_->takeSharedFile()) {
        screen["sharedFile"] = {
            {"name", file->name}, {"mimeType", file->mimeType}, {"size", file->bytes.size()}};
    }
    if (std::vector<std::string> urls = source_->takeOpenedURLs(); !urls.empty()) {
        screen["openedURLs"] = urls;
    }
    json answer = history_.answer(std::move(screen), basis_);
    // The page holds the screen it was answered and names it as the basis of its next event.
    basis_ = answer.at("screenNumber").get<std::uint64_t>();
    // What the server sends: broken UTF-8 is replaced there, never a failure.
    answer.dump(-1, ' ', false, json::error_handler_t::replace);
    return {200, std::move(answer)};
}

void PaneRequests::turnLoop() {
    for (int turn = 0; turn < kTurnsAfterRequest; ++turn) {
        RunLoop::main().moveClockBy(kTurnSeconds);
        source_->runDueWork();
    }
}
