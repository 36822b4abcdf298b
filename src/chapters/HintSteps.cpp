#include "chapters/HintSteps.h"

#include "engine/scene/Scene.h"
#include "engine/session/Session.h"
#include "engine/session/Vars.h"
#include "script/Inventory.h"
#include "ui/SceneRoutes.h"

#include "vessot/Array.h"

namespace HintSteps {

int number(const String& variable) {
    return Vars::value(variable).toInt();
}

String sceneName() {
    return Session::activeScene ? Session::activeScene->getName() : String();
}

bool isActiveScene(const String& target) {
    return Session::activeScene && Session::activeScene->getFullName() == SceneRoutes::qualifyName(target);
}

String routeStep(const String& target) {
    return Hints::formatRouteStep(SceneRoutes::findRoute(target));
}

String toward(const String& target, const String& hint) {
    return isActiveScene(target) ? hint : routeStep(target);
}

bool characterHasItem(const String& character, const String& item) {
    if (Vars::value("current_character") == character) {
        return Inventory::hasItem(item);
    }
    for (const String& entry : Vars::value(character + "_items").split(",")) {
        if (entry == item) {
            return true;
        }
    }
    return false;
}

} // namespace HintSteps
