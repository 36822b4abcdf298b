#pragma once
// A button that draws its own text (so getChildUnderPoint answers the button itself), in its
// normal, hover or pushed colour. The state value 2 is active, 0 inactive; inactive only turns
// the hover and pushed colours off.

#include "nimboui/Label.h"

namespace nimboui {

class TextButton : public Label {
public:
    enum State { STATE_INACTIVE = 0, STATE_ACTIVE = 2 };

    TextButton(const String& name, const morvec::Rectangle& rect);

    // "pushed_color", "state", then Label's.
    bool setProperty(const String& name, const String& value) override;
    void OnDraw(const morvec::Vector2& offset) override;
    bool isInteractive() const override { return true; }

    // Used while a press on the button is held; until one is set, the hover colour.
    void setPushedColor(const nimbo::Color& value) {
        pushedColor = value;
        pushedColorSet = true;
    }
    nimbo::Color getPushedColor() const { return pushedColorSet ? pushedColor : getHoverColor(); }
    void setState(int value) { state = value; }
    int getState() const { return state; }
    // The colour drawn now, by the state and the pointer.
    nimbo::Color getShownColor() const;

private:
    nimbo::Color pushedColor;
    bool pushedColorSet = false;
    int state = STATE_ACTIVE;
};

} // namespace nimboui
