#include "InterfaceArt.h"
#include "Canvas.h"

#include "nimbo/Image.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace artgen {

namespace {

using nimbo::Color;

// ---------------------------------------------------------------- buttons and panels

constexpr int BUTTON = 48;

enum class Icon { TICK, CROSS, PREVIOUS, NEXT, MINUS, PLUS };

bool onIcon(Icon icon, float x, float y) {
    switch (icon) {
    case Icon::TICK:
        return onPolyline({{14, 25}, {21, 32}, {34, 17}}, 4.5f, x, y);
    case Icon::CROSS:
        return onPolyline({{16, 16}, {32, 32}}, 4.5f, x, y) || onPolyline({{32, 16}, {16, 32}}, 4.5f, x, y);
    case Icon::PREVIOUS:
        return insidePolygon({{14, 24}, {30, 13}, {30, 35}}, x, y);
    case Icon::NEXT:
        return insidePolygon({{34, 24}, {18, 13}, {18, 35}}, x, y);
    case Icon::MINUS:
        return onPolyline({{14, 24}, {34, 24}}, 5.0f, x, y);
    case Icon::PLUS:
        return onPolyline({{14, 24}, {34, 24}}, 5.0f, x, y) || onPolyline({{24, 14}, {24, 34}}, 5.0f, x, y);
    }
    return false;
}

// A round button of the colour with an icon of the ink.
Paint button(Icon icon, const Color& colour, float x, float y, const Color& ink = Color(255, 255, 255, 255)) {
    float d = std::hypot(x - BUTTON / 2.0f, y - BUTTON / 2.0f);
    if (d > 22) {
        return {};
    }
    Paint p = paint(d > 19.5f ? darker(colour, 0.35f) : colour);
    return onIcon(icon, x, y) ? over(p, paint(ink)) : p;
}

// Where the row of an entry's title ends in its 48 pixels high picture: in the achievements menu the
// title's descenders reach 0.39 of an entry's height and the description's capitals begin at 0.42,
// on the computer's layout and the mobile one alike.
constexpr float TITLE_ROW = 19.5f;

// The widget texture: a row of confirmation buttons, a row of page arrows, then three panels.
void drawWidgets(const vessot::String& path) {
    nimbo::Image image(256, 256);
    const Color green(60, 160, 90, 255), red(190, 60, 50, 255), blue(70, 120, 200, 255);
    const struct {
        Icon icon;
        Color colour;
        int x, y;
    } buttons[] = {
        {Icon::TICK, green, 0, 0},     {Icon::TICK, lighter(green, 0.3f), 48, 0},
        {Icon::CROSS, red, 96, 0},     {Icon::CROSS, lighter(red, 0.3f), 144, 0},
        {Icon::PREVIOUS, blue, 0, 48}, {Icon::PREVIOUS, lighter(blue, 0.3f), 48, 48},
        {Icon::NEXT, blue, 96, 48},    {Icon::NEXT, lighter(blue, 0.3f), 144, 48},
    };
    for (const auto& b : buttons) {
        fillCell(image, b.x, b.y, BUTTON, BUTTON, [&](float x, float y) { return button(b.icon, b.colour, x, y); });
    }
    // Each panel's fill behind the row of an entry's title (above TITLE_ROW) and below it. A locked
    // entry's title is light grey and its description dark brown: the title stands on a dark band,
    // the description on light grey.
    const struct {
        Color title, fill, border;
        int y;
    } panels[] = {
        {Color(236, 222, 188, 255), Color(236, 222, 188, 255), Color(150, 110, 60, 255), 96}, // an unlocked entry
        {Color(62, 62, 68, 255), Color(184, 184, 188, 255), Color(88, 88, 92, 255), 144},     // a locked entry
        {Color(236, 222, 188, 240), Color(236, 222, 188, 240), Color(120, 30, 20, 255), 192}, // an unlock popup
    };
    for (const auto& p : panels) {
        fillCell(image, 0, p.y, 256, 48,
                 [&](float x, float y) { return panel(256, 48, y < TITLE_ROW ? p.title : p.fill, p.border, x, y); });
    }
    image.savePng(path);
}

// ---------------------------------------------------------------- medals

constexpr int MEDAL = 96;

// Digits 0 to 9 on a 3 x 5 grid, one row a value of three bits, most significant bit at the left.
const int DIGITS[10][5] = {
    {7, 5, 5, 5, 7}, {2, 6, 2, 2, 7}, {7, 1, 7, 4, 7}, {7, 1, 7, 1, 7}, {5, 5, 7, 1, 1},
    {7, 4, 7, 1, 7}, {7, 4, 7, 5, 7}, {7, 1, 1, 1, 1}, {7, 5, 7, 5, 7}, {7, 5, 7, 1, 7},
};

// The number written centred on y 56 to 71, three pixels a grid cell.
bool onNumber(int number, float x, float y) {
    std::string text = std::to_string(number);
    constexpr int CELL = 3;
    constexpr int ADVANCE = 4 * CELL;
    float left = MEDAL / 2.0f - (ADVANCE * (float)text.size() - CELL) / 2;
    int row = (int)std::floor((y - 56) / CELL);
    int column = (int)std::floor((x - left) / CELL);
    if (row < 0 || row > 4 || column < 0 || column >= ADVANCE / CELL * (int)text.size()) {
        return false;
    }
    int digit = column / 4;
    int bit = column % 4;
    return bit < 3 && (DIGITS[text[digit] - '0'][row] >> (2 - bit) & 1);
}

// The symbol of the kind, in a unit square around (u, v) = (0, 0).
bool onSymbol(int kind, float u, float v) {
    float r = std::hypot(u, v);
    switch (kind) {
    case 0:
        return insidePolygon(regular(5, -90, 0.45f), u, v);
    case 1:
        return insidePolygon(regular(3, -90), u, v);
    case 2:
        return insidePolygon(regular(4, -90), u, v);
    case 3:
        return std::abs(u) < 0.75f && std::abs(v) < 0.75f;
    case 4:
        return insidePolygon(regular(6, -90), u, v);
    case 5:
        return (std::abs(u) < 0.3f && std::abs(v) < 1) || (std::abs(v) < 0.3f && std::abs(u) < 1);
    case 6:
        return r < 1 && r > 0.55f;
    default:
        return r < 1 && std::hypot(u - 0.45f, v + 0.1f) > 0.8f;
    }
}

Color grey(const Color& c) {
    int l = (int)std::lround((0.3f * c.r + 0.59f * c.g + 0.11f * c.b) * 0.7f + 40);
    return Color(l, l, l, c.a);
}

// Medal number n (1-based): a gold rim, a face coloured by its row of eight, a symbol by its
// place in the row, and the number.
Paint medal(int n, bool locked, float x, float y) {
    const Color faces[] = {Color(60, 100, 190, 255), Color(50, 150, 90, 255), Color(130, 70, 170, 255),
                           Color(180, 60, 60, 255)};
    const Color rim(214, 174, 60, 255), ink(252, 246, 228, 255);
    float d = std::hypot(x - MEDAL / 2.0f, y - MEDAL / 2.0f);
    if (d > 44) {
        return {};
    }
    Color c = d > 38 ? (d > 42 ? darker(rim, 0.3f) : rim) : darker(faces[(n - 1) / 8 % 4], 0.25f * (y - 10) / 76);
    if (d <= 38 && (onSymbol((n - 1) % 8, (x - 48) / 14, (y - 34) / 14) || onNumber(n, x, y))) {
        c = ink;
    }
    return paint(locked ? grey(c) : c);
}

// Eight medals a row: the coloured ones in the first rows, the grey ones in as many rows below.
void drawMedals(const vessot::String& path, int count) {
    int rows = (count + 7) / 8;
    nimbo::Image image(8 * MEDAL, 2 * rows * MEDAL);
    for (int i = 0; i < count; ++i) {
        for (bool locked : {false, true}) {
            int x = i % 8 * MEDAL;
            int y = (i / 8 + (locked ? rows : 0)) * MEDAL;
            fillCell(image, x, y, MEDAL, MEDAL, [&](float px, float py) { return medal(i + 1, locked, px, py); });
        }
    }
    image.savePng(path);
}

// The settings menu's texture: the lit switch's hover state (a green button with a white tick; the
// lit switch itself is the HUD's tick), the unlit switch (a grey one with a dark tick) and its hover
// state, then the steppers "-" and "+".
void drawSettingsWidgets(const vessot::String& path) {
    nimbo::Image image(256, 128);
    const Color green(60, 160, 90, 255), grey(120, 120, 124, 255), blue(70, 120, 200, 255);
    const Color white(255, 255, 255, 255), dark(60, 60, 64, 255);
    const struct {
        Icon icon;
        Color colour, ink;
        int x, y;
    } buttons[] = {
        {Icon::TICK, lighter(green, 0.3f), white, 0, 0},   {Icon::TICK, grey, dark, 48, 0},
        {Icon::TICK, lighter(grey, 0.3f), dark, 96, 0},    {Icon::MINUS, blue, white, 0, 48},
        {Icon::MINUS, lighter(blue, 0.3f), white, 48, 48}, {Icon::PLUS, blue, white, 96, 48},
        {Icon::PLUS, lighter(blue, 0.3f), white, 144, 48},
    };
    for (const auto& b : buttons) {
        fillCell(image, b.x, b.y, BUTTON, BUTTON,
                 [&](float x, float y) { return button(b.icon, b.colour, x, y, b.ink); });
    }
    image.savePng(path);
}

// ---------------------------------------------------------------- the verb coin

constexpr int FACE = 64;

enum class Verb { LOOK, USE, TALK, COMBINE };

bool inCircle(float x, float y, float cx, float cy, float r) {
    return std::hypot(x - cx, y - cy) <= r;
}

// The verb's picture on a 64 x 64 face: the ink it paints at the point, or none.
std::optional<Color> verbInk(Verb verb, float x, float y) {
    const Color white(252, 246, 228, 255), iris(40, 80, 130, 255), black(10, 10, 16, 255);
    const Color yellow(250, 210, 110, 255);
    switch (verb) {
    case Verb::LOOK: {
        // An eye: an almond of white around an iris and its pupil.
        float u = (x - 32) / 21;
        bool almond = std::abs(u) < 1 && std::abs(y - 32) < 12 * (1 - u * u);
        if (!almond) {
            return std::nullopt;
        }
        if (inCircle(x, y, 32, 32, 3.5f)) {
            return black;
        }
        return inCircle(x, y, 32, 32, 8.5f) ? iris : white;
    }
    case Verb::USE: {
        // An open hand: the palm, four fingers and the thumb.
        bool palm = x >= 22 && x <= 42 && y >= 29 && y <= 44 && inCircle(x, y, 32, 33, 16);
        bool fingers = onPolyline({{24, 31}, {24, 17}}, 4.6f, x, y) || onPolyline({{29, 31}, {29, 13}}, 4.6f, x, y) ||
                       onPolyline({{34, 31}, {34, 14}}, 4.6f, x, y) || onPolyline({{39, 31}, {39, 18}}, 4.6f, x, y);
        bool thumb = onPolyline({{24, 40}, {15, 29}}, 5.0f, x, y);
        return palm || fingers || thumb ? std::optional<Color>(white) : std::nullopt;
    }
    case Verb::TALK: {
        // A speech bubble with a tail and three dots.
        float u = (x - 32) / 19, v = (y - 28) / 13;
        bool bubble = u * u + v * v <= 1 || insidePolygon({{21, 35}, {16, 50}, {31, 39}}, x, y);
        if (!bubble) {
            return std::nullopt;
        }
        bool dot = inCircle(x, y, 24, 28, 2.6f) || inCircle(x, y, 32, 28, 2.6f) || inCircle(x, y, 40, 28, 2.6f);
        return dot ? iris : white;
    }
    case Verb::COMBINE:
        // Two joined pieces: the left one's knob sits in the right one's socket.
        if ((x >= 13 && x < 32.5f && y >= 21 && y <= 43) || inCircle(x, y, 34, 32, 5)) {
            return white;
        }
        if (x >= 32.5f && x <= 51 && y >= 21 && y <= 43) {
            return yellow;
        }
        return std::nullopt;
    }
    return std::nullopt;
}

// A round face in its state (0 normal, 1 hover, 2 pushed) with the verb's picture.
Paint verbFace(Verb verb, int state, float x, float y) {
    const Color base(70, 110, 170, 255);
    const Color shade[] = {base, lighter(base, 0.3f), darker(base, 0.3f)};
    float d = std::hypot(x - FACE / 2.0f, y - FACE / 2.0f);
    if (d > 30) {
        return {};
    }
    Paint p = paint(d > 27 ? darker(shade[state], 0.35f) : shade[state]);
    std::optional<Color> ink = verbInk(verb, x, y);
    return ink ? over(p, paint(*ink)) : p;
}

// The coin's faces: a column per verb (look, use, talk, combine), a row per state.
void drawVerbCoin(const vessot::String& path) {
    nimbo::Image image(256, 256);
    for (int verb = 0; verb < 4; ++verb) {
        for (int state = 0; state < 3; ++state) {
            fillCell(image, verb * FACE, state * FACE, FACE, FACE,
                     [&](float x, float y) { return verbFace((Verb)verb, state, x, y); });
        }
    }
    image.savePng(path);
}

} // namespace

void drawInterfaceArt(const vessot::String& data, int medalCount) {
    drawWidgets(data + "/ui/textures/widgets_hd.png");
    drawMedals(data + "/ui/textures/achievements_hd.png", medalCount);
    drawSettingsWidgets(data + "/ui/textures/settings_hd.png");
    drawVerbCoin(data + "/ui/textures/verbcoin_hd.png");
}

} // namespace artgen
