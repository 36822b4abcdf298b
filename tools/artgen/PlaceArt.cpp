#include "PlaceArt.h"

#include "runel/FontTtf.h"
#include "runel/Layout.h"
#include "vessot/Exception.h"
#include "vessot/File.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <set>
#include <string>

namespace artgen {

namespace {

constexpr float PIXELS_PER_UNIT = 1.875f;
constexpr int SCENE_WIDTH = 426;
constexpr int SCENE_HEIGHT = 320;
// Outlines are this many units wide.
constexpr float OUTLINE = 1.1f;
// The name banner: clear of the in-game menu button in the screen's top left corner (35 units wide on
// the desktop interface, 54 on the mobile one), and below the band along the top where the hover label
// names what lies under the pointer (from 5 units down, a line of its font, which is larger on the mobile
// interface: down to 24.5 units). BANNER_HEIGHT is in pixels.
constexpr float BANNER_LEFT = 58;
constexpr float BANNER_TOP = 25;
constexpr int BANNER_HEIGHT = 32;

const nimbo::Color BLACK(0, 0, 0, 255);
const nimbo::Color WHITE(255, 255, 255, 255);
const nimbo::Color SKIN(224, 180, 140, 255);
const nimbo::Color HAIR(70, 50, 36, 255);

nimbo::Color mix(const nimbo::Color& a, const nimbo::Color& b, float t) {
    auto lerp = [t](int p, int q) { return (int)std::lround(p + (q - p) * t); };
    return nimbo::Color(lerp(a.r, b.r), lerp(a.g, b.g), lerp(a.b, b.b), lerp(a.a, b.a));
}

float segmentDistance(float x, float y, Spot a, Spot b) {
    float dx = b.x - a.x, dy = b.y - a.y;
    float length = dx * dx + dy * dy;
    float t = length > 0 ? std::clamp(((x - a.x) * dx + (y - a.y) * dy) / length, 0.0f, 1.0f) : 0.0f;
    return std::hypot(x - (a.x + t * dx), y - (a.y + t * dy));
}

bool insidePolygon(const std::vector<Spot>& points, float x, float y) {
    bool in = false;
    for (size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
        const Spot& a = points[i];
        const Spot& b = points[j];
        if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) {
            in = !in;
        }
    }
    return in;
}

float polygonEdgeDistance(const std::vector<Spot>& points, float x, float y) {
    float d = 1e9f;
    for (size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
        d = std::min(d, segmentDistance(x, y, points[j], points[i]));
    }
    return d;
}

// The distance from a point inside the piece to its edge; negative when the point lies outside.
float depthInside(const Piece& p, float x, float y) {
    switch (p.form) {
    case Form::Box:
        return std::min(std::min(x - p.x, p.x + p.w - x), std::min(y - p.y, p.y + p.h - y));
    case Form::Oval: {
        float dx = (x - (p.x + p.w / 2)) / (p.w / 2);
        float dy = (y - (p.y + p.h / 2)) / (p.h / 2);
        return (1.0f - std::sqrt(dx * dx + dy * dy)) * std::min(p.w, p.h) / 2;
    }
    case Form::Polygon: {
        float d = polygonEdgeDistance(p.points, x, y);
        return insidePolygon(p.points, x, y) ? d : -d;
    }
    case Form::Stroke: {
        float d = 1e9f;
        for (size_t i = 1; i < p.points.size(); ++i) {
            d = std::min(d, segmentDistance(x, y, p.points[i - 1], p.points[i]));
        }
        return p.width / 2 - d;
    }
    }
    return -1;
}

// The piece's box: its top and height shade it, its middle carries the label.
void bounds(const Piece& p, float& left, float& top, float& right, float& bottom) {
    if (p.form == Form::Box || p.form == Form::Oval) {
        left = p.x, top = p.y, right = p.x + p.w, bottom = p.y + p.h;
        return;
    }
    left = top = 1e9f;
    right = bottom = -1e9f;
    for (const Spot& s : p.points) {
        left = std::min(left, s.x), top = std::min(top, s.y);
        right = std::max(right, s.x), bottom = std::max(bottom, s.y);
    }
}

// The states of the place that have come.
using States = std::set<std::string>;

bool drawnIn(const Piece& p, const States& states) {
    return (!*p.until || !states.count(p.until)) && (!*p.after || states.count(p.after));
}

// The colour of the place at a point in scene units, in the states given.
nimbo::Color placeColour(const Place& place, float x, float y, const States& states = {}) {
    nimbo::Color c = mix(place.skyTop, place.skyBottom, y / SCENE_HEIGHT);
    if (place.floor.size() >= 3 && insidePolygon(place.floor, x, y)) {
        // The ground lightens toward the viewer, with faint furrows across it.
        c = mix(place.ground, WHITE, 0.12f * y / SCENE_HEIGHT);
        if (std::fmod(y, 14.0f) < 0.8f) {
            c = mix(c, BLACK, 0.12f);
        }
        if (polygonEdgeDistance(place.floor, x, y) < OUTLINE) {
            c = mix(place.ground, BLACK, 0.45f);
        }
    }
    for (const Piece& p : place.pieces) {
        float depth = depthInside(p, x, y);
        if (depth < 0 || !drawnIn(p, states)) {
            continue;
        }
        if (p.fill.a < 255) {
            // A see-through piece, a shade or a glow, has neither outline nor shading.
            c = mix(c, nimbo::Color(p.fill.r, p.fill.g, p.fill.b, 255), p.fill.a / 255.0f);
            continue;
        }
        if (p.form != Form::Stroke && depth < OUTLINE) {
            c = mix(p.fill, BLACK, 0.6f);
            continue;
        }
        float left, top, right, bottom;
        bounds(p, left, top, right, bottom);
        float down = bottom > top ? (y - top) / (bottom - top) : 0.0f;
        c = mix(mix(p.fill, WHITE, 0.15f), BLACK, 0.3f * down);
    }
    return c;
}

struct Fonts {
    std::unique_ptr<runelttf::FontTtf> label, small, title, thumbnail;
};

Fonts loadFonts(const vessot::String& data) {
    vessot::String file = data + "/ui/fonts/radodid.ttf";
    Fonts fonts;
    fonts.label = std::make_unique<runelttf::FontTtf>(file, "place_label", 17);
    fonts.small = std::make_unique<runelttf::FontTtf>(file, "place_small", 13);
    fonts.title = std::make_unique<runelttf::FontTtf>(file, "place_title", 22);
    fonts.thumbnail = std::make_unique<runelttf::FontTtf>(file, "place_thumbnail", 16);
    return fonts;
}

runel::Layout layout(runelttf::FontTtf& font, const vessot::String& text) {
    runel::FontResolver noTags = [](const vessot::String& name) -> runel::FontChoice {
        throw vessot::exception("no font " + name, __FILE__, __LINE__);
    };
    return runel::layoutText(text, {&font, 1}, noTags, runel::LEFT, 0, false);
}

void saveText(const vessot::String& text, const vessot::String& path) {
    vessot::writeFileAtomically(path, [&](vessot::StreamBase& out) { out.write_raw(text.data(), (int)text.size()); });
}

// A label as drawn on a background: its text and its letters' box in scene units.
struct Label {
    vessot::String text;
    morvec::Rectangle box;
};

Label drawnLabel(const vessot::String& text, const morvec::Rectangle& pixels) {
    return {text, morvec::Rectangle(pixels.x / PIXELS_PER_UNIT, pixels.y / PIXELS_PER_UNIT, pixels.w / PIXELS_PER_UNIT,
                                    pixels.h / PIXELS_PER_UNIT)};
}

// Adds the label unless the list holds it already.
void addLabel(std::vector<Label>& labels, const Label& label) {
    for (const Label& l : labels) {
        if (l.text == label.text && l.box == label.box) {
            return;
        }
    }
    labels.push_back(label);
}

// Draws the place in the states given, with the labels of the pieces drawn in them and the banner;
// adds those labels to the list.
nimbo::Image drawPicture(const Place& place, Fonts& fonts, const States& states, std::vector<Label>& labels) {
    const int width = (int)std::lround(place.width * PIXELS_PER_UNIT);
    const int height = (int)std::lround(SCENE_HEIGHT * PIXELS_PER_UNIT);
    nimbo::Image image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            // Four samples a pixel smooth the outlines.
            int r = 0, g = 0, b = 0;
            for (int s = 0; s < 4; ++s) {
                float ux = (x + 0.25f + 0.5f * (s % 2)) / PIXELS_PER_UNIT;
                float uy = (y + 0.25f + 0.5f * (s / 2)) / PIXELS_PER_UNIT;
                nimbo::Color c = placeColour(place, ux, uy, states);
                r += c.r, g += c.g, b += c.b;
            }
            image.setPixel(x, y, nimbo::Color(r / 4, g / 4, b / 4, 255));
        }
    }
    for (const Piece& p : place.pieces) {
        if (!*p.label || !drawnIn(p, states)) {
            continue;
        }
        float left, top, right, bottom;
        bounds(p, left, top, right, bottom);
        // A label wider than its piece takes the small font.
        runelttf::FontTtf& font =
            layout(*fonts.label, p.label).width > (right - left) * PIXELS_PER_UNIT + 12 ? *fonts.small : *fonts.label;
        addLabel(labels, drawnLabel(p.label, writeText(image, font, p.label, (left + right) / 2 * PIXELS_PER_UNIT,
                                                       (top + bottom) / 2 * PIXELS_PER_UNIT, WHITE, 2.0f)));
    }
    // The banner with the place's name, at the top beside the in-game menu button.
    float titleWidth = layout(*fonts.title, place.title).width;
    const int bannerLeft = (int)std::lround(BANNER_LEFT * PIXELS_PER_UNIT);
    const int bannerTop = (int)std::lround(BANNER_TOP * PIXELS_PER_UNIT);
    for (int y = bannerTop; y < bannerTop + BANNER_HEIGHT; ++y) {
        for (int x = bannerLeft; x < bannerLeft + 16 + (int)titleWidth; ++x) {
            image.setPixel(x, y, mix(image.getPixel(x, y), nimbo::Color(20, 16, 30, 255), 0.7f));
        }
    }
    Label banner =
        drawnLabel(place.title, writeText(image, *fonts.title, place.title, bannerLeft + 8 + titleWidth / 2,
                                          bannerTop + BANNER_HEIGHT / 2.0f, nimbo::Color(255, 226, 150, 255), 1.5f));
    // The banner's name is listed last.
    labels.erase(std::remove_if(labels.begin(), labels.end(), [&](const Label& l) { return l.box == banner.box; }),
                 labels.end());
    labels.push_back(banner);
    return image;
}

// How far around a changed pixel a state's picture is drawn: the game scales the background and the
// picture alike, but a pixel's edge may land a pixel apart, so a thing taken away must not show a
// sliver of its outline there.
constexpr int CHANGE_MARGIN = 2;

// The box of the pixels in which two pictures differ, with the margin, widened to whole steps of 15
// pixels (8 scene units); empty when they are alike.
morvec::Rectangle changedBox(const nimbo::Image& a, const nimbo::Image& b) {
    int left = a.getWidth(), top = a.getHeight(), right = -1, bottom = -1;
    for (int y = 0; y < a.getHeight(); ++y) {
        for (int x = 0; x < a.getWidth(); ++x) {
            if (!(a.getPixel(x, y) == b.getPixel(x, y))) {
                left = std::min(left, x), top = std::min(top, y);
                right = std::max(right, x), bottom = std::max(bottom, y);
            }
        }
    }
    if (right < 0) {
        return morvec::Rectangle();
    }
    const int step = 15;
    left = std::max(0, left - CHANGE_MARGIN) / step * step, top = std::max(0, top - CHANGE_MARGIN) / step * step;
    right = std::min(a.getWidth(), ((right + CHANGE_MARGIN) / step + 1) * step);
    bottom = std::min(a.getHeight(), ((bottom + CHANGE_MARGIN) / step + 1) * step);
    return morvec::Rectangle((float)left, (float)top, (float)(right - left), (float)(bottom - top));
}

// The box of the second picture, clear but within the margin of a pixel that differs from the first.
nimbo::Image changedPart(const nimbo::Image& before, const nimbo::Image& after, const morvec::Rectangle& box) {
    auto changed = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < after.getWidth() && y < after.getHeight() &&
               !(after.getPixel(x, y) == before.getPixel(x, y));
    };
    nimbo::Image part((int)box.w, (int)box.h, nimbo::Color::Clear);
    for (int y = 0; y < (int)box.h; ++y) {
        for (int x = 0; x < (int)box.w; ++x) {
            bool near = false;
            for (int dy = -CHANGE_MARGIN; dy <= CHANGE_MARGIN && !near; ++dy) {
                for (int dx = -CHANGE_MARGIN; dx <= CHANGE_MARGIN && !near; ++dx) {
                    near = changed((int)box.x + x + dx, (int)box.y + y + dy);
                }
            }
            nimbo::Color c = after.getPixel((int)box.x + x, (int)box.y + y);
            c.a = near ? 255 : 0;
            part.setPixel(x, y, c);
        }
    }
    return part;
}

// The place's states in the order the scene lays their pictures, each with the states it is drawn
// over, which come before it: those after which pieces are drawn until it comes, and those the place
// names.
std::vector<std::pair<std::string, States>> statesOf(const Place& place) {
    std::map<std::string, States> under;
    for (const Piece& p : place.pieces) {
        for (const char* state : {p.until, p.after}) {
            if (*state) {
                under[state];
            }
        }
        if (*p.until && *p.after) {
            under[p.until].insert(p.after);
        }
    }
    for (const auto& [state, below] : place.statesOver) {
        under[state].insert(below);
    }
    std::vector<std::pair<std::string, States>> order;
    States placed;
    while (order.size() < under.size()) {
        size_t before = order.size();
        for (const auto& [state, below] : under) {
            if (!placed.count(state) && std::includes(placed.begin(), placed.end(), below.begin(), below.end())) {
                order.emplace_back(state, below);
                placed.insert(state);
            }
        }
        if (order.size() == before) {
            throw vessot::exception(vessot::String(place.name) + ": its states are drawn over each other in a circle",
                                    __FILE__, __LINE__);
        }
    }
    return order;
}

// Writes the picture of each state of the place, clear where it shows what lies under it, and the
// list of where they lie; adds their labels to the list.
void drawStates(const Place& place, Fonts& fonts, const vessot::String& folder, std::vector<Label>& labels) {
    vessot::String list;
    for (const auto& [state, under] : statesOf(place)) {
        States with = under;
        with.insert(state);
        nimbo::Image before = drawPicture(place, fonts, under, labels);
        nimbo::Image after = drawPicture(place, fonts, with, labels);
        morvec::Rectangle box = changedBox(before, after);
        if (box.w <= 0) {
            throw vessot::exception(vessot::String(place.name) + ": the state " + state + " changes nothing", __FILE__,
                                    __LINE__);
        }
        changedPart(before, after, box).savePng(folder + "/textures/" + place.name + "_" + state + "_hd.png");
        char line[64];
        std::snprintf(line, sizeof line, "%g %g %g %g ", box.x / PIXELS_PER_UNIT, box.y / PIXELS_PER_UNIT,
                      box.w / PIXELS_PER_UNIT, box.h / PIXELS_PER_UNIT);
        list += vessot::String(line) + state + "\n";
    }
    if (!list.empty()) {
        saveText(list, folder + "/hotspots/" + place.name + ".states");
    }
}

// One label a line: its box's left, top, width and height in whole scene units around its letters,
// then its text.
void writeLabels(const std::vector<Label>& labels, const vessot::String& path) {
    vessot::String text;
    for (const Label& label : labels) {
        char line[64];
        const float left = std::floor(label.box.x), top = std::floor(label.box.y);
        std::snprintf(line, sizeof line, "%g %g %g %g ", left, top, std::ceil(label.box.x + label.box.w) - left,
                      std::ceil(label.box.y + label.box.h) - top);
        text += vessot::String(line) + label.text + "\n";
    }
    saveText(text, path);
}

void drawHotspots(const Place& place, const vessot::String& path) {
    nimbo::Image image(place.width, SCENE_HEIGHT, BLACK);
    for (int y = 0; y < SCENE_HEIGHT; ++y) {
        for (int x = 0; x < place.width; ++x) {
            for (const Piece& p : place.pieces) {
                if (p.hotspot && depthInside(p, x + 0.5f, y + 0.5f) >= 0) {
                    image.setPixel(
                        x, y, nimbo::Color((p.hotspot >> 16) & 0xFF, (p.hotspot >> 8) & 0xFF, p.hotspot & 0xFF, 255));
                }
            }
        }
    }
    image.savePng(path);
}

void writeWalkMap(const Place& place, const vessot::String& path) {
    vessot::String text = "walkmap 1\n# The ground of " + vessot::String(place.title) + ", drawn by artgen.\narea\n";
    for (const Spot& s : place.floor) {
        char line[64];
        std::snprintf(line, sizeof line, "%g %g\n", s.x, s.y);
        text += line;
    }
    saveText(text, path);
}

// The save menu's picture: the place's upper part over a band with its name.
void drawThumbnail(const Place& place, Fonts& fonts, const vessot::String& path) {
    const int size = 128;
    const int picture = 96;
    nimbo::Image image(size, size, nimbo::Color(16, 18, 24, 255));
    const float scale = (float)SCENE_WIDTH / size;
    const States start(place.startStates.begin(), place.startStates.end());
    for (int y = 0; y < picture; ++y) {
        for (int x = 0; x < size; ++x) {
            image.setPixel(x, y, placeColour(place, (x + 0.5f) * scale, (y + 0.5f) * scale, start));
        }
    }
    // A name too wide for the picture is written smaller, on two lines split at the blank nearest its
    // middle.
    const std::string title = place.title;
    const float middle = picture + (size - picture) / 2.0f;
    size_t split = title.npos;
    for (size_t i = title.find(' '); i != title.npos; i = title.find(' ', i + 1)) {
        if (split == title.npos ||
            std::abs(2 * (int)i - (int)title.size()) < std::abs(2 * (int)split - (int)title.size())) {
            split = i;
        }
    }
    if (layout(*fonts.thumbnail, place.title).width <= size - 6 || split == title.npos) {
        writeText(image, *fonts.thumbnail, place.title, size / 2.0f, middle, WHITE);
    } else {
        writeText(image, *fonts.small, title.substr(0, split).c_str(), size / 2.0f, middle - 7, WHITE);
        writeText(image, *fonts.small, title.substr(split + 1).c_str(), size / 2.0f, middle + 7, WHITE);
    }
    image.savePng(path);
}

} // namespace

Piece box(float x, float y, float w, float h, const nimbo::Color& fill, uint32_t hotspot, const char* label) {
    Piece p;
    p.x = x, p.y = y, p.w = w, p.h = h, p.fill = fill, p.hotspot = hotspot, p.label = label;
    return p;
}

Piece oval(float x, float y, float w, float h, const nimbo::Color& fill, uint32_t hotspot, const char* label) {
    Piece p = box(x, y, w, h, fill, hotspot, label);
    p.form = Form::Oval;
    return p;
}

Piece polygon(std::vector<Spot> points, const nimbo::Color& fill, uint32_t hotspot, const char* label) {
    Piece p;
    p.form = Form::Polygon;
    p.points = std::move(points), p.fill = fill, p.hotspot = hotspot, p.label = label;
    return p;
}

Piece stroke(std::vector<Spot> points, float width, const nimbo::Color& fill) {
    Piece p;
    p.form = Form::Stroke;
    p.points = std::move(points), p.width = width, p.fill = fill;
    return p;
}

std::vector<Piece> drawnUntil(const char* state, std::vector<Piece> pieces) {
    for (Piece& p : pieces) {
        p.until = state;
    }
    return pieces;
}

std::vector<Piece> drawnAfter(const char* state, std::vector<Piece> pieces) {
    for (Piece& p : pieces) {
        p.after = state;
    }
    return pieces;
}

std::vector<Piece> person(float x, float y, const nimbo::Color& clothes, uint32_t hotspot) {
    return {
        box(x - 7, y - 26, 5, 26, mix(clothes, BLACK, 0.4f), hotspot),
        box(x + 2, y - 26, 5, 26, mix(clothes, BLACK, 0.4f), hotspot),
        polygon({{x - 10, y - 50}, {x + 10, y - 50}, {x + 12, y - 24}, {x - 12, y - 24}}, clothes, hotspot),
        stroke({{x - 10, y - 48}, {x - 15, y - 30}}, 4, clothes),
        stroke({{x + 10, y - 48}, {x + 15, y - 30}}, 4, clothes),
        oval(x - 7, y - 64, 14, 15, SKIN, hotspot),
        oval(x - 7, y - 65, 14, 6, HAIR),
    };
}

morvec::Rectangle writeText(nimbo::Image& image, runelttf::FontTtf& font, const vessot::String& text, float x, float y,
                            const nimbo::Color& colour, float halo) {
    runel::Layout placed = layout(font, text);
    // The coverage of the text in a box around it, with room for the halo.
    const int margin = (int)std::ceil(halo) + 1;
    const int boxWidth = (int)std::ceil(placed.width) + 2 * margin;
    const int boxHeight = (int)std::ceil(placed.height) + 2 * margin;
    const int left = (int)std::lround(x - placed.width / 2) - margin;
    const int top = (int)std::lround(y - placed.height / 2) - margin;
    std::vector<float> cover((size_t)boxWidth * boxHeight, 0.0f);
    for (const runel::PlacedGlyph& g : placed.glyphs) {
        const nimbo::Image& page = font.getPageImage(g.glyph->page);
        const morvec::Rectangle& source = g.glyph->source;
        for (int j = 0; j < (int)source.h; ++j) {
            for (int i = 0; i < (int)source.w; ++i) {
                int bx = margin + (int)std::lround(g.dest.x) + i;
                int by = margin + (int)std::lround(g.dest.y) + j;
                if (bx >= 0 && by >= 0 && bx < boxWidth && by < boxHeight) {
                    float a = page.getPixel((int)source.x + i, (int)source.y + j).a / 255.0f;
                    cover[(size_t)by * boxWidth + bx] = std::max(cover[(size_t)by * boxWidth + bx], a);
                }
            }
        }
    }
    const int reach = (int)std::ceil(halo);
    for (int by = 0; by < boxHeight; ++by) {
        for (int bx = 0; bx < boxWidth; ++bx) {
            float shade = 0;
            for (int dy = -reach; dy <= reach && halo > 0; ++dy) {
                for (int dx = -reach; dx <= reach; ++dx) {
                    int sx = bx + dx, sy = by + dy;
                    if (sx >= 0 && sy >= 0 && sx < boxWidth && sy < boxHeight && dx * dx + dy * dy <= halo * halo) {
                        shade = std::max(shade, cover[(size_t)sy * boxWidth + sx]);
                    }
                }
            }
            int px = left + bx, py = top + by;
            if (px < 0 || py < 0 || px >= image.getWidth() || py >= image.getHeight()) {
                continue;
            }
            nimbo::Color c = mix(image.getPixel(px, py), nimbo::Color(12, 10, 16, 255), 0.85f * shade);
            image.setPixel(px, py, mix(c, colour, cover[(size_t)by * boxWidth + bx]));
        }
    }
    return morvec::Rectangle((float)(left + margin), (float)(top + margin), placed.width, placed.height);
}

float writtenWidth(runelttf::FontTtf& font, const vessot::String& text) {
    return layout(font, text).width;
}

namespace {

// Pieces alone on a clear cell of a picture, the cell's top left at (left, top) in pixels and the
// pieces in units from there.
void drawCell(nimbo::Image& image, int left, int top, int width, int height, const std::vector<Piece>& pieces) {
    Place cell{"", "", "", nimbo::Color::Clear, nimbo::Color::Clear, {}, nimbo::Color::Clear, pieces};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            float ux = (x + 0.5f) / PIXELS_PER_UNIT, uy = (y + 0.5f) / PIXELS_PER_UNIT;
            bool covered = false;
            for (const Piece& p : pieces) {
                covered = covered || depthInside(p, ux, uy) >= 0;
            }
            if (covered) {
                image.setPixel(left + x, top + y, placeColour(cell, ux, uy));
            }
        }
    }
}

} // namespace

void drawFigure(const nimbo::Color& clothes, const vessot::String& path) {
    const float width = 34, height = 68;
    nimbo::Image image((int)std::lround(width * PIXELS_PER_UNIT), (int)std::lround(height * PIXELS_PER_UNIT));
    drawCell(image, 0, 0, image.getWidth(), image.getHeight(), person(width / 2, height - 1, clothes));
    image.savePng(path);
}

void drawProps(const vessot::String& data, const std::vector<Prop>& props, int width, int height,
               const vessot::String& path) {
    Fonts fonts = loadFonts(data);
    nimbo::Image image(width, height, nimbo::Color::Clear);
    for (const Prop& prop : props) {
        drawCell(image, prop.left, prop.top, prop.width, prop.height, prop.pieces);
        for (const Piece& p : prop.pieces) {
            if (*p.label) {
                float left, top, right, bottom;
                bounds(p, left, top, right, bottom);
                writeText(image, *fonts.small, p.label, prop.left + (left + right) / 2 * PIXELS_PER_UNIT,
                          prop.top + (top + bottom) / 2 * PIXELS_PER_UNIT, WHITE, 1.5f);
            }
        }
    }
    image.savePng(path);
}

void drawPlace(const vessot::String& data, const Place& place) {
    Fonts fonts = loadFonts(data);
    vessot::String folder = data + "/chapters/" + place.chapter;
    for (const char* sub : {"/textures", "/hotspots", "/walk"}) {
        vessot::Dir::create(folder + sub);
    }
    vessot::Dir::create(data + "/shots");
    std::vector<Label> labels;
    drawPicture(place, fonts, {}, labels).savePng(folder + "/textures/" + place.name + "_hd.png");
    drawStates(place, fonts, folder, labels);
    writeLabels(labels, folder + "/hotspots/" + place.name + ".labels");
    drawHotspots(place, folder + "/hotspots/" + place.name + ".png");
    if (!place.floor.empty() && place.writesWalkMap) {
        writeWalkMap(place, folder + "/walk/" + place.name + ".walk");
    }
    drawThumbnail(place, fonts, data + "/shots/" + vessot::String(place.chapter) + "." + place.name + ".png");
}

} // namespace artgen
