#pragma once

#include <fmt/format.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

// The median of repeated runs: at least 5, and as many as fit in about half a second.
inline double medianSeconds(const std::function<void()>& work) {
    using Clock = std::chrono::steady_clock;
    std::vector<double> samples;
    auto start = Clock::now();
    while (samples.size() < 5 ||
           (samples.size() < 200 && Clock::now() - start < std::chrono::milliseconds(500))) {
        auto before = Clock::now();
        work();
        samples.push_back(std::chrono::duration<double>(Clock::now() - before).count());
    }
    std::nth_element(samples.begin(), samples.begin() + samples.size() / 2, samples.end());
    return samples[samples.size() / 2];
}

inline void printRatio(const std::string& what, double seconds, const std::string& against,
                       double floor, const std::string& goal) {
    fmt::print("{:<42} {:>9.3f} ms   vs {:<28} {:>9.3f} ms   ratio {:>6.2f}  ({})\n", what,
               seconds * 1e3, against, floor * 1e3, floor > 0 ? seconds / floor : 0.0, goal);
}
