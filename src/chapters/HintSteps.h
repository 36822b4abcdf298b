#pragma once
// What every chapter's hint solver is made of: story variables read as whole numbers, the item
// test for a character who may not be the current one, and the route step that gives a hint in its
// own scene and the next exit toward that scene anywhere else.

#include "vessot/String.h"

using vessot::String;

namespace HintSteps {

// The variable's value read as a whole number ("1.5" and "x" read 1 and 0); a variable the store
// lacks throws.
int number(const String& variable);
// The active scene's own name ("Kitchen"); "" without one.
String sceneName();
// Whether the active scene is the target: a short name is taken in the chapter of the request.
bool isActiveScene(const String& target);
// The exit toward the target followed by ",0"; "" without a route or in the target itself.
String routeStep(const String& target);
// The hint in the target scene, the route step toward it anywhere else.
String toward(const String& target, const String& hint);
// The current character holds the item; another character holds it when it is a whole entry of its
// saved list ("<character>_items").
bool characterHasItem(const String& character, const String& item);

} // namespace HintSteps
