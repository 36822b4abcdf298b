#include "MenuArt.h"

#include "Canvas.h"
#include "PixelFont.h"

#include "nimbo/Image.h"
#include "vessot/File.h"

#include <cctype>
#include <cmath>
#include <cstdint>

namespace artgen {

namespace {

using nimbo::Color;

// Backdrops are 800 x 600 pixels for the 426 x 320 units of a scene.
constexpr int BACKDROP_W = 800;
constexpr int BACKDROP_H = 600;

// Where the elements lie in menu_elements_hd.png (pixels); menu_hd.datadef names the same
// rectangles.
constexpr int FIGURE_W = 240, FIGURE_H = 360;
constexpr int PANEL_X = 480, PANEL_SIZE = 256;
constexpr int LOGO_X = 736, LOGO_SIZE = 128;
constexpr int SELECTOR_X = 864, SELECTOR_W = 109, SELECTOR_H = 79;
constexpr int FIELD_Y = 256, FIELD_W = 256, FIELD_H = 48;
constexpr int DISABLED_Y = 304;
constexpr int FLAGS_Y = 400, FLAG_W = 90, FLAG_H = 60;

const Color INK(252, 246, 228, 255);
const Color SPACE_TOP(6, 8, 22, 255);
const Color SPACE_BOTTOM(30, 36, 70, 255);

Color mix(const Color& a, const Color& b, float t) {
    t = std::fmax(0.0f, std::fmin(1.0f, t));
    auto lerp = [t](int p, int q) { return (uint8_t)std::lround(p + (q - p) * t); };
    return Color(lerp(a.r, b.r), lerp(a.g, b.g), lerp(a.b, b.b), lerp(a.a, b.a));
}

bool inCircle(float x, float y, float cx, float cy, float r) {
    return std::hypot(x - cx, y - cy) <= r;
}

bool inBox(float x, float y, float left, float top, float w, float h) {
    return x >= left && x < left + w && y >= top && y < top + h;
}

// A star at a few fixed places: a hash of the pixel decides.
bool isStar(int x, int y) {
    uint32_t h = (uint32_t)x * 73856093u ^ (uint32_t)y * 19349663u;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    return (h >> 7) % 900 == 0;
}

// Where the ringed planet of a backdrop lies, in pixels, and how far its ring reaches to each side
// (in radii of the planet's ellipse, 1.9 for the menus').
struct Planet {
    float x, y, radius, ringWidth;
};
const Planet MENU_PLANET = {660, 470, 100, 1.9f};
// The credits run up the middle of the screen: their planet keeps its ring clear of the headings,
// whose lines are centred and at most some 320 pixels wide.
const Planet CREDITS_PLANET = {730, 300, 70, 1.6f};

// Deep space with stars and a ringed planet; the title across the top when given.
void drawBackdrop(const vessot::String& path, const char* title, const Planet& at = MENU_PLANET) {
    nimbo::Image image(BACKDROP_W, BACKDROP_H);
    const Color planet(70, 120, 170, 255), ring(200, 170, 120, 255);
    float cell = 7.0f;
    float left = title ? (BACKDROP_W - textWidth(title, cell)) / 2 : 0;
    const float scale = at.radius / 100;
    for (int y = 0; y < BACKDROP_H; ++y) {
        for (int x = 0; x < BACKDROP_W; ++x) {
            float fx = x + 0.5f, fy = y + 0.5f;
            Color c = mix(SPACE_TOP, SPACE_BOTTOM, fy / BACKDROP_H);
            if (isStar(x, y)) {
                c = INK;
            }
            float dx = (fx - at.x) / scale, dy = (fy - at.y) / scale;
            float ringEllipse = std::hypot(dx / at.ringWidth, dy / 0.45f);
            bool onRing = ringEllipse > 118 && ringEllipse < 140;
            if (onRing && dy < 0) {
                c = ring;
            }
            if (inCircle(dx, dy, 0, 0, 100)) {
                c = mix(planet, Color(10, 20, 40, 255), (dx + dy + 140) / 300);
            }
            if (onRing && dy >= 0) {
                c = ring;
            }
            if (title && onText(title, left, 40, cell, fx, fy)) {
                c = mix(Color(250, 220, 120, 255), Color(230, 120, 40, 255), (fy - 40) / (7 * cell));
            }
            image.setPixel(x, y, c);
        }
    }
    image.savePng(path);
}

// ---------------------------------------------------------------- the mode choice's figures

struct Figure {
    Color card;
    Color body;
    const char* label;
    bool armed;
};

Paint figure(const Figure& f, float x, float y) {
    const Color skin(230, 190, 150, 255), dark(40, 44, 56, 255);
    Paint p = panel(FIGURE_W, FIGURE_H, f.card, lighter(f.card, 0.4f), x, y);
    if (p.a == 0) {
        return p;
    }
    auto put = [&](const Color& c) { p = over(p, paint(c)); };
    if (f.armed) {
        // Legs apart, an arm raised with the blaster, a helmet.
        if (onPolyline({{105, 220}, {92, 300}}, 20, x, y) || onPolyline({{135, 220}, {150, 300}}, 20, x, y)) {
            put(dark);
        }
        if (onPolyline({{150, 132}, {186, 112}, {190, 84}}, 16, x, y) || onPolyline({{90, 132}, {74, 200}}, 16, x, y)) {
            put(f.body);
        }
        if (inBox(x, y, 176, 58, 42, 16) || inBox(x, y, 182, 74, 10, 18)) {
            put(Color(70, 70, 80, 255));
        }
    } else {
        // Standing easy with a cup, a sun hat.
        if (onPolyline({{110, 220}, {110, 300}}, 20, x, y) || onPolyline({{132, 220}, {132, 300}}, 20, x, y)) {
            put(skin);
        }
        if (inBox(x, y, 96, 220, 50, 34)) {
            put(Color(60, 110, 160, 255));
        }
        if (onPolyline({{150, 132}, {174, 170}, {164, 184}}, 16, x, y) ||
            onPolyline({{90, 132}, {80, 204}}, 16, x, y)) {
            put(skin);
        }
        if (inBox(x, y, 158, 176, 22, 26) || (inCircle(x, y, 184, 188, 8) && !inCircle(x, y, 184, 188, 4))) {
            put(INK);
        }
    }
    if (inBox(x, y, 88, 120, 64, 104)) {
        put(f.body);
    }
    if (inCircle(x, y, 120, 92, 26)) {
        put(skin);
    }
    if (f.armed && inCircle(x, y, 120, 86, 31) && y < 86) {
        put(Color(110, 120, 140, 255));
    }
    if (!f.armed && ((std::hypot((x - 120) / 58, (y - 70) / 9) <= 1) || (inCircle(x, y, 120, 62, 24) && y < 66))) {
        put(Color(220, 190, 110, 255));
    }
    float cell = 5.0f;
    if (onText(f.label, (FIGURE_W - textWidth(f.label, cell)) / 2, 318, cell, x, y)) {
        put(INK);
    }
    return p;
}

// ---------------------------------------------------------------- flags

struct Flag {
    const char* code;
    Color top, bottom;
};

const Flag FLAGS[] = {
    {"en", Color(40, 60, 140, 255), Color(200, 40, 50, 255)},
    {"de", Color(30, 30, 30, 255), Color(220, 180, 40, 255)},
    {"es", Color(200, 40, 40, 255), Color(240, 200, 40, 255)},
    {"fr", Color(40, 70, 160, 255), Color(230, 230, 230, 255)},
    {"it", Color(40, 150, 70, 255), Color(220, 60, 60, 255)},
    {"pt", Color(30, 130, 60, 255), Color(200, 40, 40, 255)},
    {"pt-PT", Color(200, 40, 40, 255), Color(30, 120, 60, 255)},
    {"ru", Color(230, 230, 230, 255), Color(40, 70, 170, 255)},
    {"ja", Color(240, 240, 240, 255), Color(200, 30, 50, 255)},
    {"ko", Color(240, 240, 240, 255), Color(40, 60, 150, 255)},
    {"zh", Color(200, 30, 30, 255), Color(240, 200, 40, 255)},
};

// The looks of a flag: plain ("_normal"), under the pointer (no suffix) and pressed ("_dn").
enum class Look { NORMAL, HOVER, PRESSED };

// A flag on a pole, waving, with its code written across it.
Paint flag(const Flag& f, Look look, float x, float y) {
    if (look == Look::PRESSED) {
        y -= 2;
    }
    if (inBox(x, y, 4, 2, 5, FLAG_H - 4)) {
        return paint(Color(150, 130, 100, 255));
    }
    float wave = 3.0f * std::sin((x - 9) / 14.0f);
    float top = 5 + wave, bottom = 45 + wave;
    if (x < 9 || x > FLAG_W - 3 || y < top || y > bottom) {
        return {};
    }
    char text[8] = {};
    for (size_t i = 0; f.code[i] && i < 7; ++i) {
        text[i] = (char)std::toupper((unsigned char)f.code[i]);
    }
    float cell = std::fmin(4.0f, 70.0f / textWidth(text, 1.0f));
    float left = 9 + (FLAG_W - 12 - textWidth(text, cell)) / 2;
    Color c = y < (top + bottom) / 2 ? f.top : f.bottom;
    if (onText(text, left, (top + bottom) / 2 - 3.5f * cell, cell, x, y)) {
        float light = 0.3f * c.r + 0.59f * c.g + 0.11f * c.b;
        c = light > 140 ? Color(20, 20, 30, 255) : INK;
    }
    if (look == Look::HOVER) {
        c = lighter(c, 0.25f);
    } else if (look == Look::PRESSED) {
        c = darker(c, 0.3f);
    }
    return paint(c);
}

// ---------------------------------------------------------------- the maker's mark and frames

Paint makersMark(float x, float y) {
    float d = std::hypot(x - LOGO_SIZE / 2.0f, y - LOGO_SIZE / 2.0f);
    if (d > 62) {
        return {};
    }
    Color c = d > 54 ? Color(214, 174, 60, 255) : mix(Color(30, 50, 110, 255), Color(10, 16, 40, 255), y / LOGO_SIZE);
    if (onText("Q", (LOGO_SIZE - textWidth("Q", 8)) / 2, 22, 8, x, y) ||
        onText("GAMES", (LOGO_SIZE - textWidth("GAMES", 2.5f)) / 2, 88, 2.5f, x, y)) {
        c = INK;
    }
    return paint(c);
}

// An orange frame around the chosen flag.
Paint selector(float x, float y) {
    Paint p = panel(SELECTOR_W, SELECTOR_H, Color::Clear, Color(255, 127, 0, 255), x, y);
    return p.a > 0 && x > 4 && y > 4 && x < SELECTOR_W - 4 && y < SELECTOR_H - 4 ? Paint() : p;
}

void drawElements(const vessot::String& path) {
    nimbo::Image image(1024, 600, Color::Clear);
    const Figure armed{Color(120, 40, 36, 230), Color(70, 80, 100, 255), "ARMED", true};
    const Figure relaxed{Color(30, 100, 90, 230), Color(240, 140, 60, 255), "RELAXED", false};
    fillCell(image, 0, 0, FIGURE_W, FIGURE_H, [&](float x, float y) { return figure(armed, x, y); });
    fillCell(image, FIGURE_W, 0, FIGURE_W, FIGURE_H, [&](float x, float y) { return figure(relaxed, x, y); });
    fillCell(image, PANEL_X, 0, PANEL_SIZE, PANEL_SIZE, [](float x, float y) {
        return panel(PANEL_SIZE, PANEL_SIZE, Color(16, 22, 44, 210), Color(120, 140, 190, 255), x, y);
    });
    fillCell(image, LOGO_X, 0, LOGO_SIZE, LOGO_SIZE, makersMark);
    fillCell(image, SELECTOR_X, 0, SELECTOR_W, SELECTOR_H, selector);
    fillCell(image, PANEL_X, FIELD_Y, FIELD_W, FIELD_H, [](float x, float y) {
        return panel(FIELD_W, FIELD_H, Color(4, 6, 14, 230), Color(160, 170, 200, 255), x, y);
    });
    fillCell(image, PANEL_X, DISABLED_Y, FIELD_W, FIELD_H, [](float x, float y) {
        return panel(FIELD_W, FIELD_H, Color(60, 60, 66, 160), Color(90, 90, 96, 200), x, y);
    });
    int column = 0;
    for (const Flag& f : FLAGS) {
        const Look looks[] = {Look::NORMAL, Look::HOVER, Look::PRESSED};
        for (int row = 0; row < 3; ++row) {
            fillCell(image, column * FLAG_W, FLAGS_Y + row * FLAG_H, FLAG_W, FLAG_H,
                     [&](float x, float y) { return flag(f, looks[row], x, y); });
        }
        ++column;
    }
    image.savePng(path);
}

// ---------------------------------------------------------------- the logos

// A picture of the logo screens: a dark glow with a title (font pixels of titleSize) centred at
// the middle and a subtitle below. The logo screen shows the top three quarters of a texture, so the
// picture stands on a black band a third of its height.
void drawLogo(const vessot::String& path, int width, int height, const char* title, int titleSize,
              const char* subtitle) {
    const Color title_colour(250, 220, 120, 255), subtitle_colour(120, 190, 230, 255);
    auto left = [width](const char* text, int size) {
        return (float)((width - (int)textWidth(text, (float)size)) / 2);
    };
    float titleLeft = left(title, titleSize), subtitleLeft = left(subtitle, 5);
    float titleTop = (float)(height / 2 - 7 * titleSize + 20), subtitleTop = (float)(height / 2 + 40);
    nimbo::Image image(width, height * 4 / 3, Color(0, 0, 0, 255));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            float dx = (x - width / 2.0f) / (width / 2.0f);
            float dy = (y - height / 2.0f) / (height / 2.0f);
            float glow = std::fmax(0.0f, 1.0f - std::sqrt(dx * dx + dy * dy));
            Color c = mix(Color(6, 8, 20, 255), Color(40, 60, 120, 255), glow);
            float px = x + 0.5f, py = y + 0.5f;
            if (onText(subtitle, subtitleLeft, subtitleTop, 5, px, py)) {
                c = subtitle_colour;
            }
            if (onText(title, titleLeft, titleTop, (float)titleSize, px, py)) {
                c = title_colour;
            }
            image.setPixel(x, y, c);
        }
    }
    image.savePng(path);
}

// A scene's hotspot picture at 426 x 320: black (no area), with one area in the box.
struct Box {
    int x, y, w, h;
};
void drawHotspots(const vessot::String& path, uint32_t area = 0, Box box = {0, 0, 426, 320}) {
    nimbo::Image image(426, 320, Color(0, 0, 0, 255));
    Color c((area >> 16) & 0xFF, (area >> 8) & 0xFF, area & 0xFF, 255);
    for (int y = box.y; area && y < box.y + box.h; ++y) {
        for (int x = box.x; x < box.x + box.w; ++x) {
            image.setPixel(x, y, c);
        }
    }
    image.savePng(path);
}

} // namespace

void drawMenuArt(const vessot::String& data) {
    vessot::String folder = data + "/chapters/menu";
    vessot::Dir::create(folder + "/textures");
    vessot::Dir::create(folder + "/hotspots");
    vessot::Dir::create(folder + "/logos");
    drawLogo(folder + "/logos/1_title.png", 800, 600, "VESTREL VORNE", 9, "");
    drawLogo(folder + "/logos/2_engine_wide.png", 1024, 576, "ZEPH", 12, "ENGINE");
    drawBackdrop(folder + "/textures/MainMenu_hd.png", "VESTREL VORNE");
    drawBackdrop(folder + "/textures/menu_bg_hd.png", nullptr);
    drawBackdrop(folder + "/textures/credits_bg_hd.png", nullptr, CREDITS_PLANET);
    drawElements(folder + "/textures/menu_elements_hd.png");
    for (const char* scene :
         {"Logo", "TitleReel", "MainMenu", "FirstTimeProfile", "ProfileManager", "ModeMenu", "LocaleMenu"}) {
        drawHotspots(folder + "/hotspots/" + scene + ".png");
    }
    // A click anywhere leaves the credits; the trailer has a button back below the clip.
    drawHotspots(folder + "/hotspots/Credits.png", 0x00FF00);
    drawHotspots(folder + "/hotspots/PromoVideo.png", 0x00FF00, {163, 262, 100, 36});
}

} // namespace artgen
