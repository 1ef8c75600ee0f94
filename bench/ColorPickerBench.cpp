// Measures one drag step on each colour picker at the colour cell's size, as the browser host
// pays for it: the touch, the redraw it causes and the PNG of each view that redrew, at the
// screen's scale. A drag sends one step per frame; the goal is p95 under 4 ms a step.
#include <fmt/format.h>

#include <time.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <vector>

#include "BenchTools.h"
#include "color/HBColorPickerView_B.h"
#include "color/HBColorPickerView_H.h"
#include "color/HBColorPickerView_S.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/ViewRenderer.h"

namespace {

constexpr int kWarmUp = 10;
constexpr int kSteps = 200;
constexpr CGRect kCellFrame{{0, 0}, {390, 380}};

struct StepTimes {
    double p50 = 0;
    double p95 = 0;
    // The same in processor time of this thread: on a shared machine wall time also counts
    // the waits for a core.
    double cpuP50 = 0;
    double cpuP95 = 0;
    double pngBytes = 0;
};

double threadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

std::pair<double, double> percentiles(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return {samples[samples.size() / 2], samples[samples.size() * 95 / 100]};
}

// PNGs of the views whose drawing changed since the generations noted; returns their size.
std::size_t encodeRedrawn(HBColorPickerView& picker, std::uint64_t& field, std::uint64_t& slider) {
    std::size_t bytes = 0;
    double scale = UIScreen::mainScreen().scale();
    for (auto [view, seen] : {std::pair{picker.fieldView().get(), &field},
                              std::pair{picker.sliderView().get(), &slider}}) {
        if (view->displayGeneration() != *seen) {
            *seen = view->displayGeneration();
            bytes += ViewRenderer::renderViewToPNG(*view, view->bounds().size, scale).size();
        }
    }
    return bytes;
}

// Drags across the catcher from its left to its right edge and back, one step at a time.
StepTimes timeDrag(HBColorPickerView& picker, UIButton& eater) {
    using Clock = std::chrono::steady_clock;
    CGSize size = eater.bounds().size;
    std::uint64_t field = picker.fieldView()->displayGeneration();
    std::uint64_t slider = picker.sliderView()->displayGeneration();
    std::vector<double> samples;
    std::vector<double> cpuSamples;
    double bytes = 0;
    eater.userTouchDown(CGPointMake(1, size.height / 2));
    for (int i = 0; i < kWarmUp + kSteps; ++i) {
        double x = 1 + (i % 100) * (size.width - 2) / 100;
        auto before = Clock::now();
        double cpuBefore = threadSeconds();
        eater.userTouchMoved(CGPointMake(x, size.height * (0.2 + (i % 7) * 0.1)));
        std::size_t encoded = encodeRedrawn(picker, field, slider);
        if (i >= kWarmUp) {
            samples.push_back(std::chrono::duration<double>(Clock::now() - before).count());
            cpuSamples.push_back(threadSeconds() - cpuBefore);
            bytes += static_cast<double>(encoded);
        }
    }
    eater.userTouchUp(CGPointMake(size.width / 2, size.height / 2));
    auto [p50, p95] = percentiles(samples);
    auto [cpuP50, cpuP95] = percentiles(cpuSamples);
    return {p50, p95, cpuP50, cpuP95, bytes / kSteps};
}

void report(const char* picker, const char* step, StepTimes times) {
    std::string what = fmt::format("picker {}: {} step", picker, step);
    printRatio(what + " p50", times.p50, "4 ms goal", 0.004, "goal p95 < 4 ms");
    printRatio(what + " p95", times.p95, "4 ms goal", 0.004,
               fmt::format("ratio below 1; {:.0f} PNG bytes a step", times.pngBytes));
    printRatio(what + " cpu p50", times.cpuP50, "4 ms goal", 0.004, "processor time");
    printRatio(what + " cpu p95", times.cpuP95, "4 ms goal", 0.004, "processor time");
}

template <typename Picker>
void measure(const char* name) {
    auto picker = std::make_shared<Picker>(
        kCellFrame, UIColor::colorWithRed(0.2, 0.4, 0.8, 1), [](const UIColor&) {},
        [](const UIColor&) {});
    report(name, "field", timeDrag(*picker, *picker->fieldTouchEater()));
    report(name, "slider", timeDrag(*picker, *picker->sliderTouchEater()));
}

}  // namespace

void runColorPickerBenchmarks() {
    measure<HBColorPickerView_H>("H");
    measure<HBColorPickerView_S>("S");
    measure<HBColorPickerView_B>("B");
}
