#include "runel/FontBitmap.h"

#include "nimbo/Image.h"
#include "nimbo/Nimbo.h"
#include "vessot/Exception.h"
#include "vessot/File.h"

namespace runel {

namespace {

constexpr const char* magic = "zephfont 1";

class Reader {
public:
    explicit Reader(const vessot::String& path) : path(path) {}

    [[noreturn]] void fail(const vessot::String& what) const {
        VESSOT_THROW("Bitmap font '" + path + "'" + (line > 0 ? " line " + vessot::String(line) : vessot::String()) +
                     ": " + what);
    }
    float number(const vessot::String& word) const {
        if (!word.isNumber()) {
            fail("'" + word + "' is not a number");
        }
        return word.toFloat();
    }
    // A page index or code point: a whole number from 0 to max.
    uint32_t index(const vessot::String& word, uint32_t max) const {
        double value = number(word);
        if (value < 0 || value > max || value != (double)(uint32_t)value) {
            fail("'" + word + "' is not a whole number from 0 to " + vessot::String((unsigned long)max));
        }
        return (uint32_t)value;
    }

    vessot::String path;
    int line = 0;
};

} // namespace

FontBitmap::FontBitmap(const vessot::String& path) {
    Reader in(path);
    if (!vessot::Resource::exists(path, true)) {
        in.fail("the file is missing");
    }
    vessot::Array<vessot::String> lines = vessot::Resource::hread(path).split("\n");
    if (lines.size() == 0 || lines[0].trimmed() != magic) {
        in.fail(vessot::String("the file does not start with '") + magic + "'");
    }
    bool named = false, sized = false, based = false;
    for (in.line = 2; in.line <= lines.size(); ++in.line) {
        vessot::String text = lines[in.line - 1].trimmed();
        if (text.empty() || text.startsWith("#")) {
            continue;
        }
        vessot::String key, value;
        text.split(" ", key, value);
        if (key == "name" && !value.empty()) {
            name = value;
            named = true;
        } else if (key == "scale") {
            scale = in.number(value);
        } else if (key == "line_height") {
            lineHeight = in.number(value);
            sized = true;
        } else if (key == "ascent") {
            ascent = in.number(value);
            based = true;
        } else if (key == "page" && !value.empty()) {
            if (!vessot::DirBase::staysInside(value)) {
                in.fail("the page '" + value + "' must lie in the font's folder (no absolute path, no '..')");
            }
            pages.push_back({vessot::DirBase::join(vessot::DirBase::dirname(path), value), {}, nullptr});
        } else if (key == "glyph") {
            vessot::Array<vessot::String> f = value.split(" ", -1, true);
            if (f.size() != 9) {
                in.fail("a glyph has 9 numbers: code page x y w h offset_x offset_y advance");
            }
            Glyph g;
            g.page = (int)in.index(f[1], 1000000);
            if (g.page >= (int)pages.size()) {
                in.fail("glyph page " + f[1] + " is not declared");
            }
            g.source = {in.number(f[2]), in.number(f[3]), in.number(f[4]), in.number(f[5])};
            g.offsetX = in.number(f[6]);
            g.offsetY = in.number(f[7]);
            g.advance = in.number(f[8]);
            glyphs[in.index(f[0], 0x10FFFF)] = g;
        } else {
            in.fail("unknown line '" + text + "'");
        }
    }
    in.line = 0;
    if (!named || !sized || !based) {
        in.fail("name, line_height and ascent are required");
    }
    for (Page& page : pages) {
        int w = 0, h = 0;
        if (!nimbo::Image::readSize(page.path, w, h)) {
            in.fail("page '" + page.path + "' is missing or not an image");
        }
        page.size = {(float)w, (float)h};
    }
}

FontBitmap::~FontBitmap() {
    for (Page& page : pages) {
        delete page.texture;
    }
}

nimbo::Texture* FontBitmap::getPageTexture(int page) {
    Page& p = pages[page];
    if (!p.texture && nimbo::rendersys) {
        p.texture = nimbo::rendersys->createTextureFromResource(p.path, nimbo::Texture::TYPE_MANAGED, false);
    }
    return p.texture;
}

morvec::Vector2 FontBitmap::getPageSize(int page) const {
    return pages[page].size;
}

const Glyph* FontBitmap::findGlyph(uint32_t codePoint) {
    auto it = glyphs.find(codePoint);
    return it == glyphs.end() ? nullptr : &it->second;
}

} // namespace runel
