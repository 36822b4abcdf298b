#include "nimbo/Nimbo.h"

#include "nimbo/Internals.h"
#include "nimbo/MessageBox.h"
#include "nimbo/Settings.h"
#include "vessot/Exception.h"

namespace nimbo {

Window* window = nullptr;
RenderSystem* rendersys = nullptr;

namespace {

constexpr Uint32 subsystems = SDL_INIT_VIDEO | SDL_INIT_EVENTS;
bool initialised = false;

void attachWhenBothExist() {
    if (window && rendersys && !RenderAccess::of(*rendersys).renderer) {
        RenderAccess::of(*rendersys).attach(RenderAccess::sdlWindow(*window));
    }
}

} // namespace

void init(int renderSystemKind, int windowKind) {
    if (renderSystemKind != 0 || windowKind != 0) {
        VESSOT_THROW("Unknown render system or window kind: " + vessot::String(renderSystemKind) + ", " +
                     vessot::String(windowKind));
    }
    if (initialised) {
        return;
    }
    installSdlMemory();
    if (Settings::isHeadless()) {
        SDL_SetHint(SDL_HINT_VIDEODRIVER, "dummy");
        SDL_SetHint(SDL_HINT_AUDIODRIVER, "dummy");
    }
    // The main loop handles SIGINT and SIGTERM itself, and makes its own mouse events from touches.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_TOUCH_MOUSE_EVENTS, "0");
    if (SDL_InitSubSystem(subsystems) != 0) {
        VESSOT_THROW(vessot::String("Unable to start SDL's video: ") + SDL_GetError());
    }
    initialised = true;
}

RenderSystem* createRenderSystem(const RenderSystem::Options& options) {
    delete rendersys;
    rendersys = RenderAccess::makeRenderSystem(options);
    attachWhenBothExist();
    return rendersys;
}

Window* createWindow(int width, int height, bool fullscreen, const vessot::String& title,
                     const Window::Options& options) {
    if (!initialised) {
        VESSOT_THROW("nimbo::createWindow needs nimbo::init first");
    }
    if (window) {
        VESSOT_THROW("nimbo::createWindow: the window exists already");
    }
    window = RenderAccess::makeWindow(width, height, fullscreen, title, options);
    attachWhenBothExist();
    return window;
}

void destroy() {
    delete rendersys;
    rendersys = nullptr;
    delete window;
    window = nullptr;
    discardMessageBoxAnswers();
    if (initialised) {
        SDL_QuitSubSystem(subsystems);
        releaseSdlMemory();
        initialised = false;
    }
}

} // namespace nimbo
