// Engine start-up on the bundled data, headless, with a temporary user folder: the log, the user
// files, the variables and parameters start-up sets, the second-instance refusal and the fatal
// error report.
#include "GameRun.h"

#include "engine/app/Engine.h"
#include "engine/scene/ActionMap.h"
#include "engine/scene/Scene.h"
#include "engine/session/Session.h"
#include "engine/session/TransitionManager.h"
#include "engine/session/Vars.h"

#include "echon/AudioManager.h"
#include "nimbo/InstanceRecord.h"
#include "nimboui/nimboui.h"
#include "tulm/System.h"

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const std::string STARTUP_LINES[] = {
    "[vorne] locale set to automatic, determining system locale...",
    "[vorne] system locale: en",
    "[vorne] localization found, using system locale",
    "[zeph] loading variables from data/vars.xml\n[zeph] ----------\n",
    "[zeph] ----------\n[zeph] loaded ",
    "[zeph] $zeph_target: 'pc' (was '')",
    "[zeph] $zeph_platform: 'pc' (was '')",
    "[zeph] $game_version: '1.0.0' (was '')",
    "[zeph] $items: '' (was '')",
    "[zeph] $chapter_mode: '0' (was '0')",
    "[zeph] Loading chapter ui",
    "[zeph] Loading chapter characters",
    "[zeph] Loading chapter menu",
    "[zeph] $active_scene: 'menu.Logo' (was '')",
};

std::string userConfigOf(const ParamMap& params) {
    std::string text;
    for (const auto& [key, value] : params) {
        if (key.startsWith("cfg.")) {
            vessot::String userKey = key.substr(4);
            text += userKey + ": " + params.at(userKey) + "\n";
        }
    }
    return text;
}

} // namespace

TEST(StartupTest, StartsHeadlessAndLogsEachStepInOrder) {
    GameRun game;
    game.start(5);
    std::vector<std::string> expected(std::begin(STARTUP_LINES), std::end(STARTUP_LINES));
    expectInOrder(game.log(), expected);
    ASSERT_NE(Session::activeScene, nullptr);
    EXPECT_EQ(Session::activeScene->getFullName(), "menu.Logo");
    game.finish();
    expectInOrder(game.log(), {"[game] Destroying game", "[zeph] ZEPH destroyed"});
}

TEST(StartupTest, EngineStateAfterStart) {
    GameRun game;
    game.start();
    // Set before the initial values were taken: they count as unchanged for save files.
    for (const char* name : {"zeph_target", "zeph_platform"}) {
        Variable* variable = Vars::get(name);
        EXPECT_EQ(variable->value, "pc") << name;
        EXPECT_EQ(variable->initialValue, "pc") << name;
    }
    EXPECT_EQ(Vars::value("user_has_touchscreen"), "0");
    EXPECT_EQ(Vars::value("user_has_mouse"), "1");
    EXPECT_EQ(Session::getParam("screenshot"), "0");
    ASSERT_NE(Session::dummyActionMap, nullptr);
    EXPECT_EQ(Session::dummyActionMap->getName(), "dummy");
    std::vector<std::string> effects;
    for (const auto& [name, transition] : Session::transitions) {
        effects.push_back(name);
    }
    EXPECT_EQ(effects, (std::vector<std::string>{"", "crossfade", "fade", "zoom"}));
    EXPECT_FLOAT_EQ(textMultiplier, 1.0f);
    EXPECT_EQ(screenWidth, 426);
    EXPECT_EQ(screenHeight, 320);
    EXPECT_EQ(readWholeFile(game.user / "hwnd.txt"), std::to_string(getpid()) + "\n");
    // Every chapter exists from the start, loaded or not.
    for (const char* chapter : {"ui", "characters", "intro", "ship", "jama_spacea", "terra_nuova", "menu"}) {
        EXPECT_NE(nimboui::getDatasetByName(chapter), nullptr) << chapter;
    }
}

TEST(StartupTest, FirstStartWritesTheUserKeysOnly) {
    GameRun game;
    game.start();
    std::string written = readWholeFile(game.user / "zeph.cfg");
    EXPECT_EQ(written, userConfigOf(Session::params));
    EXPECT_NE(written.find("master_volume: 100\n"), std::string::npos);
    EXPECT_EQ(written.find("title"), std::string::npos);
    EXPECT_EQ(written.find("["), std::string::npos);
}

TEST(StartupTest, UserFileOverridesTheDefaults) {
    GameRun game;
    std::string user = "text_multiplier: 0.5\r\nmaster_volume: 40\nnot an entry\n";
    writeWholeFile(game.user / "zeph.cfg", user);
    game.start();
    EXPECT_EQ(Session::getParam("text_multiplier"), "0.5");
    EXPECT_EQ(Session::getParam("master_volume"), "40");
    EXPECT_FLOAT_EQ(textMultiplier, 0.5f);
    // An existing user file is read, never rewritten at start.
    EXPECT_EQ(readWholeFile(game.user / "zeph.cfg"), user);
}

TEST(StartupTest, MutedAudioStillHasItsCategoriesAndVolumes) {
    GameRun game;
    writeWholeFile(game.user / "zeph.cfg", "audio_mute: 1\nmaster_volume: 50\nfx_volume: 25\n");
    game.start();
    ASSERT_NE(echon::mgr, nullptr);
    EXPECT_EQ(echon::mgr->getName(), "Disabled");
    EXPECT_FLOAT_EQ(echon::mgr->getGlobalGain(), 0.5f);
    // The other volumes come from the bundled configuration.
    const std::pair<const char*, float> gains[] = {{"fx", 0.25f}, {"music", 0.7f}, {"ambient", 0.7f}, {"voice", 1.0f}};
    for (const auto& [category, gain] : gains) {
        ASSERT_NE(echon::mgr->getCategory(category), nullptr) << category;
        EXPECT_FLOAT_EQ(echon::mgr->getCategory(category)->getGain(), gain) << category;
    }
}

TEST(StartupTest, TouchPlatformMarksTheInputVariablesAsInitial) {
    GameRun game;
    writeWholeFile(game.user / "zeph.cfg", "zeph_platform: android\n");
    game.start();
    Variable* touch = Vars::get("user_has_touchscreen");
    Variable* mouse = Vars::get("user_has_mouse");
    EXPECT_EQ(touch->value, "1");
    EXPECT_EQ(touch->initialValue, "1");
    EXPECT_EQ(mouse->value, "0");
    EXPECT_EQ(mouse->initialValue, "0");
}

TEST(StartupTest, SceneParameterNamingASavedStateStartsThere) {
    GameRun game;
    // The saved state lies under the resource root: here a folder that also shows the game's data.
    TempDir root;
    for (const char* folder : {"data", "cfg"}) {
        std::filesystem::create_directory_symlink(std::filesystem::current_path() / folder, root / folder);
    }
    std::filesystem::create_directory(root / "states");
    writeWholeFile(root / "states/start.sav", "active_scene: ship.Corridor\npipe_fixed: 1\n");
    setenv("ZEPH_DATA_DIR", root.path.c_str(), 1);
    writeWholeFile(game.user / "zeph.cfg", "scene: ./states/start.sav\n");
    game.start();
    ASSERT_NE(Session::activeScene, nullptr);
    EXPECT_EQ(Session::activeScene->getFullName(), "ship.Corridor");
    EXPECT_EQ(Session::getParam("scene"), "ship.Corridor");
    // The state was loaded after the initial values were taken.
    EXPECT_EQ(Vars::get("pipe_fixed")->value, "1");
    EXPECT_EQ(Vars::get("pipe_fixed")->initialValue, "0");
}

TEST(StartupTest, SmallMemoryUnloadsIdleTexturesSooner) {
    setenv("ZEPH_RAM_MB", "499", 1);
    GameRun game;
    game.start();
    EXPECT_FLOAT_EQ(nimboui::getTextureIdleUnloadTime(), 10.0f);
}

TEST(StartupTest, NormalMemoryKeepsIdleTexturesAMinute) {
    setenv("ZEPH_RAM_MB", "500", 1);
    GameRun game;
    game.start();
    EXPECT_FLOAT_EQ(nimboui::getTextureIdleUnloadTime(), 60.0f);
}

TEST(StartupTest, LeftoverHandleFileDoesNotBlockTheStart) {
    GameRun game;
    // Process 1 has recorded no window.
    writeWholeFile(game.user / "hwnd.txt", "1\n");
    game.start();
    EXPECT_EQ(readWholeFile(game.user / "hwnd.txt"), std::to_string(getpid()) + "\n");
}

// A second copy started on the user folder of a running game, which `running` makes look so: the
// start is refused with exit code 0 and touches no file of the running game.
void expectSecondInstanceRefused(const std::function<void(const TempDir& user)>& running) {
    GameRun game;
    running(game.user);
    std::string handle = readWholeFile(game.user / "hwnd.txt");
    // Its log, and a save it is writing at this moment.
    writeWholeFile(game.user / "game.log", "[game] the running game's log\n");
    writeWholeFile(game.user / "zeph.cfg.tmp-Ab12Cd", "audio_mute: 1\n");
    testing::internal::CaptureStderr();
    try {
        game.start();
        FAIL() << "the start went on";
    } catch (const Game::ExitRequest& exit) {
        EXPECT_EQ(exit.code, 0);
    }
    std::string shown = testing::internal::GetCapturedStderr();
    game.started = false;
    EXPECT_NE(shown.find("Vestrel Vorne: ERROR!"), std::string::npos) << shown;
    EXPECT_NE(shown.find("Unable to launch game, another instance is already running!"), std::string::npos);
    EXPECT_EQ(game.log(), "[game] the running game's log\n");
    EXPECT_EQ(readWholeFile(game.user / "zeph.cfg.tmp-Ab12Cd"), "audio_mute: 1\n");
    EXPECT_EQ(readWholeFile(game.user / "hwnd.txt"), handle);
}

TEST(StartupTest, SecondInstanceIsRefusedWithExitCodeZeroAndTouchesNoFileOfTheRunningGame) {
    // The running game's handle file names a live window with the game's title: this process's.
    expectSecondInstanceRefused(
        [](const TempDir& user) { writeWholeFile(user / "hwnd.txt", std::to_string(getpid()) + "\n"); });
}

TEST(StartupTest, ACopyStartedAtTheSameMomentIsRefusedByTheUserFolderLock) {
    // The running game has not written its handle file yet, but holds the lock.
    expectSecondInstanceRefused([](const TempDir& user) {
        ASSERT_EQ(flock(open((user / "instance.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644), LOCK_EX), 0);
    });
}

// A running copy that took the lock as the game does, in a process of its own that ends with the test.
void holdLockElsewhere(const TempDir& user) {
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    if (fork() == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        char held = tulm::holdExclusiveLock(user / "instance.lock");
        (void)!write(ready[1], &held, 1);
        pause();
        _exit(0);
    }
    char held = 0;
    ASSERT_TRUE(read(ready[0], &held, 1) == 1 && held);
}

TEST(StartupTest, ACopyStartedAtTheSameMomentIsRefusedByTheLockTheFirstOneTook) {
    expectSecondInstanceRefused(holdLockElsewhere);
}

TEST(StartupTest, AFolderInPlaceOfTheLockFileLeavesTheUserFolderLocked) {
    expectSecondInstanceRefused([](const TempDir& user) {
        std::filesystem::create_directory(user / "instance.lock");
        holdLockElsewhere(user);
    });
}

TEST(StartupTest, APipeInPlaceOfTheLockFileLeavesTheUserFolderLocked) {
    expectSecondInstanceRefused([](const TempDir& user) {
        mkfifo((user / "instance.lock").c_str(), 0600);
        holdLockElsewhere(user);
    });
}

TEST(StartupTest, AStartRemovesTheUnfinishedWritesOfAnEarlierRunAndLogsFromTheStart) {
    GameRun game;
    writeWholeFile(game.user / "zeph.cfg.tmp-Ab12Cd", "audio_mute: 1\n");
    writeWholeFile(game.user / "notes.tmp-Ab12C", "mine\n");
    // Reported while the configuration is read, before the single-instance check.
    writeWholeFile(game.user / "zeph.cfg", "profile: ../../victim\n");
    game.start();
    EXPECT_FALSE(std::filesystem::exists(game.user / "zeph.cfg.tmp-Ab12Cd"));
    EXPECT_EQ(readWholeFile(game.user / "notes.tmp-Ab12C"), "mine\n");
    EXPECT_EQ(Session::getParam("profile"), "");
    // The lines logged before the log file was opened are in it all the same.
    expectInOrder(game.log(), {"[zeph] ERROR: " + game.user / "zeph.cfg: the key 'profile' ('../../victim') leaves the "
                                                              "user folder; the profile counts as ''",
                               "removed 1 unfinished temporary files from", "[vorne] locale set to automatic"});
}

TEST(StartupTest, TheProfileChosenInTheProfileMenuIsStillTheCurrentOneAtTheNextStart) {
    GameRun game;
    std::filesystem::create_directory(game.user / "_profile2");
    writeWholeFile(game.user / "_profile2/username.txt", "\xEF\xBB\xBF"
                                                         "Ann");
    writeWholeFile(game.user / "zeph.cfg", "profile: /_profile2\n");
    game.start();
    EXPECT_EQ(Session::getParam("profile"), "/_profile2");
    EXPECT_EQ(game.log().find("leaves the user folder"), std::string::npos) << game.log();
}

TEST(StartupTest, BrokenFirstSceneEndsInTheFatalReport) {
    GameRun game;
    writeWholeFile(game.user / "zeph.cfg", "scene: ship.Nowhere\n");
    try {
        game.start();
        FAIL() << "the start went on";
    } catch (const Game::ExitRequest& exit) {
        EXPECT_EQ(exit.code, 1);
    }
    // The process would end here; the test takes the game down instead.
    game.started = true;
    std::string log = game.log();
    size_t report = log.find("\n----------------------\nEXCEPTION: ");
    ASSERT_NE(report, std::string::npos);
    EXPECT_NE(log.find("Nowhere", report), std::string::npos);
    EXPECT_NE(log.find("\n----------------------\n\n", report + 30), std::string::npos);
    EXPECT_NE(log.find("An error has ocurred!\n\nDetails:\n", report), std::string::npos);
}
