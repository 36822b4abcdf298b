// The bundled game idle in the cockpit at 1280 x 960, run as a desktop run: not headless, real
// time, frames paced by the main loop. SDL's dummy video driver stands in for a display; nothing
// there waits for a vertical blank (its software renderer may report vsync all the same, as some
// drivers do), so the figure shows what the loop's own cap leaves of one core: the process's CPU
// time over the wall time of a stretch of idle frames, in per cent. The second figure is the same
// still cockpit in the casual mode, its hint bulb charging (two minutes from empty to full), whose
// drawn fill changes only every few seconds. The benchmark times one frame.

#include "Report.h"
#include "TempDir.h"

#include "engine/app/Game.h"
#include "engine/session/Vars.h"

#include "nimbo/Main.h"
#include "vessot/Log.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <memory>
#include <unistd.h>

namespace {

constexpr int IDLE_FRAMES = 300;

double processCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return (double)t.tv_sec + (double)t.tv_nsec / 1e9;
}

double wallSeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

class IdleGame {
public:
    IdleGame() {
        if (chdir(ZEPH_SOURCE_DIR) != 0) {
            std::perror(ZEPH_SOURCE_DIR);
        }
        for (const char* name : {"ZEPH_HEADLESS", "ZEPH_FIXED_STEP", "ZEPH_FRAMES", "ZEPH_INPUT", "ZEPH_SCREENSHOT",
                                 "ZEPH_INPUT_MODE", "ZEPH_RAM_MB", "ZEPH_DATA_DIR"}) {
            unsetenv(name);
        }
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        setenv("ZEPH_USER_DIR", user.path.c_str(), 1);
        std::ofstream(user / "zeph.cfg") << "scene: ship.Cockpit\n";
        setenv("ZEPH_WINDOW", "1280x960", 1);
        setenv("ZEPH_LOCALE", "en", 1);
        vessot::Log::setEcho(false);
        static char name[] = "vestrel-vorne";
        char* argv[] = {name, nullptr};
        nimbo::startMain(Game::initGame, 1, argv);
        nimbo::runFrames(180); // the loading picture fades out
    }
    ~IdleGame() { nimbo::finishMain(Game::destroyGame); }
    IdleGame(const IdleGame&) = delete;
    IdleGame& operator=(const IdleGame&) = delete;

private:
    TempDir user;
};

std::unique_ptr<IdleGame> game;

// Runs the idle frames; reports their CPU time over their wall time, in per cent, as the figure of
// that name, and gives back the wall time.
double measureIdle(const char* figure) {
    double cpu = processCpuSeconds();
    double wall = wallSeconds();
    nimbo::runFrames(IDLE_FRAMES);
    cpu = processCpuSeconds() - cpu;
    wall = wallSeconds() - wall;
    std::printf("%s: %d frames in %.2f s of wall time and %.2f s of CPU time\n", figure, IDLE_FRAMES, wall, cpu);
    benchreport::figure(figure, 100.0 * cpu / wall, "%");
    return wall;
}

void compare() {
    game = std::make_unique<IdleGame>();
    benchreport::figure("idle_frames_per_second", IDLE_FRAMES / measureIdle("idle_cpu_percent"), "fps");
    // The casual mode without its cockpit tutorial, the bulb emptied.
    Vars::get("casual_mode")->setValue("1", true);
    Vars::get("did_guided_hint_tutorial")->setValue("1", true);
    Vars::get("_hint_timer")->setValue("0", true);
    nimbo::runFrames(10);
    measureIdle("idle_charging_cpu_percent");
}

void BM_PacedIdleFrame(benchmark::State& state) {
    for (auto _ : state) {
        nimbo::runFrames(1);
    }
}
BENCHMARK(BM_PacedIdleFrame)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return benchreport::runMain(argc, argv, compare, [] { game.reset(); });
}
