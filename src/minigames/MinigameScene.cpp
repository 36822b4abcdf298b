#include "minigames/MinigameScene.h"

#include "engine/scene/BootCommand.h"
#include "engine/scene/Chapter.h"
#include "engine/session/Session.h"

#include "echon/AudioManager.h"
#include "nimboui/Image.h"
#include "nimboui/Object.h"
#include "vessxml/Xml.h"

MinigameScene::MinigameScene(Chapter* chapter, const String& name) : Scene(chapter, name) {}

void MinigameScene::load(vessxml::Node* sceneElement) {
    Scene::load(sceneElement);
    successCommand = sceneElement->pstr("on_success", "log Minigame " + name + " success command not specified");
    failCommand = sceneElement->pstr("on_fail", "log Minigame " + name + " fail command not specified");
    skipCommand = sceneElement->pstr("on_skip", successCommand);
}

void MinigameScene::succeed() {
    Session::executeCommand(successCommand);
}

void MinigameScene::playSound(const String& property) const {
    String sound = getProperty(property);
    if (!sound.empty() && echon::mgr) {
        echon::mgr->play(chapter->getFullSoundName(sound), 0.0f, false, 1.0f);
    }
}

void MinigameScene::refuse(vessxml::Node* element, const String& reason) const {
    element->fail("minigame scene '" + name + "': " + reason);
}

int MinigameScene::intAttribute(vessxml::Node* element, const String& attribute) const {
    try {
        return element->pint(attribute);
    } catch (const vessxml::_XMLException&) {
        refuse(element, "'" + attribute + "' must be an integer, not '" + element->pstr(attribute, "") + "'");
    }
}

int MinigameScene::rotationStep(vessxml::Node* sceneElement) const {
    int step = intAttribute(sceneElement, "rotation_step");
    if (step == 0) {
        refuse(sceneElement, "'rotation_step' must not be 0");
    }
    return step;
}

std::vector<vessxml::Node*> MinigameScene::childrenNamed(vessxml::Node* element, const char* childName) {
    std::vector<vessxml::Node*> found;
    for (vessxml::Node* child : element->children()) {
        if (*child == childName) {
            found.push_back(child);
        }
    }
    return found;
}

nimboui::Image* MinigameScene::pieceImage(vessxml::Node* element, const String& imageName) const {
    try {
        return chapter->getImage(imageName);
    } catch (const nimboui::_GenericException& e) {
        refuse(element, e.message());
    }
}

void MinigameScene::addPiece(nimboui::Object* piece) {
    chapter->registerManualObject(piece);
    bootCommands.push_back(new BootCommand_AttachObject("", piece));
}

void MinigameScene::checkPeriodically(float dt, const std::function<bool()>& solved) {
    checkTimer += dt;
    if (checkTimer <= CHECK_INTERVAL) {
        return;
    }
    checkTimer = 0.0f;
    if (solved()) {
        checkTimer = CHECK_DONE;
        succeed();
    }
}
