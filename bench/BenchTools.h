#pragma once

#include <fmt/format.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <utility>
#include <vector>

inline double secondsOnce(const std::function<void()>& work) {
    auto before = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - before).count();
}

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

// The medians of two pieces of work run alternately, so that both see the same load on a
// busy machine and their ratio means something.
inline std::pair<double, double> alternatingMedians(const std::function<void()>& first,
                                                    const std::function<void()>& second) {
    std::vector<double> a;
    std::vector<double> b;
    auto start = std::chrono::steady_clock::now();
    while (a.size() < 7 || (a.size() < 200 && std::chrono::steady_clock::now() - start <
                                                  std::chrono::milliseconds(1500))) {
        a.push_back(secondsOnce(first));
        b.push_back(secondsOnce(second));
    }
    auto median = [](std::vector<double>& samples) {
        std::nth_element(samples.begin(), samples.begin() + samples.size() / 2, samples.end());
        return samples[samples.size() / 2];
    };
    return {median(a), median(b)};
}

inline void printRatio(const std::string& what, double seconds, const std::string& against,
                       double floor, const std::string& goal) {
    fmt::print("{:<42} {:>9.3f} ms   vs {:<28} {:>9.3f} ms   ratio {:>6.2f}  ({})\n", what,
               seconds * 1e3, against, floor * 1e3, floor > 0 ? seconds / floor : 0.0, goal);
}
