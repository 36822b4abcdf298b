#include "chapters/ship/ShipHints.h"

#include "chapters/HintSteps.h"
#include "chapters/schminkell7/Schminkell7Hints.h"
#include "engine/session/Session.h"
#include "engine/session/Vars.h"
#include "script/Characters.h"
#include "script/Inventory.h"
#include "ui/SceneRoutes.h"

namespace Ship {

namespace {

using HintSteps::number;
using Inventory::hasItem;

// The route graph: from, to, the exit's colour in the from-scene; the corridor, the galley and the
// first landing below it follow the ship's own rooms. The wiring drawing has no links: it closes
// back to where it was opened.
const char* const LINKS[][3] = {
    {"Cockpit", "Kitchen", "0000FF"},
    {"Cockpit", "Charts", "FF0033"},
    {"Charts", "Cockpit", "0000FF"},
    {"Kitchen", "CargoHold", "0000FF"},
    {"Kitchen", "Cockpit", "FFFF00"},
    {"Kitchen", "jama_spacea.LandingSite", "FF00FF"},
    {"Kitchen", "varion.LandingDock", "FF00FF"},
    {"CargoHold", "Kitchen", "FFFF00"},
    {"CargoHold", "EngineRoom", "0000FF"},
    {"EngineRoom", "CargoHold", "FFFF00"},
    {"EngineRoom", "Router", "FF0033"},
    {"Router", "EngineRoom", "0000FF"},
    {"Cockpit", "Corridor", "008000"},
    {"Corridor", "Cockpit", "00FF00"},
    {"Corridor", "Galley", "00FFFF"},
    {"Galley", "Corridor", "00FF00"},
    {"Galley", "jama_spacea.Landing", "FFFF00"},
};

// The guided hint tutorial ends with this hint: back to the cockpit, with the marker on the console.
String finishTutorial() {
    Vars::get("did_guided_hint_tutorial")->setValue("1", true);
    Vars::get("tutorial_state")->setValue("42", false);
    Vars::get("tutorial_arrow")->setValue("", true);
    Session::switchScene("ship.Cockpit", "", "", 0.0f);
    return "00FF00";
}

// The ship's own puzzles, before the first planet.
String beforeThePlanets(const String& scene) {
    if (number("tutorial_state") == 41) {
        return finishTutorial();
    }
    if (number("tutorial_state") != 0) {
        return "";
    }
    if (scene == "Router") {
        return number("combination_correct") == 1 ? "FF0099|cursor_use" : "";
    }
    if (scene == "Schematics") {
        return "0000FF";
    }
    if (number("picked_up_locators") == 0 || number("show_manual") == 1 || number("cargo_show_silicone") == 1) {
        return hintToward("CargoHold", number("picked_up_locators") == 0 ? "CC99CC"
                                       : number("show_manual") == 1      ? "0099CC"
                                                                         : "6699CC");
    }
    if (number("picked_up_bucket") == 0) {
        return hintToward("Kitchen", "339966");
    }
    if (number("picked_up_peeler") == 0) {
        return hintToward("Kitchen", "CC9933");
    }
    if (number("picked_up_wire") == 0) {
        return hintToward("Kitchen", "3333FF");
    }
    if (hasItem("empty_bucket") && hasItem("silicone")) {
        return "combine:empty_bucket+silicone";
    }
    if (number("baked_silicone") == 0) {
        return hintToward("Kitchen", number("bucket/silicone_in_oven") != 0 ? "FF99FF"
                                     : number("oven_opened") == 0           ? "009900"
                                                                            : "009900|bucket_with_silicone");
    }
    if (number("has_working_locator") == 0) {
        return hasItem("wire") ? "combine:melt_silicone+wire" : "combine:broken_locator+silicone_wire";
    }
    if (hasItem("locator")) {
        return hintToward("Cockpit", "00FF00|locator");
    }
    if (number("manual_translated") == 0 && number("router_solved") == 0) {
        if (number("has_schematics") == 0) {
            return hintToward("Cockpit", number("looked_at_translator") == 0 ? "FF00FF" : "00FF00");
        }
        if (number("schematics_prev_scene") == 0) {
            return "use:schematics";
        }
        if (number("looked_at_wires") == 0) {
            return hintToward("Cockpit", "9900CC");
        }
        return HintSteps::routeStep("Router");
    }
    if (number("manual_translated") == 0) {
        if (number("picked_up_disc") == 0) {
            return hintToward("Kitchen", "333300");
        }
        if (hasItem("disc")) {
            return "combine:hanky+disc";
        }
        if (hasItem("manual") || hasItem("clean_disc")) {
            return hintToward("Cockpit", hasItem("manual") ? "3300CC|manual" : "330066|clean_disc");
        }
        return "";
    }
    if (number("rowboat_online") == 0) {
        return hintToward("CargoHold", "003366");
    }
    return "00FF00";
}

// Mazslow on the first planet: the flowers Laren smokes are baked in the galley's oven.
String mazslowOnJama() {
    bool baked = hasItem("baked_4_flower") || hasItem("baked_5_flower");
    bool ovenEmpty = number("5_flower_in_oven") == 0 && number("4_flower_in_oven") == 0;
    if (number("can_take_map") == 0) {
        if (!baked && hasItem("5_flower") && ovenEmpty) {
            return "009900|5_flower";
        }
        if (!baked && hasItem("4_flower") && ovenEmpty) {
            return "009900|4_flower";
        }
        if (!baked && (number("5_flower_in_oven") == 1 || number("4_flower_in_oven") == 1)) {
            return "FF99FF";
        }
        if (hasItem("baked_5_flower")) {
            return "use:baked_5_flower";
        }
        if (hasItem("baked_4_flower")) {
            return HintSteps::routeStep("jama_spacea.LandingSite");
        }
    }
    if (number("laren_wants_tobacco") == 1) {
        if (hasItem("5_flower")) {
            return "009900|5_flower";
        }
        if (hasItem("4_flower")) {
            return "009900|4_flower";
        }
        if (hasItem("baked_5_flower")) {
            return "use:baked_5_flower";
        }
        if (hasItem("baked_4_flower")) {
            return "use:baked_4_flower";
        }
        if (hasItem("flower_dust")) {
            return HintSteps::routeStep("jama_spacea.LandingSite");
        }
        return "FF99FF";
    }
    return HintSteps::routeStep("jama_spacea.LandingSite");
}

// The aliens are out: Luna joins and the course to the next planet is set.
String aliensOut() {
    if (number("vorne_knows_luna") == 0) {
        return HintSteps::routeStep("CargoHold");
    }
    if (number("kralek_knocked_in_mazslow") == 0) {
        if (number("kralek_in_engine_room") == 1) {
            Characters::switchCharacter("vorne");
            return hintToward("EngineRoom", "00FF00|hammer");
        }
        Characters::switchCharacter("luna");
        return hintToward("Cockpit", "00FF00");
    }
    if (number("vorne_knows_planet_code") == 0) {
        return hintToward("Charts", "C69C6D");
    }
    // The computer prints the flight paper, which sets the course in the navigation computer.
    int paperVisible = number("cockpit_paper_visible");
    int hasPaper = number("has_flight_paper");
    if (paperVisible == 0 && hasPaper == 0) {
        return hintToward("Cockpit", "00FF00");
    }
    if (paperVisible == 1 && hasPaper == 0) {
        return hintToward("Cockpit", "00FFFF");
    }
    if (number("course_set") == 0 && hasPaper == 1) {
        return hintToward("Cockpit", "FF0099|pattern_calculation");
    }
    if (number("course_set") == 1) {
        return hintToward("Cockpit", "FF0099");
    }
    return "";
}

// Mazslow on Varion: Danny brews the clone's medicine in the galley.
String mazslowOnVarion() {
    if (!(number("clone_in_room") == 1 && number("knows_about_migrenes") == 1 && number("danny_met_clone") == 1 &&
          number("danny_knows_recipe") == 1)) {
        return HintSteps::routeStep("varion.LandingDock");
    }
    if (number("cup_taken") == 0) {
        return Schminkell7::hintToward("danny", "Kitchen", "333300");
    }
    if (number("liquid_soap_taken") == 0) {
        return Schminkell7::hintToward("danny", "Kitchen", "9999FF");
    }
    bool cupWithWater = characterHasItem("danny", "ceramic_cup") && number("water_is_in_cup") == 1;
    if (cupWithWater && number("soap_in_cup") == 0) {
        return "combine:liquid_soap+ceramic_cup";
    }
    if (cupWithWater && number("soap_in_cup") == 1 && number("egg_in_cup") == 0) {
        return "combine:egg+ceramic_cup";
    }
    if (cupWithWater && number("soap_in_cup") == 1 && number("egg_in_cup") == 1 && number("has_medicine") == 0) {
        return Schminkell7::hintToward("danny", "Kitchen", "009900|ceramic_cup");
    }
    if (number("ceramic_cup_in_oven") == 1) {
        return Schminkell7::hintToward("danny", "Kitchen", "FF99FF");
    }
    return HintSteps::routeStep("varion.LandingDock");
}

} // namespace

String getSmartHint(const String& scene) {
    if (number("mazslow_on_jama") == 0 && number("mazslow_on_varion") == 0 && number("aliens_out_state") == 0) {
        return beforeThePlanets(scene);
    }
    if (number("mazslow_on_jama") == 1) {
        return mazslowOnJama();
    }
    if (number("schminkell7_init") == 0 && number("aliens_out_state") == 4) {
        return aliensOut();
    }
    if (number("mazslow_on_varion") == 1) {
        return mazslowOnVarion();
    }
    return "";
}

String hintToward(const String& target, const String& hint) {
    return HintSteps::toward(target, hint);
}

bool characterHasItem(const String& character, const String& item) {
    return HintSteps::characterHasItem(character, item);
}

void buildHintGraph() {
    SceneRoutes::chapterPrefix = "ship";
    for (const auto& [from, to, exit] : LINKS) {
        SceneRoutes::addLink(from, to, exit);
    }
    SceneRoutes::chapterPrefix = "";
}

} // namespace Ship
