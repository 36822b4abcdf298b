#pragma once
// The one layout engine behind measuring and drawing: UTF-8 text with inline tags, laid out in
// lines, word-wrapped and aligned. What is measured is what is drawn.
//
// Tags: "[b]" bold (drawn with a border; it changes no advance and no line break, and needs no
// closing tag), "[f:font]" or "[f:font:scale]" ... "[/f]" another font, "[c:RRGGBB]" or
// "[c=RRGGBB]" ... "[/c]" another colour (red, green and blue; alpha stays the caller's). Any other
// bracketed text is drawn as it stands. "\n" breaks a line, and with legacy line breaks so do the
// two characters backslash and n.

#include "morvec/Rectangle.h"
#include "runel/Font.h"
#include "vessot/String.h"

#include <functional>
#include <vector>

namespace runel {

// Horizontal alignment codes: 0, 1 and 2 keep lines as the text breaks them; 3, 5 and 7 also wrap
// at the width.
enum Alignment { LEFT = 0, CENTER = 1, RIGHT = 2, LEFT_WRAPPED = 3, RIGHT_WRAPPED = 5, CENTER_WRAPPED = 7 };
enum VerticalAlignment { TOP = 0, MIDDLE = 1, BOTTOM = 2 };

// A font with the scale it is drawn at: units per font pixel.
struct FontChoice {
    Font* font = nullptr;
    float scale = 1;
};

// Finds the font a "[f:...]" tag names ("name" or "name:scale"); throws when there is none.
using FontResolver = std::function<FontChoice(const vessot::String& name)>;

struct PlacedGlyph {
    Font* font = nullptr;
    const Glyph* glyph = nullptr;
    morvec::Rectangle dest; // in units, from the text's top left
    bool colored = false;   // a colour tag's red, green and blue apply
    uint8_t r = 0, g = 0, b = 0;
    bool bold = false;
    float scale = 1; // units per font pixel
};

struct Layout {
    std::vector<PlacedGlyph> glyphs; // only glyphs with a picture
    float width = 0;                 // of the widest line
    float height = 0;
    int lines = 0;
    std::vector<vessot::String> unknownTags; // drawn as text
};

// Lays text out for the given width (the rectangle's; wrapping alignments break lines at it).
// Without markup, tags and legacy line breaks are plain characters (text typed by the player).
Layout layoutText(const vessot::String& text, const FontChoice& font, const FontResolver& resolve, Alignment alignment,
                  float width, bool legacyLineBreaks, bool markup = true);

} // namespace runel
