#include "nimboui/Label.h"

#include "nimboui/Internal.h"
#include "nimboui/TextKey.h"

#include <algorithm>

namespace nimboui {

Label::Label(const String& name, const morvec::Rectangle& rect) : Label("Label", name, rect) {}

Label::Label(const String& typeName, const String& name, const morvec::Rectangle& rect)
    : Object(typeName, name, rect) {}

bool Label::setProperty(const String& property, const String& value) {
    if (property == "text") {
        setText(value);
    } else if (property == "text_key") {
        setTextKey(value);
    } else if (property == "font") {
        font = value;
    } else if (property == "color") {
        color = nimbo::Color(value);
    } else if (property == "hover_color") {
        setHoverColor(nimbo::Color(value));
    } else if (property == "align") {
        align = value.toInt();
    } else if (property == "valign") {
        valign = value.toInt();
    } else {
        return Object::setProperty(property, value);
    }
    return true;
}

void Label::setText(const String& value) {
    text = value;
    textKey.clear();
}

void Label::setTextKey(const String& key) {
    textKey = key;
    text.clear();
}

String Label::getDisplayedText() {
    return textKey.empty() ? text : expandTextKey(textKey, getDataset());
}

float Label::getTextHeight() {
    return internal::textHeight(font, getDisplayedText(), rect.w);
}

void Label::OnDraw(const morvec::Vector2& offset) {
    drawShownText(offset, isHovered() ? getHoverColor() : color);
}

void Label::drawShownText(const morvec::Vector2& offset, const nimbo::Color& shown) {
    if (getDerivedAlpha() > 0.0f) {
        drawText(offset, shown, getDisplayedText());
    }
}

void Label::drawText(const morvec::Vector2& offset, const nimbo::Color& shown, const String& displayed, bool markup) {
    nimbo::Color faded = shown;
    faded.a = (uint8_t)std::clamp((int)(shown.a * getDerivedAlpha()), 0, 255);
    if (faded.a > 0 && !displayed.empty()) {
        internal::drawText(rect.offset(offset), font, displayed, align, valign, faded, markup);
    }
}

} // namespace nimboui
