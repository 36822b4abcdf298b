#include "tulm/Achievements.h"

#include "vessot/Exception.h"
#include "vessot/File.h"
#include "vessot/Log.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace tulm {

namespace {

const char* const FILE_HEADER = "zeph-achievements 1";

std::unique_ptr<AchievementsService> currentService;

// An id is written on a line of its own, after the progress and one space.
bool validId(const vessot::String& id) {
    return !id.empty() && id.find_first_of("\r\n") == vessot::String::npos && id.trimmed() == id;
}

} // namespace

// ---------------------------------------------------------------- record and delegate

AchievementRecord::AchievementRecord(const vessot::String& id, float progress) : id(id), progress(progress) {}
AchievementRecord::~AchievementRecord() = default;
void AchievementRecord::setProgress(float value) {
    progress = value;
}
bool AchievementRecord::isComplete() const {
    return progress >= 100.0f;
}

AchievementsServiceDelegate::~AchievementsServiceDelegate() = default;
void AchievementsServiceDelegate::onUserAuthenticated(bool, const vessot::String&) {}
void AchievementsServiceDelegate::userAuthenticationChanged() {}
void AchievementsServiceDelegate::onAchievementsLoaded(bool, const vessot::String&) {}
void AchievementsServiceDelegate::onUnlockFinished(bool, const vessot::String&, AchievementRecord* record) {
    delete record;
}
void AchievementsServiceDelegate::onServiceReset(bool, const vessot::String&) {}

// ---------------------------------------------------------------- service

AchievementsService::~AchievementsService() {
    delete delegate;
}

void AchievementsService::setDelegate(AchievementsServiceDelegate* newDelegate) {
    if (newDelegate != delegate) {
        delete delegate;
        delegate = newDelegate;
    }
}

void OfflineAchievementsService::setFilePath(const vessot::String& newPath) {
    if (newPath != path) {
        path = newPath;
        loaded = false;
        states.clear();
    }
}

void OfflineAchievementsService::loadAchievements() {
    loaded = true;
    vessot::String problem = readFile();
    if (getDelegate()) {
        getDelegate()->onAchievementsLoaded(!problem.empty(), problem);
    }
}

AchievementRecord* OfflineAchievementsService::createAchievement(const vessot::String& id, float progress) {
    return new AchievementRecord(id, progress);
}

void OfflineAchievementsService::submitAchievement(AchievementRecord* record) {
    if (!record) {
        return;
    }
    ensureLoaded();
    vessot::String problem;
    if (!validId(record->getId())) {
        problem = "Invalid achievement id \"" + record->getId() + "\"";
    } else if (!std::isfinite(record->getProgress())) {
        problem = "Invalid progress for achievement " + record->getId();
    } else {
        // Progress never goes back: an unlocked achievement stays unlocked.
        auto found = states.find(record->getId());
        float stored = found == states.end() ? record->getProgress() : std::max(found->second, record->getProgress());
        states[record->getId()] = stored;
        try {
            writeFile();
        } catch (const vessot::exception& e) {
            problem = e.message();
        }
    }
    if (!problem.empty()) {
        vessot::Log::warn("tulm", problem);
    }
    if (getDelegate()) {
        getDelegate()->onUnlockFinished(!problem.empty(), problem, record);
    } else {
        delete record;
    }
}

void OfflineAchievementsService::fetchAchievement(AchievementRecord* record) {
    if (!record) {
        return;
    }
    ensureLoaded();
    auto found = states.find(record->getId());
    if (found != states.end()) {
        record->setProgress(found->second);
    }
}

void OfflineAchievementsService::authenticateUser() {
    if (getDelegate()) {
        getDelegate()->onUserAuthenticated(false, "");
    }
}

vessot::String OfflineAchievementsService::ensureLoaded() {
    if (loaded) {
        return "";
    }
    loaded = true;
    vessot::String problem = readFile();
    if (!problem.empty() && getDelegate()) {
        getDelegate()->onAchievementsLoaded(true, problem);
    }
    return problem;
}

// Merges the file's states into the ones held. A damaged file is renamed aside, so that the next
// write starts a fresh file without destroying what the player had; the problem is answered.
vessot::String OfflineAchievementsService::readFile() {
    if (path.empty() || !vessot::File::exists(path)) {
        return "";
    }
    std::unordered_map<vessot::String, float> read;
    vessot::String fault;
    try {
        vessot::Array<vessot::String> lines = vessot::File::hread(path).split("\n");
        if (lines[0].trimmed() != FILE_HEADER) {
            fault = "line 1: not an achievements file of version 1";
        }
        for (int i = 1; i < lines.size() && fault.empty(); ++i) {
            vessot::String line = lines[i].endsWith("\r") ? lines[i].substr(0, lines[i].size() - 1) : lines[i];
            vessot::String progress, id;
            if (line.empty()) {
                continue;
            }
            if (!line.split(" ", progress, id) || !progress.isNumber() || !validId(id)) {
                fault = "line " + vessot::String(i + 1) + ": expected a progress and an id";
            } else {
                read[id] = progress.toFloat();
            }
        }
    } catch (const vessot::exception& e) {
        fault = e.message();
    }
    if (fault.empty()) {
        for (const auto& [id, progress] : read) {
            states[id] = std::max(states[id], progress);
        }
        return "";
    }
    vessot::String problem = "Achievements file " + path + " is damaged (" + fault + ")";
    for (int n = 1; n <= 100; ++n) {
        vessot::String backup = path + ".damaged" + (n == 1 ? vessot::String() : "." + vessot::String(n));
        if (vessot::File::rename(path, backup)) {
            problem += "; kept as " + backup;
            break;
        }
    }
    vessot::Log::warn("tulm", problem);
    return problem;
}

void OfflineAchievementsService::writeFile() {
    if (path.empty()) {
        throw vessot::exception("No achievements file set", __FILE__, __LINE__);
    }
    std::vector<std::pair<vessot::String, float>> sorted(states.begin(), states.end());
    std::sort(sorted.begin(), sorted.end());
    vessot::String text = vessot::String(FILE_HEADER) + "\n";
    for (const auto& [id, progress] : sorted) {
        text += vessot::String::fromFloat(progress) + " " + id + "\n";
    }
    vessot::writeFileAtomically(path, text);
}

// ---------------------------------------------------------------- the current service

AchievementsService* instantiateBestAchievementsService(const std::map<vessot::String, void*>& options) {
    // The offline service is the only one on this platform, "force_offline" or not.
    (void)options;
    currentService = std::make_unique<OfflineAchievementsService>();
    return currentService.get();
}

AchievementsService* setAchievementsService(std::unique_ptr<AchievementsService> service) {
    currentService = std::move(service);
    return currentService.get();
}

AchievementsService* getAchievementsService() {
    return currentService.get();
}

void destroy() {
    currentService.reset();
}

} // namespace tulm
