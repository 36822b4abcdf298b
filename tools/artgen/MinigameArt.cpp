#include "MinigameArt.h"
#include "PixelFont.h"

#include "nimbo/Image.h"
#include "vessot/File.h"

#include <cmath>
#include <functional>
#include <numbers>

namespace artgen {

namespace {

// Pictures are drawn at 1.875 pixels per scene unit, the interface's scale of 8/15 shown back at 1.
constexpr float PIXELS_PER_UNIT = 1.875f;
constexpr float PI = std::numbers::pi_v<float>;

// The colour of a point of a picture, in units from the picture's top-left corner.
using Shader = std::function<nimbo::Color(float x, float y)>;

int pixels(float units) {
    return (int)std::lround(units * PIXELS_PER_UNIT);
}

// Paints a picture of w x h units into the image with its corner at (left, top) units.
void paint(nimbo::Image& image, float left, float top, float w, float h, const Shader& shader) {
    int ox = pixels(left);
    int oy = pixels(top);
    for (int y = 0; y < pixels(h); ++y) {
        for (int x = 0; x < pixels(w); ++x) {
            image.setPixel(ox + x, oy + y, shader((x + 0.5f) / PIXELS_PER_UNIT, (y + 0.5f) / PIXELS_PER_UNIT));
        }
    }
}

nimbo::Image canvas(float w, float h) {
    return nimbo::Image(pixels(w), pixels(h), nimbo::Color::Clear);
}

nimbo::Color mix(const nimbo::Color& a, const nimbo::Color& b, float t) {
    t = std::fmax(0.0f, std::fmin(1.0f, t));
    auto lerp = [t](int p, int q) { return (int)std::lround(p + (q - p) * t); };
    return nimbo::Color(lerp(a.r, b.r), lerp(a.g, b.g), lerp(a.b, b.b), lerp(a.a, b.a));
}

// A dark panel with a lighter rim, the background of every minigame scene.
nimbo::Color panel(float x, float y, const nimbo::Color& top, const nimbo::Color& bottom) {
    nimbo::Color c = mix(top, bottom, y / 320.0f);
    if (x < 6 || x > 420 || y < 6 || y > 314) {
        c = mix(c, nimbo::Color(200, 200, 210, 255), 0.35f);
    }
    return c;
}

const nimbo::Color WHITE(240, 240, 240, 255);
const nimbo::Color INK(30, 30, 40, 255);

// ---------------------------------------------------------------- gear lock (domino)

constexpr float GEAR_SIZE = 64;
constexpr float GEAR_Y = 128;
const float GEAR_X[] = {45, 135, 225, 315};
// The gears' solved angles (counter-clockwise from up) and what each turn does to the next gear.
const float GEAR_TARGET[] = {0, 90, 180, 270};
const char* const GEAR_LINK[] = {"+", "-", "+"};

// A gear with teeth, an arrow pointing up and its number on the hub.
nimbo::Color gear(int index, float x, float y) {
    const nimbo::Color tints[] = {nimbo::Color(170, 120, 80, 255), nimbo::Color(110, 150, 170, 255),
                                  nimbo::Color(150, 160, 100, 255), nimbo::Color(160, 110, 150, 255)};
    float dx = x - GEAR_SIZE / 2;
    float dy = y - GEAR_SIZE / 2;
    float d = std::sqrt(dx * dx + dy * dy);
    float outer = std::sin(10.0f * std::atan2(dy, dx)) > 0 ? 31.0f : 26.5f;
    if (d > outer) {
        return nimbo::Color::Clear;
    }
    char label[2] = {(char)('1' + index), 0};
    if (onText(label, 29.5f, 36, 1.3f, x, y)) {
        return WHITE;
    }
    bool shaft = std::fabs(dx) <= 3 && y >= 12 && y <= 30;
    bool head = y >= 3 && y <= 14 && std::fabs(dx) <= (y - 3) * 0.75f;
    if (shaft || head) {
        return nimbo::Color(250, 210, 60, 255);
    }
    nimbo::Color body = mix(tints[index], INK, d > outer - 2 ? 0.5f : d / 80.0f);
    return d < 10 ? mix(body, INK, 0.3f) : body;
}

// Whether the point lies on a mark that a gear's arrow must point at, or within margin units of one.
bool onGearMark(float x, float y, float margin) {
    for (int i = 0; i < 4; ++i) {
        float dx = x - (GEAR_X[i] + GEAR_SIZE / 2);
        float dy = y - (GEAR_Y + GEAR_SIZE / 2);
        float a = GEAR_TARGET[i] * PI / 180.0f;
        float along = -dx * std::sin(a) - dy * std::cos(a);
        float across = -dx * std::cos(a) + dy * std::sin(a);
        if (along >= 36 - margin && along <= 44 + margin && std::fabs(across) <= (44 - along) * 0.7f + margin) {
            return true;
        }
    }
    return false;
}

nimbo::Color gearLockBackground(float x, float y) {
    if (onGearMark(x, y, 0)) {
        return nimbo::Color(250, 210, 60, 255);
    }
    for (int i = 0; i < 4; ++i) {
        float cx = GEAR_X[i] + GEAR_SIZE / 2;
        float cy = GEAR_Y + GEAR_SIZE / 2;
        float dx = x - cx;
        float dy = y - cy;
        float d = std::sqrt(dx * dx + dy * dy);
        if (d < 35) {
            return nimbo::Color(28, 30, 36, 255);
        }
        if (i < 3) {
            float nextX = GEAR_X[i + 1] + GEAR_SIZE / 2;
            // The connector stops short of a mark that lies on its way, which stays clear.
            if (x > cx + 35 && x < nextX - 35 && std::fabs(dy) <= 3 && !onGearMark(x, y, 2.5f)) {
                return nimbo::Color(150, 150, 160, 255);
            }
            if (onText(GEAR_LINK[i], (cx + nextX) / 2 - 7, GEAR_Y + 6, 2.0f, x, y)) {
                return WHITE;
            }
        }
    }
    return panel(x, y, nimbo::Color(50, 56, 70, 255), nimbo::Color(24, 26, 34, 255));
}

// ---------------------------------------------------------------- dial lock (rotator)

// The rings from the outside in: size (units), band width, colour.
struct RingArt {
    float size;
    float band;
    nimbo::Color colour;
};
const RingArt RINGS[] = {
    {200, 32, nimbo::Color(176, 132, 72, 255)},
    {136, 32, nimbo::Color(70, 150, 150, 255)},
    {72, 36, nimbo::Color(225, 220, 200, 255)},
};

// A ring of the dial: its band with ticks every 45 degrees and a red pointer at the top;
// transparent outside the band.
nimbo::Color ring(const RingArt& art, float x, float y) {
    float r = art.size / 2;
    float dx = x - r;
    float dy = y - r;
    float d = std::sqrt(dx * dx + dy * dy);
    if (d > r || d < r - art.band) {
        return nimbo::Color::Clear;
    }
    if (std::fabs(dx) <= 3 && dy < 0) {
        return nimbo::Color(210, 40, 40, 255);
    }
    float degrees = std::atan2(dy, dx) * 180.0f / PI + 360.0f;
    if (std::fmod(degrees + 2.0f, 45.0f) < 4.0f && d > r - 8) {
        return INK;
    }
    if (d > r - 2 || d < r - art.band + 2) {
        return mix(art.colour, INK, 0.5f);
    }
    return mix(art.colour, WHITE, 0.25f * (1 - (r - d) / art.band));
}

nimbo::Color dialLockBackground(float x, float y) {
    float dx = x - 213;
    float dy = y - 160;
    float d = std::sqrt(dx * dx + dy * dy);
    if (std::fabs(dx) <= 4 && dy < -100 && dy > -118) {
        return nimbo::Color(210, 40, 40, 255);
    }
    if (d <= 104) {
        return nimbo::Color(20, 20, 24, 255);
    }
    if (d <= 110) {
        return nimbo::Color(120, 120, 130, 255);
    }
    return panel(x, y, nimbo::Color(60, 48, 44, 255), nimbo::Color(28, 22, 20, 255));
}

// ---------------------------------------------------------------- lamp panel (sequence)

constexpr float LAMP_SIZE = 48;
const nimbo::Color LAMP_COLOURS[] = {nimbo::Color(230, 60, 50, 255), nimbo::Color(60, 200, 80, 255),
                                     nimbo::Color(70, 120, 240, 255), nimbo::Color(240, 190, 40, 255)};

// A round lamp with its number; lit, it glows bright.
nimbo::Color lamp(int index, bool lit, float x, float y) {
    float dx = x - LAMP_SIZE / 2;
    float dy = y - LAMP_SIZE / 2;
    float d = std::sqrt(dx * dx + dy * dy);
    if (d > 23) {
        return nimbo::Color::Clear;
    }
    char label[2] = {(char)('1' + index), 0};
    if (onText(label, 20.5f, 17, 1.4f, x, y)) {
        return lit ? INK : WHITE;
    }
    if (d > 20) {
        return nimbo::Color(150, 150, 160, 255);
    }
    nimbo::Color base =
        lit ? mix(LAMP_COLOURS[index], WHITE, 0.5f * (1 - d / 20)) : mix(LAMP_COLOURS[index], INK, 0.7f);
    return base;
}

nimbo::Color lampPanelBackground(float x, float y) {
    if (x > 30 && x < 396 && y > 120 && y < 200) {
        return nimbo::Color(70, 74, 84, 255);
    }
    return panel(x, y, nimbo::Color(44, 50, 62, 255), nimbo::Color(20, 22, 30, 255));
}

// ---------------------------------------------------------------- ship picture (jigsaw)

constexpr float PICTURE_W = 240;
constexpr float PICTURE_H = 144;
constexpr float PICTURE_X = 93;
constexpr float PICTURE_Y = 88;

// The ship in space with its name on the hull.
nimbo::Color shipPicture(float x, float y) {
    float hx = (x - 120) / 82;
    float hy = (y - 72) / 30;
    if (onText("VESTREL", 120 - textWidth("VESTREL", 2.0f) / 2, 76, 2.0f, x, y) && hx * hx + hy * hy <= 1) {
        return INK;
    }
    float wx = (x - 168) / 14;
    float wy = (y - 62) / 10;
    if (wx * wx + wy * wy <= 1) {
        return nimbo::Color(120, 200, 240, 255);
    }
    if (hx * hx + hy * hy <= 1) {
        return mix(nimbo::Color(200, 204, 212, 255), nimbo::Color(110, 114, 124, 255), (y - 42) / 60);
    }
    bool fin = x >= 40 && x <= 80 && std::fabs(y - 72) <= 58 - (x - 40) * 0.9f && std::fabs(y - 72) >= 18;
    if (fin) {
        return nimbo::Color(180, 70, 60, 255);
    }
    float fx = (x - 34) / 20;
    float fy = (y - 72) / 10;
    if (fx * fx + fy * fy <= 1) {
        return mix(nimbo::Color(255, 240, 160, 255), nimbo::Color(250, 120, 30, 255), std::fabs(fx));
    }
    unsigned cell = (unsigned)(x * 0.5f) * 73856093u ^ (unsigned)(y * 0.5f) * 19349663u;
    bool star = cell % 53 == 0;
    return star ? WHITE : mix(nimbo::Color(10, 12, 40, 255), nimbo::Color(40, 20, 70, 255), y / PICTURE_H);
}

nimbo::Color shipPictureBackground(float x, float y) {
    float px = x - PICTURE_X;
    float py = y - PICTURE_Y;
    bool frame = px >= -3 && px <= PICTURE_W + 3 && py >= -3 && py <= PICTURE_H + 3;
    bool inside = px >= 0 && px <= PICTURE_W && py >= 0 && py <= PICTURE_H;
    if (inside) {
        // Faint seams where the pieces meet.
        bool seam = std::fmod(px, 80.0f) < 0.6f || std::fmod(py, 72.0f) < 0.6f;
        return seam ? nimbo::Color(70, 60, 50, 255) : nimbo::Color(50, 42, 36, 255);
    }
    if (frame) {
        return nimbo::Color(150, 110, 70, 255);
    }
    return panel(x, y, nimbo::Color(110, 70, 40, 255), nimbo::Color(60, 34, 22, 255));
}

// ---------------------------------------------------------------- tile tablet (match2)

constexpr float TILE = 64;
constexpr float TABLET_X = 116;
constexpr float TABLET_Y = 63;

// A sunset over the planet's hills, 3 x 3 tiles, each numbered in its corner.
nimbo::Color tabletPicture(float x, float y) {
    int column = (int)(x / TILE);
    int row = (int)(y / TILE);
    char label[2] = {(char)('1' + row * 3 + column), 0};
    if (onText(label, (float)column * TILE + 4, (float)row * TILE + 4, 1.6f, x, y)) {
        return WHITE;
    }
    float sx = x - 130;
    float sy = y - 70;
    if (sx * sx + sy * sy <= 28 * 28) {
        return nimbo::Color(255, 220, 120, 255);
    }
    float hill = 130 + 18 * std::sin(x / 23.0f) + 10 * std::sin(x / 9.0f);
    if (y > hill) {
        return mix(nimbo::Color(140, 80, 40, 255), nimbo::Color(70, 36, 20, 255), (y - hill) / 60);
    }
    return mix(nimbo::Color(250, 150, 70, 255), nimbo::Color(120, 40, 90, 255), 1 - y / 140);
}

nimbo::Color tileTabletBackground(float x, float y) {
    float tx = x - TABLET_X;
    float ty = y - TABLET_Y;
    if (tx >= -6 && tx <= 3 * TILE + 8 && ty >= -6 && ty <= 3 * TILE + 8) {
        return nimbo::Color(40, 34, 30, 255);
    }
    return panel(x, y, nimbo::Color(90, 60, 44, 255), nimbo::Color(44, 28, 22, 255));
}

void save(const nimbo::Image& image, const vessot::String& folder, const char* name) {
    image.savePng(folder + "/" + name + "_hd.png");
}

nimbo::Image background(const Shader& shader) {
    nimbo::Image image = canvas(426, 320);
    paint(image, 0, 0, 426, 320, shader);
    return image;
}

} // namespace

void drawMinigames(const vessot::String& data) {
    vessot::String ship = data + "/chapters/ship/minigames";
    vessot::String planet = data + "/chapters/jama_spacea/minigames";
    vessot::Dir::create(ship);
    vessot::Dir::create(planet);

    save(background(gearLockBackground), ship, "GearLock");
    nimbo::Image gears = canvas(4 * GEAR_SIZE, GEAR_SIZE);
    for (int i = 0; i < 4; ++i) {
        paint(gears, (float)i * GEAR_SIZE, 0, GEAR_SIZE, GEAR_SIZE, [i](float x, float y) { return gear(i, x, y); });
    }
    save(gears, ship, "gears");

    save(background(dialLockBackground), ship, "DialLock");
    nimbo::Image rings = canvas(RINGS[0].size + RINGS[1].size + RINGS[2].size, RINGS[0].size);
    float left = 0;
    for (const RingArt& art : RINGS) {
        paint(rings, left, 0, art.size, art.size, [&art](float x, float y) { return ring(art, x, y); });
        left += art.size;
    }
    save(rings, ship, "dial");

    save(background(lampPanelBackground), ship, "LampPanel");
    nimbo::Image lamps = canvas(8 * LAMP_SIZE, LAMP_SIZE);
    for (int i = 0; i < 8; ++i) {
        paint(lamps, (float)i * LAMP_SIZE, 0, LAMP_SIZE, LAMP_SIZE,
              [i](float x, float y) { return lamp(i % 4, i >= 4, x, y); });
    }
    save(lamps, ship, "lamps");

    save(background(shipPictureBackground), planet, "ShipPicture");
    nimbo::Image picture = canvas(PICTURE_W, PICTURE_H);
    paint(picture, 0, 0, PICTURE_W, PICTURE_H, shipPicture);
    save(picture, planet, "ship_picture");

    save(background(tileTabletBackground), planet, "TileTablet");
    nimbo::Image tablet = canvas(3 * TILE, 3 * TILE);
    paint(tablet, 0, 0, 3 * TILE, 3 * TILE, tabletPicture);
    save(tablet, planet, "tablet");
}

} // namespace artgen
