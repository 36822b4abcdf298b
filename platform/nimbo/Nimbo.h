#pragma once
// The framework's start and end, and its two globals. Order: init, createRenderSystem,
// createWindow (or the window first), ..., destroy.

#include "nimbo/RenderSystem.h"
#include "nimbo/Window.h"
#include "vessot/String.h"

namespace nimbo {

extern Window* window;
extern RenderSystem* rendersys;

// Opens SDL's video and events (with the dummy drivers when ZEPH_HEADLESS is set). 0 is the
// default, and only, render-system and window kind. A failure throws vessot::exception.
void init(int renderSystemKind = 0, int windowKind = 0);
// Makes nimbo::rendersys; it draws into the window once there is one.
RenderSystem* createRenderSystem(const RenderSystem::Options& options = {});
// Makes nimbo::window; ZEPH_WINDOW overrides the size, and a headless window is never fullscreen.
// Records the title for the single-instance check (getWindowTitle).
Window* createWindow(int width, int height, bool fullscreen, const vessot::String& title,
                     const Window::Options& options = {});
// Deletes the render system (its textures stay valid, unloaded) and the window, and closes only
// the SDL subsystems init opened: the audio layer closes SDL's audio itself.
void destroy();

} // namespace nimbo
