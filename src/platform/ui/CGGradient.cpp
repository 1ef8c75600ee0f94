#include "platform/ui/CGGradient.h"

CGGradientRef CGGradientCreateWithColors(CGColorSpaceRef space, const std::vector<UIColor>& colors,
                                         const double* locations) {
    if (colors.empty()) {
        return nullptr;
    }
    if (!space) {
        space = CGColorSpaceCreateDeviceRGB();
    }
    std::vector<CGGradient::Stop> stops;
    std::size_t last = colors.size() - 1;
    for (std::size_t i = 0; i < colors.size(); ++i) {
        double even = last == 0 ? 0.0 : static_cast<double>(i) / static_cast<double>(last);
        stops.push_back(CGGradient::Stop{locations ? locations[i] : even, colors[i]});
    }
    return std::make_shared<const CGGradient>(std::move(space), std::move(stops));
}
