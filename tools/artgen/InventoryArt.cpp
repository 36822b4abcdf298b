#include "InventoryArt.h"
#include "Shapes.h"

#include "nimbo/Image.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

namespace artgen {

namespace {

using nimbo::Color;

constexpr float PI = 3.14159265f;

// ---------------------------------------------------------------- shapes

Shape rounded(float x0, float y0, float w, float h, float r) {
    return [=](float x, float y) {
        float cx = std::clamp(x, x0 + r, x0 + w - r);
        float cy = std::clamp(y, y0 + r, y0 + h - r);
        return x >= x0 && x <= x0 + w && y >= y0 && y <= y0 + h && std::hypot(x - cx, y - cy) <= r;
    };
}

Shape box(float x0, float y0, float w, float h) {
    return rounded(x0, y0, w, h, 0.0f);
}

Shape ring(float cx, float cy, float rx, float ry, float width) {
    return [=](float x, float y) {
        float d = std::hypot((x - cx) / rx, (y - cy) / ry);
        return std::fabs(d - 1.0f) * std::min(rx, ry) <= width / 2;
    };
}

// The shape turned by the angle (degrees) about a centre.
Shape turned(Shape shape, float cx, float cy, float degrees) {
    float c = std::cos(-degrees * PI / 180), s = std::sin(-degrees * PI / 180);
    return [=](float x, float y) {
        float dx = x - cx, dy = y - cy;
        return shape(cx + dx * c - dy * s, cy + dx * s + dy * c);
    };
}

// A dashed line of stitches along a path.
Shape stitches(std::vector<Point> points, float width, float dash) {
    Shape path = line(points, width);
    return [=](float x, float y) { return path(x, y) && (int)std::floor((x + y) / dash) % 2 == 0; };
}

// ---------------------------------------------------------------- painting

// One layer of a picture: a shape in a colour; later layers lie on top.
struct Layer {
    Shape shape;
    Color colour;
};

Color mix(const Color& a, const Color& b, float t) {
    auto lerp = [t](int p, int q) { return (uint8_t)std::lround(p + (q - p) * t); };
    return Color(lerp(a.r, b.r), lerp(a.g, b.g), lerp(a.b, b.b), lerp(a.a, b.a));
}

const Color BLACK(0, 0, 0, 255);
const Color WHITE(255, 255, 255, 255);
const Color OUTLINE(40, 28, 20, 255);

// How a face of a picture differs: lit (hover), pressed down, or plain.
enum class Face { PLAIN, HOVER, PUSHED };

// Paints the layers into a w x h cell at (x0, y0), 4 x 4 samples a pixel. Every layer is shaded a
// little darker towards the bottom of the cell and ringed by a dark outline; a lit face glows and is
// lighter, a pushed one is darker and sits two pixels lower and to the right.
void paintCell(nimbo::Image& image, int x0, int y0, int w, int h, const std::vector<Layer>& layers, Face face,
               bool outlined = true) {
    constexpr int N = 4;
    const float shift = face == Face::PUSHED ? 2.0f : 0.0f;
    auto sample = [&](float x, float y, Color& out) {
        x -= shift;
        y -= shift;
        for (auto it = layers.rbegin(); it != layers.rend(); ++it) {
            if (it->shape(x, y)) {
                Color c = mix(it->colour, BLACK, 0.3f * y / h);
                if (face == Face::HOVER) {
                    c = mix(c, WHITE, 0.25f);
                } else if (face == Face::PUSHED) {
                    c = mix(c, BLACK, 0.2f);
                }
                c.a = it->colour.a;
                out = c;
                return true;
            }
        }
        return false;
    };
    auto near = [&](float x, float y, float r) {
        Color ignored;
        for (int i = 0; i < 8; ++i) {
            if (sample(x + r * std::cos(i * PI / 4), y + r * std::sin(i * PI / 4), ignored)) {
                return true;
            }
        }
        return false;
    };
    for (int py = 0; py < h; ++py) {
        for (int px = 0; px < w; ++px) {
            float r = 0, g = 0, b = 0, a = 0;
            for (int sy = 0; sy < N; ++sy) {
                for (int sx = 0; sx < N; ++sx) {
                    float x = px + (sx + 0.5f) / N, y = py + (sy + 0.5f) / N;
                    Color c;
                    float cover = 0;
                    if (sample(x, y, c)) {
                        cover = c.a / 255.0f;
                    } else if (outlined && near(x, y, 2.5f)) {
                        c = OUTLINE;
                        cover = 1;
                    } else if (face == Face::HOVER && near(x, y, 6.0f)) {
                        c = Color(255, 236, 150, 255);
                        cover = 0.45f;
                    }
                    r += c.r * cover;
                    g += c.g * cover;
                    b += c.b * cover;
                    a += cover;
                }
            }
            Color out = Color::Clear;
            if (a > 0) {
                out = Color((uint8_t)std::lround(r / a), (uint8_t)std::lround(g / a), (uint8_t)std::lround(b / a),
                            (uint8_t)std::lround(255 * a / (N * N)));
            }
            image.setPixel(x0 + px, y0 + py, out);
        }
    }
}

// ---------------------------------------------------------------- the backpack

const Color LEATHER(128, 82, 46, 255);
const Color DARK_LEATHER(92, 56, 30, 255);
const Color LINING(196, 160, 112, 255);
const Color THREAD(236, 214, 160, 255);
const Color BRASS(214, 170, 70, 255);

// The panel: a backpack opened flat in a picture of 600 x 600 pixels (320 x 320 units). The bag lies
// within the part of the picture that counts as the panel, on the desktop and mobile layouts alike
// (pixels 43 to 525 across and 113 to 500 down), so that an item carried over the bag stays on the
// panel. The slots lie on its lining, the use and look buttons in its side pocket; the left page
// arrow stands at the bag's right edge, the right one on the lining's lower right corner.
std::vector<Layer> backpack() {
    // The slots' centres, in pixels (the panel's layout times 600 / 320).
    const Point slots[] = {{255, 219}, {356, 212}, {459, 212}, {274, 328}, {362, 323},
                           {452, 315}, {285, 429}, {366, 422}, {446, 414}};
    std::vector<Layer> layers = {
        {rounded(48, 146, 474, 350, 56), LEATHER},
        {ellipse(285, 154, 212, 34), DARK_LEATHER},
        {stitches({{62, 196}, {62, 466}, {88, 482}, {482, 482}, {508, 466}, {508, 196}}, 4, 14), THREAD},
        {rounded(200, 164, 312, 318, 36), LINING},
        {stitches({{214, 178}, {498, 178}, {498, 468}, {214, 468}, {214, 178}}, 3, 12), DARK_LEATHER},
        {rounded(56, 182, 136, 264, 30), DARK_LEATHER},
        {stitches({{68, 232}, {180, 232}}, 3, 12), THREAD},
        {rounded(245, 118, 80, 50, 12), BRASS},
        {rounded(263, 130, 44, 28, 8), DARK_LEATHER},
    };
    for (const Point& p : slots) {
        layers.push_back({disc(p.x, p.y, 38), mix(LINING, BLACK, 0.18f)});
        layers.push_back({disc(p.x, p.y, 33), mix(LINING, WHITE, 0.12f)});
    }
    return layers;
}

// ---------------------------------------------------------------- the buttons

// A round button of 96 x 96 pixels, lit (its mode on) or unlit, with a hand or an eye.
std::vector<Layer> modeButton(bool eye, bool lit) {
    Color face = lit ? Color(240, 200, 90, 255) : Color(120, 110, 100, 255);
    Color symbol = lit ? Color(70, 40, 20, 255) : Color(225, 220, 210, 255);
    std::vector<Layer> layers = {{disc(48, 48, 42), mix(face, BLACK, 0.3f)}, {disc(48, 48, 37), face}};
    if (eye) {
        layers.push_back(
            {polygon({{18, 48}, {30, 36}, {48, 30}, {66, 36}, {78, 48}, {66, 60}, {48, 66}, {30, 60}}), symbol});
        layers.push_back({disc(48, 48, 12), face});
        layers.push_back({disc(48, 48, 6), symbol});
    } else {
        // A raised hand: the palm, four fingers and the thumb.
        layers.push_back({rounded(34, 46, 30, 28, 8), symbol});
        for (int i = 0; i < 4; ++i) {
            layers.push_back({rounded(34 + i * 7.5f, 22 + std::abs(i - 1.5f) * 3, 6.5f, 30, 3), symbol});
        }
        layers.push_back({turned(rounded(22, 50, 18, 7, 3), 31, 53, -35), symbol});
    }
    return layers;
}

// A page arrow of 64 x 128 pixels, a leather tab pointing left or right.
std::vector<Layer> pageArrow(bool right) {
    std::vector<Point> tip =
        right ? std::vector<Point>{{10, 14}, {56, 64}, {10, 114}} : std::vector<Point>{{54, 14}, {8, 64}, {54, 114}};
    return {{polygon(tip), BRASS}, {stitches({tip[0], tip[1], tip[2]}, 3, 10), DARK_LEATHER}};
}

// ---------------------------------------------------------------- the items

// What lies in the inventory, each in a 96 x 96 cell, in the order of the texture's columns.
std::vector<Layer> item(int which) {
    const Color steel(170, 178, 190, 255);
    const Color copper(200, 110, 50, 255);
    const Color red(200, 50, 40, 255);
    const Color black(40, 40, 44, 255);
    const Color glass(170, 215, 240, 200);
    const Color yellow(255, 226, 100, 255);
    // The torch, lying from left to right, shared by the plain and the lit one.
    std::vector<Layer> torch = {{rounded(14, 40, 46, 18, 5), Color(70, 74, 86, 255)},
                                {polygon({{58, 34}, {74, 28}, {74, 70}, {58, 64}}), steel},
                                {box(40, 44, 8, 10), red},
                                {rounded(72, 30, 6, 38, 2), glass}};
    // The battery standing up, shared by the battery and the jumper lead.
    std::vector<Layer> battery = {{rounded(32, 22, 32, 60, 6), Color(50, 140, 80, 255)},
                                  {rounded(32, 22, 32, 16, 6), copper},
                                  {box(42, 14, 12, 9), steel},
                                  {line({{48, 50}, {48, 66}}, 4), WHITE},
                                  {line({{40, 58}, {56, 58}}, 4), WHITE}};
    switch (which) {
    case 0: // key card
        return {{rounded(14, 24, 68, 46, 6), Color(240, 244, 250, 255)},
                {box(14, 32, 68, 8), Color(50, 80, 150, 255)},
                {rounded(22, 46, 16, 14, 3), Color(220, 180, 60, 255)},
                {box(44, 50, 30, 4), Color(150, 160, 180, 255)}};
    case 1: // fuse
        return {{turned(rounded(14, 38, 68, 22, 10), 48, 48, -30), glass},
                {turned(line({{22, 49}, {74, 49}}, 2.5f), 48, 48, -30), Color(120, 80, 50, 255)},
                {turned(rounded(10, 36, 16, 26, 4), 48, 48, -30), steel},
                {turned(rounded(70, 36, 16, 26, 4), 48, 48, -30), steel}};
    case 2: // wire: a coil with red ends
        return {{ring(48, 44, 26, 16, 4), copper},
                {ring(48, 50, 26, 16, 4), copper},
                {ring(48, 56, 26, 16, 4), copper},
                {line({{22, 56}, {10, 80}}, 5), red},
                {line({{74, 44}, {86, 18}}, 5), red}};
    case 3: // cup
        return {{ring(70, 50, 12, 14, 6), Color(236, 232, 222, 255)},
                {rounded(20, 26, 50, 56, 10), Color(236, 232, 222, 255)},
                {ellipse(45, 30, 23, 6), Color(110, 70, 40, 255)},
                {box(26, 48, 38, 6), Color(60, 110, 170, 255)}};
    case 4: // spanner
        return {{turned(rounded(18, 42, 60, 12, 5), 48, 48, -40), steel},
                {without(disc(22, 70, 14), turned(box(8, 66, 14, 8), 22, 70, -40)), steel},
                {without(disc(74, 24, 13), disc(74, 24, 6)), steel}};
    case 5: // battery
        return battery;
    case 6: // oxygen mask: the cup over the face, its hose and strap
        return {{line({{16, 30}, {48, 14}, {80, 30}}, 4), black},
                {line({{48, 70}, {52, 82}, {68, 86}, {84, 80}}, 7), Color(90, 100, 110, 255)},
                {polygon({{30, 26}, {66, 26}, {74, 58}, {48, 74}, {22, 58}}), Color(120, 190, 220, 230)},
                {disc(48, 58, 8), steel}};
    case 7: // torch
        return torch;
    case 8: // lit torch: the torch with its beam
        torch.insert(torch.begin(), {polygon({{74, 30}, {94, 10}, {94, 88}, {74, 68}}), Color(255, 240, 150, 150)});
        torch.back().colour = yellow;
        return torch;
    case 9: // jumper lead: the battery with a red and a black lead and their clips
        battery.push_back({line({{40, 16}, {26, 8}, {12, 20}, {14, 50}}, 4), red});
        battery.push_back({line({{56, 16}, {72, 8}, {84, 24}, {82, 52}}, 4), black});
        battery.push_back({rounded(8, 48, 12, 18, 2), red});
        battery.push_back({rounded(76, 50, 12, 18, 2), black});
        return battery;
    default:
        return {};
    }
}

} // namespace

void drawInventoryArt(const vessot::String& data) {
    nimbo::Image image(1024, 1024);
    paintCell(image, 0, 0, 600, 600, backpack(), Face::PLAIN, false);
    const Face faces[] = {Face::PLAIN, Face::HOVER, Face::PUSHED};
    // The use and look buttons, lit ("_up") and unlit ("_dn"), each plain, lit by the pointer and
    // pushed: four a row.
    int cell = 0;
    for (int eye = 0; eye < 2; ++eye) {
        for (int lit = 1; lit >= 0; --lit) {
            for (Face face : faces) {
                paintCell(image, 608 + cell % 4 * 96, 64 + cell / 4 * 96, 96, 96, modeButton(eye == 1, lit == 1), face);
                ++cell;
            }
        }
    }
    for (int right = 0; right < 2; ++right) {
        paintCell(image, 608 + right * 128, 352, 64, 128, pageArrow(right == 1), Face::PLAIN);
        paintCell(image, 672 + right * 128, 352, 64, 128, pageArrow(right == 1), Face::HOVER);
    }
    // The items: a row of plain faces, a row lit, a row pushed.
    for (int f = 0; f < 3; ++f) {
        for (int i = 0; i < 10; ++i) {
            paintCell(image, i * 96, 608 + f * 96, 96, 96, item(i), faces[f]);
        }
    }
    image.savePng(data + "/ui/textures/inventory_hd.png");
}

} // namespace artgen
