// One 1280 x 960 headless frame: a full-screen background and 200 alpha-blended 64 x 64 sprites,
// 20 of them turned, drawn through the render system (our matrices, batched SDL_RenderGeometry)
// against the same draws issued straight to SDL with SDL_RenderCopy and SDL_RenderCopyEx, on a
// second window with the same software renderer.

#include "Report.h"
#include "Timing.h"
#include "nimbo/Nimbo.h"

#include <SDL.h>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

namespace {

constexpr int WIDTH = 1280;
constexpr int HEIGHT = 960;
constexpr int SPRITES = 200;
constexpr int TURNED = 20;
constexpr int FRAMES = 60;

struct Sprite {
    float x, y, angle;
};

nimbo::Image backgroundPixels() {
    nimbo::Image image(512, 512);
    for (int y = 0; y < 512; ++y) {
        for (int x = 0; x < 512; ++x) {
            image.setPixel(x, y, nimbo::Color(x / 2, y / 2, (x ^ y) & 255));
        }
    }
    return image;
}

// A soft disc: opaque in the middle, fading out to the edge.
nimbo::Image spritePixels() {
    nimbo::Image image(64, 64);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            float d = std::hypot(x - 31.5f, y - 31.5f) / 32.0f;
            image.setPixel(x, y, nimbo::Color(255, 200, 60, (int)(255 * std::clamp(1.5f - 1.5f * d, 0.0f, 1.0f))));
        }
    }
    return image;
}

struct Scene {
    std::vector<Sprite> sprites;
    nimbo::Texture* background = nullptr;
    nimbo::Texture* sprite = nullptr;
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* sdlBackground = nullptr;
    SDL_Texture* sdlSprite = nullptr;
};

SDL_Texture* sdlTexture(SDL_Renderer* r, const nimbo::Image& image) {
    SDL_Texture* t =
        SDL_CreateTexture(r, SDL_PIXELFORMAT_RGBA32, SDL_TEXTUREACCESS_STATIC, image.getWidth(), image.getHeight());
    SDL_UpdateTexture(t, nullptr, image.data(), image.getWidth() * 4);
    SDL_SetTextureBlendMode(t, SDL_BLENDMODE_BLEND);
    SDL_SetTextureScaleMode(t, SDL_ScaleModeLinear);
    return t;
}

nimbo::Texture* ourTexture(const nimbo::Image& image) {
    nimbo::Texture* t = nimbo::rendersys->createTexture(image.getWidth(), image.getHeight(), nimbo::Color::Clear,
                                                        nimbo::FORMAT_RGBA, nimbo::Texture::TYPE_DYNAMIC);
    t->write(0, 0, image.getWidth(), image.getHeight(), 0, 0, image.data(), image.getWidth(), image.getHeight(),
             nimbo::FORMAT_RGBA);
    return t;
}

Scene& scene() {
    static Scene s = [] {
        Scene s;
        setenv("ZEPH_HEADLESS", "1", 1);
        nimbo::init();
        nimbo::createRenderSystem();
        nimbo::createWindow(WIDTH, HEIGHT, false, "bench_render");
        nimbo::Image back = backgroundPixels();
        nimbo::Image disc = spritePixels();
        s.background = ourTexture(back);
        s.sprite = ourTexture(disc);
        s.window = SDL_CreateWindow("baseline", 0, 0, WIDTH, HEIGHT, 0);
        s.renderer = SDL_CreateRenderer(s.window, -1, SDL_RENDERER_SOFTWARE);
        s.sdlBackground = sdlTexture(s.renderer, back);
        s.sdlSprite = sdlTexture(s.renderer, disc);
        std::mt19937 random(42);
        std::uniform_real_distribution<float> x(0, WIDTH - 64), y(0, HEIGHT - 64), angle(-180, 180);
        for (int i = 0; i < SPRITES; ++i) {
            s.sprites.push_back({x(random), y(random), i < TURNED ? angle(random) : 0.0f});
        }
        return s;
    }();
    return s;
}

void ourFrame(Scene& s) {
    nimbo::RenderSystem& r = *nimbo::rendersys;
    r.redrawNextFrame(); // every frame is the same: drawn all the same, as SDL's
    r.clear();
    r.setOrthoProjection(morvec::Vector2(WIDTH, HEIGHT));
    r.setBlendMode(nimbo::BM_ALPHA);
    r.drawTexture(s.background, {0, 0, 512, 512}, {0, 0, WIDTH, HEIGHT});
    for (const Sprite& p : s.sprites) {
        r.drawTexture(s.sprite, {0, 0, 64, 64}, {p.x, p.y, 64, 64}, nimbo::Color::White, p.angle);
    }
    r.presentFrame();
}

void directFrame(Scene& s) {
    SDL_SetRenderDrawColor(s.renderer, 0, 0, 0, 255);
    SDL_RenderClear(s.renderer);
    SDL_RenderCopy(s.renderer, s.sdlBackground, nullptr, nullptr);
    for (const Sprite& p : s.sprites) {
        SDL_FRect dest{p.x, p.y, 64, 64};
        if (p.angle != 0) {
            // SDL turns clockwise for a positive angle.
            SDL_RenderCopyExF(s.renderer, s.sdlSprite, nullptr, &dest, -p.angle, nullptr, SDL_FLIP_NONE);
        } else {
            SDL_RenderCopyF(s.renderer, s.sdlSprite, nullptr, &dest);
        }
    }
    SDL_RenderPresent(s.renderer);
}

void compare() {
    Scene& s = scene();
    auto [ours, direct] = benchreport::alternatingMedians([&] { ourFrame(s); }, [&] { directFrame(s); }, FRAMES, 5);
    std::printf("frame median: render system %.3f ms, direct SDL %.3f ms\n", ours, direct);
    benchreport::figure("render_frame_ours", ours, "ms");
    benchreport::figure("render_frame_direct", direct, "ms");
    benchreport::ratio("render_frame", ours / direct);
}

void BM_RenderSystemFrame(benchmark::State& state) {
    Scene& s = scene();
    for (auto _ : state) {
        ourFrame(s);
    }
}
BENCHMARK(BM_RenderSystemFrame)->Unit(benchmark::kMillisecond);

void BM_DirectSdlFrame(benchmark::State& state) {
    Scene& s = scene();
    for (auto _ : state) {
        directFrame(s);
    }
}
BENCHMARK(BM_DirectSdlFrame)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return benchreport::runMain(argc, argv, compare);
}
