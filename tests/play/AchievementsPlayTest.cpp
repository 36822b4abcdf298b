// Whole-game runs of the confirmation dialog and the achievements: the ship's log unlocks the first
// achievement, whose popup opens its detail; the achievements menu lists it and Esc leaves it; the
// quit question is answered no by a right click, and yes by its button.
#include "GameHarness.h"
#include "ui/UiTest.h"

#include "engine/scene/Chapter.h"
#include "engine/session/Session.h"
#include "engine/session/zephUtil.h"
#include "ui/Hud.h"

#include "nimbo/Keys.h"
#include "nimbo/Nimbo.h"
#include "nimboui/ImageBox.h"
#include "nimboui/Label.h"

#include <gtest/gtest.h>

#include <fstream>
#include <tuple>

namespace {

// The ship's log in the cockpit, in scene units.
const morvec::Vector2 COCKPIT_LOGBOOK(30, 62);

class AchievementsPlay : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(game.activeScene(), "ship.Cockpit");
        game.passLoadingFade();
    }

    void clickUi(const char* name) {
        morvec::Vector2 at = centreOf(name);
        game.clickGui(at.x, at.y);
    }

    GameHarness game;
};

TEST_F(AchievementsPlay, TheShipsLogUnlocksTheFirstAchievementWhichTheMenuThenLists) {
    game.click(COCKPIT_LOGBOOK.x, COCKPIT_LOGBOOK.y);
    game.stepSeconds(0.5f);
    ASSERT_TRUE(game.isShown("achievement_1"));
    EXPECT_EQ(game.uiObject("achievement_1")->getY(), 285.0f);

    clickUi("ac_button_1");
    EXPECT_EQ(game.var("cdialog"), "achievement,adventure_begins,1");
    game.stepSeconds(0.3f);
    EXPECT_TRUE(game.isShown("cdialog"));
    EXPECT_EQ(ui<nimboui::ImageBox>("cdialog_ach_img")->getImageName(), "achievements/adventure_begins");
    clickUi("cdialog_ach_ok_button");
    EXPECT_EQ(game.var("cdialog"), "");
    // Read again, the log unlocks nothing new.
    game.stepSeconds(0.6f);
    game.click(COCKPIT_LOGBOOK.x, COCKPIT_LOGBOOK.y);
    EXPECT_FALSE(game.isShown("achievement_1"));
    EXPECT_FALSE(game.isShown("cdialog"));

    // Opened from the story, as the in-game menu opens it.
    game.setVar("achievements_menu_prev_scene", "ship.Cockpit");
    Session::queueCommand("switch_scene ui.AchievementsMenu 0.5 fade");
    game.step();
    game.finishTransition();
    ASSERT_EQ(game.activeScene(), "ui.AchievementsMenu");
    EXPECT_EQ(ui<nimboui::Label>("acm_info")->getDisplayedText(), "Achievements unlocked: 1 / 32");
    for (int entry = 1; entry <= 16; ++entry) {
        EXPECT_EQ(game.uiObject("acm_button_" + vessot::String(entry))->isVisible(), entry == 1) << entry;
    }
    game.key(nimbo::KEY_ESCAPE);
    game.finishTransition();
    EXPECT_EQ(game.activeScene(), "ship.Cockpit");
}

TEST_F(AchievementsPlay, ARightClickAnswersTheQuitQuestionNoAndItsYesButtonEndsTheGame) {
    game.requestQuit();
    game.stepSeconds(0.3f);
    ASSERT_TRUE(game.isShown("cdialog"));
    EXPECT_TRUE(game.isShown("cdialog_text"));
    game.release(200, 100, 2);
    EXPECT_EQ(game.var("cdialog"), "");
    game.stepSeconds(0.6f);
    EXPECT_FALSE(game.isShown("cdialog"));
    EXPECT_FALSE(nimbo::window->isTerminated());
    EXPECT_EQ(game.activeScene(), "ship.Cockpit");

    // Asked again and answered yes, the game ends.
    game.requestQuit();
    game.stepSeconds(0.3f);
    clickUi("cdialog_yes_button");
    EXPECT_TRUE(nimbo::window->isTerminated());
}

TEST_F(AchievementsPlay, AQuitThatCannotAutosaveShowsWhyAndAsksWhetherToEndUnsaved) {
    // A file stands where the autosaves go. Every way to quit shows why and asks: Esc answers no, back
    // to the game with its buttons; yes quits unsaved the way asked.
    std::ofstream(zephUtil::getUserDataPath() + Session::getParam("profile") + "/autosave") << "a file";
    // The key that opens the quit button's menu (0: the window's close request), the button, the answer.
    const std::tuple<int, const char*, bool> ways[] = {
        {0, "", false},
        {nimbo::KEY_ESCAPE, "ingame_quit_game", false},
        {nimbo::KEY_ESCAPE, "ingame_quit_menu", false},
        {nimbo::KEY_PAUSE, "resume_quit_game", false},
        {nimbo::KEY_PAUSE, "resume_quit_menu", false},
        {nimbo::KEY_PAUSE, "resume_quit_menu", true},
        {0, "", true},
    };
    for (const auto& [key, button, yes] : ways) {
        SCOPED_TRACE(std::string(button) + (yes ? " yes" : " no"));
        key ? game.key(key) : game.requestQuit();
        game.finishTransition();
        if (key) {
            clickUi(button);
        }
        game.stepSeconds(0.3f);
        clickUi("cdialog_yes_button");
        game.stepSeconds(0.3f);
        ASSERT_FALSE(nimbo::window->isTerminated());
        vessot::String shown = ui<nimboui::Label>("cdialog_text")->getDisplayedText();
        EXPECT_TRUE(shown.startsWith("The game could not be saved.\n\n") && shown.endsWith("\n\nQuit without saving?"))
            << shown;
        yes ? clickUi("cdialog_yes_button") : game.key(nimbo::KEY_ESCAPE);
        game.stepSeconds(0.6f);
        game.finishTransition();
        EXPECT_EQ(nimbo::window->isTerminated(), yes && !key);
        EXPECT_EQ(game.activeScene(), yes && key ? "menu.MainMenu" : "ship.Cockpit");
        EXPECT_EQ(game.isShown("hint_button") && game.uiObject("hint_button")->getY() < 313.0f, !yes);
        if (yes && key) { // back to play
            Session::executeCommand("switch_scene ship.Cockpit");
            game.finishTransition();
            game.passLoadingFade();
        }
    }
}

} // namespace
