// One frame of a story scene at 1280 x 960, headless, after the loading fade and a warm-up frame,
// with the whole HUD on show: the markers of all its 60 hotspots, the drawn cursor and the hover
// label over one of them; against drawing the same textures and text directly through the render
// system (both presented, so that the renderer really draws);
// an immediate switch between two loaded scenes; and a switch into an unloaded chapter of 20 scenes,
// loading picture included.

#include "AmpBuilder.h"
#include "GameHarness.h"
#include "Report.h"
#include "Timing.h"

#include "engine/app/Game.h"
#include "engine/app/Lifetime.h"
#include "engine/scene/Chapter.h"
#include "engine/scene/Scene.h"
#include "engine/session/Session.h"
#include "engine/view/Input.h"
#include "ui/Hints.h"
#include "ui/Hud.h"

#include "nimbo/Nimbo.h"
#include "nimboui/nimboui.h"
#include "runel/Renderer.h"

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
constexpr int HOTSPOTS = 60;
constexpr float FRAME_STEP = 1.0f / 60.0f;
// The hotspot the pointer rests on, in scene units.
const morvec::Vector2 POINTER(30, 30);

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

// A chapter "benchhud" with the scene "Hud": the landing's picture and 60 hotspots of 20 x 20 units,
// ten a row, each with a rollover key of its own.
std::string writeHudChapter() {
    std::filesystem::path root = folder() / "benchhud";
    std::filesystem::remove_all(root);
    for (const char* sub : {"scenes", "action_maps", "textures"}) {
        std::filesystem::create_directories(root / sub);
    }
    std::filesystem::copy_file("data/chapters/jama_spacea/textures/Landing_hd.png", root / "textures" / "Hud_hd.png");
    std::vector<uint8_t> rgba(426 * 320 * 4, 0);
    std::ofstream scene(root / "scenes" / "Hud.scene");
    scene << "<Scene name='Hud' image='Hud'>\n";
    for (int i = 0; i < HOTSPOTS; ++i) {
        uint32_t id = 0x200000 + (uint32_t)i + 1;
        int x0 = 20 + i % 10 * 38;
        int y0 = 20 + i / 10 * 45;
        for (int y = y0; y < y0 + 20; ++y) {
            for (int x = x0; x < x0 + 20; ++x) {
                uint8_t* p = &rgba[(size_t)(y * 426 + x) * 4];
                p[0] = (uint8_t)(id >> 16), p[1] = (uint8_t)(id >> 8), p[2] = (uint8_t)id, p[3] = 255;
            }
        }
        char colour[8];
        std::snprintf(colour, sizeof colour, "%06X", id);
        scene << "  <Action color='" << colour << "' type='Execute' cmd='log spot' rollover='RO_SPOT_" << i << "'/>\n";
    }
    scene << "</Scene>\n";
    std::vector<uint8_t> map = ampmaker::encode(ampmaker::findAreas(rgba.data(), 426, 320), 426, 320);
    std::ofstream(root / "action_maps" / "Hud.amp", std::ios::binary)
        .write((const char*)map.data(), (std::streamsize)map.size());
    std::ofstream(root / "benchhud_hd.datadef") << "<Dataset><Texture name='Hud_bg' file='textures/Hud_hd.png'/><Image "
                                                   "name='Hud' texture='Hud_bg'/></Dataset>\n";
    return (root / "benchhud_hd.datadef").string();
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

void collect(const Hud::Sprite& sprite, std::vector<Quad>& quads) {
    nimboui::Texture* texture = sprite.image->getTexture();
    quads.push_back({texture->getRenderTexture(), sprite.image->getSrcRect(), sprite.rect,
                     nimbo::Color(255, 255, 255, Hud::alphaByte(sprite.alpha))});
}

struct Setup {
    std::unique_ptr<GameHarness> game;
    std::vector<Quad> sceneQuads;
    std::vector<Quad> markerQuads;
    std::vector<Quad> hudQuads;
    Hud::RolloverLayout label;
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
        new Chapter(writeHudChapter(), nullptr);
        game->passLoadingFade();
        while (loadingScreenFade > 0.0f) {
            game->step();
        }
    }

    // In the HUD's scene with its loading fade over, the pointer on a hotspot, and after warm-up
    // frames (every texture of the frame loaded), with the quads that the frame draws collected
    // anew.
    void prepareFrame() {
        if (Session::activeScene->getFullName() != "benchhud.Hud") {
            switchTo("benchhud.Hud");
        }
        Game::releaseLoadingScreen();
        loadingScreenFade = -1.0f;
        game->move(POINTER.x, POINTER.y);
        gameFrame();
        sceneQuads.clear();
        markerQuads.clear();
        hudQuads.clear();
        collect(Session::activeScene->root, morvec::Vector2(), sceneQuads);
        for (const Hud::Sprite& marker : Hud::hotspotMarkers()) {
            collect(marker, markerQuads);
        }
        collect(Hud::uiObject("ui"), morvec::Vector2(), hudQuads);
        nimboui::Image* cursor = Hud::getCursorImage();
        morvec::Vector2 p = nimboui::getCursorPosition();
        morvec::Vector2 size = cursor->getSize();
        collect({cursor, {p.x - size.x / 4, p.y - size.y / 4, size.x / 2, size.y / 2}}, hudQuads);
        label = Hud::layoutRollover();
    }

    // The game's frame as the main loop runs it: update and draw, then present; every hotspot's
    // marker fully on show.
    static void gameFrame() {
        Hints::marker = {{}, nullptr, 2.5f};
        Game::guarded([] { Game::update(FRAME_STEP); });
        nimbo::rendersys->presentFrame();
    }

    // The same quads drawn straight through the render system, under the same projections.
    void directFrame() {
        nimbo::RenderSystem* rs = nimbo::rendersys;
        rs->clear(true, false);
        Hud::setProjection(false);
        rs->setIdentityTransform();
        for (const std::vector<Quad>* quads : {&sceneQuads, &markerQuads}) {
            for (const Quad& q : *quads) {
                rs->drawTexture(q.texture, q.source, q.dest, q.color);
            }
        }
        Hud::setProjection(true);
        for (const Quad& q : hudQuads) {
            rs->drawTexture(q.texture, q.source, q.dest, q.color);
        }
        runel::renderer->drawText(label.rect, label.font, "[b]" + Hud::rolloverText, (runel::Alignment)label.align,
                                  runel::TOP, nimbo::Color(255, 255, 255, Hud::alphaByte(label.alpha)));
        rs->presentFrame();
    }

    static void switchTo(const vessot::String& target) {
        Game::guarded([&] { Session::switchScene(target, "", "", 0.0f); });
    }

    double switchLoaded() {
        if (Session::activeScene->chapter->getName() != "ship") {
            switchTo("ship.Cockpit");
            corridor = false;
        }
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
    std::printf("frame %.3f ms (%zu scene, %zu marker and %zu HUD quads and the label drawn directly in %.3f ms); "
                "switch between loaded scenes %.3f ms; into an unloaded chapter of %d scenes %.2f ms\n",
                benchreport::median(ours), s.sceneQuads.size(), s.markerQuads.size(), s.hudQuads.size(),
                benchreport::median(direct), benchreport::median(loaded), CHAPTER_SCENES,
                benchreport::median(unloaded));
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
