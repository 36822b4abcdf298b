#pragma once
// TrueType fonts, over FreeType: glyphs are drawn on demand into atlas pages that live in memory
// and on dynamic textures. runelttf::destroy may run before the fonts it made are deleted.

#include "nimbo/Image.h"
#include "runel/Font.h"

#include <memory>
#include <unordered_map>
#include <vector>

namespace runelttf {

void init();
void destroy();

class FontTtf : public runel::Font {
public:
    // file: the font file (a resource). height: the glyphs' size in pixels. scale: units per pixel.
    // lineHeight: pixels from line to line, 0 for the font's own. antialiased: grey edges, or
    // none. A missing or damaged file, or a missing runelttf::init, throws vessot::exception.
    FontTtf(const vessot::String& file, const vessot::String& name, float height, float scale = 1, float lineHeight = 0,
            bool antialiased = true);
    ~FontTtf() override;

    nimbo::Texture* getPageTexture(int page) override;
    morvec::Vector2 getPageSize(int page) const override;
    // The pages in memory, for writing a bitmap font.
    int getPageCount() const { return (int)pages.size(); }
    const nimbo::Image& getPageImage(int page) const { return pages[page].image; }
    // How many rows of the page hold glyphs.
    int getPageUsedHeight(int page) const;
    // Whether the font file has a glyph of its own for the code point.
    bool hasCodePoint(uint32_t codePoint) const;

protected:
    const runel::Glyph* findGlyph(uint32_t codePoint) override;

private:
    struct Face;
    struct Page {
        nimbo::Image image;
        nimbo::Texture* texture = nullptr;
        // The part not yet on the texture (x0, y0, x1, y1); empty when x1 <= x0.
        int dirty[4] = {0, 0, 0, 0};
    };
    runel::Glyph rasterise(uint32_t codePoint);
    void place(int w, int h, int& x, int& y);

    std::unique_ptr<Face> face;
    bool antialiased;
    std::vector<Page> pages;
    int penX = 0;
    int penY = 0;
    int rowHeight = 0;
    std::unordered_map<uint32_t, runel::Glyph> glyphs;
};

// Writes a bitmap font (runel::FontBitmap) of the font's glyphs for the code points it has: the
// font file at path and its page images beside it (path without ".font", then "_0.png", ...).
// A failure throws vessot::exception naming the file.
void writeBitmapFont(FontTtf& font, const std::vector<uint32_t>& codePoints, const vessot::String& path);

} // namespace runelttf
