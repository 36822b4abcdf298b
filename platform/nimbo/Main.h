#pragma once
// The framework's main entry and loop. Each frame: answers of message boxes, the window's input
// (queued, scripted and the system's), the update delegate with the frame's time step, scripted
// screenshots, present. A termination signal (SIGINT, SIGTERM) asks the system delegate with
// onQuit(false) and ends the loop whatever it answers; the destroy callback still runs.
//
// nimbo_main is startMain, runFrames until the loop ends, and finishMain. A test harness calls
// the three itself to drive the game in-process (see docs/headless.md).

#include "vessot/Array.h"
#include "vessot/Exception.h"
#include "vessot/String.h"

#include <functional>

namespace nimbo {

using InitCallback = std::function<void(const vessot::Array<vessot::String>& args)>;

// A ZEPH_* setting or a line of the input script that cannot be read; the message names it.
class BadSettings : public vessot::exception {
public:
    explicit BadSettings(const vessot::String& message) : vessot::exception(message) {}
};
using DestroyCallback = std::function<void()>;

// Reads the ZEPH_* settings, takes over SIGINT and SIGTERM, calls init with the arguments, and
// queues the input script (ZEPH_INPUT) on the window init made. Throws BadSettings for bad settings
// or a bad script (before init runs), and vessot::exception when a loop is already started.
void startMain(const InitCallback& init, int argc, char** argv);
// Runs up to count frames; false once the loop has ended (the window terminated it, the update
// delegate answered false, a signal came, or ZEPH_FRAMES frames ran). Without a window the loop
// ends at once. An exception from a callback leaves it; finishMain then ends the run.
bool runFrames(int count);
// Frames run so far.
int getFrameCount();
// Calls destroy, gives the signals back and ends the run; returns the exit code (0).
int finishMain(const DestroyCallback& destroy);

} // namespace nimbo

// startMain, the frames, finishMain. Bad settings or a bad input script end it before init with the
// message on standard error and the result 2. An exception from a callback leaves it (after the
// signals and the tick source are given back) without calling destroy.
int nimbo_main(const nimbo::InitCallback& init, const nimbo::DestroyCallback& destroy, int argc, char** argv);
