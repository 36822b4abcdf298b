// The four chapters' smart-hint solvers through the dispatch, each as one walk through its story:
// every row gives the state that the rows before it leave done ("keep", carried on), the row's own
// extra state ("only"), the active scene, the current character and its items; out come the hint,
// the current character, the scene play ends in and what the solver wrote.
#include "HintFixture.h"

#include "chapters/Chapters.h"
#include "script/Inventory.h"
#include "ui/SceneRoutes.h"

#include <vector>

namespace {

struct Row {
    const char* row;
    const char* keep;
    const char* only;
    const char* scene;
    const char* character; // "" for vorne
    const char* items;
    const char* hint;
    const char* after = ""; // the current character afterwards; "" for the same
    const char* where = ""; // the active scene afterwards; "" for the same
    const char* writes = "";
};

class Solvers : public HintGame {
protected:
    void walk(const std::vector<Row>& rows) {
        vessot::String kept;
        for (const Row& row : rows) {
            SCOPED_TRACE(row.row);
            vessot::String character = *row.character ? row.character : "vorne";
            Vars::get("current_character")->setValue(character, true);
            Vars::get("items")->setValue(row.items, true);
            enter(row.scene);
            setVars("vorne_scene= luna_scene= danny_scene= vorne_items= luna_items= danny_items=");
            kept += vessot::String(" ") + row.keep;
            setVars(kept);
            setVars(row.only);
            EXPECT_EQ(Chapters::getSmartHint(), row.hint);
            EXPECT_EQ(var("current_character"), *row.after ? row.after : character.c_str());
            EXPECT_EQ(var("active_scene"), *row.where ? row.where : row.scene);
            for (const vessot::String& pair : vessot::String(row.writes).split(" ", -1, true)) {
                vessot::String name;
                vessot::String value;
                pair.split("=", name, value);
                EXPECT_EQ(var(name), value) << name;
            }
            for (const vessot::String& pair : vessot::String(row.only).split(" ", -1, true)) {
                Variable* variable = Vars::get(pair.split("=")[0]);
                variable->setValue(variable->initialValue, true);
            }
        }
    }
};

TEST_F(Solvers, Ship) {
    walk({
        {"1.1", "", "tutorial_state=41", "ship.Kitchen", "", "", "00FF00", "", "ship.Cockpit",
         "tutorial_state=42 did_guided_hint_tutorial=1 tutorial_arrow="},
        {"1.2", "", "tutorial_state=7", "ship.Kitchen", "", "", ""},
        {"1.3", "", "combination_correct=1", "ship.Router", "", "", "FF0099|cursor_use"},
        {"1.3 unsolved: nothing else counts in the router", "", "", "ship.Router", "", "", ""},
        {"1.4", "", "", "ship.Schematics", "", "", "0000FF"},
        {"1.5", "", "", "ship.CargoHold", "", "", "CC99CC"},
        {"1.5 from the cockpit", "", "", "ship.Cockpit", "", "", "0000FF,0"},
        {"1.5 manual", "picked_up_locators=1", "show_manual=1", "ship.CargoHold", "", "", "0099CC"},
        {"1.5 manual, in the kitchen", "", "show_manual=1", "ship.Kitchen", "", "", "0000FF,0"},
        {"1.5 silicone", "", "cargo_show_silicone=1", "ship.CargoHold", "", "", "6699CC"},
        {"1.6 bucket", "", "", "ship.Kitchen", "", "", "339966"},
        {"1.6 peeler", "picked_up_bucket=1", "", "ship.Kitchen", "", "", "CC9933"},
        {"1.6 wire", "picked_up_peeler=1", "", "ship.Kitchen", "", "", "3333FF"},
        {"1.6 from the cargo hold", "", "", "ship.CargoHold", "", "", "FFFF00,0"},
        {"1.7", "picked_up_wire=1", "", "ship.Cockpit", "", "empty_bucket,silicone", "combine:empty_bucket+silicone"},
        {"1.8 oven", "", "", "ship.Kitchen", "", "", "009900"},
        {"1.8 open oven", "", "oven_opened=1", "ship.Kitchen", "", "", "009900|bucket_with_silicone"},
        {"1.8 baking", "", "bucket/silicone_in_oven=1", "ship.Kitchen", "", "", "FF99FF"},
        {"1.9 wire", "baked_silicone=1", "", "ship.Cockpit", "", "wire", "combine:melt_silicone+wire"},
        {"1.9", "", "", "ship.Cockpit", "", "", "combine:broken_locator+silicone_wire"},
        {"1.10", "has_working_locator=1", "", "ship.Cockpit", "", "locator", "00FF00|locator"},
        {"1.10 from the kitchen", "", "", "ship.Kitchen", "", "locator", "FFFF00,0"},
        {"1.11", "", "", "ship.Cockpit", "", "", "FF00FF"},
        {"1.11 translator seen", "", "looked_at_translator=1", "ship.Cockpit", "", "", "00FF00"},
        {"1.12", "has_schematics=1", "", "ship.Kitchen", "", "", "use:schematics"},
        {"1.13", "schematics_prev_scene=1", "", "ship.Cockpit", "", "", "9900CC"},
        {"1.13 from the kitchen", "", "", "ship.Kitchen", "", "", "FFFF00,0"},
        {"1.14: the only route", "looked_at_wires=1", "", "ship.Cockpit", "", "", "0000FF,0"},
        {"1.14 in the router room", "", "", "ship.Router", "", "", ""},
        {"1.15", "router_solved=1", "", "ship.Kitchen", "", "", "333300"},
        {"1.16", "picked_up_disc=1", "", "ship.Kitchen", "", "disc", "combine:hanky+disc"},
        {"1.17 manual", "", "", "ship.Cockpit", "", "manual,clean_disc", "3300CC|manual"},
        {"1.17 disc", "", "", "ship.Cockpit", "", "clean_disc", "330066|clean_disc"},
        {"1.18", "", "", "ship.Cockpit", "", "", ""},
        {"1.19", "manual_translated=1", "", "ship.CargoHold", "", "", "003366"},
        {"1.20", "rowboat_online=1", "", "ship.EngineRoom", "", "", "00FF00"},
        {"2.1: five petals first", "mazslow_on_jama=1", "", "ship.Cockpit", "", "4_flower,5_flower", "009900|5_flower"},
        {"2.2", "", "", "ship.Cockpit", "", "4_flower", "009900|4_flower"},
        {"2.3", "", "4_flower_in_oven=1", "ship.Cockpit", "", "", "FF99FF"},
        {"2.4", "", "", "ship.Cockpit", "", "baked_5_flower", "use:baked_5_flower"},
        {"2.5", "", "", "ship.Cockpit", "", "baked_4_flower", "0000FF,0"},
        {"2.5 in the kitchen", "", "", "ship.Kitchen", "", "baked_4_flower", "FF00FF,0"},
        {"2.12", "can_take_map=1", "", "ship.Kitchen", "", "", "FF00FF,0"},
        {"2.6", "laren_wants_tobacco=1", "", "ship.Cockpit", "", "5_flower", "009900|5_flower"},
        {"2.7", "", "", "ship.Cockpit", "", "4_flower", "009900|4_flower"},
        {"2.8", "", "", "ship.Cockpit", "", "baked_5_flower", "use:baked_5_flower"},
        {"2.9", "", "", "ship.Cockpit", "", "baked_4_flower", "use:baked_4_flower"},
        {"2.10", "", "", "ship.Kitchen", "", "flower_dust", "FF00FF,0"},
        {"2.11", "", "", "ship.Kitchen", "", "", "FF99FF"},
        {"3.1", "mazslow_on_jama=0 aliens_out_state=4", "", "ship.Kitchen", "", "", "0000FF,0"},
        {"3.2: Vorne takes over in his scene", "vorne_knows_luna=1", "kralek_in_engine_room=1 vorne_scene=ship.Kitchen",
         "ship.Cockpit", "luna", "", "0000FF,0", "vorne", "ship.Kitchen"},
        {"3.2 in the engine room", "", "kralek_in_engine_room=1", "ship.EngineRoom", "", "", "00FF00|hammer"},
        {"3.3", "", "", "ship.Kitchen", "", "", "FFFF00,0", "luna"},
        {"3.4", "kralek_knocked_in_mazslow=1", "", "ship.Charts", "", "", "C69C6D"},
        {"3.4 from the cockpit", "", "", "ship.Cockpit", "", "", "FF0033,0"},
        {"3.5", "vorne_knows_planet_code=1", "", "ship.Cockpit", "", "", "00FF00"},
        {"3.6", "", "cockpit_paper_visible=1", "ship.Cockpit", "", "", "00FFFF"},
        {"3.7", "", "has_flight_paper=1", "ship.Cockpit", "", "", "FF0099|pattern_calculation"},
        {"3.8", "", "has_flight_paper=1 course_set=1", "ship.Kitchen", "", "", "FFFF00,0"},
        {"3.9", "", "cockpit_paper_visible=2", "ship.Cockpit", "", "", ""},
        {"4.1", "aliens_out_state=5 mazslow_on_varion=1", "", "ship.Kitchen", "", "", "FF00FF,0"},
        {"4.2: Danny takes over", "clone_in_room=1 knows_about_migrenes=1 danny_met_clone=1 danny_knows_recipe=1", "",
         "ship.Kitchen", "", "", "333300", "danny"},
        {"4.2 from the cockpit", "", "", "ship.Cockpit", "", "", "0000FF,0", "danny"},
        {"4.3", "cup_taken=1", "", "ship.Kitchen", "", "", "9999FF", "danny"},
        {"4.4: Danny's saved items", "liquid_soap_taken=1", "danny_items=ceramic_cup water_is_in_cup=1", "ship.Cockpit",
         "", "", "combine:liquid_soap+ceramic_cup"},
        {"4.4: a whole item only", "", "danny_items=ceramic_cup_egg water_is_in_cup=1", "ship.Kitchen", "", "",
         "FF00FF,0"},
        {"4.5", "", "danny_items=ceramic_cup water_is_in_cup=1 soap_in_cup=1", "ship.Cockpit", "", "",
         "combine:egg+ceramic_cup"},
        {"4.6", "", "danny_items=ceramic_cup water_is_in_cup=1 soap_in_cup=1 egg_in_cup=1", "ship.Kitchen", "", "",
         "009900|ceramic_cup", "danny"},
        {"4.7", "", "ceramic_cup_in_oven=1", "ship.Kitchen", "luna", "", "FF99FF", "danny"},
        {"4.8", "", "", "ship.Kitchen", "", "", "FF00FF,0"},
        {"no group", "mazslow_on_varion=0", "", "ship.Kitchen", "", "", ""},
    });
}

TEST_F(Solvers, Jama_spacea) {
    walk({
        {"diary", "", "", "jama_spacea.Diary", "", "", "0000FF"},
        {"safe at the solution", "", "knob_1_state=0 knob_2_state=4 knob_3_state=1 knob_4_state=0", "jama_spacea.Safe",
         "", "", "FF33FF|cursor_use"},
        {"safe elsewhere", "", "knob_2_state=4", "jama_spacea.Safe", "", "", ""},
        {"1", "", "", "jama_spacea.Park", "", "", "FF0000"},
        {"1 from the pier: straight up", "", "", "jama_spacea.Pier", "", "", "FFFF00"},
        {"1 from the crossroads", "", "", "jama_spacea.Crossroads", "", "", "FF9A00,0"},
        {"2", "knows_about_crash=1", "", "jama_spacea.Crossroads", "", "", "FEC689"},
        {"3", "needs_map=1", "", "jama_spacea.Motel", "", "", "C7B29A"},
        {"4", "wants_leaves=1", "", "jama_spacea.Park", "", "", "006633"},
        {"5", "flower_taken=1", "", "jama_spacea.LandingSite", "", "", "0000FF,0"},
        {"6", "", "", "jama_spacea.Motel", "", "baked_4_flower", "C7B29A|baked_4_flower"},
        {"7", "can_take_map=1", "", "jama_spacea.Motel", "", "", "FF0000"},
        {"8", "taken_map=1", "", "jama_spacea.Pier", "", "", "F26522|rowboat"},
        {"9", "rowboat_in_water=1", "", "jama_spacea.Pier", "", "", "FF0033"},
        {"10 flint stone", "taken_screwdriver=1", "", "jama_spacea.Crossroads", "", "", "FF9ACF"},
        {"10 screwdriver", "seen_flint_stone=1", "", "jama_spacea.Crossroads", "", "", "FF9ACF|screwdriver"},
        {"10 bolt", "", "", "jama_spacea.Motel", "", "sharp_screwdriver", "FF00FF|sharp_screwdriver"},
        {"10 wheel", "unscrewed_bolt=1", "", "jama_spacea.Motel", "", "sharp_screwdriver", "FF00FF"},
        {"10 onto the rowboat", "taken_wheel=1", "", "jama_spacea.Pier", "", "sharp_screwdriver", "F26522|wheel"},
        {"11", "rowboat_has_wheel=1", "", "jama_spacea.Clearing", "", "", "3366FF"},
        {"11 with the rowboat at the clearing", "", "rowboat_on_clearing=1", "jama_spacea.Clearing", "", "", "3366FF"},
        {"12", "vorne_has_device=1", "", "jama_spacea.Clearing", "", "", "FF66CC"},
        {"13", "taken_battery=1", "", "jama_spacea.Crossroads", "", "", "FEC689|beeping_device"},
        {"14", "crashsite_known=1", "", "jama_spacea.Motel", "", "", "C7B29A"},
        {"14 by rowboat from the clearing", "", "rowboat_on_clearing=1", "jama_spacea.Clearing", "", "", "FF6600"},
        {"14 by rowboat from the dam", "", "rowboat_on_clearing=1", "jama_spacea.Dam", "", "", "FFFF00,0"},
        {"15", "vorne_knows_about_key=1", "", "jama_spacea.Motel", "", "", "C7B29A"},
        {"16", "told_him_about_fuseman=1", "", "jama_spacea.Park", "", "", "FF0000"},
        {"17", "vorne_met_old_man=1", "", "jama_spacea.Motel", "", "", "C7B29A"},
        {"18", "vorne_knows_laren=1", "", "jama_spacea.Windmill", "", "", "003663|battery"},
        {"19", "charged_battery=1", "", "jama_spacea.WindmillInterior", "", "", "FF00FF"},
        {"20", "taken_diary=1", "", "jama_spacea.WindmillInterior", "", "", "FF33CC"},
        {"21", "taken_hammer=1", "", "jama_spacea.WindmillInterior", "", "", "FFCC99"},
        {"22: anywhere", "taken_alcohol=1", "", "jama_spacea.Dam", "", "", "use:diary"},
        {"23", "vorne_read_the_diary=1", "", "jama_spacea.Park", "", "", "FF0000"},
        {"24 plaque", "vorne_knows_larson=1", "", "jama_spacea.Cemetary", "", "plaque", "combine:plaque+melt_silicone"},
        {"24 plaque, elsewhere", "", "", "jama_spacea.Pier", "", "plaque", "F26522,0"},
        {"24", "", "", "jama_spacea.Cemetary", "", "", "006699|plaque_with_silicone"},
        {"24 from the dam, rowboat or not", "", "rowboat_on_clearing=1", "jama_spacea.Dam", "", "", "0000FF,0"},
        {"25", "plaque_fixed=1", "", "jama_spacea.Cemetary", "", "", "006699"},
        {"26", "vorne_knows_grave=1", "", "jama_spacea.Undergrave", "", "", "9966CC|recharged_battery"},
        {"26 battery placed", "", "full_battery_placed=1", "jama_spacea.Undergrave", "", "", "9966CC"},
        {"27", "lights_on=1", "", "jama_spacea.Undergrave", "", "", "FF66FF"},
        {"28 Laren", "looked_at_grave_from_bottom=1", "", "jama_spacea.Park", "", "", "FF0000"},
        {"28 second flower", "laren_wants_tobacco=1", "", "jama_spacea.Park", "", "", "006633"},
        {"28 to the oven", "second_flower_taken=1", "", "jama_spacea.LandingSite", "", "", "0000FF,0"},
        {"28 five", "", "", "jama_spacea.Park", "", "baked_5_flower,baked_4_flower", "use:baked_5_flower"},
        {"28 four", "", "", "jama_spacea.Park", "", "baked_4_flower", "use:baked_4_flower"},
        {"28 dust", "", "", "jama_spacea.Park", "", "flower_dust", "FF0000|flower_dust"},
        {"29", "laren_smoked=1", "", "jama_spacea.Park", "", "", "006699"},
        {"30", "took_cane=1", "", "jama_spacea.Cemetary", "", "cane", "combine:cane+peeler"},
        {"31", "", "", "jama_spacea.Cemetary", "", "sharp_cane", "FF6600|sharp_cane"},
        {"32", "", "", "jama_spacea.Cemetary", "", "", "3366FF|hammer"},
        {"33", "cane_hammered=1", "", "jama_spacea.Undergrave", "", "", "FF66FF|hammer"},
        {"34", "corpse_fallen=1", "", "jama_spacea.Undergrave", "", "", "FF6633"},
        {"35", "taken_dam_key=1", "", "jama_spacea.WindmillInterior", "", "", "FFCC33|dam_key"},
        {"36", "chest_unlocked=1", "", "jama_spacea.WindmillInterior", "", "", "FFCC33"},
        {"37", "taken_explosives_and_note=1", "", "jama_spacea.Cemetary", "", "", "use:note"},
        {"38", "note_readed=1", "", "jama_spacea.Pier", "", "", "use:diary"},
        {"39", "vorne_knows_about_safe=1", "", "jama_spacea.Park", "", "", "996633|windex"},
        {"39 soaked", "", "soaked_with_alcohol=1", "jama_spacea.Park", "", "", "996633|hanky"},
        {"39 vapoured", "", "soaked_with_alcohol=1 alcohol_vapored=1", "jama_spacea.Park", "", "", "996633|windex"},
        {"39 none", "", "soaked_with_alcohol=2", "jama_spacea.Park", "", "", ""},
        {"40", "tree_door_visible=1", "", "jama_spacea.Park", "", "", "996633"},
        {"41", "safe_opened=1", "", "jama_spacea.Dam", "", "fuses", "combine:explosives+fuses"},
        {"40 fuses showing", "", "fuses_visible=1", "jama_spacea.Dam", "", "fuses", "6666CC,0"},
        {"42", "", "", "jama_spacea.Dam", "", "fused_explosives", "CC33CC|fused_explosives"},
        {"43", "", "", "jama_spacea.Crossroads", "", "", "FF9ACF|sharp_screwdriver"},
        {"43 in the stone", "", "screwdriver_in_stone=1", "jama_spacea.Crossroads", "", "", "FF9ACF|hammer"},
        {"43 hammered", "", "flint_hammered=1", "jama_spacea.Crossroads", "", "", "9A9AFF"},
        {"44", "taken_flint=1", "", "jama_spacea.Pier", "", "", "00FF00|flint"},
        {"45", "dam_blownup=1", "", "jama_spacea.CrashSite", "", "", "3399FF|sharp_screwdriver"},
        {"46", "unscrewed_lock=1", "", "jama_spacea.CrashSite", "", "", "3399FF"},
        {"47: anywhere", "looked_in_safe=1", "she_is_here=1", "jama_spacea.Motel", "", "", "C105E7|ashes"},
        {"48: anywhere", "", "", "jama_spacea.Motel", "", "", "3399FF"},
        {"49", "picked_up_aliens=1", "rowboat_on_clearing=1", "jama_spacea.Clearing", "", "", "FF6600"},
        {"50", "", "rowboat_on_clearing=1", "jama_spacea.Dam", "", "", "FFFF00,0"},
        {"51", "", "", "jama_spacea.Park", "", "", ""},
    });
}

TEST_F(Solvers, Schminkell7) {
    walk({
        {"replicator nuke", "", "nuke_schminkell_replicator_state=1", "schminkell7.Storage", "luna", "",
         "6666FF|detonator", "vorne"},
        {"replicator nuke, beam locked", "", "nuke_schminkell_replicator_state=1 kralek_beam_lock=1",
         "schminkell7.Computer", "luna", "", "00AEF0", "vorne"},
        {"1", "", "", "schminkell7.Entrance", "danny", "", "006699", "luna"},
        {"1 from the replicator", "", "", "schminkell7.Replicator", "luna", "", "FFFF00,0"},
        {"2", "taken_fence_piece=1", "", "schminkell7.Saucer", "luna", "", "006666"},
        {"2 from the storage", "", "", "schminkell7.Storage", "luna", "", "0000FF,0"},
        {"3", "taken_canister=1", "", "schminkell7.Saucer", "luna", "", "006600"},
        {"4", "taken_cork=1", "", "schminkell7.Saucer", "luna", "", "FF9900|hammer"},
        {"5", "taken_blue_crystal=1", "", "schminkell7.Storage", "luna", "", "996600|hammer"},
        {"6 box", "taken_red_crystal=1", "", "schminkell7.Storage", "luna", "", "336600"},
        {"6 ion cube", "taken_box=1", "", "schminkell7.Storage", "luna", "", "FF6633"},
        {"7: 6 falls through", "taken_ion_cube=1", "", "schminkell7.Computer", "luna", "", "333366|cork"},
        {"8", "cork_inside=1", "", "schminkell7.Computer", "luna", "", "333366|hammer"},
        {"9", "cork_hammered=1", "", "schminkell7.Saucer", "luna", "star_shaped_stone", "9933FF|star_shaped_stone"},
        {"9 workspace taken", "", "something_on_workspace=1", "schminkell7.Saucer", "luna", "star_shaped_stone",
         "9933FF"},
        {"9 workspace otherwise", "", "something_on_workspace=2", "schminkell7.Saucer", "luna", "star_shaped_stone",
         ""},
        {"10", "", "stone_shape_on=1", "schminkell7.Saucer", "luna", "", "9933FF|hammer"},
        {"11", "", "stone_in=1", "schminkell7.Saucer", "luna", "", "0066CC"},
        {"12", "", "", "schminkell7.Replicator", "luna", "", "0000FF"},
        {"13", "taken_moist_clay=1", "", "schminkell7.Saucer", "luna", "moist_clay,titanium_box",
         "combine:moist_clay+titanium_box"},
        {"13 saved items", "", "luna_items=moist_clay,titanium_box", "schminkell7.Saucer", "danny", "",
         "combine:moist_clay+titanium_box"},
        {"13 whole items only", "", "luna_items=moist_clay,heavy_titanium_box", "schminkell7.Saucer", "danny", "", ""},
        {"13 nothing to combine", "", "", "schminkell7.Saucer", "luna", "moist_clay", ""},
        {"14", "", "", "schminkell7.Saucer", "luna", "box_with_clay,broken_stone",
         "combine:broken_stone+box_with_clay"},
        {"15", "", "", "schminkell7.Computer", "luna", "box_with_clay", "006600|ion_cube"},
        {"16", "ion_cube_put=1", "", "schminkell7.Computer", "luna", "stone_mold", "CC6600|stone_mold"},
        {"17", "", "stone_moldbox_on=1", "schminkell7.Computer", "luna", "", "666600"},
        {"18", "mold_hardened=1", "stone_moldbox_on=1", "schminkell7.Computer", "luna", "", "FF6666"},
        {"19.1", "", "taken_ion_cube=0", "schminkell7.Storage", "luna", "", "FF6633"},
        {"19.2", "", "", "schminkell7.Saucer", "luna", "ion_cube", "9933FF|ion_cube"},
        {"19.2 workspace taken", "", "something_on_workspace=1", "schminkell7.Saucer", "luna", "ion_cube", "9933FF"},
        {"19.3", "", "ion_cube_on=1", "schminkell7.Saucer", "luna", "", "FF33FF"},
        {"19.4", "", "", "schminkell7.Saucer", "luna", "ion_pancake", "9933FF|ion_pancake"},
        {"19.5", "", "", "schminkell7.Saucer", "luna", "stone_mold", "996600|stone_mold"},
        {"19.6", "", "ion_pancake_on=1", "schminkell7.Saucer", "luna", "", "FF33FF"},
        {"19 none", "", "", "schminkell7.Saucer", "luna", "", ""},
        {"20", "", "", "schminkell7.Saucer", "luna", "ion_molded_shape", "0066CC|ion_molded_shape"},
        {"21.1", "ion_shape_in=1", "", "schminkell7.Replicator", "luna", "", "C4DF9B"},
        {"21.2: whatever the crystal's state", "no_crystal=1", "computer_crystal_mold_hardened=1",
         "schminkell7.Replicator", "luna", "purple_crystal", "C4DF9B|purple_crystal"},
        {"21.3a", "", "", "schminkell7.Replicator", "luna", "", "0000FF"},
        {"21.3b", "", "taken_box=0", "schminkell7.Storage", "luna", "moist_clay", "336600"},
        {"21.3c", "", "", "schminkell7.Storage", "luna", "moist_clay,titanium_box", "combine:moist_clay+titanium_box"},
        {"21.3d", "", "", "schminkell7.Storage", "luna", "box_with_clay,defunct_crystal",
         "combine:defunct_crystal+box_with_clay"},
        {"21.3e", "", "", "schminkell7.Computer", "luna", "box_with_clay", "CC6600|crystal_mold"},
        {"21.3f", "", "crystal_moldbox_on=1", "schminkell7.Computer", "luna", "box_with_clay", "666600"},
        {"21.3g", "computer_crystal_mold_hardened=1", "", "schminkell7.Saucer", "luna", "", "9933FF|blue_crystal"},
        {"21.3h", "", "blue_crystal_on=1", "schminkell7.Saucer", "luna", "", "FF33FF"},
        {"21.3i", "crystal_blue_dust_in=1", "", "schminkell7.Saucer", "luna", "", "9933FF|red_crystal"},
        {"21.3j", "", "red_crystal_on=1", "schminkell7.Saucer", "luna", "", "FF33FF"},
        {"21.3k", "crystal_red_dust_in=1", "crystal_blue_dust_in=0", "schminkell7.Saucer", "luna", "blue_dust",
         "combine:blue_dust+crystal_mold"},
        {"21.3l", "", "crystal_red_dust_in=0", "schminkell7.Saucer", "luna", "red_dust",
         "combine:red_dust+crystal_mold"},
        {"21.3m", "", "", "schminkell7.Computer", "luna", "crystal_mold", "CC6600|crystal_mold"},
        {"21.3n", "", "crystal_moldbox_on=1", "schminkell7.Computer", "luna", "", "666600"},
        {"21.3 none", "", "", "schminkell7.Computer", "luna", "", ""},
        {"22", "crystal_replaced=1", "", "schminkell7.Replicator", "luna", "ashes", "C4DF9B|ashes"},
        {"23", "", "", "schminkell7.Replicator", "luna", "", "FF0000"},
        {"24", "danny_alive=1", "", "schminkell7.Storage", "luna", "", "CC66FF"},
        {"25", "looked_at_paper=1", "taken_box=0", "schminkell7.Storage", "luna", "", "336600"},
        {"26", "", "", "schminkell7.Storage", "luna", "", "6666FF|titanium_box"},
        {"27", "", "box_is_on_displacer=1", "schminkell7.Storage", "luna", "", "FF6699"},
        {"28", "", "box_heavy=1 box_is_on_displacer=1", "schminkell7.Storage", "luna", "", "6666FF"},
        {"29", "box_heavy=1", "", "schminkell7.Storage", "luna", "", "6666FF|rowboat"},
        {"29 on the grav", "", "rowboat_on_grav=1", "schminkell7.Storage", "luna", "", "FF6699"},
        {"29 otherwise", "", "rowboat_on_grav=2", "schminkell7.Storage", "luna", "", ""},
        {"30 Danny's slab", "rowboat_heavy=1", "", "schminkell7.Storage", "luna", "", "006666", "danny"},
        {"30 the box", "danny_is_on_storage_slab=1", "", "schminkell7.Saucer", "danny", "", "6666FF|heavy_titanium_box",
         "luna"},
        {"30 the rowboat", "box_on_saucer_slab=1", "", "schminkell7.Computer", "luna", "", "66CC66|rowboat"},
        {"30 Luna's slab", "rowboat_on_computer_slab=1", "", "schminkell7.Saucer", "luna", "", "6666FF"},
        {"30 the tunnel", "luna_on_saucer_slab=1", "", "schminkell7.Saucer", "luna", "", "666633"},
        {"31", "tunnel_opened=1", "", "schminkell7.Computer", "luna", "canister_empty", "9966CC|canister_empty"},
        {"32", "", "", "schminkell7.Saucer", "luna", "charged_canister", "0099FF|charged_canister"},
        {"33", "", "canister_full=1 canister_visible=1", "schminkell7.Saucer", "luna", "", "0099FF"},
        {"34", "", "", "schminkell7.Saucer", "luna", "", ""},
    });
}

TEST_F(Solvers, Varion) {
    walk({
        {"questionnaire 1", "", "pacifist_question_number=1", "varion.Ppa", "danny", "", "00AEF0|cursor_use"},
        {"questionnaire 2", "", "pacifist_question_number=2", "varion.Ppa", "danny", "", "00FF00|cursor_use"},
        {"questionnaire 3", "", "pacifist_question_number=3", "varion.Ppa", "danny", "", "00AEF0|cursor_use"},
        {"questionnaire 4", "", "pacifist_question_number=4", "varion.Ppa", "danny", "", "00AEF0|cursor_use"},
        {"questionnaire 5", "", "pacifist_question_number=5", "varion.Ppa", "danny", "", "FF0000|cursor_use"},
        {"questionnaire 6", "", "pacifist_question_number=6", "varion.Ppa", "danny", "", ""},
        {"willpower 1", "", "willpower_question_number=1", "varion.Ppa", "luna", "", "00FF00|cursor_use"},
        {"willpower 2", "", "willpower_question_number=2", "varion.Ppa", "luna", "", "00AEF0|cursor_use"},
        {"willpower 3", "", "willpower_question_number=3", "varion.Ppa", "luna", "", "FF0000|cursor_use"},
        {"willpower 4", "", "willpower_question_number=4", "varion.Ppa", "luna", "", "00AEF0|cursor_use"},
        {"willpower 5", "", "willpower_question_number=5", "varion.Ppa", "luna", "", "00FF00|cursor_use"},
        {"questionnaire, Vorne", "", "pacifist_question_number=1", "varion.Ppa", "", "", ""},
        {"1", "", "", "varion.Start", "luna", "", "0066FF", "danny"},
        {"2", "taken_pepper=1", "", "varion.Barrier", "danny", "", "00FF00|ID_card"},
        {"3", "danny_can_goto_elevator=1", "danny_met_clone=1", "varion.Barrier", "danny", "", "00FF00"},
        {"4", "", "", "varion.Elevator", "danny", "", "FF99FF"},
        {"5.1", "taken_sprayer=1 clone_in_room=1", "", "varion.RCorridor", "danny", "", "00FF00"},
        {"5.2", "wants_medicine=1", "", "varion.Start", "danny", "", "D0AB1E"},
        {"5.3: in the ship's kitchen", "danny_knows_recipe=1", "danny_scene=ship.Kitchen", "varion.Start", "luna", "",
         "333300", "danny", "ship.Kitchen"},
        {"5.3 from the landing dock", "", "", "varion.LandingDock", "danny", "", "FFFF00,0"},
        {"5.4", "cup_taken=1", "", "varion.LandingDock", "danny", "", "00FF00"},
        {"5.5", "taken_withered_branch=1", "", "varion.Barrier", "danny", "", "754C24|withered_branch"},
        {"5.6", "nest_position=1", "", "varion.Barrier", "danny", "", "C69C6D"},
        {"5.7", "taken_egg=1", "", "varion.Barrier", "danny", "ceramic_cup", "00FFFF|ceramic_cup"},
        {"5.8: Danny's saved items", "", "danny_items=ceramic_cup water_is_in_cup=1", "varion.Barrier", "luna", "",
         "combine:liquid_soap+ceramic_cup"},
        {"5.9", "", "water_is_in_cup=1 soap_in_cup=1", "varion.Barrier", "danny", "ceramic_cup",
         "combine:egg+ceramic_cup"},
        {"5.10: in the ship's kitchen", "",
         "danny_items=ceramic_cup danny_scene=ship.Kitchen water_is_in_cup=1 "
         "soap_in_cup=1 egg_in_cup=1",
         "varion.Start", "luna", "", "009900|ceramic_cup", "danny", "ship.Kitchen"},
        {"5.10 from the start", "", "water_is_in_cup=1 soap_in_cup=1 egg_in_cup=1", "varion.Start", "danny",
         "ceramic_cup", "FFFF00,0"},
        {"5.11: a whole item only", "", "danny_items=ceramic_cup_egg", "varion.RCorridor", "luna", "",
         "00FF00|ceramic_cup_egg", "danny"},
        {"5: none of its rows", "", "", "varion.RCorridor", "danny", "", ""},
        {"6", "clone_in_room=0", "", "varion.RCorridor", "danny", "", "0066FF"},
        {"7", "got_authorization_papers=1", "", "varion.RCorridor", "danny", "", "FF6600"},
        {"8", "seen_scheme=1", "", "varion.RCorridor", "danny", "", "00A651"},
        {"9", "taken_tape=1", "", "varion.LCorridor", "danny", "", "FF66FF"},
        {"10", "taken_logo=1", "", "varion.Barrier", "danny", "", "00FF00|authorization_papers"},
        {"11", "papers_signed=1", "", "varion.Start", "danny", "", "00FF00|sticky_tape"},
        {"12", "rowboat_has_tape=1", "", "varion.Start", "danny", "", "00FF00|kribb_logo"},
        {"13", "rowboat_has_logo=1", "", "varion.InfrontCargo", "danny", "", "FF0000"},
        {"14", "authorized_for_warehouse=1", "", "varion.Warehouse", "danny", "pepper,water_sprayer",
         "combine:pepper+water_sprayer"},
        {"15 Luna in the warehouse", "", "luna_scene=varion.Warehouse", "varion.Warehouse", "danny", "pepper_spray",
         "D0AB1E|pepper_spray"},
        {"15 Luna elsewhere", "", "", "varion.Start", "danny", "pepper_spray", "0000FF,0", "luna"},
        {"16", "", "", "varion.Warehouse", "luna", "", "C4DF9B"},
        {"16 out of the laboratory", "", "luna_entered_from=varion.Elevator", "varion.Laboratory", "luna", "",
         "00FF00"},
        {"16 out of the laboratory, way unknown", "", "", "varion.Laboratory", "luna", "", ""},
        {"17", "taken_blowtorch=1", "", "varion.Warehouse", "luna", "", "FF00FF"},
        {"18", "looked_at_ppa=1", "", "varion.Warehouse", "luna", "", "FF0000|blow_torch"},
        {"19", "grate_torched=1", "", "varion.Warehouse", "luna", "", "FF0000"},
        {"20 sprayer", "grate_opened=1", "luna_gave_vorne_sprayer=1", "varion.Prison", "danny", "",
         "C105E7|pepper_spray", "vorne"},
        {"20 distraction", "", "", "varion.LCorridor", "luna", "", "00FF00", "danny"},
        {"20 spray", "", "distraction_in_progress=1", "varion.Prison", "luna", "", "00FF00|pepper_spray"},
        {"21", "prison_she_down=1", "", "varion.Prison", "luna", "", "C69C6D"},
        {"22", "taken_cell_key=1", "", "varion.Prison", "luna", "", "00A651|cell_key"},
        {"23", "luna_is_interrogator=1", "", "varion.Prison", "luna", "", "BFBFBF"},
        {"24", "knows_about_ppa=1", "", "varion.Laboratory", "danny", "", "FF00FF", "luna"},
        {"24 from the corridor", "", "", "varion.LCorridor", "luna", "", "FF00FF,0"},
        {"24: the scene on screen, before the switch", "", "luna_scene=varion.Prison", "varion.Laboratory", "danny", "",
         "FF00FF", "luna", "varion.Prison"},
        {"25", "knows_about_rotoscope=1", "", "varion.Prison", "luna", "", "BFBFBF"},
        {"26", "knows_how_rotoscope_works=1", "", "varion.Sewers", "luna", "", "FF0000", "vorne"},
        {"27", "strange_object_taken=1", "", "varion.Laboratory", "luna", "", "2E3192|black_hole", "vorne"},
        {"27 from the corridor", "", "", "varion.RCorridor", "", "", "00FF00,0"},
        {"28: Luna's full scene name stays", "black_hole_inserted=1", "luna_scene=varion.Ppa", "varion.Warehouse", "",
         "", "FF00FF", "danny", "", "luna_scene=varion.Ppa"},
        {"29", "danny_got_report=1", "", "varion.Elevator", "danny", "", "0066FF|keycard"},
        {"30", "elevator_door_opened=1", "", "varion.Laboratory", "luna", "", "9E005D|pacifist_report", "danny"},
        {"30 from the elevator", "", "", "varion.Elevator", "danny", "", "FF00FF,0"},
        {"31", "pacifist_report_inserted=1", "", "varion.Warehouse", "danny", "", "FF00FF", "luna"},
        {"32", "luna_got_report=1", "", "varion.Laboratory", "luna", "", "00AEF0|strong_report"},
        {"32 from the warehouse", "", "", "varion.Warehouse", "luna", "", "FF0000,0"},
        {"32 from the elevator", "", "", "varion.Elevator", "luna", "", "0000FF,0"},
        {"33", "strong_report_inserted=1", "", "varion.Elevator", "luna", "", ""},
    });
}

TEST_F(Solvers, ChaptersWithoutHintsAnswerNothing) {
    setVars("tutorial_state=0");
    for (const char* scene : {"ui.Hintbook", "menu.Logo", "intro.Intro01", "terra_nuova.Station"}) {
        enter(scene);
        EXPECT_EQ(Chapters::getSmartHint(), "") << scene;
    }
}

TEST_F(Solvers, TheRequestsChapterIsForgottenAlsoWhenTheSolverFails) {
    enter("jama_spacea.Park");
    Vars::variables.variables.erase("knows_about_crash");
    EXPECT_THROW(Chapters::getSmartHint(), _UnknownVariableException);
    EXPECT_EQ(SceneRoutes::chapterPrefix, "");
    Variable* restored = Vars::getOrCreate("knows_about_crash");
    restored->name = "knows_about_crash";
    restored->setValue("0", true);
    EXPECT_EQ(Chapters::getSmartHint(), "FF0000");
    EXPECT_EQ(SceneRoutes::chapterPrefix, "");
}

} // namespace
