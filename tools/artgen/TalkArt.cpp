#include "TalkArt.h"

#include "nimbo/Image.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace artgen {

namespace {

constexpr int CELL = 64;
constexpr int COLUMNS = 4;

// How much of the pixel at (x, y) a shape covers, from 4 x 4 samples.
float coverage(int x, int y, const std::function<bool(float, float)>& inside) {
    int hits = 0;
    for (int sy = 0; sy < 4; ++sy) {
        for (int sx = 0; sx < 4; ++sx) {
            hits += inside(x + (sx + 0.5f) / 4.0f, y + (sy + 0.5f) / 4.0f) ? 1 : 0;
        }
    }
    return hits / 16.0f;
}

std::function<bool(float, float)> disc(float cx, float cy, float r) {
    return [=](float x, float y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r; };
}

nimbo::Color over(const nimbo::Color& below, const nimbo::Color& above, float amount) {
    float a = above.a / 255.0f * amount;
    float b = below.a / 255.0f;
    float out = a + b * (1.0f - a);
    if (out <= 0.0f) {
        return nimbo::Color::Clear;
    }
    auto channel = [&](int top, int bottom) { return (int)std::lround((top * a + bottom * b * (1.0f - a)) / out); };
    return nimbo::Color(channel(above.r, below.r), channel(above.g, below.g), channel(above.b, below.b),
                        (int)std::lround(out * 255.0f));
}

nimbo::Color shade(const nimbo::Color& c, float f) {
    auto channel = [f](int v) { return f < 1.0f ? (int)(v * f) : (int)(v + (255 - v) * (f - 1.0f)); };
    return nimbo::Color(channel(c.r), channel(c.g), channel(c.b), c.a);
}

// Paints a shape into the cell whose top left corner is (ox, oy).
void paint(nimbo::Image& image, int ox, int oy, const nimbo::Color& colour,
           const std::function<bool(float, float)>& inside) {
    for (int y = 0; y < CELL; ++y) {
        for (int x = 0; x < CELL; ++x) {
            float amount = coverage(x, y, inside);
            if (amount > 0.0f) {
                image.setPixel(ox + x, oy + y, over(image.getPixel(ox + x, oy + y), colour, amount));
            }
        }
    }
}

struct Look {
    nimbo::Color suit, skin, hair;
};

// A round portrait: the suit as background, the face and the hair; f brightens (hover) or darkens
// (pushed) the background.
void drawPortrait(nimbo::Image& image, int ox, int oy, const Look& look, float f) {
    paint(image, ox, oy, nimbo::Color(16, 20, 32, 255), disc(32, 32, 31));
    paint(image, ox, oy, shade(look.suit, f), disc(32, 32, 28));
    paint(image, ox, oy, look.skin, disc(32, 34, 14));
    paint(image, ox, oy, look.hair, [](float x, float y) { return y < 30.0f && disc(32, 31, 16)(x, y); });
    paint(image, ox, oy, nimbo::Color(20, 20, 30, 255), disc(27, 35, 2));
    paint(image, ox, oy, nimbo::Color(20, 20, 30, 255), disc(37, 35, 2));
}

// A dark round button with a light sign on it.
void drawButton(nimbo::Image& image, int ox, int oy, bool hover, const std::function<bool(float, float)>& sign) {
    paint(image, ox, oy, nimbo::Color(16, 20, 32, 255), disc(32, 32, 31));
    paint(image, ox, oy, hover ? nimbo::Color(70, 90, 130, 255) : nimbo::Color(44, 52, 72, 255), disc(32, 32, 28));
    paint(image, ox, oy, hover ? nimbo::Color(255, 210, 120, 255) : nimbo::Color(230, 230, 240, 255), sign);
}

bool cross(float x, float y) {
    float u = x - 32.0f;
    float v = y - 32.0f;
    return std::fabs(u) < 13.0f && std::fabs(v) < 13.0f && (std::fabs(u - v) < 4.0f || std::fabs(u + v) < 4.0f);
}

bool bars(float x, float y) {
    float v = y - 32.0f;
    return std::fabs(x - 32.0f) < 14.0f &&
           (std::fabs(v) < 2.5f || std::fabs(v - 9.0f) < 2.5f || std::fabs(v + 9.0f) < 2.5f);
}

} // namespace

void drawTalkArt(const vessot::String& data) {
    nimbo::Image image(COLUMNS * CELL, COLUMNS * CELL, nimbo::Color::Clear);
    int cell = 0;
    auto next = [&](int& ox, int& oy) {
        ox = cell % COLUMNS * CELL;
        oy = cell / COLUMNS * CELL;
        ++cell;
    };
    int ox = 0;
    int oy = 0;
    const Look looks[] = {
        {nimbo::Color(52, 96, 190, 255), nimbo::Color(236, 190, 150, 255), nimbo::Color(98, 58, 30, 255)},
        {nimbo::Color(40, 168, 128, 255), nimbo::Color(246, 206, 176, 255), nimbo::Color(204, 62, 40, 255)},
        {nimbo::Color(228, 128, 40, 255), nimbo::Color(150, 100, 70, 255), nimbo::Color(30, 26, 26, 255)},
    };
    for (const Look& look : looks) {
        for (float f : {1.0f, 0.7f, 1.3f}) {
            next(ox, oy);
            drawPortrait(image, ox, oy, look, f);
        }
    }
    for (const auto& sign : {std::function<bool(float, float)>(cross), std::function<bool(float, float)>(bars)}) {
        for (bool hover : {false, true}) {
            next(ox, oy);
            drawButton(image, ox, oy, hover, sign);
        }
    }
    // The band behind the replies: clear at its top, darkest from two fifths down.
    next(ox, oy);
    for (int y = 0; y < CELL; ++y) {
        float t = std::min(1.0f, y / (0.4f * (CELL - 1)));
        for (int x = 0; x < CELL; ++x) {
            image.setPixel(ox + x, oy + y, nimbo::Color(8, 10, 20, (int)std::lround(150 * t)));
        }
    }
    // The switcher's shade over the screen.
    next(ox, oy);
    for (int y = 0; y < CELL; ++y) {
        for (int x = 0; x < CELL; ++x) {
            image.setPixel(ox + x, oy + y, nimbo::Color(0, 0, 0, 110));
        }
    }
    image.savePng(data + "/ui/textures/talk_hd.png");
}

} // namespace artgen
