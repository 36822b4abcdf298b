#include "ui/VerbCoin.h"

#include "engine/session/Session.h"
#include "script/Actions.h"
#include "ui/Hud.h"

#include "nimboui/Object.h"

namespace VerbCoin {

bool isOpen() {
    return Hud::isUiObjectShown("choice_buttons");
}

// Until the coin's buttons are built, only the choices that need no buttons are made: a lone verb
// runs at once, and a menu that offers a real choice is logged.
void open(Actions::Multiple* target) {
    Action* look = target->getAction("look");
    Action* use = target->getAction("use");
    Action* talk = target->getAction("talk");
    Action* lone = nullptr;
    if (look) {
        lone = use || talk ? nullptr : look;
    } else if (use) {
        lone = talk ? nullptr : use;
    } else {
        lone = talk;
    }
    if (!lone) {
        Session::log("verb coin: the choice of '" + target->getRolloverKey() + "' is not shown yet");
        return;
    }
    lone->execute();
}

void close() {
    if (nimboui::Object* buttons = Hud::uiObject("choice_buttons")) {
        buttons->setAlpha(0.0f);
    }
}

// The coin's buttons get their handlers when the coin's verb choice is built.
void registerEvents() {}

} // namespace VerbCoin
