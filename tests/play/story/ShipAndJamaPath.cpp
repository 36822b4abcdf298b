// The path's first half: the front end into a new casual game, the ship's first rooms and puzzles,
// Jama Spacea, and the course set for Schminkell-7.
#include "StoryPath.h"

#include "engine/session/Session.h"
#include "minigames/DominoScene.h"
#include "minigames/JigsawScene.h"
#include "minigames/Match2Scene.h"
#include "minigames/RotatorScene.h"
#include "minigames/SequenceScene.h"
#include "ui/Hints.h"
#include "ui/Hud.h"
#include "ui/Menu.h"

#include "nimbo/Keys.h"
#include "nimboui/Label.h"

#include <cmath>
#include <gtest/gtest.h>

using nimboui::RotatableImageBox;

namespace {

// Enters the minigame through its area and returns its scene.
template <class T> T* enterMinigame(StoryRun& run, const char* colour, const char* scene) {
    run.use(colour);
    EXPECT_EQ(run.scene(), scene);
    return dynamic_cast<T*>(Session::activeScene);
}

// Until the minigame's success sets its variable and the fade leads back, and what it did is said.
void expectSolved(StoryRun& run, const char* variable, const char* backTo) {
    for (int i = 0; i < 100 && run.var(variable) != "1"; ++i) {
        run.game.step();
    }
    EXPECT_EQ(run.var(variable), "1");
    run.settle();
    EXPECT_EQ(run.scene(), backTo);
    run.waitForCharacters(); // the line that tells what the puzzle did
}

// The dial lock below the cockpit's chart: each ring clicked round until it stands at 0.
void solveDialLock(StoryRun& run) {
    auto* dial = enterMinigame<RotatorScene>(run, "00FF80", "ship.DialLock");
    ASSERT_NE(dial, nullptr);
    run.game.stepSeconds(1.5f);
    // A point on each ring's band, right of the common centre (213, 160).
    const float bandX[] = {297, 265, 231};
    for (size_t i = 0; i < dial->getRings().size(); ++i) {
        RotatorRing* ring = dial->getRings()[i];
        for (int clicks = 0; !RotatableImageBox::angleEquals(ring->getDestAngle(), 0); ++clicks) {
            ASSERT_LT(clicks, 8);
            run.game.click(bandX[i], 160);
            run.game.stepSeconds(0.2f);
        }
    }
    expectSolved(run, "dial_solved", "ship.Cockpit");
}

// The galley's gear lock: each gear turns the next, so they are set from the first to the last.
void solveGearLock(StoryRun& run) {
    auto* lock = enterMinigame<DominoScene>(run, "80FF00", "ship.GearLock");
    ASSERT_NE(lock, nullptr);
    run.game.stepSeconds(1.5f);
    for (DominoElement* gear : lock->getTiles()) {
        for (int clicks = 0; !RotatableImageBox::angleEquals(gear->getDestAngle(), gear->getTargetAngle()); ++clicks) {
            ASSERT_LT(clicks, 4);
            run.game.click(gear->getX() + 32, gear->getY() + 32);
            run.game.stepSeconds(0.3f);
        }
    }
    expectSolved(run, "gearlock_solved", "ship.Galley");
}

// The lamp panel above it: the lamps stand in the order 3, 1, 4, 2 and are pressed by their numbers.
void solveLampPanel(StoryRun& run) {
    ASSERT_NE(enterMinigame<SequenceScene>(run, "8000FF", "ship.LampPanel"), nullptr);
    run.game.stepSeconds(1.2f);
    for (float x : {159.0f, 339.0f, 69.0f, 249.0f}) {
        run.game.click(x, 160);
    }
    expectSolved(run, "lamps_solved", "ship.Galley");
}

// The torn picture of the ship: each piece turned upright, then carried to its place; a press takes
// the last loose piece in file order under the point, so they are laid from the last.
void solveShipPicture(StoryRun& run) {
    auto* jigsaw = enterMinigame<JigsawScene>(run, "FF0080", "jama_spacea.ShipPicture");
    ASSERT_NE(jigsaw, nullptr);
    std::vector<JigsawElement*> pieces = jigsaw->getPieces();
    for (auto it = pieces.rbegin(); it != pieces.rend(); ++it) {
        JigsawElement* piece = *it;
        morvec::Vector2 middle = piece->getPosition() + piece->getSize() * 0.5f;
        for (int clicks = 0; !RotatableImageBox::angleEquals(piece->getDestAngle(), 0); ++clicks) {
            ASSERT_LT(clicks, 8);
            run.game.click(middle.x, middle.y);
            run.game.stepSeconds(0.15f);
        }
        morvec::Vector2 target = middle + (piece->getPlace() - piece->getPosition());
        run.game.press(middle.x, middle.y);
        run.game.move((middle.x + target.x) / 2, (middle.y + target.y) / 2);
        run.game.move(target.x, target.y);
        run.game.release(target.x, target.y);
    }
    expectSolved(run, "picture_solved", "jama_spacea.Landing");
}

// The tile tablet: cell by cell in reading order, the tile that belongs there slides along its row
// to the column, then up; neither way passes a cell already done.
void solveTileTablet(StoryRun& run) {
    auto* tablet = enterMinigame<Match2Scene>(run, "0080FF", "jama_spacea.TileTablet");
    ASSERT_NE(tablet, nullptr);
    const std::vector<Match2Element*>& tiles = tablet->getTiles();
    auto cellOf = [](const morvec::Vector2& p) {
        return std::pair{(int)std::lround((p.y - 63) / 65), (int)std::lround((p.x - 116) / 65)};
    };
    auto swap = [&](Match2Element* tile, int row, int column) {
        for (Match2Element* other : tiles) {
            if (cellOf(other->getPosition()) == std::pair{row, column}) {
                run.game.click(tile->getX() + 32, tile->getY() + 32);
                run.game.click(other->getX() + 32, other->getY() + 32);
                run.game.stepSeconds(0.5f);
                return;
            }
        }
    };
    for (int index = 0; index < 9; ++index) {
        Match2Element* tile = tiles[index];
        auto [row, column] = std::pair{index / 3, index % 3};
        for (auto at = cellOf(tile->getPosition()); at.second != column; at = cellOf(tile->getPosition())) {
            swap(tile, at.first, at.second + (column > at.second ? 1 : -1));
        }
        for (auto at = cellOf(tile->getPosition()); at.first != row; at = cellOf(tile->getPosition())) {
            swap(tile, at.first - 1, at.second);
        }
    }
    expectSolved(run, "tablet_solved", "jama_spacea.Landing");
}

// The router's four dials, given up on: the skip button fills over 90 s of the puzzle on screen, and
// its click sets them.
void skipTheRouter(StoryRun& run) {
    ASSERT_EQ(run.scene(), "ship.Router");
    EXPECT_EQ(run.var("combination_correct"), "0");
    run.game.click(402, 24); // too early: nothing changes
    run.game.step();
    EXPECT_EQ(run.var("combination_correct"), "0");
    run.game.stepSeconds(90.5f);
    run.game.click(402, 24);
    run.settle();
    EXPECT_EQ(run.var("red") + run.var("green") + run.var("blue") + run.var("yellow"), "2123");
    EXPECT_EQ(run.var("combination_correct"), "1");
}

// The ship's own chain before the first planet, as its hints lead: a locator from the cargo hold,
// mended with silicone melted in the kitchen's oven; the ship's computer reads it into the wiring
// drawing, which tells how to set the router's dials; a disc wiped clean gives the manual to the
// translator; with the rowboat made ready in the hold, the computer lands the ship on Jama Spacea.
void mendTheLocatorAndLand(StoryRun& run) {
    ASSERT_EQ(run.scene(), "ship.Cockpit");
    // Down through the kitchen into the cargo hold, hint by hint.
    EXPECT_EQ(run.followHint(), "0000FF");
    EXPECT_EQ(run.followHint(), "0000FF");
    ASSERT_EQ(run.scene(), "ship.CargoHold");
    EXPECT_EQ(run.followHint(), "CC99CC");
    EXPECT_TRUE(run.holds("broken_locator"));
    run.use("6699CC");
    EXPECT_TRUE(run.holds("silicone"));

    // The kitchen: the bucket, the peeler and a wire; the silicone melted in the oven.
    run.use("FFFF00");
    ASSERT_EQ(run.scene(), "ship.Kitchen");
    run.hintHere = "339966";
    run.use("FF00FF"); // the hatch stays shut in space
    run.hintHere = nullptr;
    EXPECT_EQ(run.scene(), "ship.Kitchen");
    for (const char* thing : {"339966", "CC9933", "3333FF"}) {
        run.use(thing);
    }
    run.combine("empty_bucket", "silicone");
    run.use("009900");
    run.use("009900", "bucket_with_silicone");
    run.use("FF99FF");
    EXPECT_TRUE(run.holds("melt_silicone"));
    run.combine("melt_silicone", "wire");
    run.combine("broken_locator", "silicone_wire");
    EXPECT_TRUE(run.holds("locator") && run.holds("melt_silicone"));
    EXPECT_EQ(run.var("has_working_locator") + run.var("baked_silicone"), "11");

    // The computer reads the locator into the wiring drawing, looked at, and the wiring itself.
    run.use("FFFF00");
    run.use("00FF00", "locator");
    run.useItem("schematics");
    ASSERT_EQ(run.scene(), "ship.Schematics");
    run.use("0000FF");
    ASSERT_EQ(run.scene(), "ship.Cockpit");
    EXPECT_EQ(run.followHint(), "9900CC");

    // The hints lead to the router room, where the skip sets the dials and the cabinet routes; Vorne
    // goes back to the engine room.
    for (const char* exit : {"0000FF", "0000FF", "0000FF", "FF0033"}) {
        EXPECT_EQ(run.followHint(), exit);
    }
    skipTheRouter(run);
    EXPECT_EQ(run.followHint(), "FF0099");
    EXPECT_EQ(run.var("router_solved"), "1");
    ASSERT_EQ(run.scene(), "ship.EngineRoom");

    // The cupboard's dusty disc, wiped with its hanky, into the cockpit's drive: the manual read.
    for (const char* exit : {"FFFF00", "FFFF00"}) {
        run.use(exit);
    }
    ASSERT_EQ(run.scene(), "ship.Kitchen");
    run.use("333300");
    run.combine("hanky", "disc");
    EXPECT_TRUE(run.holds("clean_disc") && run.holds("hanky"));
    run.use("FFFF00");
    run.use("330066", "clean_disc");
    EXPECT_EQ(run.var("manual_translated"), "1");

    // The rowboat in the hold made ready, Vorne goes up to the computer, which lands the ship.
    for (const char* exit : {"0000FF", "0000FF", "003366"}) {
        EXPECT_EQ(run.followHint(), exit);
    }
    EXPECT_EQ(run.var("rowboat_online"), "1");
    ASSERT_EQ(run.scene(), "ship.Cockpit");
    EXPECT_EQ(run.followHint(), "00FF00");
    EXPECT_EQ(run.var("mazslow_on_jama"), "1");
    EXPECT_EQ(Session::activeScene->chapter->getObject("cockpit_landed_jama")->getParent(), Session::activeScene->root);
    EXPECT_EQ(run.var("hint_ship_1_locators") + run.var("hint_ship_2_silicone") + run.var("hint_ship_3_router"), "000");
}

// Through the exits in turn; the scene reached.
void walk(StoryRun& run, std::initializer_list<const char*> exits, const char* to) {
    for (const char* exit : exits) {
        run.use(exit);
    }
    ASSERT_EQ(run.scene(), to);
}

// By rowboat from the pier over the lake's map to the dam (the rowboat waits at the clearing).
void rowToTheDam(StoryRun& run) {
    walk(run, {"F26522", "FF99CC"}, "jama_spacea.Dam");
}

// From the dam to the clearing, where the rowboat waits, and rowed back to the pier.
void rowBackToThePier(StoryRun& run) {
    walk(run, {"FFFF00", "FF6600"}, "jama_spacea.RowboatToPier");
    run.game.stepSeconds(3.5f);
    run.settle();
    ASSERT_EQ(run.scene(), "jama_spacea.Pier");
}

// The wheel for the rowboat: the screwdriver from the pier sharpened on the crossroads' stone, the
// motel cart's bolt unscrewed with it.
void fitTheWheel(StoryRun& run) {
    ASSERT_EQ(run.scene(), "jama_spacea.Pier");
    EXPECT_EQ(run.followHint(), "FF0033");
    EXPECT_TRUE(run.holds("screwdriver"));
    walk(run, {"FFFF00"}, "jama_spacea.Crossroads");
    run.use("FF9ACF");
    run.use("FF9ACF", "screwdriver");
    walk(run, {"FF9A00"}, "jama_spacea.Motel");
    run.use("FF00FF", "sharp_screwdriver");
    run.use("FF00FF");
    walk(run, {"FFFF00", "0000FF"}, "jama_spacea.Pier");
    run.use("F26522", "wheel");
    EXPECT_EQ(run.var("rowboat_has_wheel"), "1");
}

// Over the lake to the clearing: the beeping device and a battery; the device finds the crash site
// on the signpost; the keeper, the old man and the keeper again tell of Laren, his key and his
// fuses; the windmill charges the battery and holds the diary, the hammer and the window cleaner.
void learnOfLaren(StoryRun& run) {
    rowToTheDam(run);
    walk(run, {"FFFF00"}, "jama_spacea.Clearing");
    run.use("3366FF");
    run.use("FF66CC");
    EXPECT_TRUE(run.holds("beeping_device") && run.holds("battery"));
    walk(run, {"FF6600"}, "jama_spacea.RowboatToPier");
    run.game.stepSeconds(3.5f); // rowed back
    run.settle();
    walk(run, {"FFFF00"}, "jama_spacea.Crossroads");
    run.use("FEC689", "beeping_device");
    walk(run, {"FF9A00"}, "jama_spacea.Motel");
    run.use("C7B29A");
    run.use("C7B29A");
    walk(run, {"0000FF"}, "jama_spacea.Park");
    run.use("FF0000");
    walk(run, {"FFFF00"}, "jama_spacea.Motel");
    run.use("C7B29A");
    EXPECT_EQ(run.var("crashsite_known") + run.var("vorne_knows_about_key") + run.var("told_him_about_fuseman") +
                  run.var("vorne_met_old_man") + run.var("vorne_knows_laren"),
              "11111");
    walk(run, {"C69C6D"}, "jama_spacea.Windmill");
    run.use("003663", "battery");
    walk(run, {"FF0000"}, "jama_spacea.WindmillInterior");
    for (const char* thing : {"FF00FF", "FF33CC", "FFCC99"}) {
        run.use(thing);
    }
    EXPECT_TRUE(run.holds("recharged_battery") && run.holds("diary") && run.holds("hammer") && run.holds("windex"));
    run.useItem("diary");
    ASSERT_EQ(run.scene(), "jama_spacea.Diary");
    walk(run, {"0000FF"}, "jama_spacea.WindmillInterior");
    walk(run, {"FFFF00", "FFFF00", "0000FF"}, "jama_spacea.Park");
    run.use("FF0000");
    EXPECT_EQ(run.var("vorne_read_the_diary") + run.var("vorne_knows_larson"), "11");
    EXPECT_TRUE(run.holds("plaque"));
}

// Laren's grave: its plaque, which the old man gave, stuck back with the melted silicone from the
// ship; the crypt below lit
// with the charged battery; the old man's smoke, a second flower baked in the ship's oven and
// crumbled; his cane sharpened with the peeler and driven through the grave with the hammer, so
// that the coffin falls: the dam key and the ashes.
void openLarensGrave(StoryRun& run) {
    walk(run, {"FFFF00", "FFFF00", "0000FF"}, "jama_spacea.Pier");
    rowToTheDam(run);
    walk(run, {"0000FF"}, "jama_spacea.Cemetary");
    run.combine("plaque", "melt_silicone");
    run.use("006699", "plaque_with_silicone");
    walk(run, {"006699"}, "jama_spacea.Plaque");
    walk(run, {"0000FF", "FFFF00", "0066FF"}, "jama_spacea.Undergrave");
    EXPECT_EQ(run.var("plaque_fixed") + run.var("vorne_knows_grave"), "11");
    run.use("9966CC", "recharged_battery");
    run.use("9966CC");
    run.use("FF66FF");
    EXPECT_EQ(run.var("lights_on") + run.var("looked_at_grave_from_bottom"), "11");

    walk(run, {"FFFF00"}, "jama_spacea.Dam");
    rowBackToThePier(run);
    walk(run, {"FFFF00", "FF9A00", "0000FF"}, "jama_spacea.Park");
    run.use("FF0000");
    run.use("006633");
    EXPECT_TRUE(run.holds("5_flower"));
    walk(run, {"FFFF00", "FFFF00", "FFFF00", "0000FF"}, "ship.Kitchen");
    run.use("009900", "5_flower");
    run.use("FF99FF");
    run.useItem("baked_5_flower");
    EXPECT_TRUE(run.holds("flower_dust"));
    walk(run, {"FF00FF", "FFFF00", "FF9A00", "0000FF"}, "jama_spacea.Park");
    run.use("FF0000", "flower_dust");
    run.use("006699");
    EXPECT_EQ(run.var("laren_smoked") + run.var("laren_wants_tobacco") + run.var("took_cane"), "101");

    walk(run, {"FFFF00", "FFFF00", "0000FF"}, "jama_spacea.Pier");
    rowToTheDam(run);
    walk(run, {"0000FF"}, "jama_spacea.Cemetary");
    run.combine("cane", "peeler");
    run.use("FF6600", "sharp_cane");
    run.use("3366FF", "hammer");
    walk(run, {"FFFF00", "0066FF"}, "jama_spacea.Undergrave");
    run.use("FF66FF", "hammer");
    run.use("FF6633");
    EXPECT_EQ(run.var("cane_hammered") + run.var("corpse_fallen"), "11");
    EXPECT_TRUE(run.holds("dam_key") && run.holds("ashes"));
}

// The chest in the windmill opened with the dam key: the explosives and a note that tells, with the
// diary, of the safe in the old tree; the tree's door shown with the window cleaner and the hanky;
// the safe's knobs set by the diary, and the hint marks its handle once they stand right: the fuses.
void openTheSafe(StoryRun& run) {
    walk(run, {"FFFF00"}, "jama_spacea.Dam");
    rowBackToThePier(run);
    walk(run, {"F26522", "999900", "FF0000"}, "jama_spacea.WindmillInterior");
    run.use("FFCC33", "dam_key");
    run.use("FFCC33");
    EXPECT_TRUE(run.holds("explosives") && run.holds("note"));
    run.useItem("note");
    run.useItem("diary");
    walk(run, {"0000FF"}, "jama_spacea.WindmillInterior");
    EXPECT_EQ(run.var("note_readed") + run.var("vorne_knows_about_safe"), "11");
    walk(run, {"FFFF00", "FFFF00", "0000FF"}, "jama_spacea.Park");
    run.use("996633", "windex");
    run.use("996633", "hanky");
    run.use("996633");
    EXPECT_EQ(run.var("tree_door_opened"), "1");
    walk(run, {"996633"}, "jama_spacea.Safe");
    const std::pair<const char*, int> knobs[] = {{"FF6666", 0}, {"66FF66", 4}, {"6666FF", 1}, {"FFAA00", 0}};
    for (int i = 0; i < 4; ++i) {
        std::string state = "knob_" + std::to_string(i + 1) + "_state";
        for (int turns = 0; run.var(state.c_str()).toInt() != knobs[i].second; ++turns) {
            ASSERT_LT(turns, 6) << state;
            run.use(knobs[i].first);
        }
    }
    EXPECT_EQ(run.followHint(), "FF33FF");
    ASSERT_EQ(run.scene(), "jama_spacea.Park");
    run.use("996633");
    EXPECT_TRUE(run.holds("fuses"));
}

// The dam blown: the fused explosives in its crack, a flint struck from the crossroads' stone
// (wedged with the screwdriver, cracked with the hammer) lights the fuse at the pier. The rowboat
// then reaches the crash site: its hatch unscrewed, its keeper blinded with Laren's ashes, and the
// aliens come along, back aboard.
void freeTheAliens(StoryRun& run) {
    walk(run, {"FFFF00", "FFFF00", "0000FF"}, "jama_spacea.Pier");
    rowToTheDam(run);
    run.combine("explosives", "fuses");
    run.use("CC33CC", "fused_explosives");
    rowBackToThePier(run);
    walk(run, {"FFFF00"}, "jama_spacea.Crossroads");
    run.use("FF9ACF", "sharp_screwdriver");
    run.use("FF9ACF", "hammer");
    run.use("9A9AFF");
    EXPECT_TRUE(run.holds("flint"));
    walk(run, {"0000FF"}, "jama_spacea.Pier");
    run.use("00FF00", "flint");
    EXPECT_EQ(run.var("dam_blownup"), "1");
    walk(run, {"F26522"}, "jama_spacea.CrashSite");
    run.use("3399FF", "sharp_screwdriver");
    run.use("3399FF");
    run.hintHere = "C105E7|ashes"; // while she watches, the hatch says why the aliens stay inside
    run.use("3399FF");
    run.hintHere = nullptr;
    EXPECT_NE(run.game.log().find("They won't come out while she is watching."), std::string::npos);
    run.use("C105E7", "ashes");
    run.use("3399FF");
    EXPECT_EQ(run.var("unscrewed_lock") + run.var("she_cant_see") + run.var("picked_up_aliens"), "111");
}

} // namespace

void playFrontEndIntoShip(StoryRun& run) {
    ASSERT_EQ(run.scene(), "menu.Logo");
    run.press(nimbo::KEY_SPACE); // the logo ends at Space
    ASSERT_EQ(run.scene(), "menu.FirstTimeProfile");
    run.game.type("Anna");
    run.press(nimbo::KEY_ENTER);
    ASSERT_EQ(run.scene(), "menu.MainMenu");
    EXPECT_EQ(Menu::objectOf<nimboui::Label>("profile_btn")->getDisplayedText(), "Profile: Anna");

    // The settings, from the main menu and back: footsteps off.
    run.pressMenu("settings_btn");
    ASSERT_EQ(run.scene(), "ui.SettingsMenu");
    run.pressInterface("settings_footsteps_switch");
    run.pressInterface("settings_close");
    ASSERT_EQ(run.scene(), "menu.MainMenu");
    EXPECT_EQ(Session::getParam("footstep_sounds"), "0");

    run.pressMenu("new_game_btn");
    ASSERT_EQ(run.scene(), "menu.ModeMenu");
    run.pressMenu("vorne_casual");
    run.pressMenu("modemenu_ok");
    ASSERT_EQ(run.scene(), "intro.Intro01");
    run.use("00FF00"); // a click goes aboard
    ASSERT_EQ(run.scene(), "ship.Cockpit");
    EXPECT_EQ(run.var("casual_mode"), "1");
    EXPECT_EQ(run.var("tutorial_state"), "41");
    EXPECT_EQ(run.var("items"), "");
    EXPECT_EQ(run.missingResources(), "");
}

void playShipToJama(StoryRun& run) {
    // The hover label names what lies under the pointer.
    EXPECT_EQ(run.hoverOver("FF4000"), "Toolbox");
    // The guided hint tutorial: its arrow points at the hint button; pressed, the hint marks the
    // ship's computer, and the click on it ends the tutorial. Until then the hint has nothing more.
    EXPECT_NE(run.var("tutorial_arrow"), "");
    run.press(nimbo::KEY_ENTER);
    EXPECT_EQ(run.var("did_guided_hint_tutorial") + run.var("tutorial_state"), "142");
    EXPECT_EQ(Hints::marker.position, run.areaCentre("00FF00"));
    run.hintHere = "";
    run.use("00FF00");
    EXPECT_EQ(run.var("tutorial_state"), "0");

    // The cockpit's things, which no hint leads to: the hint leads on to the cargo hold's locators,
    // through the kitchen. The log begins the adventure, with its popup.
    run.hintHere = "0000FF";
    run.use("FFFF00");
    EXPECT_TRUE(run.game.isShown("achievement_1"));
    // The shelf and the toolbox; the battery and the wire make a jumper lead for the radio.
    run.use("FF8040");
    run.use("FF4000");
    EXPECT_EQ(run.var("items"), "cup,torch,keycard,battery,wire");
    run.combine("battery", "wire");
    run.use("8040FF", "jumper_lead");
    EXPECT_EQ(run.var("radio_powered"), "1");
    solveDialLock(run);
    EXPECT_TRUE(run.holds("battery")); // a spare, from behind the dial lock
    run.hintHere = nullptr;
    mendTheLocatorAndLand(run);

    // Through the corridor to the galley, which no hint leads to either: the intercom, the locker and
    // the two locks. The hint leads on to the landing site, through the kitchen.
    run.hintHere = "0000FF";
    run.use("008000");
    ASSERT_EQ(run.scene(), "ship.Corridor");
    run.hintHere = "00FF00";
    run.use("00FFFF");
    ASSERT_EQ(run.scene(), "ship.Galley");
    run.use("40FFC0");
    run.answer("2131");
    EXPECT_EQ(run.var("ship_dlgflags"), ";ASK_SYSTEMS;ASK_OXYGEN;ASK_COURSE");
    run.answer("2");
    EXPECT_FALSE(run.game.isShown("dialog"));
    run.use("FF8000");
    EXPECT_TRUE(run.holds("spanner"));
    solveGearLock(run);
    solveLampPanel(run);

    // Down the hatch, with an oxygen mask, to the first landing.
    run.use("FFFF00");
    EXPECT_EQ(run.scene(), "jama_spacea.Landing");
    EXPECT_TRUE(run.holds("oxygen_mask"));
    EXPECT_EQ(run.var("dial_solved") + run.var("gearlock_solved") + run.var("lamps_solved"), "111");
}

void playJama(StoryRun& run) {
    // The first landing, still off the hints' way: the verb coin on the scanner, the mask for the
    // tank, the spanner for the cache, and the two minigames; the hint leads back up.
    run.hintHere = "00FF00";
    run.use("008080");
    ASSERT_TRUE(run.game.isShown("choice_use"));
    run.pressInterface("choice_use");
    run.game.stepSeconds(1.0f);
    run.waitForCharacters(); // its ping, said
    EXPECT_EQ(run.var("scanner_scans"), "1");
    run.use("C000C0", "oxygen_mask");
    EXPECT_EQ(run.var("tank_filled"), "1");
    run.use("408000", "spanner");
    EXPECT_EQ(run.var("cache_open"), "1");
    solveShipPicture(run);
    solveTileTablet(run);
    run.hintHere = nullptr;

    // Back up the ramp and through the ship to the kitchen's hatch, down to the landing site.
    for (const char* exit : {"00FF00", "00FF00", "00FF00", "0000FF", "FF00FF"}) {
        run.use(exit);
    }
    ASSERT_EQ(run.scene(), "jama_spacea.LandingSite");
    // The old man in the park tells of the crash, the signpost names no place, the motel's keeper
    // wants a baked flower for the map, and the flower bed gives one.
    walk(run, {"FFFF00", "FF9A00", "0000FF"}, "jama_spacea.Park");
    run.use("FF0000");
    walk(run, {"FFFF00", "FFFF00"}, "jama_spacea.Crossroads");
    run.use("FEC689");
    run.use("FF9A00");
    run.use("C7B29A");
    run.use("0000FF");
    run.use("006633");
    EXPECT_EQ(run.var("needs_map") + run.var("wants_leaves") + run.var("knows_about_crash"), "111");
    EXPECT_TRUE(run.holds("4_flower"));

    // Baked in the ship's oven: back to the landing site and up into the kitchen.
    for (const char* exit : {"FFFF00", "FFFF00", "FFFF00", "0000FF"}) {
        run.use(exit);
    }
    ASSERT_EQ(run.scene(), "ship.Kitchen");
    run.use("009900", "4_flower");
    EXPECT_EQ(run.var("4_flower_in_oven"), "1");
    run.use("FF99FF");
    EXPECT_TRUE(run.holds("baked_4_flower"));

    // The keeper takes it: the map and the rowboat, which goes into the lake at the pier.
    for (const char* exit : {"FF00FF", "FFFF00", "FF9A00"}) {
        run.use(exit);
    }
    ASSERT_EQ(run.scene(), "jama_spacea.Motel");
    run.use("C7B29A", "baked_4_flower");
    run.use("FF0000");
    EXPECT_TRUE(run.holds("map") && run.holds("rowboat"));
    run.use("FFFF00");
    run.use("0000FF");
    ASSERT_EQ(run.scene(), "jama_spacea.Pier");
    run.use("F26522", "rowboat");
    EXPECT_EQ(run.var("rowboat_in_water"), "1");
    fitTheWheel(run);
    learnOfLaren(run);
    openLarensGrave(run);
    openTheSafe(run);
    freeTheAliens(run);

    // Back aboard, in the cargo hold, and the ship takes off.
    ASSERT_EQ(run.scene(), "ship.CargoHold");
    run.waitForCharacters(); // Luna tells Vorne who she is
    EXPECT_EQ(run.var("mazslow_on_jama") + run.var("aliens_out_state"), "04");
    EXPECT_EQ(run.var("can_take_map") + run.var("taken_map"), "11");
    EXPECT_FALSE(run.holds("rowboat") || run.holds("baked_4_flower"));
}
void playShipToSchminkell(StoryRun& run) {
    // The hint book, opened by its key, names the task at hand, and closes again.
    run.press('D');
    EXPECT_EQ(run.scene(), "ui.Hintbook");
    EXPECT_EQ(Hud::uiObjectOf<nimboui::Label>("hint1_title")->getTextKey(), "HINT_SHIP_5_COURSE_00");
    run.press(nimbo::KEY_ESCAPE);
    ASSERT_EQ(run.scene(), "ship.CargoHold");
    // The hint hands the play to Luna, whose look at the ship's computer finds Kralek in the engine;
    // then to Vorne, whose hammer on the engine knocks him out.
    walk(run, {"FFFF00", "FFFF00"}, "ship.Cockpit");
    EXPECT_EQ(run.var("current_character"), "luna");
    size_t said = run.game.log().size(); // the click says one thing
    run.use("00FF00");
    EXPECT_EQ(run.game.log().find("say: ", run.game.log().find("say: ", said) + 1), std::string::npos);
    walk(run, {"0000FF"}, "ship.EngineRoom");
    run.use("00FF00", "hammer");
    // The next planet's code from the star chart; the ship's computer prints the flight paper, which
    // from its tray sets the course in the navigation computer, which then flies the ship on.
    walk(run, {"FFFF00", "FFFF00", "FFFF00", "FF0033"}, "ship.Charts");
    run.use("C69C6D");
    walk(run, {"0000FF"}, "ship.Cockpit");
    run.use("00FF00");
    run.use("00FFFF");
    EXPECT_TRUE(run.holds("pattern_calculation"));
    run.use("FF0099", "pattern_calculation");
    EXPECT_EQ(run.var("course_set") + run.var("has_flight_paper"), "11");
    run.use("FF0099");
    EXPECT_EQ(run.scene(), "schminkell7.Entrance");
    EXPECT_FALSE(run.holds("pattern_calculation"));
}
