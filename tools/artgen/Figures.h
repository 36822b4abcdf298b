#pragma once
// The characters' frames: each playable character drawn as a figure (head, hair, body, arms, legs)
// in its own colours and outline, in eight directions, standing, walking and in its other
// animations, packed into one sheet per character; and the characters chapter's definition that
// names every frame.

#include "vessot/String.h"

namespace artgen {

// Writes data/characters/textures/NAME_hd.png for every character and
// data/characters/characters_hd.datadef.
void drawCharacters(const vessot::String& data);

} // namespace artgen
