#include "nimboui/TextButton.h"

namespace nimboui {

TextButton::TextButton(const String& name, const morvec::Rectangle& rect) : Label("TextButton", name, rect) {}

bool TextButton::setProperty(const String& property, const String& value) {
    if (property == "pushed_color") {
        setPushedColor(nimbo::Color(value));
    } else if (property == "state") {
        state = value.toInt();
    } else {
        return Label::setProperty(property, value);
    }
    return true;
}

nimbo::Color TextButton::getShownColor() const {
    if (state == STATE_INACTIVE) {
        return color;
    }
    if (isPressed()) {
        return getPushedColor();
    }
    return isHovered() ? getHoverColor() : color;
}

void TextButton::OnDraw(const morvec::Vector2& offset) {
    drawShownText(offset, getShownColor());
}

} // namespace nimboui
