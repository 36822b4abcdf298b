// Whole-game runs of the story chapters' short paths, clicking where the scenes' hotspot maps put
// their areas: Vorne on Jama Spacea from the landing site to the motel's map and the rowboat, and the
// safe in the old tree opened by its knobs; Danny on Varion from the shore past the guard into the
// laboratory and out again, while Luna, who tells him the medicine's recipe, stays where she was.
#include "StoryPlay.h"

#include "script/Action.h"
#include "script/Character2DRef.h"

namespace {

TEST_F(StoryPlay, VorneFindsTheWayToTheMotelsMapAndLaunchesTheRowboat) {
    goTo("jama_spacea.LandingSite");
    use("FFFF00");
    expectAt("jama_spacea.Crossroads", 36, 260);
    use("FEC689"); // the signpost names no place
    EXPECT_EQ(game.var("needs_map"), "1");
    use("FF9A00");
    expectAt("jama_spacea.Motel", 36, 260);
    use("C7B29A");
    EXPECT_EQ(game.var("wants_leaves"), "1");
    use("0000FF");
    expectAt("jama_spacea.Park", 36, 260);
    use("FF0000");
    EXPECT_EQ(game.var("knows_about_crash"), "1");
    use("006633");
    EXPECT_TRUE(holds("4_flower"));
    // The flower comes back baked from the ship's kitchen.
    Inventory::removeItem("4_flower");
    Inventory::addItem("baked_4_flower");
    use("FFFF00");
    expectAt("jama_spacea.Motel", 392, 260);
    use("FF0000"); // not before the keeper agrees
    EXPECT_EQ(game.var("taken_map"), "0");
    use("C7B29A", "baked_4_flower");
    EXPECT_EQ(game.var("can_take_map"), "1");
    use("FF0000");
    EXPECT_EQ(game.var("taken_map"), "1");
    EXPECT_TRUE(holds("map") && holds("rowboat") && !holds("baked_4_flower"));
    use("FFFF00");
    use("0000FF");
    expectAt("jama_spacea.Pier", 36, 260);
    // No boat lies at the berth yet, and it is still folded up; nor is there a fuse cord to light.
    EXPECT_EQ(Session::activeScene->actions[0xF26522]->getRolloverKey(), "RO_BERTH|use");
    EXPECT_EQ(Session::activeScene->actions.count(0x00FF00), 0u);
    use("F26522");
    EXPECT_EQ(game.activeScene(), "jama_spacea.Pier");
    use("F26522", "rowboat");
    EXPECT_EQ(game.var("rowboat_in_water"), "1");
    EXPECT_EQ(Session::activeScene->actions[0xF26522]->getRolloverKey(), "RO_ROWBOAT|use");
    EXPECT_FALSE(holds("rowboat"));
}

TEST_F(StoryPlay, TheSafeInTheOldTreeOpensByItsKnobs) {
    game.setVar("tree_door_opened", "1");
    goTo("jama_spacea.Park");
    use("996633");
    EXPECT_EQ(game.activeScene(), "jama_spacea.Safe");
    EXPECT_FALSE(game.isShown("inv_button")); // the puzzle hides the HUD
    use("FF33FF");
    EXPECT_EQ(game.activeScene(), "jama_spacea.Safe");
    const std::pair<const char*, int> knobs[] = {{"FF6666", 0}, {"66FF66", 4}, {"6666FF", 1}, {"FFAA00", 0}};
    for (int i = 0; i < 4; ++i) {
        String state = "knob_" + String(i + 1) + "_state";
        for (int turns = 0; game.var(state).toInt() != knobs[i].second; ++turns) {
            ASSERT_LT(turns, 6) << state;
            EXPECT_EQ(game.var("sfc_correct_internal"), "0");
            use(knobs[i].first);
        }
    }
    EXPECT_EQ(game.var("sfc_correct_internal"), "1");
    use("FF33FF");
    EXPECT_EQ(game.var("safe_opened"), "1");
    EXPECT_EQ(game.activeScene(), "jama_spacea.Park");
    use("996633");
    EXPECT_TRUE(holds("fuses"));
    EXPECT_EQ(game.var("fuses_visible"), "0");
}

TEST_F(StoryPlay, DannyGetsPastTheGuardIntoTheLaboratoryAndOutWhileLunaStaysOnTheShore) {
    game.setVar("current_character", "danny");
    game.setVar("switchable_characters", "danny,luna,vorne");
    game.setVar("luna_scene", "varion.Start");
    game.setVar("items", "ID_card");
    goTo("varion.Start");
    Character2D* danny = Characters::getCurrentCharacter();
    ASSERT_EQ(danny, charactersChapter->getObject("danny"));
    ASSERT_NE(Characters::findCharacterRef("luna"), nullptr);
    EXPECT_EQ(Characters::findCharacterRef("luna")->getCharacter()->getPosition(), morvec::Vector3(150, 286, 0));
    // Across the shore on foot.
    game.click(330, 300);
    game.stepSeconds(3.0f);
    EXPECT_EQ(danny->getJobQueueSize(), 0u);
    EXPECT_NEAR(danny->getPosition().x, 330, 0.5f);
    EXPECT_NEAR(danny->getPosition().y, 300, 0.5f);
    use("0066FF");
    EXPECT_TRUE(holds("pepper"));
    // A click on Luna's figure walks Danny up beside her, 30 units off; asked, she knows the clone's
    // medicine.
    game.setVar("wants_medicine", "1");
    size_t before = game.log().size();
    game.click(150, 260);
    waitForCharacters();
    EXPECT_EQ(game.var("danny_knows_recipe"), "1");
    EXPECT_NEAR(danny->getPosition().x, 180, 1.0f);
    std::string said = game.log().substr(before);
    EXPECT_LT(said.find("my clone needs medicine"), said.find("Medicine for a clone?"));
    use("FFFF00");
    expectAt("varion.Barrier", 36, 260);
    use("FF0000"); // the guard stops him
    EXPECT_EQ(game.activeScene(), "varion.Barrier");
    use("00FF00", "ID_card");
    EXPECT_EQ(game.var("danny_can_goto_elevator"), "1");
    use("FF0000");
    expectAt("varion.Elevator", 213, 300);
    use("FF99FF");
    EXPECT_TRUE(holds("water_sprayer"));
    use("FF0000");
    expectAt("varion.RCorridor", 213, 300);
    use("00FF00");
    expectAt("varion.LaboratoryLeft", 213, 296);
    EXPECT_EQ(game.var("danny_met_clone"), "1");
    use("FF00FF");
    expectAt("varion.Laboratory", 386, 262);
    EXPECT_EQ(game.var("danny_entered_from"), "varion.RCorridor");
    use("FF0000");
    expectAt("varion.RCorridor", 218, 252);
    EXPECT_EQ(game.var("danny_scene"), "varion.RCorridor");
    EXPECT_EQ(game.var("luna_scene"), "varion.Start");
    EXPECT_EQ(Characters::findCharacterRef("luna"), nullptr);
}

} // namespace
