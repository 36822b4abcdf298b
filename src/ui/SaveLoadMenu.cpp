#include "ui/SaveLoadMenu.h"

#include "engine/session/Session.h"
#include "engine/session/Vars.h"

namespace SaveLoadMenu {

// Characters record their positions once the character layer exists.
void recordCharacterPositions() {}

void autoSave() {
    // Save slots are not written yet; the time is noted so the frame asks again in 600 s.
    Session::log("autosave requested");
    Vars::get("last_autosave_time")->setValue(Vars::value("gameplay_time"), false);
}

} // namespace SaveLoadMenu
