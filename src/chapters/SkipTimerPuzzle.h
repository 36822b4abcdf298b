#pragma once
// Puzzle scenes the player may give up on: while one is on screen the HUD buttons stay hidden, and its
// skip button fills up over 90 seconds; once full, a click on it (or the chapter's skip callback)
// writes the solution into the puzzle's variables and re-enters the scene, whose data then shows the
// solved state. The timers live outside the scene objects, which each load of the chapter replaces.

#include "vessot/String.h"

#include <array>
#include <utility>

class Scene;

struct SkipTimerPuzzle {
    // The game variable that is non-zero once the puzzle is solved.
    const char* solvedFlag;
    // The chapter's image box that shows the gauge and takes the click.
    const char* skipButton;
    // The chapter's skip function (the button's "Click" handler and the user callback).
    void (*skip)(void* unused);
    // Seconds on screen since the last entry from another scene.
    float* timer;
    // The puzzle's variables and their solved values, written in this order.
    std::array<std::pair<const char*, const char*>, 4> solution;
};

namespace SkipTimer {

// Seconds before a skip is taken.
constexpr float TIMEOUT = 90.0f;

// An entry from another scene restarts the timer and hands the skip button to the skip function; a
// scene re-entering itself (a reset) leaves both alone.
void enter(const SkipTimerPuzzle& puzzle, Scene& scene);
// "hide_ui" follows the solved flag, the timer runs and the button shows its step.
void update(const SkipTimerPuzzle& puzzle, Scene& scene, float dt);
// After the timeout: the solution, then the active scene reset; before it only a log line.
void skip(const SkipTimerPuzzle& puzzle);
// The gauge's picture for the time on screen: 1 at the start to 13 when full.
int gaugeStep(float seconds);

} // namespace SkipTimer
