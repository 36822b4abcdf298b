#pragma once
// An object that draws a text: a plain text, or a text key that it resolves through its dataset
// with the text-key markup (TextKey.h) each time it draws.

#include "nimbo/Color.h"
#include "nimboui/Object.h"

namespace nimboui {

// Alignment codes of the text renderer: horizontal 0 left, 1 centre, 2 right (one line each),
// 3 left wrapped, 5 right wrapped, 7 centre wrapped; vertical 0 top, 1 centre, 2 bottom.
class Label : public Object {
public:
    Label(const String& name, const morvec::Rectangle& rect);

    // "text", "text_key", "font", "color", "hover_color", "align", "valign", then Object's.
    bool setProperty(const String& name, const String& value) override;
    void OnDraw(const morvec::Vector2& offset) override;

    // Setting a text clears the key, and the other way round.
    void setText(const String& value);
    const String& getText() const { return text; }
    void setTextKey(const String& key);
    const String& getTextKey() const { return textKey; }
    // What the label shows: the text, or the key expanded through the dataset.
    String getDisplayedText();

    // "name" or "name:scale" of a font registered with the text renderer.
    void setFont(const String& value) { font = value; }
    const String& getFont() const { return font; }
    void setColor(const nimbo::Color& value) { color = value; }
    const nimbo::Color& getColor() const { return color; }
    // Used while the pointer rests on the label; until one is set, the colour.
    void setHoverColor(const nimbo::Color& value) {
        hoverColor = value;
        hoverColorSet = true;
    }
    nimbo::Color getHoverColor() const { return hoverColorSet ? hoverColor : color; }
    void setAlignment(int horizontal) { align = horizontal; }
    int getAlignment() const { return align; }
    void setVerticalAlignment(int vertical) { valign = vertical; }
    int getVerticalAlignment() const { return valign; }
    // The height of the shown text laid out at the label's width in its font.
    float getTextHeight();

protected:
    Label(const String& typeName, const String& name, const morvec::Rectangle& rect);
    // Draws the text in the colour, faded by the derived alpha; without markup no tag is read.
    void drawText(const morvec::Vector2& offset, const nimbo::Color& shown, const String& displayed,
                  bool markup = true);
    // Draws the shown text in the colour. A label faded out keeps its text key but does not look it up
    // while nothing would show, as its dataset may be gone by then.
    void drawShownText(const morvec::Vector2& offset, const nimbo::Color& shown);

    String text;
    String textKey;
    String font;
    nimbo::Color color;
    nimbo::Color hoverColor;
    bool hoverColorSet = false;
    int align = 3;
    int valign = 0;
};

} // namespace nimboui
