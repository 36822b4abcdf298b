#pragma once
// A font drawn from pictures made in advance: a text file (see docs/formats.md, "Bitmap fonts")
// that declares the font's name, scale and metrics, its page images and its glyphs.

#include "runel/Font.h"

#include <unordered_map>
#include <vector>

namespace runel {

class FontBitmap : public Font {
public:
    // Reads the font file (a resource). A missing or damaged file, or a missing page image, throws
    // vessot::exception naming the file (and the line).
    explicit FontBitmap(const vessot::String& path);
    ~FontBitmap() override;

    nimbo::Texture* getPageTexture(int page) override;
    morvec::Vector2 getPageSize(int page) const override;

protected:
    const Glyph* findGlyph(uint32_t codePoint) override;

private:
    struct Page {
        vessot::String path;
        morvec::Vector2 size;
        nimbo::Texture* texture = nullptr;
    };
    std::vector<Page> pages;
    std::unordered_map<uint32_t, Glyph> glyphs;
};

} // namespace runel
