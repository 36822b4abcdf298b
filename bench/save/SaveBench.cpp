// One autosave of the bundled game's variables with all six autosave slots present (the sixth
// removed, five folders moved, the new first written with its log copy), on the real game through
// the whole-game harness. The target is 50 ms on one core.

#include "GameHarness.h"
#include "Report.h"
#include "Timing.h"

#include "engine/session/Vars.h"
#include "ui/SaveLoadMenu.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>
#include <unistd.h>
#include <vector>

namespace {

std::unique_ptr<GameHarness>& game() {
    static std::unique_ptr<GameHarness> running = [] {
        if (chdir(ZEPH_SOURCE_DIR) != 0) {
            std::perror(ZEPH_SOURCE_DIR);
        }
        auto started = std::make_unique<GameHarness>();
        started->passLoadingFade();
        // A game some way in: the snapshot differs from the start in a few dozen variables.
        for (int i = 0; i < 40; ++i) {
            Vars::getOrCreate("bench_progress_" + String(i))->setValue(String(i), true);
        }
        Vars::snapshot = Vars::variables;
        for (int i = 0; i < 6; ++i) {
            SaveLoadMenu::autoSave();
        }
        return started;
    }();
    return running;
}

double autosaveMs() {
    game();
    return benchreport::elapsed<std::milli>([] { SaveLoadMenu::autoSave(); });
}

void compare() {
    std::vector<double> times;
    for (int i = 0; i < 30; ++i) {
        times.push_back(autosaveMs());
    }
    double median = benchreport::median(times);
    std::printf("autosave with six slots present: %.2f ms (median of %zu)\n", median, times.size());
    benchreport::figure("autosave", median, "ms");
}

void BM_Autosave(benchmark::State& state) {
    for (auto _ : state) {
        state.SetIterationTime(autosaveMs() / 1000.0);
    }
}
BENCHMARK(BM_Autosave)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return benchreport::runMain(argc, argv, compare, [] { game().reset(); });
}
