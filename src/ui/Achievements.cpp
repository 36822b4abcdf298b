#include "ui/Achievements.h"

#include "engine/session/GameUtil.h"
#include "engine/session/Session.h"
#include "engine/session/Vars.h"
#include "engine/session/zephUtil.h"
#include "ui/Hud.h"

#include "nimboui/Animators.h"
#include "nimboui/ImageBox.h"
#include "nimboui/Label.h"
#include "tulm/Achievements.h"

#include <memory>

namespace Achievements {

IdMapper* idMapper = nullptr;

namespace {

constexpr int POPUP_SLOTS = 3;

void log(const String& text) {
    GameUtil::logMessage(text);
}

void loadStoredStates() {
    if (tulm::AchievementsService* service = tulm::getAchievementsService()) {
        service->loadAchievements();
    }
}

// Hears the service's results; the service owns it.
class AchievementsDelegate : public tulm::AchievementsServiceDelegate {
public:
    void onUserAuthenticated(bool failed, const String& message) override {
        if (failed) {
            log(message);
            return;
        }
        log("User authenticated to achievement service.");
        loadStoredStates();
    }

    void onAchievementsLoaded(bool failed, const String& message) override {
        log(failed ? message : String("Achievements loaded"));
    }

    void onUnlockFinished(bool failed, const String& message, tulm::AchievementRecord* record) override {
        if (failed) {
            log(message);
        }
        delete record;
    }

    void onServiceReset(bool failed, const String& message) override {
        if (failed) {
            log(message);
        } else {
            loadStoredStates();
        }
    }
};

void showPopup(int slot, nimboui::Object* popup, const String& id) {
    String i(slot);
    bool mobile = Session::getParam("ui") == "mobile";
    popup->setAlpha(1.0f);
    popup->setY(430.0f);
    Hud::uiObjectOf<nimboui::ImageBox>("ac_" + i)->setImageByName("achievements_small/" + id);
    String format =
        mobile ? "{[f:hheaven:1.0][c:640000]%s[/c][/f]\n%s} " : "{[f:hheaven:0.55][c:640000]%s[/c][/f]\n%s} ";
    String info = Session::getParam("target") == "pc" ? " ui.ACHIEVEMENTS_INFO" : " ui.ACHIEVEMENTS_INFO_TOUCH";
    Hud::uiObjectOf<nimboui::Label>("ac_label_" + i)->setTextKey(format + "ui.achievement_title_" + id + info);
    float y = 320.0f - (mobile ? 62.0f : 35.0f) * (float)slot;
    Hud::uiObjectOf<nimboui::Animators::Mover>("achievement_" + i + "_mover")->move(popup->getX(), y, 0.5f);
    // The popup stays about eight seconds, then fades; back at alpha 0 its slot is free again.
    Hud::uiObjectOf<nimboui::Animators::AlphaFader>("achievement_" + i + "_fader")->fade(0.0f, 0.5f, 8.0f);
    uiChapter->getObject("ac_button_" + i)->registerEvent("Click", onPopupClick);
}

} // namespace

String IdMapper::map(const String& id) const {
    return function ? function(id) : id;
}

void IdMapper::createService(const String& achievementsFile, Function mapping) {
    std::map<String, void*> options;
    if (mapping) {
        function = mapping;
    } else {
        options["force_offline"] = nullptr;
    }
    tulm::AchievementsService* service = tulm::instantiateBestAchievementsService(options);
    service->setFilePath(achievementsFile);
    service->setDelegate(new AchievementsDelegate());
}

void IdMapper::reloadService(const String& achievementsFile) {
    log("Reloading Achievement service");
    tulm::destroy();
    createService(achievementsFile, function);
    tulm::getAchievementsService()->authenticateUser();
}

bool IdMapper::isUnlocked(const String& id) const {
    tulm::AchievementsService* service = tulm::getAchievementsService();
    if (!service) {
        return false;
    }
    std::unique_ptr<tulm::AchievementRecord> record(service->createAchievement(map(id), 0.0f));
    service->fetchAchievement(record.get());
    return record->isComplete();
}

String profileAchievementsFile() {
    return zephUtil::getUserDataPath() + Session::getParam("profile") + "_achievements.bin";
}

bool unlock(const String& id) {
    tulm::AchievementsService* service = tulm::getAchievementsService();
    if (!service) {
        log("ERROR! unlock: no achievements service");
        return false;
    }
    String serviceId = idMapper->map(id);
    log("Unlocking achievement: " + serviceId);
    if (idMapper->isUnlocked(id)) {
        log("achievement already unlocked, blocking display");
        return false;
    }
    log("Submitting achievemnt to achievement service: " + service->getClassName());
    tulm::AchievementRecord* record = service->createAchievement(serviceId, 0.0f);
    record->setProgress(100.0f);
    // The service passes the record on to the delegate, which deletes it.
    service->submitAchievement(record);
    log("Achievement unlocked: " + serviceId);
    return true;
}

void reloadForProfile() {
    tulm::AchievementsService* service = tulm::getAchievementsService();
    if (service && service->getClassName() == "OfflineAchievementsService") {
        idMapper->reloadService(profileAchievementsFile());
    }
}

void showUnlockedPopup(const String& id) {
    log("Unlocking achievement: " + id);
    if (!unlock(id)) {
        return;
    }
    // A slot is free exactly while its popup is fully transparent; with all three on screen the
    // unlock stands without a popup.
    for (int slot = 1; slot <= POPUP_SLOTS; ++slot) {
        nimboui::Object* popup = uiChapter->getObject("achievement_" + String(slot));
        if (popup->getAlpha() == 0.0f) {
            showPopup(slot, popup, id);
            return;
        }
    }
}

void onPopupClick(nimboui::EventArgs* args) {
    String slot = args->object->getName().rsplit("_", 1)[-1];
    vessot::Array<String> image = Hud::uiObjectOf<nimboui::ImageBox>("ac_" + slot)->getImageName().split("/");
    String id = image.size() > 1 ? image[1] : String();
    Hud::playClick();
    Vars::get("cdialog")->setValue("achievement," + id + ",1", false);
    Hud::uiObjectOf<nimboui::Animators::AlphaFader>("achievement_" + slot + "_fader")->fade(0.0f, 0.5f);
}

} // namespace Achievements
