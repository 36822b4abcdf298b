#include "Report.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <vector>

namespace benchreport {

namespace {
std::vector<std::string>& lines() {
    static std::vector<std::string> all;
    return all;
}

std::string number(double value) {
    char buf[64];
    std::snprintf(buf, sizeof(buf), "%.4g", value);
    return buf;
}
} // namespace

void ratio(const std::string& name, double value) {
    lines().push_back("ratio " + name + " " + number(value));
}

void figure(const std::string& name, double value, const std::string& unit) {
    lines().push_back("figure " + name + " " + number(value) + " " + unit);
}

void printReport() {
    for (const std::string& line : lines()) {
        std::printf("%s\n", line.c_str());
    }
    std::fflush(stdout);
}

int runMain(int argc, char** argv, const std::function<void()>& compare, const std::function<void()>& cleanup) {
    benchmark::Initialize(&argc, argv);
    compare();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (cleanup) {
        cleanup();
    }
    printReport();
    return 0;
}

} // namespace benchreport
