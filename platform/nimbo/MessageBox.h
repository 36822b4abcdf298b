#pragma once
// Message boxes. They work before nimbo::init and without a window, so a start-up error can still
// be shown. Headless, the text goes to standard error and the log and the first button is taken.

#include "vessot/String.h"

#include <functional>
#include <map>

namespace nimbo {

// Button codes; a button set is their sum (MESSAGE_BUTTON_YES + MESSAGE_BUTTON_NO is 12).
enum MessageBoxButton { MESSAGE_BUTTON_OK = 1, MESSAGE_BUTTON_YES = 4, MESSAGE_BUTTON_NO = 8 };
enum MessageBoxStyle { MESSAGE_STYLE_PLAIN = 0, MESSAGE_STYLE_ERROR = 16 };

using MessageBoxCallback = std::function<void(int button)>;

// Shows the box and waits for the answer. The buttons appear in the order of their codes, titled
// by buttonTexts where it has their code ("OK", "Yes", "No" otherwise). The callback gets the code
// of the pressed button at the start of the next frame.
void messageBox(const vessot::String& title, const vessot::String& text, int buttons = MESSAGE_BUTTON_OK,
                int style = MESSAGE_STYLE_PLAIN, const std::map<int, vessot::String>& buttonTexts = {},
                const MessageBoxCallback& callback = nullptr);

// Calls the callbacks of the boxes answered so far; the main loop calls it at each frame's start.
void deliverMessageBoxAnswers();
// Forgets the answers not yet delivered (nimbo::destroy).
void discardMessageBoxAnswers();

} // namespace nimbo
