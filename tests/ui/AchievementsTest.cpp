// The achievements bridge on a temporary user folder (unlocks, reloads, profiles, no service), and
// the unlock popups on the running game (slots, fading, layout).
#include "UiTest.h"

#include "engine/GameRun.h"
#include "engine/session/zephUtil.h"
#include "ui/Achievements.h"

#include "nimboui/Animators.h"
#include "nimboui/ImageBox.h"
#include "nimboui/Label.h"
#include "tulm/Achievements.h"
#include "vessot/Log.h"

#include <filesystem>

namespace {

class AchievementsBridge : public ::testing::Test {
protected:
    void SetUp() override {
        user = testUserFolder().path + "/";
        for (const auto& entry : std::filesystem::directory_iterator(user)) {
            std::filesystem::remove_all(entry.path());
        }
        vessot::Log::setEcho(false);
        vessot::Log::setFilename(user + "game.log", true);
        Session::params["profile"] = "";
        Achievements::idMapper = &mapper;
        mapper.createService(Achievements::profileAchievementsFile(), nullptr);
    }
    void TearDown() override {
        tulm::destroy();
        Achievements::idMapper = nullptr;
        vessot::Log::reset();
        vessot::Log::setEcho(true);
    }

    // Whether each id is unlocked, as "id:0" or "id:1" joined by blanks.
    static std::string states(const std::vector<const char*>& ids) {
        std::string text;
        for (const char* id : ids) {
            text += std::string(text.empty() ? "" : " ") + id + ":" + (mapper.isUnlocked(id) ? "1" : "0");
        }
        return text;
    }
    std::string log() const { return readWholeFile(user + "game.log"); }

    static inline Achievements::IdMapper mapper;
    std::string user;
};

TEST_F(AchievementsBridge, AnUnlockIsSubmittedOnceAndTheSecondIsRefused) {
    EXPECT_EQ(states({"map"}), "map:0");
    EXPECT_TRUE(Achievements::unlock("map"));
    EXPECT_EQ(states({"map", "lava"}), "map:1 lava:0");
    EXPECT_FALSE(Achievements::unlock("map"));
    expectInOrder(log(), {"[vorne] Unlocking achievement: map",
                          "[vorne] Submitting achievemnt to achievement service: OfflineAchievementsService",
                          "[vorne] Achievement unlocked: map", "[vorne] Unlocking achievement: map",
                          "[vorne] achievement already unlocked, blocking display"});
    EXPECT_EQ(readWholeFile(user + "_achievements.bin"), "zeph-achievements 1\n100 map\n");
}

TEST_F(AchievementsBridge, UnlocksSurviveAReloadAndStayWithTheirProfile) {
    Achievements::unlock("map");
    mapper.reloadService(Achievements::profileAchievementsFile());
    EXPECT_EQ(states({"map"}), "map:1");
    expectInOrder(log(), {"[vorne] Reloading Achievement service", "[vorne] User authenticated to achievement service.",
                          "[vorne] Achievements loaded"});

    Session::params["profile"] = "/_profile2";
    Achievements::reloadForProfile();
    EXPECT_EQ(states({"map", "lava"}), "map:0 lava:0");
    Achievements::unlock("lava");
    Session::params["profile"] = "";
    Achievements::reloadForProfile();
    EXPECT_EQ(states({"map", "lava"}), "map:1 lava:0");
    EXPECT_TRUE(std::filesystem::exists(user + "_profile2_achievements.bin"));
}

TEST_F(AchievementsBridge, WithoutAServiceNothingIsUnlocked) {
    tulm::destroy();
    EXPECT_EQ(states({"map"}), "map:0");
    EXPECT_FALSE(Achievements::unlock("map"));
    Achievements::reloadForProfile();
    EXPECT_EQ(tulm::getAchievementsService(), nullptr);
    expectInOrder(log(), {"[vorne] ERROR! unlock: no achievements service"});
}

class Popups : public RunningGame {
protected:
    static float alpha(int slot) { return ui("achievement_" + vessot::String(slot))->getAlpha(); }
    static vessot::String icon(int slot) { return ui<nimboui::ImageBox>("ac_" + vessot::String(slot))->getImageName(); }
};

TEST_F(Popups, ThreeUnlocksFillTheSlotsAndMoreAreRecordedWithoutAPopup) {
    const char* const ids[] = {"threat", "map", "ash"};
    for (int slot = 1; slot <= 3; ++slot) {
        Achievements::showUnlockedPopup(ids[slot - 1]);
        EXPECT_EQ(alpha(slot), 1.0f);
        EXPECT_EQ(ui("achievement_" + vessot::String(slot))->getY(), 430.0f);
        EXPECT_EQ(icon(slot), vessot::String("achievements_small/") + ids[slot - 1]);
    }
    game->stepSeconds(0.5f);
    for (int slot = 1; slot <= 3; ++slot) {
        EXPECT_EQ(ui("achievement_" + vessot::String(slot))->getY(), 320.0f - 35.0f * slot) << slot;
    }
    // A popup only nearly faded still holds its slot; an achievement unlocked before shows nothing.
    ui("achievement_2")->setAlpha(0.01f);
    Achievements::showUnlockedPopup("lava");
    Achievements::showUnlockedPopup("ash");
    EXPECT_TRUE(Achievements::idMapper->isUnlocked("lava"));
    EXPECT_EQ(icon(2), "achievements_small/map");

    // About eight seconds later all have faded, and the slots are free again.
    ui("achievement_2")->setAlpha(1.0f);
    game->stepSeconds(8.1f);
    EXPECT_EQ(alpha(1), 0.0f);
    EXPECT_EQ(alpha(3), 0.0f);
    Achievements::showUnlockedPopup("dna");
    EXPECT_EQ(alpha(1), 1.0f);
    EXPECT_EQ(icon(1), "achievements_small/dna");
}

TEST_F(Popups, TheLabelAndTheRiseFollowTheLayoutAndTheTarget) {
    struct Case {
        const char* ui;
        const char* target;
        const char* format;
        const char* info;
        float y;
    };
    const Case cases[] = {
        {"pc", "pc", "{[f:hheaven:0.55][c:640000]%s[/c][/f]\n%s} ", " ui.ACHIEVEMENTS_INFO", 285},
        {"pc", "tablet", "{[f:hheaven:0.55][c:640000]%s[/c][/f]\n%s} ", " ui.ACHIEVEMENTS_INFO_TOUCH", 285},
        {"mobile", "pc", "{[f:hheaven:1.0][c:640000]%s[/c][/f]\n%s} ", " ui.ACHIEVEMENTS_INFO", 258},
        {"mobile", "mobile", "{[f:hheaven:1.0][c:640000]%s[/c][/f]\n%s} ", " ui.ACHIEVEMENTS_INFO_TOUCH", 258},
    };
    int next = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.ui << " " << c.target);
        Session::params["ui"] = c.ui;
        Session::params["target"] = c.target;
        const char* id = Achievements::IDS[next++];
        ui("achievement_1")->setAlpha(0.0f);
        Achievements::showUnlockedPopup(id);
        EXPECT_EQ(ui<nimboui::Label>("ac_label_1")->getTextKey(),
                  vessot::String(c.format) + "ui.achievement_title_" + id + c.info);
        Session::params["ui"] = "pc";
        Session::params["target"] = "pc";
        game->stepSeconds(0.5f);
        EXPECT_EQ(ui("achievement_1")->getY(), c.y);
    }
}

} // namespace
