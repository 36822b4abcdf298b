#pragma once
// The confirmation dialog: one box of the "ui" chapter for every yes/no question and for an
// achievement's detail, open exactly while the variable "cdialog" is not empty. What the engine
// calls is declared with the interface's services.

#include "engine/InterfaceServices.h"

namespace Cdialog {

// Whether the HUD buttons were on screen when a request was last written; the close brings them
// back when it is set.
extern bool hudButtonsWereShown;

// The click handler of the achievement panel's OK button: closes the box and runs nothing.
void onAchievementOk(nimboui::EventArgs* args);

} // namespace Cdialog
