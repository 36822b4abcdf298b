#include "script/Characters.h"

#include "engine/scene/Chapter.h"
#include "engine/session/Session.h"
#include "engine/session/Vars.h"

#include "marionix/Actor.h"
#include "nimboui/Object.h"

namespace Characters {

void loadCharacters() {
    charactersChapter = new Chapter("data/characters/characters_hd.datadef", nullptr);
    charactersChapter->load();
    charactersChapter->keep = true;
}

Marionix::Actor* getCurrentCharacter() {
    if (!charactersChapter || !Vars::variables.exists("current_character")) {
        return nullptr;
    }
    return dynamic_cast<Marionix::Actor*>(charactersChapter->findObject(Vars::value("current_character")));
}

bool isPlayerBusy() {
    if (Session::sceneLocked || Vars::value("skip_action") != "0") {
        return true;
    }
    // Walking and talking in a dialog leave the player free; any other job keeps them busy.
    Marionix::Actor* character = getCurrentCharacter();
    if (!character || character->getJobQueueSize() == 0) {
        return false;
    }
    String type = character->getCurrentJobType();
    return type != "Dialog" && type != "Move";
}
bool isCharacterSwitcherOpen() {
    return false;
}
void openCharacterSwitcher() {}
void closeCharacterSwitcher() {}
void updateCharacterButton() {}
void registerCharacterSwitcherEvents() {}
// The depth order of scene objects comes with the characters' scene references.
void sortSceneObjects() {}

void updateAll(float step) {
    if (!charactersChapter) {
        return;
    }
    for (nimboui::Object* object : charactersChapter->getObjects()) {
        if (auto* actor = dynamic_cast<Marionix::Actor*>(object)) {
            actor->update(step);
        }
    }
}

void placeCharacter(Marionix::Actor* character, const vessot::String& position) {
    vessot::Array<vessot::String> parts = position.split(",");
    if (parts.size() >= 2) {
        character->setPosition(parts[0].toFloat(), parts[1].toFloat(), 0.0f);
    }
}

// The character's drawing (its height in the scene and its walk cycle) comes with the character
// layer; an actor without it stands 0 high and always at the cycle's start.
float getCurrentCharacterHeight() {
    return 0.0f;
}
float getFramePosition(Marionix::Actor*) {
    return 1.0f;
}
void setFramePosition(Marionix::Actor*, float) {}

} // namespace Characters
