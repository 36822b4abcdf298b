// The story's second half played as a player plays it: Luna through Schminkell 7's outpost until the
// rowboat takes her and the replicated Danny to Varion; Danny, Luna and Vorne through the moon base
// until the rotoscope opens the way to Terra Nuova; and the station, the credits and the main menu.
// Every step switches to its character through the character switcher, walks there exit by exit,
// checks that the chapter's smart hint names that very step, and then clicks its area with the
// item in hand, or combines two items in the inventory panel.
#include "GameHarness.h"

#include "chapters/Chapters.h"
#include "engine/scene/ActionMap.h"
#include "engine/scene/Chapter.h"
#include "engine/scene/Scene.h"
#include "engine/session/Session.h"
#include "script/Character2D.h"
#include "script/Characters.h"
#include "script/Inventory.h"
#include "script/Speech.h"
#include "ui/Hud.h"
#include "ui/SceneRoutes.h"

#include "nimbo/Nimbo.h"

#include "nimboui/Object.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// One thing a player does: as that character, in that scene, click the area of that colour with
// that item in hand ("" for empty hands); with a colour "+" and an item, combine the two items in
// the inventory; with no colour, only go there. The chapter's hint asked for there first must read
// hint ("-": the step is not one of the hint's, such as fetching the rowboat).
struct Step {
    const char* character;
    const char* scene;
    const char* colour;
    const char* item;
    const char* hint;
};

class MoonsRun {
public:
    explicit MoonsRun(GameHarness& game) : game(game) {}

    // The steps of one chapter, whose short scene names they use.
    void play(const std::vector<Step>& steps, const String& chapter) {
        for (const Step& step : steps) {
            SCOPED_TRACE(std::string(step.character) + " " + step.scene + " " + step.colour + " " + step.item);
            switchTo(step.character);
            String scene = step.scene;
            walkTo(scene.contains(".") ? scene : chapter + "." + scene);
            expectHint(step.hint);
            if (step.colour[0] == '+') {
                combine(step.colour + 1, step.item);
            } else if (step.colour[0]) {
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
        if (game.var("current_character") == character) {
            return;
        }
        clickGui("character_button");
        game.stepSeconds(0.4f);
        clickGui("chr_" + character + "_button");
        settle();
        // The switcher's panel takes clicks until it has faded out.
        game.stepSeconds(0.5f);
        ASSERT_FALSE(game.isShown("character_switcher"));
        ASSERT_EQ(game.var("current_character"), character);
    }

    // Exit by exit along the hint routes' graph, as the marker would lead.
    void walkTo(const String& scene) {
        for (int hop = 0; hop < 8 && !isIn(scene); ++hop) {
            RouteLink link = SceneRoutes::findRoute(scene);
            String exit = link.exit.empty() ? laboratoryDoorBack() : link.exit;
            ASSERT_FALSE(exit.empty()) << "no way from " << game.activeScene() << " to " << scene;
            use(exit.c_str());
        }
        ASSERT_TRUE(isIn(scene)) << game.activeScene() << " inv " << game.isShown("inv") << game.var("inv_open") << " coin " << game.isShown("choice_buttons") << " cdialog " << game.var("cdialog") << " busy " << isCurrentCharacterBusy() << " speaking " << Speech::isSpeaking();
    }

    // Varion's laboratory has no links of its own: out through the door the character came in by.
    String laboratoryDoorBack() const {
        if (game.activeScene() != "varion.Laboratory") {
            return "";
        }
        String from = game.var(game.var("current_character") + "_entered_from");
        return from == "varion.LCorridor" ? "0000FF" : from == "varion.Elevator" ? "00FF00" : "FF0000";
    }

    // Clicks the area of that colour with the item in hand and lets what it starts run out.
    void use(const char* colour, const char* item = "") {
        if (*item) {
            ASSERT_TRUE(Inventory::hasItem(item)) << item << " in " << game.var("items");
        }
        Inventory::setSelectedItem(item);
        morvec::Vector2 at = pointOf((uint32_t)std::stoul(colour, nullptr, 16));
        ASSERT_NE(at, morvec::Vector2(0, 0)) << colour << " in " << game.activeScene();
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
        for (const char* verb : {"look", "use", "talk"}) {
            nimboui::Object* button = game.uiObject(String("choice_") + verb);
            if (button && button->getWidth() > 0) {
                clickGui(String("choice_") + verb);
                return;
            }
        }
        ADD_FAILURE() << "the verb coin shows no verb";
    }

    // In the inventory panel: the first item taken in hand, clicked on the second.
    void combine(const String& first, const String& second) {
        ASSERT_TRUE(Inventory::hasItem(first) && Inventory::hasItem(second)) << game.var("items");
        game.stepSeconds(0.5f);
        clickGui("inv_button");
        ASSERT_EQ(game.var("inv_open"), "1");
        game.stepSeconds(0.4f);
        clickSlotOf(first);
        ASSERT_EQ(Inventory::getSelectedItem(), first);
        clickSlotOf(second);
        settle();
        game.stepSeconds(0.5f);
        ASSERT_FALSE(game.isShown("inv")) << "open " << game.var("inv_open") << " in hand " << Inventory::getSelectedItem();
    }

    void expectHint(const char* hint) {
        if (std::string(hint) == "-") {
            return;
        }
        String before = game.var("current_character");
        EXPECT_EQ(Chapters::getSmartHint(), hint) << "in " << game.activeScene() << recentLog();
        ASSERT_EQ(game.var("current_character"), before);
    }

    // The game's last log lines, but the interface's, to tell what the last steps did.
    std::string recentLog() const {
        std::string log = game.log();
        std::string lines;
        for (size_t end = log.size(); end > 0 && lines.size() < 3000;) {
            size_t start = log.rfind('\n', end - 1);
            start = start == std::string::npos ? 0 : start + 1;
            std::string line = log.substr(start, end - start);
            if (line.rfind("[nimboui]", 0) != 0 && line.find("$inv_") == std::string::npos) {
                lines = line + "\n" + lines;
            }
            end = start == 0 ? 0 : start - 1;
        }
        return "\n" + lines;
    }

    bool isIn(const String& scene) const { return game.activeScene() == scene; }

    // Until the scene switch, the loading picture, the spoken lines and the current character's
    // jobs are over.
    void settle() {
        game.step(2);
        game.finishTransition();
        game.passLoadingFade();
        for (int i = 0; i < 1200 && (Speech::isSpeaking() || isCurrentCharacterBusy()); ++i) {
            game.step();
            // A spoken line takes a click as its end, once the speaker has nothing else to do.
            if (i % 20 == 19 && Speech::isSpeaking() && !isCurrentCharacterBusy()) {
                game.click(213, 160);
            }
        }
        // An unlocked achievement's popup lies over the scene's lower edge for a while.
        for (int i = 0; i < 900 && game.isShown("achievement_1"); ++i) {
            game.step();
        }
    }

    static bool isCurrentCharacterBusy() {
        Character2D* current = Characters::getCurrentCharacter();
        return current && current->getJobQueueSize() > 0;
    }

    void clickGui(const String& name) {
        morvec::Vector2 at = centreOf(name);
        game.clickGui(at.x, at.y);
    }

    // The centre of an interface object in the interface's units.
    morvec::Vector2 centreOf(const String& name) const {
        nimboui::Object* object = game.uiObject(name);
        EXPECT_NE(object, nullptr) << name;
        if (!object) {
            return {0, 0};
        }
        morvec::Vector2 centre = object->getPosition() + object->getSize() * 0.5f;
        for (nimboui::Object* parent = object->getParent(); parent; parent = parent->getParent()) {
            centre += parent->getPosition();
        }
        return centre;
    }

    // Turns the panel's pages to the item's and clicks its slot (eight slots a page).
    void clickSlotOf(const String& item) {
        const std::vector<String>& items = Inventory::items;
        int index = (int)(std::find(items.begin(), items.end(), item) - items.begin());
        while (game.isShown("inv_pages_left")) {
            clickGui("inv_pages_left");
            game.stepSeconds(0.2f);
        }
        for (int page = 0; page < index / 8; ++page) {
            clickGui("inv_pages_right");
            game.stepSeconds(0.2f);
        }
        clickGui("inv_slot" + String(index % 8));
        game.step(2);
    }

    GameHarness& game;
};

// Luna, from the outpost's entrance: the fence piece serves as a hammer; the crystals, the moulds
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
    {"luna", "Saucer", "996600", "stone_mold", "-"},
    {"luna", "Saucer", "9933FF", "ion_pancake", "9933FF|ion_pancake"},
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
    {"luna", "Entrance", "FF00FF", "", "-"},
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

void playSchminkellSteps(MoonsRun& run) {
    run.play(SCHMINKELL, "schminkell7");
    EXPECT_EQ(run.game.var("luna_on_saucer_slab"), "1");
    run.play(SCHMINKELL_END, "schminkell7");
    EXPECT_EQ(run.game.activeScene(), "varion.Start");
    EXPECT_EQ(run.game.var("tunnel_opened"), "1");
    EXPECT_EQ(run.game.var("danny_alive"), "1");
    EXPECT_EQ(run.game.var("crystal_replaced"), "1");
    EXPECT_EQ(run.game.var("mazslow_on_varion"), "1");
    EXPECT_EQ(run.game.var("switchable_characters"), "vorne,luna,danny");
    EXPECT_EQ(run.game.var("danny_items"), "ID_card");
}

// Varion's path, by the hint's rows: Danny past the guard, the clone's medicine baked aboard the
// ship, the papers, the dressed-up rowboat and the warehouse; Luna with the pepper spray through
// the sewers into the prison, to the prisoner and the rotoscope; Vorne's black hole; the two
// reports of the PPA terminal; and the rotoscope's jump to Terra Nuova.
const std::vector<Step> VARION = {
    {"danny", "Start", "0066FF", "", "0066FF"},
    {"danny", "Barrier", "00FF00", "ID_card", "00FF00|ID_card"},
    {"danny", "Elevator", "FF99FF", "", "FF99FF"},
    {"danny", "LaboratoryLeft", "FF0000", "", "-"},
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
    {"luna", "Warehouse", "", "", "-"},
    {"danny", "Warehouse", "D0AB1E", "pepper_spray", "D0AB1E|pepper_spray"},
    {"luna", "Warehouse", "C4DF9B", "", "C4DF9B"},
    {"luna", "Warehouse", "FF00FF", "", "FF00FF"},
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
    {"luna", "Warehouse", "FF00FF", "", "FF00FF"},
    {"luna", "Ppa", "00FF00", "", "00FF00|cursor_use"},
    {"luna", "Ppa", "00AEF0", "", "00AEF0|cursor_use"},
    {"luna", "Ppa", "FF0000", "", "FF0000|cursor_use"},
    {"luna", "Ppa", "00AEF0", "", "00AEF0|cursor_use"},
    {"luna", "Ppa", "00FF00", "", "00FF00|cursor_use"},
    {"luna", "LaboratoryRight", "FF00FF", "", ""},
    {"luna", "Laboratory", "00AEF0", "strong_report", "00AEF0|strong_report"},
    {"luna", "Laboratory", "FF00FF", "", ""},
};

void playVarionSteps(MoonsRun& run) {
    run.play(VARION, "varion");
    EXPECT_EQ(run.game.activeScene(), "terra_nuova.Station");
    for (const char* done : {"clone_in_room", "authorized_for_warehouse", "luna_is_interrogator"}) {
        EXPECT_EQ(run.game.var(done), done == std::string("clone_in_room") ? "0" : "1") << done;
    }
    for (const char* inserted : {"black_hole_inserted", "pacifist_report_inserted", "strong_report_inserted"}) {
        EXPECT_EQ(run.game.var(inserted), "1") << inserted;
    }
    EXPECT_EQ(run.game.var("luna_scene"), "terra_nuova.Station");
    EXPECT_EQ(run.game.var("danny_scene"), "terra_nuova.Station");
    EXPECT_EQ(run.game.var("vorne_scene"), "terra_nuova.Station");
}

// The station: the closing line on arrival, the window's label under the pointer, the airlock onward
// to the credits, a click back to the main menu, and the quit question answered yes.
void playTerraNuovaSteps(MoonsRun& run) {
    GameHarness& game = run.game;
    EXPECT_EQ(game.var("station_reached"), "1");
    EXPECT_NE(game.log().find("}Terra Nuova. We made it, all three of us."), std::string::npos);
    morvec::Vector2 window = MoonsRun::pointOf(0x0000FF);
    game.move(window.x, window.y);
    game.step();
    EXPECT_EQ(Hud::rolloverText, "Window");
    run.use("0000FF");
    run.use("FF0000");
    ASSERT_EQ(game.activeScene(), "menu.Credits");
    game.stepSeconds(2.0f);
    game.click(213, 160);
    run.settle();
    ASSERT_EQ(game.activeScene(), "menu.MainMenu");
    game.requestQuit();
    game.stepSeconds(0.3f);
    ASSERT_TRUE(game.isShown("cdialog"));
    run.clickGui("cdialog_yes_button");
    EXPECT_TRUE(nimbo::window->isTerminated());
}

} // namespace

// Until the whole-game test holds these segments: the game starts where the cockpit's navigation
// computer lands once the course is set, with the state the ship leaves, Luna current.
TEST(MoonsPathTest, LunaDannyAndVorneReachTerraNuovaFromTheOutpost) {
    GameHarness::Options options;
    options.scene = "schminkell7.Entrance";
    GameHarness game(options);
    game.passLoadingFade();
    for (auto [name, value] :
         {std::pair{"aliens_out_state", "4"}, {"vorne_knows_luna", "1"}, {"kralek_knocked_in_mazslow", "1"},
          {"vorne_knows_planet_code", "1"}, {"has_flight_paper", "1"}, {"course_set", "1"}, {"mazslow_on_jama", "1"},
          {"switchable_characters", "vorne,luna"}, {"vorne_scene", "ship.Cockpit"},
          {"luna_scene", "schminkell7.Entrance"}}) {
        game.setVar(name, value);
    }
    Characters::switchCharacter("luna");
    game.step();
    game.finishTransition();
    game.passLoadingFade();
    ASSERT_EQ(game.activeScene(), "schminkell7.Entrance");
    MoonsRun run(game);
    playSchminkellSteps(run);
    if (::testing::Test::HasFatalFailure()) {
        return;
    }
    playVarionSteps(run);
    if (::testing::Test::HasFatalFailure()) {
        return;
    }
    playTerraNuovaSteps(run);
}
