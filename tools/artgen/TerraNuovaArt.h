#pragma once
// The place of Terra Nuova, where the bundled story ends: the station above the planet.

#include "PlaceArt.h"

namespace artgen {

std::vector<Place> terraNuovaPlaces();

} // namespace artgen
