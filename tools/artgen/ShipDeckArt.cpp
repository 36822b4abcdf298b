// The ship's deck: the cockpit with its window onto space, its console and what stands about it;
// the corridor (twice the screen's width) with its doors to the cockpit and the galley, the coolant
// pipe with its two valves and the spot where Luna stands; the galley with its counter, locker, gear
// lock, lamp panel, beacon, screen, intercom, cooler, ceiling lamp and the hatch down to the planet;
// and their props. The areas carrying hotspots keep the shapes of the scenes' hotspot maps, which the
// scenes and their tests click.
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
const Color CONSOLE(62, 68, 82, 255);
const Color LAMP_OFF(110, 92, 52, 255);
const Color CHART(40, 70, 110, 255);
const Color PLANET(190, 120, 80, 255);
const Color LOGBOOK(150, 44, 36, 255);
const Color PAPER(226, 216, 186, 255);
const Color SHELF(112, 78, 46, 255);
const Color RADIO(96, 110, 86, 255);
const Color WIRE_RED(210, 60, 50, 255);
const Color WIRE_BLUE(60, 110, 220, 255);
const Color WIRE_GREEN(70, 180, 90, 255);
const Color TRANSLATOR(120, 70, 140, 255);
const Color CODE(120, 230, 150, 255);
const Color LOG_SPINE(110, 40, 36, 255);
const Color SHELF_BACK(70, 48, 30, 255);
const Color DIAL_FACE(146, 122, 66, 255);
const Color DARK_RED(120, 30, 30, 255);
const Color SLOT(20, 20, 26, 255);

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

// The cockpit: the window onto space over the console, the exits at both sides and overhead, and
// the crew's things under the window. The console's lamp is dark here; its lit picture is a prop that
// the scene shows over it while the console is on.
Place cockpit() {
    Place p{"ship", "Cockpit", "COCKPIT", WALL_TOP, WALL_LOW, floorFrom(282, 426), DECK, {}};
    // The hand-made walk map keeps to the floor in front of the console.
    p.writesWalkMap = false;
    p.pieces = {box(0, 0, 426, 14, CEILING), box(0, 274, 426, 8, FRAME)};
    // The window and its frame, space beyond with stars and a ringed planet, two struts.
    add(p.pieces, {box(54, 24, 312, 122, FRAME), box(60, 30, 300, 110, SPACE, 0x0000C0, "WINDOW")});
    for (Spot s : {Spot{78, 44}, Spot{104, 112}, Spot{126, 62}, Spot{178, 40}, Spot{196, 122}, Spot{232, 52},
                   Spot{250, 100}, Spot{292, 118}, Spot{338, 48}, Spot{344, 126}, Spot{92, 80}, Spot{226, 78}}) {
        p.pieces.push_back(stroke({s, s}, 2.5f, STAR));
    }
    add(p.pieces, {oval(292, 46, 40, 40, PLANET), stroke({{280, 72}, {344, 58}}, 2.5f, PAPER)});
    // Landed, the window shows the ground where the ship stands: Jama Spacea's orange dunes,
    // Schminkell 7's violet rocks, Varion's landing dock.
    add(p.pieces,
        drawnAfter("landed_jama",
                   {box(60, 30, 300, 110, Color(226, 150, 90, 255)), oval(96, 44, 30, 30, Color(255, 232, 150, 255)),
                    polygon({{60, 110}, {130, 92}, {220, 112}, {300, 94}, {360, 106}, {360, 140}, {60, 140}},
                            Color(172, 120, 70, 255))}));
    add(p.pieces,
        drawnAfter("landed_schminkell",
                   {box(60, 30, 300, 110, Color(96, 56, 120, 255)), oval(300, 40, 22, 22, Color(230, 220, 250, 255)),
                    polygon({{60, 120}, {110, 84}, {160, 112}, {230, 90}, {300, 116}, {360, 98}, {360, 140}, {60, 140}},
                            Color(90, 80, 100, 255))}));
    add(p.pieces,
        drawnAfter("landed_varion",
                   {box(60, 30, 300, 110, Color(70, 76, 88, 255)), box(60, 96, 300, 44, Color(96, 104, 116, 255)),
                    box(90, 40, 60, 8, LIGHT), box(250, 40, 60, 8, LIGHT), box(170, 56, 70, 40, DOOR)}));
    add(p.pieces, {stroke({{150, 30}, {140, 140}}, 5, FRAME), stroke({{270, 30}, {280, 140}}, 5, FRAME)});
    // The ladder up to the chart room, through a hatch in the ceiling.
    add(p.pieces, {box(262, 2, 60, 24, SCREEN, 0xFF0033, "LADDER UP"), stroke({{268, 2}, {268, 26}}, 3, STEEL),
                   stroke({{316, 2}, {316, 26}}, 3, STEEL)});
    for (float y = 6; y < 26; y += 7) {
        p.pieces.push_back(stroke({{268, y}, {316, y}}, 2, STEEL));
    }
    // The star chart on the wall and its sign.
    add(p.pieces, {box(366, 18, 52, 62, CHART, 0xC000C0), stroke({{376, 30}, {392, 44}, {404, 34}}, 1.2f, GLASS),
                   stroke({{392, 44}, {398, 58}}, 1.2f, GLASS), oval(374, 28, 4, 4, STAR), oval(390, 42, 4, 4, STAR),
                   oval(402, 32, 4, 4, STAR), oval(396, 56, 4, 4, LAMP), box(368, 66, 48, 11, SIGN, 0, "STAR CHART")});
    // The ship's log on its bracket.
    add(p.pieces, {box(6, 84, 48, 3, DARK_STEEL), box(10, 40, 40, 44, LOGBOOK, 0xFFFF00), box(10, 40, 5, 44, LOG_SPINE),
                   box(19, 54, 27, 14, PAPER, 0, "LOG")});
    // The hatch down to the kitchen: a narrow door with a porthole and a wheel, its sign above and its
    // name low on it, below the marker a hint lays on its middle.
    add(p.pieces,
        {box(0, 92, 41, 190, FRAME), box(2, 96, 36, 186, DOOR, 0x0000FF), oval(8, 108, 24, 24, FRAME),
         oval(11, 111, 18, 18, GLASS), oval(9, 192, 22, 22, DARK_STEEL), stroke({{12, 203}, {28, 203}}, 2, STEEL),
         stroke({{20, 195}, {20, 211}}, 2, STEEL), box(4, 238, 32, 12, SIGN, 0x0000FF, "HATCH"),
         stroke({{4, 270}, {36, 270}}, 3, STRIPE), box(0, 87, 41, 9, SIGN, 0, "KITCHEN")});
    // The console's power lamp by the window, its sign under it: a click on either switches the
    // console, as a click on the console does.
    add(p.pieces, {box(45, 111, 22, 17, DARK_STEEL, 0xFF0000), oval(48, 114, 16, 11, LAMP_OFF),
                   box(38, 130, 36, 9, SIGN, 0xFF0000, "POWER")});
    // The wiring behind an open panel, the navigation computer with the course on its screen.
    add(p.pieces,
        {box(44, 150, 40, 46, DARK_STEEL, 0x9900CC, "WIRING"), stroke({{48, 154}, {60, 170}, {52, 192}}, 2, WIRE_RED),
         stroke({{64, 154}, {72, 176}, {80, 192}}, 2, WIRE_BLUE),
         stroke({{78, 154}, {58, 182}, {68, 192}}, 2, WIRE_GREEN), box(88, 150, 40, 46, STEEL, 0xFF0099),
         box(92, 154, 32, 28, SCREEN), stroke({{96, 176}, {106, 164}, {118, 160}}, 1.5f, CODE),
         oval(116, 157, 5, 5, LAMP), box(92, 184, 32, 9, SIGN, 0, "NAV")});
    // The shelf with a cup, a torch and the key card.
    add(p.pieces,
        {box(130, 150, 70, 34, SHELF, 0xFF8040), box(134, 153, 62, 23, SHELF_BACK), box(140, 162, 10, 14, COOLER),
         stroke({{150, 166}, {154, 169}, {150, 172}}, 1.5f, COOLER), box(158, 169, 18, 7, STEEL),
         box(176, 167, 5, 11, LAMP), box(185, 160, 8, 16, WIRE_BLUE), box(130, 176, 70, 8, SHELF, 0, "SHELF")});
    // The dead radio: a speaker, a tuning dial and its aerial.
    add(p.pieces, {box(232, 148, 56, 40, RADIO, 0x8040FF), stroke({{282, 148}, {292, 134}}, 1.5f, STEEL),
                   oval(266, 154, 16, 16, DARK_STEEL), stroke({{274, 162}, {279, 157}}, 1.5f, LAMP)});
    for (float y = 154; y < 172; y += 5) {
        p.pieces.push_back(stroke({{238, y}, {260, y}}, 2, DARK_STEEL));
    }
    add(p.pieces, {box(236, 175, 48, 10, SIGN, 0, "RADIO")});
    // The translator: a little screen of strange letters, its name on two lines.
    add(p.pieces, {box(290, 150, 30, 46, TRANSLATOR, 0xFF00FF), box(294, 154, 22, 12, SCREEN),
                   stroke({{297, 158}, {303, 158}}, 1.2f, CODE), stroke({{305, 162}, {313, 162}}, 1.2f, CODE),
                   box(291, 172, 28, 8, SIGN, 0, "TRANS-"), box(291, 181, 28, 8, SIGN, 0, "LATOR")});
    // The dial lock on its plate below the chart.
    add(p.pieces,
        {box(320, 144, 44, 44, DARK_STEEL), oval(322, 146, 40, 40, BRASS, 0x00FF80), oval(330, 154, 24, 24, DIAL_FACE),
         stroke({{342, 166}, {342, 152}}, 2, RED), box(322, 188, 40, 9, SIGN, 0, "DIAL LOCK")});
    // Solved, the dial swings open on its hinge: the compartment behind it stands open and empty.
    add(p.pieces, drawnAfter("dial_solved", {box(320, 144, 44, 44, DARK_STEEL), box(327, 149, 32, 34, SCREEN),
                                             box(330, 173, 26, 4, STEEL), oval(320, 146, 6, 40, BRASS)}));
    // The door to the corridor, its name low on it, below the marker a hint lays on its middle.
    add(p.pieces, {box(360, 86, 62, 194, FRAME), box(364, 90, 54, 190, DOOR, 0x008000), box(372, 102, 38, 40, GLASS),
                   box(406, 196, 6, 22, DARK_STEEL), box(366, 238, 50, 12, SIGN, 0x008000, "CORRIDOR"),
                   stroke({{368, 270}, {414, 270}}, 3, STRIPE)});
    // The console, its top edge, rows of buttons and the power lever; on it the manual's slot, the disc
    // drive, the ship's computer and the tray of the flight paper.
    add(p.pieces, {box(40, 200, 280, 80, CONSOLE, 0xFF0000), box(40, 200, 280, 5, STEEL),
                   box(94, 256, 64, 12, SIGN, 0, "CONSOLE"), box(192, 210, 30, 30, DARK_STEEL),
                   stroke({{207, 234}, {214, 216}}, 3, STEEL), oval(210, 211, 9, 9, RED)});
    const Color buttons[] = {RED, LAMP, WIRE_GREEN, WIRE_BLUE};
    for (int i = 0; i < 8; ++i) {
        p.pieces.push_back(oval(92 + 12 * (i % 4), 236 + 8 * (i / 4), 6, 6, buttons[(i + i / 4) % 4]));
    }
    add(p.pieces, {box(50, 210, 34, 20, STEEL, 0x3300CC, "MANUAL"), box(54, 224, 26, 3, SLOT),
                   box(140, 210, 36, 20, STEEL, 0x330066, "DISC DRIVE"), box(144, 224, 22, 3, SLOT),
                   oval(169, 223, 4, 4, WIRE_GREEN), box(236, 204, 60, 40, DARK_STEEL, 0x00FF00),
                   box(240, 208, 52, 26, SCREEN, 0, "COMPUTER"), stroke({{244, 230}, {270, 230}}, 1.2f, CODE),
                   box(250, 250, 50, 22, DARK_STEEL, 0x00FFFF)});
    add(p.pieces, drawnUntil("has_flight_paper", {box(254, 253, 42, 14, PAPER, 0, "FLIGHT PAPER")}));
    // The toolbox by the door.
    add(p.pieces,
        {box(326, 244, 34, 28, RED, 0xFF4000), stroke({{334, 252}, {334, 247}, {352, 247}, {352, 252}}, 2, DARK_STEEL),
         stroke({{326, 255}, {360, 255}}, 1.5f, DARK_RED), box(328, 259, 30, 9, SIGN, 0, "TOOLBOX")});
    return p;
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
    // The locker on the wall, two doors with their handles; once the spanner is taken it stands open
    // and empty. Each look is a picture of its own, which the scene lays on the bare wall.
    add(p.pieces, drawnAfter("locker_shut", {box(150, 150, 120, 60, WOOD, 0xFF8000, "LOCKER"),
                                             stroke({{210, 152}, {210, 208}}, 1.5f, FRAME), box(200, 156, 4, 12, BRASS),
                                             box(216, 156, 4, 12, BRASS)}));
    add(p.pieces, drawnAfter("locker_open",
                             {box(150, 150, 120, 60, WOOD), box(152, 152, 116, 56, Color(34, 28, 24, 255), 0, "LOCKER"),
                              box(152, 178, 116, 3, WOOD), box(136, 150, 14, 60, WOOD), box(270, 150, 14, 60, WOOD)}));
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
    // The hatch down to the planet: a round lid with a wheel, and the sign above it, a picture of its own
    // that the scene shows while the hatch leads down: until the aliens are aboard and the ship is off
    // into space, and again once it stands on Varion. The thumbnail shows the galley as the story starts.
    add(p.pieces, drawnAfter("hatch_leads_down", {box(310, 188, 80, 14, SIGN, 0, "TO THE SURFACE")}));
    p.startStates = {"hatch_leads_down", "locker_shut"};
    add(p.pieces, {oval(300, 210, 100, 70, DARK_STEEL, 0xFFFF00), oval(310, 217, 80, 56, STEEL),
                   stroke({{326, 245}, {374, 245}}, 4, DARK_STEEL), stroke({{350, 223}, {350, 267}}, 4, DARK_STEEL),
                   oval(334, 234, 32, 22, STEEL, 0, "HATCH")});
    // The intercom to the ship's computer: a speaker and a button.
    add(p.pieces, {box(90, 104, 36, 48, INTERCOM, 0x40FFC0), box(96, 110, 24, 16, DARK_STEEL),
                   oval(103, 130, 10, 10, RED), box(88, 140, 40, 10, SIGN, 0, "INTERCOM")});
    return p;
}

} // namespace

std::vector<Place> shipDeckPlaces() {
    return {cockpit(), corridor(), galley()};
}

void drawShipProps(const vessot::String& data) {
    // The crate of 50 x 60 units in the corridor, the galley's ceiling lamp of 40 x 26, the spare fuse
    // of 20 x 14 that lies hidden on its wall and the cockpit's console lamp of 16 x 11, lit.
    std::vector<Piece> crate = {box(0.5f, 0.5f, 49, 59, WOOD, 0, ""), stroke({{4, 4}, {46, 56}}, 4, DARK_STEEL),
                                stroke({{46, 4}, {4, 56}}, 4, DARK_STEEL), box(8, 24, 34, 12, SIGN, 0, "CARGO")};
    std::vector<Piece> lamp = {oval(2, 1, 36, 24, LAMP), oval(10, 5, 20, 10, Color(255, 250, 220, 255))};
    std::vector<Piece> fuse = {box(0.5f, 3, 19, 8, GLASS), box(0.5f, 2, 4, 10, BRASS), box(15.5f, 2, 4, 10, BRASS),
                               stroke({{5, 7}, {15, 7}}, 1, DARK_STEEL)};
    std::vector<Piece> consoleLamp = {oval(0, 0, 16, 11, LAMP), oval(4, 2, 7, 4, Color(255, 250, 220, 255))};
    drawProps(data,
              {{0, 0, 94, 113, crate}, {96, 0, 75, 49, lamp}, {96, 52, 38, 26, fuse}, {176, 0, 30, 21, consoleLamp}},
              256, 128, data + "/chapters/ship/textures/props_hd.png");
}

} // namespace artgen
