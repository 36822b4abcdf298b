#include "nimbo/Window.h"

#include "nimbo/InstanceRecord.h"
#include "nimbo/Internals.h"
#include "nimbo/KeyTable.h"
#include "nimbo/Keys.h"
#include "nimbo/Nimbo.h"
#include "nimbo/Settings.h"
#include "nimbo/Utf8.h"
#include "vessot/Exception.h"

#include <algorithm>
#include <map>
#include <set>
#include <unistd.h>

namespace nimbo {

using morvec::Vector2;

struct Window::State {
    SDL_Window* sdl = nullptr;
    vessot::String title;
    bool cursorVisible = true;
    bool terminated = false;
    InputMode inputMode = INPUT_MOUSE;
    bool inputModeFixed = false;
    Vector2 cursor;

    MouseDelegate* mouse = nullptr;
    KeyboardDelegate* keyboard = nullptr;
    TouchDelegate* touch = nullptr;
    UpdateDelegate* update = nullptr;
    SystemDelegate* system = nullptr;

    std::set<int> heldButtons;
    struct Finger {
        int64_t id;
        Vector2 point;
    };
    std::vector<Finger> fingers; // in the order they landed
    bool fingerPress = false;    // the first finger is pressing button 1
    int64_t pressFinger = 0;

    int nextFrame = 0;
    std::multimap<int, InputEvent> queued; // by frame; equal frames keep their order

    void dispatch(const InputEvent& e);
    void handle(const SDL_Event& e);
    void setInputMode(InputMode mode);
    void movePointer(const Vector2& p);
    void press(int button);
    void release(int button);
    void cancelPresses();
    void fingerDown(int64_t id, const Vector2& p);
    void fingerMove(int64_t id, const Vector2& p);
    void fingerUp(int64_t id, const Vector2& p);
    void setScriptFingers(const std::vector<Vector2>& points);
    void notifyTouch();
};

namespace {

// Window events after which the window shows its picture only when it is drawn again.
bool redrawsWindow(Uint8 event) {
    return event == SDL_WINDOWEVENT_SIZE_CHANGED || event == SDL_WINDOWEVENT_EXPOSED ||
           event == SDL_WINDOWEVENT_SHOWN || event == SDL_WINDOWEVENT_RESTORED || event == SDL_WINDOWEVENT_MAXIMIZED;
}

// Fingers of scripts and harnesses; SDL numbers real fingers from 0 up.
int64_t scriptFingerId(size_t index) {
    return -1 - (int64_t)index;
}

} // namespace

SDL_Window* RenderAccess::sdlWindow(Window& w) {
    return w.state->sdl;
}

// ---------------------------------------------------------------- input handling

void Window::State::setInputMode(InputMode mode) {
    if (inputModeFixed || mode == inputMode) {
        return;
    }
    inputMode = mode;
    if (system) {
        system->onInputModeChanged(mode);
    }
}

void Window::State::movePointer(const Vector2& p) {
    cursor = p;
    if (mouse) {
        mouse->onMouseMove();
    }
}

void Window::State::press(int button) {
    heldButtons.insert(button);
    if (mouse) {
        mouse->onMouseDown(button);
    }
}

void Window::State::release(int button) {
    heldButtons.erase(button);
    if (mouse) {
        mouse->onMouseUp(button);
    }
}

void Window::State::cancelPresses() {
    std::set<int> held;
    held.swap(heldButtons);
    fingerPress = false;
    for (int button : held) {
        if (mouse) {
            mouse->onMouseCancel(button);
        }
    }
}

void Window::State::notifyTouch() {
    if (!touch) {
        return;
    }
    std::vector<Vector2> points;
    for (const Finger& f : fingers) {
        points.push_back(f.point);
    }
    touch->onTouch(points);
}

// One finger is also the primary button; a second finger ends that press without a release, so
// that a pinch never ends in a click.
void Window::State::fingerDown(int64_t id, const Vector2& p) {
    setInputMode(INPUT_TOUCH);
    fingers.push_back({id, p});
    if (fingers.size() == 1) {
        fingerPress = true;
        pressFinger = id;
        movePointer(p);
        press(BUTTON_PRIMARY);
    } else if (fingerPress) {
        fingerPress = false;
        heldButtons.erase(BUTTON_PRIMARY);
        if (mouse) {
            mouse->onMouseCancel(BUTTON_PRIMARY);
        }
    }
    notifyTouch();
}

void Window::State::fingerMove(int64_t id, const Vector2& p) {
    auto f = std::find_if(fingers.begin(), fingers.end(), [&](const Finger& x) { return x.id == id; });
    if (f == fingers.end()) {
        return;
    }
    f->point = p;
    if (fingerPress && id == pressFinger) {
        movePointer(p);
    }
    notifyTouch();
}

void Window::State::fingerUp(int64_t id, const Vector2& p) {
    auto f = std::find_if(fingers.begin(), fingers.end(), [&](const Finger& x) { return x.id == id; });
    if (f == fingers.end()) {
        return;
    }
    fingers.erase(f);
    if (fingerPress && id == pressFinger) {
        fingerPress = false;
        if (p != cursor) {
            movePointer(p);
        }
        release(BUTTON_PRIMARY);
    }
    notifyTouch();
}

// The scripted fingers become exactly the given points: finger i is point i.
void Window::State::setScriptFingers(const std::vector<Vector2>& points) {
    std::vector<Finger> scripted;
    for (const Finger& f : fingers) {
        if (f.id < 0) {
            scripted.push_back(f);
        }
    }
    size_t kept = std::min(scripted.size(), points.size());
    for (size_t i = 0; i < kept; ++i) {
        if (scripted[i].point != points[i]) {
            fingerMove(scripted[i].id, points[i]);
        }
    }
    for (size_t i = scripted.size(); i > kept; --i) {
        fingerUp(scripted[i - 1].id, scripted[i - 1].point);
    }
    for (size_t i = kept; i < points.size(); ++i) {
        fingerDown(scriptFingerId(i), points[i]);
    }
}

void Window::State::dispatch(const InputEvent& e) {
    switch (e.kind) {
    case InputEvent::MOVE:
        setInputMode(INPUT_MOUSE);
        movePointer(e.position);
        break;
    case InputEvent::DOWN:
    case InputEvent::UP:
        setInputMode(INPUT_MOUSE);
        if (e.position != cursor) {
            movePointer(e.position);
        }
        e.kind == InputEvent::DOWN ? press(e.code) : release(e.code);
        break;
    case InputEvent::KEY_DOWN:
        if (keyboard) {
            keyboard->onKeyDown(e.code);
        }
        break;
    case InputEvent::KEY_UP:
        if (keyboard) {
            keyboard->onKeyUp(e.code);
        }
        break;
    case InputEvent::TEXT:
        for (size_t pos = 0; pos < e.text.size();) {
            uint32_t cp = nextCodePoint(e.text, pos);
            if (keyboard) {
                keyboard->onChar(cp);
            }
        }
        break;
    case InputEvent::TOUCH:
        setScriptFingers(e.points);
        break;
    case InputEvent::QUIT:
        if (!system || system->onQuit(true)) {
            terminated = true;
        }
        break;
    case InputEvent::FOCUS:
        if (!e.code) {
            cancelPresses();
        }
        if (system) {
            system->onWindowFocusChanged(e.code != 0);
        }
        break;
    }
}

void Window::State::handle(const SDL_Event& e) {
    switch (e.type) {
    case SDL_QUIT:
        dispatch(InputEvent::quit());
        break;
    case SDL_WINDOWEVENT:
        if (rendersys && redrawsWindow(e.window.event)) {
            RenderAccess::of(*rendersys).invalidate();
        }
        if (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
            if (system) {
                system->onWindowSizeChanged(e.window.data1, e.window.data2,
                                            SDL_GetWindowFlags(sdl) & SDL_WINDOW_FULLSCREEN);
            }
        } else if (e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED || e.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
            dispatch(InputEvent::focus(e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED));
        }
        break;
    case SDL_RENDER_TARGETS_RESET:
    case SDL_RENDER_DEVICE_RESET:
        if (rendersys) {
            RenderAccess::of(*rendersys).invalidate();
        }
        break;
    case SDL_MOUSEMOTION:
        // Mouse events SDL makes from touches are skipped: fingers make their own.
        if (e.motion.which != SDL_TOUCH_MOUSEID) {
            dispatch(InputEvent::move((float)e.motion.x, (float)e.motion.y));
        }
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        if (e.button.which != SDL_TOUCH_MOUSEID && mouseButtonFromSdl(e.button.button)) {
            int code = mouseButtonFromSdl(e.button.button);
            float x = (float)e.button.x, y = (float)e.button.y;
            dispatch(e.type == SDL_MOUSEBUTTONDOWN ? InputEvent::down(x, y, code) : InputEvent::up(x, y, code));
        }
        break;
    case SDL_MOUSEWHEEL:
        if (e.wheel.which != SDL_TOUCH_MOUSEID && mouse) {
            mouse->onMouseScroll(e.wheel.preciseX, e.wheel.preciseY);
        }
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        if (int code = keyCodeFromSdl(e.key.keysym.sym)) {
            dispatch(e.type == SDL_KEYDOWN ? InputEvent::keyDown(code) : InputEvent::keyUp(code));
        }
        break;
    case SDL_TEXTINPUT:
        dispatch(InputEvent::typed(e.text.text));
        break;
    case SDL_FINGERDOWN:
    case SDL_FINGERMOTION:
    case SDL_FINGERUP: {
        int w = 0, h = 0;
        SDL_GetWindowSize(sdl, &w, &h);
        Vector2 p(e.tfinger.x * w, e.tfinger.y * h);
        if (e.type == SDL_FINGERDOWN) {
            fingerDown(e.tfinger.fingerId, p);
        } else if (e.type == SDL_FINGERMOTION) {
            fingerMove(e.tfinger.fingerId, p);
        } else {
            fingerUp(e.tfinger.fingerId, p);
        }
        break;
    }
    case SDL_APP_LOWMEMORY:
        if (system) {
            system->onLowMemoryWarning();
        }
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------- the window

Window::Window(int width, int height, bool fullscreen, const vessot::String& title, const Options& options)
    : state(std::make_unique<State>()) {
    Settings settings = Settings::fromEnvironment();
    if (settings.windowWidth > 0) {
        width = settings.windowWidth;
        height = settings.windowHeight;
    }
    Uint32 flags = options.resizable ? SDL_WINDOW_RESIZABLE : 0;
    if (fullscreen && !settings.headless) {
        flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    }
    state->sdl = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height, flags);
    if (!state->sdl) {
        VESSOT_THROW("Unable to create the window " + vessot::String(width) + "x" + vessot::String(height) + ": " +
                     SDL_GetError());
    }
    state->title = title;
    if (settings.inputMode) {
        state->inputMode = (InputMode)settings.inputMode;
        state->inputModeFixed = true;
    }
    recordWindowTitle((int)getpid(), title);
}

Window::~Window() {
    removeWindowTitleRecord((int)getpid());
    SDL_DestroyWindow(state->sdl);
}

int Window::getWidth() const {
    int w = 0;
    SDL_GetWindowSize(state->sdl, &w, nullptr);
    return w;
}

int Window::getHeight() const {
    int h = 0;
    SDL_GetWindowSize(state->sdl, nullptr, &h);
    return h;
}

Vector2 Window::getSize() const {
    return {(float)getWidth(), (float)getHeight()};
}

float Window::getAspectRatio() const {
    return getHeight() > 0 ? (float)getWidth() / (float)getHeight() : 1.0f;
}

Vector2 Window::getCursorPosition() const {
    return state->cursor;
}
Window::InputMode Window::getInputMode() const {
    return state->inputMode;
}
const vessot::String& Window::getTitle() const {
    return state->title;
}
vessot::String Window::getName() const {
    return "SDL";
}
unsigned long Window::getNativeHandle() const {
    return (unsigned long)getpid();
}

void Window::setCursorVisible(bool visible) {
    state->cursorVisible = visible;
    SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

bool Window::isCursorVisible() const {
    return state->cursorVisible;
}

void Window::setFullscreen(bool fullscreen) {
    SDL_SetWindowFullscreen(state->sdl, fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
}

void Window::setSize(int width, int height) {
    SDL_SetWindowSize(state->sdl, width, height);
}

bool Window::isFullscreen() const {
    return SDL_GetWindowFlags(state->sdl) & SDL_WINDOW_FULLSCREEN;
}

void Window::endTextInput() {
    if (SDL_HasScreenKeyboardSupport() && SDL_IsScreenKeyboardShown(state->sdl)) {
        SDL_StopTextInput();
        if (state->system) {
            state->system->onVirtualKeyboardChanged(false, 0);
        }
    }
}

void Window::terminateMainLoop() {
    state->terminated = true;
}
bool Window::isTerminated() const {
    return state->terminated;
}

void Window::setMouseDelegate(MouseDelegate* d) {
    state->mouse = d;
}
void Window::setKeyboardDelegate(KeyboardDelegate* d) {
    state->keyboard = d;
}
void Window::setTouchDelegate(TouchDelegate* d) {
    state->touch = d;
}
void Window::setUpdateDelegate(UpdateDelegate* d) {
    state->update = d;
}
void Window::setSystemDelegate(SystemDelegate* d) {
    state->system = d;
}
MouseDelegate* Window::getMouseDelegate() const {
    return state->mouse;
}
KeyboardDelegate* Window::getKeyboardDelegate() const {
    return state->keyboard;
}
TouchDelegate* Window::getTouchDelegate() const {
    return state->touch;
}
UpdateDelegate* Window::getUpdateDelegate() const {
    return state->update;
}
SystemDelegate* Window::getSystemDelegate() const {
    return state->system;
}

void Window::queueInput(const InputEvent& event, int frameDelay) {
    state->queued.emplace(state->nextFrame + std::max(0, frameDelay), event);
}

void Window::queueClick(float x, float y, int frameDelay) {
    queueInput(InputEvent::down(x, y, BUTTON_PRIMARY), frameDelay);
    queueInput(InputEvent::up(x, y, BUTTON_PRIMARY), frameDelay);
}

void Window::queueKey(int code, int frameDelay) {
    queueInput(InputEvent::keyDown(code), frameDelay);
    queueInput(InputEvent::keyUp(code), frameDelay);
}

int Window::getFrameNumber() const {
    return state->nextFrame;
}

void Window::pumpEvents(int frame) {
    auto due = state->queued.upper_bound(frame);
    std::vector<InputEvent> events;
    for (auto it = state->queued.begin(); it != due; ++it) {
        events.push_back(it->second);
    }
    state->queued.erase(state->queued.begin(), due);
    state->nextFrame = frame + 1;
    for (const InputEvent& e : events) {
        state->dispatch(e);
    }
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        state->handle(e);
    }
}

} // namespace nimbo
