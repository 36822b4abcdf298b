#pragma once
// The smart hints of Schminkell 7, where Luna takes most steps: its solver, its route step that
// hands play to the character who takes the step, its item test and its route graph.

#include "vessot/String.h"

using vessot::String;

namespace Schminkell7 {

// The next step for the story's state, from the variables and the items alone.
String getSmartHint();
// Makes the character current, then gives the hint in the target scene and the next exit toward it
// anywhere else.
String hintToward(const String& character, const String& target, const String& hint);
bool characterHasItem(const String& character, const String& item);
// Adds the station's passages to the route graph.
void buildHintGraph();

} // namespace Schminkell7
