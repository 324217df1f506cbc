#pragma once
// The benchmarks' timing of one repeated step: the median, so that one slow run on a shared machine does
// not move the figure.
#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

// Runs f repeatedly (at least `runs` times and about half a second) and returns the median in ms.
inline double MedianMs(int runs, const std::function<void()>& f) {
    using Clock = std::chrono::steady_clock;
    std::vector<double> times;
    const auto start = Clock::now();
    while (static_cast<int>(times.size()) < runs || Clock::now() - start < std::chrono::milliseconds(500)) {
        const auto t0 = Clock::now();
        f();
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}
