#include "ui/Achievements.h"

#include "engine/session/Session.h"

#include "tulm/Achievements.h"

void Achievements::createService(const String& achievementsFile, IdMapper* idMapper) {
    std::map<vessot::String, void*> options;
    if (!idMapper) {
        options["force_offline"] = nullptr;
    }
    tulm::AchievementsService* service = tulm::instantiateBestAchievementsService(options);
    service->setFilePath(achievementsFile);
    service->loadAchievements();
}

// The service's unlock and the popup come with the achievements menu; until then the unlock is logged.
void Achievements::showUnlockedPopup(const String& id) {
    Session::log("Unlocking achievement: " + id);
}
