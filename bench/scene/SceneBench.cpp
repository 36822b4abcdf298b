// Hotspot hit tests on scene-sized maps of 60 areas (426 x 320 and a wide 852 x 320), against a flat
// table of one id per pixel; and the cold load of a chapter of 20 scenes with their hotspot maps.
// Everything is made in a temporary folder by the benchmark itself.

#include "AmpBuilder.h"
#include "Report.h"
#include "Timing.h"
#include "engine/app/Engine.h"
#include "engine/scene/ActionMap.h"
#include "engine/scene/Chapter.h"

#include "echon/AudioManager.h"
#include "nimbo/Image.h"
#include "nimboui/nimboui.h"
#include "vessot/Log.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int HEIGHT = 320;
constexpr int AREAS = 60;
constexpr int POINTS = 1000000;
constexpr int SCENES = 20;

struct Folder {
    std::string path;
    Folder() {
        std::string pattern = (fs::temp_directory_path() / "zeph-bench-scene-XXXXXX").string();
        path = mkdtemp(pattern.data()) ? pattern : std::string();
    }
    ~Folder() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
};

Folder& folder() {
    static Folder instance;
    return instance;
}

// A picture of 60 areas: rectangles and ellipses of 12 to 90 units, overlapping at random.
std::vector<uint8_t> areaPicture(int width, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> size(12, 90);
    std::vector<uint8_t> rgba((size_t)width * HEIGHT * 4, 0);
    for (int i = 0; i < AREAS; ++i) {
        int w = size(random);
        int h = size(random);
        int x0 = std::uniform_int_distribution<int>(0, width - w)(random);
        int y0 = std::uniform_int_distribution<int>(0, HEIGHT - h)(random);
        bool round = i % 2 == 1;
        uint32_t id = 0x010101u * (uint32_t)(i + 1) ^ 0x3050A0u;
        for (int y = y0; y < y0 + h; ++y) {
            for (int x = x0; x < x0 + w; ++x) {
                float dx = (x - x0 - w / 2.0f) / (w / 2.0f);
                float dy = (y - y0 - h / 2.0f) / (h / 2.0f);
                if (round && dx * dx + dy * dy > 1.0f) {
                    continue;
                }
                uint8_t* p = &rgba[((size_t)y * width + x) * 4];
                p[0] = (uint8_t)(id >> 16);
                p[1] = (uint8_t)(id >> 8);
                p[2] = (uint8_t)id;
                p[3] = 255;
            }
        }
    }
    return rgba;
}

void writeMap(const std::string& path, int width, unsigned seed) {
    std::vector<uint8_t> rgba = areaPicture(width, seed);
    std::vector<uint8_t> bytes = ampmaker::encode(ampmaker::findAreas(rgba.data(), width, HEIGHT), width, HEIGHT);
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary).write((const char*)bytes.data(), (std::streamsize)bytes.size());
}

struct HitSetup {
    int width;
    ActionMap map;
    std::vector<uint32_t> flat;
    std::vector<std::pair<int, int>> points;

    explicit HitSetup(int width) : width(width), map(mapPath(width)), flat((size_t)width * HEIGHT) {
        for (int y = 0; y < HEIGHT; ++y) {
            for (int x = 0; x < width; ++x) {
                flat[(size_t)y * width + x] = map.getAreaAt(x, y);
            }
        }
        std::mt19937 random(42);
        std::uniform_int_distribution<int> px(0, width - 1);
        std::uniform_int_distribution<int> py(0, HEIGHT - 1);
        for (int i = 0; i < POINTS; ++i) {
            points.emplace_back(px(random), py(random));
        }
    }

    static std::string mapPath(int width) {
        std::string path = folder().path + "/maps/Map" + std::to_string(width) + ".amp";
        writeMap(path, width, (unsigned)width);
        return path;
    }

    uint32_t hitAll() const {
        uint32_t sum = 0;
        for (const auto& [x, y] : points) {
            sum += map.getAreaAt(x, y);
        }
        return sum;
    }

    uint32_t lookUpAll() const {
        uint32_t sum = 0;
        for (const auto& [x, y] : points) {
            sum += flat[(size_t)y * width + x];
        }
        return sum;
    }
};

HitSetup& hitSetup(int width) {
    static HitSetup narrow(426);
    static HitSetup wide(852);
    return width == 426 ? narrow : wide;
}

// ---------------------------------------------------------------- the chapter of 20 scenes

std::string sceneFile(int index) {
    std::string name = "Scene" + std::to_string(index);
    std::string text = "<Scene name=\"" + name + "\" zbase=\"1.2\" zfactor=\"0.002\">\n";
    text += "  <Audio source=\"theme\"/>\n  <Execute cmd=\"inc_var visits 1\"/>\n";
    for (int area = 1; area <= 8; ++area) {
        char colour[8];
        std::snprintf(colour, sizeof(colour), "%06X", (0x010101u * (uint32_t)area) ^ 0x3050A0u);
        text += std::string("  <Action color=\"") + colour + "\" type=\"SwitchScene\" scene=\"Scene" +
                std::to_string((index + area) % SCENES) + "\" rollover=\"RO_" + std::to_string(area) + "\"/>\n";
    }
    text += "  <Action name=\"look" + std::to_string(index) + "\" type=\"Execute\" cmd=\"log look\"/>\n";
    text += "  <if t=\"$door==1\">\n    <Object type=\"ImageBox\" name=\"" + name +
            "_door\" x=\"10\" y=\"20\" image=\"" + name +
            "\"/>\n    <else>\n      <Execute cmd=\"log closed\"/>\n"
            "    </else>\n  </if>\n";
    text += "  <Object type=\"ImageBox\" name=\"" + name + "_lamp\" x=\"40\" y=\"50\" w=\"20\" h=\"20\" image=\"" +
            name + "\" condition=\"$lamp==1\"/>\n";
    return text + "</Scene>\n";
}

std::string makeChapter() {
    std::string root = folder().path + "/chapters/bench";
    fs::create_directories(root + "/scenes");
    fs::create_directories(root + "/textures");
    std::string definition = "<Dataset>\n";
    for (int i = 0; i < SCENES; ++i) {
        std::string name = "Scene" + std::to_string(i);
        nimbo::Image(80, 60, nimbo::Color(40, 60, 80, 255)).savePng(root + "/textures/" + name + "_hd.png");
        definition += "  <Texture name=\"" + name + "_bg\" file=\"textures/" + name + "_hd.png\"/>\n";
        definition += "  <Image name=\"" + name + "\" texture=\"" + name + "_bg\"/>\n";
        std::ofstream(root + "/scenes/" + name + ".scene") << sceneFile(i);
        writeMap(root + "/action_maps/" + name + ".amp", i % 4 == 0 ? 852 : 426, 100u + (unsigned)i);
    }
    std::ofstream(root + "/bench_hd.datadef") << definition << "</Dataset>\n";
    return root + "/bench_hd.datadef";
}

Chapter* benchChapter() {
    static Chapter* chapter = [] {
        vessot::Log::setEcho(false);
        screenWidth = 426;
        screenHeight = HEIGHT;
        echon::init("Offline");
        echon::mgr->createCategory("fx", echon::BUFFER_FULL, echon::SOURCE_RESOURCE);
        echon::mgr->createCategory("music", echon::BUFFER_STREAM, echon::SOURCE_RESOURCE);
        return new Chapter(makeChapter(), nullptr);
    }();
    return chapter;
}

// The figures: the slower map's hit rate (best of five rounds of a million points) and the median
// of ten cold loads.
void compare() {
    double slowest = 0;
    double slowestFlat = 0;
    for (int width : {426, 852}) {
        HitSetup& s = hitSetup(width);
        double best = 1e9;
        double bestFlat = 1e9;
        for (int round = 0; round < 5; ++round) {
            best = std::min(best, benchreport::elapsed<std::ratio<1>>([&] { benchmark::DoNotOptimize(s.hitAll()); }));
            bestFlat = std::min(bestFlat,
                                benchreport::elapsed<std::ratio<1>>([&] { benchmark::DoNotOptimize(s.lookUpAll()); }));
        }
        std::printf("%d x %d, %zu areas: %.1f M hit tests/s (flat table %.1f M/s)\n", width, HEIGHT,
                    s.map.getAreas().size(), POINTS / best / 1e6, POINTS / bestFlat / 1e6);
        benchreport::figure("hit_tests_" + std::to_string(width), POINTS / best, "per_s");
        if (best > slowest) {
            slowest = best;
            slowestFlat = bestFlat;
        }
    }
    benchreport::figure("hit_tests", POINTS / slowest, "per_s");
    benchreport::ratio("hit_test_vs_flat_table", slowest / slowestFlat);

    Chapter* chapter = benchChapter();
    std::vector<double> loads;
    for (int i = 0; i < 10; ++i) {
        loads.push_back(benchreport::elapsed<std::ratio<1>>([&] { chapter->load(); }) * 1000);
        chapter->unload();
    }
    std::printf("chapter of %d scenes: first load %.2f ms, median %.2f ms\n", SCENES, loads[0],
                benchreport::median(loads));
    benchreport::figure("chapter_load_20", benchreport::median(loads), "ms");
}

void BM_HitTest(benchmark::State& state) {
    HitSetup& s = hitSetup((int)state.range(0));
    for (auto _ : state) {
        benchmark::DoNotOptimize(s.hitAll());
    }
    state.SetItemsProcessed(state.iterations() * POINTS);
}
BENCHMARK(BM_HitTest)->Arg(426)->Arg(852)->Unit(benchmark::kMillisecond);

void BM_ChapterLoad(benchmark::State& state) {
    Chapter* chapter = benchChapter();
    for (auto _ : state) {
        chapter->load();
        state.PauseTiming();
        chapter->unload();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ChapterLoad)->Unit(benchmark::kMillisecond);

void cleanup() {
    nimboui::destroy();
    echon::destroy();
}

} // namespace

int main(int argc, char** argv) {
    return benchreport::runMain(argc, argv, compare, cleanup);
}
