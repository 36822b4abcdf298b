// The profiles: their folders and name files, creating, choosing and deleting one, and the two
// scenes that drive them, the first start's name entry and the profile manager.
#include "ui/Menu.h"

#include "engine/session/GameUtil.h"
#include "engine/session/Session.h"
#include "engine/session/Vars.h"
#include "engine/session/zephUtil.h"
#include "ui/Achievements.h"
#include "ui/Hud.h"
#include "ui/SaveLoadMenu.h"
#include "ui/SettingsMenu.h"

#include "nimbo/Nimbo.h"
#include "nimboui/EditBox.h"
#include "nimboui/Label.h"
#include "nimboui/TextButton.h"
#include "nimboui/nimboui.h"
#include "vessot/File.h"

#include <algorithm>

namespace Menu {

bool canAddProfile = false;

namespace {

constexpr int PROFILE_SLOTS = 5;
constexpr int LAST_PROFILE_FOLDER = 100;
const char BLANKS[] = " \t";
const char FIRST_NAME_BOX[] = "firsttime_player_name";
const char MANAGER_NAME_BOX[] = "pm_player_name";

String userFolder() {
    return zephUtil::getUserDataPath();
}

// Profile 1 is in use exactly while the user folder holds its name file.
bool slotOneInUse() {
    return vessot::File::exists(userFolder() + "username.txt");
}

String profileFolder(int number) {
    return userFolder() + "_profile" + String(number);
}

bool isDigits(const String& text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The folders of profile 1 that the game makes: its save slots, the folders a save writes beside a
// slot ("slot3.new", "slot3.old") and its autosaves.
bool isGameFolder(const String& name) {
    String slot = name.endsWith(".new") || name.endsWith(".old") ? name.substr(0, name.size() - 4) : name;
    return name == "autosave" || (slot.startsWith("slot") && isDigits(slot.substr(4)));
}

// Makes the value current, keeps it for the next start and moves the achievements to it.
void selectProfile(const String& profile) {
    Session::setParam("profile", profile);
    saveUserConfigFile();
    Achievements::reloadForProfile();
}

// With profile 1 free, the profile folder of the lowest number becomes the current profile.
void chooseRemainingProfile() {
    if (!Session::getParam("profile").empty() || slotOneInUse()) {
        return;
    }
    // A listing sorts "_profile10" before "_profile2": the number decides.
    String lowest;
    for (const String& name : vessot::Dir::directories(userFolder())) {
        if (isProfileFolder(name) && (lowest.empty() || name.substr(8).toInt() < lowest.substr(8).toInt())) {
            lowest = name;
        }
    }
    if (!lowest.empty()) {
        Session::setParam("profile", "/" + lowest);
    }
}

void removeProfileOne() {
    // First what saves left beside the slots, a slot moved aside too: one that stayed would come back
    // as a slot of the next profile 1.
    SaveLoadMenu::tidySlots(false);
    String folder = userFolder();
    for (const String& name : vessot::Dir::directories(folder)) {
        if (isGameFolder(name)) {
            vessot::Dir::remove(folder + name);
        }
    }
    vessot::File::remove(folder + "username.txt");
    vessot::File::remove(folder + "_achievements.bin");
}

// Colours and state of a text button that may be inactive (alpha 0.5).
void showActive(nimboui::TextButton* button, bool active, const char* hover, const char* pushed) {
    button->setAlpha(active ? 1.0f : 0.5f);
    button->setState(active ? nimboui::TextButton::STATE_ACTIVE : nimboui::TextButton::STATE_INACTIVE);
    button->setHoverColor(nimbo::Color(active ? hover : "FFFFFF"));
    button->setPushedColor(nimbo::Color(active ? pushed : "FFFFFF"));
}

bool isBlank(const String& text) {
    return text.trimmed(BLANKS).empty();
}

// A profile's name as its file holds it, cut to the length the name box takes: the file may come
// from elsewhere, and the menus lay the whole name out.
String readProfileName(const String& path) {
    String name = GameUtil::readTextFile(path);
    int length = objectOf<nimboui::EditBox>(MANAGER_NAME_BOX)->getMaxLength();
    return length > 0 ? name.utf8_left(length) : name;
}

} // namespace

bool isProfileFolder(const String& name) {
    return name.startsWith("_profile") && isDigits(name.substr(8));
}

String currentProfileName() {
    return readProfileName(userFolder() + Session::getParam("profile") + "/username.txt");
}

String nameTextKey(const String& formatKey, const String& name) {
    return "{%f} " + formatKey + " {" + GameUtil::withoutTagBrackets(name) + "}";
}

String findFreeProfileSlot() {
    for (int number = 2; number <= LAST_PROFILE_FOLDER; ++number) {
        if (!vessot::Dir::exists(profileFolder(number))) {
            return profileFolder(number);
        }
    }
    return "";
}

void saveUserConfigFile() {
    Session::saveUserConfig(UserInterface::SettingsMenu::paramsToSave(), userFolder() + "zeph.cfg");
}

bool createProfile(const String& nameBox) {
    auto* box = objectOf<nimboui::EditBox>(nameBox);
    String name = box->getText();
    name = name.substr(std::min(name.find_first_not_of(BLANKS), name.size()));
    box->setText("");
    if (!slotOneInUse()) {
        selectProfile("");
        GameUtil::writeTextFile(name, userFolder() + "username.txt");
        return true;
    }
    String path = findFreeProfileSlot();
    if (path.empty()) {
        GameUtil::logMessage("ERROR! createProfile: every profile folder is in use");
        return true;
    }
    selectProfile("/_profile" + path.substr(path.rfind("_profile") + 8));
    vessot::Dir::create(path);
    GameUtil::writeTextFile(name, path + "/username.txt");
    return true;
}

void onPMDeleteOk(void*) {
    String old = Session::getParam("profile");
    Session::setParam("profile", "");
    Achievements::reloadForProfile();
    if (old.empty()) {
        removeProfileOne();
    } else if (old.startsWith("/") && isProfileFolder(old.substr(1))) {
        // The achievements file lies beside the folder; a later profile of that number starts afresh.
        vessot::Dir::remove(userFolder() + old);
        vessot::File::remove(userFolder() + old + "_achievements.bin");
    } else {
        // The value comes from the user's "zeph.cfg": anything else names no folder of ours.
        GameUtil::logMessage("ERROR! onPMDeleteOk: invalid profile '" + old + "'");
    }
    chooseRemainingProfile();
    saveUserConfigFile();
    Achievements::reloadForProfile();
    Session::activeScene->reset();
}

// ---------------------------------------------------------------- FirstTimeProfile

void FirstTimeProfile::onEnter() {
    auto* box = objectOf<nimboui::EditBox>(FIRST_NAME_BOX);
    box->setText(chapter->getText("DEFAULT_PLAYER_NAME"));
    if (!box->hasFocus()) {
        box->setFocus(true);
    }
    clearDefaultName = true;
    String localization = nimboui::getLocalization();
    if (localization == "ja" || localization == "ko" || localization == "zh" || localization == "ja_draskel") {
        box->setMaxLength(12);
    }
    objectOf("firsttime_ok_btn")->registerEvent("Click", onOk);
    box->registerEvent("Submit", onOk);
}

void FirstTimeProfile::onLeave() {
    if (nimbo::window) {
        nimbo::window->endTextInput();
    }
}

void FirstTimeProfile::onUpdate(float) {
    auto* box = objectOf<nimboui::EditBox>(FIRST_NAME_BOX);
    if (clearDefaultName) {
        String suggested = chapter->getText("DEFAULT_PLAYER_NAME");
        String typed = box->getText();
        if (typed != suggested) {
            size_t at = typed.find(suggested);
            if (at != String::npos) {
                box->setText(typed.substr(0, at) + typed.substr(at + suggested.size()));
            }
            clearDefaultName = false;
        }
    }
    bool hasName = !isBlank(box->getText());
    auto* ok = objectOf<nimboui::TextButton>("firsttime_ok_btn");
    showActive(ok, hasName, "FFFF00", "FF7F00");
    ok->setColor(nimbo::Color(hasName ? "00FF3F" : "FFFFFF"));
}

bool FirstTimeProfile::onMouseUp(float x, float y, int button) {
    Scene::onMouseUp(x, y, button);
    return true;
}

void FirstTimeProfile::onOk(nimboui::EventArgs*) {
    auto* box = objectOf<nimboui::EditBox>(FIRST_NAME_BOX);
    if (box->getAlpha() < 1.0f || isBlank(box->getText())) {
        return;
    }
    Hud::playClick();
    if (createProfile(FIRST_NAME_BOX)) {
        Session::switchScene("MainMenu", "fade", "", 1.0f);
    }
}

// ---------------------------------------------------------------- ProfileManager

void ProfileManager::onEnter() {
    if (Vars::value("active_scene") != Vars::value("prev_scene")) {
        objectOf("pm_close")->registerEvent("Click", backToMainMenu);
        objectOf("pm_delete")->registerEvent("Click", onDelete);
        objectOf("pm_add")->registerEvent("Click", onAdd);
        for (int slot = 1; slot <= PROFILE_SLOTS; ++slot) {
            objectOf("pm_slot0" + String(slot))->registerEvent("Click", onSelectSlot);
        }
        objectOf(MANAGER_NAME_BOX)->registerEvent("Submit", onAdd);
    }
    String free = findFreeProfileSlot();
    // A free folder ending in "6" with profile 1 in use means the five profile slots are all taken.
    canAddProfile = !free.empty() && !(free.endsWith("6") && slotOneInUse());
    String profile = Session::getParam("profile");
    int current = profile.empty() ? 1 : profile.back() - '0';
    profileNames.clear();
    int empty = 0;
    for (int slot = 1; slot <= PROFILE_SLOTS; ++slot) {
        auto* button = objectOf<nimboui::TextButton>("pm_slot0" + String(slot));
        String name;
        bool filled = true;
        if (slot == 1 && slotOneInUse()) {
            name = readProfileName(userFolder() + "username.txt");
        } else if (vessot::Dir::exists(profileFolder(slot))) {
            name = readProfileName(profileFolder(slot) + "/username.txt");
        } else {
            filled = false;
        }
        if (filled) {
            button->setText(GameUtil::withoutTagBrackets(name));
            profileNames.push_back(name.trimmed(BLANKS));
        } else {
            button->setTextKey("PM_EMPTY_SLOT");
            ++empty;
        }
        showActive(button, filled, "CFCFCF", "AFAFAF");
        button->setColor(nimbo::Color(slot == current ? "FF7F00" : "FFFFFF"));
    }
    objectOf("pm_delete")->setAlpha(empty >= 4 ? 0.5f : 1.0f);
    onUpdate(0.0f);
}

void ProfileManager::onUpdate(float) {
    String typed = objectOf<nimboui::EditBox>(MANAGER_NAME_BOX)->getText();
    String key = typed.trimmed(BLANKS).lowered();
    bool canAdd = canAddProfile && !key.empty() &&
                  std::none_of(profileNames.begin(), profileNames.end(),
                               [&](const String& name) { return name.lowered() == key; });
    showActive(objectOf<nimboui::TextButton>("pm_add"), canAdd, "CFCFCF", "FF7F00");
}

void ProfileManager::onAdd(nimboui::EventArgs*) {
    if (objectOf("pm_add")->getAlpha() != 1.0f) {
        return;
    }
    Hud::playClick();
    createProfile(MANAGER_NAME_BOX);
    Session::activeScene->reset();
}

void ProfileManager::onSelectSlot(nimboui::EventArgs* args) {
    if (args->object->getAlpha() != 1.0f) {
        return;
    }
    Hud::playClick();
    String slot = args->object->getName().substr(8, 1);
    String target = slot == "1" && slotOneInUse() ? String() : "/_profile" + slot;
    if (target != Session::getParam("profile")) {
        selectProfile(target);
        Session::activeScene->reset();
    }
}

void ProfileManager::onDelete(nimboui::EventArgs* args) {
    if (args->object->getAlpha() != 1.0f) {
        return;
    }
    Hud::playClick();
    Vars::get("cdialog")->setValue("PM_DELETE_QUESTION,OnPMDeleteOk,none", false);
    Hud::uiObjectOf<nimboui::Label>("cdialog_text")
        ->setTextKey(nameTextKey("menu.PM_DELETE_QUESTION", currentProfileName()));
}

} // namespace Menu
