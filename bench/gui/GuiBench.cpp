// One GUI frame of a dataset of 1,000 image boxes (32 x 32, one texture) in a tree of depth 4
// (update, a hit test at the cursor and the draw), against drawing the same 1,000 quads directly
// through the render system; and the load of a definition of 1,000 objects and 500 images with
// forced dynamic loading, so that no texture is decoded.

#include "Report.h"
#include "Timing.h"
#include "nimbo/Image.h"
#include "nimbo/Nimbo.h"
#include "nimboui/nimboui.h"
#include "vessot/Log.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int GROUPS = 10;
constexpr int BOXES = 1000;

std::string folder() {
    return (std::filesystem::temp_directory_path() / "zeph-bench-gui").string();
}

void writeText(const std::string& path, const std::string& text) {
    std::ofstream(path) << text;
}

// Root, 10 groups of 10 subgroups of 10 boxes: four levels. Boxes are spread over the screen.
std::string frameDefinition() {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> x(0, 426 - 32);
    std::uniform_int_distribution<int> y(0, 320 - 32);
    std::string text = "<Dataset>\n<Texture name='t' file='box.png'/>\n<Image name='box' texture='t'/>\n";
    text += "<Object type='Object' name='root' w='426' h='320'>\n";
    for (int g = 0; g < GROUPS; ++g) {
        text += "<Object type='Object' name='g" + std::to_string(g) + "' w='426' h='320'>\n";
        for (int s = 0; s < GROUPS; ++s) {
            text +=
                "<Object type='Object' name='s" + std::to_string(g) + "_" + std::to_string(s) + "' w='426' h='320'>\n";
            for (int b = 0; b < BOXES / GROUPS / GROUPS; ++b) {
                text += "<Object type='ImageBox' name='b" + std::to_string(g) + "_" + std::to_string(s) + "_" +
                        std::to_string(b) + "' x='" + std::to_string(x(random)) + "' y='" + std::to_string(y(random)) +
                        "' image='box'/>\n";
            }
            text += "</Object>\n";
        }
        text += "</Object>\n";
    }
    return text + "</Object>\n</Dataset>\n";
}

// 500 images over 50 textures and 1,000 objects of the library's kinds, with a few properties.
std::string loadDefinition() {
    std::string text = "<Dataset>\n";
    for (int t = 0; t < 50; ++t) {
        text += "<Texture name='t" + std::to_string(t) + "' file='textures/t" + std::to_string(t) + ".png'/>\n";
    }
    for (int i = 0; i < 500; ++i) {
        text += "<Image name='img" + std::to_string(i) + "' texture='t" + std::to_string(i % 50) + "' x='" +
                std::to_string(i % 8 * 32) + "' y='" + std::to_string(i / 8 % 8 * 32) + "' w='32' h='32'/>\n";
    }
    text += "<Object type='Object' name='root' w='426' h='320'>\n";
    for (int i = 0; i < 1000; ++i) {
        std::string n = std::to_string(i);
        switch (i % 4) {
        case 0:
            text += "<Object type='ImageBox' name='o" + n + "' x='" + std::to_string(i % 400) + "' image='img" +
                    std::to_string(i % 500) + "'/>\n";
            break;
        case 1:
            text += "<Object type='ImageButton' name='o" + n + "' image='img" + std::to_string(i % 500) +
                    "' hover_image='img" + std::to_string((i + 1) % 500) + "'/>\n";
            break;
        case 2:
            text += "<Object type='Label' name='o" + n + "' w='100' h='20' text_key='KEY_" + n + "' color='FFFFFF'/>\n";
            break;
        default:
            text += "<Animator type='AlphaFader' name='o" + n + "_fader'/>\n";
        }
    }
    return text + "</Object>\n</Dataset>\n";
}

struct Setup {
    nimboui::Dataset* frame = nullptr;
    nimboui::Object* root = nullptr;
    nimbo::Texture* texture = nullptr;
    std::vector<morvec::Rectangle> quads;
    std::string loadPath;

    Setup() {
        setenv("ZEPH_HEADLESS", "1", 1);
        vessot::Log::setEcho(false);
        std::filesystem::create_directories(folder() + "/frame");
        std::filesystem::create_directories(folder() + "/load");
        nimbo::Image box(32, 32, nimbo::Color(200, 120, 40, 200));
        box.savePng(folder() + "/frame/box.png");
        writeText(folder() + "/frame/frame.datadef", frameDefinition());
        loadPath = folder() + "/load/load.datadef";
        writeText(loadPath, loadDefinition());

        nimbo::init();
        nimbo::createRenderSystem();
        nimbo::createWindow(852, 640, false, "bench_gui");
        nimbo::rendersys->setOrthoProjection(morvec::Vector2(426, 320));
        nimboui::init();
        frame = new nimboui::Dataset(folder() + "/frame/frame.datadef", "frame");
        frame->load();
        root = frame->getObject("root");
        texture = frame->getTexture("t")->getRenderTexture();
        collect(root, morvec::Vector2(0, 0));
    }

    // The screen rectangles the boxes draw into, for the direct draw.
    void collect(nimboui::Object* object, morvec::Vector2 offset) {
        if (dynamic_cast<nimboui::ImageBox*>(object)) {
            quads.push_back(object->_getDrawRect().offset(offset));
        }
        for (nimboui::Object* child : object->getChildren()) {
            collect(child, offset + object->getPosition());
        }
    }

    void guiFrame() {
        root->update(1.0f / 60.0f);
        benchmark::DoNotOptimize(root->getChildUnderPoint(nimboui::getCursorPosition()));
        root->draw(morvec::Vector2(0, 0));
        nimbo::rendersys->redrawNextFrame();
        nimbo::rendersys->presentFrame();
    }

    void directFrame() {
        const morvec::Rectangle source(0, 0, 32, 32);
        const nimbo::Color color(255, 255, 255, 255);
        for (const morvec::Rectangle& quad : quads) {
            nimbo::rendersys->drawTexture(texture, source, quad, color);
        }
        nimbo::rendersys->redrawNextFrame();
        nimbo::rendersys->presentFrame();
    }

    double loadOnce() {
        nimboui::setForcedDynamicLoading(true);
        nimboui::Dataset dataset(loadPath, "load");
        auto begin = std::chrono::steady_clock::now();
        dataset.load();
        double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin).count();
        nimboui::setForcedDynamicLoading(false);
        return ms;
    }
};

Setup& setup() {
    static Setup instance;
    return instance;
}

// Frames of both kinds taken in turn, so that neither gains from the machine's state, and loads.
void compare() {
    Setup& s = setup();
    nimboui::setCursorPosition(200, 150);
    for (int i = 0; i < 20; ++i) {
        s.guiFrame();
        s.directFrame();
    }
    std::vector<double> gui, direct, loads;
    for (int i = 0; i < 300; ++i) {
        gui.push_back(benchreport::elapsed<std::micro>([&] { s.guiFrame(); }));
        direct.push_back(benchreport::elapsed<std::micro>([&] { s.directFrame(); }));
    }
    for (int i = 0; i < 15; ++i) {
        loads.push_back(s.loadOnce());
    }
    double guiMedian = benchreport::median(gui);
    double directMedian = benchreport::median(direct);
    double loadMedian = benchreport::median(loads);
    std::printf("gui frame %.1f us, direct frame %.1f us, dataset load %.2f ms\n", guiMedian, directMedian, loadMedian);
    benchreport::ratio("gui_frame", guiMedian / directMedian);
    benchreport::figure("dataset_load", loadMedian, "ms");
}

void BM_GuiFrame(benchmark::State& state) {
    for (auto _ : state) {
        setup().guiFrame();
    }
}
BENCHMARK(BM_GuiFrame)->Unit(benchmark::kMicrosecond);

void BM_DirectFrame(benchmark::State& state) {
    for (auto _ : state) {
        setup().directFrame();
    }
}
BENCHMARK(BM_DirectFrame)->Unit(benchmark::kMicrosecond);

void BM_DatasetLoad(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(setup().loadOnce());
    }
}
BENCHMARK(BM_DatasetLoad)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return benchreport::runMain(argc, argv, compare, [] {
        nimboui::destroy();
        nimbo::destroy();
        std::filesystem::remove_all(folder());
    });
}
