// Saving and loading through the menus of the real game, and the autosave after ten minutes of play.
#include "GameHarness.h"

#include "engine/scene/Chapter.h"
#include "engine/session/Session.h"
#include "engine/session/Vars.h"
#include "engine/session/zephUtil.h"
#include "script/Character2D.h"
#include "script/Inventory.h"
#include "ui/SaveLoadMenu.h"

#include "nimbo/Keys.h"
#include "nimboui/Object.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

const morvec::Vector2 COCKPIT_DOOR(391, 185);
const morvec::Vector2 COCKPIT_CONSOLE(180, 240);

class SavePlay : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(game.activeScene(), "ship.Cockpit");
        game.passLoadingFade();
    }

    // A click on the middle of an object of the menu shown.
    void press(const char* name) {
        nimboui::Object* object = uiChapter->getObject(name);
        morvec::Vector2 at = GameHarness::centreOf(object);
        game.click(at.x, at.y);
        game.finishTransition();
        game.passLoadingFade();
    }

    static Character2D* vorne() { return dynamic_cast<Character2D*>(charactersChapter->getObject("vorne")); }

    static bool slotExists(const char* slot) {
        return std::filesystem::exists(std::string(zephUtil::getUserDataPath() + Session::getParam("profile")) + "/" +
                                       slot + "/info.txt");
    }

    GameHarness game;
};

TEST_F(SavePlay, ASaveMadeThroughTheMenusLoadsBackTheSceneItemsVariablesAndPosition) {
    game.click(COCKPIT_CONSOLE.x, COCKPIT_CONSOLE.y);
    Session::executeCommand("add_item keycard");
    vorne()->setPositionFromString("150,290,E");
    game.key(nimbo::KEY_ESCAPE);
    press("ingame_save");
    ASSERT_EQ(game.activeScene(), "ui.SaveLoadMenu");
    press("sl_slot_btn_2");
    EXPECT_EQ(game.activeScene(), "ship.Cockpit");
    EXPECT_TRUE(slotExists("slot2"));

    game.click(COCKPIT_CONSOLE.x, COCKPIT_CONSOLE.y);
    Session::executeCommand("remove_item keycard;add_item fuse");
    vorne()->setPositionFromString("250,300,W");
    game.click(COCKPIT_DOOR.x, COCKPIT_DOOR.y);
    game.finishTransition();
    ASSERT_EQ(game.activeScene(), "ship.Corridor");

    game.key(nimbo::KEY_ESCAPE);
    press("ingame_load");
    press("sl_slot_btn_2");
    press("sl_slot_choice_yes_2");
    EXPECT_EQ(game.activeScene(), "ship.Cockpit");
    EXPECT_EQ(game.var("console_on"), "1");
    EXPECT_TRUE(Inventory::hasItem("keycard"));
    EXPECT_FALSE(Inventory::hasItem("fuse"));
    EXPECT_EQ(vorne()->getX(), 150.0f);
    EXPECT_EQ(vorne()->getY(), 290.0f);
    EXPECT_EQ(vorne()->getOrientation(), "E");
}

TEST_F(SavePlay, ACloseUpLoadedAndResumedFromTheMenuIsPutAwayIntoTheSceneOfTheCharacter) {
    for (const char* closeUp : {"ship.Schematics", "jama_spacea.Diary"}) {
        Session::executeCommand(String("switch_scene ") + closeUp);
        game.finishTransition();
        SaveLoadMenu::saveGame("slot3", false, true);
        SaveLoadMenu::loadGame("slot3");
        game.passLoadingFade();
        game.key(nimbo::KEY_ESCAPE);
        press("ingame_resume");
        game.click(213, 290);
        game.finishTransition();
        EXPECT_EQ(game.activeScene(), "ship.Cockpit");
    }
}

TEST_F(SavePlay, TenMinutesOfPlayAutosaveAndShowTheNotice) {
    game.setVar("gameplay_time", "598");
    game.stepSeconds(3.0f);
    EXPECT_TRUE(slotExists("autosave/slot1"));
    EXPECT_EQ(game.var("last_autosave_time"), "600");
    EXPECT_TRUE(game.isShown("autosaved_label"));
}

} // namespace
