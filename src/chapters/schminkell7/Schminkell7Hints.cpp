#include "chapters/schminkell7/Schminkell7Hints.h"

#include "chapters/HintSteps.h"
#include "script/Characters.h"
#include "ui/SceneRoutes.h"

#include <optional>

namespace Schminkell7 {

namespace {

using HintSteps::number;

// The route graph: from, to, the exit's colour in the from-scene.
const char* const LINKS[][3] = {
    {"Entrance", "Replicator", "0000FF"}, {"Replicator", "Entrance", "FFFF00"}, {"Replicator", "Storage", "00FF00"},
    {"Replicator", "Computer", "00FFFF"}, {"Storage", "Replicator", "FFFF00"},  {"Storage", "Saucer", "0000FF"},
    {"Saucer", "Storage", "0000FF"},      {"Saucer", "Computer", "FFFF00"},     {"Computer", "Replicator", "0000FF"},
    {"Computer", "Saucer", "FFFF00"},
};

bool luna(const String& item) {
    return characterHasItem("luna", item);
}

String lunaAt(const String& target, const String& hint) {
    return hintToward("luna", target, hint);
}

// Something goes onto the saucer's workspace ("9933FF"): with it free, the item's hint; with
// something on it, the workspace itself; otherwise nothing.
String workspace(const String& itemHint) {
    int onWorkspace = number("something_on_workspace");
    if (onWorkspace == 0) {
        return lunaAt("Saucer", itemHint);
    }
    return onWorkspace == 1 ? lunaAt("Saucer", "9933FF") : "";
}

// Nothing is being moulded: no clay box, stone mould or ion shape, none of them in place.
bool nothingMoulded() {
    return !luna("box_with_clay") && !luna("stone_mold") && !luna("ion_molded_shape") && number("ion_shape_in") == 0 &&
           number("stone_moldbox_on") == 0 && number("mold_hardened") == 0;
}

// Rows 1 to 8: the first things to take, the crystals, the box and the ion cube, the cork.
std::optional<String> gathering() {
    if (number("taken_fence_piece") == 0) {
        return lunaAt("Entrance", "006699");
    }
    if (number("taken_canister") == 0) {
        return lunaAt("Saucer", "006666");
    }
    if (number("taken_cork") == 0) {
        return lunaAt("Saucer", "006600");
    }
    bool crystalFree = number("crystal_moldbox_on") == 0 && number("crystal_replaced") == 0 && !luna("purple_crystal");
    if (number("taken_blue_crystal") == 0 && !luna("blue_dust") && number("crystal_blue_dust_in") == 0 && crystalFree) {
        return lunaAt("Saucer", "FF9900|hammer");
    }
    if (number("taken_red_crystal") == 0 && !luna("red_dust") && number("crystal_red_dust_in") == 0 && crystalFree) {
        return lunaAt("Storage", "996600|hammer");
    }
    if (nothingMoulded() && number("taken_box") == 0) {
        return lunaAt("Storage", "336600");
    }
    if (nothingMoulded() && number("taken_ion_cube") == 0) {
        return lunaAt("Storage", "FF6633");
    }
    if (number("cork_inside") == 0 && number("cork_hammered") == 0) {
        return lunaAt("Computer", "333366|cork");
    }
    if (number("cork_hammered") == 0) {
        return lunaAt("Computer", "333366|hammer");
    }
    return std::nullopt;
}

// Row 19: the ion cube flattened into a pancake and moulded into the shape.
String ionShape() {
    bool pancake = luna("ion_pancake");
    if (number("taken_ion_cube") == 0 && number("ion_cube_on") == 0 && !pancake && number("ion_pancake_on") == 0) {
        return lunaAt("Storage", "FF6633");
    }
    if (number("ion_cube_on") == 0 && luna("ion_cube") && !pancake && number("ion_pancake_on") == 0) {
        return workspace("9933FF|ion_cube");
    }
    if (number("ion_cube_on") == 1 && !pancake) {
        return lunaAt("Saucer", "FF33FF");
    }
    if (pancake) {
        return workspace("9933FF|ion_pancake");
    }
    if (luna("stone_mold")) {
        return lunaAt("Saucer", "996600|stone_mold");
    }
    if (number("ion_pancake_on") == 1) {
        return lunaAt("Saucer", "FF33FF");
    }
    return "";
}

// Rows 9 to 20: the star-shaped stone, the mould, the ion shape; none once they are done.
std::optional<String> moulding() {
    if (luna("star_shaped_stone")) {
        return workspace("9933FF|star_shaped_stone");
    }
    if (number("stone_shape_on") == 1) {
        return lunaAt("Saucer", "9933FF|hammer");
    }
    if (number("stone_in") == 1) {
        return lunaAt("Saucer", "0066CC");
    }
    if (number("taken_moist_clay") == 0 && number("mold_hardened") == 0) {
        return lunaAt("Replicator", "0000FF");
    }
    if (nothingMoulded()) {
        return luna("moist_clay") && luna("titanium_box") ? "combine:moist_clay+titanium_box" : "";
    }
    if (luna("box_with_clay") && luna("broken_stone")) {
        return "combine:broken_stone+box_with_clay";
    }
    if (number("ion_cube_put") == 0) {
        return lunaAt("Computer", "006600|ion_cube");
    }
    if (luna("stone_mold") && number("mold_hardened") == 0) {
        return lunaAt("Computer", "CC6600|stone_mold");
    }
    if (number("mold_hardened") == 0) {
        return lunaAt("Computer", "666600");
    }
    if (number("stone_moldbox_on") == 1) {
        return lunaAt("Computer", "FF6666");
    }
    if (!luna("ion_molded_shape") && number("ion_shape_in") == 0) {
        return ionShape();
    }
    if (luna("ion_molded_shape") && number("ion_shape_in") == 0) {
        return lunaAt("Saucer", "0066CC|ion_molded_shape");
    }
    return std::nullopt;
}

// Row 21.3: a new crystal from the two crystals' dust, moulded at the computer.
String newCrystal() {
    bool moldSoft = number("computer_crystal_mold_hardened") == 0;
    bool boxOff = number("crystal_moldbox_on") == 0;
    bool noBox = !luna("box_with_clay") && !luna("crystal_mold");
    if (!luna("moist_clay") && noBox && moldSoft && boxOff) {
        return lunaAt("Replicator", "0000FF");
    }
    if (number("taken_box") == 0 && noBox && moldSoft && boxOff) {
        return lunaAt("Storage", "336600");
    }
    if (luna("moist_clay") && luna("titanium_box")) {
        return "combine:moist_clay+titanium_box";
    }
    if (luna("defunct_crystal")) {
        return "combine:defunct_crystal+box_with_clay";
    }
    if (moldSoft && boxOff) {
        return lunaAt("Computer", "CC6600|crystal_mold");
    }
    if (moldSoft && number("crystal_moldbox_on") == 1) {
        return lunaAt("Computer", "666600");
    }
    if (!luna("blue_dust") && number("blue_crystal_on") == 0 && number("crystal_blue_dust_in") == 0) {
        return workspace("9933FF|blue_crystal");
    }
    if (number("blue_crystal_on") == 1) {
        return lunaAt("Saucer", "FF33FF");
    }
    if (!luna("red_dust") && number("red_crystal_on") == 0 && number("crystal_red_dust_in") == 0) {
        return workspace("9933FF|red_crystal");
    }
    if (number("red_crystal_on") == 1) {
        return lunaAt("Saucer", "FF33FF");
    }
    bool moldEmpty = number("computer_crystal_mold_full") == 0;
    if (luna("blue_dust") && number("crystal_blue_dust_in") == 0 && moldEmpty) {
        return "combine:blue_dust+crystal_mold";
    }
    if (luna("red_dust") && number("crystal_red_dust_in") == 0 && moldEmpty) {
        return "combine:red_dust+crystal_mold";
    }
    if (luna("crystal_mold")) {
        return lunaAt("Computer", "CC6600|crystal_mold");
    }
    if (number("crystal_moldbox_on") == 1) {
        return lunaAt("Computer", "666600");
    }
    return "";
}

String replaceCrystal() {
    if (number("no_crystal") == 0) {
        return lunaAt("Replicator", "C4DF9B");
    }
    if (luna("purple_crystal")) {
        return lunaAt("Replicator", "C4DF9B|purple_crystal");
    }
    return newCrystal();
}

// Row 30: the slabs carry Danny, the heavy box and the rowboat to open the tunnel.
String slabs() {
    if (number("danny_is_on_storage_slab") == 0) {
        return hintToward("danny", "Storage", "006666");
    }
    if (number("box_on_saucer_slab") == 0) {
        return lunaAt("Saucer", "6666FF|heavy_titanium_box");
    }
    if (number("rowboat_on_computer_slab") == 0) {
        return lunaAt("Computer", "66CC66|rowboat");
    }
    if (number("luna_on_saucer_slab") == 0) {
        return lunaAt("Saucer", "6666FF");
    }
    return lunaAt("Saucer", "666633");
}

// Rows 22 to 34: Danny, the heavy loads and the canister.
String lastSteps() {
    if (luna("ashes")) {
        return lunaAt("Replicator", "C4DF9B|ashes");
    }
    if (number("danny_alive") == 0) {
        return lunaAt("Replicator", "FF0000");
    }
    if (number("looked_at_paper") == 0) {
        return lunaAt("Storage", "CC66FF");
    }
    int heavy = number("box_heavy");
    int onDisplacer = number("box_is_on_displacer");
    if (heavy == 0 && number("taken_box") == 0) {
        return lunaAt("Storage", "336600");
    }
    if (heavy == 0 && number("taken_box") == 1 && onDisplacer == 0) {
        return lunaAt("Storage", "6666FF|titanium_box");
    }
    if (heavy == 0 && onDisplacer == 1) {
        return lunaAt("Storage", "FF6699");
    }
    if (heavy == 1 && onDisplacer == 1) {
        return lunaAt("Storage", "6666FF");
    }
    if (number("rowboat_heavy") == 0) {
        int onGrav = number("rowboat_on_grav");
        return onGrav == 0 ? lunaAt("Storage", "6666FF|rowboat") : onGrav == 1 ? lunaAt("Storage", "FF6699") : "";
    }
    if (number("tunnel_opened") == 0) {
        return slabs();
    }
    if (luna("canister_empty")) {
        return lunaAt("Computer", "9966CC|canister_empty");
    }
    if (luna("charged_canister")) {
        return lunaAt("Saucer", "0099FF|charged_canister");
    }
    if (number("canister_full") == 1 && number("canister_visible") == 1) {
        return lunaAt("Saucer", "0099FF");
    }
    return "";
}

} // namespace

String getSmartHint() {
    if (number("nuke_schminkell_replicator_state") != 0) {
        if (number("detonator_is_on_displacer") == 0 && number("kralek_beam_lock") == 0) {
            return hintToward("vorne", "Storage", "6666FF|detonator");
        }
        return hintToward("vorne", "Computer", "00AEF0");
    }
    if (std::optional<String> hint = gathering()) {
        return *hint;
    }
    if (std::optional<String> hint = moulding()) {
        return *hint;
    }
    if (number("crystal_replaced") == 0) {
        return replaceCrystal();
    }
    return lastSteps();
}

String hintToward(const String& character, const String& target, const String& hint) {
    Characters::switchCharacter(character);
    return HintSteps::toward(target, hint);
}

bool characterHasItem(const String& character, const String& item) {
    return HintSteps::characterHasItem(character, item);
}

void buildHintGraph() {
    SceneRoutes::chapterPrefix = "schminkell7";
    for (const auto& [from, to, exit] : LINKS) {
        SceneRoutes::addLink(from, to, exit);
    }
    SceneRoutes::chapterPrefix = "";
}

} // namespace Schminkell7
