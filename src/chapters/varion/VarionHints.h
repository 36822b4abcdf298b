#pragma once
// The smart hints of Varion, whose steps are shared by Danny, Luna and Vorne: its solver, its route
// step that hands play to the character who takes the step, its item test and its route graph.

#include "vessot/String.h"

using vessot::String;

namespace Varion {

// The next step for the story's state; scene is the active scene's own name.
String getSmartHint(const String& scene);
// Makes the character current, then gives the hint in the target scene and the way there anywhere
// else; out of the laboratory by the corridor the character came in from.
String hintToward(const String& character, const String& target, const String& hint);
bool characterHasItem(const String& character, const String& item);
// Adds Varion's passages to the route graph.
void buildHintGraph();

} // namespace Varion
