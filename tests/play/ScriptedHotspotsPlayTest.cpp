// Whole-game runs of the story's scripted hotspots: the galley's locker and hatch, and an exit click
// whose queued switch still runs after a key has switched into the interface's chapter.
#include "GameHarness.h"
#include "TempDir.h"

#include "engine/session/Session.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

// Hotspot centres of the galley, in scene units.
const morvec::Vector2 GALLEY_LOCKER(210, 180);
const morvec::Vector2 GALLEY_HATCH(350, 245);

TEST(ScriptedHotspots, TheGalleyLockerGivesASpannerOnceAndTheHatchSetsCountsGivesAMaskAndSwitches) {
    GameHarness game;
    game.passLoadingFade();
    Session::queueCommand("switch_scene Galley");
    game.step();
    ASSERT_EQ(game.activeScene(), "ship.Galley");

    game.click(GALLEY_LOCKER.x, GALLEY_LOCKER.y);
    EXPECT_EQ(game.var("locker_open"), "1");
    EXPECT_EQ(game.var("items"), "spanner");
    EXPECT_EQ(game.log().find("Unable to play sound"), std::string::npos);
    // Opened, the locker only says so.
    game.click(GALLEY_LOCKER.x, GALLEY_LOCKER.y);
    EXPECT_EQ(game.var("items"), "spanner");
    EXPECT_NE(game.log().find("say: { $current_character }The locker is empty now."), std::string::npos);
    // The line is spoken (a click now would only skip it) until its time is up.
    game.stepSeconds(8.0f);

    game.click(GALLEY_HATCH.x, GALLEY_HATCH.y);
    EXPECT_EQ(game.activeScene(), "jama_spacea.Landing");
    EXPECT_EQ(game.var("hatch_opened"), "1");
    EXPECT_EQ(game.var("planet_trips"), "1");
    EXPECT_EQ(game.var("items"), "spanner,oxygen_mask");

    // A second trip counts, and the mask already held is not handed out again.
    game.passLoadingFade();
    Session::queueCommand("switch_scene ship.Galley");
    game.step();
    game.passLoadingFade();
    game.click(GALLEY_HATCH.x, GALLEY_HATCH.y);
    EXPECT_EQ(game.activeScene(), "jama_spacea.Landing");
    EXPECT_EQ(game.var("planet_trips"), "2");
    EXPECT_EQ(game.var("items"), "spanner,oxygen_mask");
}

// The cockpit door's switch is queued in the frame in which Esc switches into the in-game menu of
// the chapter "ui"; the queued switch still finds the corridor of the ship.
TEST(ScriptedHotspots, AnExitClickAndAKeyInOneFrameEndInTheExitsScene) {
    TempDir dir;
    std::string input = dir / "input.txt";
    std::ofstream(input) << "131 click 1175 557\n131 key 27\n";
    GameHarness::Options options;
    options.width = 1280;
    options.height = 960;
    options.environment = {{"ZEPH_INPUT", input}};
    GameHarness game(options);
    game.step(140);
    game.finishTransition();
    EXPECT_EQ(game.activeScene(), "ship.Corridor");
    EXPECT_EQ(game.var("prev_scene"), "ui.InGameMenu");
}

} // namespace
