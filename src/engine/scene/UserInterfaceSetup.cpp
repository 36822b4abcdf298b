// The interface set-up: the "ui" and characters chapters, the panels' handlers, the computed
// variables and listeners of the interface, the first snapshot and the HUD buttons' handlers.
#include "engine/ContentServices.h"
#include "engine/InterfaceServices.h"
#include "engine/app/Game.h"
#include "engine/scene/Chapter.h"
#include "engine/session/GameUtil.h"
#include "engine/session/Session.h"
#include "engine/session/Vars.h"
#include "script/Characters.h"

#include "nimboui/nimboui.h"

namespace Game {

void setupUserInterface() {
    GameUtil::logMessage("HD parm is" + String("1"));
    nimboui::setDefaultScale(8.0f / 15.0f);
    String definition = Session::getParam("ui") == "mobile" ? "data/ui/ui_mobile_hd.datadef" : "data/ui/ui_hd.datadef";
    uiChapter = new Chapter(definition, UserInterface::registerScenes);
    uiChapter->sceneFileFilter = GameUtil::isSceneFileForPlatform;
    uiChapter->load();
    uiChapter->keep = true;
    Characters::loadCharacters();
    InventoryPanel::registerEvents();
    DialogPanel::registerEvents();
    VerbCoin::registerEvents();
    Characters::registerCharacterSwitcherEvents();
    Hud::showButtons(true);
    Vars::variables.registerGetter("localization", getLocalizationVar);
    Vars::variables.registerGetter("smart_hint_button_visible", getSmartHintButtonVisibleVar);
    Vars::variables.registerGetter("shouldShowFirstTimeProfile", getShouldShowFirstTimeProfileVar);
    Vars::get("inv_ignore_notifications")->setValue("0", false);
    Vars::get("diary_ignore_notifications")->setValue("0", false);
    for (auto& [name, variable] : Vars::variables.variables) {
        if (name.startsWith("hint")) {
            variable.addListener(onHintVariableChanged);
        }
    }
    Vars::get("cdialog")->addListener(Cdialog::onVarChanged);
    Vars::get("textmode_exception")->addListener(onTextModeExceptionChanged);
    Vars::snapshot = Vars::variables;
    const std::pair<const char*, void (*)(nimboui::EventArgs*)> handlers[] = {
        {"ffwd_button", Hud::onFfwdButtonClick},
        {"diary_button", Hud::onDiaryButtonClick},
        {"hint_button", Hud::onHintButton},
        {"smart_hint_button", Hud::showHint},
        {"skip_button", Hud::onSkip},
        {"ingame_menu_button", Hud::openInGameMenu},
        {"resume_resume", Hud::onResumeClick},
        {"resume_quit_menu", Hud::onQuitToMenuClick},
        {"resume_quit_game", Hud::onQuitGameClick},
    };
    for (const auto& [name, handler] : handlers) {
        uiChapter->getObject(name)->registerEvent("Click", handler);
    }
}

} // namespace Game
