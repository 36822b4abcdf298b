#pragma once
// The place where a new game begins: the ship seen from outside, drifting past a planet.

#include "PlaceArt.h"

namespace artgen {

std::vector<Place> introPlaces();

} // namespace artgen
