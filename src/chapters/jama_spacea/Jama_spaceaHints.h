#pragma once
// The smart hints of the first planet: its solver, its route step with the rowboat's ways, and its
// route graph.

#include "vessot/String.h"

using vessot::String;

namespace Jama_spacea {

// The next step for the story's state; scene is the active scene's own name.
String getSmartHint(const String& scene);
// The hint in the target scene; elsewhere the way there, by rowboat from the clearing and the dam
// while it waits at the clearing, and from the pier straight up to the park.
String hintToward(const String& target, const String& hint);
bool characterHasItem(const String& character, const String& item);
// Adds the planet's passages to the route graph.
void buildHintGraph();

} // namespace Jama_spacea
