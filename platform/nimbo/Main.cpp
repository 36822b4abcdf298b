#include "nimbo/Main.h"

#include "nimbo/InputScript.h"
#include "nimbo/Internals.h"
#include "nimbo/MessageBox.h"
#include "nimbo/Nimbo.h"
#include "nimbo/Settings.h"
#include "vessot/Exception.h"
#include "vessot/Log.h"
#include "vessot/System.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <malloc.h>
#include <memory>
#include <thread>

namespace nimbo {

namespace {

using Clock = std::chrono::steady_clock;

volatile std::sig_atomic_t signalled = 0;

void onSignal(int) {
    signalled = 1;
}

struct Run {
    Settings settings;
    InputScript script;
    int frame = 0;
    bool running = true;
    Clock::time_point lastFrame = Clock::now();
    Clock::time_point lastPaced = Clock::now();
    struct sigaction oldInt {};
    struct sigaction oldTerm {};

    ~Run() {
        sigaction(SIGINT, &oldInt, nullptr);
        sigaction(SIGTERM, &oldTerm, nullptr);
        if (settings.fixedStep > 0) {
            vessot::setTickSource({});
        }
    }
};

std::unique_ptr<Run> run;

void takeScreenshot(const vessot::String& path) {
    if (!rendersys) {
        return;
    }
    try {
        rendersys->saveScreenshot(path);
        vessot::Log::write("nimbo", "Screenshot written: " + path);
    } catch (const vessot::exception& e) {
        vessot::Log::write("nimbo", "ERROR: " + e.message());
    }
}

void endLoop() {
    run->running = false;
    if (!run->settings.screenshot.empty()) {
        takeScreenshot(run->settings.screenshot);
    }
}

float frameStep() {
    Clock::time_point now = Clock::now();
    float real = std::chrono::duration<float>(now - run->lastFrame).count();
    run->lastFrame = now;
    return run->settings.fixedStep > 0 ? run->settings.fixedStep : real;
}

// Frames are paced as a desktop game's: a renderer with vertical sync waits for the display in its
// present; without it, or when the frame showed nothing new and was not presented, a sleep holds the
// loop to 60 frames a second. Some drivers report vsync and do not wait, so the sleep stands behind
// vsync too, at 75 frames a second, where a real vsync of 60 Hz never meets it. Headless runs, with
// their fixed step, are not paced.
void pace() {
    if (run->settings.headless || !rendersys) {
        return;
    }
    const RenderAccess::RenderState& render = RenderAccess::of(*rendersys);
    bool vsync = render.presented && render.hasVsync();
    std::this_thread::sleep_until(run->lastPaced + std::chrono::microseconds(vsync ? 1000000 / 75 : 1000000 / 60));
    run->lastPaced = Clock::now();
}

void runFrame() {
    deliverMessageBoxAnswers();
    window->pumpEvents(run->frame);
    if (signalled) {
        signalled = 0;
        if (SystemDelegate* system = window->getSystemDelegate()) {
            system->onQuit(false);
        }
        endLoop();
        return;
    }
    if (window->isTerminated()) {
        endLoop();
        return;
    }
    float step = frameStep();
    UpdateDelegate* update = window->getUpdateDelegate();
    bool goOn = !update || update->onUpdate(step);
    for (const InputScript::Screenshot& shot : run->script.screenshots) {
        if (shot.frame == run->frame) {
            takeScreenshot(shot.path);
        }
    }
    ++run->frame;
    bool last =
        !goOn || window->isTerminated() || (run->settings.frameLimit > 0 && run->frame >= run->settings.frameLimit);
    if (last) {
        endLoop();
    }
    if (rendersys) {
        rendersys->presentFrame();
    }
    pace();
}

} // namespace

void startMain(const InitCallback& init, int argc, char** argv) {
    if (run) {
        VESSOT_THROW("The main loop is running already");
    }
    auto fresh = std::make_unique<Run>();
    try {
        fresh->settings = Settings::fromEnvironment();
        if (!fresh->settings.inputScript.empty()) {
            fresh->script = InputScript::load(fresh->settings.inputScript);
        }
    } catch (const vessot::exception& e) {
        throw BadSettings(e.message());
    }
    // Pictures are decoded into buffers of megabytes and freed once unused for a while. A fixed
    // threshold keeps every such buffer in a mapping of its own, so freeing it gives the memory back
    // to the system; the allocator would otherwise raise the threshold at the first free and keep
    // later buffers in its heap, and the game's resident memory would only ever grow. SDL's own
    // large blocks are used again from frame to frame (installSdlMemory).
    mallopt(M_MMAP_THRESHOLD, (int)LARGE_BLOCK);
    signalled = 0;
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &fresh->oldInt);
    sigaction(SIGTERM, &action, &fresh->oldTerm);
    if (fresh->settings.fixedStep > 0) {
        // Headless runs repeat exactly: the tick count follows the fixed step, not the clock.
        vessot::setTickSource([] { return run ? (uint32_t)(run->frame * run->settings.fixedStep * 1000.0) : 0u; });
    }
    run = std::move(fresh);
    vessot::Array<vessot::String> args;
    for (int i = 0; i < argc; ++i) {
        args.add(argv[i]);
    }
    try {
        init(args);
    } catch (...) {
        run.reset();
        throw;
    }
    if (!window) {
        vessot::Log::write("nimbo", "No window after the init callback; the main loop ends at once");
        run->running = false;
        return;
    }
    for (const InputScript::Entry& entry : run->script.events) {
        window->queueInput(entry.event, entry.frame - window->getFrameNumber());
    }
    run->lastFrame = run->lastPaced = Clock::now();
}

bool runFrames(int count) {
    for (int i = 0; i < count && run && run->running; ++i) {
        if (!window) {
            run->running = false;
            break;
        }
        runFrame();
    }
    return run && run->running;
}

int getFrameCount() {
    return run ? run->frame : 0;
}

int finishMain(const DestroyCallback& destroy) {
    if (destroy) {
        destroy();
    }
    run.reset();
    return 0;
}

} // namespace nimbo

int nimbo_main(const nimbo::InitCallback& init, const nimbo::DestroyCallback& destroy, int argc, char** argv) {
    struct Abandon {
        ~Abandon() { nimbo::run.reset(); }
    } abandon;
    try {
        nimbo::startMain(init, argc, argv);
    } catch (const nimbo::BadSettings& e) {
        std::fputs(("ERROR: " + e.message() + "\n").c_str(), stderr);
        return 2;
    }
    while (nimbo::runFrames(1)) {
    }
    return nimbo::finishMain(destroy);
}
