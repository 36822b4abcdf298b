// The character switcher: the HUD's character button and the panel of the "ui" chapter that offers
// the playable characters.
#include "engine/scene/Chapter.h"
#include "engine/session/Session.h"
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

// The panel and its buttons belong to the "ui" chapter's data; an object it does not define takes no
// handler.
void onClick(const char* name, void (*handler)(nimboui::EventArgs*)) {
    if (nimboui::Object* object = uiChapter->findObject(name)) {
        object->registerEvent("Click", handler);
    }
}

} // namespace

// The panel itself comes with the interface's data; until then it never opens.
bool isCharacterSwitcherOpen() {
    return false;
}
void openCharacterSwitcher() {}
void closeCharacterSwitcher() {}
void updateCharacterButton() {}

void registerCharacterSwitcherEvents() {
    onClick("character_button", onSwitcherButtonClick);
    onClick("character_close_button", onCloseButtonClick);
    onClick("character_switcher", onCloseButtonClick);
    if (Session::getParam("ui") == "mobile") {
        onClick("chr_menu_button", onMenuButtonClick);
    }
    for (const char* name : {"chr_vorne_button", "chr_luna_button", "chr_danny_button"}) {
        onClick(name, onCharacterButtonClick);
    }
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

void onCloseButtonClick(nimboui::EventArgs*) {
    playClick();
    closeCharacterSwitcher();
}

void onMenuButtonClick(nimboui::EventArgs*) {
    playClick();
    closeCharacterSwitcher();
    Session::switchScene("ui.InGameMenu", "", "", 0.0f);
}

void onCharacterButtonClick(nimboui::EventArgs* args) {
    playClick();
    switchCharacter(args->object->getName().split("_")[1]);
    closeCharacterSwitcher();
}

} // namespace Characters
