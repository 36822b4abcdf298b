#pragma once
// The global text renderer: registered fonts by name, measuring and drawing through one layout
// engine, with the layouts cached. Font names are "name" or "name:scale" ("radodid:1.3"); "" is
// the default font. A name that is not registered throws vessot::exception naming it.
//
// runel::renderer always points at the one renderer. Before runel::init and after runel::destroy
// every call does nothing (and measures 0), because the datasets that registered fonts are
// destroyed after the text library.

#include "morvec/Rectangle.h"
#include "nimbo/Color.h"
#include "runel/Font.h"
#include "runel/Layout.h"
#include "vessot/String.h"

#include <map>
#include <memory>
#include <set>
#include <unordered_map>

namespace runel {

class Renderer {
public:
    Renderer() = default;
    ~Renderer();
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    bool isActive() const { return active; }

    // Registers under the font's own name; a font already registered under it is replaced (and
    // deleted when the renderer owned it). An owned font is deleted with the renderer's fonts.
    void registerFont(Font* font, bool owned = true);
    void unregisterFont(const vessot::String& name);
    bool hasFont(const vessot::String& name) const;
    // The font a name (with or without a scale) means, and the scale it is drawn at.
    FontChoice findFont(const vessot::String& name) const;
    void setDefaultFont(const vessot::String& name);
    const vessot::String& getDefaultFont() const { return defaultFont; }

    // Kept for callers that draw shadows; no tag draws one.
    void setShadowOffset(const morvec::Vector2& offset) { shadowOffset = offset; }
    const morvec::Vector2& getShadowOffset() const { return shadowOffset; }
    // How far the border of "[b]" text reaches, in the font's pixels (scaled with its glyphs).
    void setBorderOffset(float offset) { borderOffset = offset; }
    float getBorderOffset() const { return borderOffset; }
    void setUseLegacyLineBreakParsing(bool use);
    bool getUseLegacyLineBreakParsing() const { return legacyLineBreaks; }
    // Forgets the cached layouts.
    void clearCache();

    // The widest line, without wrapping, in units.
    float getTextWidth(const vessot::String& font, const vessot::String& text);
    // The height of the text wrapped at maxWidth.
    float getTextHeight(const vessot::String& font, const vessot::String& text, float maxWidth);
    // Draws the text in rect (moved by offset) through nimbo::rendersys. A colour tag sets red,
    // green and blue; the alpha is always color's. Without markup no tag is read (see layoutText).
    void drawText(const morvec::Rectangle& rect, const vessot::String& font, const vessot::String& text,
                  Alignment horizontal = LEFT, VerticalAlignment vertical = TOP,
                  const nimbo::Color& color = nimbo::Color::White, const morvec::Vector2& offset = {},
                  bool markup = true);
    // The layout measuring and drawing use, for the width of a rectangle (cached).
    const Layout& getLayout(const vessot::String& font, const vessot::String& text, Alignment alignment, float width,
                            bool markup = true);

private:
    friend void init();
    friend void destroy();
    void drawGlyph(const PlacedGlyph& g, const morvec::Vector2& at, const nimbo::Color& color);
    void deleteFonts();

    bool active = false;
    std::map<vessot::String, std::pair<Font*, bool>> fonts; // name -> font, owned
    vessot::String defaultFont;
    morvec::Vector2 shadowOffset;
    float borderOffset = 1;
    bool legacyLineBreaks = false;
    std::unordered_map<vessot::String, Layout> cache;
    std::set<vessot::String> reportedTags;
};

// The global text renderer.
extern Renderer* const renderer;

void init();
// Deletes the registered fonts the renderer owns; from then on the renderer does nothing.
void destroy();

} // namespace runel
