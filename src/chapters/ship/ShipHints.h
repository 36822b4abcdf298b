#pragma once
// The smart hints of the ship: its solver, its route step and item test, and its route graph.

#include "vessot/String.h"

using vessot::String;

namespace Ship {

// The next step for the story's state; scene is the active scene's own name. May switch the
// character (and so the scene) or finish the guided hint tutorial.
String getSmartHint(const String& scene);
// The hint in the target scene, the next exit toward it anywhere else.
String hintToward(const String& target, const String& hint);
bool characterHasItem(const String& character, const String& item);
// Adds the ship's passages to the route graph.
void buildHintGraph();

} // namespace Ship
