#pragma once
// The engine's shared globals, set at start-up.

#include "echon/ParallelSoundManager.h"

// The virtual screen in which scenes are laid out: 426 x 320 units.
extern int screenWidth;
extern int screenHeight;
// Worker threads of the video manager.
extern int videoWorkerCount;
// The scene's music and ambience, kept playing across scenes.
extern echon::ParallelSoundManager musicQueue;
// The speed factor of subtitle and pause timing; "text_multiplier" once the game starts.
extern float textMultiplier;
