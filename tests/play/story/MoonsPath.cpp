// The story's second half played as a player plays it: Luna through Schminkell 7's outpost until the
// rowboat takes her and the replicated Danny to Varion; Danny, Luna and Vorne through the moon base
// until the rotoscope opens the way to Terra Nuova; and the station, the credits, the main menu and
// the quit question. Every step switches to its character through the character switcher, walks
// there exit by exit, checks that the chapter's smart hint names that very step, and then clicks its
// area with the item taken in hand from the inventory panel, or combines two items in the panel.
#include "StoryPath.h"

#include "chapters/Chapters.h"
#include "engine/scene/ActionMap.h"
#include "engine/scene/Scene.h"
#include "engine/session/Session.h"
#include "script/Character2DRef.h"
#include "script/Characters.h"
#include "script/Inventory.h"
#include "ui/Achievements.h"
#include "ui/Hud.h"
#include "ui/SceneRoutes.h"

#include "nimbo/Nimbo.h"
#include "nimboui/Object.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// One thing a player does: as that character, in that scene, click the area of that colour with
// that item in hand ("" for empty hands); with a colour "+" and an item, combine the two items in
// the inventory; with no colour, only go there. The charged hint pressed there first must answer
// hint (what the step does).
struct Step {
    const char* character;
    const char* scene;
    const char* colour;
    const char* item;
    const char* hint;
};

class MoonsRun {
public:
    explicit MoonsRun(StoryRun& run) : run(run), game(run.game) {}

    // The steps of one chapter, whose short scene names they use.
    void play(const std::vector<Step>& steps, const String& chapter) {
        for (const Step& step : steps) {
            SCOPED_TRACE(std::string(step.character) + " " + step.scene + " " + step.colour + " " + step.item);
            switchTo(step.character);
            String scene = step.scene;
            walkTo(scene.contains(".") ? scene : chapter + "." + scene);
            if (step.colour[0] == '+') {
                expectHint(step.hint);
                combine(step.colour + 1, step.item);
            } else if (step.colour[0]) {
                expectHint(step.hint);
                use(step.colour, step.item);
            }
            // Each step builds on the one before.
            if (::testing::Test::HasFailure()) {
                return;
            }
        }
    }

    // The character switcher's button, then the character's own.
    void switchTo(const String& character) {
        if (run.var("current_character") == character) {
            return;
        }
        run.pressInterface("character_button");
        game.stepSeconds(0.4f);
        run.pressInterface(("chr_" + character + "_button").c_str());
        settle();
        // The switcher's panel takes clicks until it has faded out.
        game.stepSeconds(0.5f);
        ASSERT_FALSE(game.isShown("character_switcher"));
        ASSERT_EQ(run.var("current_character"), character);
    }

    // Exit by exit along the hint routes' graph, as the marker would lead.
    void walkTo(const String& scene) {
        for (int hop = 0; hop < 8 && run.scene() != scene; ++hop) {
            RouteLink link = SceneRoutes::findRoute(scene);
            String exit = link.exit.empty() ? laboratoryDoorBack() : link.exit;
            ASSERT_FALSE(exit.empty()) << "no way from " << run.scene() << " to " << scene;
            expectHint(exit.c_str());
            use(exit.c_str());
        }
        ASSERT_EQ(run.scene(), scene);
    }

    // Varion's laboratory has no links of its own: out through the door the character came in by.
    String laboratoryDoorBack() const {
        if (run.scene() != "varion.Laboratory") {
            return "";
        }
        String from = game.var(run.var("current_character") + "_entered_from");
        return from == "varion.LCorridor" ? "0000FF" : from == "varion.Elevator" ? "00FF00" : "FF0000";
    }

    // Takes the item in hand from the inventory panel and carries it out, then clicks the area of
    // that colour and lets what it starts run out.
    void use(const char* colour, const char* item = "") {
        morvec::Vector2 at = pointOf((uint32_t)std::stoul(colour, nullptr, 16));
        ASSERT_NE(at, morvec::Vector2(0, 0)) << colour << " in " << run.scene();
        if (*item) {
            run.takeInHand(item);
            game.move(370, 160);
            game.stepSeconds(0.3f);
            ASSERT_EQ(run.var("inv_open"), "0");
        }
        game.move(at.x, at.y);
        game.step();
        game.click(at.x, at.y);
        game.step(2);
        chooseVerb();
        settle();
    }

    // The area's point, or where that lies at its edge (a click's point, through window pixels,
    // may land a unit off), the nearest point on a grid of 2 units well inside it: where a player
    // would click the thing.
    static morvec::Vector2 pointOf(uint32_t id) {
        const ActionMap& map = *Session::activeScene->actionMap;
        auto wellInside = [&map, id](int x, int y) {
            return map.getAreaAt(x - 1, y - 1) == id && map.getAreaAt(x + 1, y - 1) == id &&
                   map.getAreaAt(x - 1, y + 1) == id && map.getAreaAt(x + 1, y + 1) == id;
        };
        morvec::Vector2 at = map.getAreaPosition(id);
        if (wellInside((int)at.x, (int)at.y)) {
            return at;
        }
        morvec::Vector2 best(0, 0);
        float bestDistance = 1e9f;
        for (int y = 2; y < 318; y += 2) {
            for (int x = 2; x < 424; x += 2) {
                float distance = (x - at.x) * (x - at.x) + (y - at.y) * (y - at.y);
                if (distance < bestDistance && wellInside(x, y)) {
                    best = morvec::Vector2((float)x, (float)y);
                    bestDistance = distance;
                }
            }
        }
        return best;
    }

    // A thing with several things to do and no verbs of its own opens the generic coin, whose look
    // runs the thing's action (its use only says a generic line); the moons' things have no verbs.
    void chooseVerb() {
        if (!game.isShown("choice_buttons")) {
            return;
        }
        game.stepSeconds(0.3f);
        ASSERT_GT(game.uiObject("choice_look")->getWidth(), 0.0f);
        run.pressInterface("choice_look");
    }

    // In the inventory panel; the panel closes behind the combination.
    void combine(const char* first, const char* second) {
        run.combine(first, second);
        game.stepSeconds(0.5f);
        ASSERT_FALSE(game.isShown("inv"));
    }

    void expectHint(const char* hint) {
        String before = run.var("current_character");
        run.expectHint(hint);
        ASSERT_EQ(run.var("current_character"), before);
    }

    // Until the scene switch, the loading picture, the spoken lines, the current character's jobs, the
    // verb coin's fading (it takes the clicks meanwhile) and an unlocked achievement's popup (over the
    // scene's lower edge) are over.
    void settle() {
        run.settle();
        run.waitForCharacters();
        run.settle();
        for (int i = 0; i < 900 && (game.isShown("choice_buttons") || game.isShown("achievement_1")); ++i) {
            game.step();
        }
    }

    StoryRun& run;
    GameHarness& game;
};

// Luna, from the outpost's entrance, with the rowboat the crew came down in: the fence piece serves
// as a hammer; the crystals, the moulds
// and the ion shape; the purple crystal in the replicator, and Danny replicated from his ashes;
// the displacer makes the box and the rowboat heavy for the slabs, which clear the tunnel; the
// charged canister starts the drive that takes the rowboat to Varion.
const std::vector<Step> SCHMINKELL = {
    {"luna", "Entrance", "006699", "", "006699"},
    {"luna", "Saucer", "006666", "", "006666"},
    {"luna", "Saucer", "006600", "", "006600"},
    {"luna", "Saucer", "FF9900", "hammer", "FF9900|hammer"},
    {"luna", "Storage", "996600", "hammer", "996600|hammer"},
    {"luna", "Storage", "336600", "", "336600"},
    {"luna", "Storage", "FF6633", "", "FF6633"},
    {"luna", "Computer", "333366", "cork", "333366|cork"},
    {"luna", "Computer", "333366", "hammer", "333366|hammer"},
    {"luna", "Saucer", "9933FF", "star_shaped_stone", "9933FF|star_shaped_stone"},
    {"luna", "Saucer", "9933FF", "hammer", "9933FF|hammer"},
    {"luna", "Saucer", "0066CC", "", "0066CC"},
    {"luna", "Replicator", "0000FF", "", "0000FF"},
    {"luna", "Replicator", "+moist_clay", "titanium_box", "combine:moist_clay+titanium_box"},
    {"luna", "Replicator", "+broken_stone", "box_with_clay", "combine:broken_stone+box_with_clay"},
    {"luna", "Computer", "006600", "ion_cube", "006600|ion_cube"},
    {"luna", "Computer", "CC6600", "stone_mold", "CC6600|stone_mold"},
    {"luna", "Computer", "666600", "", "666600"},
    {"luna", "Computer", "FF6666", "", "FF6666"},
    {"luna", "Storage", "FF6633", "", "FF6633"},
    {"luna", "Saucer", "9933FF", "ion_cube", "9933FF|ion_cube"},
    {"luna", "Saucer", "FF33FF", "", "FF33FF"},
    {"luna", "Saucer", "9933FF", "ion_pancake", "9933FF|ion_pancake"},
    {"luna", "Saucer", "996600", "stone_mold", "996600|stone_mold"},
    {"luna", "Saucer", "FF33FF", "", "FF33FF"},
    {"luna", "Saucer", "0066CC", "ion_molded_shape", "0066CC|ion_molded_shape"},
    {"luna", "Replicator", "C4DF9B", "", "C4DF9B"},
    {"luna", "Replicator", "0000FF", "", "0000FF"},
    {"luna", "Storage", "336600", "", "336600"},
    {"luna", "Storage", "+moist_clay", "titanium_box", "combine:moist_clay+titanium_box"},
    {"luna", "Storage", "+defunct_crystal", "box_with_clay", "combine:defunct_crystal+box_with_clay"},
    {"luna", "Computer", "CC6600", "crystal_mold", "CC6600|crystal_mold"},
    {"luna", "Computer", "666600", "", "666600"},
    {"luna", "Saucer", "9933FF", "blue_crystal", "9933FF|blue_crystal"},
    {"luna", "Saucer", "FF33FF", "", "FF33FF"},
    {"luna", "Saucer", "9933FF", "red_crystal", "9933FF|red_crystal"},
    {"luna", "Saucer", "FF33FF", "", "FF33FF"},
    {"luna", "Saucer", "+blue_dust", "crystal_mold", "combine:blue_dust+crystal_mold"},
    {"luna", "Saucer", "+red_dust", "crystal_mold", "combine:red_dust+crystal_mold"},
    {"luna", "Computer", "CC6600", "crystal_mold", "CC6600|crystal_mold"},
    {"luna", "Computer", "666600", "", "666600"},
    {"luna", "Replicator", "C4DF9B", "purple_crystal", "C4DF9B|purple_crystal"},
    {"luna", "Replicator", "C4DF9B", "ashes", "C4DF9B|ashes"},
    {"luna", "Replicator", "FF0000", "", "FF0000"},
    {"luna", "Storage", "CC66FF", "", "CC66FF"},
    {"luna", "Storage", "336600", "", "336600"},
    {"luna", "Storage", "6666FF", "titanium_box", "6666FF|titanium_box"},
    {"luna", "Storage", "FF6699", "", "FF6699"},
    {"luna", "Storage", "6666FF", "", "6666FF"},
    {"luna", "Storage", "6666FF", "rowboat", "6666FF|rowboat"},
    {"luna", "Storage", "FF6699", "", "FF6699"},
    {"danny", "Storage", "006666", "", "006666"},
    {"luna", "Saucer", "6666FF", "heavy_titanium_box", "6666FF|heavy_titanium_box"},
    {"luna", "Computer", "66CC66", "rowboat", "66CC66|rowboat"},
    {"luna", "Saucer", "6666FF", "", "6666FF"},
};

// After the slab sank under Luna: she walks off it toward the tunnel, which the slab clears as it
// comes up; the canister is charged and set in its socket, and its drive takes the rowboat to Varion.
const std::vector<Step> SCHMINKELL_END = {
    {"luna", "Saucer", "666633", "", "666633"},
    {"luna", "Computer", "9966CC", "canister_empty", "9966CC|canister_empty"},
    {"luna", "Saucer", "0099FF", "charged_canister", "0099FF|charged_canister"},
    {"luna", "Saucer", "0099FF", "", "0099FF"},
};

} // namespace

void playSchminkell(StoryRun& run) {
    MoonsRun moons(run);
    moons.play(SCHMINKELL, "schminkell7");
    EXPECT_EQ(run.var("luna_on_saucer_slab"), "1");
    moons.play(SCHMINKELL_END, "schminkell7");
    EXPECT_EQ(run.scene(), "varion.Start");
    for (const char* done : {"tunnel_opened", "danny_alive", "crystal_replaced", "mazslow_on_varion"}) {
        EXPECT_EQ(run.var(done), "1") << done;
    }
    EXPECT_EQ(run.var("switchable_characters"), "vorne,luna,danny");
    EXPECT_EQ(run.var("danny_items"), "ID_card");
    EXPECT_EQ(run.var("items"), "hammer");
    // Danny's return, the purple crystal and the cleared tunnel each unlocked an achievement.
    for (const char* achievement : {"dna", "color_mixer", "slabs"}) {
        EXPECT_NE(run.game.log().find(std::string("Achievement unlocked: ") + achievement), std::string::npos)
            << achievement;
    }
}

namespace {

// Varion's path, by the hint's rows: Danny past the guard, the clone met at the lift hall's sprayer
// and its medicine baked aboard the ship, the papers, the dressed-up rowboat and the warehouse; Luna
// with the pepper spray through the sewers into the prison, to the prisoner and the rotoscope;
// Vorne's black hole; the two reports of the PPA terminal, which sends each back to the warehouse;
// and the rotoscope, whose third slot filled opens the way to Terra Nuova. At a laboratory's door the
// hint, which leads to that door's side, has nothing more to say.
const std::vector<Step> VARION = {
    {"danny", "Start", "0066FF", "", "0066FF"},
    {"danny", "Barrier", "00FF00", "ID_card", "00FF00|ID_card"},
    {"danny", "Elevator", "FF99FF", "", "FF99FF"},
    {"danny", "Barrier", "00FF00", "", "00FF00"},
    {"danny", "RCorridor", "00FF00", "", "00FF00"},
    {"danny", "Start", "D0AB1E", "", "D0AB1E"},
    {"danny", "ship.Kitchen", "333300", "", "333300"},
    {"danny", "ship.Kitchen", "9999FF", "", "9999FF"},
    {"danny", "LandingDock", "00FF00", "", "00FF00"},
    {"danny", "Barrier", "754C24", "withered_branch", "754C24|withered_branch"},
    {"danny", "Barrier", "C69C6D", "", "C69C6D"},
    {"danny", "Barrier", "00FFFF", "ceramic_cup", "00FFFF|ceramic_cup"},
    {"danny", "Barrier", "+liquid_soap", "ceramic_cup", "combine:liquid_soap+ceramic_cup"},
    {"danny", "Barrier", "+egg", "ceramic_cup", "combine:egg+ceramic_cup"},
    {"danny", "ship.Kitchen", "009900", "ceramic_cup", "009900|ceramic_cup"},
    {"danny", "ship.Kitchen", "FF99FF", "", "FF99FF"},
    {"danny", "RCorridor", "00FF00", "ceramic_cup_egg", "00FF00|ceramic_cup_egg"},
    {"danny", "RCorridor", "0066FF", "", "0066FF"},
    {"danny", "RCorridor", "FF6600", "", "FF6600"},
    {"danny", "RCorridor", "00A651", "", "00A651"},
    {"danny", "LCorridor", "FF66FF", "", "FF66FF"},
    {"danny", "Barrier", "00FF00", "authorization_papers", "00FF00|authorization_papers"},
    {"danny", "Start", "00FF00", "sticky_tape", "00FF00|sticky_tape"},
    {"danny", "Start", "00FF00", "kribb_logo", "00FF00|kribb_logo"},
    {"danny", "InfrontCargo", "FF0000", "", "FF0000"},
    {"danny", "Warehouse", "+pepper", "water_sprayer", "combine:pepper+water_sprayer"},
    {"luna", "Warehouse", "", "", ""},
    {"danny", "Warehouse", "D0AB1E", "pepper_spray", "D0AB1E|pepper_spray"},
    {"luna", "Warehouse", "C4DF9B", "", "C4DF9B"},
    {"luna", "Warehouse", "FF00FF", "", "FF00FF"},
    {"luna", "Ppa", "00FF00", "", "00FF00|cursor_use"},
    {"luna", "Ppa", "00AEF0", "", "00AEF0|cursor_use"},
    {"luna", "Ppa", "FF0000", "", "FF0000|cursor_use"},
    {"luna", "Ppa", "00AEF0", "", "00AEF0|cursor_use"},
    {"luna", "Ppa", "00FF00", "", "00FF00|cursor_use"},
    {"luna", "Warehouse", "FF0000", "blow_torch", "FF0000|blow_torch"},
    {"luna", "Warehouse", "FF0000", "", "FF0000"},
    {"danny", "LCorridor", "00FF00", "", "00FF00"},
    {"luna", "Prison", "00FF00", "pepper_spray", "00FF00|pepper_spray"},
    {"luna", "Prison", "C69C6D", "", "C69C6D"},
    {"luna", "Prison", "00A651", "cell_key", "00A651|cell_key"},
    {"luna", "Prison", "BFBFBF", "", "BFBFBF"},
    {"luna", "LaboratoryRight", "FF00FF", "", ""},
    {"luna", "Laboratory", "FF00FF", "", "FF00FF"},
    {"luna", "Prison", "BFBFBF", "", "BFBFBF"},
    {"vorne", "Sewers", "FF0000", "", "FF0000"},
    {"vorne", "LaboratoryLeft", "FF00FF", "", ""},
    {"vorne", "Laboratory", "2E3192", "black_hole", "2E3192|black_hole"},
    {"danny", "Warehouse", "FF00FF", "", "FF00FF"},
    {"danny", "Ppa", "00AEF0", "", "00AEF0|cursor_use"},
    {"danny", "Ppa", "00FF00", "", "00FF00|cursor_use"},
    {"danny", "Ppa", "00AEF0", "", "00AEF0|cursor_use"},
    {"danny", "Ppa", "00AEF0", "", "00AEF0|cursor_use"},
    {"danny", "Ppa", "FF0000", "", "FF0000|cursor_use"},
    {"danny", "Elevator", "0066FF", "keycard", "0066FF|keycard"},
    {"danny", "LaboratoryMiddle", "FF00FF", "", ""},
    {"danny", "Laboratory", "9E005D", "pacifist_report", "9E005D|pacifist_report"},
    {"luna", "LaboratoryRight", "FF00FF", "", ""},
    {"luna", "Laboratory", "00AEF0", "strong_report", "00AEF0|strong_report"},
    {"vorne", "terra_nuova.Station", "", "", ""},
    {"luna", "terra_nuova.Station", "", "", ""},
};

} // namespace

void playVarion(StoryRun& run) {
    MoonsRun(run).play(VARION, "varion");
    EXPECT_EQ(run.scene(), "terra_nuova.Station");
    for (const char* done : {"clone_in_room", "authorized_for_warehouse", "luna_is_interrogator"}) {
        EXPECT_EQ(run.var(done), done == std::string("clone_in_room") ? "0" : "1") << done;
    }
    for (const char* inserted : {"black_hole_inserted", "pacifist_report_inserted", "strong_report_inserted"}) {
        EXPECT_EQ(run.var(inserted), "1") << inserted;
    }
    for (const char* scene : {"luna_scene", "danny_scene", "vorne_scene"}) {
        EXPECT_EQ(run.var(scene), "terra_nuova.Station") << scene;
    }
    // Switched to Vorne and back at the station, Vorne stands where he waited, not on Luna.
    EXPECT_NE(Characters::findCharacterRef("vorne")->getX(), Characters::findCharacterRef("luna")->getX());
    EXPECT_TRUE(StoryRun::holds("hammer"));
    // The station greets the crew with the closing line, once.
    EXPECT_NE(run.game.log().find("}Terra Nuova. We made it, all three of us."), std::string::npos);
}

// The station: the window's label under the pointer, the airlock onward
// to the credits, a click back to the main menu, and the quit question answered yes.
void playTerraNuovaToEnd(StoryRun& run) {
    GameHarness& game = run.game;
    MoonsRun moons(run);
    EXPECT_EQ(game.var("station_reached"), "1");
    morvec::Vector2 window = MoonsRun::pointOf(0x0000FF);
    game.move(window.x, window.y);
    game.step();
    EXPECT_EQ(Hud::rolloverText, "Window");
    moons.use("0000FF");
    run.expectHint(""); // the station has no hints
    moons.use("FF0000");
    ASSERT_EQ(game.activeScene(), "menu.Credits");
    game.stepSeconds(2.0f);
    game.click(213, 160);
    moons.settle();
    ASSERT_EQ(game.activeScene(), "menu.MainMenu");
    // The story earned every achievement of its steps but those of normal play (the one of play
    // without hints follows the hints' own count, which this path leaves aside).
    std::string earned;
    for (const char* id : Achievements::IDS) {
        earned +=
            Achievements::idMapper->isUnlocked(id) && id != std::string("casual_master") ? std::string(id) + " " : "";
    }
    EXPECT_EQ(earned, "adventure_begins technician electrician good_start rowrow map elderly ash code_breaker rescue "
                      "color_mixer dna slabs clone doctor costume_designer prison_break casual_end speed_runner ");
    game.requestQuit();
    game.stepSeconds(0.3f);
    ASSERT_TRUE(game.isShown("cdialog"));
    run.pressInterface("cdialog_yes_button");
    EXPECT_TRUE(nimbo::window->isTerminated());
}
