// The frame: the time step clamped, fast-forwarded and cut into sub-steps, play time, the snapshot
// and autosave at quiet seconds, the blocking panels, the per-step interface state, low memory.
#include "RunningGame.h"

#include "engine/view/Input.h"
#include "engine/view/Viewport.h"
#include "script/Speech.h"
#include "ui/Hints.h"
#include "ui/Hud.h"

#include "nimbo/Nimbo.h"

#include <cmath>
#include <functional>

namespace {

// A scene that records the game step of every update it gets.
class ProbeScene : public Scene {
public:
    using Scene::Scene;
    void onUpdate(float dt) override { steps.push_back(dt); }
    std::vector<float> steps;
};

class Frame : public RunningGame {
protected:
    // Registers a probe scene in the ship chapter and enters it.
    ProbeScene* enterProbe(const vessot::String& name) {
        Chapter* ship = Session::getChapter("ship");
        auto* probe = new ProbeScene(ship, name);
        ship->registerScene(name, probe);
        probe->ensureRoot();
        switchNow(name);
        return probe;
    }

    static void frame(float elapsed) {
        Game::guarded([&] { Game::update(elapsed); });
    }

    static vessot::String snapshotValue(const vessot::String& name) { return Vars::snapshot.get(name)->getValue(); }

    static void setResumeOverlay(bool shown) {
        nimboui::Object* overlay = Hud::uiObject("resume_overlay");
        overlay->setAlpha(1.0f);
        overlay->setVisible(shown);
    }
};

TEST_F(Frame, TheStepIsClampedFastForwardedAndCutIntoSubSteps) {
    struct Case {
        const char* scene;
        float elapsed;
        bool fastForward;
        bool paused;
        std::vector<float> steps;
        float realTime;
    };
    const float third = 0.25f / 3.0f;
    const Case cases[] = {
        {"Probe", 0.016f, false, false, {0.016f}, 0.016f},
        {"Probe", 0.2f, false, false, {0.05f}, 0.05f},
        {"Probe", 0.03f, true, false, {0.075f, 0.075f}, 0.03f},
        {"SSProbe", 0.03f, true, false, {0.03f}, 0.03f},
        {"Probe", 1.0f, true, false, {third, third, third}, 0.05f},
        {"Probe", 0.04f, false, true, {0.0f}, 0.04f},
        {"Probe", 0.03f, true, true, {0.0f}, 0.03f},
    };
    ProbeScene* probes[] = {enterProbe("SSProbe"), enterProbe("Probe")};
    for (const Case& c : cases) {
        ProbeScene* probe = c.scene == vessot::String("Probe") ? probes[1] : probes[0];
        if (Session::activeScene != probe) {
            switchNow(c.scene);
        }
        probe->steps.clear();
        fastForwardActive = c.fastForward;
        setResumeOverlay(c.paused);
        loadingScreenFade = 1.0f; // counts down with the real time of every sub-step
        frame(c.elapsed);
        SCOPED_TRACE(testing::Message() << c.scene << " " << c.elapsed << (c.fastForward ? " ffwd" : "")
                                        << (c.paused ? " paused" : ""));
        ASSERT_EQ(probe->steps.size(), c.steps.size());
        for (size_t i = 0; i < c.steps.size(); ++i) {
            EXPECT_NEAR(probe->steps[i], c.steps[i], 1e-6f);
        }
        EXPECT_NEAR(1.0f - loadingScreenFade, c.realTime * 0.5f, 1e-6f);
    }
}

TEST_F(Frame, PlayTimeCountsASecondOnlyOnceTheAccumulatorIsAboveOne) {
    frame(1.0f);
    EXPECT_EQ(var("gameplay_time"), "0");
    frame(0.01f);
    EXPECT_EQ(var("gameplay_time"), "1");
}

TEST_F(Frame, AStallIsCountedOneSecondPerFrame) {
    frame(3.5f);
    EXPECT_EQ(var("gameplay_time"), "1");
    frame(0.0f);
    EXPECT_EQ(var("gameplay_time"), "2");
    frame(0.0f);
    EXPECT_EQ(var("gameplay_time"), "3");
    frame(0.0f);
    EXPECT_EQ(var("gameplay_time"), "3");
}

TEST_F(Frame, PlayTimeStandsStillInTheInterfaceChapter) {
    switchNow("ui.InGameMenu");
    for (int i = 0; i < 5; ++i) {
        frame(0.5f);
    }
    EXPECT_EQ(var("gameplay_time"), "0");
}

TEST_F(Frame, AQuietSecondTakesTheSnapshotAndAutosavesSixHundredSecondsAfterTheLast) {
    struct Case {
        const char* played;
        const char* lastSave;
        const char* playedAfter;
        bool autosaves;
    };
    const Case cases[] = {
        {"598", "0", "599", false},
        {"599", "0", "600", true},
        // A damaged or edited save: the sums saturate instead of overflowing.
        {"2147483647", "0", "2147483647", true},
        {"0", "-2147483648", "1", true},
        {"2147483647", "-2147483648", "2147483647", true},
    };
    frame(0.01f); // from now on every frame of 1 s counts a second
    int row = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.played << " played, saved at " << c.lastSave);
        vessot::String marker(++row);
        Vars::get("gameplay_time")->setValue(c.played, true);
        Vars::get("last_autosave_time")->setValue(c.lastSave, true);
        Vars::get("console_on")->setValue(marker, true);
        size_t logged = game->log().size();
        frame(1.0f);
        EXPECT_EQ(var("gameplay_time"), c.playedAfter);
        EXPECT_EQ(snapshotValue("console_on"), marker);
        EXPECT_EQ(var("last_autosave_time"), c.autosaves ? c.playedAfter : c.lastSave);
        EXPECT_EQ(game->log().find("Saving game in slot: autosave/slot1", logged) != std::string::npos, c.autosaves);
    }
}

// What keeps a second from being quiet, one game each.
struct BusyCause {
    const char* name;
    std::function<void()> apply;
};

const BusyCause BUSY_CAUSES[] = {
    {"Speaking",
     [] {
         Speech::speechMap["vorne"] = {{"a line", 5.0f}};
     }},
    {"SceneLocked", [] { Session::sceneLocked = true; }},
    {"SkipPending", [] { Vars::get("skip_action")->setValue("look_window", true); }},
    {"InventoryOpen", [] { Hud::uiObject("inv")->setAlpha(1.0f); }},
    {"VerbCoinOpen", [] { Hud::uiObject("choice_buttons")->setAlpha(1.0f); }},
    {"TransitionRuns", [] { Session::switchScene("Corridor", "fade", "", 100.0f); }},
    {"CharacterWalks", [] { standCharacter(200, 300)->addJob(new TestJob("Move")); }},
};

void PrintTo(const BusyCause& cause, std::ostream* out) {
    *out << cause.name;
}

class BusySecond : public Frame, public ::testing::WithParamInterface<BusyCause> {};

TEST_P(BusySecond, IsCountedButTakesNoSnapshotAndNoAutosave) {
    Vars::get("gameplay_time")->setValue("599", true);
    Vars::get("console_on")->setValue("1", true);
    GetParam().apply();
    frame(1.01f);
    EXPECT_EQ(var("gameplay_time"), "600");
    EXPECT_EQ(var("last_autosave_time"), "0");
    EXPECT_EQ(snapshotValue("console_on"), "0");
}

INSTANTIATE_TEST_SUITE_P(Causes, BusySecond, ::testing::ValuesIn(BUSY_CAUSES),
                         [](const ::testing::TestParamInfo<BusyCause>& info) { return info.param.name; });

TEST_F(Frame, BlockingPanelsStopTheSessionButNotTheAudioTheLoadingPicturesFadeOrARunningTransition) {
    const std::pair<const char*, std::function<void(bool)>> panels[] = {
        {"confirmation", [](bool open) { Vars::get("cdialog")->setValue(open ? "Q,yes,none" : "", true); }},
        {"inventory", [](bool open) { Hud::uiObject("inv")->setAlpha(open ? 1.0f : 0.0f); }},
        {"verb coin", [](bool open) { Hud::uiObject("choice_buttons")->setAlpha(open ? 1.0f : 0.0f); }},
    };
    ProbeScene* probe = enterProbe("Probe");
    for (const auto& [panel, open] : panels) {
        SCOPED_TRACE(panel);
        Vars::get("console_on")->setValue("0", true);
        Session::queueCommand("set_var console_on 1");
        probe->steps.clear();
        loadingScreenFade = 1.0f;
        open(true);
        frame(0.02f);
        EXPECT_TRUE(probe->steps.empty());
        EXPECT_EQ(var("console_on"), "0");
        EXPECT_NEAR(loadingScreenFade, 0.99f, 1e-6f);
        // A fade under way runs to its end all the same.
        Vars::get("prev_scene")->setValue("", true);
        Session::switchScene("ship.Probe", "fade", "", 0.04f);
        for (int i = 0; i < 5; ++i) {
            frame(0.02f);
        }
        EXPECT_EQ(Session::activeTransition, nullptr);
        EXPECT_EQ(var("prev_scene"), "ship.Probe");
        probe->steps.clear();
        open(false);
        frame(0.02f);
        EXPECT_EQ(probe->steps.size(), 1u);
        EXPECT_EQ(var("console_on"), "1");
    }
}

TEST_F(Frame, TheSkipAndFastForwardButtonsFollowTheirStateEveryStep) {
    nimboui::Object* skip = Hud::uiObject("skip_button");
    nimboui::Object* ffwd = Hud::uiObject("ffwd_button");
    frame(0.016f);
    EXPECT_FALSE(skip->isVisible());
    EXPECT_EQ(ffwd->getAlpha(), 0.0f);
    EXPECT_FLOAT_EQ(ffwd->getX(), 480.0f);
    EXPECT_FLOAT_EQ(skip->getX(), 869.0f);

    Vars::get("skip_action")->setValue("look_window", true);
    frame(0.016f);
    EXPECT_TRUE(skip->isVisible());
    Hud::uiObject("reply_0")->setVisible(true);
    Hud::uiObject("reply_0")->setAlpha(1.0f);
    frame(0.016f);
    EXPECT_FALSE(skip->isVisible());

    fastForwardActive = true;
    frame(0.016f); // one fast-forwarded step of 0.08 s
    EXPECT_NEAR(ffwd->getAlpha(), 0.08f, 1e-6f);
    fastForwardActive = false;
    frame(0.016f); // falls by twice the step
    EXPECT_NEAR(ffwd->getAlpha(), 0.048f, 1e-6f);
}

TEST_F(Frame, TheCharacterButtonShowsOnlyWhileCharactersCanBeSwitched) {
    nimboui::Object* button = Hud::uiObject("character_button");
    frame(0.016f);
    EXPECT_EQ(button->getAlpha(), 0.0f);
    Vars::get("switchable_characters")->setValue("vorne,luna", true);
    frame(0.016f);
    EXPECT_EQ(button->getAlpha(), 1.0f);
}

TEST_F(Frame, TheTargetVariableFollowsTheParameter) {
    Vars::get("zeph_target")->setValue("tablet", true);
    frame(0.016f);
    EXPECT_EQ(var("zeph_target"), "pc");
}

TEST_F(Frame, TheHintMarkerRunsDownAndStopsWhenTheSceneChanges) {
    frame(0.016f);
    Hints::marker.time = 3.0f;
    frame(0.02f);
    EXPECT_NEAR(Hints::marker.time, 2.98f, 1e-5f);
    switchNow("Corridor");
    frame(0.02f);
    EXPECT_EQ(Hints::marker.time, 0.0f);
}

TEST_F(Frame, AnArrowMarkersLastTwoSecondsWaitUntilItsTargetIsInView) {
    switchNow("Corridor"); // 852 wide, the view at its left end
    frame(0.016f);
    Hints::marker.image = uiChapter->getImage("gui/arrow_u");
    const struct {
        float time;
        float x;
        float after;
    } cases[] = {{1.5f, 700, 1.5f}, {1.5f, 200, 1.48f}, {3.0f, 700, 2.98f}};
    for (const auto& c : cases) {
        Hints::marker.time = c.time;
        Hints::marker.position = morvec::Vector2(c.x, 100);
        frame(0.02f);
        EXPECT_NEAR(Hints::marker.time, c.after, 1e-5f) << c.time << " at " << c.x;
    }
}

TEST_F(Frame, TheSceneIsDrawnThroughTheViewAndTheCameraAndNoTransformIsLeftBehind) {
    switchNow("Corridor");
    // The coolant pipe down the wall (scene x 424 to 438) is copper; the corridor's walls and doors
    // are grey-blue.
    const morvec::Vector2 pipe(431, 150);
    struct Case {
        const char* screenshot;
        float cameraOffset;
        float zoom;
    };
    const Case cases[] = {{"0", 300, 1.0f}, {"0", 300, 0.5f}, {"1", 300, 1.0f}, {"1", 100, 1.0f}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "screenshot " << c.screenshot << ", camera " << c.cameraOffset << ", zoom "
                                        << c.zoom);
        Session::params["screenshot"] = c.screenshot;
        cameraOffsetX = c.cameraOffset;
        viewZoom = currentViewZoom = c.zoom;
        for (int i = 0; i < 3; ++i) {
            Hud::drawFrame();
            EXPECT_EQ(nimbo::rendersys->getModelviewMatrix(), morvec::Matrix4());
        }
        // Screenshot mode shows the virtual screen on the top left 512 x 256 pixels of the window.
        morvec::Vector2 p = c.screenshot == vessot::String("1")
                                ? morvec::Vector2((pipe.x - c.cameraOffset) * 512 / 426, pipe.y * 256 / 320)
                                : game->sceneToWindow(pipe.x, pipe.y);
        nimbo::Color pixel = nimbo::rendersys->captureScreen().getPixel((int)p.x, (int)p.y);
        EXPECT_GT(pixel.r, pixel.b + 40) << (int)pixel.r << "," << (int)pixel.g << "," << (int)pixel.b;
    }
}

TEST_F(Frame, LowMemoryUnloadsTheChaptersNotInUseAndKeepsTheActiveAndTheKeptOnes) {
    switchNow("ui.InGameMenu");
    switchNow("jama_spacea.Landing");
    switchNow("ship.Cockpit");
    ASSERT_TRUE(isLoaded("jama_spacea"));
    Game::guarded([] { Game::unloadUnusedTextures(); });
    EXPECT_TRUE(isLoaded("ship"));
    EXPECT_TRUE(isLoaded("ui"));
    EXPECT_TRUE(isLoaded("characters"));
    EXPECT_FALSE(isLoaded("jama_spacea"));
    EXPECT_NE(game->log().find("Unloading unused textures"), std::string::npos);
}

// A 16:9 window: the buttons move out by the widescreen offset.
class WideFrame : public Frame {
protected:
    GameHarness::Options options() const override {
        GameHarness::Options wide;
        wide.width = 640;
        wide.height = 360;
        return wide;
    }
};

TEST_F(WideFrame, TheButtonsKeepToTheEdgesOfAWideWindow) {
    nimboui::Object* skip = Hud::uiObject("skip_button");
    frame(0.016f);
    EXPECT_NEAR(Hud::uiObject("ffwd_button")->getX(), 408.88889f, 1e-3f);
    EXPECT_NEAR(skip->getX(), 940.11111f, 1e-3f);
    float y = skip->getY();
    Session::params["ui"] = "mobile";
    frame(0.016f);
    EXPECT_NEAR(skip->getX(), 922.11111f, 1e-3f);
    EXPECT_EQ(skip->getY(), 265.0f);
    EXPECT_NE(y, 265.0f);
}

} // namespace
