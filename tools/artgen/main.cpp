// artgen: draws the demo game's pictures: scene backgrounds, the hotspot pictures that ampmaker
// turns into hotspot maps, the scenes' props, the characters' frames with the characters chapter's
// definition (Figures.h), the interface's pictures (InterfaceArt.h, InventoryArt.h, TalkArt.h and the in-game
// menus' below), the front end's (MenuArt.h: the logo screens' pictures and the menus'), the save
// menu's thumbnails of the story scenes, the loading picture, the arrow marker and the story
// chapters' places (PlaceArt.h; all committed); or, with "minigames", the minigames' pictures
// (MinigameArt.h), which scripts/setup-data draws.
//   artgen DATA_FOLDER
//   artgen minigames DATA_FOLDER
// Run from the repository with the game's font in place (scripts/setup-data): the thumbnails and
// the tutorial pages carry text.
// Backgrounds are drawn at 1.875 pixels per scene unit (800 x 600 for a 426 x 320 scene, shown at
// the interface's scale of 8/15); hotspot pictures at one pixel per scene unit.
#include "Figures.h"
#include "HintArt.h"
#include "HudArt.h"
#include "InterfaceArt.h"
#include "IntroArt.h"
#include "InventoryArt.h"
#include "MenuArt.h"
#include "MinigameArt.h"
#include "PlaceArt.h"
#include "SchminkellArt.h"
#include "TalkArt.h"
#include "TerraNuovaArt.h"

#include "nimbo/Image.h"
#include "runel/FontTtf.h"
#include "vessot/Exception.h"
#include "vessot/File.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

constexpr float PIXELS_PER_UNIT = 1.875f;

struct Shape {
    float x, y, w, h;
    nimbo::Color colour;
    // The hotspot area's id (its colour in the hotspot picture); 0 for scenery.
    uint32_t hotspot;
    bool round;
};

struct SceneArt {
    const char* chapterFolder;
    const char* name;
    int width;
    nimbo::Color top;
    nimbo::Color bottom;
    std::vector<Shape> shapes;
};

nimbo::Color mix(const nimbo::Color& a, const nimbo::Color& b, float t) {
    auto lerp = [t](int p, int q) { return (int)std::lround(p + (q - p) * t); };
    return nimbo::Color(lerp(a.r, b.r), lerp(a.g, b.g), lerp(a.b, b.b), lerp(a.a, b.a));
}

bool inside(const Shape& s, float ux, float uy) {
    if (!s.round) {
        return ux >= s.x && ux < s.x + s.w && uy >= s.y && uy < s.y + s.h;
    }
    float dx = (ux - (s.x + s.w / 2)) / (s.w / 2);
    float dy = (uy - (s.y + s.h / 2)) / (s.h / 2);
    return dx * dx + dy * dy <= 1.0f;
}

// The colour of the scene's art at a point in scene units; down is how far down the picture the
// point lies (0 at the top, 1 at the bottom).
nimbo::Color sceneColour(const SceneArt& art, float ux, float uy, float down) {
    nimbo::Color row = mix(art.top, art.bottom, down);
    nimbo::Color c = row;
    for (const Shape& s : art.shapes) {
        if (inside(s, ux, uy)) {
            // A soft shade from the shape's top to its bottom gives it some depth.
            c = mix(s.colour, nimbo::Color(0, 0, 0, 255), 0.35f * (uy - s.y) / s.h);
        }
    }
    // Faint panel seams every 40 units.
    if (((int)ux % 40 == 0 || (int)uy % 40 == 0) && c == row) {
        c = mix(row, nimbo::Color(255, 255, 255, 255), 0.08f);
    }
    return c;
}

void drawBackground(const SceneArt& art, const vessot::String& path) {
    int width = (int)std::lround(art.width * PIXELS_PER_UNIT);
    int height = (int)std::lround(320 * PIXELS_PER_UNIT);
    nimbo::Image image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.setPixel(x, y,
                           sceneColour(art, x / PIXELS_PER_UNIT, y / PIXELS_PER_UNIT, (float)y / (float)(height - 1)));
        }
    }
    image.savePng(path);
}

void drawHotspots(const SceneArt& art, const vessot::String& path) {
    nimbo::Image image(art.width, 320, nimbo::Color(0, 0, 0, 255));
    for (int y = 0; y < 320; ++y) {
        for (int x = 0; x < art.width; ++x) {
            for (const Shape& s : art.shapes) {
                if (s.hotspot && inside(s, x + 0.5f, y + 0.5f)) {
                    image.setPixel(
                        x, y, nimbo::Color((s.hotspot >> 16) & 0xFF, (s.hotspot >> 8) & 0xFF, s.hotspot & 0xFF, 255));
                }
            }
        }
    }
    image.savePng(path);
}

const nimbo::Color STEEL(96, 108, 124, 255);
const nimbo::Color DOOR(150, 110, 70, 255);
const nimbo::Color GLASS(120, 190, 230, 255);
const nimbo::Color PANEL(60, 66, 80, 255);
const nimbo::Color LAMP(250, 220, 120, 255);
const nimbo::Color PAPER(226, 216, 186, 255);

// The achievements the game knows.
constexpr int ACHIEVEMENT_COUNT = 32;

// The minigame scenes take no hotspots: their pictures are blank (their backgrounds and pieces are
// drawn at set-up, MinigameArt.cpp); nor does the interface's holder of item actions.
const char* const MINIGAME_SCENES[][2] = {
    {"ui", "ItemActions"},          {"chapters/ship", "GearLock"},           {"chapters/ship", "DialLock"},
    {"chapters/ship", "LampPanel"}, {"chapters/jama_spacea", "ShipPicture"}, {"chapters/jama_spacea", "TileTablet"}};

const char* const UI_SCENES[] = {"Hintbook",     "HelpMenu",  "InGameMenu",    "SaveLoadMenu",
                                 "SettingsMenu", "RateMeBox", "QuickTutorial", "AchievementsMenu"};

// Menus whose buttons are objects of their own: their background has no "back" hotspot.
bool hasOwnButtons(const vessot::String& name) {
    return name == "HelpMenu" || name == "InGameMenu" || name == "SaveLoadMenu" || name == "QuickTutorial" ||
           name == "RateMeBox";
}

// Shapes drawn into a cell of a picture, in the cell's pixels; a clear colour cuts a hole.
void paint(nimbo::Image& image, int left, int top, int width, int height, const std::vector<Shape>& shapes) {
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            for (const Shape& s : shapes) {
                if (inside(s, x + 0.5f, y + 0.5f)) {
                    image.setPixel(left + x, top + y, s.colour);
                }
            }
        }
    }
}

const nimbo::Color WHITE(240, 240, 240, 255);
const nimbo::Color DISK(52, 84, 150, 255);
const nimbo::Color FRAME(150, 156, 170, 255);

// The save menu's pictures and the quick tutorial's six pages, one texture.
void drawMenuPictures(const vessot::String& path) {
    nimbo::Image image(512, 512);
    // "gui/autosave_slot": a clock over a disk.
    paint(image, 0, 0, 128, 128,
          {{14, 34, 84, 84, DISK, 0, false},
           {30, 34, 52, 30, FRAME, 0, false},
           {28, 84, 56, 30, WHITE, 0, false},
           {62, 4, 62, 62, nimbo::Color(30, 30, 30, 255), 0, true},
           {66, 8, 54, 54, WHITE, 0, true},
           {91, 14, 4, 22, DISK, 0, false},
           {91, 33, 20, 4, DISK, 0, false}});
    // "gui/slot_back": an empty frame.
    paint(image, 128, 0, 128, 128,
          {{6, 6, 116, 116, FRAME, 0, false}, {12, 12, 104, 104, nimbo::Color::Clear, 0, false}});
    // "gui/slot_card": the light card behind each entry.
    paint(image, 384, 0, 128, 128,
          {{0, 0, 128, 128, nimbo::Color(120, 110, 96, 255), 0, false},
           {3, 3, 122, 122, nimbo::Color(228, 218, 196, 255), 0, false}});
    // The page arrows "gui/arrow_prev" and "gui/arrow_next".
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 40; ++x) {
            // A triangle pointing right, mirrored for the left arrow.
            if (x >= 10 && x <= 30 - std::abs(y - 20)) {
                image.setPixel(256 + 39 - x, y, WHITE);
                image.setPixel(296 + x, y, WHITE);
            }
        }
    }
    // The tutorial's pages, 160 x 120 each: walking, hotspots, the verb coin, the inventory, hints,
    // the menu and saving. They begin a few clear rows below the save menu's pictures, which the menu
    // scales with smoothing: a page's dark edge right under them would show as a line along their
    // bottom.
    const nimbo::Color ground(70, 74, 86, 255);
    const std::vector<Shape> pages[6] = {
        {{0, 90, 160, 30, ground, 0, false},
         {36, 28, 20, 20, LAMP, 0, true},
         {38, 48, 16, 42, DOOR, 0, false},
         {70, 62, 60, 8, WHITE, 0, false},
         {122, 54, 16, 24, WHITE, 0, true}},
        {{30, 40, 70, 50, PANEL, 0, false}, {40, 50, 50, 10, LAMP, 0, false}, {92, 64, 22, 30, WHITE, 0, true}},
        {{40, 20, 80, 80, FRAME, 0, true},
         {48, 28, 30, 30, GLASS, 0, true},
         {82, 28, 30, 30, LAMP, 0, true},
         {48, 62, 30, 30, DOOR, 0, true},
         {82, 62, 30, 30, STEEL, 0, true}},
        {{20, 30, 120, 60, PANEL, 0, false},
         {28, 40, 24, 40, LAMP, 0, false},
         {58, 40, 24, 40, GLASS, 0, false},
         {88, 40, 24, 40, DOOR, 0, false},
         {118, 40, 16, 40, STEEL, 0, false}},
        {{56, 14, 48, 52, LAMP, 0, true}, {68, 62, 24, 22, STEEL, 0, false}, {72, 86, 16, 8, FRAME, 0, false}},
        {{44, 20, 72, 80, DISK, 0, false}, {58, 20, 44, 28, FRAME, 0, false}, {56, 66, 48, 32, WHITE, 0, false}},
    };
    for (int page = 0; page < 6; ++page) {
        int left = (page % 3) * 160;
        int top = 132 + (page / 3) * 120;
        paint(image, left, top, 160, 120, {{0, 0, 160, 120, nimbo::Color(30, 34, 44, 255), 0, false}});
        paint(image, left, top, 160, 120, pages[page]);
    }
    image.savePng(path);
}

void drawUi(const vessot::String& data) {
    for (const char* name : UI_SCENES) {
        SceneArt art{"ui",
                     name,
                     426,
                     nimbo::Color(30, 34, 44, 255),
                     nimbo::Color(14, 16, 22, 255),
                     {{40, 30, 346, 220, PANEL, 0, false}}};
        // The achievements and settings menus fill the whole screen and close by a button.
        if (vessot::String(name) == "AchievementsMenu" || vessot::String(name) == "SettingsMenu") {
            art.shapes = {{6, 26, 414, 246, PANEL, 0, false}};
        } else if (vessot::String(name) == "Hintbook") {
            // The hint book: a diary page with a ruled margin on a leather cover; its close button is
            // an object of its own.
            art.top = nimbo::Color(70, 40, 24, 255);
            art.bottom = nimbo::Color(46, 26, 16, 255);
            art.shapes = {{16, 8, 394, 304, PAPER, 0, false},
                          {44, 8, 2, 304, nimbo::Color(200, 90, 80, 255), 0, false}};
        } else if (!hasOwnButtons(name)) {
            art.shapes.push_back({163, 262, 100, 40, DOOR, 0x00FF00, false});
        }
        drawBackground(art, data + "/ui/textures/" + name + "_hd.png");
        drawHotspots(art, data + "/ui/hotspots/" + name + ".png");
    }
    // The HUD's pieces: one 256 x 64 strip of 64 x 64 cells (buttons, overlay, cursor).
    nimbo::Image hud(256, 64);
    const nimbo::Color cells[] = {nimbo::Color(80, 150, 220, 230), nimbo::Color(220, 180, 80, 230),
                                  nimbo::Color(20, 20, 20, 200), nimbo::Color(255, 255, 255, 255)};
    for (int cell = 0; cell < 4; ++cell) {
        for (int y = 0; y < 64; ++y) {
            for (int x = 0; x < 64; ++x) {
                float dx = (x - 31.5f) / 31.5f;
                float dy = (y - 31.5f) / 31.5f;
                bool in = cell == 2 || dx * dx + dy * dy <= 1.0f;
                hud.setPixel(cell * 64 + x, y, in ? cells[cell] : nimbo::Color::Clear);
            }
        }
    }
    hud.savePng(data + "/ui/textures/hud_hd.png");
    drawMenuPictures(data + "/ui/textures/menus_hd.png");
}

// The loading picture: 1024 x 768 of a 1024 x 1024 texture.
void drawLoadingScreen(const vessot::String& data) {
    nimbo::Image image(1024, 1024, nimbo::Color::Clear);
    for (int y = 0; y < 768; ++y) {
        for (int x = 0; x < 1024; ++x) {
            float dx = (x - 512.0f) / 512.0f;
            float dy = (y - 384.0f) / 384.0f;
            float glow = std::max(0.0f, 1.0f - std::sqrt(dx * dx + dy * dy));
            image.setPixel(x, y, mix(nimbo::Color(8, 10, 24, 255), nimbo::Color(90, 120, 200, 255), glow));
        }
    }
    image.savePng(data + "/loading_screen_hd.png");
}

// The arrow over an exit: a triangle pointing down, 64 x 64.
void drawArrow(const vessot::String& path) {
    nimbo::Image image(64, 64, nimbo::Color::Clear);
    for (int y = 4; y < 60; ++y) {
        float half = 28.0f * (60 - y) / 56.0f;
        for (int x = 0; x < 64; ++x) {
            if (std::fabs(x + 0.5f - 32.0f) <= half) {
                image.setPixel(x, y, mix(LAMP, nimbo::Color(230, 120, 40, 255), (y - 4) / 56.0f));
            }
        }
    }
    image.savePng(path);
}

} // namespace

int main(int argc, char** argv) {
    bool minigames = argc == 3 && vessot::String(argv[1]) == "minigames";
    if (argc != 2 && !minigames) {
        std::fprintf(stderr, "usage: artgen [minigames] DATA_FOLDER\n");
        return 2;
    }
    vessot::String data = argv[argc - 1];
    try {
        if (minigames) {
            artgen::drawMinigames(data);
            return 0;
        }
        runelttf::init();
        for (const auto& [chapterFolder, name] : MINIGAME_SCENES) {
            SceneArt blank{chapterFolder, name, 426, nimbo::Color::Clear, nimbo::Color::Clear, {}};
            drawHotspots(blank, data + "/" + chapterFolder + "/hotspots/" + name + ".png");
        }
        vessot::Dir::create(data + "/ui/hotspots");
        vessot::Dir::create(data + "/ui/textures");
        artgen::drawShipProps(data);
        artgen::drawCharacters(data);
        drawUi(data);
        artgen::drawInterfaceArt(data, ACHIEVEMENT_COUNT);
        artgen::drawTalkArt(data);
        artgen::drawHudArt(data);
        artgen::drawMenuArt(data);
        artgen::drawInventoryArt(data);
        artgen::drawHintArt(data);
        drawLoadingScreen(data);
        drawArrow(data + "/chapters/ship/textures/arrow_hd.png");
        // The story chapters' places (PlaceArt.h).
        for (const std::vector<artgen::Place>& chapter :
             {artgen::introPlaces(), artgen::shipPlaces(), artgen::shipDeckPlaces(), artgen::jamaPlaces(),
              artgen::varionPlaces(), artgen::schminkellPlaces(), artgen::terraNuovaPlaces()}) {
            for (const artgen::Place& place : chapter) {
                artgen::drawPlace(data, place);
            }
        }
        artgen::drawSafeKnobs(data);
        // "she", whom scenes of both planets show at times.
        for (const char* chapter : {"jama_spacea", "varion"}) {
            artgen::drawFigure(nimbo::Color(150, 40, 110, 255), data + "/chapters/" + chapter + "/textures/she_hd.png");
        }
        // The props Schminkell 7's slab scenes lay over their places.
        artgen::drawSchminkellProps(data);
    } catch (const vessot::exception& e) {
        std::fprintf(stderr, "artgen: %s\n", e.message().c_str());
        return 1;
    }
    return 0;
}
