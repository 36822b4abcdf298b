// The intro: deep space, the cargo ship Vestrel from outside and the planet it drifts past. The whole
// picture is one area (a click anywhere goes aboard); the caption below the banner and the prompt at
// the bottom are written over it, so their bands stay dark.
#include "IntroArt.h"

namespace artgen {

namespace {

using nimbo::Color;

const Color SPACE(0, 0, 18, 255);
const Color STAR(236, 238, 255, 255);
const Color PLANET(176, 112, 70, 255);
const Color PLANET_BAND(140, 84, 56, 255);
const Color PLANET_ICE(222, 226, 236, 255);
const Color HULL(150, 158, 172, 255);
const Color HULL_DARK(96, 104, 120, 255);
const Color PAINT(150, 52, 40, 255);
const Color GLASS(120, 196, 236, 255);
const Color ENGINE(70, 76, 90, 255);
const Color GLOW_OUTER(40, 70, 170, 255);
const Color GLOW_MIDDLE(70, 140, 240, 255);
const Color GLOW_INNER(190, 230, 255, 255);

// The stars, clear of the caption's band below the banner and of the prompt's band: small dots, and a
// few bright ones with four points.
constexpr Spot STARS[] = {{14, 70},  {48, 96},   {92, 94},   {130, 104}, {176, 96},  {214, 92},  {256, 96},  {300, 98},
                          {402, 78}, {386, 112}, {20, 214},  {60, 252},  {104, 228}, {146, 266}, {232, 274}, {270, 230},
                          {24, 150}, {318, 270}, {412, 258}, {30, 278},  {200, 214}, {124, 206}, {360, 92},  {80, 276}};
constexpr Spot BRIGHT_STARS[] = {{188, 240}, {236, 112}, {40, 118}, {408, 284}, {152, 92}};

std::vector<Piece> stars() {
    std::vector<Piece> pieces;
    for (const Spot& s : STARS) {
        pieces.push_back(oval(s.x - 2, s.y - 2, 4, 4, STAR));
    }
    for (const Spot& s : BRIGHT_STARS) {
        const float r = 7, k = 1.6f;
        pieces.push_back(polygon({{s.x, s.y - r},
                                  {s.x + k, s.y - k},
                                  {s.x + r, s.y},
                                  {s.x + k, s.y + k},
                                  {s.x, s.y + r},
                                  {s.x - k, s.y + k},
                                  {s.x - r, s.y},
                                  {s.x - k, s.y - k}},
                                 STAR));
    }
    return pieces;
}

// The ship, nose to the right, drifting along the planet's near side.
std::vector<Piece> ship() {
    return {
        // The engines' glow behind their nozzles.
        oval(-6, 122, 76, 38, GLOW_OUTER),
        oval(-6, 158, 76, 38, GLOW_OUTER),
        oval(8, 128, 56, 26, GLOW_MIDDLE),
        oval(8, 164, 56, 26, GLOW_MIDDLE),
        oval(24, 134, 36, 14, GLOW_INNER),
        oval(24, 170, 36, 14, GLOW_INNER),
        // The fins and the engines.
        polygon({{84, 136}, {124, 136}, {104, 108}, {72, 108}}, HULL_DARK),
        polygon({{84, 182}, {124, 182}, {104, 210}, {72, 210}}, HULL_DARK),
        box(44, 128, 46, 26, ENGINE),
        box(44, 164, 46, 26, ENGINE),
        // The hull, its cargo bays and its name.
        polygon({{80, 132}, {270, 130}, {326, 159}, {270, 188}, {80, 186}}, HULL),
        box(102, 138, 34, 42, HULL_DARK),
        box(236, 138, 22, 42, HULL_DARK),
        box(140, 146, 92, 26, PAINT, 0, "VESTREL"),
        polygon({{272, 140}, {296, 146}, {310, 158}, {270, 158}}, GLASS),
    };
}

Place intro() {
    Place p{"intro", "Intro01", "DEEP SPACE", SPACE, SPACE, {}, SPACE, {}};
    // The whole picture goes aboard.
    p.pieces.push_back(box(0, 0, 426, 320, SPACE, 0x00FF00));
    for (Piece& star : stars()) {
        p.pieces.push_back(star);
    }
    // The planet, its far side beyond the right edge.
    p.pieces.push_back(oval(268, 84, 196, 196, PLANET));
    p.pieces.push_back(oval(274, 196, 184, 22, PLANET_BAND));
    p.pieces.push_back(oval(292, 232, 120, 14, PLANET_BAND));
    p.pieces.push_back(oval(326, 92, 80, 16, PLANET_ICE));
    for (Piece& piece : ship()) {
        p.pieces.push_back(piece);
    }
    return p;
}

} // namespace

std::vector<Place> introPlaces() {
    return {intro()};
}

} // namespace artgen
