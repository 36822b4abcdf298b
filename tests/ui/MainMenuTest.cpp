// The main menu on the running game: a real entry against a refresh, the autosave that Resume
// would load, the language flag, the places that follow the window's width, every button's target
// and variables, and the two steps of a new game in both chapter modes.
#include "FrontEndFixture.h"

#include "engine/app/Engine.h"
#include "script/Character2D.h"
#include "ui/Cdialog.h"

#include "nimboui/ImageButton.h"
#include "nimboui/Label.h"
#include "tulm/Achievements.h"

namespace {

int count(const std::string& text, const std::string& part) {
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++n;
    }
    return n;
}

TEST_F(FrontEndTest, ARealEntryEndsTheGameARefreshKeepsIt) {
    make("username.txt", "Anna");
    const std::string authenticated = "[vorne] User authenticated to achievement service.";
    int before = count(game->log(), authenticated);
    game->setVar("cockpit_visits", "5");
    Session::getChapter("jama_spacea")->load(); // a chapter loaded beside the one left
    enter("MainMenu");
    EXPECT_FALSE(isLoaded("ship"));
    EXPECT_FALSE(isLoaded("jama_spacea"));
    EXPECT_NE(game->log().find("[vorne] unloadAllChapters unloaded: jama_spacea \n"), std::string::npos);
    EXPECT_EQ(var("cockpit_visits"), "0");
    EXPECT_EQ(var("active_scene"), "menu.MainMenu");
    EXPECT_EQ(var("prev_scene"), "menu.MainMenu");
    EXPECT_EQ(menu<nimboui::Label>("profile_btn")->getTextKey(), "{%f} ui.PROFILE_FORMAT_STRING {Anna}");
    EXPECT_EQ(menu<nimboui::Label>("version_string")->getText(), "1.0.0");
    EXPECT_EQ(count(game->log(), authenticated), before + 1);

    // A refresh resets nothing and reads no name.
    game->setVar("cockpit_visits", "5");
    make("username.txt", "Bob");
    Session::activeScene->reset();
    EXPECT_EQ(var("cockpit_visits"), "5");
    EXPECT_EQ(menu<nimboui::Label>("profile_btn")->getTextKey(), "{%f} ui.PROFILE_FORMAT_STRING {Anna}");

    // Another real entry reads the name again but authenticates only once a run.
    enter("Credits");
    enter("MainMenu");
    EXPECT_EQ(var("cockpit_visits"), "0");
    EXPECT_EQ(menu<nimboui::Label>("profile_btn")->getTextKey(), "{%f} ui.PROFILE_FORMAT_STRING {Bob}");
    EXPECT_EQ(count(game->log(), authenticated), before + 1);

    // Without an achievements service there is nothing to authenticate or to show.
    EXPECT_EQ(menu("achievements_btn")->getAlpha(), 1.0f);
    tulm::destroy();
    enter("Credits");
    enter("MainMenu");
    EXPECT_EQ(menu("achievements_btn")->getAlpha(), 0.5f);
}

TEST_F(FrontEndTest, ResumeTakesTheFirstWholeAutosave) {
    const struct {
        std::vector<std::string> entries;
        const char* profile;
        const char* slot;
    } cases[] = {
        {{}, "", ""},
        {{"autosave/slot3/info.txt"}, "", "slot3"},
        {{"autosave/slot1/game.sav", "autosave/slot2/info.txt", "autosave/slot5/info.txt"}, "", "slot2"},
        {{"autosave/slot1/"}, "", ""},
        {{"autosave/slot7/info.txt", "autosave/slot0/info.txt"}, "", ""},
        {{"autosave/slot1/info.txt", "_profile2/autosave/slot4/info.txt"}, "/_profile2", "slot4"},
    };
    enter("MainMenu");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.slot);
        std::filesystem::remove_all(user("autosave"));
        std::filesystem::remove_all(user("_profile2"));
        for (const std::string& entry : c.entries) {
            make(entry);
        }
        Session::setParam("profile", c.profile);
        Session::activeScene->reset();
        EXPECT_EQ(Menu::resumeSlot, c.slot);
        bool found = c.slot[0] != 0;
        EXPECT_EQ(menu("resume_btn")->isVisible(), found);
        EXPECT_EQ(menu("resume_disabled")->isVisible(), !found);
    }
}

TEST_F(FrontEndTest, TheFlagIsTheLanguageInUse) {
    const std::pair<const char*, const char*> languages[] = {
        {"", "en"}, {"en", "en"}, {"de", "de"}, {"pt-PT", "pt-PT"}, {"zh", "zh"}, {"ja_draskel", "en"}, {"pt-BR", "en"},
    };
    enter("MainMenu");
    Chapter* chapter = Menu::chapter();
    for (const auto& [language, code] : languages) {
        SCOPED_TRACE(language);
        nimboui::setLocalization(language);
        Session::activeScene->reset();
        auto* flag = menu<nimboui::ImageButton>("locale_btn");
        vessot::String flagName = vessot::String("flag_") + code;
        EXPECT_EQ(flag->getImageName(), flagName + "_normal");
        EXPECT_EQ(flag->getHoverImage(), chapter->getImage(flagName));
        EXPECT_EQ(flag->getPushedImage(), chapter->getImage(flagName + "_dn"));
    }
}

TEST_F(FrontEndTest, EveryButtonLeadsWhereItSays) {
    const struct {
        const char* button;
        const char* target;
        std::vector<std::pair<const char*, const char*>> variables;
    } buttons[] = {
        {"new_game_btn", "ModeMenu", {}},
        {"load_game_btn", "ui.SaveLoadMenu", {{"sl_mode", "load"}, {"sl_prev_scene", "menu.MainMenu"}}},
        {"settings_btn", "ui.SettingsMenu", {{"settings_prev_scene", "menu.MainMenu"}}},
        {"achievements_btn", "ui.AchievementsMenu", {{"achievements_menu_prev_scene", "menu.MainMenu"}}},
        {"credits_btn", "Credits", {}},
        {"locale_btn", "LocaleMenu", {}},
        {"profile_btn", "ProfileManager", {}},
        {"promo_video_btn", "PromoVideo", {}},
        {"quit_btn", "", {{"cdialog", "menu.QUIT_GAME_DIALOG,quit_action,none"}}},
    };
    for (const auto& b : buttons) {
        SCOPED_TRACE(b.button);
        enter("MainMenu");
        for (const auto& [name, value] : b.variables) {
            game->setVar(name, "unset");
        }
        press(b.button);
        EXPECT_EQ(target(), b.target);
        if (*b.target) {
            EXPECT_TRUE(fades());
            EXPECT_FLOAT_EQ(Session::activeTransition->duration, 0.5f);
        }
        for (const auto& [name, value] : b.variables) {
            EXPECT_EQ(var(name), value) << name;
        }
        game->finishTransition();
        Cdialog::answer(2);
        game->stepSeconds(1.0f);
        switchNow("ship.Cockpit");
    }
}

TEST_F(FrontEndTest, AMenuShownHighlightsNothingThePointerRestsOnUntilItMoves) {
    const struct {
        const char* scene;
        const char* button;
        bool hoveredWhenLeft; // else the pointer came there while another menu showed
    } buttons[] = {
        {"MainMenu", "credits_btn", false}, {"ModeMenu", "modemenu_return", false},
        {"LocaleMenu", "locale_de", false}, {"ProfileManager", "pm_close", false},
        {"MainMenu", "credits_btn", true},
    };
    for (const auto& [scene, button, hoveredWhenLeft] : buttons) {
        SCOPED_TRACE(scene);
        enter(hoveredWhenLeft ? scene : "Credits");
        morvec::Vector2 at = GameHarness::centreOf(menu(button));
        game->move(at.x, at.y);
        if (hoveredWhenLeft) {
            ASSERT_TRUE(menu(button)->isHovered());
            enter("Credits");
        }
        enter(scene);
        EXPECT_FALSE(menu(button)->isHovered());
        game->move(at.x + 1, at.y);
        EXPECT_TRUE(menu(button)->isHovered());
    }
}

TEST_F(FrontEndTest, ANewGameStartsAfreshOrInTheSecondChapterLocked) {
    const struct {
        const char* mode;
        std::vector<std::pair<const char*, const char*>> variables;
        const char* scene;
    } modes[] = {
        {"0",
         {{"cockpit_visits", "0"}, {"pipe_fixed", "0"}, {"planet_trips", "0"}, {"vorne_scene", ""}},
         "intro.Intro01"},
        {"2",
         {{"cockpit_visits", "3"}, {"pipe_fixed", "1"}, {"planet_trips", "2"}, {"vorne_scene", "terra_nuova.Station"}},
         "terra_nuova.Station"},
    };
    auto* luna = dynamic_cast<Character2D*>(charactersChapter->getObject("luna"));
    ASSERT_TRUE(luna);
    for (const auto& m : modes) {
        SCOPED_TRACE(m.mode);
        enter("ModeMenu");
        Session::setParam("chapter_mode", m.mode);
        game->setVar("cockpit_visits", "7");
        game->setVar("inv_ignore_notifications", "1");
        Session::executeCommand("add_item spanner");
        Vars::snapshot.get("cockpit_visits")->setValue("9", true);
        luna->addJob(new TestJob("Say"));
        textMultiplier = 5.0f;

        Menu::resetGameState();
        for (const auto& [name, value] : m.variables) {
            EXPECT_EQ(var(name), value) << name;
            EXPECT_EQ(Vars::snapshot.get(name)->getValue(), value) << name;
        }
        EXPECT_EQ(var("items"), "");
        EXPECT_EQ(var("inv_ignore_notifications"), "0");
        EXPECT_EQ(var("textmode_exception"), "0");
        EXPECT_FLOAT_EQ(textMultiplier, 1.0f);
        EXPECT_EQ(luna->getJobQueueSize(), 0u);

        Menu::startNewGame();
        EXPECT_EQ(target(), m.scene);
        EXPECT_TRUE(fades());
        EXPECT_FLOAT_EQ(Session::activeTransition->duration, 2.0f);
        EXPECT_EQ(Session::sceneLocked, std::string(m.mode) == "2");
        game->finishTransition();
        EXPECT_EQ(var("active_scene"), m.scene);
        Session::unlockScene();
    }
}

// The maker's mark, the flag and the version follow the window's edges.
class MainMenuLayout : public FrontEndTest, public ::testing::WithParamInterface<std::pair<int, int>> {
protected:
    GameHarness::Options options() const override {
        GameHarness::Options options;
        options.width = GetParam().first;
        options.height = GetParam().second;
        return options;
    }
};

TEST_P(MainMenuLayout, EdgeObjectsMoveByTheWidescreenOffset) {
    enter("MainMenu");
    float aspect = (float)GetParam().first / (float)GetParam().second;
    float offset = aspect >= 4.0f / 3.0f ? (aspect - 4.0f / 3.0f) * 160.0f : 0.0f;
    EXPECT_NEAR(menu("version_string")->getX(), offset, 0.01f);
    EXPECT_NEAR(menu("quenda_logo")->getX(), 5.0f - offset, 0.01f);
    EXPECT_NEAR(menu("locale_btn")->getX(), 5.0f - offset, 0.01f);
    if (GetParam().first == 1280 && GetParam().second == 720) {
        EXPECT_NEAR(offset, 71.11f, 0.01f);
    }
}

INSTANTIATE_TEST_SUITE_P(WindowSizes, MainMenuLayout,
                         ::testing::Values(std::make_pair(1280, 720), std::make_pair(640, 480),
                                           std::make_pair(600, 800), std::make_pair(1000, 600)));

} // namespace
