#pragma once
// The places of Schminkell 7, the alien outpost: the entrance outside its walls, the replicator hall,
// the storage room and the saucer bay with their slabs, and the computer room.

#include "PlaceArt.h"

namespace artgen {

std::vector<Place> schminkellPlaces();
// The pictures the scenes lay over their places while the slabs are in use
// (schminkell7's textures/slab_props_hd.png).
void drawSchminkellProps(const vessot::String& data);

} // namespace artgen
