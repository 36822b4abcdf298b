#pragma once
// The achievements service: records of progress towards each achievement, a delegate that hears the
// service's results, and the one current service. Linux has only the offline service, which keeps a
// profile's states in one file (format in docs/formats.md). All callbacks run synchronously.

#include "vessot/String.h"

#include <map>
#include <memory>
#include <unordered_map>

namespace tulm {

// One achievement's progress; complete at 100.
class AchievementRecord {
public:
    AchievementRecord(const vessot::String& id, float progress);
    virtual ~AchievementRecord();
    virtual void setProgress(float progress);
    virtual bool isComplete() const;

    const vessot::String& getId() const { return id; }
    float getProgress() const { return progress; }

private:
    vessot::String id;
    float progress;
};

class AchievementsServiceDelegate {
public:
    virtual ~AchievementsServiceDelegate();
    virtual void onUserAuthenticated(bool failed, const vessot::String& message);
    virtual void userAuthenticationChanged();
    virtual void onAchievementsLoaded(bool failed, const vessot::String& message);
    // The record passes to the delegate, which deletes it; null when there is none.
    virtual void onUnlockFinished(bool failed, const vessot::String& message, AchievementRecord* record);
    virtual void onServiceReset(bool failed, const vessot::String& message);
};

class AchievementsService {
public:
    AchievementsService() = default;
    AchievementsService(const AchievementsService&) = delete;
    AchievementsService& operator=(const AchievementsService&) = delete;
    // Deletes the delegate.
    virtual ~AchievementsService();

    virtual vessot::String getClassName() const = 0;
    // The file that keeps the stored states.
    virtual void setFilePath(const vessot::String& path) = 0;
    // Reads the stored states and reports with onAchievementsLoaded.
    virtual void loadAchievements() = 0;
    // A new record owned by the caller.
    virtual AchievementRecord* createAchievement(const vessot::String& id, float progress) = 0;
    // Stores the record's state; the record passes to the delegate through onUnlockFinished.
    virtual void submitAchievement(AchievementRecord* record) = 0;
    // Sets the record's progress to the stored one.
    virtual void fetchAchievement(AchievementRecord* record) = 0;
    virtual void authenticateUser() = 0;
    virtual bool isAvailable() const = 0;

    // The service owns its delegate: a new one deletes the old.
    void setDelegate(AchievementsServiceDelegate* delegate);
    AchievementsServiceDelegate* getDelegate() const { return delegate; }

private:
    AchievementsServiceDelegate* delegate = nullptr;
};

// Keeps the states in a file of its own, written in full on every submit.
class OfflineAchievementsService : public AchievementsService {
public:
    vessot::String getClassName() const override { return "OfflineAchievementsService"; }
    void setFilePath(const vessot::String& path) override;
    void loadAchievements() override;
    AchievementRecord* createAchievement(const vessot::String& id, float progress) override;
    void submitAchievement(AchievementRecord* record) override;
    void fetchAchievement(AchievementRecord* record) override;
    void authenticateUser() override;
    bool isAvailable() const override { return true; }

    const vessot::String& getFilePath() const { return path; }

private:
    // Reads the file once before states are first used; answers the problem found, "" when none.
    vessot::String ensureLoaded();
    vessot::String readFile();
    void writeFile();

    vessot::String path;
    bool loaded = false;
    std::unordered_map<vessot::String, float> states;
};

// Creates the best service there is (the offline one; "force_offline" asks for it explicitly),
// replacing the current one.
AchievementsService* instantiateBestAchievementsService(const std::map<vessot::String, void*>& options);
// Makes the given service the current one, replacing it (a service of another kind than the best,
// such as one whose platform reports it unavailable).
AchievementsService* setAchievementsService(std::unique_ptr<AchievementsService> service);
// The current service; null before the first instantiation and after destroy.
AchievementsService* getAchievementsService();
// Deletes the current service and its delegate.
void destroy();

} // namespace tulm
