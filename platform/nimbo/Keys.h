#pragma once
// Key and mouse-button codes delivered to the delegates. Key codes are the Windows virtual-key
// codes the game's shortcuts are written in.

#include "vessot/String.h"

namespace nimbo {

enum Key {
    KEY_BACKSPACE = 8,
    KEY_TAB = 9,
    KEY_ENTER = 13,
    KEY_PAUSE = 19,
    KEY_ESCAPE = 27,
    KEY_SPACE = 32,
    KEY_END = 35,
    KEY_HOME = 36,
    KEY_LEFT = 37,
    KEY_UP = 38,
    KEY_RIGHT = 39,
    KEY_DOWN = 40,
    KEY_DELETE = 46,
    KEY_0 = 48,   // digits run to KEY_0 + 9
    KEY_A = 65,   // letters run to KEY_A + 25
    KEY_F1 = 112, // function keys run to KEY_F1 + 11
};

enum MouseButton { BUTTON_PRIMARY = 1, BUTTON_SECONDARY = 2, BUTTON_MIDDLE = 7 };

// The code for a key named as SDL names its keys ("A", "Return", "F1", "Left", ...); 0 for a key
// the table does not map. The same table translates the keys of system events.
int keyCodeFromName(const vessot::String& name);

} // namespace nimbo
