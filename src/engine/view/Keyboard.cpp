// Keyboard and system events: keys act on release, by what is open and which dataset is active.
#include "engine/InterfaceServices.h"
#include "engine/app/Game.h"
#include "engine/scene/Chapter.h"
#include "engine/scene/Scene.h"
#include "engine/session/GameUtil.h"
#include "engine/session/Session.h"
#include "engine/session/Vars.h"
#include "engine/view/Input.h"
#include "script/Characters.h"
#include "script/Inventory.h"
#include "script/Speech.h"

#include "nimbo/Nimbo.h"
#include "nimboui/nimboui.h"

namespace Game {

namespace {

enum Key {
    KEY_ENTER = 13,
    KEY_PAUSE = 19,
    KEY_ESC = 27,
    KEY_SPACE = 32,
    KEY_C = 67,
    KEY_D = 68,
    KEY_I = 73,
    KEY_L = 76,
    KEY_P = 80,
    KEY_S = 83,
    KEY_F1 = 112,
    KEY_F2 = 113,
    KEY_F3 = 114,
    KEY_F4 = 115,
    KEY_F5 = 116,
    KEY_F6 = 117,
    KEY_F9 = 120,
};

const char QUIT_REQUEST[] = "menu.QUIT_GAME_DIALOG,quit_action,none";

void switchTo(const String& scene, const String& effect = "", float duration = 0.0f) {
    Session::switchScene(scene, effect, "", duration);
}

// Back from an in-game menu to the scene its variable names.
void returnTo(const String& variable) {
    Vars::get("active_scene")->assign(*Vars::get(variable));
    switchTo(Vars::value(variable), "fade", 0.5f);
}

void openSaveLoadMenu(const String& mode) {
    Vars::get("sl_mode")->setValue(mode, false);
    String scene = Vars::value("active_scene");
    Vars::get("sl_prev_scene")->setValue(scene, false);
    Vars::get("ingame_menu_prev_scene")->setValue(scene, false);
    switchTo("ui.SaveLoadMenu");
}

void inGameMenuEscape() {
    String scene = GameUtil::getActiveSceneName();
    if (scene == "Hintbook" || scene == "HelpMenu") {
        returnTo("prev_scene");
    } else if (scene == "InGameMenu") {
        returnTo("ingame_menu_prev_scene");
    } else if (scene == "SaveLoadMenu") {
        returnTo("sl_prev_scene");
    } else if (scene == "SettingsMenu") {
        UserInterface::SettingsMenu::onClose(nullptr);
    } else if (scene == "AchievementsMenu") {
        UserInterface::AchievementsMenu::onClose(nullptr);
    } else if (scene == "RateMeBox") {
        UserInterface::RateMeBox::close();
    } else {
        switchTo("InGameMenu", "fade", 0.5f);
    }
}

void gameShortcut(int key) {
    switch (key) {
    case KEY_F1:
        switchTo("ui.HelpMenu");
        break;
    case KEY_F4:
    case KEY_D:
        switchTo("ui.Hintbook");
        break;
    case KEY_F5:
    case KEY_S:
        openSaveLoadMenu("save");
        break;
    case KEY_F6:
    case KEY_L:
        openSaveLoadMenu("load");
        break;
    case KEY_I:
    case KEY_F3:
        if (Inventory::getSelectedItem().empty()) {
            InventoryPanel::open();
        }
        break;
    case KEY_C:
    case KEY_F9:
        Characters::openCharacterSwitcher();
        break;
    case KEY_F2:
    case KEY_ENTER:
        Hud::onHintButton(nullptr);
        break;
    case KEY_ESC:
        Hud::openInGameMenu(nullptr);
        break;
    default:
        break;
    }
}

void gameRules(int key) {
    if (key == KEY_ESC && Characters::isSkipPending()) {
        Hud::onSkip(nullptr);
    } else if (InventoryPanel::isOpen()) {
        if (key == KEY_I || key == KEY_F3 || key == KEY_ESC) {
            InventoryPanel::close();
        }
    } else if (Characters::isCharacterSwitcherOpen()) {
        if (key == KEY_C || key == KEY_F9 || key == KEY_ESC) {
            Characters::closeCharacterSwitcher();
        }
    } else if (DialogPanel::isOpen()) {
        if (key == KEY_SPACE || key == KEY_ESC) {
            if (DialogPanel::areRepliesShown()) {
                DialogPanel::shakeTimer = 0.628f;
            } else {
                DialogPanel::skipSpeechLine();
            }
        }
        DialogPanel::handleReplyKey(key);
    } else if (Speech::isSpeaking()) {
        if (key == KEY_SPACE) {
            Speech::skipCurrentLine();
        }
    } else if (VerbCoin::isOpen()) {
        if (key == KEY_ESC) {
            VerbCoin::close();
        }
    } else if (Characters::isPlayerBusy()) {
        return;
    } else if (GameUtil::getActiveChapterName() == "ui") {
        if (key == KEY_ESC) {
            inGameMenuEscape();
        }
    } else {
        gameShortcut(key);
    }
}

void frontEndRules(int key) {
    String scene = GameUtil::getActiveSceneName();
    if ((key == KEY_ESC || key == KEY_SPACE) && scene.contains("Logo") && loadingScreenAlpha <= 0.4f) {
        switchTo(Vars::value("shouldShowFirstTimeProfile") == "1" ? "FirstTimeProfile" : "MainMenu", "fade", 1.0f);
    }
    if (key != KEY_ESC) {
        return;
    }
    if (scene == "ProfileManager" || scene == "Credits" || scene == "ModeMenu") {
        switchTo("MainMenu", "fade", 0.5f);
    } else if (scene == "MainMenu") {
        if (Vars::value("cdialog") != QUIT_REQUEST) {
            Vars::get("cdialog")->setValue(QUIT_REQUEST, false);
        } else {
            nimboui::EventArgs args(Hud::uiObject("cdialog_no_button"), 0, 0, "");
            Cdialog::onButtonClick(&args);
        }
    }
}

} // namespace

void handleKeyPress(int key) {
    if (Hud::isResumePanelVisible() || Session::activeTransition || !Session::activeScene) {
        return;
    }
    Session::activeScene->root->OnKeyDown(key);
    String dataset = GameUtil::getActiveChapterName();
    if (key == KEY_SPACE && !Speech::isSpeaking() && !DialogPanel::isOpen() && dataset != "intro" &&
        dataset != "menu") {
        fastForwardActive = true;
    }
}

void handleKeyShortcuts(int key) {
    if (key == KEY_P || key == KEY_PAUSE) {
        Hud::toggleResumePanel();
    }
    if (Hud::isResumePanelVisible()) {
        if (key == KEY_ESC) {
            Hud::showResumePanel(false);
        }
        return;
    }
    if (key == KEY_SPACE) {
        fastForwardActive = false;
    }
    if (Session::activeTransition || !Session::activeScene) {
        return;
    }
    if (key == KEY_ESC && !Vars::value("cdialog").empty()) {
        Cdialog::answer(2);
        return;
    }
    Session::activeScene->root->OnKeyUp(key);
    if (GameUtil::getActiveChapterName() == "menu") {
        frontEndRules(key);
    } else {
        gameRules(key);
    }
}

bool handleQuitRequest(bool canCancel) {
    if (!canCancel) {
        return true;
    }
    if (Session::activeTransition) {
        return false;
    }
    Vars::get("cdialog")->setValue(
        GameUtil::getActiveChapterName() == "menu" ? QUIT_REQUEST : "INGAME_QUIT_GAME_DIALOG,ui.ingame_quit,none",
        false);
    return false;
}

void handleWindowResize(int width, int height) {
    nimbo::rendersys->setViewport(morvec::Rectangle(0, 0, (float)width, (float)height));
    Hud::setProjection(false);
    Hud::placeButtonsForWindow();
}

} // namespace Game
