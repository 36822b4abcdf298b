#pragma once
// The "ui" chapter's own scenes and callbacks, and the menus the keyboard closes; what the engine
// calls is declared with the interface's and the content's services.

#include "engine/ContentServices.h"
#include "engine/InterfaceServices.h"

namespace UserInterface {

// Named callbacks of the "ui" chapter that the data calls; the data sets their arguments in game
// variables first.
// The current character walks up to the one "approach_target" names, stopping short of it, right
// after the job it runs.
void approachCharacter(void* userData);
// The character "approach_target" names turns to face the current character.
void faceCharacter(void* userData);
// Plays the character "switch_character_action_target" names.
void switchCharacter(void* userData);
// Empties every character's job queue.
void inGameClearJobsToAll(void* userData);
// An autosave on the data's request: from
// a "ui" scene it first returns to the game scene the in-game menu was opened from.
void inGameAutoSave(void* userData);
// An autosave of the state of now rather than of the last quiet moment.
void inGameForceAutoSave(void* userData);
// The answers of the quit questions: each autosaves the state of now, from the in-game menu in the
// scene where the player's character stands, then ends the program or goes to the main menu; when
// the autosave fails, its failure and reason stay on screen and the player is asked whether to
// quit without saving.
void inGameQuitGame(void* userData);
void inGameQuitToMenu(void* userData);
// Slides the HUD's buttons back onto the screen.
void inGameShowButtons(void* userData);

} // namespace UserInterface
