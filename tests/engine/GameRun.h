#pragma once
// Helpers for tests that run engine start-up: reading the log, checking that lines appear in order,
// and a headless run of the real game on the bundled data with a temporary user folder.

#include "TempDir.h"

#include "engine/app/Game.h"

#include "nimbo/Main.h"
#include "vessot/Log.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

inline std::string readWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void writeWholeFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// Fails unless every expected text occurs in the log, each after the previous one.
inline void expectInOrder(const std::string& log, const std::vector<std::string>& expected) {
    size_t from = 0;
    for (const std::string& text : expected) {
        size_t at = log.find(text, from);
        ASSERT_NE(at, std::string::npos) << "missing or out of order: " << text;
        from = at + text.size();
    }
}

// Ends the process through an exception the test can catch, never through exit.
inline void throwOnExit() {
    Game::setExitHook([](int code) { throw Game::ExitRequest{code}; });
}

// One user folder for every test of the process that asks for it: the engine finds the folder
// once and keeps it.
inline const TempDir& testUserFolder() {
    static TempDir folder;
    setenv("ZEPH_USER_DIR", folder.path.c_str(), 1);
    return folder;
}

// The real game, started headless in-process; the user folder is a fresh temporary folder that a
// test may fill (a "zeph.cfg", "hwnd.txt", "lang.cfg") before start().
class GameRun {
public:
    GameRun() {
        for (const char* name : {"ZEPH_FRAMES", "ZEPH_INPUT", "ZEPH_SCREENSHOT", "ZEPH_INPUT_MODE", "ZEPH_DATA_DIR"}) {
            unsetenv(name);
        }
        setenv("ZEPH_HEADLESS", "1", 1);
        setenv("ZEPH_WINDOW", "640x480", 1);
        setenv("ZEPH_LOCALE", "en", 1);
        setenv("ZEPH_USER_DIR", user.path.c_str(), 1);
        vessot::Log::setEcho(false);
        throwOnExit();
    }
    ~GameRun() {
        if (started) {
            nimbo::finishMain(Game::destroyGame);
        }
        vessot::Log::reset();
        vessot::Log::setEcho(true);
    }
    GameRun(const GameRun&) = delete;
    GameRun& operator=(const GameRun&) = delete;

    void start(int frames = 1) {
        nimbo::startMain(Game::initGame, 0, nullptr);
        started = true;
        nimbo::runFrames(frames);
    }
    void finish() {
        started = false;
        nimbo::finishMain(Game::destroyGame);
    }
    std::string log() const { return readWholeFile(user / "game.log"); }

    TempDir user;
    bool started = false;
};
