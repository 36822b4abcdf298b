// The ship's deck: the corridor (twice the screen's width) with its doors to the cockpit and the
// galley, the coolant pipe with its two valves and the spot where Luna stands; the galley with its
// counter, locker, gear lock, lamp panel, beacon, screen, intercom, cooler, ceiling lamp and the hatch
// down to the planet; and their props. The areas carrying hotspots keep the shapes of the scenes'
// hotspot maps, which the scenes and their tests click.
#include "PlaceArt.h"

#include <cmath>

namespace artgen {

namespace {

using nimbo::Color;

const Color WALL_TOP(52, 58, 74, 255);
const Color WALL_LOW(98, 104, 118, 255);
const Color DECK(84, 90, 100, 255);
const Color CEILING(40, 44, 56, 255);
const Color RIB(74, 80, 96, 255);
const Color DOOR(96, 126, 150, 255);
const Color FRAME(58, 62, 74, 255);
const Color GLASS(140, 200, 230, 255);
const Color SPACE(12, 14, 34, 255);
const Color STAR(240, 240, 210, 255);
const Color SIGN(34, 40, 54, 255);
const Color PIPE(176, 110, 70, 255);
const Color VALVE(190, 60, 50, 255);
const Color BOLT(60, 56, 60, 255);
const Color LIGHT(250, 236, 180, 255);
const Color STRIPE(220, 180, 40, 255);
const Color GRILLE(52, 56, 66, 255);
const Color MAT(120, 60, 110, 255);
const Color RED(200, 50, 50, 255);
const Color GALLEY_TOP(96, 88, 78, 255);
const Color GALLEY_LOW(150, 136, 112, 255);
const Color TILES(128, 110, 92, 255);
const Color WOOD(150, 104, 60, 255);
const Color WORKTOP(190, 186, 176, 255);
const Color STEEL(140, 150, 164, 255);
const Color DARK_STEEL(70, 76, 88, 255);
const Color BRASS(196, 160, 70, 255);
const Color LAMP(250, 220, 120, 255);
const Color SCREEN(24, 40, 56, 255);
const Color INTERCOM(70, 120, 100, 255);
const Color COOLER(160, 178, 190, 255);

void add(std::vector<Piece>& to, const std::vector<Piece>& pieces) {
    to.insert(to.end(), pieces.begin(), pieces.end());
}

std::vector<Spot> floorFrom(float top, float width) {
    return {{0, top}, {width, top}, {width, 320}, {0, 320}};
}

// A sliding door on its area, with a frame, a window and a handle, and its sign above it.
std::vector<Piece> door(float x, float y, float w, float h, uint32_t hotspot, const char* label) {
    return {box(x - 6, y - 6, w + 12, h + 6, FRAME),
            box(x, y, w, h, DOOR, hotspot),
            box(x + 8, y + 12, w - 16, 40, GLASS),
            box(x + w - 12, y + 96, 6, 22, DARK_STEEL),
            stroke({{x + 4, y + h - 10}, {x + w - 4, y + h - 10}}, 3, STRIPE),
            box(x - 10, y - 30, w + 20, 18, SIGN, 0, label)};
}

// A round window onto space with a few stars.
std::vector<Piece> porthole(float x, float y, float size) {
    return {oval(x, y, size, size, FRAME), oval(x + 5, y + 5, size - 10, size - 10, SPACE),
            oval(x + size * 0.3f, y + size * 0.3f, 3, 3, STAR), oval(x + size * 0.62f, y + size * 0.45f, 2, 2, STAR),
            oval(x + size * 0.42f, y + size * 0.68f, 2, 2, STAR)};
}

// A valve box on the pipe: its area, four bolts and its name.
std::vector<Piece> valve(float x, float y, float w, float h, uint32_t hotspot) {
    return {box(x, y, w, h, VALVE, hotspot, "VALVE"), oval(x + 3, y + 3, 5, 5, BOLT),
            oval(x + w - 8, y + 3, 5, 5, BOLT), oval(x + 3, y + h - 8, 5, 5, BOLT),
            oval(x + w - 8, y + h - 8, 5, 5, BOLT)};
}

Place corridor() {
    const float width = 852;
    Place p{"ship", "Corridor", "CORRIDOR", WALL_TOP, WALL_LOW, floorFrom(250, width), DECK, {}};
    p.width = (int)width;
    // The hand-made walk map keeps a hole for the crate.
    p.writesWalkMap = false;
    p.pieces = {box(0, 0, width, 24, CEILING), box(0, 236, width, 14, FRAME)};
    // The wall's ribs and the ceiling's lights, every 106 units.
    for (float x = 100; x < width; x += 106) {
        add(p.pieces, {box(x, 24, 8, 212, RIB), box(x - 16, 24, 40, 6, LIGHT)});
    }
    add(p.pieces, porthole(150, 96, 56));
    add(p.pieces, porthole(452, 96, 56));
    // The hand rail along both walls, broken by the galley door.
    add(p.pieces, {stroke({{74, 182}, {318, 182}}, 4, STEEL), stroke({{398, 182}, {width, 182}}, 4, STEEL)});
    add(p.pieces, door(12, 80, 56, 180, 0x00FF00, "COCKPIT"));
    add(p.pieces, door(330, 80, 56, 180, 0x00FFFF, "GALLEY"));
    // The coolant pipe: down from the ceiling past the galley door, along the wall to the far end,
    // with its two valves.
    add(p.pieces, {box(424, 24, 14, 226, PIPE), box(424, 63, 176, 14, PIPE, 0, "COOLANT PIPE"),
                   box(670, 63, 30, 14, PIPE), box(750, 63, 102, 14, PIPE)});
    add(p.pieces, valve(600, 50, 70, 40, 0xFF00FF));
    add(p.pieces, valve(700, 56, 50, 30, 0xFF80FF));
    // Luna's spot: the engine vent she listens at and her mat on the deck.
    add(p.pieces, {box(516, 110, 88, 16, SIGN, 0, "LUNA'S SPOT"), box(520, 134, 80, 70, GRILLE)});
    for (float y = 144; y < 200; y += 10) {
        p.pieces.push_back(stroke({{528, y}, {592, y}}, 3, DARK_STEEL));
    }
    add(p.pieces, {box(536, 158, 48, 14, SIGN, 0, "ENGINES"), oval(530, 270, 60, 18, MAT)});
    // The fire extinguisher at the far end.
    add(p.pieces, {box(770, 120, 56, 16, RED, 0, "FIRE"), box(790, 150, 16, 50, RED), box(794, 142, 8, 10, BOLT)});
    return p;
}

Place galley() {
    Place p{"ship", "Galley", "GALLEY", GALLEY_TOP, GALLEY_LOW, floorFrom(262, 426), TILES, {}};
    // The hand-made walk map keeps to the front of the floor, clear of the hatch.
    p.writesWalkMap = false;
    p.pieces = {box(0, 0, 426, 16, CEILING), box(0, 252, 426, 10, FRAME),
                // The ceiling lamp's mount; the lamp itself is a prop that fades up.
                box(376, 16, 8, 6, DARK_STEEL), polygon({{364, 22}, {396, 22}, {402, 44}, {358, 44}}, STEEL)};
    // The door back to the corridor; the arrow marker shows above it.
    add(p.pieces, {box(6, 74, 68, 186, FRAME), box(12, 80, 56, 180, DOOR, 0x00FF00, "CORRIDOR"),
                   box(20, 92, 40, 40, GLASS), box(56, 176, 6, 22, DARK_STEEL)});
    // The cooler under the intercom, and the counter where Danny cooks, with a pot on it (its name
    // beside him).
    add(p.pieces,
        {box(76, 160, 40, 100, COOLER, 0, "COOLER"), box(82, 170, 4, 24, DARK_STEEL), box(120, 220, 176, 40, WOOD),
         box(116, 212, 184, 10, WORKTOP), box(236, 232, 54, 14, SIGN, 0, "COUNTER"), oval(126, 198, 24, 16, DARK_STEEL),
         box(124, 196, 28, 4, DARK_STEEL)});
    // The locker on the wall, two doors with their handles.
    add(p.pieces, {box(150, 150, 120, 60, WOOD, 0xFF8000, "LOCKER"), stroke({{210, 152}, {210, 208}}, 1.5f, FRAME),
                   box(200, 156, 4, 12, BRASS), box(216, 156, 4, 12, BRASS)});
    // The gear lock: three gears on a plate.
    add(p.pieces,
        {box(110, 30, 64, 56, BRASS, 0x80FF00), oval(116, 36, 22, 22, DARK_STEEL), oval(136, 42, 18, 18, STEEL),
         oval(152, 34, 16, 16, DARK_STEEL), box(112, 70, 60, 14, SIGN, 0, "GEAR LOCK")});
    // The lamp panel and its four lamps.
    add(p.pieces,
        {box(196, 36, 110, 44, DARK_STEEL, 0x8000FF), oval(207, 50, 16, 16, LAMP), oval(233, 50, 16, 16, LAMP),
         oval(259, 50, 16, 16, LAMP), oval(285, 50, 16, 16, LAMP), box(200, 68, 102, 10, SIGN, 0, "LAMP PANEL")});
    // The beacon above the locker (its clip plays on it) and its name.
    add(p.pieces, {box(168, 88, 84, 52, SCREEN), box(180, 140, 60, 9, SIGN, 0, "BEACON")});
    // The screen of the title reel (its clip plays on it).
    add(p.pieces, {box(306, 92, 112, 64, SCREEN, 0x00C0FF), box(326, 158, 72, 12, SIGN, 0, "SCREEN")});
    // The hatch down to the planet: a round lid with a wheel, and the sign above it.
    add(p.pieces, {box(310, 188, 80, 14, SIGN, 0, "TO THE SURFACE"), oval(300, 210, 100, 70, DARK_STEEL, 0xFFFF00),
                   oval(310, 217, 80, 56, STEEL), stroke({{326, 245}, {374, 245}}, 4, DARK_STEEL),
                   stroke({{350, 223}, {350, 267}}, 4, DARK_STEEL), oval(334, 234, 32, 22, STEEL, 0, "HATCH")});
    // The intercom to the ship's computer: a speaker and a button.
    add(p.pieces, {box(90, 104, 36, 48, INTERCOM, 0x40FFC0), box(96, 110, 24, 16, DARK_STEEL),
                   oval(103, 130, 10, 10, RED), box(88, 140, 40, 10, SIGN, 0, "INTERCOM")});
    return p;
}

} // namespace

std::vector<Place> shipDeckPlaces() {
    return {corridor(), galley()};
}

void drawShipProps(const vessot::String& data) {
    // The crate of 50 x 60 units in the corridor, the galley's ceiling lamp of 40 x 26 and the spare
    // fuse of 20 x 14 that lies hidden on its wall.
    std::vector<Piece> crate = {box(0.5f, 0.5f, 49, 59, WOOD, 0, ""), stroke({{4, 4}, {46, 56}}, 4, DARK_STEEL),
                                stroke({{46, 4}, {4, 56}}, 4, DARK_STEEL), box(8, 24, 34, 12, SIGN, 0, "CARGO")};
    std::vector<Piece> lamp = {oval(2, 1, 36, 24, LAMP), oval(10, 5, 20, 10, Color(255, 250, 220, 255))};
    std::vector<Piece> fuse = {box(0.5f, 3, 19, 8, GLASS), box(0.5f, 2, 4, 10, BRASS), box(15.5f, 2, 4, 10, BRASS),
                               stroke({{5, 7}, {15, 7}}, 1, DARK_STEEL)};
    drawProps(data, {{0, 0, 94, 113, crate}, {96, 0, 75, 49, lamp}, {96, 52, 38, 26, fuse}}, 256, 128,
              data + "/chapters/ship/textures/props_hd.png");
}

} // namespace artgen
