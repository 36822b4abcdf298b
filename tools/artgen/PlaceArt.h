#pragma once
// The story chapters' places: a scene described as a floor and outlined, labelled pieces, from which
// artgen draws the background, the hotspot picture (one pixel per unit, each piece with a hotspot id
// in its colour), the walk map (the floor's outline) and the save menu's thumbnail.

#include "morvec/Rectangle.h"
#include "nimbo/Color.h"
#include "nimbo/Image.h"
#include "vessot/String.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace runelttf {
class FontTtf;
}

namespace artgen {

struct Spot {
    float x, y;
};

enum class Form { Box, Oval, Polygon, Stroke };

struct Piece {
    Form form = Form::Box;
    // Box and Oval: the bounding box; Polygon and Stroke: the points (a stroke is a line of the
    // given width through them).
    float x = 0, y = 0, w = 0, h = 0;
    std::vector<Spot> points;
    float width = 0;
    // A fill that is not fully opaque makes a see-through shade or glow, without outline.
    nimbo::Color fill;
    // The hotspot area's id, its colour in the hotspot picture; 0 for scenery.
    uint32_t hotspot = 0;
    // Written in the middle of the piece (capitals read best); may be empty.
    const char* label = "";
    // A piece of a state of the place (a thing taken away, a change the story makes): drawn only
    // until the state named `until` comes, or only once the state named `after` has come.
    const char* until = "";
    const char* after = "";
};

Piece box(float x, float y, float w, float h, const nimbo::Color& fill, uint32_t hotspot = 0, const char* label = "");
Piece oval(float x, float y, float w, float h, const nimbo::Color& fill, uint32_t hotspot = 0, const char* label = "");
Piece polygon(std::vector<Spot> points, const nimbo::Color& fill, uint32_t hotspot = 0, const char* label = "");
Piece stroke(std::vector<Spot> points, float width, const nimbo::Color& fill);
// The pieces, drawn only until the state comes (a thing taken away), or only once it has come.
std::vector<Piece> drawnUntil(const char* state, std::vector<Piece> pieces);
std::vector<Piece> drawnAfter(const char* state, std::vector<Piece> pieces);
// A person seen from the front, feet at (x, y), about 60 units tall: for the figures that are part
// of a place rather than characters that walk.
std::vector<Piece> person(float x, float y, const nimbo::Color& clothes, uint32_t hotspot = 0);

struct Place {
    const char* chapter;
    const char* name;
    // The place's name as the banner at its top shows it.
    const char* title;
    nimbo::Color skyTop, skyBottom;
    // The walkable ground (also the walk map); empty for close-ups where nobody stands.
    std::vector<Spot> floor;
    nimbo::Color ground;
    // Drawn in order, later pieces over earlier ones (in the hotspot picture too).
    std::vector<Piece> pieces;
    // In scene units; a wider place scrolls, and its thumbnail shows its first screen.
    int width = 426;
    // False where the scene's walk map is kept by hand (a floor with holes, or one narrower than the
    // ground drawn).
    bool writesWalkMap = true;
    // States (first) that only come after others (second): their pictures are drawn over those.
    std::vector<std::pair<const char*, const char*>> statesOver = {};
    // States whose pictures the scene shows at the start of the story (a thing kept out of the
    // background as a picture of its own): the thumbnail shows the place in them.
    std::vector<const char*> startStates = {};
};

// Writes a place's background (textures/NAME_hd.png), hotspot picture (hotspots/NAME.png) with the
// list of the labels drawn on the background (hotspots/NAME.labels), walk map (walk/NAME.walk, when
// it has a floor and writes one) under data/chapters/CHAPTER/, and its thumbnail
// (data/shots/CHAPTER.NAME.png). For each state of its pieces it writes the picture the scene lays
// over the background in that state (textures/NAME_STATE_hd.png, clear where nothing changes) and
// lists where it lies (hotspots/NAME.states). A state drawn over another (a piece drawn after one
// state until another, or a pair of statesOver) is drawn over the first one's picture.
void drawPlace(const vessot::String& data, const Place& place);

// Writes a person (person() above) alone on a clear picture of 34 x 68 units, feet at the bottom
// middle: a figure that a scene shows only at times.
void drawFigure(const nimbo::Color& clothes, const vessot::String& path);

// A prop's picture: pieces in units from the top left of a cell of width x height pixels at (left,
// top) of a props picture.
struct Prop {
    int left, top, width, height;
    std::vector<Piece> pieces;
};

// Writes a clear picture of width x height pixels holding the props (their labels in the small font).
void drawProps(const vessot::String& data, const std::vector<Prop>& props, int width, int height,
               const vessot::String& path);

// Writes text centred on (x, y) in image pixels, in the colour over a dark halo; gives the box of
// its letters (without the halo) in image pixels.
morvec::Rectangle writeText(nimbo::Image& image, runelttf::FontTtf& font, const vessot::String& text, float x, float y,
                            const nimbo::Color& colour, float halo = 0);
// The width of the text's widest line in the font, in image pixels.
float writtenWidth(runelttf::FontTtf& font, const vessot::String& text);

// The story chapters' places (ShipArt.cpp, JamaArt.cpp, VarionArt.cpp).
std::vector<Place> shipPlaces();
std::vector<Place> jamaPlaces();
std::vector<Place> varionPlaces();
// The ship's cockpit, corridor and galley, and their props in the ship's textures/props_hd.png: the
// corridor's crate, the galley's lamp and fuse, the cockpit's lit console lamp (ShipDeckArt.cpp).
std::vector<Place> shipDeckPlaces();
void drawShipProps(const vessot::String& data);
// The safe's knob in its six positions (jama_spacea's textures/safe_knobs_hd.png).
void drawSafeKnobs(const vessot::String& data);

} // namespace artgen
