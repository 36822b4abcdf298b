#pragma once
// The head-up display: the frame's draw and its projections, the HUD buttons and the interface's
// reactions to scene switches and the scene lock. What the engine calls is declared with the
// interface's services.

#include "engine/InterfaceServices.h"
#include "engine/scene/Chapter.h"

#include "nimboui/Exception.h"

namespace Hud {

// The "ui" chapter's sound "click", as every click handler of the interface plays it.
void playClick();

// The object of the "ui" chapter of that name and class; a missing one, or one of another class,
// throws naming it.
template <class T> T* uiObjectOf(const String& name) {
    auto* object = dynamic_cast<T*>(uiChapter->getObject(name));
    if (!object) {
        throw nimboui::_GenericException("The object '" + name + "' of the chapter ui is of the wrong type",
                                         "GenericException", __FILE__, __LINE__);
    }
    return object;
}

// The HUD pass, drawn over the scene (also as a transition's callback).
void draw();
// Black bars (or margin images) where the scene's aspect leaves the window uncovered.
void drawMargins();
// The "ui" chapter's sound "click", which every click handler of the HUD and the menus plays first.
void playClick();

} // namespace Hud
