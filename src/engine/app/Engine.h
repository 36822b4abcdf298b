#pragma once
// The engine's shared globals, set at start-up.

#include "echon/ParallelSoundManager.h"
#include "morvec/Vector.h"
#include "vessot/String.h"

// The virtual screen in which scenes are laid out: 426 x 320 units.
extern int screenWidth;
extern int screenHeight;
// Worker threads of the video manager.
extern int videoWorkerCount;
// The scene's music and ambience, kept playing across scenes.
extern echon::ParallelSoundManager musicQueue;
// The speed factor of subtitle and pause timing; "text_multiplier" once the game starts.
extern float textMultiplier;

namespace Session {

// The window's size from the display's and the parameters "width", "height" and "fullscreen": the
// given size when both are positive numbers, else two thirds of the display when "fullscreen" is
// "0", else the whole display. An unknown display (0 x 0) counts as 1920 x 1080.
morvec::Vector2 getWindowSize(morvec::Vector2 display, const vessot::String& width, const vessot::String& height,
                              const vessot::String& fullscreen);
// The speech time factor a "text_multiplier" value gives: the value as a number. One that is not a
// number above 0 would leave speech no time at all, so it gives 1, and that is logged.
float textMultiplierOf(const vessot::String& value);

} // namespace Session
