#pragma once
// The head-up display: the frame's draw and its projections, the HUD buttons and the interface's
// reactions to scene switches and the scene lock. What the engine calls is declared with the
// interface's services.

#include "engine/InterfaceServices.h"

namespace Hud {

// The HUD pass, drawn over the scene (also as a transition's callback).
void draw();
// Black bars (or margin images) where the scene's aspect leaves the window uncovered.
void drawMargins();
void hideButtons(bool dialog);

} // namespace Hud
