// The character switcher: the HUD's character button and the panel of the "ui" chapter that offers
// the playable characters.
#include "engine/InterfaceServices.h"
#include "engine/scene/Chapter.h"
#include "engine/session/Session.h"
#include "engine/session/Vars.h"
#include "engine/view/Viewport.h"
#include "script/Characters.h"
#include "script/Speech.h"

#include "echon/AudioManager.h"
#include "nimboui/Animators.h"
#include "nimboui/Exception.h"
#include "nimboui/Image.h"
#include "nimboui/ImageButton.h"

namespace Characters {

namespace {

// The characters the switcher may offer, in its order.
const char* const PLAYABLE[] = {"vorne", "luna", "danny"};

void playClick() {
    if (uiChapter && echon::mgr) {
        echon::mgr->play(uiChapter->getFullSoundName("click"), 0.0f, false, 1.0f);
    }
}

nimboui::Object* switcherObject(const String& name) {
    nimboui::Object* object = Hud::uiObject(name);
    if (!object) {
        throw nimboui::_GenericException("The interface has no object '" + name + "' for the character switcher",
                                         "GenericException", __FILE__, __LINE__);
    }
    return object;
}

template <class T> T* switcherObject(const String& name) {
    auto* object = dynamic_cast<T*>(switcherObject(name));
    if (!object) {
        throw nimboui::_GenericException("The character switcher's '" + name + "' is of the wrong kind",
                                         "GenericException", __FILE__, __LINE__);
    }
    return object;
}

void fadeSwitcher(float alpha) {
    switcherObject<nimboui::Animators::AlphaFader>("character_switcher_fader")->fade(alpha, 0.2f);
}

void onClick(const String& name, void (*handler)(nimboui::EventArgs*)) {
    switcherObject(name)->registerEvent("Click", handler);
}

} // namespace

bool isCharacterSwitcherOpen() {
    nimboui::Object* switcher = Hud::uiObject("character_switcher");
    return switcher && switcher->getAlpha() > 0.01f;
}

void openCharacterSwitcher() {
    if (isPlayerBusy() || !Vars::value("switchable_characters").contains(",")) {
        return;
    }
    fadeSwitcher(1.0f);
    bool mobile = Session::getParam("ui") == "mobile";
    morvec::Vector2 window = Viewport::windowSize();
    float aspect = window.x / window.y;
    float extra = aspect >= 1.3333334f ? (aspect - 1.3333334f) * 320.0f * 0.5f : 0.0f;
    // The column's x is in the buttons' parent's space.
    float x = mobile ? 482.0f - extra : 869.0f + extra;
    for (const char* name : PLAYABLE) {
        switcherObject("chr_" + String(name) + "_button")->setPosition(x, 2.0f);
    }
    switcherObject("character_close_button")->setPosition(x, 2.0f);
    if (mobile) {
        switcherObject("chr_menu_button")->setPosition(x, 2.0f);
        switcherObject<nimboui::Animators::Mover>("chr_menu_button_mover")->move(x + 56.0f, 2.0f, 0.2f);
    }
    float y = mobile ? 58.0f : 39.0f;
    for (const char* name : PLAYABLE) {
        String button = "chr_" + String(name) + "_button";
        bool offered = Session::checkCondition(String(name) + " ^ $switchable_characters");
        switcherObject(button)->setVisible(offered);
        if (offered) {
            switcherObject<nimboui::Animators::Mover>(button + "_mover")->move(x, y, 0.3f);
            y += mobile ? 56.0f : 37.0f;
        }
    }
}

void closeCharacterSwitcher() {
    fadeSwitcher(0.0f);
}

void updateCharacterButton() {
    String current = Vars::value("current_character");
    auto* button = dynamic_cast<nimboui::ImageButton*>(Hud::uiObject("character_button"));
    if (current == "dummy" || !button) {
        return;
    }
    nimboui::Image* shown = button->getImage();
    if (shown && shown->getName().contains(current)) {
        return;
    }
    button->setImageByName("gui/" + current + "_up");
    button->setPushedImageByName("gui/" + current + "_dn");
    button->setHoverImageByName("gui/" + current + "_hover");
}

void registerCharacterSwitcherEvents() {
    onClick("character_button", onSwitcherButtonClick);
    onClick("character_close_button", onCloseButtonClick);
    onClick("character_switcher", onCloseButtonClick);
    if (Session::getParam("ui") == "mobile") {
        onClick("chr_menu_button", onMenuButtonClick);
    }
    for (const char* name : PLAYABLE) {
        onClick("chr_" + String(name) + "_button", onCharacterButtonClick);
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
