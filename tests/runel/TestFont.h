#pragma once
// A font with simple metrics for layout tests: every character 10 pixels wide (a blank 5), lines
// 20 pixels with the baseline at 16, glyph pictures 8 x 16 one pixel in. "~" is missing.

#include "runel/Font.h"

#include <unordered_map>

class TestFont : public runel::Font {
public:
    explicit TestFont(const vessot::String& fontName, float fontScale = 1, float advance = 10, int* deleted = nullptr)
        : advance(advance), deleted(deleted) {
        name = fontName;
        scale = fontScale;
        lineHeight = 20;
        ascent = 16;
    }
    ~TestFont() override {
        if (deleted) {
            ++*deleted;
        }
    }
    nimbo::Texture* getPageTexture(int) override { return nullptr; }
    morvec::Vector2 getPageSize(int) const override { return {64, 64}; }

protected:
    const runel::Glyph* findGlyph(uint32_t codePoint) override {
        if (codePoint == '~') {
            return nullptr;
        }
        auto it = glyphs.find(codePoint);
        if (it == glyphs.end()) {
            runel::Glyph g;
            g.advance = codePoint == ' ' ? advance / 2 : advance;
            if (codePoint != ' ') {
                g.source = {0, 0, 8, 16};
                g.offsetX = 1;
            }
            it = glyphs.emplace(codePoint, g).first;
        }
        return &it->second;
    }

private:
    float advance;
    int* deleted;
    std::unordered_map<uint32_t, runel::Glyph> glyphs;
};
