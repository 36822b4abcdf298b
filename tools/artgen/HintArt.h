#pragma once
// The hints' pictures: the smart-hint bulb that fills as the hint charges, the talk picture of the
// hint marker, and the item icons the marker shows, each with its name.

#include "vessot/String.h"

#include <vector>

namespace artgen {

// The items with an icon, in the order of their cells.
const std::vector<const char*>& hintItems();
// DATA/ui/textures/hints_hd.png, 512 x 1024: the talk verb and the hand in the first row, icons from y 64
// (eight a row, six rows) and again from y 608, the smart-hint bulb at y 490; and beside it
// hints_hd.names, the name painted on each icon, one a line after the icon's picture name.
void drawHintArt(const vessot::String& data);

} // namespace artgen
