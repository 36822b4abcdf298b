#include "HintArt.h"

#include "PlaceArt.h"

#include "nimbo/Image.h"
#include "runel/FontTtf.h"
#include "vessot/Array.h"
#include "vessot/Exception.h"
#include "vessot/File.h"
#include "vessxml/Xml.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <memory>
#include <utility>
#include <vector>

namespace artgen {

namespace {

using nimbo::Color;

constexpr int CELL = 64;
constexpr int ICONS_A_ROW = 8;
constexpr int FIRST_ICON_ROWS = 6;
// The smart-hint bulb's pictures: the lit glass alone, 64 x 108 each from y 490, which fills with
// the charge; left of them the empty bulbs, 64 x 150 each from y 448: their glass over the same 108
// rows, their base below.
constexpr int FILL_TOP = 490;
constexpr int GLASS_HEIGHT = 108;
constexpr int EMPTY_TOP = 448;
constexpr int BULB_HEIGHT = 150;
constexpr int SECOND_ICONS_TOP = 608;

const Color GLOW(255, 226, 110, 255);
const Color BRASS(150, 130, 90, 255);
const Color GLASS_EDGE(200, 210, 220, 255);
const Color LIT_EDGE(255, 244, 190, 255);
const Color INK(30, 30, 30, 255);

Color scaled(const Color& c, float k) {
    auto channel = [k](int v) { return std::min(255, (int)std::lround(v * k)); };
    return Color(channel(c.r), channel(c.g), channel(c.b), c.a);
}

// Paints every pixel of the w x h cell at (x0, y0) for which the picture gives a colour.
void fill(nimbo::Image& image, int x0, int y0, int w, int h, const std::function<bool(float, float, Color&)>& picture) {
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            Color c;
            if (picture((x + 0.5f) / w, (y + 0.5f) / h, c)) {
                image.setPixel(x0 + x, y0 + y, c);
            }
        }
    }
}

// The bulb is drawn for a square button: (u, v) run from 0 to 1 across and down the whole bulb,
// whose glass takes the top GLASS_HEIGHT of its BULB_HEIGHT rows and whose screw base the rest.
constexpr float GLASS_BOTTOM = (float)GLASS_HEIGHT / BULB_HEIGHT;

// Whether (u, v) lies in the glass shrunk by the inset: a ball from the top, narrowing into a short
// neck that meets the base at the glass's last row.
bool inGlass(float u, float v, float inset) {
    float du = (u - 0.5f) / (0.36f - inset), dv = (v - 0.33f) / (0.33f - inset);
    bool ball = du * du + dv * dv <= 1.0f;
    float neckHalfWidth = 0.2f - (v - 0.58f) / (GLASS_BOTTOM - 0.58f) * 0.05f - inset;
    bool neck = v >= 0.58f && v < GLASS_BOTTOM && std::fabs(u - 0.5f) <= neckHalfWidth;
    return ball || neck;
}

// The glass, lit (glowing within a shining rim) or dark (only its rim shows).
void glass(nimbo::Image& image, int x0, int y0, bool lit, float brightness) {
    fill(image, x0, y0, CELL, GLASS_HEIGHT, [&](float u, float glassShare, Color& c) {
        float v = glassShare * GLASS_BOTTOM;
        if (!inGlass(u, v, 0.0f)) {
            return false;
        }
        bool rim = !inGlass(u, v, 0.05f);
        if (!lit && !rim) {
            return false;
        }
        c = scaled(!rim ? GLOW : lit ? LIT_EDGE : GLASS_EDGE, brightness);
        return true;
    });
}

// The empty bulb: the dark glass and, below it, the brass screw base.
void emptyBulb(nimbo::Image& image, int x0, int y0, float brightness) {
    glass(image, x0, y0, false, brightness);
    fill(image, x0, y0, CELL, BULB_HEIGHT, [&](float u, float v, Color& c) {
        if (v < GLASS_BOTTOM || v > 0.97f || u < 0.36f || u > 0.64f) {
            return false;
        }
        bool groove = ((int)(v * 40)) % 3 == 0;
        c = scaled(groove ? scaled(BRASS, 0.7f) : BRASS, brightness);
        return true;
    });
}

// A hand (the use cursor) or a speech bubble (talk).
void hand(nimbo::Image& image, int x0, int y0, const Color& colour) {
    fill(image, x0, y0, CELL, CELL, [&](float u, float v, Color& c) {
        bool palm = u > 0.3f && u < 0.72f && v > 0.45f && v < 0.85f;
        bool finger = v > 0.12f && v < 0.5f && (std::fmod(u - 0.3f, 0.11f) < 0.08f) && u > 0.3f && u < 0.74f;
        bool thumb = u > 0.16f && u < 0.32f && v > 0.5f && v < 0.66f;
        c = colour;
        return palm || finger || thumb;
    });
}

void bubble(nimbo::Image& image, int x0, int y0, const Color& colour) {
    fill(image, x0, y0, CELL, CELL, [&](float u, float v, Color& c) {
        float du = (u - 0.5f) / 0.4f;
        float dv = (v - 0.42f) / 0.28f;
        bool body = du * du + dv * dv <= 1.0f;
        bool tail = v > 0.62f && v < 0.88f && u > 0.28f && u < 0.28f + (0.88f - v) * 0.6f;
        c = colour;
        return body || tail;
    });
}

// The widest a line of an item's name may be, and the tallest its lines together: the light face of
// its tile, inside the dark rim.
constexpr float NAME_WIDTH = 51;
constexpr float NAME_HEIGHT = 51;
// The sizes of the names' letters, largest first: a name is written in the largest at which its
// lines fit the face.
constexpr int NAME_SIZES[] = {11, 10, 9};
// Where a word too wide for its tile breaks (a word with a hyphen breaks after it): its two lines.
const std::map<vessot::String, std::pair<const char*, const char*>> BREAKS = {{"authorization", {"author-", "ization"}},
                                                                              {"screwdriver", {"screw-", "driver"}},
                                                                              {"schematics", {"sche-", "matics"}},
                                                                              {"explosives", {"explo-", "sives"}}};

using Fonts = std::vector<std::unique_ptr<runelttf::FontTtf>>;

float lineStep(int size) {
    return size * 13.0f / 11.0f;
}

// The pieces of a word on the tile: the word, or its two halves when it is too wide whole.
std::vector<vessot::String> wordPieces(runelttf::FontTtf& font, const vessot::String& word) {
    if (writtenWidth(font, word) <= NAME_WIDTH) {
        return {word};
    }
    auto at = BREAKS.find(word);
    if (at != BREAKS.end()) {
        return {at->second.first, at->second.second};
    }
    size_t hyphen = word.find('-');
    if (hyphen != vessot::String::npos) {
        return {word.substr(0, hyphen + 1), word.substr(hyphen + 1)};
    }
    return {word};
}

// The lines of a name in a font: its words joined while they fit the face's width; empty when a piece
// of a word is wider on its own.
std::vector<vessot::String> nameLines(runelttf::FontTtf& font, const vessot::String& name) {
    std::vector<vessot::String> lines;
    bool lineOpen = false; // the last line can take another word
    for (const vessot::String& word : name.split(" ")) {
        for (const vessot::String& piece : wordPieces(font, word)) {
            if (writtenWidth(font, piece) > NAME_WIDTH) {
                return {};
            }
            vessot::String longer = lineOpen ? lines.back() + " " + piece : piece;
            if (lineOpen && writtenWidth(font, longer) <= NAME_WIDTH) {
                lines.back() = longer;
            } else {
                lines.push_back(piece);
            }
            lineOpen = !piece.endsWith("-");
        }
    }
    return lines;
}

// An item: a rounded tile in a colour of its own with the item's name written over it.
void icon(nimbo::Image& image, const Fonts& fonts, int x0, int y0, const vessot::String& item,
          const vessot::String& name) {
    unsigned hash = 2166136261u;
    for (char ch : item) {
        hash = (hash ^ (unsigned char)ch) * 16777619u;
    }
    Color tile(90 + hash % 120, 90 + (hash >> 8) % 120, 90 + (hash >> 16) % 120, 255);
    fill(image, x0, y0, CELL, CELL, [&](float u, float v, Color& c) {
        float du = std::max(std::fabs(u - 0.5f) - 0.32f, 0.0f);
        float dv = std::max(std::fabs(v - 0.5f) - 0.32f, 0.0f);
        if (du * du + dv * dv > 0.12f * 0.12f) {
            return false;
        }
        c = du * du + dv * dv > 0.08f * 0.08f ? scaled(tile, 0.6f) : tile;
        return true;
    });
    size_t size = 0;
    std::vector<vessot::String> lines;
    for (; size < fonts.size(); ++size) {
        lines = nameLines(*fonts[size], name);
        if (!lines.empty() && lines.size() * lineStep(NAME_SIZES[size]) <= NAME_HEIGHT) {
            break;
        }
    }
    if (size == fonts.size()) {
        throw vessot::exception("the name of item '" + name + "' does not fit its tile: list where its word breaks",
                                __FILE__, __LINE__);
    }
    float step = lineStep(NAME_SIZES[size]);
    float top = y0 + CELL / 2.0f - (lines.size() - 1) * step / 2;
    for (size_t i = 0; i < lines.size(); ++i) {
        writeText(image, *fonts[size], lines[i], x0 + CELL / 2.0f, top + i * step, Color(255, 255, 255, 255));
    }
}

} // namespace

const std::vector<const char*>& hintItems() {
    static const std::vector<const char*> items = {
        // what the hint marker shows on the ship
        "bucket_with_silicone", "locator", "manual", "clean_disc", "5_flower", "4_flower", "hammer",
        "pattern_calculation", "ceramic_cup",
        // on the first planet
        "baked_4_flower", "rowboat", "screwdriver", "sharp_screwdriver", "wheel", "beeping_device",
        "plaque_with_silicone", "recharged_battery", "flower_dust", "sharp_cane", "dam_key", "windex", "hanky",
        "fused_explosives", "flint", "ashes",
        // on Schminkell 7
        "detonator", "cork", "star_shaped_stone", "ion_cube", "stone_mold", "ion_pancake", "ion_molded_shape",
        "purple_crystal", "crystal_mold", "blue_crystal", "red_crystal", "titanium_box", "heavy_titanium_box",
        "canister_empty", "charged_canister",
        // on Varion
        "ID_card", "withered_branch", "ceramic_cup_egg", "authorization_papers", "sticky_tape", "kribb_logo",
        "pepper_spray", "blow_torch", "cell_key", "black_hole", "pacifist_report", "strong_report",
        // what the ship's rooms hand out
        "empty_bucket", "peeler", "silicone", "broken_locator", "disc", "schematics", "liquid_soap",
        // what the first planet hands out besides
        "map", "cane", "diary", "note", "explosives", "fuses",
        // what Schminkell 7 and Varion hand out besides
        "moist_clay", "box_with_clay", "broken_stone", "defunct_crystal", "blue_dust", "red_dust", "egg", "pepper",
        "water_sprayer",
        // the silicone melted in the kitchen's oven, and the wire dipped in it
        "melt_silicone", "silicone_wire",
        // the first planet's grave plaque, and the old man's flower baked
        "plaque", "baked_5_flower"};
    return items;
}

namespace {

// The items' English names ("obj_" and the item's name in the interface's texts): the tiles carry
// the names the game shows.
std::map<vessot::String, vessot::String> englishItemNames(const vessot::String& data) {
    vessot::String path = data + "/ui/texts/en.xml";
    vessxml::Document texts = vessxml::Document::parse(vessot::File::hread(path), path);
    std::map<vessot::String, vessot::String> names;
    for (vessxml::Node* text : texts->children()) {
        vessot::String key = text->pstr("key", "");
        if (key.startsWith("obj_")) {
            names[key.substr(4)] = text->getText();
        }
    }
    return names;
}

} // namespace

void drawHintArt(const vessot::String& data) {
    nimbo::Image image(512, 1024, Color::Clear);
    // The marker's talk verb (use and look are the inventory's buttons) and the hand of "cursor_use".
    bubble(image, 0, 0, Color(240, 240, 240, 255));
    hand(image, 64, 0, Color(240, 200, 160, 255));
    // The smart-hint bulb: empty (up, hover, pushed), then its lit glass.
    for (int i = 0; i < 3; ++i) {
        float brightness = i == 1 ? 1.0f : i == 2 ? 0.65f : 0.85f;
        emptyBulb(image, i * CELL, EMPTY_TOP, brightness);
        glass(image, (i + 3) * CELL, FILL_TOP, true, brightness);
    }
    Fonts fonts;
    for (int size : NAME_SIZES) {
        fonts.push_back(std::make_unique<runelttf::FontTtf>(data + "/ui/fonts/radodid.ttf", "icons", (float)size));
    }
    std::map<vessot::String, vessot::String> names = englishItemNames(data);
    const std::vector<const char*>& items = hintItems();
    // Beside the picture, the name each tile carries: its picture's name, a space, the name painted.
    vessot::String painted;
    for (size_t i = 0; i < items.size(); ++i) {
        int row = (int)i / ICONS_A_ROW;
        int top = row < FIRST_ICON_ROWS ? CELL + row * CELL : SECOND_ICONS_TOP + (row - FIRST_ICON_ROWS) * CELL;
        auto named = names.find(items[i]);
        vessot::String name = named != names.end() ? named->second : vessot::String(items[i]).replaced("_", " ");
        icon(image, fonts, (int)(i % ICONS_A_ROW) * CELL, top, items[i], name);
        painted += "items/" + vessot::String(items[i]) + " " + name + "\n";
    }
    image.savePng(data + "/ui/textures/hints_hd.png");
    vessot::writeFileAtomically(data + "/ui/textures/hints_hd.names", painted);
}

} // namespace artgen
