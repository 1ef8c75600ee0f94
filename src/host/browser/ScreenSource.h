#pragma once

#include <nlohmann/json.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/Result.h"

// A file the pane hands to the user (a shared profile): the browser downloads it.
struct SharedFile {
    std::string name;
    std::string mimeType;
    std::string bytes;
};

// What the browser host shows and drives. The server calls every operation on its main
// thread only, so a source needs no locks of its own.
class ScreenSource {
  public:
    virtual ~ScreenSource() = default;

    // The whole visible state: navigation, page, alert, appearance and screen size.
    virtual nlohmann::json screen() = 0;
    // Applies one event whose shape the server has checked. A failure says why the event is
    // impossible (no such row, no alert shown...) and leaves everything as it was.
    virtual Status handleEvent(const nlohmann::json& event) = 0;
    // Grows whenever what screen() returns may have changed.
    virtual std::uint64_t revision() const = 0;
    // Lets the main queue run the tasks that are due (delayed reloads, sound completions).
    virtual void runDueWork() = 0;

    // The PNG bytes of a drawing that a screen named by address (see ImageCache), while it
    // is the latest drawing of its view.
    virtual std::optional<std::string> drawing(const std::string& /*identifier*/,
                                               std::uint64_t /*version*/) {
        return std::nullopt;
    }
    // A file the user hands in (chosen in or dropped on the page), for the page shown to take
    // as an event; a failure says why it cannot, and nothing changes then.
    virtual Status receiveFile(const std::string& /*name*/, std::string_view /*bytes*/) {
        return Status::failure("this screen takes no files");
    }
    // A file handed out by the last events, if any; taking it clears it.
    virtual std::optional<SharedFile> takeSharedFile() { return std::nullopt; }
    // Web addresses opened by the last events; taking them clears them.
    virtual std::vector<std::string> takeOpenedURLs() { return {}; }
};
