#pragma once
// The HUD's pictures: the button faces with their hover and pushed states (the inventory button's
// also crossed out, for closing the open panel), the cursors, the hotspot markers and guide arrows,
// the diary's tick, the close button of the aspect chooser, and the hull panels drawn beside a scene
// narrower or wider than the window.

#include "vessot/String.h"

namespace artgen {

// hudbar_hd.png, cursors_hd.png and margins_hd.png under DATA/ui/textures; the cell of each picture is listed in
// data/ui/ui_hd.datadef.
void drawHudArt(const vessot::String& data);

} // namespace artgen
