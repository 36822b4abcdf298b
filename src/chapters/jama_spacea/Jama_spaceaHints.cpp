#include "chapters/jama_spacea/Jama_spaceaHints.h"

#include "chapters/HintSteps.h"
#include "script/Inventory.h"
#include "ui/SceneRoutes.h"

#include <optional>

namespace Jama_spacea {

namespace {

using HintSteps::number;
using Inventory::hasItem;

// The route graph: from, to, the exit's colour in the from-scene; the first landing, below the ship's
// galley, follows the planet's own places. The rowboat's landing has no way of its own and so is
// never a route's goal.
const char* const LINKS[][3] = {
    {"LandingSite", "ship.Kitchen", "0000FF"},
    {"LandingSite", "Crossroads", "FFFF00"},
    {"Crossroads", "LandingSite", "FFFF00"},
    {"Crossroads", "Motel", "FF9A00"},
    {"Crossroads", "Pier", "0000FF"},
    {"Pier", "Crossroads", "FFFF00"},
    {"Pier", "JamaMap", "F26522"},
    {"Pier", "CrashSite", "F26522"},
    {"Motel", "Crossroads", "FFFF00"},
    {"Motel", "Windmill", "C69C6D"},
    {"Motel", "Park", "0000FF"},
    {"Windmill", "Motel", "FFFF00"},
    {"Windmill", "WindmillInterior", "FF0000"},
    {"WindmillInterior", "Windmill", "FFFF00"},
    {"Park", "Motel", "FFFF00"},
    {"Dam", "Pier", "6666CC"},
    {"Dam", "Cemetary", "0000FF"},
    {"Dam", "Undergrave", "0066FF"},
    {"Dam", "Clearing", "FFFF00"},
    {"Cemetary", "Dam", "FFFF00"},
    {"Undergrave", "Dam", "FFFF00"},
    {"Clearing", "Dam", "FFFF00"},
    {"Clearing", "RowboatToPier", "FF6600"},
    {"CrashSite", "Pier", "FFFF00"},
    {"JamaMap", "Dam", "FF99CC"},
    {"JamaMap", "CrashSite", "669999"},
    {"JamaMap", "Pier", "009999"},
    {"JamaMap", "Windmill", "999900"},
    {"JamaMap", "Crossroads", "0099FF"},
    {"JamaMap", "Motel", "339933"},
    {"JamaMap", "Park", "FF9900"},
    {"JamaMap", "LandingSite", "FFFF00"},
    {"Plaque", "Cemetary", "0000FF"},
    {"Landing", "ship.Galley", "00FF00"},
};

bool rowboatAtClearing() {
    return number("rowboat_on_clearing") == 1;
}

// The safe's dials stand at the solution.
bool safeSolved() {
    return number("knob_1_state") == 0 && number("knob_2_state") == 4 && number("knob_3_state") == 1 &&
           number("knob_4_state") == 0;
}

// The rowboat wants a wheel: the screwdriver is sharpened on the flint stone, then the wheel comes
// off the motel's cart.
String rowboatWheel() {
    if (number("seen_flint_stone") == 0) {
        return hintToward("Crossroads", "FF9ACF");
    }
    if (!hasItem("sharp_screwdriver")) {
        return hintToward("Crossroads", "FF9ACF|screwdriver");
    }
    if (number("unscrewed_bolt") == 0) {
        return hintToward("Motel", "FF00FF|sharp_screwdriver");
    }
    if (number("taken_wheel") == 0) {
        return hintToward("Motel", "FF00FF");
    }
    return hintToward("Pier", "F26522|wheel");
}

String larenSmokes() {
    if (number("laren_wants_tobacco") == 0) {
        return hintToward("Park", "FF0000");
    }
    if (number("second_flower_taken") == 0) {
        return hintToward("Park", "006633");
    }
    if (!hasItem("baked_4_flower") && !hasItem("baked_5_flower") && !hasItem("flower_dust")) {
        return HintSteps::routeStep("ship.Kitchen");
    }
    if (hasItem("baked_5_flower")) {
        return "use:baked_5_flower";
    }
    if (hasItem("baked_4_flower")) {
        return "use:baked_4_flower";
    }
    return hintToward("Park", "FF0000|flower_dust");
}

String treeDoor() {
    if (number("soaked_with_alcohol") == 0 || number("alcohol_vapored") == 1) {
        return hintToward("Park", "996633|windex");
    }
    if (number("soaked_with_alcohol") == 1) {
        return hintToward("Park", "996633|hanky");
    }
    return "";
}

String flint() {
    if (number("screwdriver_in_stone") == 0 && number("flint_hammered") == 0) {
        return hintToward("Crossroads", "FF9ACF|sharp_screwdriver");
    }
    if (number("flint_hammered") == 0) {
        return hintToward("Crossroads", "FF9ACF|hammer");
    }
    return hintToward("Crossroads", "9A9AFF");
}

// From the arrival to the rowboat's wheel; none once they are done.
std::optional<String> firstSteps() {
    if (number("knows_about_crash") == 0) {
        return hintToward("Park", "FF0000");
    }
    if (number("needs_map") == 0 && number("can_take_map") == 0) {
        return hintToward("Crossroads", "FEC689");
    }
    if (number("wants_leaves") == 0 && number("can_take_map") == 0 && number("taken_map") == 0) {
        return hintToward("Motel", "C7B29A");
    }
    if (number("flower_taken") == 0) {
        return hintToward("Park", "006633");
    }
    bool baked = hasItem("baked_4_flower") || hasItem("baked_5_flower");
    if (number("can_take_map") == 0 && !baked) {
        return HintSteps::routeStep("ship.Kitchen");
    }
    if (hasItem("baked_4_flower") && number("can_take_map") == 0) {
        return hintToward("Motel", "C7B29A|baked_4_flower");
    }
    if (number("taken_map") == 0) {
        return hintToward("Motel", "FF0000");
    }
    if (number("rowboat_in_water") == 0) {
        return hintToward("Pier", "F26522|rowboat");
    }
    if (number("taken_screwdriver") == 0) {
        return hintToward("Pier", "FF0033");
    }
    if (number("rowboat_has_wheel") == 0) {
        return rowboatWheel();
    }
    return std::nullopt;
}

// From the clearing's device to the windmill's alcohol; none once they are done.
std::optional<String> middleSteps() {
    const char* const STEPS[][3] = {
        {"vorne_has_device", "Clearing", "3366FF"},
        {"taken_battery", "Clearing", "FF66CC"},
        {"crashsite_known", "Crossroads", "FEC689|beeping_device"},
        {"vorne_knows_about_key", "Motel", "C7B29A"},
        {"told_him_about_fuseman", "Motel", "C7B29A"},
        {"vorne_met_old_man", "Park", "FF0000"},
        {"vorne_knows_laren", "Motel", "C7B29A"},
        {"charged_battery", "Windmill", "003663|battery"},
        {"taken_diary", "WindmillInterior", "FF00FF"},
        {"taken_hammer", "WindmillInterior", "FF33CC"},
        {"taken_alcohol", "WindmillInterior", "FFCC99"},
    };
    for (const auto& [variable, scene, hint] : STEPS) {
        if (number(variable) == 0) {
            return hintToward(scene, hint);
        }
    }
    return std::nullopt;
}

// From the diary to the end of the chapter.
String lateSteps(const String& scene) {
    if (number("vorne_read_the_diary") == 0) {
        return "use:diary";
    }
    if (number("vorne_knows_larson") == 0) {
        return hintToward("Park", "FF0000");
    }
    if (number("plaque_fixed") == 0) {
        return hasItem("plaque") ? hintToward("Cemetary", "combine:plaque+melt_silicone")
                                 : hintToward("Cemetary", "006699|plaque_with_silicone");
    }
    if (number("vorne_knows_grave") == 0) {
        return hintToward("Cemetary", "006699");
    }
    if (number("lights_on") == 0) {
        return hintToward("Undergrave", number("full_battery_placed") == 0 ? "9966CC|recharged_battery" : "9966CC");
    }
    if (number("looked_at_grave_from_bottom") == 0) {
        return hintToward("Undergrave", "FF66FF");
    }
    if (number("laren_smoked") == 0) {
        return larenSmokes();
    }
    if (number("took_cane") == 0) {
        return hintToward("Park", "006699");
    }
    if (hasItem("cane")) {
        return hintToward("Cemetary", "combine:cane+peeler");
    }
    if (hasItem("sharp_cane")) {
        return hintToward("Cemetary", "FF6600|sharp_cane");
    }
    const char* const STEPS[][3] = {
        {"cane_hammered", "Cemetary", "3366FF|hammer"},
        {"corpse_fallen", "Undergrave", "FF66FF|hammer"},
        {"taken_dam_key", "Undergrave", "FF6633"},
        {"chest_unlocked", "WindmillInterior", "FFCC33|dam_key"},
        {"taken_explosives_and_note", "WindmillInterior", "FFCC33"},
    };
    for (const auto& [variable, target, hint] : STEPS) {
        if (number(variable) == 0) {
            return hintToward(target, hint);
        }
    }
    if (number("note_readed") == 0) {
        return "use:note";
    }
    if (number("vorne_knows_about_safe") == 0) {
        return "use:diary";
    }
    if (number("tree_door_visible") == 0 && number("tree_door_opened") == 0) {
        return treeDoor();
    }
    if (number("safe_opened") == 0 || number("fuses_visible") == 1) {
        return hintToward("Park", "996633");
    }
    if (hasItem("fuses")) {
        return hintToward("Dam", "combine:explosives+fuses");
    }
    if (hasItem("fused_explosives")) {
        return hintToward("Dam", "CC33CC|fused_explosives");
    }
    if (number("taken_flint") == 0) {
        return flint();
    }
    if (number("dam_blownup") == 0) {
        return hintToward("Pier", "00FF00|flint");
    }
    if (number("unscrewed_lock") == 0) {
        return hintToward("CrashSite", "3399FF|sharp_screwdriver");
    }
    if (number("looked_in_safe") == 0) {
        return hintToward("CrashSite", "3399FF");
    }
    if (number("she_is_here") == 1 && number("she_cant_see") == 0) {
        return "C105E7|ashes";
    }
    if (number("picked_up_aliens") == 0) {
        return "3399FF";
    }
    if (scene == "Clearing" && rowboatAtClearing()) {
        return "FF6600";
    }
    if (scene == "Dam" && rowboatAtClearing()) {
        return HintSteps::routeStep("Clearing");
    }
    return "";
}

} // namespace

String getSmartHint(const String& scene) {
    if (scene == "Diary") {
        return "0000FF";
    }
    if (scene == "Safe") {
        return safeSolved() ? "FF33FF|cursor_use" : "";
    }
    if (std::optional<String> hint = firstSteps()) {
        return *hint;
    }
    if (std::optional<String> hint = middleSteps()) {
        return *hint;
    }
    return lateSteps(scene);
}

String hintToward(const String& target, const String& hint) {
    String active = HintSteps::sceneName();
    if (HintSteps::isActiveScene(target)) {
        return hint;
    }
    if (target == "Dam" || target == "Cemetary" || target == "Undergrave") {
        return HintSteps::routeStep(target);
    }
    if (active == "Clearing" && rowboatAtClearing()) {
        return "FF6600";
    }
    if (active == "Dam" && rowboatAtClearing()) {
        return HintSteps::routeStep("Clearing");
    }
    if (target == "Park" && active == "Pier") {
        return "FFFF00";
    }
    return HintSteps::routeStep(target);
}

bool characterHasItem(const String& character, const String& item) {
    return HintSteps::characterHasItem(character, item);
}

void buildHintGraph() {
    SceneRoutes::chapterPrefix = "jama_spacea";
    for (const auto& [from, to, exit] : LINKS) {
        SceneRoutes::addLink(from, to, exit);
    }
    SceneRoutes::chapterPrefix = "";
}

} // namespace Jama_spacea
