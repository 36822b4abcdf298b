// The main menu, and the two steps every new game takes once its mode is chosen.
#include "ui/Menu.h"

#include "engine/session/GameUtil.h"
#include "engine/session/Session.h"
#include "engine/session/Vars.h"
#include "engine/session/zephUtil.h"
#include "engine/view/Viewport.h"
#include "script/Character2D.h"
#include "script/Inventory.h"
#include "ui/Hud.h"
#include "ui/SaveLoadMenu.h"

#include "nimboui/ImageButton.h"
#include "nimboui/Label.h"
#include "tulm/Achievements.h"
#include "vessot/File.h"

namespace Menu {

String resumeSlot;
String MainMenu::profileName;

namespace {

constexpr int AUTOSAVE_SLOTS = 6;
const char QUIT_REQUEST[] = "menu.QUIT_GAME_DIALOG,quit_action,none";
const char SELF[] = "menu.MainMenu";

// The buttons whose handlers every entry registers; "profile_btn" only a real entry.
const std::pair<const char*, void (*)(nimboui::EventArgs*)> BUTTONS[] = {
    {"new_game_btn", MainMenu::onNewGame},
    {"promo_video_btn", MainMenu::onPromoVideo},
    {"locale_btn", MainMenu::onLocale},
    {"resume_btn", MainMenu::onResume},
    {"quit_btn", MainMenu::onQuit},
    {"credits_btn", MainMenu::onCredits},
    {"settings_btn", MainMenu::onSettings},
    {"load_game_btn", MainMenu::onLoadGame},
    {"achievements_btn", MainMenu::onAchievements},
};

void switchTo(const String& scene, float seconds = 0.5f) {
    Session::switchScene(scene, "fade", "", seconds);
}

// A menu of the "ui" chapter opened from here returns here through its variable.
void openInterfaceMenu(const char* scene, const char* returnVariable) {
    Vars::get(returnVariable)->setValue(SELF, false);
    switchTo(scene);
}

// The first autosave slot whose save is whole (an interrupted save leaves no "info.txt").
String findResumeSlot() {
    String folder = zephUtil::getUserDataPath() + Session::getParam("profile") + "/autosave/";
    for (int slot = 1; slot <= AUTOSAVE_SLOTS; ++slot) {
        String name = "slot" + String(slot);
        if (vessot::File::exists(folder + name + "/info.txt")) {
            return name;
        }
    }
    return "";
}

// The run's first real entry asks the achievements service to authenticate the player.
void authenticateOnce() {
    static bool authenticated = false;
    tulm::AchievementsService* service = tulm::getAchievementsService();
    if (!authenticated && service) {
        authenticated = true;
        service->authenticateUser();
    }
}

void placeForWidescreen(float offset) {
    objectOf("version_string")->setX(offset);
    objectOf("quenda_logo")->setX(5.0f - offset);
    auto* flag = objectOf<nimboui::ImageButton>("locale_btn");
    flag->setX(5.0f - offset);
    String code = localeInUse();
    flag->setImageByName("flag_" + code + "_normal");
    flag->setHoverImageByName("flag_" + code);
    flag->setPushedImageByName("flag_" + code + "_dn");
}

} // namespace

void MainMenu::onEnter() {
    for (const auto& [name, handler] : BUTTONS) {
        objectOf(name)->registerEvent("Click", handler);
    }
    if (Vars::value("active_scene") != Vars::value("prev_scene")) {
        GameUtil::unloadAllChapters();
        authenticateOnce();
        Vars::reset();
        Vars::get("active_scene")->setValue(SELF, false);
        Vars::get("prev_scene")->setValue(SELF, false);
        profileName = currentProfileName();
        objectOf("profile_btn")->registerEvent("Click", onProfile);
    }
    tulm::AchievementsService* service = tulm::getAchievementsService();
    objectOf("achievements_btn")->setAlpha(service && service->isAvailable() ? 1.0f : 0.5f);
    objectOf<nimboui::Label>("profile_btn")->setTextKey(nameTextKey("ui.PROFILE_FORMAT_STRING", profileName));
    placeForWidescreen(Viewport::getWidescreenOffset());
    objectOf<nimboui::Label>("version_string")->setText(Vars::value("game_version"));
    // What the start reads first: a game slot a save cut short left aside is back before anything
    // lists or loads the slots.
    SaveLoadMenu::tidySlots();
    resumeSlot = findResumeSlot();
    objectOf("resume_btn")->setVisible(!resumeSlot.empty());
    objectOf("resume_disabled")->setVisible(resumeSlot.empty());
}

void MainMenu::onNewGame(nimboui::EventArgs*) {
    Hud::playClick();
    switchTo("ModeMenu");
}

void MainMenu::onResume(nimboui::EventArgs*) {
    Hud::playClick();
    SaveLoadMenu::loadGame("autosave/" + resumeSlot);
}

void MainMenu::onLoadGame(nimboui::EventArgs*) {
    Hud::playClick();
    Vars::get("sl_mode")->setValue("load", false);
    openInterfaceMenu("ui.SaveLoadMenu", "sl_prev_scene");
}

void MainMenu::onSettings(nimboui::EventArgs*) {
    Hud::playClick();
    openInterfaceMenu("ui.SettingsMenu", "settings_prev_scene");
}

void MainMenu::onAchievements(nimboui::EventArgs*) {
    Hud::playClick();
    openInterfaceMenu("ui.AchievementsMenu", "achievements_menu_prev_scene");
}

void MainMenu::onCredits(nimboui::EventArgs*) {
    Hud::playClick();
    switchTo("Credits");
}

void MainMenu::onLocale(nimboui::EventArgs*) {
    Hud::playClick();
    switchTo("LocaleMenu");
}

void MainMenu::onProfile(nimboui::EventArgs*) {
    Hud::playClick();
    switchTo("ProfileManager");
}

void MainMenu::onPromoVideo(nimboui::EventArgs*) {
    Hud::playClick();
    switchTo("PromoVideo");
}

void MainMenu::onQuit(nimboui::EventArgs*) {
    Hud::playClick();
    Vars::get("cdialog")->setValue(QUIT_REQUEST, false);
}

void resetGameState() {
    Vars::reset();
    Inventory::clear();
    if (Session::getParam("chapter_mode") == "2") {
        Vars::loadDiff("cfg/chapter2.sav");
    }
    // Both changes reach the listener: the second restores the text speed of the settings.
    Vars::get("textmode_exception")->setValue("1", false);
    Vars::get("textmode_exception")->setValue("0", false);
    Vars::get("inv_ignore_notifications")->setValue("0", false);
    Vars::get("diary_ignore_notifications")->setValue("0", false);
    for (nimboui::Object* object : charactersChapter->getObjects()) {
        if (auto* character = dynamic_cast<Character2D*>(object)) {
            character->clearJobs();
        }
    }
    // An autosave early in the new game writes the snapshot: it must not be the previous game's.
    Vars::snapshot = Vars::variables;
}

void startNewGame() {
    GameUtil::unloadAllChapters();
    if (Session::getParam("chapter_mode") != "2") {
        switchTo("intro.Intro01", 2.0f);
        return;
    }
    switchTo("terra_nuova.Station", 2.0f);
    Session::lockScene();
}

} // namespace Menu
