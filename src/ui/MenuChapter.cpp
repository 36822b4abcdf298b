// The "menu" chapter: its creation, its registration at each load, and what its scenes share.
#include "ui/Menu.h"

#include "engine/session/Session.h"
#include "script/Actions.h"
#include "ui/Hud.h"

#include "nimboui/nimboui.h"

namespace Menu {

namespace {

template <class T> Scene* makeScene(Chapter* chapter, const char* name) {
    return new T(chapter, name);
}

// The scene classes in the order the chapter registers them; the scene file of each name fills
// its object.
const std::pair<const char*, Scene* (*)(Chapter*, const char*)> SCENE_CLASSES[] = {
    {"MainMenu", makeScene<MainMenu>},
    {"Credits", makeScene<Credits>},
    {"LocaleMenu", makeScene<LocaleMenu>},
    {"ModeMenu", makeScene<ModeMenu>},
    {"ProfileManager", makeScene<ProfileManager>},
    {"FirstTimeProfile", makeScene<FirstTimeProfile>},
};

} // namespace

Chapter* chapter() {
    return Session::getChapter("menu");
}

bool isLocaleCode(const String& code) {
    for (const char* known : LOCALE_CODES) {
        if (code == known) {
            return true;
        }
    }
    return false;
}

String localeInUse() {
    String localization = nimboui::getLocalization();
    return isLocaleCode(localization) ? localization : String("en");
}

void backToMainMenu(nimboui::EventArgs*) {
    Hud::playClick();
    Session::switchScene("MainMenu", "fade", "", 0.5f);
}

void createChapter() {
    // Registered with the GUI library by its name, "menu", which owns it from now on.
    new Chapter("data/chapters/menu/menu_hd.datadef", registerScenes);
}

void registerScenes(Chapter* chapter) {
    for (const auto& [name, make] : SCENE_CLASSES) {
        chapter->registerScene(name, make(chapter, name));
    }
    chapter->registerNamedAction("OnPMDeleteOk", new Actions::UserCallback(onPMDeleteOk, nullptr));
}

} // namespace Menu
