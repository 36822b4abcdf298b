#pragma once
// Translation of SDL's key and button numbers, for the window's event handling.

namespace nimbo {

// The delegate code of an SDL key code; 0 for keys the game has no code for.
int keyCodeFromSdl(int sdlKey);
// The delegate code of an SDL mouse button; 0 for buttons the game has no code for.
int mouseButtonFromSdl(int sdlButton);

} // namespace nimbo
