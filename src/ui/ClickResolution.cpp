// What a click on a hotspot does: the action bound to the area, followed through references and
// conditional groups, runs at once, opens the verb coin of its own verbs, or opens the generic
// look-and-use coin.
#include "engine/session/GameUtil.h"
#include "script/Actions.h"
#include "script/Inventory.h"
#include "ui/Hud.h"
#include "ui/VerbCoin.h"

namespace Hud {

namespace {

// The action a reference or a conditional group leads to; null when the click ends at this action.
// Sets generic when it ends in the generic coin instead of running.
Action* nextStep(Action* action, bool& generic) {
    if (auto* reference = dynamic_cast<Actions::Reference*>(action)) {
        return reference->getAction();
    }
    if (auto* items = dynamic_cast<Actions::ItemAction*>(action)) {
        if (!Inventory::getSelectedItem().empty()) {
            return nullptr;
        }
        Action* noItem = items->getAction("noitem");
        generic = !noItem;
        return noItem;
    }
    if (auto* group = dynamic_cast<Actions::Composite*>(action)) {
        Action* only = group->getOnlyTrueAction();
        generic = !only;
        return only;
    }
    // A verb menu opens its own coin when it runs; any other action offers look and use.
    generic = !dynamic_cast<Actions::Multiple*>(action);
    return nullptr;
}

} // namespace

void performAction(Action* action) {
    if (!action) {
        return;
    }
    // A hotspot that names its own cursor takes the click directly, whatever its class.
    if (action->getRolloverKey().contains("|")) {
        action->execute();
        return;
    }
    bool generic = false;
    Action* next = nextStep(action, generic);
    if (generic) {
        VerbCoin::showGenericLook(action);
    } else if (!next) {
        action->execute();
    } else if (!Actions::ReferenceDepth::hasRoom()) {
        // Each step counts as a level of running named actions, so a chain that leads back to
        // itself stops where running it would.
        GameUtil::logMessage("ERROR! performAction: cycle");
    } else {
        Actions::ReferenceDepth depth(action->getTypeName());
        performAction(next);
    }
}

} // namespace Hud
