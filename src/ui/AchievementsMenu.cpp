#include "ui/AchievementsMenu.h"

#include "engine/session/Session.h"
#include "engine/session/Vars.h"
#include "ui/Achievements.h"
#include "ui/Hud.h"

#include "nimboui/ImageBox.h"
#include "nimboui/Label.h"

#include <algorithm>

namespace UserInterface::AchievementsMenu {

namespace {

bool isMobile() {
    return Session::getParam("ui") == "mobile";
}

int entriesPerPage() {
    return isMobile() ? 4 : 16;
}

int pageCount() {
    return Achievements::COUNT / entriesPerPage();
}

// The entry's number: what follows the last "_" of the clicked object's name.
int entryNumber(nimboui::EventArgs* args) {
    return args->object->getName().rsplit("_", 1)[-1].toInt();
}

void showEntry(int entry, const String& id) {
    String n(entry);
    bool unlocked = Achievements::idMapper->isUnlocked(id);
    Hud::uiObjectOf<nimboui::ImageBox>("acm_bg_" + n)
        ->setImageByName(unlocked ? "achievement_bg" : "achievement_gray_bg");
    Hud::uiObjectOf<nimboui::ImageBox>("acm_" + n)
        ->setImageByName((unlocked ? "achievements_small/" : "achievements_gray/") + id);
    // Locked entries cannot be clicked.
    uiChapter->getObject("acm_button_" + n)->setVisible(unlocked);
    uiChapter->getObject("acm_fb_" + n)->setVisible(false);
    String key = isMobile() ? "{[f:hheaven:1.2]" : "{[f:hheaven:0.55]";
    key += unlocked ? "[c=640000]%s[/c][/f]\n%s} " : "[c=CFCFCF]%s[/c][/f]\n%s} ";
    key += "achievement_title_" + id + " " + (unlocked ? "achievement_unlocked_desc_" : "achievement_desc_") + id;
    Hud::uiObjectOf<nimboui::Label>("acm_label_" + n)->setTextKey(key);
}

void registerHandlers(int entries) {
    uiChapter->getObject("acm_page_prev")->registerEvent("Click", onPagePrev);
    uiChapter->getObject("acm_page_next")->registerEvent("Click", onPageNext);
    uiChapter->getObject("achievments_menu_close")->registerEvent("Click", onClose);
    for (int n = 1; n <= entries; ++n) {
        uiChapter->getObject("acm_button_" + String(n))->registerEvent("Click", onEntryClick);
    }
}

// Moves the active menu by delta pages within the first and the last; a page change refills it.
void turnPage(int delta) {
    auto* menu = dynamic_cast<Menu*>(Session::activeScene);
    if (!menu) {
        return;
    }
    int page = std::clamp(menu->page + delta, 0, pageCount() - 1);
    if (page != menu->page) {
        menu->page = page;
        menu->reset();
    }
}

} // namespace

Menu::Menu(Chapter* chapter) : Scene(chapter, "AchievementsMenu") {}

void Menu::onEnter() {
    int entries = entriesPerPage();
    // A page change re-enters through Scene::reset, which makes both names equal.
    if (Vars::value("active_scene") != Vars::value("prev_scene")) {
        page = 0;
        registerHandlers(entries);
    }
    int unlocked = 0;
    for (const char* id : Achievements::IDS) {
        unlocked += Achievements::idMapper->isUnlocked(id) ? 1 : 0;
    }
    Hud::uiObjectOf<nimboui::Label>("acm_info")
        ->setTextKey("{%s %s} ui.ACHIEVEMENTS_UNLOCKED {" + String(unlocked) + " / " + "32}");
    for (int n = 1; n <= entries; ++n) {
        showEntry(n, Achievements::IDS[page * entries + n - 1]);
    }
    Hud::uiObjectOf<nimboui::Label>("acm_page_label")->setText(String(page + 1) + " / " + String(pageCount()));
}

Scene* create(Chapter* chapter) {
    return new Menu(chapter);
}

void onPagePrev(nimboui::EventArgs*) {
    Hud::playClick();
    turnPage(-1);
}

void onPageNext(nimboui::EventArgs*) {
    Hud::playClick();
    turnPage(1);
}

void onClose(nimboui::EventArgs*) {
    Hud::playClick();
    // The openers name the scene to return to; the main menu when none did.
    String target = Vars::value("achievements_menu_prev_scene");
    Session::switchScene(target.empty() ? String("menu.MainMenu") : target, "fade", "", 0.5f);
}

void onEntryClick(nimboui::EventArgs* args) {
    Hud::playClick();
    auto* menu = dynamic_cast<Menu*>(Session::activeScene);
    int entries = entriesPerPage();
    int entry = entryNumber(args);
    if (!menu || entry < 1 || entry > entries) {
        return;
    }
    Vars::get("cdialog")->setValue("achievement," + String(Achievements::IDS[menu->page * entries + entry - 1]) + ",1",
                                   false);
}

} // namespace UserInterface::AchievementsMenu
