#pragma once
// A one-line text entry. While it has the focus (a press on it, or setFocus) it takes typed
// characters as UTF-8 at the end of its text, up to its maximum length in characters; Backspace
// (8) deletes the last character and Enter (13) fires "Submit". The cursor is always at the end.
// The text is drawn as typed: brackets start no tag.

#include "nimboui/Label.h"

namespace nimboui {

class EditBox : public Label {
public:
    EditBox(const String& name, const morvec::Rectangle& rect);

    // "max_length", then Label's.
    bool setProperty(const String& name, const String& value) override;
    bool OnKeyDown(int key) override;
    bool OnChar(unsigned int charCode) override;
    void onMouseDown(float x, float y, int button) override;
    void OnDraw(const morvec::Vector2& offset) override;
    bool isInteractive() const override { return true; }

    // One edit box at a time has the focus.
    void setFocus(bool focus);
    bool hasFocus() const;
    // 0 means no limit.
    void setMaxLength(int characters) { maxLength = characters; }
    int getMaxLength() const { return maxLength; }

private:
    int maxLength = 0;
};

} // namespace nimboui
