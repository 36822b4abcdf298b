#pragma once
// The playable characters, the characters chapter and the character switcher.

#include "morvec/Vector.h"
#include "vessot/String.h"

namespace Marionix {
class Actor;
}

namespace Characters {

// Creates, loads and keeps the characters chapter.
void loadCharacters();
// The character the player controls now, or null.
Marionix::Actor* getCurrentCharacter();
// Whether the player may not act: the scene is locked, or the current character is busy.
bool isPlayerBusy();
bool isCharacterSwitcherOpen();
void openCharacterSwitcher();
void closeCharacterSwitcher();
void updateCharacterButton();
void registerCharacterSwitcherEvents();
// Places a character at a position text ("x,y,direction").
void placeCharacter(Marionix::Actor* character, const vessot::String& position);
// Orders the active scene's objects by depth (characters behind and in front of the scenery).
void sortSceneObjects();
// Runs every character of the characters chapter for one step (their job queues).
void updateAll(float step);
// The height at which the current character stands in the active scene.
float getCurrentCharacterHeight();
// The animation frame position of a character (1.0 at the start of a cycle).
float getFramePosition(Marionix::Actor* character);
void setFramePosition(Marionix::Actor* character, float position);

} // namespace Characters
