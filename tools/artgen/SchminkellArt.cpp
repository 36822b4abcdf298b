// The places of Schminkell 7: a violet outpost of smooth walls and glowing panels. Each scene's
// hotspot ids are the ones its scene file binds (data/chapters/schminkell7/scenes).
#include "SchminkellArt.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace artgen {

namespace {

using nimbo::Color;

const Color SKY_TOP(40, 20, 64, 255);
const Color SKY_LOW(150, 90, 170, 255);
const Color DUST(120, 110, 130, 255);
const Color ROCK(90, 80, 100, 255);
const Color WALL_TOP(46, 52, 78, 255);
const Color WALL_LOW(84, 96, 126, 255);
const Color FLOOR(64, 70, 92, 255);
const Color HULL(150, 160, 190, 255);
const Color DOOR(90, 120, 170, 255);
const Color PANEL(36, 40, 62, 255);
const Color GLOW(110, 230, 220, 255);
const Color SCREEN(40, 150, 190, 255);
const Color CLAY(170, 120, 90, 255);
const Color CRYSTAL_RED(210, 60, 70, 255);
const Color CRYSTAL_BLUE(70, 120, 230, 255);
const Color TITANIUM(180, 186, 196, 255);
const Color ION(240, 140, 60, 255);
const Color PAPER(230, 220, 190, 255);
const Color CORK(176, 132, 80, 255);
const Color SLAB(60, 150, 150, 255);
const Color MOUNTAIN(110, 96, 80, 255);
const Color FENCE(150, 150, 160, 255);
const Color BOAT(150, 100, 56, 255);
const Color LIGHT(236, 244, 255, 255);

// The floor from the back wall's foot to the front edge.
constexpr float GROUND = 235;

void add(std::vector<Piece>& to, const std::vector<Piece>& pieces) {
    to.insert(to.end(), pieces.begin(), pieces.end());
}

std::vector<Spot> ground() {
    return {{0, GROUND}, {426, GROUND}, {426, 320}, {0, 320}};
}

Place room(const char* name, const char* title) {
    return {"schminkell7", name, title, WALL_TOP, WALL_LOW, ground(), FLOOR, {}};
}

// A sliding door in the back wall with its sign above; both lead through it.
std::vector<Piece> door(float x, const char* label, uint32_t hotspot) {
    return {box(x, GROUND - 120, 56, 120, DOOR, hotspot), box(x + 8, GROUND - 112, 40, 104, PANEL, hotspot),
            box(x - 10, GROUND - 146, 76, 20, PANEL, hotspot, label)};
}

// A slab sunk into the floor: a flat oval where a character can stand.
Piece slab(float x, float y, uint32_t hotspot) {
    return oval(x, y, 100, 30, SLAB, hotspot, "SLAB");
}

Place entrance() {
    Place p{"schminkell7", "Entrance", "OUTPOST ENTRANCE", SKY_TOP, SKY_LOW, ground(), DUST, {}};
    p.pieces = {
        oval(40, 30, 40, 40, Color(230, 220, 250, 255)),
        oval(92, 52, 18, 18, Color(200, 180, 230, 255)),
        polygon({{0, GROUND}, {70, 180}, {140, 215}, {200, 170}, {250, GROUND}}, ROCK),
        // The outpost's wall and its door.
        box(236, 70, 190, 165, HULL),
        polygon({{226, 74}, {331, 30}, {426, 60}, {426, 74}}, PANEL),
        box(300, 115, 64, 120, DOOR, 0x0000FF, "DOOR"),
        box(252, 90, 40, 24, GLOW),
        // The fence along the path, one of its pieces loose.
        box(30, 178, 150, 8, FENCE, 0x006699),
        box(30, 204, 150, 8, FENCE, 0x006699),
    };
    for (float x = 34; x < 180; x += 36) {
        p.pieces.push_back(box(x, 166, 8, 74, FENCE, 0x006699));
    }
    p.pieces.push_back(box(60, 186, 90, 18, PANEL, 0x006699, "FENCE"));
    // A loose piece of the fence leans on it until taken.
    add(p.pieces, drawnUntil("taken_fence_piece", {stroke({{190, 236}, {200, 170}}, 6, FENCE)}));
    return p;
}

Place replicator() {
    Place p = room("Replicator", "REPLICATOR HALL");
    p.statesOver = {{"crystal_replaced", "no_crystal"}};
    p.pieces = {
        box(230, 60, 110, 175, HULL, 0xFF0000),
        box(246, 130, 78, 90, PANEL, 0xFF0000, "REPLICATOR"),
        box(262, 78, 46, 28, PANEL, 0xC4DF9B),
        box(260, 108, 50, 10, PANEL, 0, "SOCKET"),
        oval(90, 196, 64, 44, CLAY, 0x0000FF, "CLAY VAT"),
    };
    // The dull crystal in its socket until taken out, the purple one once it is put in.
    add(p.pieces, drawnUntil("no_crystal", {polygon({{270, 104}, {285, 82}, {300, 104}}, Color(110, 120, 150, 255))}));
    add(p.pieces,
        drawnAfter("crystal_replaced", {polygon({{270, 104}, {285, 82}, {300, 104}}, Color(170, 70, 210, 255))}));
    add(p.pieces, door(14, "ENTRANCE", 0xFFFF00));
    add(p.pieces, door(152, "STORAGE", 0x00FF00));
    add(p.pieces, door(358, "COMPUTER", 0x00FFFF));
    return p;
}

Place storage() {
    Place p = room("Storage", "STORAGE ROOM");
    p.pieces = {
        // The moon model's empty cradle above the slab.
        oval(176, 40, 76, 76, PANEL),
        box(84, 110, 44, 10, PANEL),
        box(130, 56, 34, 40, PAPER, 0xCC66FF, "NOTE"),
        box(288, 170, 66, 66, PANEL, 0x6666FF),
        box(294, 196, 54, 16, GLOW, 0x6666FF, "DISPLACER"),
        box(300, 122, 44, 36, SCREEN, 0xFF6699, "CONTROLS"),
        slab(164, 262, 0x006666),
    };
    // The red crystal on its shelf, the titanium box and the ion cube of the dispensers, each gone while
    // taken.
    add(p.pieces, drawnUntil("taken_red_crystal",
                             {polygon({{94, 110}, {106, 84}, {118, 110}}, CRYSTAL_RED, 0x996600, "RED CRYSTAL")}));
    add(p.pieces, drawnUntil("taken_box", {box(84, 192, 48, 43, TITANIUM, 0x336600, "BOX")}));
    add(p.pieces, drawnUntil("taken_ion_cube", {box(140, 208, 28, 27, ION, 0xFF6633, "ION CUBE")}));
    add(p.pieces, door(14, "REPLICATOR", 0xFFFF00));
    add(p.pieces, door(358, "SAUCER", 0x0000FF));
    return p;
}

Place saucer() {
    Place p = room("Saucer", "SAUCER BAY");
    p.pieces = {
        // The tunnel the mountain of rubble blocks until it is moved.
        polygon({{250, GROUND}, {262, 110}, {300, 86}, {338, 110}, {350, GROUND}}, PANEL, 0x666633, "TUNNEL"),
        box(60, 128, 34, 32, PANEL, 0x996600, "MOULD RACK"),
        // The canister socket, its name on a plate below it.
        box(104, 60, 40, 30, SCREEN, 0x0099FF),
        box(112, 63, 24, 25, PANEL),
        box(100, 92, 48, 10, PANEL, 0, "SOCKET"),
        box(170, 190, 74, 45, PANEL, 0x9933FF, "WORKSPACE"),
        box(176, 152, 32, 30, TITANIUM, 0x0066CC, "MOULD"),
        box(212, 152, 30, 30, ION, 0xFF33FF, "PRESS"),
        slab(150, 262, 0x6666FF),
    };
    // The blue crystal, the canister and the cork, each gone once taken.
    add(p.pieces, drawnUntil("taken_blue_crystal",
                             {polygon({{132, 150}, {142, 122}, {152, 150}}, CRYSTAL_BLUE, 0xFF9900, "BLUE CRYSTAL")}));
    add(p.pieces, drawnUntil("taken_canister", {box(86, 196, 24, 39, GLOW, 0x006666, "CANISTER")}));
    add(p.pieces, drawnUntil("taken_cork", {oval(116, 222, 18, 13, CORK, 0x006600, "CORK")}));
    // The charged canister in its socket, until its drive has taken the rowboat away.
    add(p.pieces,
        drawnAfter("canister_visible", {box(119, 64, 10, 3, TITANIUM), box(116, 67, 16, 20, GLOW, 0, "CANISTER")}));
    // The heavy titanium box on the slab, beside the one who stands on it.
    add(p.pieces, drawnAfter("box_on_saucer_slab", {box(154, 244, 36, 28, TITANIUM, 0, "HEAVY BOX")}));
    // The light strips along the ceiling, dark until the ion shape wakes the bay, then lit, each
    // shining down the wall: nested beams, brighter toward the strip.
    for (float x = 18; x < 426; x += 82) {
        add(p.pieces, drawnUntil("ion_shape_in", {box(x, 4, 60, 6, PANEL)}));
        for (float spread = 16; spread > 0; spread -= 4) {
            add(p.pieces,
                drawnAfter(
                    "ion_shape_in",
                    {polygon({{x, 8}, {x + 60, 8}, {x + 60 + spread, 16 + 2 * spread}, {x - spread, 16 + 2 * spread}},
                             Color(230, 240, 255, 34))}));
        }
        add(p.pieces,
            drawnAfter("ion_shape_in", {oval(x - 4, 1, 68, 12, Color(240, 246, 255, 90)), box(x, 4, 60, 6, LIGHT)}));
    }
    add(p.pieces, door(14, "STORAGE", 0x0000FF));
    add(p.pieces, door(358, "COMPUTER", 0xFFFF00));
    return p;
}

Place computer() {
    Place p = room("Computer", "COMPUTER ROOM");
    p.statesOver = {{"cork_hammered", "cork_inside"}};
    p.pieces = {
        box(150, 70, 130, 140, PANEL, 0x00AEF0),
        box(162, 82, 106, 70, SCREEN, 0x00AEF0, "COMPUTER"),
        oval(164, 170, 26, 26, Color(16, 14, 24, 255), 0x333366, "HOLE"),
        box(204, 168, 50, 30, ION, 0x006600, "CUBE SOCKET"),
        box(86, 96, 56, 48, TITANIUM, 0x666600, "HARDENER"),
        box(86, 150, 56, 50, HULL, 0xCC6600, "MOULD PRESS"),
        box(292, 96, 52, 50, SCREEN, 0x9966CC, "FILLER"),
        box(292, 156, 52, 46, TITANIUM, 0xFF6666, "MOULD BOX"),
        slab(232, 262, 0x66CC66),
    };
    // The heavy rowboat on the slab (the scene shows it until its drive has taken it away).
    add(p.pieces, drawnAfter("rowboat_on_computer_slab", {oval(240, 246, 84, 26, BOAT, 0, "ROWBOAT"),
                                                          oval(250, 251, 64, 14, Color(100, 66, 36, 255))}));
    // The cork in the hole, sticking out, then hammered flush.
    add(p.pieces, drawnUntil("cork_hammered", drawnAfter("cork_inside", {oval(168, 174, 18, 18, CORK, 0x333366),
                                                                         box(172, 160, 10, 16, CORK, 0x333366)})));
    add(p.pieces, drawnAfter("cork_hammered", {oval(168, 174, 18, 18, CORK, 0x333366)}));
    add(p.pieces, door(14, "REPLICATOR", 0x0000FF));
    add(p.pieces, door(358, "SAUCER", 0xFFFF00));
    return p;
}

// A picture of the props texture: every pixel the paint covers, 4 x 4 samples a pixel, over nothing.
void paint(nimbo::Image& image, int x0, int y0, int w, int h, const Color& colour,
           const std::function<float(float, float)>& cover) {
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            float sum = 0;
            for (int s = 0; s < 16; ++s) {
                sum += cover(x + (s % 4 + 0.5f) / 4, y + (s / 4 + 0.5f) / 4);
            }
            if (sum > 0) {
                image.setPixel(x0 + x, y0 + y,
                               Color(colour.r, colour.g, colour.b, (uint8_t)std::lround(255 * sum / 16)));
            }
        }
    }
}

} // namespace

std::vector<Place> schminkellPlaces() {
    return {entrance(), replicator(), storage(), saucer(), computer()};
}

void drawSchminkellProps(const vessot::String& data) {
    // Three cells of 128 x 128 in a row: the moon model, the light of a slab in use, the mountain of
    // rubble in front of the saucer bay's tunnel.
    nimbo::Image image(384, 128, Color::Clear);
    paint(image, 0, 0, 128, 128, Color(236, 232, 200, 255),
          [](float x, float y) { return std::hypot(x - 64, y - 64) <= 60 ? 1.0f : 0.0f; });
    paint(image, 128, 0, 128, 128, GLOW, [](float x, float y) {
        float d = std::hypot((x - 64) / 62, (y - 64) / 22);
        return d <= 1 ? 0.85f * (1 - d * d) : 0.0f;
    });
    paint(image, 256, 0, 128, 128, MOUNTAIN, [](float x, float y) {
        float top = 20 + std::fabs(x - 64) * 1.2f + 6 * std::sin(x * 0.3f);
        return x > 2 && x < 126 && y >= top ? 1.0f : 0.0f;
    });
    image.savePng(data + "/chapters/schminkell7/textures/slab_props_hd.png");
}

} // namespace artgen
