#include "TempDir.h"
#include "tulm/Achievements.h"
#include "tulm/System.h"
#include "vessot/File.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace tulm;

namespace {

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name(name) {
        if (const char* old = std::getenv(name)) {
            previous = old;
            had = true;
        }
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    ~ScopedEnv() { had ? setenv(name, previous.c_str(), 1) : unsetenv(name); }

private:
    const char* name;
    std::string previous;
    bool had = false;
};

// Remembers every callback.
struct RecordingDelegate : AchievementsServiceDelegate {
    explicit RecordingDelegate(std::vector<std::string>& log, bool* destroyed = nullptr)
        : log(log), destroyed(destroyed) {}
    ~RecordingDelegate() override {
        if (destroyed) {
            *destroyed = true;
        }
    }
    void onUserAuthenticated(bool failed, const vessot::String& message) override {
        log.push_back("authenticated " + std::to_string(failed) + " " + std::string(message));
    }
    void onAchievementsLoaded(bool failed, const vessot::String& message) override {
        log.push_back("loaded " + std::to_string(failed) + " " + std::string(message));
    }
    void onUnlockFinished(bool failed, const vessot::String& message, AchievementRecord* record) override {
        log.push_back("unlocked " + std::to_string(failed) + " " + std::string(message) + " " +
                      (record ? std::string(record->getId()) : "-"));
        delete record;
    }
    std::vector<std::string>& log;
    bool* destroyed;
};

// A fresh offline service on the given file.
AchievementsService* serviceFor(const std::string& path, std::vector<std::string>* log = nullptr) {
    AchievementsService* service = instantiateBestAchievementsService({{"force_offline", nullptr}});
    service->setFilePath(path);
    if (log) {
        service->setDelegate(new RecordingDelegate(*log));
    }
    return service;
}

bool isUnlocked(AchievementsService* service, const char* id) {
    AchievementRecord* record = service->createAchievement(id, 0);
    service->fetchAchievement(record);
    bool complete = record->isComplete();
    delete record;
    return complete;
}

void unlock(AchievementsService* service, const char* id) {
    AchievementRecord* record = service->createAchievement(id, 0);
    record->setProgress(100.0f);
    service->submitAchievement(record);
}

} // namespace

TEST(SystemPath, DataHomeMakerAndTitle) {
    TempDir dir;
    ScopedEnv noOverride("ZEPH_USER_DIR", nullptr);
    {
        ScopedEnv dataHome("XDG_DATA_HOME", dir.path.c_str());
        vessot::String path = createSystemPath("Quenda Games", "Vestrel Vorne", 5);
        EXPECT_EQ(path, dir.path + "/Quenda Games/Vestrel Vorne/");
        EXPECT_TRUE(vessot::Dir::exists(path));
    }
    for (const char* dataHome : {(const char*)nullptr, "relative/ignored"}) {
        ScopedEnv xdg("XDG_DATA_HOME", dataHome);
        ScopedEnv home("HOME", dir.path.c_str());
        vessot::String path = createSystemPath("Maker", "Game", 5);
        EXPECT_EQ(path, dir.path + "/.local/share/Maker/Game/");
        EXPECT_TRUE(vessot::Dir::exists(path));
    }
}

TEST(SystemPath, OverrideIsMadeAbsoluteAndEndsWithASeparator) {
    TempDir dir;
    ScopedEnv dataHome("XDG_DATA_HOME", (dir / "unused").c_str());
    {
        ScopedEnv user("ZEPH_USER_DIR", (dir / "users/me/").c_str());
        EXPECT_EQ(createSystemPath("Maker", "Game", 5), dir / "users/me/");
    }
    std::string cwd = std::filesystem::current_path().string();
    std::filesystem::current_path(dir.path);
    {
        ScopedEnv user("ZEPH_USER_DIR", "./relative/user");
        vessot::String path = createSystemPath("Maker", "Game", 5);
        EXPECT_EQ(path, std::filesystem::canonical(dir.path).string() + "/relative/user/");
        EXPECT_TRUE(vessot::Dir::exists(path));
    }
    std::filesystem::current_path(cwd);
    EXPECT_FALSE(vessot::Dir::exists(dir / "unused"));
}

TEST(SystemPath, FolderThatCannotBeCreatedThrows) {
    TempDir dir;
    std::ofstream(dir / "file") << "x";
    ScopedEnv user("ZEPH_USER_DIR", (dir / "file/sub").c_str());
    EXPECT_THROW(createSystemPath("Maker", "Game", 5), vessot::exception);
}

TEST(AchievementsService, LifecycleAndDelegateOwnership) {
    EXPECT_EQ(getAchievementsService(), nullptr);
    std::vector<std::string> log;
    bool firstGone = false;
    bool secondGone = false;
    AchievementsService* service = instantiateBestAchievementsService({});
    ASSERT_EQ(getAchievementsService(), service);
    EXPECT_EQ(service->getClassName(), "OfflineAchievementsService");
    EXPECT_TRUE(service->isAvailable());
    service->setDelegate(new RecordingDelegate(log, &firstGone));
    service->setDelegate(new RecordingDelegate(log, &secondGone));
    EXPECT_TRUE(firstGone) << "a new delegate replaces the old one";
    service->authenticateUser();
    EXPECT_EQ(log, (std::vector<std::string>{"authenticated 0 "}));
    destroy();
    EXPECT_TRUE(secondGone);
    EXPECT_EQ(getAchievementsService(), nullptr);
    destroy();
    EXPECT_NE(instantiateBestAchievementsService({{"force_offline", nullptr}}), nullptr);
    destroy();
}

TEST(AchievementsService, UnlocksPersistAcrossAReload) {
    TempDir dir;
    std::string file = dir / "_achievements.bin";
    std::vector<std::string> log;
    AchievementsService* service = serviceFor(file, &log);
    EXPECT_FALSE(isUnlocked(service, "ACH_ONE"));
    unlock(service, "ACH_ONE");
    EXPECT_EQ(log, (std::vector<std::string>{"unlocked 0  ACH_ONE"}));
    EXPECT_EQ(slurp(file), "zeph-achievements 1\n100 ACH_ONE\n");

    destroy();
    log.clear();
    service = serviceFor(file, &log);
    service->authenticateUser();
    service->loadAchievements();
    EXPECT_EQ(log, (std::vector<std::string>{"authenticated 0 ", "loaded 0 "}));
    EXPECT_TRUE(isUnlocked(service, "ACH_ONE"));
    EXPECT_FALSE(isUnlocked(service, "ACH_TWO"));
    destroy();
}

TEST(AchievementsService, SubmitBeforeAnyLoadKeepsEarlierUnlocks) {
    TempDir dir;
    std::string file = dir / "_profile1_achievements.bin";
    std::ofstream(file) << "zeph-achievements 1\n100 ACH_OLD\n40 ACH_HALF WAY\n";
    // No delegate: the service deletes the record itself.
    AchievementsService* service = serviceFor(file);
    unlock(service, "ACH_NEW");
    EXPECT_EQ(slurp(file), "zeph-achievements 1\n40 ACH_HALF WAY\n100 ACH_NEW\n100 ACH_OLD\n");

    // Progress never goes back.
    AchievementRecord* lower = service->createAchievement("ACH_NEW", 0);
    lower->setProgress(10.0f);
    service->submitAchievement(lower);
    EXPECT_TRUE(isUnlocked(service, "ACH_NEW"));
    destroy();
}

TEST(AchievementsService, DamagedFileIsKeptAsideAndReported) {
    TempDir dir;
    std::string file = dir / "_achievements.bin";
    std::ofstream(dir / "other.sav") << "player's save";
    for (const char* damage : {"garbage\x01\x02", "zeph-achievements 1\nnot-a-number ACH\n", "zeph-achievements 9\n",
                               "zeph-achievements 1\nnan ACH\n", "zeph-achievements 1\n-inf ACH\n"}) {
        std::filesystem::remove(dir / "_achievements.bin.damaged");
        std::ofstream(file, std::ios::binary) << damage;
        std::vector<std::string> log;
        AchievementsService* service = serviceFor(file, &log);
        EXPECT_FALSE(isUnlocked(service, "ACH"));
        ASSERT_EQ(log.size(), 1u);
        EXPECT_EQ(log[0].rfind("loaded 1 Achievements file " + file + " is damaged", 0), 0u) << log[0];
        EXPECT_NE(log[0].find("kept as " + file + ".damaged"), std::string::npos) << log[0];
        EXPECT_EQ(slurp(file + ".damaged"), damage);
        EXPECT_FALSE(vessot::File::exists(file));

        unlock(service, "ACH");
        EXPECT_EQ(slurp(file), "zeph-achievements 1\n100 ACH\n");
        EXPECT_EQ(slurp(file + ".damaged"), damage) << "the backup is left alone";
        destroy();
    }
    EXPECT_EQ(slurp(dir / "other.sav"), "player's save");
}

TEST(AchievementsService, FailedSubmitsAreReported) {
    TempDir dir;
    std::vector<std::string> log;
    AchievementsService* service = serviceFor(dir / "missing/folder/_achievements.bin", &log);
    unlock(service, "ACH");
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].rfind("unlocked 1 ", 0), 0u);
    EXPECT_NE(log[0].find("_achievements.bin"), std::string::npos);

    log.clear();
    service->setFilePath(dir / "_achievements.bin");
    unlock(service, "BAD\nID");
    EXPECT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].rfind("unlocked 1 Invalid achievement id", 0), 0u);
    EXPECT_FALSE(vessot::File::exists(dir / "_achievements.bin"));
    destroy();
}

TEST(OpenUrl, HeadlessOnlyLogs) {
    ScopedEnv headless("ZEPH_HEADLESS", "1");
    EXPECT_FALSE(openUrl("https://example.invalid/store"));
}

TEST(OpenUrl, RunsTheHandlerWithTheAddressAsOneArgument) {
    TempDir dir;
    ScopedEnv headless("ZEPH_HEADLESS", nullptr);
    std::string script = dir / "xdg-open";
    std::ofstream(script) << "#!/bin/sh\nprintf '%s|' \"$#\" \"$@\" > \"" << dir.path << "/args.tmp\"\nmv \""
                          << dir.path << "/args.tmp\" \"" << dir.path << "/args\"\n";
    chmod(script.c_str(), 0755);
    ScopedEnv path("PATH", (dir.path + ":/usr/bin:/bin").c_str());
    const char* url = "https://example.invalid/a b;touch pwned&x=$(id)";
    ASSERT_TRUE(openUrl(url));
    // The handler runs detached; wait for it to finish writing (the limit only guards against a hang).
    for (int i = 0; i < 12000 && !vessot::File::exists(dir / "args"); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(slurp(dir / "args"), std::string("1|") + url + "|");
    EXPECT_FALSE(vessot::File::exists("pwned"));

    ScopedEnv noHandler("PATH", (dir / "nothing-here").c_str());
    EXPECT_FALSE(openUrl(url));
}
