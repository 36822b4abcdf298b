#include "script/Characters.h"

#include "engine/InterfaceServices.h"
#include "engine/scene/Chapter.h"
#include "engine/scene/Scene.h"
#include "engine/session/Session.h"
#include "engine/session/Vars.h"
#include "engine/view/Viewport.h"
#include "script/Character2D.h"
#include "script/Character2DRef.h"

#include "nimboui/Exception.h"

namespace Characters {

Character2DRef* findCharacterRef(const String& name) {
    if (!Session::activeScene || !Session::activeScene->root) {
        return nullptr;
    }
    for (nimboui::Object* child : Session::activeScene->root->getChildren()) {
        auto* reference = dynamic_cast<Character2DRef*>(child);
        if (reference && reference->getCharacter()->nimboui::Object::getName() == name) {
            return reference;
        }
    }
    return nullptr;
}

Character2DRef* getCurrentCharacterRef() {
    return findCharacterRef(Vars::value("current_character"));
}

Character2D* getCurrentCharacter() {
    Character2DRef* reference = getCurrentCharacterRef();
    return reference ? reference->getCharacter() : nullptr;
}

bool isSkipPending() {
    String action = Vars::value("skip_action");
    return !action.empty() && action != "0";
}

bool isPlayerBusy() {
    if (Session::sceneLocked || isSkipPending()) {
        return true;
    }
    if (!charactersChapter) {
        return false;
    }
    // Walking and talking in a dialog leave the player free; any other job keeps them busy.
    auto* character = dynamic_cast<Marionix::Actor*>(charactersChapter->getObject(Vars::value("current_character")));
    if (!character || character->getJobQueueSize() == 0) {
        return false;
    }
    String type = character->getCurrentJobType();
    return type != "Dialog" && type != "Move";
}

String whyNotPlayable(const String& name) {
    if (!charactersChapter || !dynamic_cast<Character2D*>(charactersChapter->findObject(name))) {
        return "it is not a character";
    }
    for (const char* suffix : {"_scene", "_items"}) {
        if (!Vars::variables.variables.count(name + suffix)) {
            return "it has no variable " + name + suffix;
        }
    }
    return "";
}

void switchCharacter(const String& name) {
    String old = Vars::value("current_character");
    if (old == name) {
        return;
    }
    String why = whyNotPlayable(name);
    if (!why.empty()) {
        Session::log("can't switch to character '" + name + "': " + why);
        return;
    }
    if (Character2D* current = getCurrentCharacter()) {
        current->clearJobs();
    }
    Vars::set("inv_ignore_notifications", "1");
    String target = Vars::value(name + "_scene");
    getOrCreateVariable(old + "_items")->setValue(Vars::value("items"));
    getOrCreateVariable(old + "_scene")->setValue(Vars::value("active_scene"));
    Vars::set("current_character", name);
    Vars::set("items", Vars::value(name + "_items"));
    Vars::set("switched_character", "1");
    if (target.empty() || target == Vars::value("active_scene")) {
        Session::activeScene->reset();
        if (Viewport::isWideScene()) {
            Viewport::updateWideSceneCamera();
        }
    } else {
        Session::switchScene(target, "", "", 0.0f);
    }
    Vars::set("switched_character", "0");
    Vars::set("inv_ignore_notifications", "0");
    // The figures the scene now shows of the other playable characters take clicks at once, before
    // the next frame: a hint that made the switch may point at one of them.
    Hud::updateCharacterOverlays();
}

Variable* getOrCreateVariable(const String& name) {
    Variable* variable = Vars::getOrCreate(name);
    if (variable->name == "unnamed") {
        variable->name = name;
    }
    return variable;
}

void placeCharacter(Marionix::Actor* actor, const String& position) {
    auto* character = dynamic_cast<Character2D*>(actor);
    if (!character) {
        throw nimboui::_GenericException("can't place '" + actor->getName() + "': it is not a character",
                                         "GenericException", __FILE__, __LINE__);
    }
    character->setPositionFromString(position);
}

void updateAll(float step) {
    if (!charactersChapter) {
        return;
    }
    for (nimboui::Object* object : charactersChapter->getObjects()) {
        if (auto* character = dynamic_cast<Character2D*>(object)) {
            character->update(step);
        }
    }
}

float getCurrentCharacterHeight() {
    Character2DRef* reference = getCurrentCharacterRef();
    return reference ? reference->getHeight() : 0.0f;
}

float getFramePosition(Marionix::Actor* character) {
    auto* shown = dynamic_cast<Character2D*>(character);
    return shown ? shown->walkFrame : 1.0f;
}

void setFramePosition(Marionix::Actor* character, float position) {
    if (auto* shown = dynamic_cast<Character2D*>(character)) {
        shown->walkFrame = position;
    }
}

} // namespace Characters
