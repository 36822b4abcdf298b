// gamedriver: the game run in-process, headless, for the soak and the kill test (scripts/soak,
// scripts/killtest). The ZEPH_* settings come from the environment as for the game itself.
//
//   gamedriver random SEED SECONDS
//       plays with random input from the seed until the game ends (its quit question answered yes)
//       or SECONDS of real time have passed; the last line says which
//   gamedriver saves JOURNAL FIRST [LAST SNAPSHOTS]
//       loads what the user folder holds, then saves every player file in rounds (SaveRounds.h)
//   gamedriver compare USER OLD NEW
//       checks that every player file of USER is whole, as in OLD or in NEW (PlayerFiles.h)
#include "PlayerFiles.h"
#include "RandomInput.h"
#include "SaveRounds.h"

#include "engine/app/Game.h"

#include "nimbo/Main.h"
#include "nimbo/Nimbo.h"
#include "vessot/System.h"

#include <chrono>
#include <cstdio>
#include <string>

namespace {

int usage() {
    std::fputs("usage: gamedriver random SEED SECONDS\n"
               "       gamedriver saves JOURNAL FIRST [LAST SNAPSHOTS]\n"
               "       gamedriver compare USER OLD NEW\n",
               stderr);
    return 2;
}

int playRandomly(unsigned seed, double seconds, char* program) {
    using Clock = std::chrono::steady_clock;
    Clock::time_point end =
        Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    std::printf("gamedriver: random input from seed %u\n", seed);
    std::fflush(stdout);
    nimbo::startMain(Game::initGame, 1, &program);
    vessot::srand(seed);
    RandomInput input(seed, nimbo::window->getWidth(), nimbo::window->getHeight());
    long frames = 0;
    bool ended = false;
    while (!ended && (frames % 64 != 0 || Clock::now() < end)) {
        input.queueFrame(*nimbo::window);
        ended = !nimbo::runFrames(1);
        ++frames;
    }
    nimbo::finishMain(Game::destroyGame);
    std::printf("gamedriver: %s after %ld frames\n", ended ? "the game ended" : "time is up", frames);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    std::string mode = argc > 1 ? argv[1] : "";
    try {
        if (mode == "random" && argc == 4) {
            return playRandomly((unsigned)std::stoul(argv[2]), std::stod(argv[3]), argv[0]);
        }
        if (mode == "saves" && (argc == 4 || argc == 6)) {
            SaveRounds rounds{argv[2], std::stoi(argv[3]), argc == 6 ? std::stoi(argv[4]) : 0,
                              argc == 6 ? argv[5] : ""};
            return rounds.run(1, argv);
        }
        if (mode == "compare" && argc == 5) {
            return comparePlayerFiles(argv[2], argv[3], argv[4]) == 0 ? 0 : 1;
        }
    } catch (const vessot::exception& e) {
        std::fprintf(stderr, "gamedriver: %s\n", e.message().c_str());
        return 2;
    } catch (const std::logic_error& e) {
        std::fprintf(stderr, "gamedriver: not a number: %s\n", e.what());
        return usage();
    }
    return usage();
}
