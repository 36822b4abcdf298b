// Terra Nuova's station: a deck under a wide window onto the green planet, and the airlock onward,
// which closes the bundled story.
#include "TerraNuovaArt.h"

namespace artgen {

namespace {

using nimbo::Color;

const Color HALL_TOP(34, 44, 58, 255);
const Color HALL_LOW(90, 102, 116, 255);
const Color DECK(84, 92, 104, 255);
const Color FRAME(140, 150, 164, 255);
const Color SPACE(10, 14, 34, 255);
const Color PLANET(70, 150, 96, 255);
const Color SEA(60, 110, 170, 255);
const Color DOOR(86, 120, 150, 255);
const Color PANEL(40, 46, 60, 255);
const Color LAMP(250, 220, 120, 255);

constexpr float GROUND = 240;

Place station() {
    Place p{"terra_nuova", "Station", "TERRA NUOVA STATION",
            HALL_TOP,      HALL_LOW,  {{0, GROUND}, {426, GROUND}, {426, 320}, {0, 320}},
            DECK,          {}};
    p.pieces = {
        // The window: space, and the planet the crew came so far for.
        box(40, 40, 250, 150, FRAME, 0x0000FF),
        box(50, 50, 230, 130, SPACE, 0x0000FF),
        oval(110, 62, 110, 110, PLANET, 0x0000FF),
        oval(130, 84, 44, 30, SEA, 0x0000FF),
        box(120, 186, 90, 18, PANEL, 0x0000FF, "WINDOW"),
        // The airlock onward, and its sign.
        box(324, GROUND - 130, 64, 130, DOOR, 0xFF0000),
        box(332, GROUND - 120, 48, 60, PANEL, 0xFF0000),
        box(308, GROUND - 160, 96, 22, PANEL, 0xFF0000, "TO BE CONTINUED"),
        oval(350, GROUND - 54, 12, 12, LAMP),
    };
    return p;
}

} // namespace

std::vector<Place> terraNuovaPlaces() {
    return {station()};
}

} // namespace artgen
