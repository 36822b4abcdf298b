// Whole-game runs of the verb coin and the settings menu: every thing at the landing site clicked
// outside and in casual play (a lone verb acts, the others show on the coin), a verb chosen and a
// coin dismissed, a plain hotspot in casual play, and the settings menu opened from the story.
#include "GameHarness.h"

#include "engine/scene/ActionMap.h"
#include "engine/scene/Scene.h"
#include "engine/session/Session.h"
#include "engine/session/zephUtil.h"
#include "script/Inventory.h"
#include "script/Speech.h"
#include "ui/Hud.h"
#include "ui/VerbCoin.h"

#include "nimboui/Image.h"
#include "nimboui/Object.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

// Hotspot centres, in scene units.
const morvec::Vector2 COCKPIT_WINDOW(210, 85);
const morvec::Vector2 ROBOT(23, 156);

class VerbCoinPlay : public ::testing::Test {
protected:
    void SetUp() override {
        game.passLoadingFade();
        Session::queueCommand("switch_scene jama_spacea.Landing");
        game.step();
        game.passLoadingFade();
        ASSERT_EQ(game.activeScene(), "jama_spacea.Landing");
    }

    // The verbs whose buttons the open coin shows, or "" when it is closed.
    std::string shownVerbs() {
        if (!game.isShown("choice_buttons")) {
            return "";
        }
        std::string verbs;
        for (const char* verb : VerbCoin::VERBS) {
            if (game.uiObject(vessot::String("choice_") + verb)->getWidth() > 0) {
                verbs += (verbs.empty() ? "" : ",") + std::string(verb);
            }
        }
        return verbs;
    }

    // What the game logged since the given length.
    std::string logSince(size_t length) { return game.log().substr(length); }

    // A spoken line takes the next click as a skip: let it run out first.
    void waitUntilSilent() {
        for (int frame = 0; frame < 1200 && !Speech::speechMap.empty(); ++frame) {
            game.step();
        }
    }

    void clickUi(const char* name) {
        nimboui::Object* object = Hud::uiObject(name);
        morvec::Vector2 centre = GameHarness::centreOf(object);
        game.clickGui(centre.x, centre.y);
    }

    GameHarness game;
};

TEST_F(VerbCoinPlay, EveryThingAtTheLandingSiteOffersItsVerbs) {
    struct Case {
        const char* what;
        float x, y;
        bool casual;
        // Variables set first ("name=value;..."), and an item in hand.
        const char* before;
        const char* held;
        // The verbs the coin shows, or what the click did: a line said or a variable set.
        const char* coin;
        const char* effect;
    };
    const Case cases[] = {
        {"robot", 23, 156, false, "", "", "look,use,talk", ""},
        {"crate", 63, 157, false, "", "", "look,use,combine", ""},
        {"scanner", 103, 157, false, "", "", "look,use", ""},
        {"plant", 97, 279, false, "", "", "look,talk", ""},
        {"rock", 137, 281, false, "", "", "", "say: { $current_character }A rock. Rather a dull one."},
        {"marker", 177, 279, false, "", "", "", "say: { $current_character }Someone carved an arrow into this stone."},
        {"radio", 287, 279, false, "", "", "use,talk", ""},
        {"critter", 327, 281, false, "", "", "", "say: { $current_character }The critter chirps and tilts its head."},
        {"socket", 367, 279, false, "", "", "", "$antenna_dish: '1'"},
        {"lever", 167, 33, false, "", "", "", "$antenna_power: '1'"},
        {"slot", 207, 33, false, "", "", "combine", ""},
        {"antenna off", 247, 33, false, "antenna_power=0;antenna_dish=0", "", "look,use", ""},
        {"antenna powered", 247, 33, false, "antenna_power=1", "", "look,use", ""},
        {"signpost", 287, 33, false, "", "", "look,use", ""},
        {"tank", 405, 226, false, "", "", "look,use", ""},
        {"tank with the mask", 405, 226, false, "", "oxygen_mask", "", "$tank_filled: '1'"},
        {"cache", 405, 137, false, "", "", "look,use", ""},
        {"cache with the spanner", 405, 137, false, "", "spanner", "", "say: { $current_character }The spanner fits"},
        {"robot, casual", 23, 156, true, "", "", "", "say: { $current_character }Hello? It only blinks back at me."},
        {"scanner, casual", 103, 157, true, "", "", "look,use", ""},
        {"plant, casual", 97, 279, true, "", "", "",
         "say: { $current_character }Some say plants like being talked to."},
        {"rock, casual", 137, 281, true, "", "", "look", ""},
        {"radio, casual", 287, 279, true, "", "", "use,talk", ""},
        {"socket, casual", 367, 279, true, "antenna_dish=0", "", "use,combine", ""},
        {"lever, casual", 167, 33, true, "antenna_power=0", "", "", "$antenna_power: '1'"},
        {"antenna with its dish, casual", 247, 33, true, "antenna_power=0;antenna_dish=1", "", "",
         "say: { $current_character }The dish hums quietly."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        game.setVar("casual_mode", c.casual ? "1" : "0");
        std::istringstream before(c.before);
        for (std::string pair; std::getline(before, pair, ';');) {
            size_t at = pair.find('=');
            game.setVar(pair.substr(0, at), pair.substr(at + 1));
        }
        Inventory::selectedItem = c.held;
        size_t length = game.log().size();
        game.click(c.x, c.y);
        game.stepSeconds(0.2f);
        EXPECT_EQ(shownVerbs(), c.coin);
        if (*c.effect) {
            EXPECT_NE(logSince(length).find(c.effect), std::string::npos) << logSince(length);
        }
        if (*c.coin) {
            game.release(c.x, c.y, 2);
            game.stepSeconds(0.3f);
        }
        ASSERT_FALSE(VerbCoin::isOpen());
        waitUntilSilent();
    }
}

TEST_F(VerbCoinPlay, ALookChosenOnTheCoinRunsAndADismissedCoinRunsCancel) {
    // The HUD buttons make way for the coin, the inventory button too, and come back after it.
    const char* const buttons[] = {"inv_button", "hint_button", "ingame_menu_button"};
    std::vector<morvec::Vector2> rest;
    for (const char* button : buttons) {
        rest.push_back(game.uiObject(button)->getPosition());
    }
    game.click(ROBOT.x, ROBOT.y);
    game.stepSeconds(1.0f);
    ASSERT_EQ(shownVerbs(), "look,use,talk");
    EXPECT_EQ(game.var("choice_menu_active"), "1");
    for (size_t i = 0; i < std::size(buttons); ++i) {
        EXPECT_NE(game.uiObject(buttons[i])->getPosition(), rest[i]) << buttons[i];
    }
    size_t length = game.log().size();
    clickUi("choice_look");
    EXPECT_NE(logSince(length).find("say: { $current_character }A service robot, half buried in the dust."),
              std::string::npos);
    EXPECT_EQ(game.var("choice_menu_active"), "0");
    waitUntilSilent();
    EXPECT_FALSE(VerbCoin::isOpen());
    EXPECT_EQ(game.var("robot_dismissed"), "0");
    for (size_t i = 0; i < std::size(buttons); ++i) {
        EXPECT_EQ(game.uiObject(buttons[i])->getPosition(), rest[i]) << buttons[i];
    }

    game.click(ROBOT.x, ROBOT.y);
    game.stepSeconds(0.2f);
    game.release(ROBOT.x, ROBOT.y, 2);
    EXPECT_EQ(game.var("robot_dismissed"), "1");
    EXPECT_EQ(game.var("robot_used"), "0");
    game.stepSeconds(0.3f);
    // Clicked again, the robot offers its coin again.
    game.click(ROBOT.x, ROBOT.y);
    game.stepSeconds(0.2f);
    clickUi("choice_use");
    EXPECT_EQ(game.var("robot_used"), "1");
    EXPECT_EQ(game.var("robot_dismissed"), "1");
}

TEST(VerbCoinCasualPlay, APlainHotspotActsAtOnceInCasualPlayAndOffersLookAndUseOtherwise) {
    GameHarness game;
    game.passLoadingFade();
    game.click(COCKPIT_WINDOW.x, COCKPIT_WINDOW.y);
    game.stepSeconds(0.2f);
    EXPECT_TRUE(VerbCoin::isOpen());
    EXPECT_EQ(game.log().find("say: { $current_character }The stars drift slowly past the window."), std::string::npos);
    game.release(COCKPIT_WINDOW.x, COCKPIT_WINDOW.y, 2);
    game.stepSeconds(0.3f);

    game.setVar("casual_mode", "1");
    game.click(COCKPIT_WINDOW.x, COCKPIT_WINDOW.y);
    EXPECT_FALSE(VerbCoin::isOpen());
    EXPECT_NE(game.log().find("say: { $current_character }The stars drift slowly past the window."), std::string::npos);
}

TEST(VerbCoinKitchenPlay, TheKitchensThingsAreTakenAtAClickUnderTheUseCursor) {
    GameHarness game;
    game.passLoadingFade();
    Session::queueCommand("switch_scene ship.Kitchen");
    game.step();
    game.passLoadingFade();
    ASSERT_EQ(game.activeScene(), "ship.Kitchen");
    const struct {
        const char* what;
        uint32_t colour;
        std::vector<const char*> items;
    } cases[] = {
        {"bucket", 0x339966, {"empty_bucket"}},
        {"peeler", 0xCC9933, {"peeler"}},
        {"wire", 0x3333FF, {"wire"}},
        {"liquid soap", 0x9999FF, {"liquid_soap"}},
        {"cupboard", 0x333300, {"disc", "hanky"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        morvec::Vector2 at = Session::activeScene->actionMap->getAreaPosition(c.colour);
        game.move(at.x, at.y);
        game.step();
        EXPECT_EQ(Hud::getCursorImage()->getName(), "gui/cursor_use");
        game.click(at.x, at.y);
        game.stepSeconds(0.2f);
        EXPECT_FALSE(VerbCoin::isOpen());
        for (const char* item : c.items) {
            EXPECT_GE(Inventory::items.indexOf(item), 0) << item;
        }
        if (VerbCoin::isOpen()) {
            game.release(at.x, at.y, 2);
        }
        game.stepSeconds(1.0f);
        for (int frame = 0; frame < 1200 && !Speech::speechMap.empty(); ++frame) {
            game.step();
        }
    }
}

TEST(SettingsPlay, TheSettingsMenuOpenedFromTheStoryKeepsARaisedVolume) {
    GameHarness::Options options;
    options.userConfig = "master_volume: 80\n";
    GameHarness game(options);
    game.passLoadingFade();
    Session::queueCommand("switch_scene ui.SettingsMenu 0.5 fade");
    game.step();
    game.finishTransition();
    ASSERT_EQ(game.activeScene(), "ui.SettingsMenu");
    nimboui::Object* plus = Hud::uiObject("settings_master_+");
    game.click(plus->getX() + 10, plus->getY() + 10);
    nimboui::Object* close = Hud::uiObject("settings_close");
    game.click(close->getX() + 17, close->getY() + 17);
    game.finishTransition();
    EXPECT_EQ(game.activeScene(), "ship.Cockpit");
    std::ifstream file(zephUtil::getUserDataPath() + "zeph.cfg");
    std::stringstream text;
    text << file.rdbuf();
    EXPECT_NE(text.str().find("master_volume: 85\n"), std::string::npos) << text.str();
}

} // namespace
