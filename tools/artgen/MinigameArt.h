#pragma once
// The minigames' pictures: the scenes' backgrounds and their pieces (gears, dial rings, lamps, the
// jigsaw's ship picture and the tile tablet), drawn at set-up into each chapter's "minigames" folder.

#include "vessot/String.h"

namespace artgen {

// Writes the pictures under DATA/chapters/<chapter>/minigames/.
void drawMinigames(const vessot::String& data);

} // namespace artgen
