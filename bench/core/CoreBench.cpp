// The engine core's data paths: evaluating typical conditions, loading a large variable file, and
// writing and reading back a difference file of many changed variables.

#include "Report.h"
#include "Timing.h"

#include "engine/session/Evaluator.h"
#include "engine/session/Vars.h"
#include "script/Inventory.h"

#include "vessot/File.h"
#include "vessot/Log.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Twenty conditions of the kinds scene files and dialogs carry.
const char* const CONDITIONS[] = {
    "$door_open==1",
    "$visits}2",
    "%key",
    "not %sword",
    "$door_open==1 and %key",
    "$state==boarded or $state==landed",
    "not $console_on==1",
    "($visits>=3 and $door_open==1) or %map",
    "$mood!=angry",
    "$visits{=10 and $visits}=1",
    "%rope and %key and not %sword",
    "$tutorial_state==41 or $tutorial_state==42",
    "$name^joanna",
    "$chapter!^intro",
    "$visits<5",
    "not ($state==landed or %sword)",
    "$empty",
    "$door_open==0 or ($mood==calm and %map)",
    "$score>100 or $score<0",
    "(%key or %rope) and ($visits>1)",
};

std::string tempFolder() {
    static std::string folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "zeph-bench-XXXXXX").string();
        return std::string(mkdtemp(pattern.data()));
    }();
    return folder;
}

void quietLog() {
    vessot::Log::setEcho(false);
    vessot::Log::setFilename(tempFolder() + "/bench.log", true);
}

void defineConditionState() {
    Vars::variables = VariableTable();
    const char* const values[][2] = {
        {"door_open", "1"},       {"visits", "4"},  {"state", "landed"}, {"console_on", "0"}, {"mood", "calm"},
        {"tutorial_state", "42"}, {"name", "anna"}, {"chapter", "ship"}, {"empty", ""},       {"score", "57"},
    };
    for (const auto& [name, value] : values) {
        Variable* variable = Vars::getOrCreate(name);
        variable->name = name;
        variable->value = value;
    }
    Inventory::items = {"key", "map", "rope", "coin"};
}

// Evaluations per second over the table, best of a few rounds.
double conditionRate() {
    defineConditionState();
    const int rounds = 5;
    const int passes = 10000;
    double best = 0;
    int truths = 0;
    for (int round = 0; round < rounds; ++round) {
        Clock::time_point start = Clock::now();
        for (int pass = 0; pass < passes; ++pass) {
            for (const char* condition : CONDITIONS) {
                truths += Evaluator::evaluate(condition) == "1";
            }
        }
        double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        best = std::max(best, passes * std::size(CONDITIONS) / seconds);
    }
    benchmark::DoNotOptimize(truths);
    return best;
}

// Writes "vars.xml" into the temporary folder, which becomes the resource root; answers the
// resource path.
std::string writeVariableFile(int count) {
    vessot::setResourceRoot(tempFolder());
    std::string path = "vars.xml";
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Vars>\n";
    for (int i = 0; i < count; ++i) {
        text += "    <Var name=\"variable_" + std::to_string(i) + "\" value=\"" + std::to_string(i % 7) + "\"/>\n";
    }
    text += "</Vars>\n";
    vessot::writeFileAtomically(tempFolder() + "/" + path, text);
    return path;
}

// Fills the store with count variables and changes the first `changed` of them.
void defineChangedVariables(int count, int changed) {
    Vars::variables = VariableTable();
    for (int i = 0; i < count; ++i) {
        String name = "variable_" + std::to_string(i);
        Variable* variable = Vars::getOrCreate(name);
        variable->name = name;
        variable->value = "0";
        variable->initialValue = "0";
    }
    for (int i = 0; i < changed; ++i) {
        Vars::variables.variables["variable_" + std::to_string(i)].value = "changed value " + std::to_string(i);
    }
}

// The fastest of a few runs of the body, in milliseconds.
template <class Body> double bestMilliseconds(int runs, Body body) {
    double best = 1e9;
    for (int i = 0; i < runs; ++i) {
        best = std::min(best, benchreport::elapsed<std::milli>(body));
    }
    return best;
}

// The difference file written as saveDiff writes it, without the atomic commit's sync.
void writeDiffPlain(const std::string& path) {
    vessot::File file(path, vessot::File::WRITE);
    file.write(Vars::variables.diffText());
    file.close();
}

void figures() {
    quietLog();
    benchreport::figure("condition_evals", conditionRate(), "per_s");

    std::string varsFile = writeVariableFile(5000);
    benchreport::figure("vars_load_5000", bestMilliseconds(5, [&] { Vars::loadFromXml(varsFile); }), "ms");

    std::string diffFile = tempFolder() + "/game.sav";
    defineChangedVariables(3000, 1000);
    benchreport::figure("diff_write_1000", bestMilliseconds(10, [&] { writeDiffPlain(diffFile); }), "ms");
    benchreport::figure("diff_read_1000", bestMilliseconds(10, [&] { Vars::loadDiff(diffFile); }), "ms");
}

void BM_Conditions(benchmark::State& state) {
    defineConditionState();
    for (auto _ : state) {
        for (const char* condition : CONDITIONS) {
            benchmark::DoNotOptimize(Evaluator::evaluate(condition));
        }
    }
    state.SetItemsProcessed(state.iterations() * (int64_t)std::size(CONDITIONS));
}
BENCHMARK(BM_Conditions);

void BM_LoadVars5000(benchmark::State& state) {
    std::string path = writeVariableFile(5000);
    for (auto _ : state) {
        Vars::loadFromXml(path);
    }
}
BENCHMARK(BM_LoadVars5000)->Unit(benchmark::kMillisecond);

void BM_WriteDiff1000(benchmark::State& state) {
    defineChangedVariables(3000, 1000);
    std::string path = tempFolder() + "/bm.sav";
    for (auto _ : state) {
        writeDiffPlain(path);
    }
}
BENCHMARK(BM_WriteDiff1000)->Unit(benchmark::kMillisecond);

void BM_ReadDiff1000(benchmark::State& state) {
    defineChangedVariables(3000, 1000);
    std::string path = tempFolder() + "/bm.sav";
    writeDiffPlain(path);
    for (auto _ : state) {
        Vars::loadDiff(path);
    }
}
BENCHMARK(BM_ReadDiff1000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return benchreport::runMain(argc, argv, figures, [] {
        vessot::Log::reset();
        std::filesystem::remove_all(tempFolder());
    });
}
