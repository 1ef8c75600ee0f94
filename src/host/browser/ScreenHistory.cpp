#include "host/browser/ScreenHistory.h"

#include <algorithm>
#include <charconv>

using nlohmann::json;

json ScreenHistory::answer(json screen, std::optional<std::uint64_t> basis) {
    std::uint64_t number = ++sent_;
    auto kept = std::find_if(screens_.begin(), screens_.end(),
                             [&](const auto& entry) { return basis && entry.first == *basis; });
    json answer;
    if (kept != screens_.end()) {
        answer = {{"screenNumber", number},
                  {"basis", *basis},
                  {"changes", json::diff(kept->second, screen)}};
        // A patch that rewrites most of the screen (a page pushed) is no smaller than it. A
        // small patch is sent as it is, without writing the whole screen out to compare.
        if (std::size_t size = answer.dump().size();
            size > kSmallPatch && size >= screen.dump().size()) {
            answer = nullptr;
        }
    }
    if (answer.is_null()) {
        answer = screen;
        answer["screenNumber"] = number;
    }
    // The page's staleness check reads the revision without applying the changes first.
    if (screen.contains("revision")) {
        answer["revision"] = screen["revision"];
    }
    screens_.emplace_back(number, std::move(screen));
    if (screens_.size() > kKeptScreens) {
        screens_.pop_front();
    }
    return answer;
}

std::optional<std::uint64_t> ScreenHistory::parseBasis(std::string_view header) {
    std::uint64_t basis = 0;
    auto [end, error] = std::from_chars(header.data(), header.data() + header.size(), basis);
    if (header.empty() || error != std::errc() || end != header.data() + header.size()) {
        return std::nullopt;
    }
    return basis;
}
