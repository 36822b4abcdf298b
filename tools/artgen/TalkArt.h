#pragma once
// The pictures of conversations and of the character switcher.

#include "vessot/String.h"

namespace artgen {

// DATA/ui/textures/talk_hd.png: 256 x 256 pixels in cells of 64, row by row: a portrait per
// playable character (vorne, luna, danny) as up, pushed and hover images, the switcher's close and
// menu buttons (up and hover), the band behind the replies and the switcher's shade.
void drawTalkArt(const vessot::String& data);

} // namespace artgen
