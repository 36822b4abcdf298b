// Start-up to the first drawn frame: the game started on the bundled data as a first start (a fresh
// user folder, the configured first scene, the logo) until its first frame, the logo drawn under the
// loading picture, is presented. Each start runs in a child forked for it (the game's state is
// global), headless at 1280 x 960; the time runs from the fork to the end of the first frame, so
// it leaves out only loading the executable. The figure is the median of nine starts after one that
// fills the file cache.

#include "Report.h"
#include "TempDir.h"
#include "Timing.h"

#include "engine/app/Game.h"

#include "nimbo/Main.h"
#include "vessot/Log.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

// Milliseconds from the fork to the end of the first frame; -1 when the start failed.
double startOnce() {
    TempDir user;
    int fds[2];
    if (pipe(fds) != 0) {
        return -1;
    }
    std::chrono::steady_clock::time_point forked = std::chrono::steady_clock::now();
    pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        for (const char* name : {"ZEPH_FIXED_STEP", "ZEPH_FRAMES", "ZEPH_INPUT", "ZEPH_SCREENSHOT", "ZEPH_INPUT_MODE",
                                 "ZEPH_RAM_MB", "ZEPH_DATA_DIR"}) {
            unsetenv(name);
        }
        setenv("ZEPH_HEADLESS", "1", 1);
        setenv("ZEPH_WINDOW", "1280x960", 1);
        setenv("ZEPH_LOCALE", "en", 1);
        setenv("ZEPH_USER_DIR", user.path.c_str(), 1);
        vessot::Log::setEcho(false);
        static char name[] = "vestrel-vorne";
        char* argv[] = {name, nullptr};
        nimbo::startMain(Game::initGame, 1, argv);
        nimbo::runFrames(1);
        double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - forked).count();
        _exit(write(fds[1], &ms, sizeof ms) == sizeof ms ? 0 : 1);
    }
    close(fds[1]);
    double ms = -1;
    if (pid < 0 || read(fds[0], &ms, sizeof ms) != sizeof ms) {
        ms = -1;
    }
    close(fds[0]);
    if (pid > 0) {
        waitpid(pid, nullptr, 0);
    }
    return ms;
}

void compare() {
    startOnce();
    std::vector<double> starts;
    for (int i = 0; i < 9; ++i) {
        starts.push_back(startOnce());
    }
    std::printf("start-up to the logo's first frame: median %.1f ms of %zu starts\n", benchreport::median(starts),
                starts.size());
    benchreport::figure("startup_ms", benchreport::median(starts), "ms");
}

void BM_StartToFirstFrame(benchmark::State& state) {
    for (auto _ : state) {
        state.SetIterationTime(startOnce() / 1000.0);
    }
}
BENCHMARK(BM_StartToFirstFrame)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (chdir(ZEPH_SOURCE_DIR) != 0) {
        std::perror(ZEPH_SOURCE_DIR);
        return 1;
    }
    return benchreport::runMain(argc, argv, compare);
}
