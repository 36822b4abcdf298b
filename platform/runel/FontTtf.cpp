#include "runel/FontTtf.h"

#include "nimbo/Nimbo.h"
#include "vessot/Exception.h"
#include "vessot/File.h"

#include <algorithm>
#include <ft2build.h>
#include FT_FREETYPE_H

namespace runelttf {

namespace {

constexpr int pageSize = 1024;
constexpr int padding = 1; // empty pixels around each glyph, so filtering never reaches a neighbour

// Shared by the fonts, so that the library outlives runelttf::destroy while fonts remain.
std::shared_ptr<FT_LibraryRec_> library;

} // namespace

void init() {
    if (library) {
        return;
    }
    FT_Library lib = nullptr;
    if (FT_Init_FreeType(&lib) != 0) {
        VESSOT_THROW("Unable to start the TrueType library");
    }
    library = std::shared_ptr<FT_LibraryRec_>(lib, FT_Done_FreeType);
}

void destroy() {
    library.reset();
}

struct FontTtf::Face {
    std::shared_ptr<FT_LibraryRec_> library;
    vessot::String bytes; // FreeType reads the file from here as long as the face lives
    FT_Face face = nullptr;

    ~Face() {
        if (face) {
            FT_Done_Face(face);
        }
    }
};

FontTtf::FontTtf(const vessot::String& file, const vessot::String& fontName, float height, float fontScale,
                 float fontLineHeight, bool antialias)
    : face(std::make_unique<Face>()), antialiased(antialias) {
    if (!library) {
        VESSOT_THROW("Font '" + file + "': runelttf::init has not been called");
    }
    if (!vessot::Resource::exists(file, true)) {
        VESSOT_THROW("Font file '" + file + "' is missing");
    }
    face->library = library;
    face->bytes = vessot::Resource::hread(file);
    if (FT_New_Memory_Face(library.get(), (const FT_Byte*)face->bytes.data(), (FT_Long)face->bytes.size(), 0,
                           &face->face) != 0) {
        face->face = nullptr;
        VESSOT_THROW("Font file '" + file + "' is not a font FreeType can read");
    }
    if (height < 1 || FT_Set_Pixel_Sizes(face->face, 0, (FT_UInt)height) != 0) {
        VESSOT_THROW("Font file '" + file + "' cannot be drawn " + vessot::String(height) + " pixels high");
    }
    name = fontName;
    scale = fontScale;
    const FT_Size_Metrics& m = face->face->size->metrics;
    ascent = (float)m.ascender / 64.0f;
    lineHeight = fontLineHeight > 0 ? fontLineHeight : (float)m.height / 64.0f;
}

FontTtf::~FontTtf() {
    for (Page& page : pages) {
        delete page.texture;
    }
}

bool FontTtf::hasCodePoint(uint32_t codePoint) const {
    return FT_Get_Char_Index(face->face, codePoint) != 0;
}

const runel::Glyph* FontTtf::findGlyph(uint32_t codePoint) {
    auto it = glyphs.find(codePoint);
    if (it == glyphs.end()) {
        it = glyphs.emplace(codePoint, rasterise(codePoint)).first;
    }
    return &it->second;
}

// Finds room for a w x h picture (padding included): along the current row, else on a new row,
// else on a new page.
void FontTtf::place(int w, int h, int& x, int& y) {
    if (pages.empty() || penX + w > pageSize) {
        penX = 0;
        penY += rowHeight;
        rowHeight = 0;
    }
    if (pages.empty() || penY + h > pageSize) {
        pages.push_back({nimbo::Image(pageSize, pageSize)});
        penX = penY = rowHeight = 0;
    }
    x = penX;
    y = penY;
    penX += w;
    rowHeight = std::max(rowHeight, h);
}

runel::Glyph FontTtf::rasterise(uint32_t codePoint) {
    // A code point the font lacks gets the font's own stand-in glyph (index 0).
    FT_UInt index = FT_Get_Char_Index(face->face, codePoint);
    FT_Int32 flags = FT_LOAD_RENDER | (antialiased ? FT_LOAD_TARGET_NORMAL : FT_LOAD_TARGET_MONO);
    runel::Glyph glyph;
    if (FT_Load_Glyph(face->face, index, flags) != 0) {
        return glyph;
    }
    FT_GlyphSlot slot = face->face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    glyph.advance = (float)slot->advance.x / 64.0f;
    int w = (int)bitmap.width;
    int h = (int)bitmap.rows;
    if (w == 0 || h == 0) {
        return glyph;
    }
    int x = 0, y = 0;
    place(w + 2 * padding, h + 2 * padding, x, y);
    glyph.page = (int)pages.size() - 1;
    Page& page = pages.back();
    for (int row = 0; row < h; ++row) {
        const unsigned char* line = bitmap.buffer + row * bitmap.pitch;
        for (int col = 0; col < w; ++col) {
            int coverage =
                bitmap.pixel_mode == FT_PIXEL_MODE_MONO ? ((line[col / 8] >> (7 - col % 8)) & 1) * 255 : line[col];
            page.image.setPixel(x + padding + col, y + padding + row, nimbo::Color(255, 255, 255, coverage));
        }
    }
    int* d = page.dirty;
    bool clean = d[2] <= d[0];
    d[0] = clean ? x : std::min(d[0], x);
    d[1] = clean ? y : std::min(d[1], y);
    d[2] = clean ? x + w + 2 * padding : std::max(d[2], x + w + 2 * padding);
    d[3] = clean ? y + h + 2 * padding : std::max(d[3], y + h + 2 * padding);
    glyph.source = {(float)(x + padding), (float)(y + padding), (float)w, (float)h};
    glyph.offsetX = (float)slot->bitmap_left;
    glyph.offsetY = ascent - (float)slot->bitmap_top;
    return glyph;
}

nimbo::Texture* FontTtf::getPageTexture(int index) {
    Page& page = pages[index];
    int* d = page.dirty;
    auto allDirty = [&] {
        d[0] = d[1] = 0;
        d[2] = pageSize;
        d[3] = getPageUsedHeight(index);
    };
    if (page.texture && !page.texture->isLoaded()) {
        if (page.texture->load()) {
            allDirty(); // a reloaded texture is blank
        } else {
            delete page.texture; // its render system has gone
            page.texture = nullptr;
        }
    }
    if (!page.texture) {
        if (!nimbo::rendersys) {
            return nullptr;
        }
        page.texture = nimbo::rendersys->createTexture(pageSize, pageSize, nimbo::Color::Clear, nimbo::FORMAT_RGBA,
                                                       nimbo::Texture::TYPE_DYNAMIC);
        allDirty();
    }
    if (d[2] > d[0] && d[3] > d[1]) {
        page.texture->write(d[0], d[1], d[2] - d[0], d[3] - d[1], d[0], d[1], page.image.data(), pageSize, pageSize,
                            nimbo::FORMAT_RGBA);
        std::fill(d, d + 4, 0);
    }
    return page.texture;
}

morvec::Vector2 FontTtf::getPageSize(int) const {
    return {(float)pageSize, (float)pageSize};
}

int FontTtf::getPageUsedHeight(int page) const {
    return page + 1 < (int)pages.size() ? pageSize : penY + rowHeight;
}

} // namespace runelttf
