#include "ui/VerbCoin.h"

#include "ui/Hud.h"

#include "nimboui/Object.h"

namespace VerbCoin {

bool isOpen() {
    return Hud::isUiObjectShown("choice_buttons");
}

void close() {
    if (nimboui::Object* buttons = Hud::uiObject("choice_buttons")) {
        buttons->setAlpha(0.0f);
    }
}

// The coin's buttons get their handlers when the coin's verb choice is built.
void registerEvents() {}

} // namespace VerbCoin
