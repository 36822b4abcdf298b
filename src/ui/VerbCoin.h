#pragma once
// The verb coin ("choice_buttons" of the "ui" chapter): the verb buttons that grow out of the cursor
// when a hotspot offers more than one thing to do. One coin at a time; what the engine calls is
// declared with the interface's services.

#include "engine/InterfaceServices.h"

#include "morvec/Vector.h"

namespace VerbCoin {

// The verbs, in the order the coin asks for them; each has the button "choice_" + verb.
inline const char* const VERBS[] = {"look", "use", "talk", "combine"};

// The verb menu the coin serves; null while closed (also during the fade-out).
extern Actions::Multiple* target;
// The verb clicked, "" from the opening until a verb button is clicked.
extern String chosenVerb;
// The cursor at the opening, in interface coordinates: where the buttons grow from and return to.
extern morvec::Vector2 centre;
// Set by the first click beside the buttons while the inventory panel shows, which it swallows.
extern bool firstClickGuard;

// Offers look (the clicked action itself) and use (a generic line of the current character).
void showGenericLook(Action* clicked);

// "Click" handlers of "choice_look", "choice_use", "choice_talk", "choice_combine" and of the coin's
// layer "choice_buttons" (a click beside the buttons dismisses the coin).
void onLookClick(nimboui::EventArgs* args);
void onUseClick(nimboui::EventArgs* args);
void onTalkClick(nimboui::EventArgs* args);
void onCombineClick(nimboui::EventArgs* args);
void onBackgroundClick(nimboui::EventArgs* args);

} // namespace VerbCoin
