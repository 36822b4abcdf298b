#include "runel/FontTtf.h"

#include "vessot/Exception.h"
#include "vessot/File.h"

#include <cstring>

namespace runelttf {

namespace {

vessot::String number(float value) {
    return vessot::String::fromFloat(value);
}

} // namespace

void writeBitmapFont(FontTtf& font, const std::vector<uint32_t>& codePoints, const vessot::String& path) {
    std::vector<uint32_t> present;
    for (uint32_t codePoint : codePoints) {
        if (font.hasCodePoint(codePoint)) {
            font.getGlyph(codePoint);
            present.push_back(codePoint);
        }
    }
    vessot::String stem = path.endsWith(".font") ? path.substr(0, path.size() - 5) : path;
    vessot::String text = "zephfont 1\nname " + font.getName() + "\nscale " + number(font.getScale()) +
                          "\nline_height " + number(font.getLineHeight()) + "\nascent " + number(font.getAscent()) +
                          "\n";
    for (int i = 0; i < font.getPageCount(); ++i) {
        // Only the rows that hold glyphs; coordinates from the top stay the same.
        const nimbo::Image& full = font.getPageImage(i);
        nimbo::Image page(full.getWidth(), std::max(1, font.getPageUsedHeight(i)));
        std::memcpy(page.data(), full.data(), (size_t)page.getWidth() * page.getHeight() * 4);
        vessot::String file = stem + "_" + vessot::String(i) + ".png";
        page.savePng(file);
        text += "page " + vessot::DirBase::basename(file) + "\n";
    }
    for (uint32_t codePoint : present) {
        const runel::Glyph& g = *font.getGlyph(codePoint);
        text += "glyph " + vessot::String((unsigned)codePoint) + " " + vessot::String(g.page) + " " +
                number(g.source.x) + " " + number(g.source.y) + " " + number(g.source.w) + " " + number(g.source.h) +
                " " + number(g.offsetX) + " " + number(g.offsetY) + " " + number(g.advance) + "\n";
    }
    vessot::writeFileAtomically(path, text);
}

} // namespace runelttf
