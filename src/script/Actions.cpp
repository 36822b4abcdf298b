#include "script/Actions.h"

#include "engine/scene/Chapter.h"
#include "engine/scene/Scene.h"
#include "engine/session/Session.h"
#include "engine/session/Vars.h"

#include "vessot/Log.h"

namespace Actions {

Action* Reference::getAction() const {
    return owner->getNamedAction(ref);
}

void Reference::execute() {
    getAction()->execute();
}

SwitchScene::SwitchScene(float fadeTime, const String& scene, const String& effect, const String& params)
    : fadeTime(fadeTime), scene(scene), effect(effect), params(params) {
    rolloverKey = "RO_" + scene.uppered();
}

void SwitchScene::execute() {
    String target = scene.startsWith("$") ? Vars::value(scene.substr(1)) : scene;
    String command = "switch_scene " + target + " " + String::fromFloat(fadeTime);
    if (!effect.empty()) {
        command += " " + effect + " " + params;
    }
    Session::queueCommand(command);
}

String SwitchScene::getFullSceneName() const {
    if (scene.contains(".")) {
        return scene;
    }
    if (scene.contains("$")) {
        return Vars::value(scene.substr(1));
    }
    return Session::activeScene->chapter->getName() + "." + scene;
}

void Execute::execute() {
    Session::executeCommand(command);
}

void Unavailable::execute() {
    vessot::Log::write("zeph", "action type '" + type + "' is not available; nothing done");
}

// Only the variable actions carry a reset flag; none of them is built by this factory yet.
void clearResetFlag(Action*) {}

} // namespace Actions
