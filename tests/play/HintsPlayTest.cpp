// Whole-game runs of the hints in the casual mode with the hint charged: the hint button leads exit
// by exit from the cockpit to the cargo hold, where the step itself empties the charge; the guided
// tutorial's last press lands in the cockpit with its marker; a step of Vorne's hands play to him in
// his scene, and one of Danny's beside Luna marks her; and the diary button opens the hint book,
// where a click unlocks a line.
#include "GameHarness.h"

#include "engine/scene/Chapter.h"
#include "engine/session/Session.h"
#include "script/Characters.h"
#include "ui/Hints.h"

#include "nimboui/Image.h"
#include "nimboui/Label.h"
#include "nimboui/Object.h"

#include <gtest/gtest.h>

namespace {

class HintsPlay : public ::testing::Test {
protected:
    void SetUp() override {
        game.passLoadingFade();
        game.setVar("casual_mode", "1");
        charge();
    }

    void charge() { game.setVar("_hint_timer", "1.0"); }

    // The centre of an object in the units of its root (the interface's, or a menu scene's).
    morvec::Vector2 centreOf(const char* name) const { return GameHarness::centreOf(uiChapter->getObject(name)); }

    void pressHint() {
        morvec::Vector2 at = centreOf("hint_button");
        game.clickGui(at.x, at.y);
    }

    // Where the marker stands and what it shows.
    static std::string marker() {
        const Hints::Marker& m = Hints::marker;
        if (m.time <= 0.0f || !m.image) {
            return "none";
        }
        return std::string(m.image->getName()) + " at " + std::to_string((int)m.position.x) + "," +
               std::to_string((int)m.position.y);
    }

    // Follows the marker through its exit.
    void takeTheExit() {
        game.click(Hints::marker.position.x, Hints::marker.position.y);
        game.step(2);
        game.finishTransition();
    }

    GameHarness game;
};

TEST_F(HintsPlay, TheHintLeadsExitByExitToTheCargoHoldWhereItsStepEmptiesTheCharge) {
    pressHint();
    EXPECT_EQ(marker(), "gui/arrow_l at 19,188"); // the cockpit's hatch to the kitchen
    EXPECT_EQ(game.var("_hint_timer"), "1.0");    // a route step keeps the charge
    takeTheExit();
    ASSERT_EQ(game.activeScene(), "ship.Kitchen");
    pressHint();
    EXPECT_EQ(marker(), "gui/arrow_r at 396,169");
    EXPECT_EQ(game.var("_hint_timer"), "1.0");
    takeTheExit();
    ASSERT_EQ(game.activeScene(), "ship.CargoHold");
    pressHint();
    EXPECT_EQ(marker(), "gui/cursor2 at 104,219"); // the crate of locators, with the hand
    EXPECT_LT(game.var("_hint_timer").toFloat(), 0.01f);
    // Uncharged, the button does nothing.
    Hints::marker = {};
    pressHint();
    EXPECT_EQ(marker(), "none");
}

TEST_F(HintsPlay, TheTutorialsLastHintLandsInTheCockpitWithItsMarkerStillShownASecondLater) {
    Session::queueCommand("switch_scene Kitchen");
    game.step(2);
    ASSERT_EQ(game.activeScene(), "ship.Kitchen");
    game.setVar("tutorial_state", "41");
    pressHint();
    EXPECT_EQ(game.activeScene(), "ship.Cockpit");
    EXPECT_EQ(game.var("tutorial_state"), "42");
    EXPECT_EQ(game.var("did_guided_hint_tutorial"), "1");
    game.stepSeconds(1.0f);
    // The ship's computer, with the hand: its click ends the tutorial besides the look.
    EXPECT_EQ(marker(), "gui/cursor2 at 265,223");
}

TEST_F(HintsPlay, AStepOfVornesMakesHimCurrentInHisSceneWithTheMarkerOnHisExit) {
    game.setVar("aliens_out_state", "4");
    game.setVar("vorne_knows_luna", "1");
    game.setVar("kralek_in_engine_room", "1");
    Characters::switchCharacter("luna");
    game.step();
    game.setVar("vorne_scene", "ship.Kitchen");
    pressHint();
    EXPECT_EQ(game.var("current_character"), "vorne");
    EXPECT_EQ(game.activeScene(), "ship.Kitchen");
    game.stepSeconds(1.0f);
    EXPECT_EQ(marker(), "gui/arrow_r at 396,169"); // toward the engine room through the cargo hold
}

TEST_F(HintsPlay, AStepOfDannysBesideLunaMakesHimCurrentWithTheMarkerOnHer) {
    // Varion's warehouse, Luna current beside Danny, who is to hand her the pepper spray.
    for (const char* done : {"taken_pepper", "danny_can_goto_elevator", "knows_about_migrenes", "taken_sprayer",
                             "got_authorization_papers", "seen_scheme", "taken_tape", "taken_logo", "papers_signed",
                             "rowboat_has_tape", "rowboat_has_logo", "authorized_for_warehouse"}) {
        game.setVar(done, "1");
    }
    game.setVar("switchable_characters", "vorne,luna,danny");
    game.setVar("danny_items", "pepper_spray");
    game.setVar("danny_scene", "varion.Warehouse");
    game.setVar("luna_scene", "varion.Warehouse");
    Characters::switchCharacter("luna");
    game.finishTransition();
    game.passLoadingFade();
    pressHint();
    EXPECT_EQ(game.var("current_character"), "danny");
    EXPECT_EQ(marker(), "items/pepper_spray at 213,269"); // on Luna
}

TEST_F(HintsPlay, TheDiaryButtonOpensTheBookWhereAClickUnlocksALine) {
    game.setVar("expanded_hint", "hint_ship_1_locators");
    morvec::Vector2 diary = centreOf("diary_button");
    game.clickGui(diary.x, diary.y);
    game.finishTransition();
    ASSERT_EQ(game.activeScene(), "ui.Hintbook");
    morvec::Vector2 lines = centreOf("hint1");
    game.click(lines.x, lines.y);
    EXPECT_EQ(game.var("hint_ship_1_locators"), "2");
    EXPECT_TRUE(static_cast<nimboui::Label*>(uiChapter->getObject("hint1"))->getText().contains("  *  "));
    morvec::Vector2 close = centreOf("hintbook_close");
    game.click(close.x, close.y);
    game.finishTransition();
    EXPECT_EQ(game.activeScene(), "ship.Cockpit");
}

} // namespace
