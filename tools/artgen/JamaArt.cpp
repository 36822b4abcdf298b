// The places of Jama Spacea, the first planet: a dusty orange world of a crossroads, a motel, a lake
// with a pier and a dam, a windmill, a park, a cemetery with a crypt below, and the crashed saucer.
#include "PlaceArt.h"

#include "runel/FontTtf.h"

#include <cmath>

namespace artgen {

namespace {

using nimbo::Color;

const Color SKY_TOP(214, 126, 72, 255);
const Color SKY_LOW(248, 196, 128, 255);
const Color SAND(172, 120, 70, 255);
const Color GRASS(112, 140, 64, 255);
const Color HILL(150, 92, 60, 255);
const Color SUN(255, 232, 150, 255);
const Color WATER(70, 120, 170, 255);
const Color WOOD(150, 100, 56, 255);
const Color DARK_WOOD(96, 60, 34, 255);
const Color STONE(150, 146, 140, 255);
const Color DARK_STONE(84, 80, 86, 255);
const Color STEEL(120, 130, 146, 255);
const Color GLASS(140, 200, 230, 255);
const Color WALL(214, 190, 150, 255);
const Color ROOF(160, 60, 50, 255);
const Color PAPER(236, 222, 180, 255);
const Color LEAF(70, 120, 50, 255);
const Color BARK(120, 80, 44, 255);
const Color BRASS(196, 160, 70, 255);
const Color SOIL(110, 72, 40, 255);
const Color IRON(70, 72, 80, 255);
const Color RED(190, 50, 40, 255);
const Color VORNE(60, 80, 150, 255);
const Color FUSE(60, 140, 60, 255);

Color mixed(const Color& a, const Color& b, float t) {
    return Color((uint8_t)(a.r + (b.r - a.r) * t), (uint8_t)(a.g + (b.g - a.g) * t), (uint8_t)(a.b + (b.b - a.b) * t),
                 255);
}

// A wooden sign on a post: the board carries the label and the hotspot.
std::vector<Piece> sign(float x, float y, float w, const char* label, uint32_t hotspot) {
    return {box(x + w / 2 - 2, y + 14, 4, 30, DARK_WOOD), box(x, y, w, 18, WOOD, hotspot, label)};
}

// A strip at a side of the ground that leads on, with its sign above it.
std::vector<Piece> sideExit(bool left, float groundTop, const char* label, uint32_t hotspot, float signWidth = 76) {
    float x = left ? 0 : 426 - 18;
    std::vector<Piece> pieces = {box(x, groundTop, 18, 320 - groundTop, mixed(SAND, DARK_WOOD, 0.3f), hotspot)};
    for (const Piece& p : sign(left ? 4 : 422 - signWidth, groundTop - 44, signWidth, label, hotspot)) {
        pieces.push_back(p);
    }
    return pieces;
}

void add(std::vector<Piece>& to, const std::vector<Piece>& pieces) {
    to.insert(to.end(), pieces.begin(), pieces.end());
}

std::vector<Spot> ground(float top) {
    return {{0, top}, {426, top}, {426, 320}, {0, 320}};
}

Place outdoors(const char* name, const char* title, float groundTop, const Color& groundColour) {
    return {"jama_spacea", name, title, SKY_TOP, SKY_LOW, ground(groundTop), groundColour, {}};
}

Place landingSite() {
    Place p = outdoors("LandingSite", "LANDING SITE", 236, SAND);
    p.pieces = {
        oval(330, 26, 50, 50, SUN),
        polygon({{0, 236}, {50, 200}, {120, 226}, {190, 186}, {280, 224}, {350, 194}, {426, 222}, {426, 236}}, HILL),
        stroke({{78, 180}, {62, 252}}, 7, IRON),
        stroke({{210, 180}, {226, 252}}, 7, IRON),
        oval(40, 96, 210, 100, STEEL),
        oval(105, 74, 80, 50, GLASS),
        oval(60, 134, 14, 14, GLASS),
        oval(212, 134, 14, 14, GLASS),
        // The ramp up into the ship.
        polygon({{122, 170}, {166, 170}, {184, 264}, {104, 264}}, mixed(STEEL, IRON, 0.5f), 0x0000FF, "SHIP"),
        oval(18, 272, 44, 20, STONE),
        oval(268, 292, 34, 14, STONE),
    };
    add(p.pieces, sideExit(false, 236, "CROSSROADS", 0xFFFF00, 86));
    return p;
}

// A name plate under a thing of the landing.
Piece plate(float x, float y, float w, const char* label) {
    return box(x, y, w, 10, IRON, 0, label);
}

// Where the galley's hatch comes down: the ship on its legs with its ramp to the ground; the torn
// picture of the ship pinned over a supply rack with a robot, a crate and a scanner on its shelf; a
// service gantry above the ship with a lever, a coin slot, an antenna dish and a signpost; the tile
// tablet on a rock, a cache on a rock pillar with the fuel tank below; and on the ground a plant, a
// rock, a marker stone, a radio, a critter and a power socket. The ground drawn reaches further back
// than the walk map, which is kept by hand.
Place landing() {
    Place p = outdoors("Landing", "LANDING", 236, SAND);
    p.writesWalkMap = false;
    p.pieces = {
        oval(364, 22, 40, 40, SUN),
        polygon({{0, 236}, {40, 206}, {110, 228}, {200, 196}, {300, 222}, {370, 200}, {426, 218}, {426, 236}}, HILL),
        // The gantry and the rack behind the ship.
        box(121, 50, 6, 190, IRON),
        box(314, 50, 6, 186, IRON),
        box(2, 56, 6, 184, DARK_WOOD),
        box(120, 50, 200, 10, IRON),
        // The ship on its legs, its hatch open over the ramp.
        stroke({{150, 170}, {130, 244}}, 7, IRON),
        stroke({{282, 170}, {302, 244}}, 7, IRON),
        oval(176, 60, 80, 50, GLASS),
        oval(112, 90, 208, 90, STEEL, 0, "SHIP"),
        oval(134, 124, 14, 14, GLASS),
        oval(284, 124, 14, 14, GLASS),
        box(158, 158, 114, 14, Color(250, 226, 160, 255)),
        // The ramp down from the hatch, in the shade under the hull.
        box(150, 170, 130, 100, mixed(SAND, IRON, 0.6f), 0x00FF00),
        polygon({{166, 170}, {264, 170}, {280, 270}, {150, 270}}, STEEL),
    };
    for (float y = 184; y < 268; y += 12) {
        float side = (y - 170) * 16 / 100;
        p.pieces.push_back(stroke({{168 - side, y}, {262 + side, y}}, 2, IRON));
    }
    add(p.pieces, {stroke({{166, 160}, {150, 270}}, 4, IRON), stroke({{264, 160}, {280, 270}}, 4, IRON),
                   box(186, 206, 58, 18, IRON, 0, "RAMP")});
    // The board with the torn picture of the ship pinned to it, over the rack's shelf.
    const std::vector<Spot> torn = {{38, 66},   {70, 64},   {76, 72},  {84, 64},  {118, 67}, {116, 90},
                                    {120, 104}, {104, 108}, {96, 102}, {86, 108}, {40, 106}, {36, 88}};
    add(p.pieces, {box(30, 60, 96, 64, WOOD, 0xFF0080), polygon(torn, PAPER), oval(56, 76, 44, 16, STEEL),
                   oval(70, 70, 16, 10, GLASS), stroke({{80, 64}, {92, 108}}, 1.5f, SOIL), box(2, 178, 125, 8, WOOD)});
    // Its plate names it torn until the puzzle has made it whole.
    add(p.pieces, drawnUntil("picture_solved", {box(36, 109, 84, 12, DARK_WOOD, 0, "TORN PICTURE")}));
    add(p.pieces, drawnAfter("picture_solved", {box(36, 109, 84, 12, DARK_WOOD, 0, "SHIP PICTURE")}));
    // On the shelf: the robot, the crate and the scanner.
    add(p.pieces, {box(6, 134, 34, 44, STEEL, 0x808080), oval(11, 141, 9, 9, GLASS), oval(26, 141, 9, 9, GLASS),
                   box(12, 156, 22, 6, IRON), box(8, 168, 30, 10, IRON), plate(4, 187, 38, "ROBOT")});
    add(p.pieces, {box(46, 140, 34, 34, WOOD, 0x804000), stroke({{49, 143}, {77, 171}}, 3, DARK_WOOD),
                   stroke({{77, 143}, {49, 171}}, 3, DARK_WOOD), plate(42, 187, 38, "CRATE")});
    add(p.pieces, {oval(86, 140, 34, 34, STEEL, 0x008080), oval(92, 146, 22, 22, Color(60, 160, 90, 255)),
                   stroke({{103, 148}, {103, 166}}, 1, IRON), stroke({{94, 157}, {112, 157}}, 1, IRON),
                   plate(84, 187, 42, "SCANNER")});
    // On the gantry: the lever, the coin slot, the antenna dish and the signpost.
    add(p.pieces, {box(150, 16, 34, 34, IRON, 0xC00000), box(154, 38, 26, 8, DARK_STONE),
                   stroke({{162, 42}, {174, 22}}, 3, STONE), oval(170, 17, 9, 9, RED), plate(146, 50, 38, "LEVER")});
    add(p.pieces, {box(190, 16, 34, 34, BRASS, 0x000040), box(203, 22, 8, 14, IRON), oval(200, 38, 14, 6, IRON),
                   plate(186, 50, 38, "COIN SLOT")});
    add(p.pieces, {oval(230, 16, 34, 34, STONE, 0x00C0C0), oval(237, 23, 20, 20, mixed(STONE, IRON, 0.3f)),
                   stroke({{247, 33}, {258, 20}}, 2, IRON), oval(255, 17, 6, 6, RED), plate(230, 50, 38, "ANTENNA")});
    add(p.pieces,
        {box(270, 16, 34, 34, WOOD, 0x4040C0), polygon({{274, 22}, {294, 22}, {300, 28}, {294, 34}, {274, 34}}, PAPER),
         polygon({{280, 38}, {300, 38}, {300, 46}, {280, 46}, {274, 42}}, PAPER), plate(272, 50, 38, "SIGNPOST")});
    // The tile tablet on its rock: a stone slab of nine tiles.
    add(p.pieces, {polygon({{284, 250}, {292, 200}, {330, 186}, {376, 196}, {392, 250}}, DARK_STONE),
                   box(300, 120, 72, 72, STONE, 0x0080FF)});
    for (int tile = 0; tile < 9; ++tile) {
        float x = 306 + (tile % 3) * 20, y = 126 + (tile / 3) * 14;
        p.pieces.push_back(box(x, y, 18, 12, tile % 2 ? BRASS : mixed(STONE, WALL, 0.6f)));
    }
    add(p.pieces, {box(302, 172, 68, 16, DARK_STONE, 0, "TILE TABLET")});
    // The rock pillar with the locked cache on top and the fuel tank at its foot.
    add(p.pieces,
        {polygon({{380, 236}, {384, 160}, {402, 150}, {424, 156}, {426, 236}}, HILL),
         box(388, 120, 34, 34, IRON, 0x408000), box(392, 128, 26, 4, DARK_STONE), oval(398, 136, 14, 12, BRASS),
         plate(386, 160, 38, "CACHE"), box(388, 204, 34, 44, RED, 0xC000C0, "FUEL"), box(388, 212, 34, 3, DARK_STONE),
         box(388, 238, 34, 3, DARK_STONE), box(398, 198, 14, 6, IRON)});
    // Opened with the spanner, the cache's door hangs open on its hinge beside the dark hollow, the
    // crew's note inside.
    add(p.pieces,
        drawnAfter("cache_open", {box(388, 120, 34, 34, IRON), box(391, 123, 28, 28, Color(30, 24, 22, 255)),
                                  box(397, 138, 16, 10, PAPER), stroke({{400, 142}, {410, 142}}, 1, IRON),
                                  box(378, 118, 10, 36, mixed(IRON, STONE, 0.3f)), oval(380, 134, 6, 6, BRASS)}));
    // On the ground either side of the ramp's foot, clear of the interface's buttons in the bottom
    // corners: the plant, the rock, the marker stone, the radio, the critter and the socket.
    add(p.pieces, {oval(80, 262, 34, 34, LEAF, 0x00C000), oval(86, 266, 14, 14, GRASS), oval(96, 276, 14, 14, GRASS),
                   plate(78, 298, 38, "PLANT")});
    add(p.pieces, {oval(120, 266, 34, 30, STONE, 0x606060), plate(118, 298, 38, "ROCK")});
    add(p.pieces, {box(160, 262, 34, 34, DARK_STONE, 0xC0C000), stroke({{168, 270}, {186, 288}}, 2, BRASS),
                   stroke({{186, 270}, {168, 288}}, 2, BRASS), plate(158, 298, 38, "MARKER")});
    add(p.pieces, {stroke({{298, 264}, {308, 244}}, 1.5f, IRON), box(270, 262, 34, 34, IRON, 0x0000C0),
                   box(274, 268, 14, 22, DARK_STONE), oval(292, 272, 8, 8, BRASS), plate(268, 298, 38, "RADIO")});
    add(p.pieces, {oval(312, 262, 8, 10, Color(220, 150, 60, 255)), oval(334, 262, 8, 10, Color(220, 150, 60, 255)),
                   oval(310, 266, 34, 30, Color(220, 150, 60, 255), 0xC08000), oval(318, 274, 6, 6, IRON),
                   oval(330, 274, 6, 6, IRON), plate(308, 298, 38, "CRITTER")});
    add(p.pieces, {box(350, 262, 34, 34, STONE, 0x400040), oval(357, 272, 8, 10, IRON), oval(369, 272, 8, 10, IRON),
                   plate(348, 298, 38, "SOCKET")});
    return p;
}

Place crossroads() {
    Place p = outdoors("Crossroads", "CROSSROADS", 240, SAND);
    p.pieces = {
        polygon({{0, 240}, {60, 206}, {150, 232}, {260, 196}, {340, 230}, {426, 204}, {426, 240}}, HILL),
        // The road into the distance, to the motel.
        polygon({{186, 240}, {240, 240}, {222, 150}, {204, 150}}, mixed(SAND, WALL, 0.5f), 0xFF9A00),
        box(178, 124, 70, 20, WOOD, 0xFF9A00, "MOTEL"),
        // The signpost with its three boards.
        box(106, 150, 7, 112, DARK_WOOD, 0xFEC689),
        polygon({{70, 150}, {136, 150}, {146, 159}, {136, 168}, {70, 168}}, PAPER, 0xFEC689, "NORTH"),
        polygon({{84, 172}, {150, 172}, {150, 190}, {84, 190}, {74, 181}}, PAPER, 0xFEC689, "WEST"),
        polygon({{76, 194}, {142, 194}, {152, 203}, {142, 212}, {76, 212}}, PAPER, 0xFEC689, "SOUTH"),
        // The flint stone and a chip of it.
        polygon({{276, 262}, {290, 226}, {330, 216}, {362, 236}, {366, 262}}, STONE, 0xFF9ACF, "STONE"),
    };
    add(p.pieces, drawnUntil("taken_flint", {oval(372, 264, 18, 10, DARK_STONE, 0x9A9AFF)}));
    add(p.pieces, sideExit(true, 240, "LANDING", 0xFFFF00));
    add(p.pieces, sideExit(false, 240, "PIER", 0x0000FF, 56));
    return p;
}

Place motel() {
    Place p = outdoors("Motel", "MOTEL", 250, SAND);
    p.pieces = {
        // The path up the hill to the windmill.
        polygon({{348, 250}, {380, 250}, {372, 176}, {362, 176}}, mixed(SAND, WALL, 0.5f), 0xC69C6D),
        box(330, 156, 80, 18, WOOD, 0xC69C6D, "WINDMILL"),
        box(92, 84, 232, 166, WALL),
        polygon({{82, 86}, {208, 40}, {334, 86}}, ROOF),
        box(160, 52, 96, 22, RED, 0, "MOTEL"),
        box(108, 172, 40, 78, DARK_WOOD),
        // The reception window and its keeper behind the counter.
        box(168, 132, 86, 62, GLASS),
    };
    add(p.pieces, person(211, 194, Color(150, 80, 130, 255), 0xC7B29A));
    add(p.pieces, {box(166, 170, 90, 26, WOOD, 0, "RECEPTION")});
    // The keeper's map of the lake on the wall, gone once taken.
    add(p.pieces, drawnUntil("taken_map", {box(268, 112, 40, 46, PAPER, 0xFF0000), oval(274, 120, 26, 16, WATER),
                                           stroke({{276, 142}, {288, 136}, {302, 146}}, 1.2f, RED),
                                           box(270, 146, 36, 10, PAPER, 0, "MAP")}));
    // The cart with its wheels; the one taken leaves its axle on a stone.
    add(p.pieces, {box(262, 228, 62, 26, WOOD, 0xFF00FF, "CART"), oval(264, 246, 22, 22, IRON, 0xFF00FF)});
    add(p.pieces, drawnUntil("taken_wheel", {oval(302, 246, 22, 22, IRON, 0xFF00FF), oval(309, 253, 8, 8, STONE)}));
    add(p.pieces, drawnAfter("taken_wheel", {box(304, 254, 18, 12, STONE)}));
    add(p.pieces, sideExit(true, 262, "CROSSROADS", 0xFFFF00, 86));
    add(p.pieces, sideExit(false, 262, "PARK", 0x0000FF, 56));
    return p;
}

Place pier() {
    Place p = outdoors("Pier", "PIER", 240, SAND);
    // The ground runs out along the pier into the lake.
    p.floor = {{0, 250}, {208, 250}, {262, 150}, {290, 150}, {262, 250}, {426, 250}, {426, 320}, {0, 320}};
    p.pieces = {
        box(0, 120, 426, 130, WATER),
        polygon({{0, 250}, {0, 120}, {60, 120}, {140, 250}}, SAND),
        polygon({{208, 250}, {262, 150}, {290, 150}, {262, 250}}, WOOD),
        stroke({{214, 250}, {214, 266}}, 5, DARK_WOOD),
        stroke({{256, 250}, {256, 266}}, 5, DARK_WOOD),
        // The berth at the pier's end, where the rowboat goes into the water: a mooring post.
        box(292, 132, 6, 28, DARK_WOOD),
        oval(290, 146, 10, 5, IRON),
    };
    // Once the explosives are in the dam's crack, the coil of their fuse cord lies here and the cord
    // runs along the shore toward the dam, until the fuse has burnt down to the blast.
    add(p.pieces,
        drawnUntil("dam_blownup",
                   drawnAfter("explosives_placed",
                              {stroke({{124, 266}, {112, 246}, {104, 226}, {96, 206}, {76, 168}, {56, 132}, {48, 120}},
                                      1.6f, FUSE),
                               oval(112, 262, 40, 18, FUSE, 0x00FF00, "FUSE"),
                               oval(119, 265, 26, 12, mixed(FUSE, IRON, 0.4f)), oval(124, 267.5f, 16, 7, FUSE)})));
    // The rowboat lies at the berth once launched; until then the berth is open water.
    add(p.pieces, drawnAfter("rowboat_in_water", {oval(296, 140, 70, 26, BRASS, 0xF26522, "ROWBOAT")}));
    // The screwdriver on the planks, gone once taken.
    add(p.pieces,
        drawnUntil("taken_screwdriver", {box(226, 270, 24, 8, RED, 0xFF0033), box(250, 272, 12, 4, IRON, 0xFF0033),
                                         plate(214, 282, 60, "SCREWDRIVER")}));
    add(p.pieces, sideExit(true, 250, "CROSSROADS", 0xFFFF00, 86));
    return p;
}

Place jamaMap() {
    Place p{"jama_spacea", "JamaMap", "MAP OF JAMA SPACEA", DARK_WOOD, DARK_WOOD, {}, SAND, {}};
    p.pieces = {
        box(16, 56, 394, 256, PAPER),
        polygon({{110, 120}, {210, 96}, {300, 120}, {320, 180}, {250, 210}, {140, 196}}, WATER),
        stroke({{300, 150}, {360, 170}, {410, 190}}, 8, WATER),
        box(30, 70, 96, 24, Color(255, 153, 204, 255), 0xFF99CC, "DAM"),
        box(290, 70, 110, 24, Color(102, 153, 153, 255), 0x669999, "CRASH SITE"),
        box(170, 140, 80, 24, Color(0, 153, 153, 255), 0x009999, "PIER"),
        box(290, 200, 100, 24, Color(153, 153, 0, 255), 0x999900, "WINDMILL"),
        box(120, 226, 110, 24, Color(0, 153, 255, 255), 0x0099FF, "CROSSROADS"),
        box(250, 244, 80, 24, Color(51, 153, 51, 255), 0x339933, "MOTEL"),
        // The lowest two clear of the interface's buttons in the bottom corners.
        box(312, 274, 70, 24, Color(255, 153, 0, 255), 0xFF9900, "PARK"),
        box(24, 252, 90, 24, Color(255, 255, 0, 255), 0xFFFF00, "LANDING SITE"),
    };
    return p;
}

Place crashSite() {
    Place p = outdoors("CrashSite", "CRASH SITE", 246, SAND);
    p.pieces = {
        box(0, 150, 150, 96, WATER),
        polygon({{150, 246}, {150, 180}, {426, 170}, {426, 246}}, HILL),
        oval(160, 118, 220, 86, STEEL),
        oval(226, 92, 90, 50, GLASS),
        polygon({{150, 200}, {390, 196}, {400, 248}, {140, 248}}, SOIL),
        box(250, 146, 44, 36, IRON, 0x3399FF),
    };
    add(p.pieces, drawnUntil("unscrewed_lock", {box(250, 146, 44, 36, IRON, 0, "HATCH")}));
    // Unscrewed, the hatch stands open, its lid swung up with the name on it, and the aliens' little
    // green faces look up out of the dark inside.
    const Color dark(20, 22, 30, 255), alien(110, 200, 90, 255);
    add(p.pieces,
        drawnAfter("unscrewed_lock", {box(250, 146, 44, 36, dark, 0x3399FF),
                                      polygon({{250, 146}, {294, 146}, {300, 118}, {256, 118}}, IRON, 0, "HATCH")}));
    for (float x : {254.0f, 266.5f, 279.0f}) {
        add(p.pieces, drawnAfter("unscrewed_lock", {oval(x, 164, 11, 12, alien), oval(x + 2, 167, 3, 4, dark),
                                                    oval(x + 6, 167, 3, 4, dark),
                                                    stroke({{x + 3.5f, 172.5f}, {x + 7.5f, 172.5f}}, 0.8f, dark)}));
    }
    add(p.pieces, sideExit(true, 250, "PIER", 0xFFFF00, 56));
    // The keeper's figure, which the scene lays over the place while she guards the aliens, is her area.
    p.pieces.push_back(box(128, 198, 24, 64, Color::Clear, 0xC105E7));
    return p;
}

Place windmill() {
    Place p = outdoors("Windmill", "WINDMILL", 250, GRASS);
    p.pieces = {
        polygon({{190, 250}, {290, 250}, {270, 84}, {210, 84}}, STONE),
        polygon({{200, 86}, {280, 86}, {240, 50}}, ROOF),
        stroke({{240, 78}, {160, 10}}, 14, WOOD),
        stroke({{240, 78}, {320, 10}}, 14, WOOD),
        stroke({{240, 78}, {160, 150}}, 14, WOOD),
        stroke({{240, 78}, {320, 150}}, 14, WOOD),
        oval(230, 68, 20, 20, IRON),
        box(224, 196, 32, 54, DARK_WOOD, 0xFF0000, "DOOR"),
        box(300, 210, 64, 40, Color(0, 54, 99, 255), 0x003663, "GENERATOR"),
    };
    add(p.pieces, sideExit(true, 262, "MOTEL", 0xFFFF00, 60));
    return p;
}

Place windmillInterior() {
    Place p{"jama_spacea",
            "WindmillInterior",
            "INSIDE THE WINDMILL",
            Color(120, 86, 58, 255),
            Color(150, 110, 76, 255),
            ground(240),
            DARK_WOOD,
            {}};
    p.pieces = {
        // The ladder up to the millstones.
        stroke({{110, 240}, {140, 40}}, 4, WOOD),
        stroke({{140, 240}, {170, 40}}, 4, WOOD),
        box(16, 120, 54, 120, DARK_WOOD, 0xFFFF00, "OUT"),
        box(150, 200, 110, 12, WOOD),
        box(156, 212, 8, 34, WOOD),
        box(246, 212, 8, 34, WOOD),
        box(326, 92, 84, 8, WOOD),
        box(318, 210, 86, 44, Color(140, 90, 40, 255), 0xFFCC33, "CHEST"),
        box(318, 204, 86, 10, DARK_WOOD, 0xFFCC33),
    };
    // The diary on the table, the hammer on the wall and the window cleaner on the shelf, each gone once
    // taken.
    add(p.pieces, drawnUntil("taken_diary", {box(168, 182, 44, 18, Color(120, 30, 60, 255), 0xFF00FF, "DIARY")}));
    add(p.pieces, drawnUntil("taken_hammer", {box(300, 118, 8, 46, WOOD, 0xFF33CC),
                                              box(288, 110, 32, 12, IRON, 0xFF33CC), plate(284, 166, 40, "HAMMER")}));
    add(p.pieces, drawnUntil("taken_alcohol", {box(350, 56, 18, 36, Color(110, 160, 70, 255), 0xFFCC99),
                                               box(355, 44, 8, 12, Color(110, 160, 70, 255), 0xFFCC99),
                                               plate(334, 100, 50, "CLEANER")}));
    // Unlocked, the chest's lid stands up over the explosives and the note, until they are taken.
    add(p.pieces, drawnAfter("chest_unlocked", {box(318, 204, 86, 14, Color(40, 26, 16, 255)),
                                                polygon({{318, 204}, {404, 204}, {398, 176}, {324, 176}}, DARK_WOOD)}));
    add(p.pieces, drawnUntil("taken_explosives_and_note",
                             drawnAfter("chest_unlocked", {box(328, 202, 6, 14, RED), box(336, 202, 6, 14, RED),
                                                           box(344, 202, 6, 14, RED), box(372, 204, 20, 12, PAPER)})));
    return p;
}

Place park() {
    Place p = outdoors("Park", "PARK", 250, GRASS);
    p.statesOver = {{"tree_door_opened", "tree_door_visible"}};
    p.pieces = {
        box(40, 120, 14, 130, BARK),
        oval(10, 50, 80, 90, LEAF),
        // The old tree with a door in its trunk.
        oval(270, 16, 150, 110, LEAF),
        box(312, 96, 64, 154, BARK, 0x996633, "OLD TREE"),
    };
    // Rubbed clean, a door shows in the trunk; opened, the safe inside.
    add(p.pieces,
        drawnAfter("tree_door_visible", {box(328, 184, 32, 52, Color(100, 66, 36, 255)), oval(352, 208, 4, 4, BRASS)}));
    add(p.pieces, drawnAfter("tree_door_opened", {box(328, 184, 32, 52, Color(30, 20, 12, 255)),
                                                  box(332, 200, 24, 24, Color(70, 100, 80, 255)),
                                                  box(316, 184, 12, 52, Color(100, 66, 36, 255))}));
    // The old man sits on the bench, its seat over his legs.
    add(p.pieces, person(150, 240, Color(96, 96, 116, 255), 0xFF0000));
    add(p.pieces, {box(100, 222, 110, 12, WOOD), box(106, 234, 6, 20, DARK_WOOD), box(198, 234, 6, 20, DARK_WOOD),
                   oval(230, 266, 74, 26, Color(0, 120, 60, 255), 0x006633, "FLOWERS")});
    // Laren's plaque, found in the cemetery's grass, lies on the bench until he hands it over.
    add(p.pieces, drawnUntil("vorne_knows_larson", {polygon({{106, 212}, {134, 208}, {136, 220}, {108, 223}}, BRASS)}));
    // His cane against the bench, and the two flowers of the bed, each gone once taken.
    add(p.pieces, drawnUntil("took_cane", {box(212, 186, 8, 56, Color(140, 90, 40, 255), 0x006699),
                                           stroke({{214, 188}, {214, 180}, {224, 180}}, 3, Color(140, 90, 40, 255))}));
    add(p.pieces,
        drawnUntil("flower_taken", {stroke({{250, 264}, {248, 248}}, 2, GRASS),
                                    oval(241, 238, 14, 14, Color(230, 200, 60, 255)), oval(245, 242, 6, 6, BARK)}));
    add(p.pieces, drawnUntil("second_flower_taken",
                             {stroke({{280, 266}, {282, 250}}, 2, GRASS),
                              oval(275, 240, 14, 14, Color(230, 120, 60, 255)), oval(279, 244, 6, 6, BARK)}));
    add(p.pieces, sideExit(true, 262, "MOTEL", 0xFFFF00, 60));
    return p;
}

Place dam() {
    Place p = outdoors("Dam", "DAM", 232, SAND);
    p.pieces = {
        box(0, 40, 426, 26, WATER),
        box(70, 58, 286, 156, Color(176, 170, 160, 255)),
        stroke({{70, 100}, {356, 100}}, 2, DARK_STONE),
        stroke({{70, 150}, {356, 150}}, 2, DARK_STONE),
        polygon({{196, 118}, {212, 118}, {222, 160}, {206, 190}, {194, 160}}, Color(60, 50, 60, 255), 0xCC33CC),
        // The way down into the crypt, at the foot of the dam.
        box(292, 170, 48, 62, Color(40, 36, 44, 255), 0x0066FF, "CRYPT"),
        // The shore path down to the pier, clear of the interface's buttons in the corner.
        polygon({{92, 292}, {162, 300}, {152, 320}, {92, 320}}, mixed(SAND, DARK_WOOD, 0.3f), 0x6666CC),
    };
    // Laid, the explosives sit in the crack, their fuse cord running down the wall and off along the
    // shore path to the pier, until the blast takes both.
    add(p.pieces,
        drawnUntil(
            "dam_blownup",
            drawnAfter("explosives_placed",
                       {stroke({{207, 156}, {206, 190}, {204, 214}, {188, 240}, {160, 272}, {146, 296}, {140, 320}},
                               1.6f, FUSE),
                        box(194, 126, 26, 30, RED, 0, "EXPLOSIVES"), box(194, 134, 26, 3, IRON),
                        stroke({{200.5f, 126}, {200.5f, 156}}, 0.8f, DARK_WOOD),
                        stroke({{207, 126}, {207, 156}}, 0.8f, DARK_WOOD),
                        stroke({{213.5f, 126}, {213.5f, 156}}, 0.8f, DARK_WOOD)})));
    // Blown up, the crack is a breach from the dam's top down to its foot: the lake pours through it
    // into a pool strewn with rubble.
    const Color falling = mixed(WATER, PAPER, 0.35f);
    add(p.pieces, drawnAfter("dam_blownup",
                             {polygon({{170, 58},
                                       {250, 58},
                                       {240, 86},
                                       {246, 122},
                                       {230, 162},
                                       {226, 214},
                                       {188, 214},
                                       {184, 162},
                                       {172, 122},
                                       {178, 86}},
                                      WATER),
                              stroke({{196, 62}, {194, 120}, {198, 214}}, 3, falling),
                              stroke({{216, 62}, {220, 120}, {214, 214}}, 3, falling), oval(140, 206, 140, 30, WATER),
                              oval(150, 226, 16, 10, DARK_STONE), oval(254, 222, 20, 12, STONE),
                              oval(172, 238, 12, 8, STONE), oval(238, 240, 14, 8, DARK_STONE)}));
    add(p.pieces, sign(98, 256, 56, "PIER", 0x6666CC));
    add(p.pieces, sideExit(true, 236, "CLEARING", 0xFFFF00, 80));
    add(p.pieces, sideExit(false, 236, "CEMETERY", 0x0000FF, 80));
    return p;
}

Place cemetary() {
    Place p = outdoors("Cemetary", "CEMETERY", 240, Color(120, 120, 80, 255));
    p.statesOver = {{"cane_hammered", "cane_in_ground"}};
    p.pieces = {
        box(80, 180, 30, 50, STONE),
        oval(80, 168, 30, 24, STONE),
        box(320, 170, 34, 60, STONE),
        oval(320, 156, 34, 28, STONE),
        // The grave, the bare place of its plaque and the soft earth before it.
        oval(176, 96, 78, 44, STONE, 0x006699),
        box(176, 118, 78, 112, STONE, 0x006699, "GRAVE"),
        box(194, 190, 42, 22, DARK_STONE),
        oval(166, 234, 98, 20, SOIL, 0xFF6600),
    };
    // The plaque, which the old man in the park found, is back on the grave once stuck on.
    add(p.pieces, drawnAfter("plaque_fixed", {box(194, 190, 42, 22, BRASS, 0x006699, "LAREN")}));
    // The sharp cane stands in the earth, and once hammered only its top shows.
    const Color cane(140, 90, 40, 255);
    add(p.pieces,
        drawnUntil("cane_hammered",
                   drawnAfter("cane_in_ground", {box(246, 196, 8, 46, cane, 0x3366FF),
                                                 stroke({{250, 198}, {252, 188}, {262, 188}, {264, 196}}, 4, cane)})));
    add(p.pieces, drawnAfter("cane_hammered", {box(246, 232, 8, 10, cane, 0x3366FF),
                                               stroke({{250, 234}, {252, 224}, {262, 224}, {264, 232}}, 4, cane)}));
    add(p.pieces, sideExit(true, 250, "DAM", 0xFFFF00, 50));
    return p;
}

Place undergrave() {
    Place p{"jama_spacea",          "Undergrave", "UNDER THE GRAVE",      Color(36, 32, 40, 255),
            Color(70, 62, 66, 255), ground(250),  Color(90, 84, 80, 255), {}};
    // The light fills the whole crypt: the other states are drawn over it.
    p.statesOver = {
        {"full_battery_placed", "lights_on"}, {"corpse_fallen", "lights_on"}, {"taken_dam_key", "lights_on"}};
    p.pieces = {
        box(20, 110, 64, 140, DARK_STONE, 0xFFFF00, "STAIRS"),
        stroke({{24, 230}, {80, 230}}, 3, STONE),
        stroke({{24, 190}, {80, 190}}, 3, STONE),
        stroke({{24, 150}, {80, 150}}, 3, STONE),
        box(176, 56, 44, 30, Color(153, 102, 204, 255), 0x9966CC, "LAMP"),
        box(248, 14, 128, 44, DARK_WOOD, 0xFF66FF, "COFFIN"),
    };
    // The battery in the lamp; the coffin's rotten bottom gives way and drops Laren's ashes with the
    // dam key, which are taken together.
    add(p.pieces, drawnAfter("full_battery_placed", {box(190, 86, 16, 8, Color(255, 102, 204, 255))}));
    add(p.pieces, drawnAfter("corpse_fallen", {box(290, 50, 44, 8, Color(16, 12, 14, 255)),
                                               stroke({{272, 286}, {296, 280}}, 3, DARK_WOOD),
                                               stroke({{330, 288}, {352, 282}}, 3, DARK_WOOD)}));
    add(p.pieces,
        drawnUntil("taken_dam_key", drawnAfter("corpse_fallen", {oval(290, 270, 46, 16, Color(150, 146, 140, 255)),
                                                                 box(300, 268, 26, 10, BRASS, 0xFF6633)})));
    // Dark until the lamp is lit, then its light fills the crypt.
    add(p.pieces, drawnUntil("lights_on", {box(0, 0, 426, 320, Color(0, 0, 8, 150))}));
    // The light: rings of a warm glow, stronger toward the lamp.
    for (int ring = 0; ring < 6; ++ring) {
        float r = 170 - ring * 26;
        add(p.pieces,
            drawnAfter("lights_on", {oval(198 - r, 71 - r * 0.8f, 2 * r, 1.6f * r, Color(255, 220, 140, 18))}));
    }
    add(p.pieces, drawnAfter("lights_on", {box(176, 56, 44, 30, Color(255, 236, 150, 255), 0x9966CC, "LAMP")}));
    return p;
}

Place clearing() {
    Place p = outdoors("Clearing", "CLEARING", 245, GRASS);
    p.pieces = {
        box(290, 160, 136, 85, WATER), box(30, 110, 16, 135, BARK), oval(0, 40, 80, 90, LEAF),
        box(220, 120, 14, 125, BARK),  oval(190, 50, 76, 86, LEAF), oval(316, 222, 86, 28, BRASS, 0xFF6600, "ROWBOAT"),
        box(118, 228, 44, 30, WOOD),
    };
    // The beeping device on the stump and the battery in the grass, each gone once taken.
    add(p.pieces, drawnUntil("vorne_has_device", {box(124, 210, 32, 18, Color(51, 102, 255, 255), 0x3366FF),
                                                  stroke({{150, 210}, {156, 196}}, 1.5f, IRON),
                                                  oval(128, 214, 6, 6, RED), plate(116, 244, 48, "DEVICE")}));
    add(p.pieces, drawnUntil("taken_battery", {box(236, 274, 28, 16, Color(255, 102, 204, 255), 0xFF66CC),
                                               box(262, 279, 4, 6, IRON), plate(226, 292, 48, "BATTERY")}));
    add(p.pieces, sideExit(true, 255, "DAM", 0xFFFF00, 50));
    return p;
}

Place rowboatToPier() {
    Place p{"jama_spacea", "RowboatToPier", "ON THE LAKE", SKY_TOP, SKY_LOW, {}, WATER, {}};
    p.pieces = {
        box(0, 150, 426, 170, WATER),
        box(300, 136, 90, 14, WOOD, 0x0000FF, "PIER"),
        stroke({{306, 150}, {306, 166}}, 4, DARK_WOOD),
        stroke({{384, 150}, {384, 166}}, 4, DARK_WOOD),
    };
    add(p.pieces, person(200, 252, VORNE));
    add(p.pieces, {oval(110, 236, 180, 54, BRASS), stroke({{150, 240}, {110, 290}}, 4, DARK_WOOD)});
    return p;
}

Place plaque() {
    Place p{"jama_spacea", "Plaque", "PLAQUE", DARK_STONE, STONE, {}, STONE, {}};
    p.pieces = {
        box(0, 0, 426, 320, STONE, 0x0000FF),
        box(96, 80, 234, 130, BRASS, 0, "HERE RESTS LAREN"),
        box(0, 282, 426, 38, DARK_STONE, 0x0000FF, "BACK"),
    };
    return p;
}

Place diary() {
    Place p{"jama_spacea", "Diary", "DIARY", DARK_WOOD, DARK_WOOD, {}, PAPER, {}};
    p.pieces = {
        box(40, 56, 346, 220, Color(110, 30, 50, 255)),
        box(52, 64, 158, 204, PAPER),
        box(216, 64, 158, 204, PAPER),
        box(166, 282, 94, 28, WOOD, 0x0000FF, "CLOSE"),
    };
    return p;
}

Place safe() {
    Place p{"jama_spacea", "Safe", "SAFE", BARK, DARK_WOOD, {}, IRON, {}};
    p.pieces = {
        box(50, 40, 326, 236, Color(70, 100, 80, 255)),
        box(62, 52, 302, 212, Color(90, 124, 100, 255)),
        oval(96, 96, 48, 48, STEEL, 0xFF6666),
        oval(156, 96, 48, 48, STEEL, 0x66FF66),
        oval(222, 96, 48, 48, STEEL, 0x6666FF),
        oval(282, 96, 48, 48, STEEL, 0xFFAA00),
        box(180, 186, 66, 30, STEEL, 0xFF33FF, "HANDLE"),
        box(0, 288, 426, 32, DARK_WOOD, 0xFFFF00, "BACK"),
    };
    return p;
}

} // namespace

void drawSafeKnobs(const vessot::String& data) {
    // Six frames of 64 x 64 in a row: the knob turned to positions 0 to 5, its number in the middle.
    constexpr int SIZE = 64;
    nimbo::Image image(SIZE * 6, SIZE, Color::Clear);
    runelttf::FontTtf font(data + "/ui/fonts/radodid.ttf", "safe_knob", 24);
    for (int frame = 0; frame < 6; ++frame) {
        float angle = frame * 60.0f * 3.14159265f / 180.0f;
        for (int y = 0; y < SIZE; ++y) {
            for (int x = 0; x < SIZE; ++x) {
                float dx = x + 0.5f - SIZE / 2.0f, dy = y + 0.5f - SIZE / 2.0f;
                float r = std::hypot(dx, dy);
                if (r > 31) {
                    continue;
                }
                // Along the pointer, measured from the middle toward the knob's edge.
                float along = dx * std::sin(angle) - dy * std::cos(angle);
                float across = std::fabs(dx * std::cos(angle) + dy * std::sin(angle));
                Color c = r > 28 ? IRON : mixed(STEEL, Color(255, 255, 255, 255), 0.3f * (1 - y / (float)SIZE));
                if (along > 14 && along < 29 && across < 3) {
                    c = RED;
                }
                image.setPixel(frame * SIZE + x, y, c);
            }
        }
        writeText(image, font, vessot::String(frame), frame * SIZE + SIZE / 2.0f, SIZE / 2.0f, IRON);
    }
    image.savePng(data + "/chapters/jama_spacea/textures/safe_knobs_hd.png");
}

std::vector<Place> jamaPlaces() {
    return {landing(),    landingSite(), crossroads(),       motel(),  pier(),  jamaMap(),
            crashSite(),  windmill(),    windmillInterior(), park(),   dam(),   cemetary(),
            undergrave(), clearing(),    rowboatToPier(),    plaque(), diary(), safe()};
}

} // namespace artgen
