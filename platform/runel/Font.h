#pragma once
// A font the text renderer draws with: glyph pictures on pages (textures), with metrics in the
// font's pixels. The font's scale turns pixels into the units text is laid out in.

#include "morvec/Rectangle.h"
#include "nimbo/Texture.h"
#include "vessot/String.h"

#include <cstdint>

namespace runel {

struct Glyph {
    int page = 0;
    morvec::Rectangle source; // the picture on its page, in pixels; empty for blanks
    float offsetX = 0;        // from the pen position to the picture's left edge
    float offsetY = 0;        // from the line's top to the picture's top
    float advance = 0;        // how far the pen moves on
};

class Font {
public:
    virtual ~Font() = default;

    const vessot::String& getName() const { return name; }
    float getScale() const { return scale; }
    // Pixels from one line's top to the next.
    float getLineHeight() const { return lineHeight; }
    // Pixels from a line's top to its baseline.
    float getAscent() const { return ascent; }

    // The glyph of a code point; a code point the font lacks gives its "?" (or its own stand-in),
    // and null when it has neither.
    const Glyph* getGlyph(uint32_t codePoint);
    // The texture of a page, made or brought up to date on demand; null without a render system.
    virtual nimbo::Texture* getPageTexture(int page) = 0;
    // A page's size in pixels.
    virtual morvec::Vector2 getPageSize(int page) const = 0;

protected:
    // The glyph when the font has one for the code point, else null.
    virtual const Glyph* findGlyph(uint32_t codePoint) = 0;

    vessot::String name;
    float scale = 1;
    float lineHeight = 0;
    float ascent = 0;
};

} // namespace runel
