#pragma once
// The game's chapters and the smart hint of the chapter on screen; what the engine calls is
// declared with the content's services.

#include "engine/ContentServices.h"

#include "vessot/String.h"

namespace Chapters {

// The "ui" chapter's named actions for the inventory: "use:" + item, "look:" + item, and a combination
// named first + "+" + second or, when that is not defined, second + "+" + first. Each answers whether
// an action ran; a missing action is no error, but what the action found raises passes on.
bool runUseItemAction(const vessot::String& item);
bool runLookItemAction(const vessot::String& item);
bool runCombineItemsAction(const vessot::String& first, const vessot::String& second);
// The hint for where the story stands, from the solver of the active scene's chapter; "" when there
// is none (no scene, or a chapter without hints). While the solver runs, short scene names mean
// scenes of the chapter where the request began, also after it switched the character elsewhere.
vessot::String getSmartHint();

} // namespace Chapters
