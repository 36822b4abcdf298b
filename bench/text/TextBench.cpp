// Text drawing: a 400-character wrapped, tagged paragraph drawn every frame through the text
// renderer (its layout made once and cached) against drawing the same glyph quads straight through
// the render system; and a fresh layout of 10,000 characters whose glyphs are already drawn.

#include "Report.h"
#include "Timing.h"
#include "nimbo/Nimbo.h"
#include "runel/FontTtf.h"
#include "runel/Renderer.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr int WIDTH = 1280;
constexpr int HEIGHT = 960;
const morvec::Rectangle box(40, 40, 600, 800);

// About 400 characters with colour and font tags.
const vessot::String paragraph =
    "[f:title:1.2]Captain's log.[/f] The [c:FFCC00]Vestrel[/c] drifted past the outer beacons while the crew "
    "argued about the [c=66CCFF]coolant valve[/c] again. Nobody had slept since the storm, and the engine "
    "coughed every few minutes like an old dog dreaming. Vorne checked the charts twice, then a third time, "
    "before admitting that the [c:FF6666]shortcut[/c] through the nebula had been a terrible idea after all. "
    "Still, there was coffee.";

struct Quad {
    nimbo::Texture* texture;
    morvec::Rectangle dest;
    morvec::Rectangle source;
    nimbo::Color color;
};

void setup() {
    static bool done = [] {
        setenv("ZEPH_HEADLESS", "1", 1);
        nimbo::init();
        nimbo::createRenderSystem();
        nimbo::createWindow(WIDTH, HEIGHT, false, "bench_text");
        nimbo::rendersys->setOrthoProjection(morvec::Vector2(WIDTH, HEIGHT));
        runel::init();
        runelttf::init();
        const char* dir = "/usr/share/fonts/truetype/dejavu/";
        runel::renderer->registerFont(new runelttf::FontTtf(vessot::String(dir) + "DejaVuSans.ttf", "body", 24));
        runel::renderer->registerFont(new runelttf::FontTtf(vessot::String(dir) + "DejaVuSans-Bold.ttf", "title", 24));
        return true;
    }();
    (void)done;
}

// The quads drawText draws, taken from the same layout.
std::vector<Quad> directQuads() {
    const runel::Layout& layout = runel::renderer->getLayout("body", paragraph, runel::CENTER_WRAPPED, box.w);
    std::vector<Quad> quads;
    for (const runel::PlacedGlyph& g : layout.glyphs) {
        morvec::Vector2 size = g.font->getPageSize(g.glyph->page);
        const morvec::Rectangle& s = g.glyph->source;
        nimbo::Color color = g.colored ? nimbo::Color(g.r, g.g, g.b) : nimbo::Color::White;
        quads.push_back({g.font->getPageTexture(g.glyph->page),
                         g.dest.offset(box.x, box.y),
                         {s.x / size.x, s.y / size.y, s.w / size.x, s.h / size.y},
                         color});
    }
    return quads;
}

void rendererFrame() {
    nimbo::rendersys->redrawNextFrame();
    nimbo::rendersys->clear();
    runel::renderer->drawText(box, "body", paragraph, runel::CENTER_WRAPPED);
    nimbo::rendersys->presentFrame();
}

void directFrame(const std::vector<Quad>& quads) {
    nimbo::rendersys->redrawNextFrame();
    nimbo::rendersys->clear();
    for (const Quad& q : quads) {
        nimbo::rendersys->setTexture(q.texture);
        nimbo::rendersys->drawTexturedRect(q.dest, q.source, q.color);
    }
    nimbo::rendersys->presentFrame();
}

vessot::String longText() {
    vessot::String text;
    while (text.size() < 10000) {
        text += paragraph + " ";
    }
    return text.substr(0, 10000);
}

double freshLayoutMs(const vessot::String& text) {
    runel::FontResolver resolve = [](const vessot::String& name) { return runel::renderer->findFont(name); };
    runel::FontChoice body = runel::renderer->findFont("body");
    auto layout = [&] {
        benchmark::DoNotOptimize(runel::layoutText(text, body, resolve, runel::CENTER_WRAPPED, box.w, false));
    };
    for (int i = 0; i < 3; ++i) {
        layout();
    }
    std::vector<double> times;
    for (int i = 0; i < 21; ++i) {
        times.push_back(benchreport::elapsed<std::milli>(layout));
    }
    return benchreport::median(times);
}

void compare() {
    setup();
    rendererFrame(); // draws the glyphs onto their pages
    std::vector<Quad> quads = directQuads();
    auto [ours, direct] = benchreport::alternatingMedians(
        rendererFrame, [&] { directFrame(quads); }, 200, 3);
    double layout = freshLayoutMs(longText());
    std::printf("paragraph frame median: text renderer %.3f ms, direct quads %.3f ms; 10k layout %.3f ms\n", ours,
                direct, layout);
    benchreport::ratio("text_draw", ours / direct);
    benchreport::figure("text_layout_10k", layout, "ms");
}

void BM_TextRendererParagraph(benchmark::State& state) {
    setup();
    for (auto _ : state) {
        rendererFrame();
    }
}
BENCHMARK(BM_TextRendererParagraph)->Unit(benchmark::kMillisecond);

void BM_DirectGlyphQuads(benchmark::State& state) {
    setup();
    rendererFrame();
    std::vector<Quad> quads = directQuads();
    for (auto _ : state) {
        directFrame(quads);
    }
}
BENCHMARK(BM_DirectGlyphQuads)->Unit(benchmark::kMillisecond);

void BM_FreshLayout10k(benchmark::State& state) {
    setup();
    vessot::String text = longText();
    runel::FontResolver resolve = [](const vessot::String& name) { return runel::renderer->findFont(name); };
    runel::FontChoice body = runel::renderer->findFont("body");
    runel::layoutText(text, body, resolve, runel::CENTER_WRAPPED, box.w, false);
    for (auto _ : state) {
        benchmark::DoNotOptimize(runel::layoutText(text, body, resolve, runel::CENTER_WRAPPED, box.w, false));
    }
}
BENCHMARK(BM_FreshLayout10k)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return benchreport::runMain(argc, argv, compare);
}
