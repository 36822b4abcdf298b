#pragma once
// Hints: the hint string the chapter's solver names, shown as a line the current character speaks
// (an inventory step) or as a marker on the hotspot area to click; and the hint charge, which fills
// over 120 s of play and shows in both hint buttons. What the engine calls is declared with the
// interface's services.

#include "engine/InterfaceServices.h"
#include "ui/SceneRoutes.h"

namespace Hints {

// Shows a hint string: "use:", "look:" or "combine:" steps, or a colour with an optional "|" and
// item; ",0" after it keeps the charge. false when nothing was shown (the empty hint, a form it
// does not know, a colour that does not parse or names no area of the active scene).
bool showHintString(const String& hint);
// The current character says the line, followed by a five-second pause.
void sayHintLine(const String& line);
// The current character names the step; always true.
bool showUseHint(const String& item, bool resetCharge);
bool showLookHint(const String& item, bool resetCharge);
bool showCombineHint(const String& itemA, const String& itemB, bool resetCharge);
// Places the marker on the active scene's area of that colour with the item's image, or, without
// one, the picture of what the area's action does; false when the area cannot be shown.
bool showAreaHint(const String& itemImage, bool resetCharge, const String& colour);

} // namespace Hints
