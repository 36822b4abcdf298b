#pragma once
// The interfaces through which the window reaches the game. The window holds plain pointers to
// them and never owns them. Every callback runs on the main thread, from the main loop only.

#include "morvec/Vector.h"

#include <vector>

namespace nimbo {

class MouseDelegate {
public:
    virtual ~MouseDelegate() = default;
    virtual void onMouseDown(int /*key*/) {}
    virtual void onMouseUp(int /*key*/) {}
    // A press that ends without a release: a second finger landed, or the window lost the focus.
    virtual void onMouseCancel(int /*key*/) {}
    // The new position is the window's cursor position.
    virtual void onMouseMove() {}
    virtual void onMouseScroll(float /*x*/, float /*y*/) {}
};

class KeyboardDelegate {
public:
    virtual ~KeyboardDelegate() = default;
    virtual void onKeyDown(int /*key*/) {}
    virtual void onKeyUp(int /*key*/) {}
    // Once per Unicode code point of text input.
    virtual void onChar(unsigned int /*charCode*/) {}
};

class TouchDelegate {
public:
    virtual ~TouchDelegate() = default;
    // Every change of the fingers: the points still down, in window pixels, in the order they landed.
    virtual void onTouch(const std::vector<morvec::Vector2>& /*touches*/) {}
};

class UpdateDelegate {
public:
    virtual ~UpdateDelegate() = default;
    // Once per frame with the frame's time step; false ends the main loop.
    virtual bool onUpdate(float /*timeDelta*/) { return true; }
};

class SystemDelegate {
public:
    virtual ~SystemDelegate() = default;
    // canCancel is true for a close request of the window, which ends the loop only on true; a
    // termination signal passes false and ends the loop whatever the answer.
    virtual bool onQuit(bool /*canCancel*/) { return true; }
    virtual void onWindowSizeChanged(int /*width*/, int /*height*/, bool /*fullscreen*/) {}
    virtual void onWindowFocusChanged(bool /*focused*/) {}
    // The window's input mode (Window::InputMode) changed.
    virtual void onInputModeChanged(int /*mode*/) {}
    // An on-screen keyboard appeared or went away; heightRatio is the part of the window it covers.
    virtual void onVirtualKeyboardChanged(bool /*visible*/, float /*heightRatio*/) {}
    virtual void onLowMemoryWarning() {}
};

} // namespace nimbo
