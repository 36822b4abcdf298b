#include "chapters/varion/VarionHints.h"

#include "chapters/HintSteps.h"
#include "engine/session/Vars.h"
#include "script/Characters.h"
#include "ui/SceneRoutes.h"

#include <optional>

namespace Varion {

namespace {

using HintSteps::number;

// The route graph: from, to, the exit's colour in the from-scene. The laboratory is entered from
// the corridors through its three parts and left by the rule of hintToward.
const char* const LINKS[][3] = {
    {"Start", "Barrier", "FFFF00"},
    {"Start", "InfrontCargo", "0000FF"},
    {"InfrontCargo", "Start", "FFFF00"},
    {"InfrontCargo", "Barrier", "0000FF"},
    {"InfrontCargo", "Warehouse", "FF0000"},
    {"Barrier", "Elevator", "FF0000"},
    {"Barrier", "Start", "FFFF00"},
    {"Barrier", "InfrontCargo", "0000FF"},
    {"Elevator", "Barrier", "FFFF00"},
    {"Elevator", "LCorridor", "0000FF"},
    {"Elevator", "RCorridor", "FF0000"},
    {"Elevator", "LaboratoryMiddle", "FF00FF"},
    {"LaboratoryLeft", "RCorridor", "FF0000"},
    {"LaboratoryMiddle", "Elevator", "00FF00"},
    {"RCorridor", "LandingDock", "FF0000"},
    {"RCorridor", "Elevator", "0000FF"},
    {"RCorridor", "Warehouse", "FFFF00"},
    {"RCorridor", "LaboratoryLeft", "00FF00"},
    {"RCorridor", "BotScheme", "FF6600"},
    {"BotScheme", "RCorridor", "0000FF"},
    {"LandingDock", "ship.Kitchen", "FFFF00"},
    {"LandingDock", "LCorridor", "FF0000"},
    {"LandingDock", "RCorridor", "0000FF"},
    {"LCorridor", "LandingDock", "0000FF"},
    {"LCorridor", "Elevator", "FFFF00"},
    {"LCorridor", "LaboratoryRight", "FF00FF"},
    {"LCorridor", "Prison", "FF0000"},
    {"LaboratoryRight", "LCorridor", "0000FF"},
    {"Warehouse", "InfrontCargo", "00FFFF"},
    {"Warehouse", "RCorridor", "FFFF00"},
    {"Warehouse", "Sewers", "FF0000"},
    {"Warehouse", "Ppa", "FF00FF"},
    {"Ppa", "Warehouse", "FFFF00"},
    {"Sewers", "Warehouse", "FFFF00"},
    {"Sewers", "Prison", "0000FF"},
    {"Prison", "LCorridor", "0000FF"},
    {"Prison", "Sewers", "FF0000"},
};

// The questionnaire's answers, by the question's number (1 to 5).
const char* const PACIFIST_ANSWERS[] = {"00AEF0|cursor_use", "00FF00|cursor_use", "00AEF0|cursor_use",
                                        "00AEF0|cursor_use", "FF0000|cursor_use"};
const char* const WILLPOWER_ANSWERS[] = {"00FF00|cursor_use", "00AEF0|cursor_use", "FF0000|cursor_use",
                                         "00AEF0|cursor_use", "00FF00|cursor_use"};

bool danny(const String& item) {
    return characterHasItem("danny", item);
}

String dannyAt(const String& target, const String& hint) {
    return hintToward("danny", target, hint);
}

String lunaAt(const String& target, const String& hint) {
    return hintToward("luna", target, hint);
}

// The questionnaire's answer for the current character.
String questionnaire() {
    String character = Vars::value("current_character");
    int question = 0;
    const char* const* answers = nullptr;
    if (character == "danny") {
        question = number("pacifist_question_number");
        answers = PACIFIST_ANSWERS;
    } else if (character == "luna") {
        question = number("willpower_question_number");
        answers = WILLPOWER_ANSWERS;
    }
    return answers && question >= 1 && question <= 5 ? answers[question - 1] : "";
}

// Rows 5.1 to 5.11: with the clone in the room, Danny brews its medicine.
String medicine() {
    if (number("wants_medicine") == 0) {
        return dannyAt("RCorridor", "00FF00");
    }
    if (number("danny_knows_recipe") == 0) {
        return dannyAt("Start", "D0AB1E");
    }
    if (number("cup_taken") == 0) {
        return dannyAt("ship.Kitchen", "333300");
    }
    if (number("taken_withered_branch") == 0) {
        return dannyAt("LandingDock", "00FF00");
    }
    if (number("nest_position") == 0) {
        return dannyAt("Barrier", "754C24|withered_branch");
    }
    if (number("taken_egg") == 0) {
        return dannyAt("Barrier", "C69C6D");
    }
    bool cup = danny("ceramic_cup");
    int water = number("water_is_in_cup");
    int soap = number("soap_in_cup");
    int egg = number("egg_in_cup");
    if (cup && water == 0) {
        return dannyAt("Barrier", "00FFFF|ceramic_cup");
    }
    if (cup && water == 1 && soap == 0) {
        return "combine:liquid_soap+ceramic_cup";
    }
    if (cup && water == 1 && soap == 1 && egg == 0) {
        return "combine:egg+ceramic_cup";
    }
    if (cup && water == 1 && soap == 1 && egg == 1) {
        return dannyAt("ship.Kitchen", "009900|ceramic_cup");
    }
    if (danny("ceramic_cup_egg")) {
        return dannyAt("RCorridor", "00FF00|ceramic_cup_egg");
    }
    return "";
}

// Rows 1 to 14: Danny's way past the barrier, the clone and the rowboat's disguise.
std::optional<String> dannysPart() {
    if (number("taken_pepper") == 0) {
        return dannyAt("Start", "0066FF");
    }
    if (number("danny_can_goto_elevator") == 0) {
        return dannyAt("Barrier", "00FF00|ID_card");
    }
    if (number("knows_about_migrenes") == 0 && number("danny_met_clone") == 1) {
        return dannyAt("Barrier", "00FF00");
    }
    if (number("taken_sprayer") == 0) {
        return dannyAt("Elevator", "FF99FF");
    }
    if (number("clone_in_room") == 1) {
        return medicine();
    }
    const char* const STEPS[][3] = {
        {"got_authorization_papers", "RCorridor", "0066FF"},
        {"seen_scheme", "RCorridor", "FF6600"},
        {"taken_tape", "RCorridor", "00A651"},
        {"taken_logo", "LCorridor", "FF66FF"},
        {"papers_signed", "Barrier", "00FF00|authorization_papers"},
        {"rowboat_has_tape", "Start", "00FF00|sticky_tape"},
        {"rowboat_has_logo", "Start", "00FF00|kribb_logo"},
        {"authorized_for_warehouse", "InfrontCargo", "FF0000"},
    };
    for (const auto& [variable, target, hint] : STEPS) {
        if (number(variable) == 0) {
            return dannyAt(target, hint);
        }
    }
    if (danny("pepper") && danny("water_sprayer")) {
        return dannyAt("Warehouse", "combine:pepper+water_sprayer");
    }
    return std::nullopt;
}

// Rows 15 to 23: the pepper spray, Luna into the warehouse and the prison.
std::optional<String> intoThePrison() {
    if (danny("pepper_spray")) {
        return Vars::value("luna_scene") != "varion.Warehouse" ? lunaAt("Warehouse", "")
                                                               : dannyAt("Warehouse", "D0AB1E|pepper_spray");
    }
    const char* const STEPS[][3] = {
        {"taken_blowtorch", "Warehouse", "C4DF9B"},
        {"looked_at_ppa", "Warehouse", "FF00FF"},
        {"grate_torched", "Warehouse", "FF0000|blow_torch"},
        {"grate_opened", "Warehouse", "FF0000"},
    };
    for (const auto& [variable, target, hint] : STEPS) {
        if (number(variable) == 0) {
            return lunaAt(target, hint);
        }
    }
    if (number("prison_she_down") == 0) {
        if (number("luna_gave_vorne_sprayer") != 0) {
            return hintToward("vorne", "Prison", "C105E7|pepper_spray");
        }
        return number("distraction_in_progress") == 0 ? dannyAt("LCorridor", "00FF00")
                                                      : lunaAt("Prison", "00FF00|pepper_spray");
    }
    if (number("taken_cell_key") == 0) {
        return lunaAt("Prison", "C69C6D");
    }
    if (number("luna_is_interrogator") == 0) {
        return lunaAt("Prison", "00A651|cell_key");
    }
    if (number("knows_about_ppa") == 0) {
        return lunaAt("Prison", "BFBFBF");
    }
    return std::nullopt;
}

// Rows 24 to 33: the rotoscope, the black hole and the two reports in the laboratory. The scene is
// the one on screen when the hint was asked for, before a row hands play to its character.
String laboratory(const String& scene) {
    if (number("knows_about_rotoscope") == 0) {
        Characters::switchCharacter("luna");
        return scene == "Laboratory" ? "FF00FF" : HintSteps::routeStep("LaboratoryRight");
    }
    if (number("knows_how_rotoscope_works") == 0) {
        return lunaAt("Prison", "BFBFBF");
    }
    if (number("strange_object_taken") == 0) {
        return hintToward("vorne", "Sewers", "FF0000");
    }
    if (number("black_hole_inserted") == 0) {
        Characters::switchCharacter("vorne");
        return scene == "Laboratory" ? "2E3192|black_hole" : HintSteps::routeStep("LaboratoryLeft");
    }
    if (number("danny_got_report") == 0) {
        // Compared as written: the variable holds full scene names, so this never moves Luna.
        if (Vars::value("luna_scene") == "Ppa") {
            Vars::get("luna_scene")->setValue("Warehouse", true);
        }
        Characters::switchCharacter("danny");
        return scene == "Ppa" ? "" : dannyAt("Warehouse", "FF00FF");
    }
    if (number("elevator_door_opened") == 0) {
        return dannyAt("Elevator", "0066FF|keycard");
    }
    if (number("pacifist_report_inserted") == 0) {
        Characters::switchCharacter("danny");
        return scene == "Laboratory" ? "9E005D|pacifist_report" : HintSteps::routeStep("LaboratoryMiddle");
    }
    if (number("luna_got_report") == 0) {
        Characters::switchCharacter("luna");
        return scene == "Ppa" ? "" : lunaAt("Warehouse", "FF00FF");
    }
    if (number("strong_report_inserted") == 0) {
        Characters::switchCharacter("luna");
        if (scene == "Laboratory") {
            return "00AEF0|strong_report";
        }
        return HintSteps::routeStep(scene == "Warehouse" ? "Sewers" : "LaboratoryRight");
    }
    return "";
}

} // namespace

String getSmartHint(const String& scene) {
    if (scene == "Ppa") {
        return questionnaire();
    }
    if (std::optional<String> hint = dannysPart()) {
        return *hint;
    }
    if (std::optional<String> hint = intoThePrison()) {
        return *hint;
    }
    return laboratory(scene);
}

String hintToward(const String& character, const String& target, const String& hint) {
    Characters::switchCharacter(character);
    if (HintSteps::isActiveScene(target)) {
        return hint;
    }
    if (HintSteps::sceneName() == "Laboratory" && !target.contains("Laboratory")) {
        String enteredFrom = Vars::value(Vars::value("current_character") + "_entered_from");
        return enteredFrom == "varion.LCorridor"   ? "0000FF"
               : enteredFrom == "varion.Elevator"  ? "00FF00"
               : enteredFrom == "varion.RCorridor" ? "FF0000"
                                                   : "";
    }
    return HintSteps::routeStep(target);
}

bool characterHasItem(const String& character, const String& item) {
    return HintSteps::characterHasItem(character, item);
}

void buildHintGraph() {
    SceneRoutes::chapterPrefix = "varion";
    for (const auto& [from, to, exit] : LINKS) {
        SceneRoutes::addLink(from, to, exit);
    }
    SceneRoutes::chapterPrefix = "";
}

} // namespace Varion
