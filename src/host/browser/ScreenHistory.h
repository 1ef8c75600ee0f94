#pragma once

#include <nlohmann/json.hpp>

#include <cstdint>
#include <deque>
#include <optional>
#include <string_view>
#include <utility>

// The last screens the server sent, by number, so that an answer can carry only what changed
// since the screen a page holds. A page names that screen ("basis"); when it is still kept,
// the answer is {"screenNumber", "basis", "changes"} with changes a JSON Patch (RFC 6902)
// that turns the basis into the new screen, and otherwise the whole screen with its number.
// A drag on a picker then moves a few colours and values instead of the page's whole tree.
class ScreenHistory {
  public:
    static constexpr std::size_t kKeptScreens = 8;
    // Bytes of a patch that is sent without comparing it with the whole screen.
    static constexpr std::size_t kSmallPatch = 8 * 1024;

    // Numbers and keeps the screen, and gives what to send for it to a page holding basis.
    nlohmann::json answer(nlohmann::json screen, std::optional<std::uint64_t> basis);
    // The basis a request header names: a decimal number, or nothing for anything else.
    static std::optional<std::uint64_t> parseBasis(std::string_view header);

  private:
    std::deque<std::pair<std::uint64_t, nlohmann::json>> screens_;
    std::uint64_t sent_ = 0;
};
