// The hint route search (an exhaustive search of every simple path) from every scene of each
// chapter's route graph to every scene the graph names, each scene standing in as the active scene
// of a chapter of its name; the slowest single search is the figure, to be under 5 ms on one core.
// There is no baseline to compare with: the search is what the hints specify.

#include "Report.h"
#include "Timing.h"
#include "chapters/jama_spacea/Jama_spaceaHints.h"
#include "chapters/schminkell7/Schminkell7Hints.h"
#include "chapters/ship/ShipHints.h"
#include "chapters/varion/VarionHints.h"
#include "engine/scene/Chapter.h"
#include "engine/scene/Scene.h"
#include "engine/session/Session.h"
#include "ui/SceneRoutes.h"

#include "vessot/Log.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

const char* const CHAPTERS[] = {"ship", "jama_spacea", "schminkell7", "varion"};

struct Graphs {
    std::map<std::string, std::unique_ptr<Chapter>> chapters;
    // Every scene the graphs name, with its stand-in scene.
    std::map<std::string, std::unique_ptr<Scene>> scenes;

    Graphs() {
        vessot::Log::setEcho(false);
        for (const char* name : CHAPTERS) {
            chapters[name] = std::make_unique<Chapter>(std::string("bench/") + name + "/" + name + ".datadef", nullptr);
        }
        Ship::buildHintGraph();
        Jama_spacea::buildHintGraph();
        Schminkell7::buildHintGraph();
        Varion::buildHintGraph();
        for (const auto& [from, links] : SceneRoutes::links) {
            add(from);
            for (const RouteLink& link : links) {
                add(link.to);
            }
        }
    }

    void add(const std::string& fullName) {
        std::string chapter = fullName.substr(0, fullName.find('.'));
        if (!scenes.count(fullName) && chapters.count(chapter)) {
            scenes[fullName] = std::make_unique<Scene>(chapters[chapter].get(), fullName.substr(chapter.size() + 1));
        }
    }

    // The scenes of one chapter's graph.
    std::vector<Scene*> of(const std::string& chapter) const {
        std::vector<Scene*> found;
        for (const auto& [name, scene] : scenes) {
            if (scene->chapter->getName() == chapter) {
                found.push_back(scene.get());
            }
        }
        return found;
    }
};

Graphs& graphs() {
    static Graphs instance;
    return instance;
}

// Every search from every scene of the chapter to every other; the slowest one in milliseconds.
double searchAll(const std::string& chapter) {
    double slowest = 0;
    std::vector<Scene*> scenes = graphs().of(chapter);
    for (Scene* from : scenes) {
        Session::activeScene = from;
        for (Scene* to : scenes) {
            std::string target = to->getFullName();
            double ms =
                benchreport::elapsed<std::milli>([&] { benchmark::DoNotOptimize(SceneRoutes::findRoute(target)); });
            slowest = std::max(slowest, ms);
        }
    }
    Session::activeScene = nullptr;
    return slowest;
}

void compare() {
    double worst = 0;
    for (const char* chapter : CHAPTERS) {
        double slowest = 1e9;
        // The best of three rounds, so that a busy machine's pauses do not count.
        for (int round = 0; round < 3; ++round) {
            slowest = std::min(slowest, searchAll(chapter));
        }
        std::printf("%s: %zu scenes, slowest search %.3f ms\n", chapter, graphs().of(chapter).size(), slowest);
        worst = std::max(worst, slowest);
    }
    benchreport::figure("route_worst", worst, "ms");
}

void BM_AllRoutes(benchmark::State& state) {
    const char* chapter = CHAPTERS[state.range(0)];
    for (auto _ : state) {
        benchmark::DoNotOptimize(searchAll(chapter));
    }
    state.SetLabel(chapter);
}
BENCHMARK(BM_AllRoutes)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

void cleanup() {
    Session::activeScene = nullptr;
}

} // namespace

int main(int argc, char** argv) {
    return benchreport::runMain(argc, argv, compare, cleanup);
}
