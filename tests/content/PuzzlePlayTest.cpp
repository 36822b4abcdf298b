// Whole-game runs of the content's code at a step of 0.05 s: the router given up on through its skip
// button, Luna on Schminkell-7 walking across the storage room past Danny on its slab and opening the
// saucer bay's tunnel with its slab, and the cockpit's guided hint tutorial in casual play.
#include "StoryPlay.h"

#include "chapters/Chapters.h"
#include "chapters/ship/ShipChapter.h"
#include "ui/Hud.h"

namespace {

GameHarness::Options fixedStep() {
    GameHarness::Options options;
    options.environment.push_back({"ZEPH_FIXED_STEP", "0.05"});
    return options;
}

class PuzzlePlay : public StoryPlay {
protected:
    PuzzlePlay() : StoryPlay(fixedStep()) {}

    // Whether the scene shows its object now (its boot commands attached it).
    static bool inScene(const char* object) {
        return Session::activeScene->chapter->getObject(object)->getParent() == Session::activeScene->root;
    }

    static float distance(const char* character, float x, float y) {
        auto* c = dynamic_cast<Character2D*>(charactersChapter->getObject(character));
        return (c->nimboui::Object::getPosition() - morvec::Vector2(x, y)).length();
    }
};

TEST_F(PuzzlePlay, TheRouterIsGivenUpOnThroughItsSkipButtonOnceItIsFull) {
    game.setVar("casual_mode", "1");
    goTo("ship.EngineRoom");
    use("FF0033");
    ASSERT_EQ(game.activeScene(), "ship.Router");
    EXPECT_FALSE(game.isShown("hint_button"));
    EXPECT_FALSE(game.isShown("inv_button"));
    for (float seconds : {60.0f, 91.0f}) {
        size_t before = game.log().size();
        game.stepSeconds(seconds - Ship::routerSkipTimer);
        game.click(402, 24); // the skip button in the top right corner
        // The scene does not take the click: Vorne walks towards the button (and is there later).
        EXPECT_EQ(isCurrentCharacterBusy(), seconds < 90.0f);
        game.finishTransition();
        bool refused = game.log().find("can't skip, waiting for timeout", before) != std::string::npos;
        EXPECT_EQ(refused, seconds < 90.0f);
    }
    EXPECT_EQ(game.var("red") + game.var("green") + game.var("blue") + game.var("yellow"), "2123");
    EXPECT_EQ(game.var("combination_correct"), "1");
    game.step();
    EXPECT_EQ(Session::activeScene->getProperty("hide_ui"), "3");
    EXPECT_TRUE(game.isShown("smart_hint_button"));
    EXPECT_EQ(Chapters::getSmartHint(), "FF0099|cursor_use");
    use("FF0099");
    EXPECT_EQ(game.var("router_solved"), "1");
}

TEST_F(PuzzlePlay, LunaWalksAcrossTheStorageRoomWhileDannyStandsOnItsSlab) {
    for (const auto& [name, value] : {std::pair{"current_character", "luna"},
                                      {"danny_scene", "schminkell7.Storage"},
                                      {"slab_on", "1"},
                                      {"danny_is_on_storage_slab", "1"}}) {
        game.setVar(name, value);
    }
    goTo("schminkell7.Storage");
    EXPECT_LT(distance("danny", 213, 280), 0.5f);
    // Across the floor past the slab; the scene resets on every step of the walk.
    game.click(360, 300);
    waitForCharacters();
    EXPECT_LT(distance("luna", 360, 300), 0.5f);
    EXPECT_LT(distance("danny", 213, 280), 0.5f);
    EXPECT_EQ(game.var("prev_scene"), "schminkell7.Storage");
    EXPECT_EQ(game.var("slab_on") + game.var("danny_is_on_storage_slab") + game.var("moon_off"), "110");
}

TEST_F(PuzzlePlay, LunaStepsOnAndOffTheSaucerSlabAndTheTunnelOpens) {
    game.setVar("current_character", "luna");
    game.setVar("box_on_saucer_slab", "1"); // the slab sinks under her with the heavy loads on the slabs
    game.setVar("rowboat_on_computer_slab", "1");
    goTo("schminkell7.Saucer");
    use("666633");
    EXPECT_EQ(game.var("tunnel_opened"), "0"); // the rubble is in the way
    use("6666FF");
    EXPECT_LT(distance("luna", 200, 280), 0.5f);
    EXPECT_EQ(game.var("saucer_slab_max_down"), "1");
    EXPECT_TRUE(inScene("saucer_mountain"));
    game.click(100, 300);
    waitForCharacters();
    EXPECT_LT(distance("luna", 100, 300), 0.5f);
    EXPECT_EQ(game.var("luna_on_saucer_slab") + game.var("saucer_slab_max_down") + game.var("mountain_off"), "001");
    EXPECT_FALSE(inScene("saucer_mountain"));
    use("666633");
    EXPECT_EQ(game.var("tunnel_opened"), "1");
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
    EXPECT_EQ(game.var("did_guided_hint_tutorial") + game.var("tutorial_state"), "142");
    game.step();
    EXPECT_EQ(game.var("tutorial_arrow"), "");
    // Entered again, the tutorial does not begin a second time.
    goTo("ship.Kitchen");
    goTo("ship.Cockpit");
    EXPECT_EQ(game.var("tutorial_state"), "42");
}

} // namespace
