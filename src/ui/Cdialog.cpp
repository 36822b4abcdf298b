#include "ui/Cdialog.h"

#include "engine/scene/Chapter.h"
#include "engine/session/Vars.h"

#include "echon/AudioManager.h"
#include "nimboui/Object.h"

namespace Cdialog {

void answer(int) {
    Vars::get("cdialog")->setValue("", false);
}

// The dialog's objects show the request once the confirmation panel is built from the variable.
void onVarChanged(Variable*, const String&, const String&) {}

void onButtonClick(nimboui::EventArgs* args) {
    if (uiChapter && echon::mgr) {
        echon::mgr->play(uiChapter->getFullSoundName("click"), 0.0f, false, 1.0f);
    }
    answer(args && args->object && args->object->getName() == "cdialog_yes_button" ? 1 : 2);
}

} // namespace Cdialog
