#include "runel/Renderer.h"

#include "nimbo/Nimbo.h"
#include "vessot/Exception.h"
#include "vessot/Log.h"

namespace runel {

namespace {

Renderer theRenderer;

// The cache holds at most this many layouts; when full it starts afresh.
constexpr size_t cacheLimit = 1024;

const Layout emptyLayout;

} // namespace

Renderer* const renderer = &theRenderer;

void init() {
    theRenderer.active = true;
}

void destroy() {
    theRenderer.deleteFonts();
    theRenderer.clearCache();
    theRenderer.defaultFont.clear();
    theRenderer.shadowOffset = {};
    theRenderer.borderOffset = 1;
    theRenderer.legacyLineBreaks = false;
    theRenderer.active = false;
}

Renderer::~Renderer() {
    deleteFonts();
}

void Renderer::deleteFonts() {
    for (auto& [name, entry] : fonts) {
        if (entry.second) {
            delete entry.first;
        }
    }
    fonts.clear();
}

void Renderer::registerFont(Font* font, bool owned) {
    if (!font) {
        return;
    }
    if (!active) {
        if (owned) {
            delete font;
        }
        return;
    }
    auto& entry = fonts[font->getName()];
    if (entry.first && entry.second && entry.first != font) {
        delete entry.first;
    }
    entry = {font, owned};
    clearCache();
}

void Renderer::unregisterFont(const vessot::String& name) {
    auto it = fonts.find(name);
    if (!active || it == fonts.end()) {
        return;
    }
    if (it->second.second) {
        delete it->second.first;
    }
    fonts.erase(it);
    clearCache();
}

bool Renderer::hasFont(const vessot::String& name) const {
    return fonts.count(name) > 0;
}

FontChoice Renderer::findFont(const vessot::String& name) const {
    vessot::String base = name.empty() ? defaultFont : name;
    float scale = 1;
    size_t colon = base.rfind(':');
    if (colon != vessot::String::npos && base.substr(colon + 1).isNumber()) {
        scale = base.substr(colon + 1).toFloat();
        base = base.substr(0, colon);
    }
    auto it = fonts.find(base);
    if (it == fonts.end()) {
        VESSOT_THROW("Font '" + base + "' is not registered");
    }
    return {it->second.first, it->second.first->getScale() * scale};
}

void Renderer::setDefaultFont(const vessot::String& name) {
    if (active) {
        defaultFont = name;
        clearCache();
    }
}

void Renderer::setUseLegacyLineBreakParsing(bool use) {
    if (active && use != legacyLineBreaks) {
        legacyLineBreaks = use;
        clearCache();
    }
}

void Renderer::clearCache() {
    cache.clear();
}

const Layout& Renderer::getLayout(const vessot::String& font, const vessot::String& text, Alignment alignment,
                                  float width, bool markup) {
    if (!active) {
        return emptyLayout;
    }
    if (alignment == LEFT) {
        width = 0; // left-aligned lines without wrapping do not depend on the width
    }
    vessot::String key = font + '\x1f' + vessot::String((int)alignment) + '\x1f' + vessot::String::fromFloat(width) +
                         (markup ? '\x1f' : '\x1e') + text;
    auto found = cache.find(key);
    if (found != cache.end()) {
        return found->second;
    }
    if (cache.size() >= cacheLimit) {
        cache.clear();
    }
    Layout layout = layoutText(
        text, findFont(font), [this](const vessot::String& name) { return findFont(name); }, alignment, width,
        legacyLineBreaks, markup);
    for (const vessot::String& tag : layout.unknownTags) {
        if (reportedTags.insert(tag).second) {
            vessot::Log::write("runel", "Unknown text tag '" + tag + "' is drawn as text");
        }
    }
    return cache.emplace(key, std::move(layout)).first->second;
}

float Renderer::getTextWidth(const vessot::String& font, const vessot::String& text) {
    return getLayout(font, text, LEFT, 0).width;
}

float Renderer::getTextHeight(const vessot::String& font, const vessot::String& text, float maxWidth) {
    return getLayout(font, text, LEFT_WRAPPED, maxWidth).height;
}

void Renderer::drawGlyph(const PlacedGlyph& g, const morvec::Vector2& at, const nimbo::Color& color) {
    nimbo::Texture* page = g.font->getPageTexture(g.glyph->page);
    if (!page) {
        return;
    }
    morvec::Vector2 size = g.font->getPageSize(g.glyph->page);
    const morvec::Rectangle& s = g.glyph->source;
    nimbo::rendersys->setTexture(page);
    nimbo::rendersys->drawTexturedRect(g.dest.offset(at), {s.x / size.x, s.y / size.y, s.w / size.x, s.h / size.y},
                                       color);
}

void Renderer::drawText(const morvec::Rectangle& rect, const vessot::String& font, const vessot::String& text,
                        Alignment horizontal, VerticalAlignment vertical, const nimbo::Color& color,
                        const morvec::Vector2& offset, bool markup) {
    if (!active || !nimbo::rendersys || text.empty()) {
        return;
    }
    const Layout& layout = getLayout(font, text, horizontal, rect.w, markup);
    float free = rect.h - layout.height;
    float down = vertical == MIDDLE ? free / 2 : vertical == BOTTOM ? free : 0;
    morvec::Vector2 origin(rect.x + offset.x, rect.y + offset.y + down);
    // Bold text: a black border first, under every glyph, then the glyphs.
    const nimbo::Color border(0, 0, 0, color.a);
    // The border is measured in the font's pixels, so it keeps its share of the glyphs at any scale.
    static const morvec::Vector2 AROUND[] = {{-1, -1}, {0, -1}, {1, -1}, {-1, 0}, {1, 0}, {-1, 1}, {0, 1}, {1, 1}};
    for (const PlacedGlyph& g : layout.glyphs) {
        if (g.bold) {
            for (const morvec::Vector2& d : AROUND) {
                drawGlyph(g, origin + d * (borderOffset * g.scale), border);
            }
        }
    }
    for (const PlacedGlyph& g : layout.glyphs) {
        drawGlyph(g, origin, g.colored ? nimbo::Color(g.r, g.g, g.b, color.a) : color);
    }
}

} // namespace runel
