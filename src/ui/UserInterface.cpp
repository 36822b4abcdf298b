#include "ui/UserInterface.h"

#include "engine/scene/Chapter.h"
#include "engine/session/Session.h"
#include "engine/session/Vars.h"
#include "engine/session/zephUtil.h"
#include "ui/AchievementsMenu.h"
#include "ui/Hud.h"

#include "nimboui/Object.h"

namespace UserInterface {

namespace {

struct SceneClass {
    const char* name;
    Scene* (*create)(Chapter* chapter);
};

// The interface's own scene classes, in the order the chapter registers them; the scene file of
// each name fills its object. Menus not listed here are plain scenes of their files.
const SceneClass SCENE_CLASSES[] = {
    {"AchievementsMenu", AchievementsMenu::create},
};

} // namespace

void registerScenes(Chapter* chapter) {
    for (const SceneClass& scene : SCENE_CLASSES) {
        chapter->registerScene(scene.name, scene.create(chapter));
    }
}

void SettingsMenu::onClose(nimboui::EventArgs*) {
    Session::saveUserConfig(Session::params, zephUtil::getUserDataPath() + "zeph.cfg");
    Session::switchScene(Vars::value("settings_prev_scene"), "fade", "", 0.5f);
}

void RateMeBox::close() {
    if (nimboui::Object* later = Hud::uiObject("rateme_later")) {
        later->triggerEvent("Click", 0, 0, "");
    }
}

} // namespace UserInterface
