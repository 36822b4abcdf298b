// Whole-game runs of the content's code at a step of 0.05 s, clicking where the scenes put their
// areas and objects: the router given up on through its skip button, Luna on Schminkell-7 walking
// across the storage room past Danny on its slab and opening the saucer bay's tunnel with its slab,
// and the cockpit's guided hint tutorial in casual mode.
#include "GameHarness.h"

#include "chapters/Chapters.h"
#include "chapters/ship/ShipChapter.h"
#include "engine/scene/ActionMap.h"
#include "engine/scene/Chapter.h"
#include "engine/scene/Scene.h"
#include "engine/session/Session.h"
#include "script/Character2D.h"
#include "script/Characters.h"
#include "script/Speech.h"
#include "ui/Hud.h"

#include "nimboui/Object.h"

#include <gtest/gtest.h>

namespace {

GameHarness::Options fixedStep() {
    GameHarness::Options options;
    options.environment.push_back({"ZEPH_FIXED_STEP", "0.05"});
    return options;
}

class PuzzlePlay : public ::testing::Test {
protected:
    void SetUp() override { game.passLoadingFade(); }

    void goTo(const char* scene) {
        Session::queueCommand(String("switch_scene ") + scene);
        game.step();
        game.passLoadingFade();
        ASSERT_EQ(game.activeScene(), scene);
    }

    // Clicks the area of that colour and lets what it starts run out.
    void use(const char* colour) {
        morvec::Vector2 at =
            Session::activeScene->actionMap->getAreaPosition((uint32_t)std::stoul(colour, nullptr, 16));
        ASSERT_NE(at, morvec::Vector2(0, 0)) << colour;
        game.click(at.x, at.y);
        game.finishTransition();
        waitForCharacters();
    }

    // Until nobody speaks and the current character has nothing left to do (at most 30 s).
    void waitForCharacters() {
        for (int i = 0; i < 600; ++i) {
            Character2D* current = Characters::getCurrentCharacter();
            if (!Speech::isSpeaking() && (!current || current->getJobQueueSize() == 0)) {
                return;
            }
            game.step();
        }
        FAIL() << "still busy";
    }

    // Whether the scene shows its object now (its boot commands attached it).
    static bool inScene(const char* object) {
        return Session::activeScene->chapter->getObject(object)->getParent() == Session::activeScene->root;
    }

    static morvec::Vector2 positionOf(const char* name) {
        return dynamic_cast<Character2D*>(charactersChapter->getObject(name))->nimboui::Object::getPosition();
    }

    GameHarness game{fixedStep()};
};

TEST_F(PuzzlePlay, LunaWalksAcrossTheStorageRoomWhileDannyStandsOnItsSlab) {
    game.setVar("current_character", "luna");
    for (const char* pair : {"danny_scene=schminkell7.Storage", "slab_on=1", "danny_is_on_storage_slab=1"}) {
        String name, value;
        String(pair).split("=", name, value);
        game.setVar(name, value);
    }
    goTo("schminkell7.Storage");
    EXPECT_LT((positionOf("danny") - morvec::Vector2(213, 280)).length(), 0.5f);
    // Across the floor past the slab; the scene resets on every step of the walk.
    game.click(360, 300);
    waitForCharacters();
    EXPECT_LT((positionOf("luna") - morvec::Vector2(360, 300)).length(), 0.5f);
    EXPECT_LT((positionOf("danny") - morvec::Vector2(213, 280)).length(), 0.5f);
    EXPECT_EQ(game.var("prev_scene"), "schminkell7.Storage");
    EXPECT_EQ(game.var("slab_on"), "1");
    EXPECT_EQ(game.var("danny_is_on_storage_slab"), "1");
    EXPECT_EQ(game.var("moon_off"), "0");
}

TEST_F(PuzzlePlay, LunaStepsOnAndOffTheSaucerSlabAndTheTunnelOpens) {
    game.setVar("current_character", "luna");
    goTo("schminkell7.Saucer");
    use("666633");
    EXPECT_EQ(game.var("tunnel_opened"), "0"); // the rubble is in the way
    use("6666FF");
    EXPECT_LT((positionOf("luna") - morvec::Vector2(200, 280)).length(), 0.5f);
    EXPECT_EQ(game.var("saucer_slab_max_down"), "1");
    EXPECT_TRUE(inScene("saucer_mountain"));
    game.click(100, 300);
    waitForCharacters();
    EXPECT_LT((positionOf("luna") - morvec::Vector2(100, 300)).length(), 0.5f);
    EXPECT_EQ(game.var("luna_on_saucer_slab"), "0");
    EXPECT_EQ(game.var("saucer_slab_max_down"), "0");
    EXPECT_EQ(game.var("mountain_off"), "1");
    EXPECT_FALSE(inScene("saucer_mountain"));
    use("666633");
    EXPECT_EQ(game.var("tunnel_opened"), "1");
}

TEST_F(PuzzlePlay, TheRouterIsGivenUpOnThroughItsSkipButtonOnceItIsFull) {
    game.setVar("casual_mode", "1");
    goTo("ship.EngineRoom");
    use("FF0033");
    ASSERT_EQ(game.activeScene(), "ship.Router");
    EXPECT_FALSE(game.isShown("hint_button"));
    EXPECT_FALSE(game.isShown("inv_button"));
    // The skip button in the room's top right corner.
    auto clickSkipAt = [&](float seconds) {
        game.stepSeconds(seconds - Ship::routerSkipTimer);
        game.click(402, 24);
        game.finishTransition();
    };
    size_t before = game.log().size();
    clickSkipAt(60.0f);
    EXPECT_NE(game.log().find("can't skip, waiting for timeout", before), std::string::npos);
    EXPECT_EQ(game.var("red"), "0");
    EXPECT_EQ(game.var("combination_correct"), "0");
    clickSkipAt(91.0f);
    EXPECT_EQ(game.var("red") + game.var("green") + game.var("blue") + game.var("yellow"), "2123");
    EXPECT_EQ(game.var("combination_correct"), "1");
    game.step();
    EXPECT_EQ(Session::activeScene->getProperty("hide_ui"), "3");
    EXPECT_TRUE(game.isShown("smart_hint_button"));
    EXPECT_EQ(Chapters::getSmartHint(), "FF0099|cursor_use");
    use("FF0099");
    EXPECT_EQ(game.var("router_solved"), "1");
}

TEST_F(PuzzlePlay, InCasualPlayTheCockpitPointsAtTheHintButtonUntilItIsPressed) {
    game.setVar("casual_mode", "1");
    goTo("ship.Kitchen");
    use("FFFF00");
    ASSERT_EQ(game.activeScene(), "ship.Cockpit");
    EXPECT_EQ(game.var("tutorial_state"), "41");
    EXPECT_EQ(game.var("_hint_timer"), "1.0");
    game.step();
    EXPECT_EQ(Hud::parseTutorialArrows(game.var("tutorial_arrow")).size(), 1u);
    game.key(13); // Enter: the hint button
    game.finishTransition();
    EXPECT_EQ(game.var("did_guided_hint_tutorial"), "1");
    EXPECT_EQ(game.var("tutorial_state"), "42");
    game.step();
    EXPECT_EQ(game.var("tutorial_arrow"), "");
    // Entered again, the tutorial does not begin a second time.
    goTo("ship.Kitchen");
    goTo("ship.Cockpit");
    EXPECT_EQ(game.var("tutorial_state"), "42");
}

} // namespace
