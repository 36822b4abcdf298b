// The achievements menu on the running game: the first page on entry, the entries' looks by their
// state, the count, the page buttons and their limits, the detail of an unlocked entry, and the
// return; on the mobile interface the last of its eight pages.
#include "UiTest.h"

#include "ui/Achievements.h"

#include "echon/AudioManager.h"
#include "nimboui/ImageBox.h"
#include "nimboui/Label.h"

namespace {

class AchievementsMenu : public RunningGame {
protected:
    // Unlocks the achievements and enters the menu from the cockpit, as an opener does.
    void enter(const std::vector<const char*>& unlocked) {
        for (const char* id : unlocked) {
            Achievements::unlock(id);
        }
        game->setVar("achievements_menu_prev_scene", "ship.Cockpit");
        switchNow("ui.AchievementsMenu");
    }

    void clickObject(const char* name) {
        morvec::Vector2 at = centreOf(name);
        game->click(at.x, at.y);
    }

    static vessot::String pageLabel() { return ui<nimboui::Label>("acm_page_label")->getText(); }

    // The entry's look: its background, medal, clickability and label.
    static void expectEntry(int n, const char* id, bool unlocked, const char* font) {
        SCOPED_TRACE(testing::Message() << "entry " << n << " " << id);
        vessot::String entry(n);
        EXPECT_EQ(ui<nimboui::ImageBox>("acm_bg_" + entry)->getImageName(),
                  unlocked ? "achievement_bg" : "achievement_gray_bg");
        EXPECT_EQ(ui<nimboui::ImageBox>("acm_" + entry)->getImageName(),
                  vessot::String(unlocked ? "achievements_small/" : "achievements_gray/") + id);
        EXPECT_EQ(ui("acm_button_" + entry)->isVisible(), unlocked);
        EXPECT_FALSE(ui("acm_fb_" + entry)->isVisible());
        vessot::String format = vessot::String("{[f:hheaven:") + font +
                                (unlocked ? "][c=640000]%s[/c][/f]\n%s} " : "][c=CFCFCF]%s[/c][/f]\n%s} ");
        EXPECT_EQ(ui<nimboui::Label>("acm_label_" + entry)->getTextKey(),
                  format + "achievement_title_" + id + " " +
                      (unlocked ? "achievement_unlocked_desc_" : "achievement_desc_") + id);
    }
};

TEST_F(AchievementsMenu, PagesThroughEveryAchievementWithinItsLimits) {
    enter({"adventure_begins", "map", "lava"});
    EXPECT_EQ(ui<nimboui::Label>("acm_info")->getTextKey(), "{%s %s} ui.ACHIEVEMENTS_UNLOCKED {3 / 32}");
    EXPECT_EQ(pageLabel(), "1 / 2");
    expectEntry(1, "adventure_begins", true, "0.55");
    expectEntry(2, "threat", false, "0.55");
    expectEntry(8, "map", true, "0.55");
    expectEntry(16, "mutiny", false, "0.55");

    // On the first page "previous" only clicks: the page is not refilled.
    ui<nimboui::Label>("acm_label_1")->setTextKey("untouched");
    clickObject("acm_page_prev");
    EXPECT_EQ(ui<nimboui::Label>("acm_label_1")->getTextKey(), "untouched");
    clickObject("acm_page_next");
    EXPECT_EQ(pageLabel(), "2 / 2");
    expectEntry(1, "halfway_done", false, "0.55");
    expectEntry(2, "lava", true, "0.55");
    expectEntry(16, "speed_runner", false, "0.55");
    ui<nimboui::Label>("acm_label_1")->setTextKey("untouched");
    clickObject("acm_page_next");
    EXPECT_EQ(ui<nimboui::Label>("acm_label_1")->getTextKey(), "untouched");
    EXPECT_EQ(pageLabel(), "2 / 2");
    clickObject("acm_page_prev");
    EXPECT_EQ(pageLabel(), "1 / 2");

    // Entering again from another scene starts at the first page.
    clickObject("acm_page_next");
    switchNow("ship.Cockpit");
    switchNow("ui.AchievementsMenu");
    EXPECT_EQ(pageLabel(), "1 / 2");
}

TEST_F(AchievementsMenu, AnUnlockedEntryOpensItsDetailAndALockedOneCannotBeClicked) {
    enter({"map"});
    clickObject("acm_bg_2");
    EXPECT_EQ(var("cdialog"), "");
    clickObject("acm_button_8");
    EXPECT_EQ(var("cdialog"), "achievement,map,1");
    EXPECT_TRUE(ui("cdialog_achievement_container")->isVisible());
}

TEST_F(AchievementsMenu, CloseReturnsWhereTheMenuWasOpenedFromOrElseToTheMainMenu) {
    enter({});
    clickObject("acm_page_next"); // a page change makes the menu its own previous scene
    clickObject("achievments_menu_close");
    ASSERT_NE(Session::activeTransition, nullptr);
    EXPECT_EQ(Session::activeTransition, Session::transitions["fade"]);
    EXPECT_FLOAT_EQ(Session::activeTransition->duration, 0.5f);
    game->finishTransition();
    EXPECT_EQ(var("active_scene"), "ship.Cockpit");

    game->setVar("achievements_menu_prev_scene", "");
    switchNow("ui.AchievementsMenu");
    echon::mgr->stopAll();
    echon::mgr->suspendAudio(); // the click stays playing, however long the frame takes
    game->key(27);              // Esc
    EXPECT_TRUE(echon::mgr->isAnyPlaying(uiChapter->getFullSoundName("click")));
    echon::mgr->resumeAudio();
    ASSERT_NE(Session::activeTransition, nullptr);
    EXPECT_EQ(Session::activeTransition->targetScene, "menu.MainMenu");
    // There is no main menu to land in yet.
    Session::activeTransition = nullptr;
}

class MobileAchievementsMenu : public AchievementsMenu {
protected:
    GameHarness::Options options() const override { return GameHarness::Options::mobile(); }
};

TEST_F(MobileAchievementsMenu, TheLastOfEightPagesShowsTheLastFourAchievements) {
    ASSERT_EQ(uiChapter->getDefinitionFilePath(), "data/ui/ui_mobile_hd.datadef");
    enter({"casual_end", "speed_runner"});
    EXPECT_EQ(pageLabel(), "1 / 8");
    EXPECT_EQ(ui<nimboui::Label>("acm_info")->getTextKey(), "{%s %s} ui.ACHIEVEMENTS_UNLOCKED {2 / 32}");
    for (int page = 2; page <= 9; ++page) {
        clickObject("acm_page_next");
    }
    EXPECT_EQ(pageLabel(), "8 / 8");
    expectEntry(1, "casual_end", true, "1.2");
    expectEntry(2, "casual_master", false, "1.2");
    expectEntry(3, "top_gamer", false, "1.2");
    expectEntry(4, "speed_runner", true, "1.2");
}

} // namespace
