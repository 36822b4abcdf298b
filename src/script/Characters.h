#pragma once
// The playable characters: the characters chapter with its derived animations, the current
// character and its scene reference, the busy test, the character switch and the switcher panel.

#include "vessot/String.h"

using vessot::String;

class Character2D;
class Character2DRef;
class Variable;

namespace Marionix {
class Actor;
}

namespace nimboui {
struct EventArgs;
}

namespace Characters {

// ---- the characters chapter (AnimationSets.cpp)
// Creates, loads and keeps the characters chapter, derives its reversed, copied and mirrored
// animations and listens to the "_stand" variables.
void loadCharacters();
// Frames "source.NN" from 01 on, copied as "target.MM" with MM = start + (NN - 1) x step; ends at
// the first missing source frame, or before a target frame below 01.
void copyAnimationFrames(const String& source, const String& target, int start, int step);
// Frames "source.NN" (and their parts "_source.NN") mirrored sideways as "target.NN", the part moved
// by xOffset.
void mirrorAnimation(const String& source, const String& target, float xOffset);
// Every direction of source played backwards as target; count is the source's number of frames.
void reverseAnimation(const String& source, const String& target, int count);
// The listener of every "<character>_stand" variable: a standing character takes the new pose.
void onStandVariableChanged(Variable* variable, const String& newValue, const String& oldValue);

// ---- the current character (Characters.cpp)
// The first reference among the active scene's top-level objects that shows the named character (a
// reference to the stand-in "dummy" is found as "dummy", whatever its own object name).
Character2DRef* findCharacterRef(const String& name);
Character2DRef* getCurrentCharacterRef();
// The current character as the active scene shows it; null when it shows no reference of it.
Character2D* getCurrentCharacter();
// "skip_action" names a skippable action: neither "" nor "0".
bool isSkipPending();
// The player may not start anything: the scene is locked, a skip is pending, or the current
// character runs a job other than a walk or a dialog.
bool isPlayerBusy();
// Why the player cannot be the named character, "" when they can: it must be a character with
// "_scene" and "_items" variables.
String whyNotPlayable(const String& name);
// Stores the current character's scene and items, restores the named one's and goes to its scene.
// A character the player cannot be is refused with a log line.
void switchCharacter(const String& name);
// The character variable of that name ("<character>_scene", ...), created and named when the store
// lacks it.
Variable* getOrCreateVariable(const String& name);
// Places the character that the actor belongs to from "x,y,direction"; a plain actor is an error.
void placeCharacter(Marionix::Actor* actor, const String& position);
// Runs every character of the characters chapter for one step (their job queues).
void updateAll(float step);
// The drawing height of the current character in the active scene; 0 when it shows none.
float getCurrentCharacterHeight();
// The walking-frame counter of the actor's character (1.0 for a plain actor).
float getFramePosition(Marionix::Actor* character);
void setFramePosition(Marionix::Actor* character, float position);

// ---- the character switcher (CharacterSwitcher.cpp)
// The panel is open while its alpha is above 0.01.
bool isCharacterSwitcherOpen();
// Offers the characters named in "switchable_characters" (nothing while the player is busy or fewer
// than two are named).
void openCharacterSwitcher();
void closeCharacterSwitcher();
// The character button shows the current character's portrait.
void updateCharacterButton();
// The switcher's click handlers, then "current_character" set away and back so that its
// listeners run once for the current character.
void registerCharacterSwitcherEvents();
void onSwitcherButtonClick(nimboui::EventArgs* args);
void onCloseButtonClick(nimboui::EventArgs* args);
void onMenuButtonClick(nimboui::EventArgs* args);
// "chr_NAME_button" switches to NAME.
void onCharacterButtonClick(nimboui::EventArgs* args);

} // namespace Characters
