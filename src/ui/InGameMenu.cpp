#include "ui/InGameMenu.h"

#include "engine/scene/Chapter.h"
#include "engine/session/Session.h"
#include "engine/session/Vars.h"
#include "script/Action.h"
#include "ui/Hud.h"

#include "nimboui/Object.h"
#include "tulm/Achievements.h"

namespace UserInterface {

namespace {

const char* const INGAME_BUTTONS[] = {"ingame_load",      "ingame_save",   "ingame_settings",
                                      "ingame_tutorial",  "ingame_help",   "ingame_quit_menu",
                                      "ingame_quit_game", "ingame_resume", "ingame_achievements"};

void bindClick(const char* name, void (*handler)(nimboui::EventArgs*)) {
    uiChapter->getObject(name)->registerEvent("Click", handler);
}

// Moves "quicktutorial_page" by step unless it stands at the limit, and shows the page.
void turnPage(int step, const char* limit) {
    Hud::playClick();
    Variable* page = Vars::get("quicktutorial_page");
    if (page->getValue() == limit) {
        return;
    }
    page->setValue(String(page->getValue().toInt() + step), false);
    Session::activeScene->reset();
}

} // namespace

void runButtonAction(nimboui::EventArgs* args) {
    if (args->object->getAlpha() < 1.0f) {
        return;
    }
    // The click sound, where a button wants one, is its named action's.
    uiChapter->getNamedAction(args->object->getName())->execute();
}

Scene* InGameMenu::create(Chapter* chapter) {
    return new InGameMenu(chapter, "InGameMenu");
}

void InGameMenu::onEnter() {
    for (const char* name : INGAME_BUTTONS) {
        bindClick(name, runButtonAction);
    }
}

void InGameMenu::onUpdate(float) {
    tulm::AchievementsService* service = tulm::getAchievementsService();
    uiChapter->getObject("ingame_achievements")->setAlpha(service && service->isAvailable() ? 1.0f : 0.5f);
}

Scene* HelpMenu::create(Chapter* chapter) {
    return new HelpMenu(chapter, "HelpMenu");
}

void HelpMenu::onEnter() {
    bindClick("help_close", runButtonAction);
}

Scene* QuickTutorial::create(Chapter* chapter) {
    return new QuickTutorial(chapter, "QuickTutorial");
}

void QuickTutorial::onEnter() {
    // A page turn re-enters from the tutorial itself; only a real entry names the way back.
    String previous = Vars::value("prev_scene");
    if (previous != "ui.QuickTutorial") {
        Vars::get("tutorial_prev_scene")->setValue(previous, false);
    }
    bindClick("quicktutorial_close", onCloseClick);
    bindClick("quicktutorial_prev", onPrevClick);
    bindClick("quicktutorial_next", onNextClick);
}

void QuickTutorial::onCloseClick(nimboui::EventArgs*) {
    Hud::playClick();
    Session::switchScene(Vars::value("tutorial_prev_scene"), "fade", "", 0.5f);
}

void QuickTutorial::onPrevClick(nimboui::EventArgs*) {
    turnPage(-1, "0");
}

void QuickTutorial::onNextClick(nimboui::EventArgs*) {
    turnPage(1, "5");
}

} // namespace UserInterface

namespace Menu {

void gotoMainMenu() {
    Hud::playClick();
    // A bare "MainMenu" would name a scene of the active chapter, which from a "ui" scene is none.
    Session::switchScene("menu.MainMenu", "fade", "", 0.5f);
}

} // namespace Menu
