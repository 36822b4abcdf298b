// Whole-game runs on the bundled data: the first scene behind the loading picture, exits that switch
// scene with a fade, immediate switches into the unloaded planet chapter from a click and from a
// boot command (the scene that asked is unloaded under its own code), the menus and the quit request.
#include "GameHarness.h"

#include "engine/app/Game.h"
#include "engine/session/Session.h"
#include "engine/session/TransitionManager.h"

#include "nimbo/Keys.h"
#include "nimbo/Main.h"
#include "nimbo/Nimbo.h"
#include "nimboui/nimboui.h"

#include <gtest/gtest.h>

namespace {

// Hotspot centres of the bundled scenes, in scene units.
const morvec::Vector2 COCKPIT_DOOR(391, 185);
const morvec::Vector2 COCKPIT_CONSOLE(180, 240);
const morvec::Vector2 GALLEY_HATCH(350, 245);
const morvec::Vector2 LANDING_RAMP(215, 220);
// A point of the corridor's picture, in scene units.
const morvec::Vector2 GALLEY_DOOR_WINDOW(358, 110);

bool isLoaded(const char* chapter) {
    nimboui::Dataset* dataset = nimboui::getDatasetByName(chapter);
    return dataset && dataset->isLoaded();
}

int brightness(const nimbo::Color& c) {
    return c.r + c.g + c.b;
}

class Play : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(game.activeScene(), "ship.Cockpit");
        game.passLoadingFade();
    }

    // Goes to the galley at once, as a script would.
    void enterGalley() {
        Session::queueCommand("switch_scene Galley");
        game.step();
        ASSERT_EQ(game.activeScene(), "ship.Galley");
    }

    GameHarness game;
};

TEST_F(Play, TheFirstSceneWaitsBehindTheLoadingPictureForAboutOneAndAHalfSeconds) {
    EXPECT_GT(nimbo::getFrameCount(), 75);
    EXPECT_LT(nimbo::getFrameCount(), 100);
    // Taken as soon as the picture lets input through.
    game.click(COCKPIT_CONSOLE.x, COCKPIT_CONSOLE.y);
    EXPECT_EQ(game.var("console_on"), "1");
}

TEST_F(Play, ClickingTheCockpitDoorFadesIntoTheCorridor) {
    game.stepSeconds(0.6f); // the loading picture gone for good
    int before = brightness(game.screenshot().getPixel(320, 240));
    game.click(COCKPIT_DOOR.x, COCKPIT_DOOR.y);
    ASSERT_EQ(Session::activeTransition, Session::transitions["fade"]);
    EXPECT_EQ(game.activeScene(), "ship.Cockpit");

    game.stepSeconds(0.48f);
    EXPECT_LT(brightness(game.screenshot().getPixel(320, 240)), before / 8);
    game.stepSeconds(0.05f);
    EXPECT_EQ(game.activeScene(), "ship.Corridor");
    EXPECT_NE(Session::activeTransition, nullptr);

    game.finishTransition();
    EXPECT_EQ(game.activeScene(), "ship.Corridor");
    EXPECT_EQ(game.var("prev_scene"), "ship.Cockpit");
    // Faded in all the way: the galley door's window shows its full light blue.
    morvec::Vector2 window = game.sceneToWindow(GALLEY_DOOR_WINDOW.x, GALLEY_DOOR_WINDOW.y);
    EXPECT_GT(brightness(game.screenshot().getPixel((int)window.x, (int)window.y)), 450);
}

TEST_F(Play, ClickingTheGalleyHatchSwitchesAtOnceIntoTheUnloadedPlanetChapter) {
    enterGalley();
    ASSERT_FALSE(isLoaded("jama_spacea"));
    game.click(GALLEY_HATCH.x, GALLEY_HATCH.y);
    EXPECT_EQ(game.activeScene(), "jama_spacea.Landing");
    EXPECT_EQ(game.var("prev_scene"), "ship.Galley");
    EXPECT_TRUE(isLoaded("jama_spacea"));
    EXPECT_FALSE(isLoaded("ship"));
    EXPECT_GT(loadingScreenFade, 0.9f);

    // Back up the ramp: the ship is loaded again and the planet unloaded.
    game.passLoadingFade();
    game.click(LANDING_RAMP.x, LANDING_RAMP.y);
    game.finishTransition();
    EXPECT_EQ(game.activeScene(), "ship.Galley");
    EXPECT_TRUE(isLoaded("ship"));
    EXPECT_FALSE(isLoaded("jama_spacea"));
}

TEST_F(Play, TheGalleysBootCommandSendsThePlayerOnWhileTheGalleyIsBeingEntered) {
    game.setVar("airlock_auto", "1");
    Session::queueCommand("switch_scene Galley");
    game.step();
    EXPECT_EQ(game.activeScene(), "jama_spacea.Landing");
    EXPECT_EQ(game.var("prev_scene"), "ship.Galley");
    EXPECT_EQ(game.var("airlock_auto"), "0");
    // The galley's activation ended with the switch: its later boot command never ran.
    EXPECT_EQ(game.var("galley_visited"), "0");
    EXPECT_FALSE(isLoaded("ship"));
    game.step(30);
    EXPECT_EQ(game.activeScene(), "jama_spacea.Landing");
}

TEST_F(Play, EscapeOpensTheInGameMenuAndEscapeAgainFadesBackToTheScene) {
    game.key(nimbo::KEY_ESCAPE);
    EXPECT_EQ(game.activeScene(), "ui.InGameMenu");
    EXPECT_EQ(game.var("ingame_menu_prev_scene"), "ship.Cockpit");
    game.key(nimbo::KEY_ESCAPE);
    game.finishTransition();
    EXPECT_EQ(game.activeScene(), "ship.Cockpit");
}

TEST_F(Play, AWindowCloseRequestAsksAndEscapeAnswersNo) {
    game.requestQuit();
    EXPECT_EQ(game.var("cdialog"), "INGAME_QUIT_GAME_DIALOG,ui.ingame_quit,none");
    game.step(5);
    EXPECT_FALSE(nimbo::window->isTerminated());
    game.key(nimbo::KEY_ESCAPE);
    EXPECT_EQ(game.var("cdialog"), "");
    EXPECT_EQ(game.activeScene(), "ship.Cockpit");
}

} // namespace
