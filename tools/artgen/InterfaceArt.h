#pragma once
// The interface's own pictures: the buttons and panels of the confirmation dialog, the achievement
// popups and the achievements menu, a medal per achievement, the settings menu's switches and
// steppers and the verb coin's faces.

#include "vessot/String.h"

namespace artgen {

// widgets_hd.png, settings_hd.png, verbcoin_hd.png and achievements_hd.png under DATA/ui/textures,
// with medals numbered 1 to the count: eight a row of 96 x 96 pixels, the coloured ones first, then
// the grey ones in as many rows.
void drawInterfaceArt(const vessot::String& data, int medalCount);

} // namespace artgen
