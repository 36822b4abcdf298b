#pragma once
// The inventory's pictures: the backpack opened flat that the panel shows, the bag of the inventory
// button (and the bag with a cross that closes the panel), the hand and the eye of the use and look
// buttons, the page arrows, and every item with its hover and pushed faces.

#include "vessot/String.h"

namespace artgen {

// inventory_hd.png under DATA/ui/textures; the cell of each picture is listed in the interface's
// definitions (data/ui/ui_hd.datadef and its mobile twin).
void drawInventoryArt(const vessot::String& data);

} // namespace artgen
