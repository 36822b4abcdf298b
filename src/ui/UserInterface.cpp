#include "ui/UserInterface.h"

#include "engine/scene/Chapter.h"
#include "engine/session/GameUtil.h"
#include "engine/session/Session.h"
#include "engine/session/Vars.h"
#include "script/Actions.h"
#include "ui/AchievementsMenu.h"
#include "ui/Hintbook.h"
#include "ui/InGameMenu.h"
#include "ui/RateMeBox.h"
#include "ui/SaveLoadMenu.h"
#include "ui/SettingsMenu.h"

namespace UserInterface {

namespace {

struct SceneClass {
    const char* name;
    Scene* (*create)(Chapter* chapter);
};

// The interface's own scene classes, in the order the chapter registers them; the scene file of
// each name fills its object. Menus not listed here are plain scenes of their files.
const SceneClass SCENE_CLASSES[] = {
    {"Hintbook", Hintbook::create},
    {"QuickTutorial", QuickTutorial::create},
    {"SaveLoadMenu", SaveLoadMenu::create},
    {"SettingsMenu", SettingsMenu::create},
    {"InGameMenu", InGameMenu::create},
    {"HelpMenu", HelpMenu::create},
    {"AchievementsMenu", AchievementsMenu::create},
    {"RateMeBox", RateMeBox::create},
};

// The callbacks the data calls by name, registered after the scenes.
const std::pair<const char*, void (*)(void*)> CALLBACKS[] = {
    {"InGameAutoSave", inGameAutoSave},
    {"showRateMeBox", showRateMeBox},
    {"InGameForceAutoSave", inGameForceAutoSave},
};

} // namespace

void registerScenes(Chapter* chapter) {
    for (const SceneClass& scene : SCENE_CLASSES) {
        chapter->registerScene(scene.name, scene.create(chapter));
    }
    for (const auto& [name, function] : CALLBACKS) {
        chapter->registerNamedAction(name, new Actions::UserCallback(function, nullptr));
    }
}

void inGameAutoSave(void*) {
    if (GameUtil::getActiveChapterName() == "ui") {
        Session::switchScene(Vars::value("ingame_menu_prev_scene"), "", "", 0.0f);
    }
    ::SaveLoadMenu::autoSave();
}

void inGameForceAutoSave(void*) {
    // The save holds the state of now, not that of the last quiet moment.
    Vars::snapshot = Vars::variables;
    ::SaveLoadMenu::autoSave();
}

} // namespace UserInterface
