#pragma once
// The front end's pictures (the "menu" chapter): the logo screens' pictures (the game's title and
// the engine's name), the main menu's backdrop with the game's title,
// the other menus' backdrop, and one texture of elements: the two figures of the mode choice, a
// panel, a name field, the maker's mark, the language flags (each written with its code, in three
// looks) and the frame that marks the chosen flag. Also the menus' hotspot pictures.

#include "vessot/String.h"

namespace artgen {

// Under DATA/chapters/menu: logos/*.png, textures/MainMenu_hd.png, textures/menu_bg_hd.png,
// textures/menu_elements_hd.png and hotspots/NAME.png for the menu scenes.
void drawMenuArt(const vessot::String& data);

} // namespace artgen
