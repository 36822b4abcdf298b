#pragma once
// The achievements: the bridge to the achievements service of the current profile and the unlock
// popups ("achievement_" + slot in the "ui" chapter). What the engine calls is declared with the
// interface's services.

#include "engine/InterfaceServices.h"

namespace Achievements {

// Every achievement of the game, in the order the achievements menu lists them.
inline constexpr int COUNT = 32;
inline constexpr const char* IDS[COUNT] = {
    "adventure_begins",
    "threat",
    "technician",
    "electrician",
    "rowbotics",
    "good_start",
    "rowrow",
    "map",
    "elderly",
    "ash",
    "gorne_digger",
    "code_breaker",
    "rescue",
    "child",
    "pest",
    "mutiny",
    "halfway_done",
    "lava",
    "color_mixer",
    "dna",
    "slabs",
    "clone",
    "doctor",
    "costume_designer",
    "infiltration",
    "prison_break",
    "psychic",
    "planet_crusher",
    "casual_end",
    "casual_master",
    "top_gamer",
    "speed_runner",
};

// Submits the unlock; false when it was unlocked already or there is no service.
bool unlock(const String& id);
// After the profile changed: the offline service moves to the current profile's file.
void reloadForProfile();
// The "Click" handler of a popup ("ac_button_" + slot): opens the achievement's detail.
void onPopupClick(nimboui::EventArgs* args);

} // namespace Achievements
