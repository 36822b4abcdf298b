#include "HudArt.h"
#include "Shapes.h"

#include "nimbo/Image.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

namespace artgen {

namespace {

using nimbo::Color;

constexpr int CELL = 64;

// ---------------------------------------------------------------- shapes

Shape box(float x0, float y0, float w, float h) {
    return [=](float x, float y) { return x >= x0 && x < x0 + w && y >= y0 && y < y0 + h; };
}

// The shape widened by r in every direction (eight directions are enough for an outline).
Shape grown(Shape shape, float r) {
    return [=](float x, float y) {
        for (int i = 0; i < 9; ++i) {
            float a = i * 3.14159265f / 4;
            float d = i == 8 ? 0.0f : r;
            if (shape(x + d * std::cos(a), y + d * std::sin(a))) {
                return true;
            }
        }
        return false;
    };
}

Shape moved(Shape shape, float dx, float dy) {
    return [=](float x, float y) { return shape(x - dx, y - dy); };
}

Shape scaled(Shape shape, float k) {
    return [=](float x, float y) { return shape(x / k, y / k); };
}

// A fat arrow pointing along (dx, dy), one of the four directions, centred on (cx, cy).
Shape arrow(float cx, float cy, float size, int dx, int dy) {
    std::vector<Point> up = {{0, -1},        {0.8f, -0.1f},   {0.32f, -0.1f}, {0.32f, 0.9f},
                             {-0.32f, 0.9f}, {-0.32f, -0.1f}, {-0.8f, -0.1f}};
    std::vector<Point> turned;
    for (Point p : up) {
        // Up is (0, -1): turn the shape so that it points along (dx, dy).
        float x = dy != 0 ? p.x * -dy : p.y * -dx;
        float y = dy != 0 ? p.y * -dy : p.x * dx;
        turned.push_back({cx + x * size, cy + y * size});
    }
    return polygon(turned);
}

Shape star(float cx, float cy, int corners, float outer, float inner) {
    std::vector<Point> points;
    for (int i = 0; i < corners * 2; ++i) {
        float a = 3.14159265f * i / corners;
        float r = i % 2 ? inner : outer;
        points.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
    }
    return polygon(points);
}

// ---------------------------------------------------------------- painting

Color lighter(const Color& c, float t) {
    auto up = [t](int v) { return (uint8_t)std::lround(v + (255 - v) * t); };
    return Color(up(c.r), up(c.g), up(c.b), c.a);
}

Color darker(const Color& c, float t) {
    auto down = [t](int v) { return (uint8_t)std::lround(v * (1 - t)); };
    return Color(down(c.r), down(c.g), down(c.b), c.a);
}

Color over(const Color& below, const Color& above, float amount) {
    float a = above.a / 255.0f * amount;
    float b = below.a / 255.0f;
    float out = a + b * (1.0f - a);
    if (out <= 0.0f) {
        return Color::Clear;
    }
    auto channel = [&](int top, int bottom) { return (int)std::lround((top * a + bottom * b * (1.0f - a)) / out); };
    return Color(channel(above.r, below.r), channel(above.g, below.g), channel(above.b, below.b),
                 (int)std::lround(out * 255.0f));
}

// One picture of a texture: a rectangle of pixels painted layer by layer.
class Canvas {
public:
    Canvas(nimbo::Image& image, int x, int y, int w, int h) : image(image), x0(x), y0(y), w(w), h(h) {}

    // Paints the shape in the colour over what is there, from 4 x 4 samples a pixel.
    Canvas& paint(const Color& colour, const Shape& shape) {
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                int hits = 0;
                for (int s = 0; s < 16; ++s) {
                    hits += shape(x + (s % 4 + 0.5f) / 4, y + (s / 4 + 0.5f) / 4) ? 1 : 0;
                }
                if (hits > 0) {
                    image.setPixel(x0 + x, y0 + y, over(image.getPixel(x0 + x, y0 + y), colour, hits / 16.0f));
                }
            }
        }
        return *this;
    }

    // A dark outline under the shape, then the shape: cursors and markers stay readable on any scene.
    Canvas& outlined(const Color& colour, const Shape& shape, float outline = 2.0f) {
        return paint(Color(20, 20, 24, 255), grown(shape, outline)).paint(colour, shape);
    }

private:
    nimbo::Image& image;
    int x0, y0, w, h;
};

const Color WHITE(250, 250, 245, 255);

// ---------------------------------------------------------------- button faces

// The white symbol of each HUD button, in a 64 x 64 cell.
Shape bag() {
    return either({box(19, 27, 26, 21), disc(22, 45, 3), disc(42, 45, 3),
                   without(disc(32, 27, 9), either({disc(32, 27, 5.5f), box(0, 27, 64, 40)}))});
}

Shape book() {
    return without(either({box(18, 17, 13, 30), box(33, 17, 13, 30)}),
                   either({box(21, 22, 7, 2), box(21, 27, 7, 2), box(36, 22, 7, 2), box(36, 27, 7, 2)}));
}

Shape gear() {
    return without(either({star(32, 32, 8, 17, 12), disc(32, 32, 13)}), disc(32, 32, 5));
}

Shape bulb() {
    return either({disc(32, 27, 11), box(27, 35, 10, 6), box(28, 42, 8, 2), box(29, 45, 6, 2)});
}

Shape faces() {
    return either({disc(25, 24, 6), without(disc(25, 44, 11), box(0, 44, 64, 20)), disc(40, 27, 6),
                   without(disc(40, 47, 11), box(0, 47, 64, 20))});
}

Shape fastForward() {
    return either({polygon({{17, 20}, {31, 32}, {17, 44}}), polygon({{32, 20}, {46, 32}, {32, 44}})});
}

Shape skip() {
    return either({polygon({{19, 20}, {37, 32}, {19, 44}}), box(39, 20, 5, 24)});
}

Shape smartBulb() {
    return either({bulb(), line({{32, 8}, {32, 12}}, 2.5f), line({{15, 15}, {18, 18}}, 2.5f),
                   line({{49, 15}, {46, 18}}, 2.5f), line({{11, 27}, {15, 27}}, 2.5f),
                   line({{53, 27}, {49, 27}}, 2.5f)});
}

// A round plate of the colour with the symbol: up, hovered (lighter) or pushed (darker and one pixel
// lower).
void drawButton(nimbo::Image& image, int x, int y, const Color& colour, const Shape& symbol, int state) {
    Color face = state == 1 ? lighter(colour, 0.3f) : state == 2 ? darker(colour, 0.3f) : colour;
    float drop = state == 2 ? 1.0f : 0.0f;
    Canvas(image, x, y, CELL, CELL)
        .paint(darker(face, 0.45f), disc(32, 32 + drop, 30))
        .paint(face, disc(32, 32 + drop, 27))
        .paint(lighter(face, 0.25f), without(disc(32, 30 + drop, 25), disc(32, 36 + drop, 27)))
        .paint(WHITE, moved(symbol, 0, drop));
}

// The inventory button while the panel is open: the bag's plate with the bag crossed out in red.
void drawInventoryCloseButton(nimbo::Image& image, int x, int y, const Color& colour, int state) {
    drawButton(image, x, y, colour, bag(), state);
    float drop = state == 2 ? 1.0f : 0.0f;
    Shape cross = either({line({{19, 19}, {45, 45}}, 5), line({{45, 19}, {19, 45}}, 5)});
    Canvas(image, x, y, CELL, CELL).outlined(Color(215, 45, 40, 255), moved(cross, 0, drop), 1.5f);
}

// ---------------------------------------------------------------- cursors and markers

// Every cursor's point is the cell's centre, where the pointer is.
Shape pointer() {
    return polygon({{32, 32}, {32, 55}, {37.5f, 50}, {42, 59}, {46, 57}, {41.5f, 48.5f}, {49, 48}});
}

Shape hand() {
    return either({box(29.5f, 33, 6, 16), disc(32.5f, 33.5f, 3), box(35.5f, 40, 4.5f, 9), box(40, 41, 4.5f, 8),
                   box(44.5f, 42, 4, 7), polygon({{29.5f, 44}, {23, 40}, {21, 43}, {28, 52}}), box(28, 47, 20.5f, 8),
                   disc(38, 53, 8.5f)});
}

Shape eye() {
    return without(ellipse(32, 32, 15, 9), disc(32, 32, 5));
}

Shape bubble() {
    return either({ellipse(32, 29, 15, 10), polygon({{24, 35}, {20, 46}, {32, 37}})});
}

Shape crosshair() {
    return either({without(disc(32, 32, 11), disc(32, 32, 8)), box(30.5f, 16, 3, 9), box(30.5f, 39, 3, 9),
                   box(16, 30.5f, 9, 3), box(39, 30.5f, 9, 3)});
}

// Cursors are drawn at half their size, centred on the pointer: each fills a 128 x 128 cell, the
// shapes of a 64 x 64 cell doubled. Four a row: pointer, hand, no action, look, use, talk, the four
// directions, the crosshair.
void drawCursors(nimbo::Image& image) {
    const Color red(210, 40, 40, 255), blue(40, 60, 130, 255), pupil(30, 30, 40, 255);
    const int directions[][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
    std::vector<std::vector<std::pair<Color, Shape>>> cursors = {
        {{WHITE, pointer()}},
        {{WHITE, hand()}},
        {{WHITE, pointer()},
         {red, either({without(disc(45, 45, 10), disc(45, 45, 7)), line({{38, 52}, {52, 38}}, 3)})}},
        {{WHITE, eye()}, {blue, disc(32, 32, 5)}, {pupil, disc(32, 32, 2.5f)}},
        {{WHITE, gear()}},
        {{WHITE, bubble()}},
    };
    for (const auto& d : directions) {
        cursors.push_back({{WHITE, arrow(32, 32, 14, d[0], d[1])}});
    }
    cursors.push_back({{WHITE, crosshair()}});
    for (size_t i = 0; i < cursors.size(); ++i) {
        Canvas canvas(image, (int)i % 4 * 128, (int)i / 4 * 128, 128, 128);
        // The first layer is outlined; the others lie on it.
        canvas.outlined(cursors[i][0].first, scaled(cursors[i][0].second, 2), 3.0f);
        for (size_t layer = 1; layer < cursors[i].size(); ++layer) {
            canvas.paint(cursors[i][layer].first, scaled(cursors[i][layer].second, 2));
        }
    }
}

void drawMarkers(nimbo::Image& image) {
    const Color gold(250, 210, 60, 255);
    Canvas(image, 0, 192, CELL, CELL)
        .paint(Color(20, 20, 24, 160), without(disc(32, 32, 29), disc(32, 32, 20)))
        .paint(Color(255, 240, 170, 230), without(disc(32, 32, 27), disc(32, 32, 22)));
    const int directions[][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
    for (int i = 0; i < 4; ++i) {
        Canvas(image, 64 + i * CELL, 192, CELL, CELL)
            .outlined(gold, arrow(32, 32, 24, directions[i][0], directions[i][1]), 2.5f);
    }
    // The tutorial arrow points up; the game turns it.
    Canvas(image, 384, 192, 32, 64)
        .outlined(Color(240, 90, 40, 255),
                  polygon({{16, 3}, {29, 25}, {21, 25}, {21, 61}, {11, 61}, {11, 25}, {3, 25}}), 2.0f);
    // The markers of hotspots a click looks at, uses or talks to, beside the inventory's close faces.
    const Shape verbs[] = {eye(), gear(), bubble()};
    for (int i = 0; i < 3; ++i) {
        Canvas(image, 192 + i * CELL, 320, CELL, CELL)
            .outlined(gold, moved(scaled(verbs[i], 1.7f), -22.4f, -22.4f), 2.5f);
    }
    // The diary's tick.
    Canvas(image, 320, 192, CELL, CELL)
        .paint(darker(Color(60, 160, 90, 255), 0.4f), disc(32, 32, 29))
        .paint(Color(60, 160, 90, 255), disc(32, 32, 26))
        .paint(WHITE, line({{19, 33}, {28, 42}, {45, 22}}, 6));
}

// The aspect chooser's close button: a bar 108 pixels wide whose width the game stretches, a few clear
// rows below the markers above it, which a smoothed draw would otherwise edge with its top.
void drawCloseButtons(nimbo::Image& image) {
    const Color faces[] = {Color(90, 96, 110, 255), Color(60, 64, 74, 255), Color(130, 138, 156, 255)};
    for (int i = 0; i < 3; ++i) {
        Canvas(image, i * 128, 264, 108, 48)
            .paint(Color(20, 20, 24, 255), box(0, 0, 108, 48))
            .paint(faces[i], box(3, 3, 102, 42))
            .paint(WHITE, either({line({{44, 14}, {64, 34}}, 4), line({{64, 14}, {44, 34}}, 4)}));
    }
}

// ---------------------------------------------------------------- puzzle skip gauges

// The part of the ring from radius inner to outer, clockwise from the top through the fraction of a turn.
Shape arc(float cx, float cy, float inner, float outer, float fraction) {
    return [=](float x, float y) {
        float r = std::hypot(x - cx, y - cy);
        float turn = std::atan2(x - cx, cy - y) / (2 * 3.14159265f);
        return r >= inner && r <= outer && (turn < 0 ? turn + 1 : turn) <= fraction;
    };
}

// A puzzle's skip button in 13 steps, eight cells a row from y 384: the ring around the skip
// symbol fills clockwise, and the symbol lights up once it is full.
void drawSkipGauges(nimbo::Image& image) {
    const Color track(60, 64, 74, 255), fill(240, 170, 50, 255), full(120, 220, 110, 255);
    for (int step = 1; step <= 13; ++step) {
        float fraction = (step - 1) / 12.0f;
        Canvas(image, (step - 1) % 8 * CELL, 384 + (step - 1) / 8 * CELL, CELL, CELL)
            .paint(Color(20, 20, 24, 220), disc(32, 32, 30))
            .paint(track, arc(32, 32, 21, 28, 1.0f))
            .paint(step == 13 ? full : fill, arc(32, 32, 21, 28, fraction))
            .paint(step == 13 ? WHITE : Color(150, 150, 160, 255), skip());
    }
}

// ---------------------------------------------------------------- hull panels

// A strip of hull plating w x h pixels: plates with seams across the strip every 64 pixels, rivets
// along the seams and a lit rim on the side that meets the scene.
void drawHull(nimbo::Image& image, int x0, int y0, int w, int h, bool vertical, bool rimAtEnd, bool plain) {
    const Color plate(74, 82, 96, 255);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            int along = vertical ? y : x;
            int across = vertical ? x : y;
            int span = vertical ? w : h;
            float shade = 0.25f * std::abs(across - span / 2.0f) / span;
            Color c = darker(plate, shade + (plain ? 0.25f : 0.0f));
            if (along % 64 < 2) {
                c = darker(plate, 0.55f);
            } else if (!plain && along % 64 >= 6 && along % 64 < 10 && across % 16 >= 6 && across % 16 < 10) {
                c = lighter(plate, 0.35f);
            }
            int fromRim = rimAtEnd ? span - 1 - across : across;
            if (!plain && fromRim < 3) {
                c = lighter(plate, 0.5f);
            }
            image.setPixel(x0 + x, y0 + y, c);
        }
    }
}

} // namespace

void drawHudArt(const vessot::String& data) {
    nimbo::Image bar(512, 512);
    struct Button {
        Shape symbol;
        Color colour;
    };
    const Button buttons[] = {
        {bag(), Color(150, 100, 60, 255)},   {book(), Color(60, 120, 160, 255)},
        {gear(), Color(110, 110, 130, 255)}, {bulb(), Color(200, 160, 40, 255)},
        {faces(), Color(130, 80, 160, 255)}, {fastForward(), Color(40, 150, 140, 255)},
        {skip(), Color(180, 70, 60, 255)},   {smartBulb(), Color(220, 120, 40, 255)},
    };
    // Three cells a button (up, hover, pushed), eight cells a row.
    int cell = 0;
    for (const Button& b : buttons) {
        for (int state = 0; state < 3; ++state, ++cell) {
            drawButton(bar, cell % 8 * CELL, cell / 8 * CELL, b.colour, b.symbol, state);
        }
    }
    // The inventory button's faces while the panel is open (up, hover, pushed), below the rest.
    for (int state = 0; state < 3; ++state) {
        drawInventoryCloseButton(bar, state * CELL, 320, buttons[0].colour, state);
    }
    drawMarkers(bar);
    drawCloseButtons(bar);
    drawSkipGauges(bar);
    bar.savePng(data + "/ui/textures/hudbar_hd.png");

    nimbo::Image cursors(512, 512);
    drawCursors(cursors);
    cursors.savePng(data + "/ui/textures/cursors_hd.png");

    // Four side strips (left, right, and their outer extensions), then the top and bottom strips.
    nimbo::Image margins(256, 512);
    drawHull(margins, 0, 0, 64, 256, true, true, false);
    drawHull(margins, 64, 0, 64, 256, true, false, false);
    drawHull(margins, 128, 0, 64, 256, true, true, true);
    drawHull(margins, 192, 0, 64, 256, true, false, true);
    drawHull(margins, 0, 256, 256, 64, false, true, false);
    drawHull(margins, 0, 320, 256, 64, false, false, false);
    margins.savePng(data + "/ui/textures/margins_hd.png");
}

} // namespace artgen
