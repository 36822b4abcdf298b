#pragma once
// Timing helpers the benchmarks share for their same-run comparisons.

#include <algorithm>
#include <chrono>
#include <ratio>
#include <utility>
#include <vector>

namespace benchreport {

// How long f takes, in the unit given (std::milli for milliseconds, std::micro, std::ratio<1>).
template <class Unit, class F> double elapsed(F&& f) {
    auto begin = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double, Unit>(std::chrono::steady_clock::now() - begin).count();
}

inline double median(std::vector<double> values) {
    std::nth_element(values.begin(), values.begin() + (long)values.size() / 2, values.end());
    return values[values.size() / 2];
}

// Median milliseconds of a and b, run in turn after a few warm-up rounds, so that a busy machine
// slows both alike.
template <class A, class B> std::pair<double, double> alternatingMedians(A&& a, B&& b, int runs, int warmups) {
    for (int i = 0; i < warmups; ++i) {
        a();
        b();
    }
    std::vector<double> ta;
    std::vector<double> tb;
    for (int i = 0; i < runs; ++i) {
        ta.push_back(elapsed<std::milli>(a));
        tb.push_back(elapsed<std::milli>(b));
    }
    return {median(ta), median(tb)};
}

} // namespace benchreport
