// The character switcher: the HUD's character button and the panel of the "ui" chapter that offers
// the playable characters.
#include "engine/scene/Chapter.h"
#include "engine/session/Vars.h"
#include "script/Characters.h"
#include "script/Speech.h"

#include "echon/AudioManager.h"
#include "nimboui/Object.h"

namespace Characters {

namespace {

void playClick() {
    if (uiChapter && echon::mgr) {
        echon::mgr->play(uiChapter->getFullSoundName("click"), 0.0f, false, 1.0f);
    }
}

} // namespace

// The panel with its character buttons comes with the interface's data; until then it never opens,
// and the character button only skips speech.
bool isCharacterSwitcherOpen() {
    return false;
}
void openCharacterSwitcher() {}
void closeCharacterSwitcher() {}
void updateCharacterButton() {}

void registerCharacterSwitcherEvents() {
    uiChapter->getObject("character_button")->registerEvent("Click", onSwitcherButtonClick);
    Variable* current = Vars::get("current_character");
    String name = current->getValue();
    current->setValue(name == "vorne" ? "luna" : "vorne");
    current->setValue(name);
}

void onSwitcherButtonClick(nimboui::EventArgs*) {
    playClick();
    if (Speech::isSpeaking()) {
        Speech::skipCurrentLine();
    } else if (!isPlayerBusy()) {
        openCharacterSwitcher();
    }
}

} // namespace Characters
