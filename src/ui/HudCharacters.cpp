// Two services of the HUD around the characters: step sounds while the current character walks,
// and hotspot-map overlays that make the other playable characters in the scene clickable.
#include "ui/Hud.h"

#include "engine/scene/ActionMap.h"
#include "engine/scene/Scene.h"
#include "engine/session/Session.h"
#include "engine/session/Vars.h"
#include "script/Character2D.h"
#include "script/Character2DRef.h"
#include "script/Characters.h"

#include "echon/AudioManager.h"
#include "vessot/System.h"

namespace Hud {

float footstepDistance = 0.0f;

namespace {

constexpr float STEP_LENGTH = 40.0f;

// The characters a scene's hotspot map can hear clicks on, each under an area id of its own.
struct Overlay {
    const char* character;
    uint32_t id;
};

const Overlay OVERLAYS[] = {{"vorne", 0xB007EE}, {"luna", 0xD0AB1E}, {"danny", 0xC0FFEE}, {"she", 0xC105E7}};

} // namespace

void playFootsteps(float step) {
    if (Session::getParam("footstep_sounds") != "1") {
        return;
    }
    Character2D* character = Characters::getCurrentCharacter();
    if (!character || character->getCurrentJobType() != "Move") {
        return;
    }
    footstepDistance += character->getSpeed() * step;
    if (footstepDistance > STEP_LENGTH) {
        footstepDistance -= STEP_LENGTH;
        String sound = "step_" + String(vessot::rand() % 6 + 1);
        echon::mgr->play(uiChapter->getFullSoundName(sound), 0.0f, false, 1.0f);
    }
}

void updateCharacterOverlays() {
    ActionMap* map = Session::activeScene ? Session::activeScene->actionMap : nullptr;
    if (!map) {
        return;
    }
    map->clearOverlays();
    String switchable = Vars::value("switchable_characters");
    String current = Vars::value("current_character");
    for (const Overlay& overlay : OVERLAYS) {
        Character2DRef* reference = Characters::findCharacterRef(overlay.character);
        if (!reference) {
            continue;
        }
        // The player's own figure takes no clicks, nor one the player cannot switch to; "she" always does.
        bool clickable = switchable.contains(overlay.character) && current != overlay.character;
        if (!clickable && overlay.character != String("she")) {
            continue;
        }
        Character2D* character = reference->getCharacter();
        // The figure as drawn, less its top: a box over its body, its feet at the bottom middle.
        float h = 0.85f * reference->getHeight();
        map->addOverlay(
            new AmpRectangleOverlay(overlay.id, character->getX() - 0.2f * h, character->getY() - h, 0.4f * h, h));
    }
}

} // namespace Hud
