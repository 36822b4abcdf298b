#pragma once
// The lines every benchmark ends with, for scripts to read:
//   ratio NAME VALUE         ours divided by the baseline (lower is better)
//   figure NAME VALUE UNIT   a measured figure
// Results are collected while the benchmark runs and printed together by printReport().

#include <string>

namespace benchreport {

void ratio(const std::string& name, double value);
void figure(const std::string& name, double value, const std::string& unit);
void printReport();

} // namespace benchreport
