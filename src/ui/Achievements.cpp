#include "ui/Achievements.h"

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
