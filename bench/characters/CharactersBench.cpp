// One 1280 x 960 headless frame of the bundled cockpit with 12 characters walking about its floor:
// new walks planned as old ones end (path planning amortised over the frames), the spline step,
// facing, frame choice, the references following, the depth sort and the draw; against drawing the
// same background and the same 12 frames (images, rectangles, tints) straight through the render
// system.

#include "GameHarness.h"
#include "Report.h"
#include "Timing.h"

#include "engine/InterfaceServices.h"
#include "engine/scene/Chapter.h"
#include "engine/scene/Scene.h"
#include "engine/session/Session.h"
#include "script/Character2D.h"
#include "script/Character2DRef.h"
#include "script/Characters.h"
#include "script/ZephJobs.h"

#include "nimbo/Nimbo.h"
#include "nimboui/CompositeImage.h"
#include "nimboui/Texture.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>
#include <random>
#include <unistd.h>
#include <vector>

namespace {

constexpr int CHARACTERS = 12;
constexpr float FRAME_STEP = 1.0f / 60.0f;
const char* const LOOKS[] = {"vorne", "luna", "danny"};

// One textured quad as the frame draws it.
struct Quad {
    nimbo::Texture* texture;
    morvec::Rectangle source;
    morvec::Rectangle dest;
    nimbo::Color color;
    int flip;
};

struct Setup {
    std::unique_ptr<GameHarness> game;
    std::vector<Character2D*> walkers;
    std::vector<Quad> quads;
    std::mt19937 random{7};

    Setup() {
        if (chdir(ZEPH_SOURCE_DIR) != 0) {
            std::perror(ZEPH_SOURCE_DIR);
        }
        GameHarness::Options options;
        options.width = 1280;
        options.height = 960;
        game = std::make_unique<GameHarness>(options);
        game->passLoadingFade();
        walkers.push_back(Characters::getCurrentCharacter());
        Scene* scene = Session::activeScene;
        for (int i = 1; i < CHARACTERS; ++i) {
            String name = "walker" + String(i);
            auto* walker = new Character2D(name, morvec::Rectangle(0, 0, 38, 72));
            charactersChapter->registerManualObject(walker);
            walker->setProperty("chr", LOOKS[i % 3]);
            walker->setProperty("Animation:Walk", "8,0.9");
            auto* reference = new Character2DRef(name + "_ref", morvec::Rectangle(20.0f + 32.0f * i, 290, 0, 0));
            scene->chapter->registerManualObject(reference);
            reference->setProperty("chr", name);
            scene->root->addChild(reference);
            reference->notifyEvent("AttachToObject", scene);
            walkers.push_back(walker);
        }
    }

    // Each character without a walk sets off to a random point of the floor.
    void planWalks() {
        std::uniform_real_distribution<float> x(10, 416);
        std::uniform_real_distribution<float> y(285, 318);
        for (Character2D* walker : walkers) {
            if (walker->getJobQueueSize() == 0) {
                walker->addJob(new ZephJobs::SplineMove("", false, x(random), y(random)));
            }
        }
    }

    void ourFrame() {
        planWalks();
        Characters::updateAll(FRAME_STEP);
        Session::activeScene->update(FRAME_STEP);
        Character2D::sortSceneObjects();
        nimbo::RenderSystem* rs = nimbo::rendersys;
        rs->clear(true, false);
        Hud::setProjection(false);
        rs->setIdentityTransform();
        Session::activeScene->draw();
        rs->redrawNextFrame();
        rs->presentFrame();
    }

    void directFrame() {
        nimbo::RenderSystem* rs = nimbo::rendersys;
        rs->clear(true, false);
        Hud::setProjection(false);
        rs->setIdentityTransform();
        for (const Quad& q : quads) {
            rs->drawTexture(q.texture, q.source, q.dest, q.color, 0.0f, q.flip);
        }
        rs->redrawNextFrame();
        rs->presentFrame();
    }

    // The background and each character's frame as the last frame drew them: the frame's one part
    // placed within the frame's rectangle at its drawing height, feet on the character's position.
    void collectQuads() {
        quads.clear();
        nimboui::Image* background = Session::activeScene->root->getImage();
        quads.push_back({background->getTexture()->getRenderTexture(), background->getSrcRect(),
                         Session::activeScene->root->_getDrawRect(), nimbo::Color(255, 255, 255, 255), 0});
        for (nimboui::Object* child : Session::activeScene->root->getChildren()) {
            auto* reference = dynamic_cast<Character2DRef*>(child);
            if (!reference) {
                continue;
            }
            Character2D* character = reference->getCharacter();
            auto* frame = dynamic_cast<nimboui::CompositeImage*>(character->getImage());
            const nimboui::ImageRef& part = frame->getImageRefs()[0];
            float height = reference->getHeight();
            float width = frame->getSrcRect().w / frame->getSrcRect().h * height;
            float sx = width / frame->getSrcRect().w;
            float sy = height / frame->getSrcRect().h;
            float left = character->getX() - width * 0.5f;
            float top = character->getY() - height; // the data's "yfactor" is 1
            quads.push_back(
                {part.image->getTexture()->getRenderTexture(), part.image->getSrcRect(),
                 morvec::Rectangle(left + part.rect.x * sx, top + part.rect.y * sy, part.rect.w * sx, part.rect.h * sy),
                 Session::activeScene->sampleLightMap(left, character->getY()),
                 part.image->isInvertedX() ? nimbo::FLIP_HORIZONTAL : 0});
        }
    }
};

Setup& setup() {
    static Setup instance;
    return instance;
}

void compare() {
    Setup& s = setup();
    for (int i = 0; i < 60; ++i) {
        s.ourFrame(); // every walk under way and every frame's texture loaded
    }
    s.collectQuads();
    auto [ours, direct] = benchreport::alternatingMedians([&] { s.ourFrame(); }, [&] { s.directFrame(); }, 300, 10);
    std::printf("frame with %d walking characters %.3f ms; the same %zu quads drawn directly %.3f ms\n", CHARACTERS,
                ours, s.quads.size(), direct);
    benchreport::ratio("characters_frame", ours / direct);
}

void BM_CharactersFrame(benchmark::State& state) {
    for (auto _ : state) {
        setup().ourFrame();
    }
}
BENCHMARK(BM_CharactersFrame)->Unit(benchmark::kMillisecond);

void BM_DirectFrame(benchmark::State& state) {
    setup().collectQuads();
    for (auto _ : state) {
        setup().directFrame();
    }
}
BENCHMARK(BM_DirectFrame)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return benchreport::runMain(argc, argv, compare, [] { setup().game.reset(); });
}
