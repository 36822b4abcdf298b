// The ship's rooms on the hint routes, below and behind the cockpit: the chart room above it, the
// kitchen with its oven, the cargo hold full of crates, the engine room, the router room with its
// cabinet of four coloured dials, and the drawing of the ship's wiring.
#include "PlaceArt.h"

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

Place kitchen() {
    Place p = room("Kitchen", "KITCHEN");
    p.pieces = {
        box(180, 40, 70, 100, STEEL, 0xFF00FF, "PLANET"),
        box(70, 40, 80, 60, WOOD, 0x333300, "CUPBOARD"),
        box(60, 190, 180, 80, WOOD, 0, "COUNTER"),
        oval(70, 160, 30, 30, GLASS, 0x339966, "BUCKET"),
        box(110, 180, 24, 10, STEEL, 0xCC9933),
        box(150, 110, 16, 40, WIRE, 0x3333FF),
        box(200, 168, 20, 22, STAR, 0x9999FF),
        box(250, 150, 100, 120, DARK_STEEL, 0x009900, "OVEN"),
        box(268, 176, 64, 44, EMBER, 0xFF99FF),
    };
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

Place router() {
    Place p = room("Router", "ROUTER ROOM");
    p.pieces = {box(150, 50, 130, 200, DARK_STEEL, 0xFF0099), box(150, 28, 130, 18, DARK_STEEL, 0, "ROUTER"),
                box(170, 206, 90, 28, EMBER, 0xFF0099, "ROUTE")};
    // Four coloured dials of four settings each, marked 0 to 3 below the dial (the scene lights the
    // mark of the setting); each dial is a hotspot of its own.
    struct Dial {
        float x, y;
        Color colour;
        uint32_t hotspot;
        const char* label;
    };
    const Dial dials[] = {{160, 58, Color(220, 50, 50, 255), 0xCC3333, "RED"},
                          {226, 58, Color(60, 200, 80, 255), 0x33CC33, "GREEN"},
                          {160, 130, Color(60, 100, 230, 255), 0x3333CC, "BLUE"},
                          {226, 130, STAR, 0xCCCC33, "YELLOW"}};
    const char* const marks[] = {"0", "1", "2", "3"};
    for (const Dial& d : dials) {
        p.pieces.push_back(oval(d.x, d.y, 44, 44, d.colour, d.hotspot, d.label));
        for (int k = 0; k < 4; ++k) {
            p.pieces.push_back(box(d.x + 1 + k * 11, d.y + 48, 9, 9, PAPER, 0, marks[k]));
        }
    }
    add(p.pieces, sideDoor(true, "ENGINES", 0x0000FF));
    return p;
}

// A close-up: the drawing held up to the eyes; its lower edge puts it away.
Place schematics() {
    Place p{"ship", "Schematics", "WIRING", Color(20, 30, 60, 255), Color(10, 16, 34, 255), {}, DECK, {}};
    p.pieces = {
        box(40, 20, 346, 230, PAPER),
        stroke({{80, 80}, {340, 80}, {340, 170}}, 3, INK),
        stroke({{80, 80}, {80, 200}}, 3, INK),
        stroke({{200, 80}, {200, 170}, {340, 170}}, 3, WIRE),
        box(120, 190, 40, 30, Color(170, 50, 40, 255)),
        box(163, 262, 100, 40, HATCH, 0x0000FF, "PUT AWAY"),
    };
    return p;
}

} // namespace

std::vector<Place> shipPlaces() {
    return {charts(), kitchen(), cargoHold(), engineRoom(), router(), schematics()};
}

} // namespace artgen
