// The mode menu (hardcore or casual), the credits and the language menu.
#include "ui/Menu.h"

#include "engine/session/Session.h"
#include "engine/session/Vars.h"
#include "engine/session/zephUtil.h"
#include "ui/Hud.h"

#include "morvec/Rectangle.h"
#include "nimboui/Label.h"
#include "nimboui/nimboui.h"
#include "vessot/File.h"

#include <cmath>

namespace Menu {

namespace {

// The opacity of a choice image, in opacity per second.
constexpr float FADE_SPEED = 1.0f;
const char* const HIGHLIGHT = "FF7F00";

// Moves the value toward the target by the step; it lands on the target once it reaches or passes it.
void approach(float& value, float target, float dt) {
    float before = target - value;
    if (std::fabs(before) <= 0.001f) {
        return;
    }
    value += dt * FADE_SPEED * (before >= 0.0f ? 1.0f : -1.0f);
    float after = target - value;
    if ((after > 0.0f) != (before > 0.0f)) {
        value = target;
    }
}

ModeMenu* activeModeMenu() {
    return dynamic_cast<ModeMenu*>(Session::activeScene);
}

// A label is highlighted while the pointer rests on its side (only where there is a pointer) or
// while its side is the one chosen.
void highlight(const char* label, const morvec::Rectangle& side, bool chosen) {
    bool hovered = Session::getParam("target") == "pc" && side.isPointInside(nimboui::getCursorPosition());
    objectOf<nimboui::Label>(label)->setColor(nimbo::Color(hovered || chosen ? HIGHLIGHT : "FFFFFF"));
}

String localeFile() {
    return zephUtil::getUserDataPath() + "/lang.cfg";
}

// The language chosen for the next start: the file's exact content when it is a known code
// ("en" otherwise); without a file it can read, the language in use.
String chosenLocale() {
    String content;
    if (!zephUtil::readPlayerFile(localeFile(), content)) {
        return localeInUse();
    }
    return isLocaleCode(content) ? content : String("en");
}

} // namespace

// ---------------------------------------------------------------- ModeMenu

void ModeMenu::onEnter() {
    hardcoreAlpha = casualAlpha = hardcoreTarget = casualTarget = 1.0f;
    // No choice shows as hovered on entry.
    nimboui::setCursorPosition(-100.0f, -100.0f);
    objectOf("vorne_hardcore")->registerEvent("Click", onHardcore);
    objectOf("vorne_casual")->registerEvent("Click", onCasual);
    objectOf("modemenu_return")->registerEvent("Click", backToMainMenu);
    objectOf("modemenu_ok")->registerEvent("Click", onOk);
}

void ModeMenu::onUpdate(float dt) {
    approach(hardcoreAlpha, hardcoreTarget, dt);
    approach(casualAlpha, casualTarget, dt);
    highlight("label_hardcore", morvec::Rectangle(0, 0, 180, 290), casualTarget == 0.0f);
    highlight("label_casual", morvec::Rectangle(270, 0, 213, 290), hardcoreTarget == 0.0f);
    objectOf("vorne_hardcore")->setAlpha(hardcoreAlpha + 0.01f);
    objectOf("vorne_casual")->setAlpha(casualAlpha + 0.01f);
    objectOf("modemenu_ok")->setAlpha(hardcoreTarget != casualTarget ? 1.0f : 0.5f);
}

void ModeMenu::onHardcore(nimboui::EventArgs*) {
    Hud::playClick();
    if (ModeMenu* menu = activeModeMenu()) {
        menu->hardcoreTarget = 1.0f;
        menu->casualTarget = 0.0f;
    }
}

void ModeMenu::onCasual(nimboui::EventArgs*) {
    Hud::playClick();
    if (ModeMenu* menu = activeModeMenu()) {
        menu->casualTarget = 1.0f;
        menu->hardcoreTarget = 0.0f;
    }
}

void ModeMenu::onOk(nimboui::EventArgs*) {
    ModeMenu* menu = activeModeMenu();
    if (!menu || objectOf("modemenu_ok")->getAlpha() < 0.99f) {
        return;
    }
    Hud::playClick();
    resetGameState();
    // Set after the reset, so they hold in the new game.
    String casual = menu->hardcoreTarget == 1.0f ? "0" : "1";
    Vars::get("expandable_hints")->setValue(casual, false);
    Vars::get("casual_mode")->setValue(casual, false);
    startNewGame();
}

// ---------------------------------------------------------------- Credits

void Credits::onUpdate(float dt) {
    float speed = Session::getParam("target") == "mobile" ? 20.0f : 15.0f;
    for (nimboui::Object* child : root->getChildren()) {
        if (child->getName().startsWith("__credits")) {
            child->setY(child->getY() - speed * dt);
        }
    }
}

// ---------------------------------------------------------------- LocaleMenu

void LocaleMenu::onEnter() {
    objectOf("locale_back_btn")->registerEvent("Click", backToMainMenu);
    for (const char* code : LOCALE_CODES) {
        objectOf("locale_" + String(code))->registerEvent("Click", onLocaleButton);
    }
    String chosen = chosenLocale();
    nimboui::Object* button = objectOf("locale_" + chosen);
    objectOf("locale_selector")->setPosition(button->getX() - 5.0f, button->getY() - 5.0f);
    objectOf("locale_restart_label")->setVisible(chosen != localeInUse());
}

void LocaleMenu::onLocaleButton(nimboui::EventArgs* args) {
    Hud::playClick();
    // One bare code, no byte-order mark and no line end: the start compares it exactly.
    vessot::writeFileAtomically(localeFile(), args->object->getName().substr(7));
    Session::activeScene->reset();
}

} // namespace Menu
