#include "ui/UserInterface.h"

#include "engine/session/Session.h"
#include "engine/session/Vars.h"
#include "engine/session/zephUtil.h"
#include "ui/Hud.h"

#include "nimboui/Object.h"

namespace UserInterface {

// The menus' own scene classes register here as they are built; until then the "ui" chapter's
// scene files make plain scenes of them.
void registerScenes(Chapter*) {}

void SettingsMenu::onClose(nimboui::EventArgs*) {
    Session::saveUserConfig(Session::params, zephUtil::getUserDataPath() + "zeph.cfg");
    Session::switchScene(Vars::value("settings_prev_scene"), "fade", "", 0.5f);
}

void AchievementsMenu::onClose(nimboui::EventArgs*) {
    Session::switchScene(Vars::value("achievements_menu_prev_scene"), "fade", "", 0.5f);
}

void RateMeBox::close() {
    if (nimboui::Object* later = Hud::uiObject("rateme_later")) {
        later->triggerEvent("Click", 0, 0, "");
    }
}

} // namespace UserInterface
