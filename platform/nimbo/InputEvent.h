#pragma once
// One piece of input as the window delivers it: from the system, from an input script, or
// injected by a test harness. Positions are window pixels.

#include "morvec/Vector.h"
#include "vessot/String.h"

#include <vector>

namespace nimbo {

struct InputEvent {
    enum Kind { MOVE, DOWN, UP, KEY_DOWN, KEY_UP, TEXT, TOUCH, QUIT, FOCUS };

    Kind kind = MOVE;
    morvec::Vector2 position;            // MOVE, DOWN, UP
    int code = 0;                        // the button (DOWN, UP), the key code, or focus gained (FOCUS)
    vessot::String text;                 // TEXT, UTF-8
    std::vector<morvec::Vector2> points; // TOUCH: every finger down after the event; none lifts all

    static InputEvent move(float x, float y);
    // DOWN and UP move the pointer to the point first when it is elsewhere.
    static InputEvent down(float x, float y, int button);
    static InputEvent up(float x, float y, int button);
    static InputEvent keyDown(int code);
    static InputEvent keyUp(int code);
    static InputEvent typed(const vessot::String& utf8);
    static InputEvent touch(const std::vector<morvec::Vector2>& points);
    // A close request of the window.
    static InputEvent quit();
    static InputEvent focus(bool gained);
};

} // namespace nimbo
