#pragma once
// The inventory's pictures: the backpack opened flat that the panel shows, the hand and the eye of the
// use and look buttons, the page arrows, and every item with its hover and pushed faces. The
// inventory button is among the HUD's button faces.

#include "vessot/String.h"

namespace artgen {

// inventory_hd.png under DATA/ui/textures; the cell of each picture is listed in the interface's
// definitions (data/ui/ui_hd.datadef and its mobile twin).
void drawInventoryArt(const vessot::String& data);

} // namespace artgen
