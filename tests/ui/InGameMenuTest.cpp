// The in-game menu, the help screen and the quick tutorial on the running game: what each button's
// named action does, the achievements button by the service's state, dimmed buttons, and the
// tutorial's pages.
#include "SaveFixture.h"

#include "script/Actions.h"
#include "ui/InGameMenu.h"

#include "echon/AudioManager.h"
#include "tulm/Achievements.h"

namespace {

// A service that reports itself unavailable.
class UnavailableService : public tulm::OfflineAchievementsService {
public:
    bool isAvailable() const override { return false; }
};

} // namespace

class InGameMenu : public SaveFixture {
protected:
    void openMenu() {
        if (!var("cdialog").empty()) {
            set("cdialog", "");
            game->stepSeconds(0.7f); // the confirmation box and its click blocker fade out
        }
        switchNow("ship.Cockpit");
        set("ingame_menu_prev_scene", "ship.Cockpit");
        switchNow("ui.InGameMenu");
        game->step();
    }
};

TEST_F(InGameMenu, EachButtonRunsTheNamedActionOfItsName) {
    struct Case {
        const char* button;
        const char* scene;
        std::vector<std::pair<const char*, const char*>> vars;
    };
    const Case cases[] = {
        {"ingame_load", "ui.SaveLoadMenu", {{"sl_mode", "load"}, {"sl_prev_scene", "ui.InGameMenu"}}},
        {"ingame_save", "ui.SaveLoadMenu", {{"sl_mode", "save"}, {"sl_prev_scene", "ui.InGameMenu"}}},
        {"ingame_settings", "ui.SettingsMenu", {{"settings_prev_scene", "ui.InGameMenu"}}},
        {"ingame_achievements", "ui.AchievementsMenu", {{"achievements_menu_prev_scene", "ui.InGameMenu"}}},
        {"ingame_tutorial", "ui.QuickTutorial", {{"tutorial_prev_scene", "ui.InGameMenu"}}},
        {"ingame_help", "ui.HelpMenu", {}},
        {"ingame_quit_menu", "ui.InGameMenu", {{"cdialog", "ui.INGAME_QUIT_MENU_DIALOG,ui.ingame_quit_to_menu,none"}}},
        {"ingame_quit_game", "ui.InGameMenu", {{"cdialog", "ui.INGAME_QUIT_GAME_DIALOG,ui.ingame_quit,none"}}},
        {"ingame_resume", "ship.Cockpit", {}},
    };
    echon::mgr->suspendAudio(); // a click stays playing, however long a frame takes
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        openMenu();
        echon::mgr->stopAll();
        clickObject(c.button);
        EXPECT_TRUE(echon::mgr->isAnyPlaying(uiChapter->getFullSoundName("click")));
        game->finishTransition();
        EXPECT_EQ(var("active_scene"), c.scene);
        for (const auto& [name, value] : c.vars) {
            EXPECT_EQ(var(name), value) << name;
        }
    }
    // The help screen's button returns where it was opened from: the menu, or the game after F1
    // (the menu would have had no scene to resume to).
    openMenu();
    clickObject("ingame_help");
    game->finishTransition();
    clickObject("help_close");
    game->finishTransition();
    EXPECT_EQ(var("active_scene"), "ui.InGameMenu");
    switchNow("ship.Cockpit");
    game->key(112); // F1
    game->finishTransition();
    ASSERT_EQ(var("active_scene"), "ui.HelpMenu");
    echon::mgr->stopAll();
    clickObject("help_close");
    EXPECT_TRUE(echon::mgr->isAnyPlaying(uiChapter->getFullSoundName("click")));
    game->finishTransition();
    EXPECT_EQ(var("active_scene"), "ship.Cockpit");
    echon::mgr->resumeAudio();
}

TEST_F(InGameMenu, TheAchievementsButtonIsActiveOnlyWhileTheServiceIsAvailable) {
    struct Case {
        const char* name;
        std::function<void()> service;
        float alpha;
    };
    const Case cases[] = {
        {"Available", [] { tulm::instantiateBestAchievementsService({}); }, 1.0f},
        {"Unavailable", [] { tulm::setAchievementsService(std::make_unique<UnavailableService>()); }, 0.5f},
        {"Absent", [] { tulm::destroy(); }, 0.5f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        openMenu();
        c.service();
        game->step();
        EXPECT_FLOAT_EQ(object("ingame_achievements")->getAlpha(), c.alpha);
        clickObject("ingame_achievements");
        game->finishTransition();
        EXPECT_EQ(var("active_scene"), c.alpha == 1.0f ? "ui.AchievementsMenu" : "ui.InGameMenu");
    }
}

TEST_F(InGameMenu, AButtonStillFadingInDoesNothingAndOneShownDoesOnlyWhatItsNamedActionDoes) {
    openMenu();
    object("ingame_help")->setAlpha(0.99f);
    clickObject("ingame_help");
    game->finishTransition();
    EXPECT_EQ(var("active_scene"), "ui.InGameMenu");
    delete uiChapter->namedActions["ingame_help"];
    uiChapter->namedActions["ingame_help"] = new Actions::DebugPrint("silent help");
    object("ingame_help")->setAlpha(1.0f);
    echon::mgr->stopAll();
    echon::mgr->suspendAudio();
    clickObject("ingame_help");
    EXPECT_FALSE(echon::mgr->isAnyPlaying(uiChapter->getFullSoundName("click")));
    echon::mgr->resumeAudio();
}

TEST_F(InGameMenu, TheTutorialTurnsSixPagesAndReturnsWhereItWasOpened) {
    openMenu();
    clickObject("ingame_tutorial");
    game->finishTransition();
    auto shownPage = [] {
        for (int page = 0; page < 6; ++page) {
            if (object("quicktutorial_page_" + String(page))->getParent() ==
                static_cast<nimboui::Object*>(Session::activeScene->root)) {
                return page;
            }
        }
        return -1;
    };
    EXPECT_EQ(shownPage(), 0);
    clickObject("quicktutorial_prev"); // page 0: only the click
    EXPECT_EQ(var("quicktutorial_page"), "0");
    for (int page = 1; page <= 6; ++page) {
        clickObject("quicktutorial_next");
        EXPECT_EQ(var("quicktutorial_page"), String(std::min(page, 5)));
        EXPECT_EQ(shownPage(), std::min(page, 5));
    }
    clickObject("quicktutorial_prev");
    EXPECT_EQ(var("quicktutorial_page"), "4");
    EXPECT_EQ(var("tutorial_prev_scene"), "ui.InGameMenu"); // kept across the page turns
    clickObject("quicktutorial_close");
    game->finishTransition();
    EXPECT_EQ(var("active_scene"), "ui.InGameMenu");
}

TEST_F(InGameMenu, TheWayBackToTheMainMenuNamesItsChapter) {
    makeChapter("menu", "MainMenu");
    openMenu();
    Menu::gotoMainMenu();
    game->finishTransition();
    EXPECT_EQ(var("active_scene"), "menu.MainMenu");
}
