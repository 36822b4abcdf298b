#pragma once
// The lines every benchmark ends with, for scripts to read:
//   ratio NAME VALUE         ours divided by the baseline (lower is better)
//   figure NAME VALUE UNIT   a measured figure
// Results are collected while the benchmark runs and printed together by printReport().

#include <functional>
#include <string>

namespace benchreport {

void ratio(const std::string& name, double value);
void figure(const std::string& name, double value, const std::string& unit);
void printReport();
// The main of every benchmark: runs compare (the same-run comparison with its baseline), then the
// registered benchmarks, then cleanup, and prints the report lines last.
int runMain(int argc, char** argv, const std::function<void()>& compare,
            const std::function<void()>& cleanup = nullptr);

} // namespace benchreport
