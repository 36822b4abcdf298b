// The ship's rooms on the hint routes, below and behind the cockpit: the chart room above it, the
// kitchen with its oven, the cargo hold full of crates, the engine room, the router room with its
// cabinet of four coloured dials, and the drawing of the ship's wiring.
#include "PlaceArt.h"

#include <cmath>

namespace artgen {

namespace {

using nimbo::Color;

const Color WALL_TOP(46, 52, 66, 255);
const Color WALL_LOW(88, 94, 106, 255);
const Color DECK(74, 78, 88, 255);
const Color HATCH(150, 110, 70, 255);
const Color STEEL(120, 130, 146, 255);
const Color DARK_STEEL(70, 76, 88, 255);
const Color WOOD(140, 96, 52, 255);
const Color CRATE(168, 120, 64, 255);
const Color CHART(40, 70, 110, 255);
const Color STAR(250, 220, 120, 255);
const Color EMBER(240, 110, 40, 255);
const Color GLASS(120, 190, 230, 255);
const Color WIRE(150, 60, 170, 255);
const Color PAPER(226, 216, 186, 255);
const Color INK(40, 70, 110, 255);

void add(std::vector<Piece>& to, const std::vector<Piece>& pieces) {
    to.insert(to.end(), pieces.begin(), pieces.end());
}

Place room(const char* name, const char* title) {
    return {"ship", name, title, WALL_TOP, WALL_LOW, {{0, 270}, {426, 270}, {426, 320}, {0, 320}}, DECK, {}};
}

// A bulkhead door at a side of the room, its sign naming the room beyond.
std::vector<Piece> sideDoor(bool left, const char* label, uint32_t hotspot) {
    float x = left ? 4 : 372;
    return {box(x, 90, 50, 180, HATCH, hotspot), box(x + 8, 104, 34, 40, GLASS, hotspot),
            box(x - 2, 66, 54, 18, DARK_STEEL, hotspot, label)};
}

Place charts() {
    Place p = room("Charts", "CHART ROOM");
    p.pieces = {
        box(90, 30, 280, 180, CHART, 0xC69C6D, "STAR CHART"),
        oval(130, 60, 8, 8, STAR),
        oval(200, 90, 6, 6, STAR),
        oval(260, 70, 10, 10, STAR),
        oval(320, 140, 7, 7, STAR),
        oval(170, 160, 9, 9, GLASS),
        oval(290, 110, 14, 14, EMBER),
    };
    add(p.pieces, sideDoor(true, "COCKPIT", 0x0000FF));
    return p;
}

// A name plate under a thing, gone with it once it is taken.
Piece plate(float x, float y, float w, const char* label) {
    return box(x, y, w, 9, DARK_STEEL, 0, label);
}

// A coil of wire: loops drawn as strokes around the middle.
std::vector<Piece> coil(float x, float y, float r, const Color& colour) {
    std::vector<Piece> loops;
    for (int loop = 0; loop < 3; ++loop) {
        std::vector<Spot> points;
        for (int k = 0; k <= 16; ++k) {
            float a = k * 3.14159265f / 8;
            points.push_back({x + loop * 4 - 4 + r * std::cos(a), y + r * std::sin(a)});
        }
        loops.push_back(stroke(points, 2, colour));
    }
    return loops;
}

// The kitchen: the cupboard, shut with a disc and a hanky inside, stands open once they are taken,
// showing its plates and, until the cup for the medicine is taken, the cup; on the counter the bucket,
// the peeler and the soap, the coil of wire on its hook, each gone once taken (their plates apart, so
// that taking one leaves nothing of the other's edge). The hatch's sign sits above it and the oven's
// name on its body, which takes what is baked, clear of the marker a hint lays on the hatch and of
// the oven's window.
Place kitchen() {
    Place p = room("Kitchen", "KITCHEN");
    const Color shade(20, 16, 14, 255);
    p.pieces = {
        box(180, 40, 70, 100, STEEL, 0xFF00FF),
        box(186, 24, 58, 13, DARK_STEEL, 0xFF00FF, "HATCH"),
        box(70, 40, 80, 60, WOOD, 0x333300),
        stroke({{110, 42}, {110, 98}}, 1.2f, DARK_STEEL),
        oval(102, 66, 5, 5, STAR),
        oval(113, 66, 5, 5, STAR),
        box(74, 100, 72, 10, DARK_STEEL, 0, "CUPBOARD"),
    };
    add(p.pieces,
        drawnAfter("picked_up_disc", {box(72, 42, 76, 56, shade), box(72, 68, 76, 3, WOOD), box(56, 40, 14, 60, WOOD),
                                      box(150, 40, 14, 60, WOOD), oval(78, 56, 20, 12, PAPER),
                                      oval(100, 56, 20, 12, PAPER), oval(80, 84, 16, 12, PAPER)}));
    add(p.pieces, drawnUntil("cup_taken",
                             drawnAfter("picked_up_disc", {box(120, 82, 12, 14, GLASS),
                                                           stroke({{132, 85}, {136, 89}, {132, 93}}, 1.5f, GLASS)})));
    add(p.pieces, {box(60, 190, 180, 80, WOOD, 0, "COUNTER"),
                   // The hook of the coil of wire.
                   box(156, 108, 4, 12, DARK_STEEL)});
    add(p.pieces,
        drawnUntil("picked_up_bucket",
                   {polygon({{70, 166}, {100, 166}, {96, 190}, {74, 190}}, GLASS, 0x339966),
                    stroke({{72, 167}, {85, 154}, {98, 167}}, 1.5f, DARK_STEEL), plate(63, 192, 40, "BUCKET")}));
    add(p.pieces,
        drawnUntil("picked_up_peeler", {box(110, 180, 24, 10, Color::Clear, 0xCC9933), box(110, 183, 12, 6, WOOD),
                                        box(122, 184, 12, 4, STEEL), plate(106, 192, 36, "PEELER")}));
    add(p.pieces, drawnUntil("picked_up_wire", coil(158, 128, 7, WIRE)));
    add(p.pieces,
        drawnUntil("picked_up_wire", {box(146, 110, 24, 40, Color::Clear, 0x3333FF), plate(144, 152, 28, "WIRE")}));
    add(p.pieces,
        drawnUntil("liquid_soap_taken",
                   {box(200, 166, 20, 24, Color::Clear, 0x9999FF), box(202, 174, 16, 16, Color(140, 200, 110, 255)),
                    box(207, 168, 6, 6, PAPER), box(204, 166, 10, 3, PAPER), plate(194, 192, 32, "SOAP")}));
    add(p.pieces, {box(250, 150, 100, 120, DARK_STEEL, 0x009900), box(268, 176, 64, 44, EMBER, 0xFF99FF),
                   box(274, 244, 52, 14, STEEL, 0x009900, "OVEN")});
    add(p.pieces, sideDoor(true, "COCKPIT", 0xFFFF00));
    add(p.pieces, sideDoor(false, "CARGO", 0x0000FF));
    return p;
}

Place cargoHold() {
    Place p = room("CargoHold", "CARGO HOLD");
    p.pieces = {
        box(70, 170, 70, 100, CRATE, 0xCC99CC, "LOCATORS"),
        box(150, 200, 60, 70, CRATE, 0x0099CC, "MANUALS"),
        box(220, 150, 44, 120, STEEL, 0x6699CC, "SILICONE"),
        oval(274, 214, 90, 50, WOOD, 0x003366, "ROWBOAT"),
    };
    add(p.pieces, sideDoor(true, "KITCHEN", 0xFFFF00));
    add(p.pieces, sideDoor(false, "ENGINES", 0x0000FF));
    return p;
}

Place engineRoom() {
    Place p = room("EngineRoom", "ENGINE ROOM");
    p.pieces = {
        box(110, 70, 200, 200, STEEL, 0x00FF00, "ENGINE"),
        oval(150, 100, 40, 40, EMBER),
        oval(230, 100, 40, 40, EMBER),
    };
    add(p.pieces, sideDoor(true, "CARGO", 0xFFFF00));
    add(p.pieces, sideDoor(false, "ROUTER", 0xFF0033));
    return p;
}

// The router's four dials: their colours, hotspots and names, and the settings that route the
// signals (the Router scene's "combination_correct").
struct Dial {
    Color colour;
    uint32_t hotspot;
    const char* label;
    int setting;
};
const Dial DIALS[] = {{Color(220, 50, 50, 255), 0xCC3333, "RED", 2},
                      {Color(60, 200, 80, 255), 0x33CC33, "GREEN", 1},
                      {Color(60, 100, 230, 255), 0x3333CC, "BLUE", 2},
                      {STAR, 0xCCCC33, "YELLOW", 3}};
const char* const MARKS[] = {"0", "1", "2", "3"};

Place router() {
    Place p = room("Router", "ROUTER ROOM");
    p.pieces = {box(150, 50, 130, 200, DARK_STEEL, 0xFF0099), box(150, 28, 130, 18, DARK_STEEL, 0, "ROUTER"),
                box(170, 206, 90, 28, EMBER, 0xFF0099, "ROUTE")};
    // Four coloured dials of four settings each, marked 0 to 3 below the dial (the scene lights the
    // mark of the setting); each dial is a hotspot of its own.
    const Spot places[] = {{160, 58}, {226, 58}, {160, 130}, {226, 130}};
    for (int d = 0; d < 4; ++d) {
        const Spot& at = places[d];
        p.pieces.push_back(oval(at.x, at.y, 44, 44, DIALS[d].colour, DIALS[d].hotspot, DIALS[d].label));
        for (int k = 0; k < 4; ++k) {
            p.pieces.push_back(box(at.x + 1 + k * 11, at.y + 48, 9, 9, PAPER, 0, MARKS[k]));
        }
    }
    add(p.pieces, sideDoor(true, "ENGINES", 0x0000FF));
    return p;
}

// A close-up: the drawing held up to the eyes; its lower edge puts it away. From the locator's data
// it shows the router's dials: each colour's wire runs to the setting it is routed through.
Place schematics() {
    Place p{"ship", "Schematics", "WIRING", Color(20, 30, 60, 255), Color(10, 16, 34, 255), {}, DECK, {}};
    p.pieces = {box(40, 20, 346, 230, PAPER), box(140, 44, 190, 16, INK, 0, "ROUTER DIALS")};
    for (int d = 0; d < 4; ++d) {
        const float y = 92 + d * 40;
        const float target = 216 + DIALS[d].setting * 40 + 11;
        p.pieces.push_back(
            stroke({{124, y}, {146, y}, {146, y - 17}, {target, y - 17}, {target, y - 11}}, 3, DIALS[d].colour));
        p.pieces.push_back(box(60, y - 10, 64, 20, DIALS[d].colour, 0, DIALS[d].label));
        for (int k = 0; k < 4; ++k) {
            p.pieces.push_back(
                box(216 + k * 40, y - 11, 22, 22, k == DIALS[d].setting ? DIALS[d].colour : PAPER, 0, MARKS[k]));
        }
    }
    p.pieces.push_back(box(163, 262, 100, 40, HATCH, 0x0000FF, "PUT AWAY"));
    return p;
}

} // namespace

std::vector<Place> shipPlaces() {
    return {charts(), kitchen(), cargoHold(), engineRoom(), router(), schematics()};
}

} // namespace artgen
