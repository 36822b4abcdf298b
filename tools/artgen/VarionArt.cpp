// The places of Varion, the moon base: a shore where the rowboat lands, the guarded barrier, the
// cargo gate and warehouse, the lift hall with its two corridors, the laboratory and its three
// doors, the landing dock where the ship lies, the sewers and the prison.
#include "PlaceArt.h"

namespace artgen {

namespace {

using nimbo::Color;

const Color NIGHT_TOP(18, 24, 46, 255);
const Color NIGHT_LOW(60, 74, 104, 255);
const Color ROCK(96, 100, 110, 255);
const Color WATER(52, 96, 140, 255);
const Color HALL_TOP(60, 70, 84, 255);
const Color HALL_LOW(96, 104, 116, 255);
const Color FLOOR(80, 86, 96, 255);
const Color TILES(120, 126, 130, 255);
const Color METAL(140, 150, 164, 255);
const Color DARK_METAL(70, 76, 88, 255);
const Color DOOR(86, 120, 150, 255);
const Color GLASS(140, 210, 230, 255);
const Color WOOD(150, 100, 56, 255);
const Color LEAF(60, 130, 70, 255);
const Color BARK(110, 76, 44, 255);
const Color STRIPE(220, 180, 40, 255);
const Color RED(200, 50, 50, 255);
const Color PANEL(40, 46, 60, 255);
const Color SCREEN(30, 90, 110, 255);
const Color CRATE(150, 110, 60, 255);
const Color SEWER(58, 70, 56, 255);
const Color TAPE(0, 166, 81, 255);
const Color LOGO(255, 102, 255, 255);
const Color CELL_DOOR(0, 166, 81, 255);
const Color HOLE(20, 22, 26, 255);
const Color LIT(250, 236, 180, 255);
const Color PAPER(240, 236, 220, 255);

void add(std::vector<Piece>& to, const std::vector<Piece>& pieces) {
    to.insert(to.end(), pieces.begin(), pieces.end());
}

std::vector<Spot> ground(float top) {
    return {{0, top}, {426, top}, {426, 320}, {0, 320}};
}

Place outside(const char* name, const char* title, float groundTop) {
    return {"varion", name, title, NIGHT_TOP, NIGHT_LOW, ground(groundTop), ROCK, {}};
}

Place inside(const char* name, const char* title, float groundTop) {
    return {"varion", name, title, HALL_TOP, HALL_LOW, ground(groundTop), FLOOR, {}};
}

// A door in a wall with its sign above; both lead through it.
std::vector<Piece> door(float x, float groundTop, const char* label, uint32_t hotspot, float w = 56) {
    return {box(x, groundTop - 130, w, 130, DOOR, hotspot), box(x + 6, groundTop - 122, w - 12, 50, GLASS, hotspot),
            box(x - 8, groundTop - 154, w + 16, 20, PANEL, hotspot, label)};
}

// The way back toward the viewer: a strip along the bottom of the screen.
Piece backStrip(const char* label, uint32_t hotspot, float x = 140, float w = 146) {
    return box(x, 300, w, 20, STRIPE, hotspot, label);
}

// An outdoor way on at a side of the ground, with its sign.
std::vector<Piece> sideExit(bool left, float groundTop, const char* label, uint32_t hotspot, float signWidth) {
    float x = left ? 0 : 426 - 18;
    float signX = left ? 4 : 422 - signWidth;
    return {box(x, groundTop, 18, 320 - groundTop, DARK_METAL, hotspot),
            box(signX + signWidth / 2 - 2, groundTop - 30, 4, 30, PANEL),
            box(signX, groundTop - 48, signWidth, 18, PANEL, hotspot, label)};
}

Place start() {
    Place p = outside("Start", "SHORE", 240);
    p.pieces = {
        oval(300, 20, 40, 40, Color(230, 230, 210, 255)),
        box(0, 150, 190, 90, WATER),
        polygon({{190, 240}, {190, 170}, {300, 150}, {426, 176}, {426, 240}}, Color(70, 74, 90, 255)),
        // The rowboat at the water's edge, its name on a plate before it.
        oval(30, 214, 100, 30, WOOD, 0x00FF00),
        oval(40, 219, 80, 18, Color(100, 66, 36, 255), 0x00FF00),
        box(50, 248, 60, 11, PANEL, 0, "ROWBOAT"),
        box(214, 216, 8, 34, BARK),
        oval(192, 180, 52, 46, LEAF, 0x0066FF, "PEPPER"),
        // The road up to the cargo gate.
        polygon({{296, 240}, {336, 240}, {326, 174}, {312, 174}}, Color(110, 110, 120, 255), 0x0000FF),
        box(276, 154, 96, 18, PANEL, 0x0000FF, "CARGO GATE"),
    };
    // The plant's peppers, gone once picked.
    add(p.pieces, drawnUntil("taken_pepper", {oval(204, 192, 8, 12, RED), oval(226, 200, 8, 12, RED)}));
    // Dressed up as a cargo boat: strips of the green tape across either end of the hull, and the
    // company's logo stuck on its middle.
    add(p.pieces, drawnAfter("rowboat_has_tape",
                             {stroke({{38, 222}, {52, 240}}, 3, TAPE), stroke({{52, 218}, {40, 236}}, 3, TAPE),
                              stroke({{108, 218}, {120, 236}}, 3, TAPE), stroke({{122, 222}, {108, 240}}, 3, TAPE)}));
    add(p.pieces, drawnAfter("rowboat_has_logo", {oval(58, 220, 44, 18, LOGO, 0, "KRIBB")}));
    add(p.pieces, sideExit(false, 250, "BARRIER", 0xFFFF00, 70));
    return p;
}

Place barrier() {
    Place p = outside("Barrier", "BARRIER", 245);
    p.statesOver = {{"taken_egg", "nest_position"}};
    // The hand-made walk map leads around the front of the fountain's basin, which reaches into the ground.
    p.writesWalkMap = false;
    p.pieces = {
        box(300, 60, 126, 185, DARK_METAL),
        box(60, 100, 20, 145, BARK),
        oval(14, 40, 112, 80, LEAF),

        oval(142, 226, 72, 28, METAL),
        oval(150, 230, 56, 18, GLASS, 0x00FFFF),
        // The guard's booth and the barrier's boom.
        box(226, 124, 74, 110, METAL),
        box(234, 134, 58, 50, GLASS),
    };
    add(p.pieces, door(344, 245, "LOBBY", 0xFF0000));
    add(p.pieces, person(262, 200, Color(40, 60, 140, 255), 0x00FF00));
    // The booth's front carries his name, and a click there talks to him too.
    add(p.pieces, {box(226, 184, 74, 50, METAL, 0x00FF00, "GUARD")});
    // The boom is down until the guard has seen Danny's ID card, then up.
    add(p.pieces, drawnUntil("danny_can_goto_elevator", {stroke({{170, 196}, {330, 196}}, 6, STRIPE)}));
    add(p.pieces, drawnAfter("danny_can_goto_elevator", {stroke({{326, 196}, {326, 96}}, 6, STRIPE)}));
    // The nest up in the tree until knocked down; then it lies below with its egg, until that is taken.
    add(p.pieces, drawnUntil("nest_position", {oval(64, 74, 34, 18, Color(117, 76, 36, 255), 0x754C24, "NEST")}));
    add(p.pieces, drawnAfter("nest_position", {oval(84, 282, 44, 16, Color(117, 76, 36, 255))}));
    add(p.pieces, drawnUntil("taken_egg", drawnAfter("nest_position",
                                                     {oval(99, 272, 14, 18, Color(240, 232, 210, 255), 0xC69C6D)})));
    add(p.pieces, sideExit(true, 250, "SHORE", 0xFFFF00, 56));
    add(p.pieces, sideExit(false, 270, "CARGO", 0x0000FF, 56));
    return p;
}

Place infrontCargo() {
    Place p = outside("InfrontCargo", "CARGO GATE", 240);
    p.pieces = {
        box(60, 40, 306, 200, DARK_METAL),
        box(140, 90, 146, 150, Color(110, 100, 80, 255), 0xFF0000, "CARGO GATE"),
        stroke({{140, 96}, {286, 96}}, 6, STRIPE),
        stroke({{140, 234}, {286, 234}}, 6, STRIPE),
    };
    add(p.pieces, sideExit(true, 250, "SHORE", 0xFFFF00, 56));
    add(p.pieces, sideExit(false, 250, "BARRIER", 0x0000FF, 70));
    return p;
}

Place elevator() {
    Place p = inside("Elevator", "LIFT HALL", 240);
    p.pieces = {
        box(176, 86, 74, 154, METAL, 0xFF00FF, "LAB LIFT"),
        stroke({{213, 90}, {213, 238}}, 2, DARK_METAL),
        box(258, 150, 18, 24, Color(0, 102, 255, 255), 0x0066FF),
        box(96, 190, 50, 8, WOOD),
        box(100, 198, 6, 42, WOOD),
        box(136, 198, 6, 42, WOOD),
    };
    // The water sprayer on the table, gone once taken.
    add(p.pieces, drawnUntil("taken_sprayer",
                             {box(112, 166, 14, 24, Color(255, 153, 255, 255), 0xFF99FF),
                              box(116, 158, 6, 8, DARK_METAL, 0xFF99FF), box(92, 200, 56, 9, PANEL, 0, "SPRAYER")}));
    // Once the keycard has opened it, the keypad shows a green light and the lift's doors stand apart on
    // its lit cabin.
    add(p.pieces, drawnAfter("elevator_door_opened",
                             {box(184, 92, 58, 148, LIT, 0xFF00FF), box(190, 226, 46, 14, DARK_METAL, 0xFF00FF),
                              box(176, 86, 10, 154, METAL, 0xFF00FF), box(240, 86, 10, 154, METAL, 0xFF00FF),
                              oval(262, 153, 10, 8, Color(60, 220, 90, 255), 0x0066FF)}));
    add(p.pieces, door(12, 240, "LEFT CORRIDOR", 0x0000FF));
    add(p.pieces, door(352, 240, "RIGHT CORRIDOR", 0xFF0000));
    p.pieces.push_back(backStrip("BARRIER", 0xFFFF00));
    return p;
}

Place lCorridor() {
    Place p = inside("LCorridor", "LEFT CORRIDOR", 240);
    p.pieces = {box(384, 150, 22, 22, RED, 0x00FF00, "!")};
    // The company's logo on the wall, gone once taken.
    add(p.pieces, drawnUntil("taken_logo", {oval(228, 56, 70, 40, LOGO, 0xFF66FF, "KRIBB")}));
    add(p.pieces, door(20, 240, "DOCK", 0x0000FF));
    add(p.pieces, door(140, 240, "LAB", 0xFF00FF));
    add(p.pieces, door(310, 240, "PRISON", 0xFF0000));
    p.pieces.push_back(backStrip("LIFT HALL", 0xFFFF00));
    return p;
}

Place rCorridor() {
    Place p = inside("RCorridor", "RIGHT CORRIDOR", 240);
    p.pieces = {box(290, 66, 76, 46, SCREEN, 0xFF6600, "SCHEME"),
                box(300, 140, 100, 56, Color(0, 102, 255, 255), 0x0066FF, "OFFICE"), box(318, 248, 54, 30, CRATE)};
    // The papers waiting on the office's counter and the roll of tape on the crate, gone once taken.
    add(p.pieces, drawnUntil("got_authorization_papers", {box(306, 184, 26, 10, Color(230, 226, 210, 255), 0x0066FF),
                                                          box(309, 181, 26, 10, Color(240, 236, 220, 255), 0x0066FF)}));
    add(p.pieces, drawnUntil("taken_tape", {oval(334, 234, 22, 14, TAPE, 0x00A651), oval(341, 238, 8, 6, CRATE),
                                            box(318, 266, 54, 10, PANEL, 0, "TAPE")}));
    add(p.pieces, door(16, 240, "DOCK", 0xFF0000));
    add(p.pieces, door(100, 240, "STORE", 0xFFFF00));
    add(p.pieces, door(190, 240, "LAB", 0x00FF00));
    p.pieces.push_back(backStrip("LIFT HALL", 0x0000FF));
    return p;
}

Place laboratory() {
    Place p = inside("Laboratory", "LABORATORY", 240);
    p.skyTop = Color(200, 214, 220, 255);
    p.skyBottom = Color(150, 170, 180, 255);
    p.ground = TILES;
    p.pieces = {
        box(86, 70, 76, 150, DARK_METAL, 0xFF00FF, "ROTOSCOPE"),
        oval(100, 84, 48, 48, GLASS, 0xFF00FF),
        box(266, 100, 70, 120, PANEL, 0, "SLOTS"),
        box(286, 112, 30, 18, Color(46, 49, 146, 255), 0x2E3192),
        box(286, 140, 30, 18, Color(158, 0, 93, 255), 0x9E005D),
        box(286, 190, 30, 18, Color(0, 174, 240, 255), 0x00AEF0),
    };
    // What the slots hold once it is in: the black hole dark in its round slot, the reports' edges
    // standing out of theirs.
    add(p.pieces, drawnAfter("black_hole_inserted", {oval(292, 113, 18, 16, Color(130, 60, 200, 255), 0x2E3192),
                                                     oval(295, 115, 12, 12, Color(10, 6, 16, 255), 0x2E3192)}));
    add(p.pieces, drawnAfter("pacifist_report_inserted", {box(290, 134, 22, 14, PAPER, 0x9E005D)}));
    add(p.pieces, drawnAfter("strong_report_inserted", {box(290, 184, 22, 14, PAPER, 0x00AEF0)}));
    add(p.pieces, door(10, 240, "LEFT CORRIDOR", 0x0000FF, 64));
    add(p.pieces, door(184, 240, "LIFT", 0x00FF00, 60));
    add(p.pieces, door(348, 240, "RIGHT CORRIDOR", 0xFF0000, 64));
    return p;
}

// One of the three doors into the laboratory, each in its own part of the base.
Place labDoor(const char* name, const char* title, const char* back, uint32_t backId, const Color& wall) {
    Place p = inside(name, title, 244);
    p.skyTop = wall;
    p.pieces = {box(140, 60, 146, 184, Color(200, 214, 220, 255), 0xFF00FF),
                box(150, 70, 126, 174, Color(160, 190, 200, 255), 0xFF00FF, "LABORATORY"),
                stroke({{213, 70}, {213, 244}}, 3, DARK_METAL), box(40, 100, 60, 80, GLASS),
                box(326, 100, 60, 80, GLASS)};
    p.pieces.push_back(backStrip(back, backId));
    return p;
}

Place botScheme() {
    Place p{"varion", "BotScheme", "BOT SCHEME", PANEL, PANEL, {}, FLOOR, {}};
    Color ink(170, 210, 240, 255);
    p.pieces = {
        box(40, 50, 346, 230, Color(30, 70, 130, 255)),
        box(170, 80, 86, 70, Color(40, 84, 150, 255)),
        oval(186, 96, 18, 18, ink),
        oval(222, 96, 18, 18, ink),
        box(160, 156, 106, 80, Color(40, 84, 150, 255)),
        stroke({{160, 170}, {110, 220}}, 6, ink),
        stroke({{266, 170}, {316, 220}}, 6, ink),
        stroke({{190, 236}, {190, 270}}, 6, ink),
        stroke({{236, 236}, {236, 270}}, 6, ink),
        box(60, 60, 90, 18, Color(30, 70, 130, 255), 0, "KRIBB BOT"),
        box(0, 290, 426, 30, PANEL, 0x0000FF, "BACK"),
    };
    return p;
}

Place landingDock() {
    Place p = inside("LandingDock", "LANDING DOCK", 244);
    p.pieces = {
        box(20, 40, 250, 150, Color(20, 26, 50, 255)),
        oval(40, 80, 210, 90, METAL, 0xFFFF00, "SHIP"),
        oval(110, 64, 70, 40, GLASS, 0xFFFF00),
        box(90, 170, 110, 74, DARK_METAL, 0xFFFF00, "AIRLOCK"),
        box(366, 214, 46, 30, CRATE),
    };
    // The withered branch in the crate, gone once taken.
    add(p.pieces,
        drawnUntil("taken_withered_branch", {polygon({{380, 214}, {372, 160}, {392, 184}, {400, 150}, {398, 214}},
                                                     Color(110, 90, 50, 255), 0x00FF00),
                                             box(364, 230, 50, 10, PANEL, 0, "BRANCH")}));
    add(p.pieces, door(288, 244, "LEFT CORRIDOR", 0xFF0000, 50));
    p.pieces.push_back(backStrip("RIGHT CORRIDOR", 0x0000FF));
    return p;
}

Place warehouse() {
    Place p = inside("Warehouse", "WAREHOUSE", 236);
    p.pieces = {
        box(10, 90, 120, 146, Color(110, 100, 80, 255), 0x00FFFF, "CARGO GATE"),
        box(150, 170, 60, 66, CRATE),
        box(160, 120, 50, 50, CRATE),

        box(250, 110, 56, 80, PANEL, 0xFF00FF, "PPA"),
        box(258, 120, 40, 30, SCREEN, 0xFF00FF),
    };
    // The grate in the floor, welded shut until the torch cuts the welds; lifted, it lies aside on the
    // hole's left, clear of the interface's buttons in the lower corners, and a ladder leads down the hole.
    add(p.pieces, drawnUntil("grate_opened", {polygon({{230, 262}, {320, 262}, {330, 292}, {220, 292}}, DARK_METAL,
                                                      0xFF0000, "GRATE")}));
    const Color weld(255, 190, 70, 255);
    add(p.pieces, drawnUntil("grate_torched", {oval(229, 259, 6, 6, weld), oval(315, 259, 6, 6, weld),
                                               oval(219, 286, 6, 6, weld), oval(325, 286, 6, 6, weld)}));
    add(p.pieces, drawnAfter("grate_opened",
                             {polygon({{230, 262}, {320, 262}, {330, 292}, {220, 292}}, HOLE, 0xFF0000),
                              stroke({{258, 264}, {256, 292}}, 3, METAL), stroke({{292, 264}, {294, 292}}, 3, METAL),
                              stroke({{257, 272}, {293, 272}}, 2, METAL), stroke({{256, 284}, {294, 284}}, 2, METAL),
                              polygon({{138, 268}, {204, 268}, {208, 290}, {132, 290}}, DARK_METAL, 0, "GRATE")}));
    p.statesOver = {{"grate_opened", "grate_torched"}};
    // The blowtorch on the crates, gone once taken.
    add(p.pieces, drawnUntil("taken_blowtorch", {box(166, 104, 30, 16, Color(196, 223, 155, 255), 0xC4DF9B),
                                                 stroke({{196, 110}, {206, 104}}, 3, DARK_METAL),
                                                 box(154, 128, 52, 10, PANEL, 0, "BLOWTORCH")}));
    add(p.pieces, door(354, 236, "CORRIDOR", 0xFFFF00, 60));
    return p;
}

Place ppa() {
    Place p{"varion", "Ppa", "PPA QUESTIONNAIRE", PANEL, PANEL, {}, FLOOR, {}};
    p.pieces = {
        box(30, 50, 366, 170, DARK_METAL),
        box(44, 62, 338, 146, SCREEN),
        box(44, 236, 100, 36, Color(0, 174, 240, 255), 0x00AEF0, "YES"),
        box(163, 236, 100, 36, Color(0, 200, 0, 255), 0x00FF00, "MAYBE"),
        box(282, 236, 100, 36, Color(220, 0, 0, 255), 0xFF0000, "NO"),
        box(0, 290, 426, 30, PANEL, 0xFFFF00, "LEAVE"),
    };
    return p;
}

Place sewers() {
    Place p{"varion", "Sewers", "SEWERS", Color(30, 36, 30, 255), SEWER, ground(250), Color(70, 76, 64, 255), {}};
    p.pieces = {
        polygon({{60, 250}, {60, 120}, {213, 50}, {366, 120}, {366, 250}}, Color(40, 46, 40, 255)),
        box(0, 290, 426, 30, Color(60, 90, 60, 255)),
        box(20, 80, 40, 170, DARK_METAL, 0xFFFF00, "LADDER"),
        stroke({{26, 110}, {54, 110}}, 3, METAL),
        stroke({{26, 150}, {54, 150}}, 3, METAL),
        stroke({{26, 190}, {54, 190}}, 3, METAL),
        box(370, 130, 56, 120, Color(20, 24, 20, 255), 0x0000FF, "TUNNEL"),
    };
    // The strange object glowing on the floor, gone once taken.
    add(p.pieces, drawnUntil("strange_object_taken", {oval(170, 196, 80, 58, Color(180, 80, 255, 60)),
                                                      oval(190, 210, 40, 30, Color(40, 10, 60, 255), 0xFF0000)}));
    p.floor = {{0, 250}, {426, 250}, {426, 290}, {0, 290}};
    return p;
}

Place prison() {
    Place p = inside("Prison", "PRISON", 244);
    p.pieces = {box(150, 70, 180, 174, Color(70, 70, 76, 255))};
    add(p.pieces, person(230, 236, Color(200, 120, 60, 255), 0xBFBFBF));
    for (float x = 156; x < 330; x += 16) {
        p.pieces.push_back(stroke({{x, 70}, {x, 244}}, 4, DARK_METAL));
    }
    // The cell's door, shut until the key opens it; then it stands open on the dark cell, swung out.
    add(p.pieces, drawnUntil("luna_is_interrogator", {box(286, 120, 40, 124, CELL_DOOR, 0x00A651, "CELL")}));
    add(p.pieces, drawnAfter("luna_is_interrogator",
                             {box(288, 122, 36, 122, HOLE, 0x00A651, "CELL"),
                              polygon({{326, 120}, {344, 112}, {344, 236}, {326, 244}}, CELL_DOOR, 0x00A651)}));
    add(p.pieces, {box(360, 110, 40, 30, DARK_METAL, 0x00FF00, "VENT"),
                   polygon({{100, 270}, {160, 270}, {166, 292}, {94, 292}}, DARK_METAL, 0xFF0000, "DRAIN")});
    // The cell key on its hook, gone once taken.
    add(p.pieces, drawnUntil("taken_cell_key", {box(360, 170, 20, 26, Color(198, 156, 109, 255), 0xC69C6D),
                                                box(348, 198, 44, 10, PANEL, 0, "KEY")}));
    add(p.pieces, door(20, 244, "CORRIDOR", 0x0000FF, 70));
    // The warden's figure, which the scene lays over the place while she stands guard, is her area.
    p.pieces.push_back(box(388, 206, 24, 64, Color::Clear, 0xC105E7));
    return p;
}

} // namespace

std::vector<Place> varionPlaces() {
    return {start(),
            barrier(),
            infrontCargo(),
            elevator(),
            lCorridor(),
            rCorridor(),
            laboratory(),
            labDoor("LaboratoryLeft", "EAST LAB DOOR", "RIGHT CORRIDOR", 0xFF0000, Color(70, 60, 84, 255)),
            labDoor("LaboratoryMiddle", "MIDDLE LAB DOOR", "LIFT HALL", 0x00FF00, Color(60, 80, 70, 255)),
            labDoor("LaboratoryRight", "WEST LAB DOOR", "LEFT CORRIDOR", 0x0000FF, Color(84, 70, 60, 255)),
            botScheme(),
            landingDock(),
            warehouse(),
            ppa(),
            sewers(),
            prison()};
}

} // namespace artgen
