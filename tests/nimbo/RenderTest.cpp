#include "Headless.h"
#include "TempDir.h"

#include "nimbo/Nimbo.h"

#include <SDL.h>
#include <filesystem>
#include <functional>

using morvec::Rectangle;
using morvec::Vector2;
using nimbo::Color;

namespace {

const Color red(255, 0, 0);
const Color green(0, 255, 0);
const Color blue(0, 0, 255);
const Color black(0, 0, 0);

class Render : public Headless {
protected:
    // A 16 x 16 texture in quarters: red and green at the top, blue and white below. (Far smaller
    // textures blur away under the software renderer's turned quads.)
    nimbo::Texture* quadrants() {
        nimbo::Texture* t =
            nimbo::rendersys->createTexture(16, 16, Color::Clear, nimbo::FORMAT_RGBA, nimbo::Texture::TYPE_DYNAMIC);
        const Color quarter[2][2] = {{red, green}, {blue, Color::White}};
        nimbo::Image pixels(16, 16);
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                pixels.setPixel(x, y, quarter[y / 8][x / 8]);
            }
        }
        t->write(0, 0, 16, 16, 0, 0, pixels.data(), 16, 16, nimbo::FORMAT_RGBA);
        return t;
    }
};

} // namespace

TEST_F(Render, ProjectionBySizePutsTheOriginTopLeft) {
    nimbo::rendersys->setOrthoProjection(Vector2(32, 32)); // two pixels a unit
    nimbo::rendersys->drawFilledRect(Rectangle(4, 2, 8, 4), red);
    EXPECT_TRUE(near(pixel(8, 4), red));
    EXPECT_TRUE(near(pixel(23, 11), red));
    EXPECT_TRUE(near(pixel(24, 11), black));
    EXPECT_TRUE(near(pixel(8, 12), black));
}

TEST_F(Render, ProjectionByRectangleShowsFromMinusXY) {
    // (x, y, w, h) = (16, 8, 64, 64): the window shows -16..48 by -8..56.
    nimbo::rendersys->setOrthoProjection(Rectangle(16, 8, 64, 64));
    nimbo::rendersys->drawFilledRect(Rectangle(-16, -8, 4, 4), red);
    nimbo::rendersys->drawFilledRect(Rectangle(0, 0, 4, 4), green);
    EXPECT_TRUE(near(pixel(1, 1), red));
    EXPECT_TRUE(near(pixel(17, 9), green));
    EXPECT_TRUE(near(pixel(5, 5), black));
}

TEST_F(Render, IdentityProjectionCoversTheViewportWithMinusOneToOne) {
    nimbo::rendersys->setProjectionMatrix(morvec::Matrix4());
    nimbo::rendersys->drawFilledRect(Rectangle(-1, -1, 2, 2), Color(0, 0, 0, 255));
    nimbo::rendersys->drawFilledRect(Rectangle(-1, 0, 1, 1), blue); // the top left quarter (y up)
    EXPECT_TRUE(near(pixel(5, 5), blue));
    EXPECT_TRUE(near(pixel(5, 40), black));
    EXPECT_TRUE(near(pixel(40, 5), black));
}

TEST_F(Render, TranslateAndModelviewMoveLaterQuads) {
    nimbo::rendersys->translate(10, 20);
    nimbo::rendersys->drawFilledRect(Rectangle(0, 0, 4, 4), red);
    morvec::Matrix4 kept = nimbo::rendersys->getModelviewMatrix();
    nimbo::rendersys->setIdentityTransform();
    nimbo::rendersys->drawFilledRect(Rectangle(0, 0, 4, 4), green);
    nimbo::rendersys->setModelviewMatrix(kept);
    nimbo::rendersys->drawFilledRect(Rectangle(30, 0, 4, 4), blue);
    EXPECT_TRUE(near(pixel(12, 22), red));
    EXPECT_TRUE(near(pixel(1, 1), green));
    EXPECT_TRUE(near(pixel(42, 22), blue));
}

TEST_F(Render, ViewportLimitsAndPlacesTheProjection) {
    nimbo::rendersys->setViewport(Rectangle(32, 32, 32, 32));
    nimbo::rendersys->setOrthoProjection(Vector2(2, 2));
    nimbo::rendersys->drawFilledRect(Rectangle(0, 0, 1, 1), red);
    EXPECT_TRUE(near(pixel(40, 40), red));
    EXPECT_TRUE(near(pixel(56, 56), black));
    EXPECT_TRUE(near(pixel(10, 10), black));
    EXPECT_EQ(nimbo::rendersys->getViewport(), Rectangle(32, 32, 32, 32));
}

TEST_F(Render, TexturedRectTakesTheNormalisedSource) {
    nimbo::Texture* t = quadrants();
    nimbo::rendersys->setTexture(t);
    nimbo::rendersys->drawTexturedRect(Rectangle(0, 0, 32, 32), Rectangle(0, 0, 1, 1));
    nimbo::rendersys->drawTexturedRect(Rectangle(32, 32, 32, 32), Rectangle(0.5f, 0.5f, 0.5f, 0.5f));
    EXPECT_TRUE(near(pixel(4, 4), red, 40));
    EXPECT_TRUE(near(pixel(28, 4), green, 40));
    EXPECT_TRUE(near(pixel(4, 28), blue, 40));
    EXPECT_TRUE(near(pixel(48, 48), Color::White, 40));
    delete t;
}

TEST_F(Render, PositiveAngleTurnsCounterClockwiseOnScreen) {
    // Red on the left, green on the right; a quarter turn to the left puts green at the top.
    nimbo::Texture* t = quadrants();
    struct Case {
        float angle;
        Vector2 greenAt;
    } cases[] = {{0, {44, 32}}, {90, {32, 20}}, {-90, {32, 44}}, {180, {20, 32}}};
    for (const Case& c : cases) {
        nimbo::rendersys->clear();
        nimbo::rendersys->drawTexture(t, Rectangle(0, 0, 16, 8), Rectangle(16, 24, 32, 16), Color::White, c.angle);
        EXPECT_TRUE(near(pixel((int)c.greenAt.x, (int)c.greenAt.y), green, 60)) << "angle " << c.angle;
    }
    delete t;
}

TEST_F(Render, AngleKeepsItsSenseUnderAnUpwardProjection) {
    nimbo::Texture* t = quadrants();
    nimbo::rendersys->setProjectionMatrix(morvec::Matrix4::orthographic(0, 64, 0, 64)); // y up
    nimbo::rendersys->drawTexture(t, Rectangle(0, 0, 16, 8), Rectangle(16, 24, 32, 16), Color::White, 90);
    EXPECT_TRUE(near(pixel(32, 20), green, 60));
    delete t;
}

TEST_F(Render, FlipMirrorsThePicture) {
    nimbo::Texture* t = quadrants();
    nimbo::rendersys->drawTexture(t, Rectangle(0, 0, 16, 16), Rectangle(0, 0, 32, 32), Color::White, 0,
                                  nimbo::FLIP_HORIZONTAL);
    nimbo::rendersys->drawTexture(t, Rectangle(0, 0, 16, 16), Rectangle(32, 32, 32, 32), Color::White, 0,
                                  nimbo::FLIP_VERTICAL);
    EXPECT_TRUE(near(pixel(4, 4), green, 40));
    EXPECT_TRUE(near(pixel(28, 4), red, 40));
    EXPECT_TRUE(near(pixel(36, 36), blue, 40));
    EXPECT_TRUE(near(pixel(36, 60), red, 40));
    delete t;
}

TEST_F(Render, ColourTintsAndFades) {
    nimbo::Texture* t = nimbo::rendersys->createTexture(4, 4, Color::White);
    nimbo::rendersys->drawTexture(t, Rectangle(0, 0, 4, 4), Rectangle(0, 0, 32, 32), Color(255, 0, 0, 255));
    nimbo::rendersys->drawTexture(t, Rectangle(0, 0, 4, 4), Rectangle(32, 0, 32, 32), Color(255, 255, 255, 128));
    EXPECT_TRUE(near(pixel(10, 10), red));
    EXPECT_TRUE(near(pixel(40, 10), Color(128, 128, 128)));
    delete t;
}

TEST_F(Render, BlendModes) {
    struct Case {
        nimbo::BlendMode mode;
        Color drawn;
        Color expected;
    } cases[] = {
        {nimbo::BM_DEFAULT, Color(255, 0, 0, 128), Color(191, 64, 64)},
        {nimbo::BM_ALPHA, Color(255, 0, 0, 128), Color(191, 64, 64)},
        {nimbo::BM_ADD, Color(100, 100, 100, 255), Color(228, 228, 228)},
        {nimbo::BM_OVERWRITE, Color(10, 20, 30, 40), Color(10, 20, 30, 255)},
    };
    for (const Case& c : cases) {
        nimbo::rendersys->setBlendMode(nimbo::BM_OVERWRITE);
        nimbo::rendersys->drawFilledRect(Rectangle(0, 0, 64, 64), Color(128, 128, 128));
        nimbo::rendersys->setBlendMode(c.mode);
        nimbo::rendersys->drawFilledRect(Rectangle(0, 0, 64, 64), c.drawn);
        EXPECT_TRUE(near(pixel(10, 10), c.expected, 4)) << "mode " << c.mode;
        EXPECT_EQ(nimbo::rendersys->getBlendMode(), c.mode);
    }
}

TEST_F(Render, SubtractDarkens) {
    nimbo::rendersys->drawFilledRect(Rectangle(0, 0, 64, 64), Color(200, 200, 200));
    nimbo::rendersys->setBlendMode(nimbo::BM_SUBTRACT);
    nimbo::rendersys->drawFilledRect(Rectangle(0, 0, 64, 64), Color(100, 100, 100));
    Color c = pixel(10, 10);
    EXPECT_LT(c.r, 200);
    EXPECT_EQ(c.r, c.g);
}

TEST_F(Render, ClearMakesTheWindowBlack) {
    nimbo::rendersys->drawFilledRect(Rectangle(0, 0, 64, 64), red);
    nimbo::rendersys->clear(true, false);
    EXPECT_TRUE(near(pixel(10, 10), black));
}

TEST_F(Render, ScreenshotIsTheWholeWindowDespiteTheViewport) {
    nimbo::rendersys->drawFilledRect(Rectangle(0, 0, 64, 64), red);
    nimbo::rendersys->setViewport(Rectangle(0, 0, 8, 8));
    nimbo::Image shot = nimbo::rendersys->captureScreen();
    EXPECT_EQ(shot.getWidth(), 64);
    EXPECT_EQ(shot.getHeight(), 64);
    EXPECT_TRUE(near(shot.getPixel(60, 60), red));
}

TEST_F(Render, OnlyAFrameThatDiffersFromTheShownOneReachesTheDisplay) {
    // SDL's dummy display writes every frame it is sent to a file in the working folder.
    TempDir dir;
    std::filesystem::path home = std::filesystem::current_path();
    std::filesystem::current_path(dir.path);
    setenv("SDL_VIDEO_DUMMY_SAVE_FRAMES", "1", 1);
    auto framesSent = [&] { return std::distance(std::filesystem::directory_iterator(dir.path), {}); };
    nimbo::Texture* t = quadrants();
    nimbo::rendersys->presentFrame(); // what the set-up drew
    const unsigned char white[4] = {255, 255, 255, 255};
    auto rewrite = [&] { t->write(0, 0, 1, 1, 0, 0, white, 1, 1, nimbo::FORMAT_RGBA); };
    auto expose = [] {
        SDL_Event e{};
        e.type = SDL_WINDOWEVENT;
        e.window.event = SDL_WINDOWEVENT_EXPOSED;
        SDL_PushEvent(&e);
    };
    struct Step {
        const char* what;
        float x;
        std::function<void()> change;
        bool sent;
        float cut = 0;      // window pixels off the picture's top, its texture part cut along
        float narrower = 0; // texels off the right of its texture part
        Color tint = Color::White;
    } steps[] = {
        {"the first frame", 0, {}, true},
        {"the same frame", 0, {}, false},
        {"the picture moved", 8, {}, true},
        {"the same frame", 8, {}, false},
        {"its texture rewritten", 8, rewrite, true},
        {"the same frame", 8, {}, false},
        {"the window resized", 8, [] { nimbo::window->setSize(80, 64); }, true},
        {"the window exposed", 8, expose, true},
        {"the same frame", 8, {}, false},
        {"the top cut within its pixel row", 8, {}, false, 0.3f},
        {"the top cut by a pixel row", 8, {}, true, 1.3f},
        {"its texture part narrowed, the first texel kept", 8, {}, true, 1.3f, 0.2f},
        {"the picture tinted", 8, {}, true, 1.3f, 0.2f, Color(255, 255, 255, 128)},
    };
    for (const Step& step : steps) {
        auto before = framesSent();
        if (step.change) {
            step.change();
        }
        nimbo::window->pumpEvents(0);
        nimbo::rendersys->clear();
        nimbo::rendersys->drawTexture(t, Rectangle(0, step.cut / 2, 16 - step.narrower, 16 - step.cut / 2),
                                      Rectangle(step.x, step.cut, 32, 32 - step.cut), step.tint);
        nimbo::rendersys->presentFrame();
        EXPECT_EQ(framesSent() > before, step.sent) << step.what;
    }
    unsetenv("SDL_VIDEO_DUMMY_SAVE_FRAMES");
    std::filesystem::current_path(home);
    delete t;
}
