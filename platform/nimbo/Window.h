#pragma once
// The game's one window. It delivers the system's input to the installed delegates, keeps the
// pointer position and the input mode, and takes scripted or injected input through the same
// path. Made by nimbo::createWindow.

#include "morvec/Vector.h"
#include "nimbo/Delegates.h"
#include "nimbo/InputEvent.h"
#include "vessot/String.h"

#include <memory>

namespace nimbo {

class Window {
public:
    // 1 after finger input (or with ZEPH_INPUT_MODE=touch), 2 for the mouse; it starts at 2.
    enum InputMode { INPUT_TOUCH = 1, INPUT_MOUSE = 2 };

    struct Options {
        bool resizable = true;
    };

    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    int getWidth() const;
    int getHeight() const;
    morvec::Vector2 getSize() const;
    float getAspectRatio() const;
    // The last pointer position in window pixels.
    morvec::Vector2 getCursorPosition() const;
    InputMode getInputMode() const;
    const vessot::String& getTitle() const;
    // "SDL".
    vessot::String getName() const;
    // The process id: the single-instance record (getWindowTitle) is kept per process.
    unsigned long getNativeHandle() const;

    void setCursorVisible(bool visible);
    bool isCursorVisible() const;
    void setFullscreen(bool fullscreen);
    // Resizes the window; the change reaches the system delegate with the next frame's events, as
    // a resize by the player does (a headless window included).
    void setSize(int width, int height);
    // The window's real state.
    bool isFullscreen() const;
    // Ends text entry: hides an on-screen keyboard where the system has one.
    void endTextInput();

    // Ends the main loop after the current frame.
    void terminateMainLoop();
    bool isTerminated() const;

    // Null clears; the window never owns a delegate.
    void setMouseDelegate(MouseDelegate* delegate);
    void setKeyboardDelegate(KeyboardDelegate* delegate);
    void setTouchDelegate(TouchDelegate* delegate);
    void setUpdateDelegate(UpdateDelegate* delegate);
    void setSystemDelegate(SystemDelegate* delegate);
    MouseDelegate* getMouseDelegate() const;
    KeyboardDelegate* getKeyboardDelegate() const;
    TouchDelegate* getTouchDelegate() const;
    UpdateDelegate* getUpdateDelegate() const;
    SystemDelegate* getSystemDelegate() const;

    // Input from scripts and test harnesses: the event reaches the delegates during the frame
    // frameDelay frames after the next one to run (0: the next frame), before the system's own
    // events of that frame, exactly as a system event of its kind would.
    void queueInput(const InputEvent& event, int frameDelay = 0);
    // Presses and releases button 1 at the point, in one frame (the press moves the pointer there
    // first when it is elsewhere, as a system press does).
    void queueClick(float x, float y, int frameDelay = 0);
    // Key down and key up in the same frame.
    void queueKey(int code, int frameDelay = 0);
    // The number of the next frame to run (0 before the first).
    int getFrameNumber() const;
    // Delivers the queued input due by this frame and the system's events; the main loop calls it
    // at the start of every frame.
    void pumpEvents(int frame);

private:
    friend struct RenderAccess;
    Window(int width, int height, bool fullscreen, const vessot::String& title, const Options& options);
    struct State;
    std::unique_ptr<State> state;
};

} // namespace nimbo
