// Scene switching: the named transitions, their timing and midpoint switch, refusals, chapters
// loaded and unloaded behind the loading picture, and the scene lock.
#include "RunningGame.h"

#include "engine/scene/BootCommand.h"
#include "script/Inventory.h"
#include "ui/Hud.h"

#include "nimbo/Nimbo.h"
#include "vessot/Exception.h"

#include <algorithm>
#include <cmath>

namespace {

using SceneSwitch = RunningGame;

int interfaceDraws = 0;

struct Sample {
    float elapsed;
    vessot::String scene;
};

// Runs session updates of one step until the transition ends; what each update left behind.
std::vector<Sample> runTransition(float step) {
    Lifetime::Scope scope;
    TransitionManager* transition = Session::activeTransition;
    std::vector<Sample> samples;
    while (Session::activeTransition && samples.size() < 200) {
        Session::update(step, step);
        samples.push_back({transition->elapsed, Vars::value("active_scene")});
    }
    return samples;
}

TEST_F(SceneSwitch, TheFirstSceneIsEnteredThroughTheImmediateTransition) {
    EXPECT_EQ(var("active_scene"), "ship.Cockpit");
    EXPECT_EQ(var("prev_scene"), "");
    EXPECT_EQ(Session::activeTransition, nullptr);
    EXPECT_EQ(var("cockpit_visits"), "1");
    for (const char* effect : {"", "fade", "zoom", "crossfade"}) {
        EXPECT_TRUE(Session::transitions.count(effect)) << effect;
    }
    EXPECT_NE(dynamic_cast<Transitions::Immediate*>(Session::transitions[""]), nullptr);
    EXPECT_NE(dynamic_cast<Transitions::Fade*>(Session::transitions["crossfade"]), nullptr);
}

TEST_F(SceneSwitch, AnImmediateSwitchActivatesTheTargetInsideTheCall) {
    switchNow("Corridor");
    EXPECT_EQ(var("active_scene"), "ship.Corridor");
    EXPECT_EQ(var("prev_scene"), "ship.Cockpit");
    EXPECT_EQ(Session::activeScene->getFullName(), "ship.Corridor");
    EXPECT_EQ(Session::activeTransition, nullptr);
}

TEST_F(SceneSwitch, AFadeStopsAtTheMiddleSwitchesOnTheNextUpdateAndEndsAtItsDuration) {
    Session::switchScene("Corridor", "fade", "", 1.0f);
    ASSERT_EQ(Session::activeTransition, Session::transitions["fade"]);
    std::vector<Sample> samples = runTransition(0.05f);
    ASSERT_EQ(Session::activeTransition, nullptr);

    auto first =
        std::find_if(samples.begin(), samples.end(), [](const Sample& s) { return s.scene == "ship.Corridor"; });
    ASSERT_NE(first, samples.end());
    ASSERT_NE(first, samples.begin());
    for (auto s = samples.begin(); s != first; ++s) {
        EXPECT_EQ(s->scene, "ship.Cockpit");
        EXPECT_LE(s->elapsed, 0.5f);
    }
    // The update that would pass the middle stops on it; the next switches and advances 0.01 s.
    EXPECT_EQ((first - 1)->elapsed, 0.5f);
    EXPECT_NEAR(first->elapsed, 0.51f, 1e-5f);
    EXPECT_EQ(samples.back().elapsed, 1.0f);
    EXPECT_EQ(samples.back().scene, "ship.Corridor");
    EXPECT_EQ(var("prev_scene"), "ship.Cockpit");
}

TEST_F(SceneSwitch, TheFadeIsDarkestAtTheMiddleAndClearAtBothEnds) {
    Transitions::Fade fade;
    fade.begin("Corridor", 2.0f, "");
    const std::pair<float, float> table[] = {{0.0f, 0.0f}, {0.5f, 0.5f}, {1.0f, 1.0f}, {1.5f, 0.5f}, {2.0f, 0.0f}};
    for (auto [elapsed, darkness] : table) {
        fade.elapsed = elapsed;
        EXPECT_FLOAT_EQ(fade.darkness(), darkness) << elapsed;
    }
}

TEST_F(SceneSwitch, TheFadeDrawsTheSceneAndTheInterfaceUnderItsBlackLayer) {
    Transitions::Fade fade;
    fade.begin("Corridor", 1.0f, "");
    interfaceDraws = 0;
    auto draw = [&](float elapsed) {
        fade.elapsed = elapsed;
        nimbo::rendersys->clear(true, false);
        Hud::setProjection(false);
        fade.draw([] { ++interfaceDraws; });
        return nimbo::rendersys->captureScreen().getPixel(320, 240);
    };
    nimbo::Color clear = draw(0.0f);
    nimbo::Color darkest = draw(0.5f);
    EXPECT_EQ(interfaceDraws, 2);
    EXPECT_GT(clear.r + clear.g + clear.b, 60);
    EXPECT_EQ(darkest.r + darkest.g + darkest.b, 0);
}

TEST_F(SceneSwitch, AShortFadeWhoseUpdateCrossesTheMiddleAndTheEndStillSwitches) {
    Session::switchScene("Corridor", "fade", "", 0.04f);
    Lifetime::Scope scope;
    Session::update(0.05f, 0.05f);
    EXPECT_EQ(var("active_scene"), "ship.Cockpit");
    ASSERT_NE(Session::activeTransition, nullptr);
    Session::update(0.05f, 0.05f);
    EXPECT_EQ(var("active_scene"), "ship.Corridor");
    for (int i = 0; i < 10 && Session::activeTransition; ++i) {
        Session::update(0.05f, 0.05f);
    }
    EXPECT_EQ(Session::activeTransition, nullptr);
}

TEST_F(SceneSwitch, AFadeOfNoOrNoUsableDurationSwitchesAndEndsInsideTheCall) {
    // A duration that is not a finite number of 0 or more counts as 0.
    const float durations[] = {0.0f, NAN, INFINITY, -INFINITY, -1.0f};
    const char* const targets[] = {"Corridor", "Galley", "Corridor", "Galley", "Corridor"};
    for (size_t i = 0; i < std::size(durations); ++i) {
        Lifetime::Scope scope;
        Session::switchScene(targets[i], "zoom", "", durations[i]);
        EXPECT_EQ(var("active_scene"), "ship." + vessot::String(targets[i])) << durations[i];
        EXPECT_EQ(Session::activeTransition, nullptr) << durations[i];
    }
}

TEST_F(SceneSwitch, SwitchesAskedForWhileATransitionRunsAreDropped) {
    Session::switchScene("Corridor", "fade", "", 1.0f);
    Session::switchScene("Galley", "", "", 0.0f);
    Session::executeCommand("switch_scene Galley");
    EXPECT_EQ(Session::activeTransition->targetScene, "Corridor");
    runTransition(0.05f);
    EXPECT_EQ(var("active_scene"), "ship.Corridor");
}

TEST_F(SceneSwitch, RefusedSwitchesThrowAndLeaveTheSessionAlone) {
    struct Case {
        const char* target;
        const char* effect;
        const char* message;
    };
    const Case cases[] = {
        {"Cockpit", "", "Error: Attempting to switch to the active scene!"},
        {"Cockpit", "fade", "Error: Attempting to switch to the active scene!"},
        {"Corridor", "wipe", "Transition effect 'wipe' not found!"},
        {"nowhere.Hall", "", "Chapter 'nowhere' not found!"},
    };
    Scene* active = Session::activeScene;
    for (const Case& c : cases) {
        try {
            Lifetime::Scope scope;
            Session::switchScene(c.target, c.effect, "", 1.0f);
            ADD_FAILURE() << c.target << " was not refused";
        } catch (const vessot::exception& e) {
            EXPECT_EQ(e.message(), c.message) << c.target;
        }
        EXPECT_EQ(Session::activeScene, active);
        EXPECT_EQ(Session::activeTransition, nullptr);
        EXPECT_EQ(var("active_scene"), "ship.Cockpit");
        EXPECT_EQ(var("prev_scene"), "");
    }
}

TEST_F(SceneSwitch, TheActiveSceneByItsFullNameIsLeftAndEnteredAgain) {
    switchNow("ship.Cockpit");
    EXPECT_EQ(var("cockpit_visits"), "2");
    EXPECT_EQ(var("prev_scene"), "ship.Cockpit");
}

TEST_F(SceneSwitch, ABareSceneNameNeedsAnActiveScene) {
    Scene* active = Session::activeScene;
    Session::activeScene = nullptr;
    try {
        switchNow("Corridor");
        ADD_FAILURE() << "a bare name was switched to without an active scene";
    } catch (const vessot::exception& e) {
        EXPECT_EQ(e.message(),
                  "Can't switch to 'Corridor', active_scene is null so scene name must have a chapter prefix");
    }
    Session::activeScene = active;
    EXPECT_THROW(switchNow("ship.Nowhere"), _SceneNotFoundExeption);
}

// A scene of the ship whose boot commands are given and which counts its entries.
class LoopScene : public Scene {
public:
    LoopScene(const vessot::String& name, const std::vector<std::pair<const char*, const char*>>& boot)
        : Scene(Session::getChapter("ship"), name) {
        for (const auto& [condition, command] : boot) {
            bootCommands.push_back(new BootCommand_ExecuteCommand(condition, command));
        }
        chapter->registerScene(name, this);
        ensureRoot();
    }
    void onEnter() override { Vars::get("entered_" + name)->addInt(1); }
};

TEST_F(SceneSwitch, BootCommandsThatSwitchAtOnceBackIntoScenesStopAfterSixteenActivations) {
    using Boot = std::vector<std::pair<const char*, const char*>>;
    // Runs of the boot commands before and after the switch, and entries, of Loop1 and Loop2.
    struct Counts {
        int boots1, boots2, after1, after2, entered1, entered2;
    };
    struct Case {
        const char* what;
        Boot loop1, loop2;
        const char* endsIn;
        Counts counts;
        bool refused;
    };
    const Boot once = {{"", "inc_var boots_Loop1 1"},
                       {"$once==0", "set_var once 1;switch_scene ship.Loop1"},
                       {"", "inc_var after_Loop1 1"}};
    const Boot itself = {{"", "inc_var boots_Loop1 1"}, {"", "switch_scene ship.Loop1"}, {"", "inc_var after_Loop1 1"}};
    const Boot toLoop2 = {{"", "inc_var boots_Loop1 1"}, {"", "switch_scene Loop2"}, {"", "inc_var after_Loop1 1"}};
    const Boot toLoop1 = {{"", "inc_var boots_Loop2 1"}, {"", "switch_scene Loop1"}, {"", "inc_var after_Loop2 1"}};
    const Case cases[] = {
        {"a scene that enters itself once", once, {}, "ship.Loop1", {2, 0, 1, 0, 1, 0}, false},
        {"a scene that enters itself on every entry", itself, {}, "ship.Loop1", {16, 0, 1, 0, 1, 0}, true},
        {"two scenes that enter each other", toLoop2, toLoop1, "ship.Loop2", {8, 8, 0, 1, 0, 1}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const char* name :
             {"once", "boots_Loop1", "boots_Loop2", "after_Loop1", "after_Loop2", "entered_Loop1", "entered_Loop2"}) {
            Vars::getOrCreate(name)->setValue("0", true);
        }
        new LoopScene("Loop1", c.loop1);
        new LoopScene("Loop2", c.loop2);
        size_t logged = game->log().size();
        switchNow("Loop1");
        EXPECT_EQ(var("active_scene"), c.endsIn);
        const std::pair<const char*, int> counts[] = {
            {"boots_Loop1", c.counts.boots1},     {"boots_Loop2", c.counts.boots2},
            {"after_Loop1", c.counts.after1},     {"after_Loop2", c.counts.after2},
            {"entered_Loop1", c.counts.entered1}, {"entered_Loop2", c.counts.entered2}};
        for (const auto& [name, count] : counts) {
            EXPECT_EQ(var(name), vessot::String(count)) << name;
        }
        std::string log = game->log().substr(logged);
        EXPECT_EQ(log.find("ERROR: scene switches nested 16 deep (ship.Loop1 -> ") != std::string::npos, c.refused);
        game->step(); // the game goes on
        switchNow("Cockpit");
        Session::previousScene = nullptr;
        Chapter* ship = Session::getChapter("ship");
        for (const char* name : {"Loop1", "Loop2"}) {
            delete ship->scenes[name];
            ship->scenes.erase(name);
        }
    }
}

TEST_F(SceneSwitch, EnteringAnUnloadedChapterUnloadsTheChapterLeftBehindTheLoadingPicture) {
    switchNow("jama_spacea.Landing");
    EXPECT_EQ(var("active_scene"), "jama_spacea.Landing");
    EXPECT_EQ(var("prev_scene"), "ship.Cockpit");
    EXPECT_TRUE(isLoaded("jama_spacea"));
    EXPECT_FALSE(isLoaded("ship"));
    EXPECT_TRUE(isLoaded("ui"));
    EXPECT_TRUE(isLoaded("characters"));
    EXPECT_EQ(Session::previousScene, nullptr);
    EXPECT_EQ(loadingScreenFade, 1.0f);
    EXPECT_NE(loadingScreenTexture, nullptr);
}

TEST_F(SceneSwitch, EnteringALoadedChapterNeverUnloadsTheChapterLeft) {
    switchNow("ui.InGameMenu");
    switchNow("jama_spacea.Landing"); // leaves a kept chapter: nothing is unloaded
    EXPECT_TRUE(isLoaded("ship"));
    switchNow("ship.Cockpit"); // into a loaded chapter
    EXPECT_TRUE(isLoaded("ship"));
    EXPECT_TRUE(isLoaded("jama_spacea"));
    EXPECT_EQ(Session::previousScene->getFullName(), "jama_spacea.Landing");
}

TEST_F(SceneSwitch, ASwitchThatLoadsNothingLetsInputThroughUnlessTheLoadingPictureStillFades) {
    loadingScreenAlpha = 0.9f; // left from an earlier picture, with its fade idle
    switchNow("Corridor");
    EXPECT_EQ(loadingScreenAlpha, 0.0f);
    loadingScreenFade = 0.5f;
    loadingScreenAlpha = 0.7f;
    switchNow("Galley");
    EXPECT_EQ(loadingScreenAlpha, 0.7f);
}

TEST_F(SceneSwitch, TheLoadingPictureFadesOverTwoSecondsOfRealTimeAndIsThenFreed) {
    switchNow("jama_spacea.Landing");
    Lifetime::Scope scope;
    Session::update(0.0f, 1.0f); // a paused game still counts real time
    EXPECT_FLOAT_EQ(loadingScreenFade, 0.5f);
    Session::update(0.0f, 0.5f);
    EXPECT_FLOAT_EQ(loadingScreenFade, 0.25f);
    EXPECT_NE(loadingScreenTexture, nullptr);
    Session::update(0.0f, 0.5f); // reaches 0 exactly: the fade is over
    EXPECT_EQ(loadingScreenFade, -1.0f);
    EXPECT_EQ(loadingScreenTexture, nullptr);
}

TEST_F(SceneSwitch, TheSceneLockDropsTheItemInHandOnceAndLogsEveryCall) {
    Inventory::addItem("wrench");
    Inventory::setSelectedItem("wrench");
    Session::lockScene();
    EXPECT_TRUE(Session::sceneLocked);
    EXPECT_EQ(Inventory::getSelectedItem(), "");
    Inventory::selectedItem = "wrench";
    Session::lockScene();
    EXPECT_EQ(Inventory::getSelectedItem(), "wrench");
    Session::unlockScene();
    EXPECT_FALSE(Session::sceneLocked);
    Session::unlockScene();
    std::string log = game->log();
    size_t locked = log.find("Scene Locked\n");
    size_t again = log.find("Scene Locked (was previously locked)");
    size_t unlocked = log.find("Scene Unlocked\n");
    size_t unlockedAgain = log.find("Scene Unlocked (wasn't previously unlocked)");
    ASSERT_NE(unlockedAgain, std::string::npos);
    EXPECT_LT(locked, again);
    EXPECT_LT(again, unlocked);
    EXPECT_LT(unlocked, unlockedAgain);
}

} // namespace
