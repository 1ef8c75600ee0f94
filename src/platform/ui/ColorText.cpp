#include "platform/ui/ColorText.h"

#include <fmt/format.h>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

int step(double channel) {
    return static_cast<int>(std::lround(std::clamp(channel, 0.0, 1.0) * 255));
}

std::optional<double> channelAt(std::string_view text, std::size_t offset) {
    unsigned value = 0;
    const char* first = text.data() + offset;
    auto [end, error] = std::from_chars(first, first + 2, value, 16);
    if (error != std::errc() || end != first + 2) {
        return std::nullopt;
    }
    return value / 255.0;
}

}  // namespace

std::string ColorText::format(const UIColor& color) {
    std::string text = fmt::format("#{:02X}{:02X}{:02X}", step(color.red()), step(color.green()),
                                   step(color.blue()));
    if (int alpha = step(color.alpha()); alpha < 255) {
        text += fmt::format("{:02X}", alpha);
    }
    return text;
}

std::optional<UIColor> ColorText::parse(std::string_view text) {
    if ((text.size() != 7 && text.size() != 9) || text.front() != '#') {
        return std::nullopt;
    }
    double channels[4] = {0, 0, 0, 1};
    for (std::size_t i = 0; 1 + 2 * i < text.size(); ++i) {
        std::optional<double> channel = channelAt(text, 1 + 2 * i);
        if (!channel) {
            return std::nullopt;
        }
        channels[i] = *channel;
    }
    return UIColor::colorWithRed(channels[0], channels[1], channels[2], channels[3]);
}
