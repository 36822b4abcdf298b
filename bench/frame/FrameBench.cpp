// One frame of the bundled story scene (the cockpit) at 1280 x 960, headless, after the loading
// fade and a warm-up frame, against drawing the same textures directly through the render system
// (both presented, so that the renderer really draws);
// an immediate switch between two loaded scenes; and a switch into an unloaded chapter of 20 scenes,
// loading picture included.

#include "GameHarness.h"
#include "Report.h"
#include "Timing.h"

#include "engine/app/Game.h"
#include "engine/app/Lifetime.h"
#include "engine/scene/Chapter.h"
#include "engine/scene/Scene.h"
#include "engine/session/Session.h"
#include "engine/view/Input.h"
#include "ui/Hud.h"

#include "nimbo/Nimbo.h"
#include "nimboui/nimboui.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int CHAPTER_SCENES = 20;
constexpr float FRAME_STEP = 1.0f / 60.0f;

std::filesystem::path folder() {
    return std::filesystem::temp_directory_path() / "zeph-bench-frame";
}

// A chapter "bench20" of 20 scenes, each with its own background, a few objects and hotspots.
std::string writeChapter() {
    std::filesystem::path root = folder() / "bench20";
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root / "scenes");
    std::filesystem::create_directories(root / "action_maps");
    std::filesystem::create_directories(root / "textures");
    std::ofstream definition(root / "bench20_hd.datadef");
    definition << "<Dataset>\n";
    for (int i = 0; i < CHAPTER_SCENES; ++i) {
        std::string name = "Scene" + std::to_string(i);
        std::filesystem::copy_file("data/chapters/jama_spacea/textures/Landing_hd.png",
                                   root / "textures" / (name + "_hd.png"));
        std::filesystem::copy_file("data/chapters/jama_spacea/action_maps/Landing.amp",
                                   root / "action_maps" / (name + ".amp"));
        definition << "<Texture name='" << name << "_bg' file='textures/" << name << "_hd.png'/>\n"
                   << "<Image name='" << name << "' texture='" << name << "_bg'/>\n"
                   << "<Image name='" << name << "_part' texture='" << name << "_bg' x='0' y='0' w='64' h='64'/>\n";
        std::ofstream scene(root / "scenes" / (name + ".scene"));
        scene << "<Scene name='" << name << "' image='" << name << "' zbase='1.2' zfactor='0.002'>\n"
              << "  <Action color='00FF00' type='SwitchScene' scene='ship.Cockpit' fade_time='1.0'/>\n";
        for (int o = 0; o < 5; ++o) {
            scene << "  <Object type='ImageBox' name='" << name << "_o" << o << "' x='" << 40 * o
                  << "' y='40' w='32' h='32' image='" << name << "_part'/>\n";
        }
        scene << "</Scene>\n";
    }
    definition << "</Dataset>\n";
    return (root / "bench20_hd.datadef").string();
}

// One textured quad of the frame, as the GUI objects draw it.
struct Quad {
    nimbo::Texture* texture;
    morvec::Rectangle source;
    morvec::Rectangle dest;
    nimbo::Color color;
};

// The quads an object tree draws: visible image boxes with an alpha above 0, at their place.
void collect(nimboui::Object* object, morvec::Vector2 offset, std::vector<Quad>& quads) {
    if (!object->isVisible() || object->getDerivedAlpha() <= 0.0f) {
        return;
    }
    nimboui::Image* image = object->getImage();
    if (image && image->getTexture() && image->getTexture()->getRenderTexture()) {
        quads.push_back({image->getTexture()->getRenderTexture(), image->getSrcRect(),
                         object->_getDrawRect().offset(offset),
                         nimbo::Color(255, 255, 255, (int)(object->getDerivedAlpha() * 255))});
    }
    for (nimboui::Object* child : object->getChildren()) {
        collect(child, offset + object->getPosition(), quads);
    }
}

struct Setup {
    std::unique_ptr<GameHarness> game;
    std::vector<Quad> sceneQuads;
    std::vector<Quad> hudQuads;
    bool corridor = false;
    int nextScene = 0;

    Setup() {
        if (chdir(ZEPH_SOURCE_DIR) != 0) {
            std::perror(ZEPH_SOURCE_DIR);
        }
        GameHarness::Options options;
        options.width = 1280;
        options.height = 960;
        game = std::make_unique<GameHarness>(options);
        new Chapter(writeChapter(), nullptr); // registered with the GUI library, which owns it
        game->passLoadingFade();
        while (loadingScreenFade > 0.0f) {
            game->step();
        }
    }

    // In the cockpit with its loading fade over and after a warm-up frame (every texture of the
    // frame loaded), with the quads that the frame draws collected anew (a switch may have loaded
    // the chapter again).
    void prepareFrame() {
        if (Session::activeScene->getFullName() != "ship.Cockpit") {
            switchTo("ship.Cockpit");
            corridor = false;
        }
        Game::releaseLoadingScreen();
        loadingScreenFade = -1.0f;
        gameFrame();
        sceneQuads.clear();
        hudQuads.clear();
        collect(Session::activeScene->root, morvec::Vector2(), sceneQuads);
        collect(Hud::uiObject("ui"), morvec::Vector2(), hudQuads);
    }

    // The game's frame as the main loop runs it: update and draw, then present.
    static void gameFrame() {
        Game::guarded([] { Game::update(FRAME_STEP); });
        nimbo::rendersys->presentFrame();
    }

    // The same quads drawn straight through the render system, under the same projections.
    void directFrame() {
        nimbo::RenderSystem* rs = nimbo::rendersys;
        rs->clear(true, false);
        Hud::setProjection(false);
        rs->setIdentityTransform();
        for (const Quad& q : sceneQuads) {
            rs->drawTexture(q.texture, q.source, q.dest, q.color);
        }
        Hud::setProjection(true);
        for (const Quad& q : hudQuads) {
            rs->drawTexture(q.texture, q.source, q.dest, q.color);
        }
        rs->presentFrame();
    }

    static void switchTo(const vessot::String& target) {
        Game::guarded([&] { Session::switchScene(target, "", "", 0.0f); });
    }

    double switchLoaded() {
        corridor = !corridor;
        return benchreport::elapsed<std::milli>([&] { switchTo(corridor ? "Corridor" : "Cockpit"); });
    }

    // Into the unloaded chapter, with its loading picture loaded again as after a finished fade;
    // then back to the cockpit, unmeasured.
    double switchUnloaded() {
        Game::releaseLoadingScreen();
        loadingScreenFade = -1.0f;
        std::string target = "bench20.Scene" + std::to_string(nextScene++ % CHAPTER_SCENES);
        double ms = benchreport::elapsed<std::milli>([&] { switchTo(target); });
        switchTo("ship.Cockpit");
        corridor = false;
        return ms;
    }
};

Setup& setup() {
    static Setup instance;
    return instance;
}

void compare() {
    Setup& s = setup();
    s.prepareFrame();
    std::vector<double> ours, direct, loaded, unloaded;
    for (int i = 0; i < 200; ++i) {
        ours.push_back(benchreport::elapsed<std::milli>([&] { s.gameFrame(); }));
        direct.push_back(benchreport::elapsed<std::milli>([&] { s.directFrame(); }));
    }
    for (int i = 0; i < 200; ++i) {
        loaded.push_back(s.switchLoaded());
    }
    for (int i = 0; i < 30; ++i) {
        unloaded.push_back(s.switchUnloaded());
    }
    std::printf("frame %.3f ms (%zu scene and %zu HUD quads drawn directly in %.3f ms); switch between loaded scenes "
                "%.3f ms; into an unloaded chapter of %d scenes %.2f ms\n",
                benchreport::median(ours), s.sceneQuads.size(), s.hudQuads.size(), benchreport::median(direct),
                benchreport::median(loaded), CHAPTER_SCENES, benchreport::median(unloaded));
    benchreport::ratio("frame", benchreport::median(ours) / benchreport::median(direct));
    benchreport::figure("switch_loaded", benchreport::median(loaded), "ms");
    benchreport::figure("switch_unloaded", benchreport::median(unloaded), "ms");
}

void BM_GameFrame(benchmark::State& state) {
    setup().prepareFrame();
    for (auto _ : state) {
        setup().gameFrame();
    }
}
BENCHMARK(BM_GameFrame)->Unit(benchmark::kMillisecond);

void BM_DirectFrame(benchmark::State& state) {
    setup().prepareFrame();
    for (auto _ : state) {
        setup().directFrame();
    }
}
BENCHMARK(BM_DirectFrame)->Unit(benchmark::kMillisecond);

void BM_SwitchLoaded(benchmark::State& state) {
    for (auto _ : state) {
        setup().switchLoaded();
    }
}
BENCHMARK(BM_SwitchLoaded)->Unit(benchmark::kMillisecond);

void BM_SwitchUnloaded(benchmark::State& state) {
    for (auto _ : state) {
        state.SetIterationTime(setup().switchUnloaded() / 1000.0);
    }
}
BENCHMARK(BM_SwitchUnloaded)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return benchreport::runMain(argc, argv, compare, [] {
        setup().game.reset();
        std::filesystem::remove_all(folder());
    });
}
