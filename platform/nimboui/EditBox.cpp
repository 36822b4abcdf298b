#include "nimboui/EditBox.h"

namespace nimboui {

namespace {

constexpr unsigned int BACKSPACE = 8;
constexpr unsigned int ENTER = 13;

// The one edit box that has the focus, if it still exists.
Object::Handle& focused() {
    static Object::Handle handle;
    return handle;
}

void appendUtf8(String& text, unsigned int code) {
    if (code < 0x80) {
        text += (char)code;
    } else if (code < 0x800) {
        text += (char)(0xC0 | (code >> 6));
        text += (char)(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        text += (char)(0xE0 | (code >> 12));
        text += (char)(0x80 | ((code >> 6) & 0x3F));
        text += (char)(0x80 | (code & 0x3F));
    } else {
        text += (char)(0xF0 | (code >> 18));
        text += (char)(0x80 | ((code >> 12) & 0x3F));
        text += (char)(0x80 | ((code >> 6) & 0x3F));
        text += (char)(0x80 | (code & 0x3F));
    }
}

// Removes the last code point: its continuation bytes and its lead byte.
void removeLastCharacter(String& text) {
    while (!text.empty() && ((unsigned char)text.back() & 0xC0) == 0x80) {
        text.pop_back();
    }
    if (!text.empty()) {
        text.pop_back();
    }
}

} // namespace

EditBox::EditBox(const String& name, const morvec::Rectangle& rect) : Label("EditBox", name, rect) {}

bool EditBox::setProperty(const String& property, const String& value) {
    if (property == "max_length") {
        maxLength = value.toInt();
        return true;
    }
    return Label::setProperty(property, value);
}

void EditBox::setFocus(bool focus) {
    if (focus) {
        focused() = handle();
    } else if (hasFocus()) {
        focused() = Handle();
    }
}

bool EditBox::hasFocus() const {
    const Handle& current = focused();
    return current.object == this && current.alive();
}

bool EditBox::OnKeyDown(int key) {
    if (!visible || !hasFocus() || (key != (int)BACKSPACE && key != (int)ENTER)) {
        return Label::OnKeyDown(key);
    }
    return OnChar((unsigned int)key);
}

bool EditBox::OnChar(unsigned int charCode) {
    if (!visible || !hasFocus()) {
        return Label::OnChar(charCode);
    }
    if (charCode == BACKSPACE) {
        removeLastCharacter(text);
    } else if (charCode == ENTER) {
        triggerEvent("Submit", 0.0f, 0.0f, text);
    } else if (charCode >= 32 && charCode != 127 && charCode <= 0x10FFFF && (charCode < 0xD800 || charCode > 0xDFFF) &&
               (maxLength <= 0 || text.utf8_size() < maxLength)) {
        appendUtf8(text, charCode);
    }
    return true;
}

void EditBox::onMouseDown(float, float, int) {
    setFocus(true);
}

// The text with a cursor at its end while the box has the focus. Typed text is shown as typed: a
// bracket never starts a tag (a font tag naming no font would fail the draw).
void EditBox::OnDraw(const morvec::Vector2& offset) {
    drawText(offset, color, hasFocus() ? text + "_" : text, false);
}

} // namespace nimboui
