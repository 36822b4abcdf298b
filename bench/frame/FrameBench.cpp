// The frame of the real game at 1280 x 960, headless: a stretch of play at the landing site of Jama
// Spacea, played twice. Vorne walks from one end of its ground to the other under the drawn cursor,
// every hotspot's marker and the HUD's buttons: first silent, with the pointer resting on the crate
// and its hover label on show; then saying a line, his subtitle above him (the game hides the label
// while a line is spoken); then with the verb coin open on the robot and the pointer on its use
// button, his line still on show (the game holds the walk while the coin is open and slides its
// buttons away). Against drawing the same pictures, rectangles, tints and texts straight through the
// render system, frame by frame, taken from the state the game draws (both drawn and presented, also
// where a frame matches the last); in the middle of each phase both pictures are compared pixel by pixel.
// Also an immediate switch between two loaded scenes; a switch into an unloaded chapter of 20 scenes,
// loading picture included; and the resident memory that 100 trips from the ship to the first planet
// and back (each a chapter loaded and one unloaded, a few frames in each) leave behind.

#include "GameHarness.h"
#include "Report.h"
#include "Timing.h"

#include "engine/app/Game.h"
#include "engine/app/Lifetime.h"
#include "engine/scene/Chapter.h"
#include "engine/scene/Scene.h"
#include "engine/session/Session.h"
#include "engine/view/Input.h"
#include "script/Character2D.h"
#include "script/Character2DRef.h"
#include "script/Speech.h"
#include "script/ZephJobs.h"
#include "ui/Hints.h"
#include "ui/Hud.h"
#include "ui/VerbCoin.h"

#include "nimbo/Nimbo.h"
#include "nimboui/CompositeImage.h"
#include "nimboui/EditBox.h"
#include "nimboui/ImageButton.h"
#include "nimboui/Label.h"
#include "nimboui/RotationImageBox.h"
#include "nimboui/Texture.h"
#include "nimboui/nimboui.h"
#include "runel/Renderer.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <malloc.h>
#include <memory>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <variant>
#include <vector>

namespace {

constexpr int CHAPTER_SCENES = 20;
constexpr float FRAME_STEP = 1.0f / 60.0f;
// The phases of the stretch of play, in order, with their frames; played twice.
enum Phase { HOVER, TALK, COIN };
const char* const PHASE_NAMES[] = {"hovering", "talking", "with the coin open"};
constexpr int PHASE_FRAMES[] = {120, 120, 60};
constexpr int CYCLES = 2;
// Frames for the coin to grow or fade (0.2 s).
constexpr int COIN_FADE_FRAMES = 13;
const char* const LANDING = "jama_spacea.Landing";
// Vorne's line, of the chapter's texts.
const char* const LINE = "SIGNPOST_DEVICE";
// Scene points of the landing: the robot, the crate, and the ends of the ground that Vorne walks
// between.
const morvec::Vector2 ROBOT(23, 156);
const morvec::Vector2 CRATE(63, 157);
const morvec::Vector2 WALK_ENDS[] = {{40, 300}, {390, 300}};
// Where the interface's space puts the virtual screen's left edge.
constexpr float COIN_SCREEN_LEFT = 480.0f;

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

// One draw of the frame as the render system takes it: a part of a texture into a rectangle, or a
// text through the text renderer.
struct Quad {
    nimbo::Texture* texture;
    morvec::Rectangle source;
    morvec::Rectangle dest;
    nimbo::Color color;
    float angle = 0.0f;
    int flip = nimbo::FLIP_NONE;
    int blend = nimboui::BLEND_DEFAULT;
};
struct Text {
    morvec::Rectangle rect;
    vessot::String font;
    vessot::String text;
    runel::Alignment align;
    runel::VerticalAlignment valign;
    nimbo::Color color;
};
using Draw = std::variant<Quad, Text>;

// The draws of an image as nimboui::Image::draw makes them: a composite's parts in order, a part
// stored turned a quarter drawn turned back.
void addImage(nimboui::Image* image, const morvec::Rectangle& dest, const nimbo::Color& color, float angle,
              std::vector<Draw>& draws, int blend = nimboui::BLEND_DEFAULT) {
    if (!image || color.a == 0) {
        return;
    }
    blend = blend != nimboui::BLEND_DEFAULT ? blend : image->getBlendMode();
    if (auto* composite = dynamic_cast<nimboui::CompositeImage*>(image)) {
        const morvec::Rectangle& size = composite->getSrcRect();
        if (size.w <= 0.0f || size.h <= 0.0f) {
            return;
        }
        if (angle != 0.0f) {
            throw std::logic_error("a turned composite image is not replayed: " + composite->getName());
        }
        for (const nimboui::ImageRef& ref : composite->getImageRefs()) {
            float sx = dest.w / size.w;
            float sy = dest.h / size.h;
            addImage(ref.image, {dest.x + ref.rect.x * sx, dest.y + ref.rect.y * sy, ref.rect.w * sx, ref.rect.h * sy},
                     color, 0.0f, draws, blend);
        }
        return;
    }
    nimbo::Texture* texture = image->getTexture() ? image->getTexture()->getRenderTexture() : nullptr;
    if (!texture) {
        return;
    }
    Quad quad{texture, image->getSrcRect(), dest, color, angle, nimbo::FLIP_NONE, blend};
    if (!image->isRotated()) {
        quad.flip =
            (image->isInvertedX() ? nimbo::FLIP_HORIZONTAL : 0) | (image->isInvertedY() ? nimbo::FLIP_VERTICAL : 0);
    } else {
        morvec::Vector2 centre = dest.getCenter();
        quad.dest = {centre.x - dest.h / 2, centre.y - dest.w / 2, dest.h, dest.w};
        quad.angle = angle - 90.0f;
        quad.flip =
            (image->isInvertedX() ? nimbo::FLIP_VERTICAL : 0) | (image->isInvertedY() ? nimbo::FLIP_HORIZONTAL : 0);
    }
    draws.push_back(quad);
}

void addSprite(const Hud::Sprite& sprite, std::vector<Draw>& draws) {
    addImage(sprite.image, sprite.rect, nimbo::Color(255, 255, 255, Hud::alphaByte(sprite.alpha)), sprite.angle, draws);
}

// The draws of a GUI tree: image boxes and buttons (by their hover and press state) and the scene's
// characters; a kind of object that draws otherwise stops the benchmark, which would not replay it.
void addTree(nimboui::Object* object, morvec::Vector2 offset, std::vector<Draw>& draws) {
    if (!object->isVisible()) {
        return;
    }
    float alpha = object->getDerivedAlpha();
    if (auto* reference = dynamic_cast<Character2DRef*>(object)) {
        morvec::Rectangle dest;
        nimbo::Color tint;
        if (reference->placeFrame(dest, tint)) {
            addImage(reference->getCharacter()->getImage(), dest, tint, 0.0f, draws);
        }
    } else if (auto* box = dynamic_cast<nimboui::ImageBox*>(object)) {
        if (dynamic_cast<nimboui::RotationImageBox*>(object)) {
            throw std::logic_error("a turning image box is not replayed: " + object->getName());
        }
        auto* button = dynamic_cast<nimboui::ImageButton*>(object);
        nimbo::Color color = box->getColor();
        color.a = (uint8_t)std::clamp((int)((float)color.a * alpha), 0, 255);
        addImage(button ? button->getShownImage() : box->getImage(), object->_getDrawRect().offset(offset), color, 0.0f,
                 draws);
    } else if (alpha > 0.0f && (dynamic_cast<nimboui::Label*>(object) || dynamic_cast<nimboui::EditBox*>(object))) {
        throw std::logic_error("a text object is not replayed: " + object->getName());
    }
    for (nimboui::Object* child : object->getChildren()) {
        addTree(child, offset + object->getPosition(), draws);
    }
}

// The HUD's draws as Hud::draw makes them, after the hotspot markers: the subtitles, the interface's
// objects, the diary's notification, the drawn cursor and the hover label.
void addHud(std::vector<Draw>& draws) {
    for (const Subtitle& subtitle : Speech::placeSubtitles()) {
        if (!subtitle.text.empty()) {
            draws.push_back(Text{subtitle.rect, Speech::subtitleFont(), "[b]" + subtitle.text, runel::CENTER_WRAPPED,
                                 runel::BOTTOM, subtitle.colour});
        }
    }
    addTree(Hud::uiObject("ui"), morvec::Vector2(), draws);
    for (const Hud::Sprite& sprite : Hud::diaryNotification()) {
        addSprite(sprite, draws);
    }
    if (nimboui::Image* cursor = Hud::getCursorImage()) {
        morvec::Vector2 p = nimboui::getCursorPosition();
        morvec::Vector2 size = cursor->getSize();
        addSprite({cursor, {p.x - size.x / 4, p.y - size.y / 4, size.x / 2, size.y / 2}}, draws);
    }
    if (Hud::rolloverTimer > 0.0f && !VerbCoin::isOpen()) {
        Hud::RolloverLayout label = Hud::layoutRollover();
        addSprite(label.icon, draws);
        draws.push_back(Text{label.rect, label.font, "[b]" + Hud::rolloverText, (runel::Alignment)label.align,
                             runel::TOP, nimbo::Color(255, 255, 255, Hud::alphaByte(label.alpha))});
    }
}

void replay(const std::vector<Draw>& draws) {
    nimbo::RenderSystem* rs = nimbo::rendersys;
    for (const Draw& draw : draws) {
        if (const Quad* q = std::get_if<Quad>(&draw)) {
            if (q->blend == nimboui::BLEND_DEFAULT) {
                rs->drawTexture(q->texture, q->source, q->dest, q->color, q->angle, q->flip);
                continue;
            }
            nimbo::BlendMode previous = rs->getBlendMode();
            rs->setBlendMode((nimbo::BlendMode)q->blend);
            rs->drawTexture(q->texture, q->source, q->dest, q->color, q->angle, q->flip);
            rs->setBlendMode(previous);
        } else {
            const Text& t = std::get<Text>(draw);
            runel::renderer->drawText(t.rect, t.font, t.text, t.align, t.valign, t.color, morvec::Vector2(0, 0));
        }
    }
}

// How many pixels of two pictures of the same size differ by more than a step in some channel.
size_t differingPixels(const nimbo::Image& a, const nimbo::Image& b) {
    size_t count = 0;
    size_t size = (size_t)std::min(a.getWidth() * a.getHeight(), b.getWidth() * b.getHeight()) * 4;
    for (size_t i = 0; i < size; i += 4) {
        for (size_t c = 0; c < 3; ++c) {
            if (std::abs((int)a.data()[i + c] - (int)b.data()[i + c]) > 2) {
                ++count;
                break;
            }
        }
    }
    return count;
}

struct Setup {
    std::unique_ptr<GameHarness> game;
    // The frame's draws under the scene's projection (the scene and the hotspot markers) and under
    // the HUD's, taken before the game draws the frame.
    std::vector<Draw> sceneDraws;
    std::vector<Draw> hudDraws;
    bool corridor = false;
    int nextScene = 0;
    int walkEnd = 0;

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

    static Character2D* vorne() { return dynamic_cast<Character2D*>(charactersChapter->getObject("vorne")); }

    // The start of a phase. Hovering: in the landing with its loading picture gone, the verb coin
    // closed and Vorne silent, the pointer on the crate. Talking goes on from there. With the coin: the
    // coin opened on the robot by a click, grown, and the pointer on its use button (Vorne's line is
    // cut first, as a click while he speaks would only skip it).
    void enter(Phase phase) {
        if (phase == TALK) {
            return;
        }
        if (Session::activeScene->getFullName() != LANDING) {
            switchTo(LANDING);
            game->passLoadingFade();
        }
        Game::releaseLoadingScreen();
        loadingScreenFade = -1.0f;
        Speech::cutLine("vorne");
        if (phase == HOVER) {
            if (VerbCoin::isOpen()) {
                Game::guarded([] { VerbCoin::close(); });
                game->step(COIN_FADE_FRAMES);
            }
            game->move(CRATE.x, CRATE.y);
            return;
        }
        game->click(ROBOT.x, ROBOT.y);
        game->step(COIN_FADE_FRAMES);
        nimboui::Object* use = Hud::uiObject("choice_use");
        morvec::Vector2 centre = use->getPosition() + use->getSize() * 0.5f;
        game->move(centre.x - COIN_SCREEN_LEFT, centre.y);
    }

    // Between frames: Vorne walks on to the other end once he arrived, says his line again once it
    // ended (but while hovering), and every hotspot's marker stays fully on show.
    void keepPlaying(Phase phase) {
        Hints::marker = {{}, nullptr, 2.5f};
        Character2D* character = vorne();
        if (!VerbCoin::isOpen() && character->getJobQueueSize() == 0) {
            walkEnd = 1 - walkEnd;
            character->addJob(new ZephJobs::SplineMove("", false, WALK_ENDS[walkEnd].x, WALK_ENDS[walkEnd].y));
        }
        if (phase != HOVER && !Speech::isSpeaking()) {
            Speech::say("{ vorne }" + Session::activeScene->chapter->getText(LINE));
        }
    }

    // The draws the next frame makes, from the state it draws.
    void collect() {
        sceneDraws.clear();
        hudDraws.clear();
        addTree(Session::activeScene->root, morvec::Vector2(), sceneDraws);
        for (const Hud::Sprite& marker : Hud::hotspotMarkers()) {
            addSprite(marker, sceneDraws);
        }
        addHud(hudDraws);
    }

    // The game's frame as the main loop runs it: update and draw, then present.
    static void gameFrame() {
        nimbo::rendersys->redrawNextFrame();
        Game::guarded([] { Game::update(FRAME_STEP); });
        nimbo::rendersys->presentFrame();
    }

    // The same draws straight through the render system, under the same projections.
    void directFrame() {
        nimbo::RenderSystem* rs = nimbo::rendersys;
        rs->redrawNextFrame();
        rs->clear(true, false);
        Hud::setProjection(false);
        rs->setIdentityTransform();
        replay(sceneDraws);
        Hud::setProjection(true);
        replay(hudDraws);
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

    // From the cockpit to the first planet's landing site and back: the planet's chapter is loaded
    // and the ship's unloaded, then the other way round; three frames in each scene.
    void chapterCycle() {
        for (const char* target : {"jama_spacea.LandingSite", "ship.Cockpit"}) {
            Game::releaseLoadingScreen();
            loadingScreenFade = -1.0f;
            switchTo(target);
            for (int i = 0; i < 3; ++i) {
                gameFrame();
            }
        }
        corridor = false;
    }
};

// The frames of the stretch of play, each timed as the game draws it and as drawn directly.
struct FrameTimes {
    std::vector<double> ours;
    std::vector<double> direct;
    // How many pixels of the direct frame differed from the game's, in the middle of each phase.
    size_t differing[3] = {};

    void sample(Setup& s, Phase phase, size_t* diff) {
        s.keepPlaying(phase);
        s.collect();
        ours.push_back(benchreport::elapsed<std::milli>([&] { s.gameFrame(); }));
        nimbo::Image game = diff ? nimbo::rendersys->captureScreen() : nimbo::Image();
        direct.push_back(benchreport::elapsed<std::milli>([&] { s.directFrame(); }));
        if (diff) {
            *diff = differingPixels(game, nimbo::rendersys->captureScreen());
        }
    }

    // Ours over the direct draw, frame by frame; the median.
    double ratio() const {
        std::vector<double> ratios;
        for (size_t i = 0; i < ours.size(); ++i) {
            ratios.push_back(ours[i] / direct[i]);
        }
        return benchreport::median(ratios);
    }
};

// Resident memory in kilobytes, once the allocator has given back what it can.
long residentKb() {
    malloc_trim(0);
    std::ifstream statm("/proc/self/statm");
    long size = 0;
    long resident = 0;
    statm >> size >> resident;
    return resident * sysconf(_SC_PAGESIZE) / 1024;
}

Setup& setup() {
    static Setup instance;
    return instance;
}

void compare() {
    Setup& s = setup();
    FrameTimes frames;
    for (int cycle = 0; cycle < CYCLES; ++cycle) {
        for (Phase phase : {HOVER, TALK, COIN}) {
            s.enter(phase);
            for (int i = 0; i < PHASE_FRAMES[phase]; ++i) {
                bool check = cycle == 0 && i == PHASE_FRAMES[phase] / 2;
                frames.sample(s, phase, check ? &frames.differing[phase] : nullptr);
            }
        }
    }
    std::vector<double> loaded, unloaded;
    for (int i = 0; i < 200; ++i) {
        loaded.push_back(s.switchLoaded());
    }
    for (int i = 0; i < 30; ++i) {
        unloaded.push_back(s.switchUnloaded());
    }
    // Ten trips first, so that what is made once (caches, the allocator's pools) is made.
    for (int i = 0; i < 10; ++i) {
        s.chapterCycle();
    }
    long before = residentKb();
    for (int i = 0; i < 100; ++i) {
        s.chapterCycle();
    }
    long growth = residentKb() - before;
    std::printf("frame %.3f ms, drawn directly %.3f ms (medians of %zu frames)\n", benchreport::median(frames.ours),
                benchreport::median(frames.direct), frames.ours.size());
    for (Phase phase : {HOVER, TALK, COIN}) {
        std::printf("  %s: the direct frame differs from the game's in %zu pixels\n", PHASE_NAMES[phase],
                    frames.differing[phase]);
    }
    std::printf("switch between loaded scenes %.3f ms; into an unloaded chapter of %d scenes %.2f ms; resident memory "
                "%ld KB before 100 trips between two chapters, %ld KB after\n",
                benchreport::median(loaded), CHAPTER_SCENES, benchreport::median(unloaded), before, before + growth);
    benchreport::ratio("frame", frames.ratio());
    benchreport::figure("switch_loaded", benchreport::median(loaded), "ms");
    benchreport::figure("switch_unloaded", benchreport::median(unloaded), "ms");
    benchreport::figure("chapter_cycle_growth", (double)growth, "KB");
}

void BM_GameFrame(benchmark::State& state) {
    setup().enter(HOVER);
    for (auto _ : state) {
        setup().keepPlaying(TALK);
        setup().gameFrame();
    }
}
BENCHMARK(BM_GameFrame)->Unit(benchmark::kMillisecond);

void BM_DirectFrame(benchmark::State& state) {
    setup().enter(HOVER);
    setup().keepPlaying(TALK);
    setup().collect();
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
