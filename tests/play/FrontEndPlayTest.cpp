// The front end as a player meets it, from an empty user folder: the logo, the first profile, the
// main menu, a new casual game into the intro and aboard, back to the main menu after an autosave
// and on again with Resume, and a second profile made and chosen.
#include "GameHarness.h"

#include "engine/session/Session.h"
#include "engine/session/zephUtil.h"
#include "ui/Menu.h"

#include "nimbo/Keys.h"
#include "nimboui/Label.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace {

std::string readUserFile(const std::string& name) {
    std::ifstream in(std::string(zephUtil::getUserDataPath()) + name, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class FrontEndPlay : public ::testing::Test {
protected:
    static GameHarness::Options startAtTheLogo() {
        GameHarness::Options options;
        options.scene = "menu.Logo";
        return options;
    }

    // A click on the middle of an object of the menu shown, and the switch it starts.
    void press(const char* name) {
        nimboui::Object* object = Menu::objectOf(name);
        morvec::Vector2 at = object->getPosition() + object->getSize() * 0.5f;
        game.click(at.x, at.y);
        game.finishTransition();
        game.passLoadingFade();
    }

    // The same for an object of the interface.
    void pressInterface(const char* name) {
        nimboui::Object* object = game.uiObject(name);
        morvec::Vector2 at = GameHarness::centreOf(object);
        game.clickGui(at.x, at.y);
        game.stepSeconds(0.3f);
    }

    std::string caption() const { return Menu::objectOf<nimboui::Label>("profile_btn")->getDisplayedText(); }

    GameHarness game{startAtTheLogo()};
};

TEST_F(FrontEndPlay, FromTheLogoThroughANewProfileIntoACasualGame) {
    ASSERT_EQ(game.activeScene(), "menu.Logo");
    // The two pictures, then the first start's name entry.
    game.stepSeconds(5.2f);
    game.finishTransition();
    ASSERT_EQ(game.activeScene(), "menu.FirstTimeProfile");
    game.type("Anna");
    game.key(nimbo::KEY_ENTER);
    game.finishTransition();
    ASSERT_EQ(game.activeScene(), "menu.MainMenu");
    EXPECT_EQ(caption(), "Profile: Anna");
    EXPECT_EQ(readUserFile("username.txt"), "\xEF\xBB\xBF"
                                            "Anna");

    press("new_game_btn");
    ASSERT_EQ(game.activeScene(), "menu.ModeMenu");
    press("vorne_casual");
    press("modemenu_ok");
    EXPECT_EQ(game.activeScene(), "intro.Intro01");
    EXPECT_EQ(game.var("casual_mode"), "1");
    EXPECT_EQ(game.var("expandable_hints"), "1");
    // Aboard by itself after a while.
    game.stepSeconds(8.5f);
    game.finishTransition();
    game.passLoadingFade();
    EXPECT_EQ(game.activeScene(), "ship.Cockpit");
    EXPECT_EQ(game.var("casual_mode"), "1");

    // An autosave, then back to the main menu through the in-game menu: the game ends there, and
    // Resume brings the autosave back.
    game.setVar("console_on", "1");
    Session::executeCommand("call ui.InGameForceAutoSave");
    game.key(nimbo::KEY_ESCAPE);
    game.finishTransition();
    pressInterface("ingame_quit_menu");
    pressInterface("cdialog_yes_button");
    game.finishTransition();
    game.passLoadingFade();
    ASSERT_EQ(game.activeScene(), "menu.MainMenu");
    EXPECT_EQ(game.var("console_on"), "0");
    EXPECT_EQ(game.var("casual_mode"), "0");
    EXPECT_EQ(Menu::resumeSlot, "slot1");
    press("resume_btn");
    EXPECT_EQ(game.activeScene(), "ship.Cockpit");
    EXPECT_EQ(game.var("console_on"), "1");
    EXPECT_EQ(game.var("casual_mode"), "1");
}

TEST_F(FrontEndPlay, ASecondProfileIsMadeAndChosenInTheProfileManager) {
    game.passLoadingFade();
    game.click(213, 160); // the logo ends at a click
    game.finishTransition();
    game.type("Anna");
    game.key(nimbo::KEY_ENTER);
    game.finishTransition();
    press("profile_btn");
    ASSERT_EQ(game.activeScene(), "menu.ProfileManager");
    press("pm_player_name");
    game.type("Bob");
    press("pm_add");
    EXPECT_EQ(Session::getParam("profile"), "/_profile2");
    press("pm_slot01");
    EXPECT_EQ(Session::getParam("profile"), "");
    press("pm_slot02");
    EXPECT_EQ(Session::getParam("profile"), "/_profile2");
    EXPECT_NE(readUserFile("zeph.cfg").find("profile: /_profile2\n"), std::string::npos);
    game.key(nimbo::KEY_ESCAPE);
    game.finishTransition();
    ASSERT_EQ(game.activeScene(), "menu.MainMenu");
    EXPECT_EQ(caption(), "Profile: Bob");
}

} // namespace
