// libFuzzer target for the browser API: an input is a few request bodies of POST /api/event
// and POST /api/import (see PaneRequests::split), applied to the pane's first page on the
// demo device. No request may throw out of the pane or hang its loop, a refused request
// changes no setting, a change the pane takes can be saved, and after each request the
// settings file, when there is one, reads back as a dictionary.
// HUEBADGE_PANE_FUZZ_TRACE=1 prints each request's answer.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "DemoDevice.h"
#include "PaneRequests.h"
#include "platform/foundation/FileBytes.h"
#include "store/HBPreferences.h"

namespace {

[[noreturn]] void paneFault(const std::string& what, const PaneRequests::Request& request) {
    std::fprintf(stderr, "fuzz fault: %s\nrequest: %.*s\n", what.c_str(),
                 static_cast<int>(request.body.size()), request.body.data());
    std::abort();
}

std::string settingsBytes(const DemoDevice& device) {
    Result<std::string> bytes = FileBytes::read(device.settingsPath());
    return bytes ? bytes.value() : std::string();
}

void trace(const PaneRequests::Request& request, const PaneRequests::Answer& answer) {
    static const bool tracing = std::getenv("HUEBADGE_PANE_FUZZ_TRACE") != nullptr;
    if (tracing) {
        std::string body =
            answer.body.dump(1, ' ', false, nlohmann::json::error_handler_t::replace);
        std::fprintf(stderr, "%c %.*s\n=> %d %s\n",
                     request.route == PaneRequests::Route::Import ? 'I' : 'E',
                     static_cast<int>(request.body.size()), request.body.data(), answer.status,
                     body.c_str());
    }
}

const DemoDevice& demoDevice() {
    static const DemoDevice device(HUEBADGE_SOURCE_DIR);
    return device;
}

std::unique_ptr<PaneRequests> demoPane() {
    demoDevice().resetSettings();
    return std::make_unique<PaneRequests>(demoDevice().root(), HUEBADGE_SOURCE_DIR "/resources");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const DemoDevice& device = demoDevice();
    std::unique_ptr<PaneRequests> made = demoPane();
    PaneRequests& pane = *made;
    std::string_view input(reinterpret_cast<const char*>(data), size);
    for (const PaneRequests::Request& request : PaneRequests::split(input)) {
        std::string before = settingsBytes(device);
        bool failedBefore = HBPreferences::sharedInstance().lastSaveFailure().has_value();
        PaneRequests::Answer answer = pane.apply(request);
        trace(request, answer);
        if (answer.status == 500) {
            paneFault("the pane threw: " + answer.body.value("error", ""), request);
        }
        if (answer.status != 200 && settingsBytes(device) != before) {
            paneFault("a refused request changed the settings file", request);
        }
        pane.turnLoop();
        if (Status whole = device.settingsWhole(); !whole) {
            paneFault(whole.error(), request);
        }
        // The demo device's folder is writable: a failed save means the pane took a value
        // it cannot keep, and every later change fails with it.
        const auto& failure = HBPreferences::sharedInstance().lastSaveFailure();
        if (failure && !failedBefore) {
            paneFault("a change the pane took cannot be saved: " + failure->message, request);
        }
    }
    return 0;
}
