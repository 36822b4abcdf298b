#include "runel/Layout.h"

#include "nimbo/Utf8.h"

#include <algorithm>

namespace runel {

namespace {

// Slack when comparing widths, so a text laid out at its own measured width stays on one line.
constexpr float widthSlack = 0.001f;

struct Style {
    FontChoice font;
    bool colored = false;
    uint8_t r = 0, g = 0, b = 0;
};

// One character, or a line break, with what it is drawn in.
struct Item {
    bool lineBreak = false;
    bool blank = false;
    const Glyph* glyph = nullptr;
    Style style;
    bool bold = false;
    float advance = 0;
};

bool isWrapping(Alignment a) {
    return a == LEFT_WRAPPED || a == RIGHT_WRAPPED || a == CENTER_WRAPPED;
}

class Parser {
public:
    Parser(const FontChoice& font, const FontResolver& resolve, bool legacy, bool markup)
        : resolve(resolve), legacy(legacy && markup), markup(markup) {
        styles.push_back({font});
    }

    std::vector<Item> parse(const vessot::String& text, std::vector<vessot::String>& unknownTags) {
        std::vector<Item> items;
        size_t pos = 0;
        while (pos < text.size()) {
            char c = text[pos];
            if (c == '[' && markup) {
                size_t close = text.find(']', pos);
                if (close != vessot::String::npos) {
                    vessot::String tag = text.substr(pos + 1, close - pos - 1);
                    if (apply(tag)) {
                        pos = close + 1;
                        continue;
                    }
                    unknownTags.push_back("[" + tag + "]");
                }
            }
            if (c == '\n' || (legacy && c == '\\' && pos + 1 < text.size() && text[pos + 1] == 'n')) {
                items.push_back(lineBreak());
                pos += c == '\n' ? 1 : 2;
                continue;
            }
            if (c == '\r') {
                ++pos;
                continue;
            }
            uint32_t codePoint = nimbo::nextCodePoint(text, pos);
            items.push_back(character(codePoint == '\t' ? ' ' : codePoint));
        }
        return items;
    }

    // The style in effect, for a line with no characters.
    const Style& current() const { return styles.back(); }

private:
    bool apply(const vessot::String& tag) {
        if (tag == "b") {
            bold = true;
        } else if (tag == "/f" || tag == "/c") {
            pop(tag == "/f");
        } else if (tag.startsWith("f:") && tag.size() > 2) {
            Style s = styles.back();
            s.font = resolve(tag.substr(2));
            styles.push_back(s);
            fontTags.push_back(true);
        } else if ((tag.startsWith("c:") || tag.startsWith("c=")) && tag.size() == 8 && tag.substr(2).isHex()) {
            Style s = styles.back();
            unsigned rgb = tag.substr(2).hexToUInt();
            s.colored = true;
            s.r = (uint8_t)(rgb >> 16);
            s.g = (uint8_t)(rgb >> 8);
            s.b = (uint8_t)rgb;
            styles.push_back(s);
            fontTags.push_back(false);
        } else {
            return false;
        }
        return true;
    }

    // Closes the latest tag of the kind, with what was opened after it.
    void pop(bool font) {
        for (size_t i = fontTags.size(); i > 0; --i) {
            if (fontTags[i - 1] == font) {
                styles.resize(i);
                fontTags.resize(i - 1);
                return;
            }
        }
    }

    Item lineBreak() const {
        Item item;
        item.lineBreak = true;
        item.style = styles.back();
        return item;
    }

    Item character(uint32_t codePoint) const {
        Item item;
        item.style = styles.back();
        item.bold = bold;
        item.blank = codePoint == ' ';
        item.glyph = item.style.font.font->getGlyph(codePoint);
        item.advance = item.glyph ? item.glyph->advance * item.style.font.scale : 0;
        return item;
    }

    const FontResolver& resolve;
    bool legacy;
    bool markup;
    bool bold = false;
    std::vector<Style> styles;  // the first is the text's own
    std::vector<bool> fontTags; // per later style: opened by a font tag (else a colour tag)
};

struct Line {
    size_t begin;
    size_t end;
    Style emptyStyle; // for a line without characters
};

// Splits the items into lines at line breaks and, when wrapping, before the word that would
// overflow (or before the character, for a word wider than the line).
std::vector<Line> breakLines(const std::vector<Item>& items, bool wrap, float width, const Style& last) {
    std::vector<Line> lines;
    size_t start = 0;
    float used = 0;
    size_t lastBlank = SIZE_MAX;
    bool ink = false;
    for (size_t i = 0; i < items.size(); ++i) {
        const Item& item = items[i];
        if (item.lineBreak) {
            lines.push_back({start, i, item.style});
            start = i + 1;
            used = 0;
            lastBlank = SIZE_MAX;
            ink = false;
            continue;
        }
        if (wrap && !item.blank && ink && used + item.advance > width + widthSlack) {
            bool atBlank = lastBlank != SIZE_MAX;
            lines.push_back({start, atBlank ? lastBlank : i, item.style});
            start = atBlank ? lastBlank + 1 : i;
            used = 0;
            for (size_t k = start; k < i; ++k) {
                used += items[k].advance;
            }
            ink = start < i;
            lastBlank = SIZE_MAX;
        }
        if (item.blank) {
            lastBlank = i;
        } else {
            ink = true;
        }
        used += item.advance;
    }
    if (start < items.size() || (!items.empty() && items.back().lineBreak)) {
        lines.push_back({start, items.size(), last});
    }
    return lines;
}

} // namespace

Layout layoutText(const vessot::String& text, const FontChoice& font, const FontResolver& resolve, Alignment alignment,
                  float width, bool legacyLineBreaks, bool markup) {
    Layout layout;
    Parser parser(font, resolve, legacyLineBreaks, markup);
    std::vector<Item> items = parser.parse(text, layout.unknownTags);
    std::vector<Line> lines = breakLines(items, isWrapping(alignment), width, parser.current());
    float top = 0;
    for (const Line& line : lines) {
        // Trailing blanks take no room; the tallest font sets the line's height and baseline.
        size_t end = line.end;
        while (end > line.begin && items[end - 1].blank) {
            --end;
        }
        float lineWidth = 0;
        float height = 0;
        float ascent = 0;
        for (size_t i = line.begin; i < end; ++i) {
            lineWidth += items[i].advance;
        }
        for (size_t i = line.begin; i < line.end; ++i) {
            const FontChoice& f = items[i].style.font;
            height = std::max(height, f.font->getLineHeight() * f.scale);
            ascent = std::max(ascent, f.font->getAscent() * f.scale);
        }
        if (line.begin == line.end) {
            const FontChoice& f = line.emptyStyle.font;
            height = f.font->getLineHeight() * f.scale;
        }
        float x = 0;
        if (alignment == CENTER || alignment == CENTER_WRAPPED) {
            x = (width - lineWidth) / 2;
        } else if (alignment == RIGHT || alignment == RIGHT_WRAPPED) {
            x = width - lineWidth;
        }
        for (size_t i = line.begin; i < end; ++i) {
            const Item& item = items[i];
            const Glyph* g = item.glyph;
            if (g && g->source.w > 0 && g->source.h > 0) {
                float s = item.style.font.scale;
                float y = top + ascent - item.style.font.font->getAscent() * s + g->offsetY * s;
                PlacedGlyph placed{item.style.font.font, g, {x + g->offsetX * s, y, g->source.w * s, g->source.h * s}};
                placed.colored = item.style.colored;
                placed.r = item.style.r;
                placed.g = item.style.g;
                placed.b = item.style.b;
                placed.bold = item.bold;
                placed.scale = s;
                layout.glyphs.push_back(placed);
            }
            x += item.advance;
        }
        layout.width = std::max(layout.width, lineWidth);
        top += height;
    }
    layout.height = top;
    layout.lines = (int)lines.size();
    return layout;
}

} // namespace runel
