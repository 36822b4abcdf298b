#include "nimbo/Keys.h"

#include "nimbo/KeyTable.h"

#include <SDL.h>

namespace nimbo {

int keyCodeFromSdl(int sdlKey) {
    if (sdlKey >= SDLK_a && sdlKey <= SDLK_z) {
        return KEY_A + (sdlKey - SDLK_a);
    }
    if (sdlKey >= SDLK_0 && sdlKey <= SDLK_9) {
        return KEY_0 + (sdlKey - SDLK_0);
    }
    if (sdlKey >= SDLK_F1 && sdlKey <= SDLK_F12) {
        return KEY_F1 + (sdlKey - SDLK_F1);
    }
    static const struct {
        SDL_Keycode sdl;
        int code;
    } others[] = {
        {SDLK_BACKSPACE, KEY_BACKSPACE}, {SDLK_TAB, KEY_TAB},       {SDLK_RETURN, KEY_ENTER},
        {SDLK_KP_ENTER, KEY_ENTER},      {SDLK_PAUSE, KEY_PAUSE},   {SDLK_ESCAPE, KEY_ESCAPE},
        {SDLK_SPACE, KEY_SPACE},         {SDLK_END, KEY_END},       {SDLK_HOME, KEY_HOME},
        {SDLK_LEFT, KEY_LEFT},           {SDLK_UP, KEY_UP},         {SDLK_RIGHT, KEY_RIGHT},
        {SDLK_DOWN, KEY_DOWN},           {SDLK_DELETE, KEY_DELETE},
    };
    for (const auto& entry : others) {
        if (entry.sdl == sdlKey) {
            return entry.code;
        }
    }
    return 0;
}

int keyCodeFromName(const vessot::String& name) {
    return keyCodeFromSdl(SDL_GetKeyFromName(name.c_str()));
}

int mouseButtonFromSdl(int sdlButton) {
    switch (sdlButton) {
    case SDL_BUTTON_LEFT:
        return BUTTON_PRIMARY;
    case SDL_BUTTON_RIGHT:
        return BUTTON_SECONDARY;
    case SDL_BUTTON_MIDDLE:
        return BUTTON_MIDDLE;
    default:
        return 0;
    }
}

} // namespace nimbo
