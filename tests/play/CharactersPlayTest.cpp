// The characters in the whole game: a click on the floor walks the current character to the nearest
// walkable point, and an exit whose character command walks to the door goes through it afterwards.
#include "GameHarness.h"

#include "engine/scene/Chapter.h"
#include "engine/session/Session.h"
#include "script/Character2D.h"
#include "script/Characters.h"

#include <gtest/gtest.h>

namespace {

class CharactersPlay : public ::testing::Test {
protected:
    void SetUp() override { game.passLoadingFade(); }

    static Character2D* vorne() { return dynamic_cast<Character2D*>(charactersChapter->getObject("vorne")); }

    GameHarness game;
};

TEST_F(CharactersPlay, AClickAboveTheFloorWalksToItsNearestPointAndStandsThere) {
    Character2D* character = Characters::getCurrentCharacter();
    ASSERT_EQ(character, vorne());
    EXPECT_EQ(character->getPosition(), morvec::Vector3(200, 305, 0)); // the cockpit's placement
    // Between the console and the door, above the cockpit's floor (y 285 to 318): the nearest walkable
    // point is 85 units below, 141 units of path away.
    game.click(340, 200);
    ASSERT_EQ(character->getCurrentJobType(), "Move");
    game.stepSeconds(1.0f);
    EXPECT_EQ(character->getImageName().substr(0, 11), "vorne/Walk_");
    EXPECT_EQ(character->getOrientation(), "E");
    game.stepSeconds(2.0f);
    EXPECT_EQ(character->getJobQueueSize(), 0u);
    EXPECT_NEAR(character->getPosition().x, 340, 0.5f);
    EXPECT_NEAR(character->getPosition().y, 285, 0.5f);
    EXPECT_EQ(character->getImageName(), "vorne/Stand_" + character->getOrientation() + ".01");
}

TEST_F(CharactersPlay, TheGalleyDoorWalksTheCharacterThereThenSwitchesScene) {
    Session::queueCommand("switch_scene Corridor");
    game.step();
    ASSERT_EQ(game.activeScene(), "ship.Corridor");
    Character2D* character = vorne();
    EXPECT_EQ(character->getPosition(), morvec::Vector3(60, 278, 0));
    game.click(358, 170); // the door, whose rollover key carries "|": no verb choice
    ASSERT_EQ(character->getCurrentJobType(), "Move");
    EXPECT_EQ(game.var("vorne_scene"), "ship.Corridor");
    game.stepSeconds(3.0f);
    EXPECT_EQ(game.activeScene(), "ship.Corridor"); // still on the way
    EXPECT_GT(character->getPosition().x, 150.0f);
    game.stepSeconds(4.0f);
    game.finishTransition();
    EXPECT_EQ(game.activeScene(), "ship.Galley");
    EXPECT_EQ(game.var("vorne_scene"), "ship.Galley");
    EXPECT_EQ(character->getPosition(), morvec::Vector3(80, 300, 0));
    EXPECT_EQ(character->getOrientation(), "E");
    EXPECT_EQ(character->getJobQueueSize(), 0u);
}

} // namespace
