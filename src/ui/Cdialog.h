#pragma once
// The confirmation dialog, driven by the variable "cdialog" ("text key,yes action,no action").

#include "vessot/String.h"

using vessot::String;

class Variable;

namespace nimboui {
struct EventArgs;
}

namespace Cdialog {

// 1 answers yes, 2 no; the request is closed by emptying "cdialog".
void answer(int choice);
void onVarChanged(Variable* variable, const String& newValue, const String& oldValue);
// The click handler of both confirmation buttons.
void onButtonClick(nimboui::EventArgs* args);

} // namespace Cdialog
