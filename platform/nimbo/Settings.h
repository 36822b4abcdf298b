#pragma once
// What the ZEPH_* environment variables ask of the framework (headless runs, scripted input,
// screenshots and the values the system reports). See docs/headless.md.

#include "vessot/String.h"

namespace nimbo {

struct Settings {
    bool headless = false;      // ZEPH_HEADLESS
    float fixedStep = 0;        // ZEPH_FIXED_STEP; 1/60 when headless; 0 means real time
    int frameLimit = -1;        // ZEPH_FRAMES; -1 means no limit
    vessot::String inputScript; // ZEPH_INPUT
    vessot::String screenshot;  // ZEPH_SCREENSHOT
    int windowWidth = 0;        // ZEPH_WINDOW; 0 means the size the game asks for
    int windowHeight = 0;
    int inputMode = 0;     // ZEPH_INPUT_MODE: 1 touch, 2 mouse, 0 follows the input
    int ramMb = 0;         // ZEPH_RAM_MB; 0 means the system's
    vessot::String locale; // ZEPH_LOCALE; "" means the system's

    // Reads the variables now. A value that cannot be read, or lies outside its range (a step above
    // 0 and at most 1 s, sides up to 16384, whole numbers within int), throws vessot::exception
    // naming the variable and the value.
    static Settings fromEnvironment();
    // ZEPH_HEADLESS alone, which never fails to read.
    static bool isHeadless();
};

} // namespace nimbo
