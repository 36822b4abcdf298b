// Keyboard and system events on the running game: the shortcut table of play, the rows that take
// precedence (confirmation, skip, panels, speech, verb coin, busy), the in-game menus' Esc, the
// front end's rules, pause, fast-forward by Space, and the quit request.
#include "RunningGame.h"

#include "engine/view/Input.h"
#include "script/Dialog.h"
#include "script/DialogManager.h"
#include "script/Inventory.h"
#include "script/Speech.h"
#include "ui/DialogPanel.h"
#include "ui/Hud.h"
#include "ui/VerbCoin.h"

#include <filesystem>
#include <fstream>
#include <functional>

namespace {

// The key codes, as the platform delivers them.
enum Key {
    ENTER = 13,
    PAUSE = 19,
    ESC = 27,
    SPACE = 32,
    KEY_C = 67,
    KEY_D = 68,
    KEY_I = 73,
    KEY_L = 76,
    KEY_P = 80,
    KEY_S = 83,
    F1 = 112,
    F3 = 114,
    F4 = 115,
    F5 = 116,
    F6 = 117,
    F9 = 120,
};

const char IN_GAME_QUIT[] = "INGAME_QUIT_GAME_DIALOG,ui.ingame_quit,none";
const char MENU_QUIT[] = "menu.QUIT_GAME_DIALOG,quit_action,none";

class Keyboard : public RunningGame {
protected:
    static void keyUp(int key) {
        Game::guarded([&] { Game::handleKeyShortcuts(key); });
    }
    static void keyDown(int key) {
        Game::guarded([&] { Game::handleKeyPress(key); });
    }
    static void show(const char* name, bool shown) {
        // Panels are open while visible with an alpha above 0; the inventory stays visible at alpha 0.
        Hud::uiObject(name)->setAlpha(shown ? 1.0f : 0.0f);
        if (shown) {
            Hud::uiObject(name)->setVisible(true);
        }
    }
    static bool shown(const char* name) { return Hud::isUiObjectShown(name); }
    // Runs the transition under way to its end.
    static void finishTransition() {
        Lifetime::Scope scope;
        for (int i = 0; i < 200 && Session::activeTransition; ++i) {
            Session::update(0.05f, 0.05f);
        }
    }
};

TEST_F(Keyboard, ThePlayShortcutsOpenTheirMenusAndPanels) {
    struct Case {
        int key;
        const char* scene;
        const char* slMode;
    };
    const Case cases[] = {
        {F1, "ui.HelpMenu", "save"},        {F4, "ui.Hintbook", "save"},        {KEY_D, "ui.Hintbook", "save"},
        {F5, "ui.SaveLoadMenu", "save"},    {KEY_S, "ui.SaveLoadMenu", "save"}, {F6, "ui.SaveLoadMenu", "load"},
        {KEY_L, "ui.SaveLoadMenu", "load"}, {ESC, "ui.InGameMenu", "save"},     {KEY_I, "ship.Cockpit", "save"},
        {F3, "ship.Cockpit", "save"},       {KEY_C, "ship.Cockpit", "save"},    {F9, "ship.Cockpit", "save"},
        {ENTER, "ship.Cockpit", "save"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        if (var("active_scene") != "ship.Cockpit") {
            switchNow("ship.Cockpit");
        }
        show("inv", false);
        Vars::get("sl_mode")->setValue("save", true);
        Vars::get("sl_prev_scene")->setValue("", true);
        keyUp(c.key);
        EXPECT_EQ(var("active_scene"), c.scene);
        EXPECT_EQ(Session::activeTransition, nullptr);
        EXPECT_EQ(var("sl_mode"), c.slMode);
        EXPECT_EQ(shown("inv"), c.key == KEY_I || c.key == F3);
        if (vessot::String(c.scene) == "ui.SaveLoadMenu") {
            EXPECT_EQ(var("sl_prev_scene"), "ship.Cockpit");
            EXPECT_EQ(var("ingame_menu_prev_scene"), "ship.Cockpit");
        }
    }
}

TEST_F(Keyboard, TheInventoryKeyDoesNothingWithAnItemInHand) {
    Inventory::selectedItem = "wrench";
    keyUp(KEY_I);
    EXPECT_FALSE(shown("inv"));
}

TEST_F(Keyboard, EscapeAnswersAConfirmationNoBeforeAnythingElseInEveryDataset) {
    Vars::get("skip_action")->setValue("look_window", true);
    for (const char* scene : {"ship.Cockpit", "ui.InGameMenu"}) {
        SCOPED_TRACE(scene);
        if (var("active_scene") != scene) {
            switchNow(scene);
        }
        Vars::get("cdialog")->setValue("Q,yes,none", true);
        keyUp(ESC);
        EXPECT_EQ(var("cdialog"), "");
        EXPECT_EQ(var("skip_action"), "look_window");
        EXPECT_EQ(var("active_scene"), scene);
        EXPECT_EQ(Session::activeTransition, nullptr);
    }
}

TEST_F(Keyboard, EscapeRunsAPendingSkipInsteadOfOpeningTheMenu) {
    Vars::get("skip_action")->setValue("look_window", true);
    keyUp(ESC);
    EXPECT_EQ(var("skip_action"), "0");
    EXPECT_EQ(var("active_scene"), "ship.Cockpit");
    EXPECT_NE(game->log().find("say: "), std::string::npos);
}

TEST_F(Keyboard, AnOpenPanelTakesOnlyItsOwnKeys) {
    struct Case {
        const char* state;
        std::function<void()> open;
        std::vector<int> ignored;
        int closing;
        std::function<bool()> isOpen;
    };
    const Case cases[] = {
        {"inventory", [] { show("inv", true); }, {F1, KEY_C, SPACE}, ESC, [] { return shown("inv"); }},
        {"inventory by I", [] { show("inv", true); }, {F5}, KEY_I, [] { return shown("inv"); }},
        {"inventory by F3", [] { show("inv", true); }, {KEY_D}, F3, [] { return shown("inv"); }},
        {"verb coin",
         [this] {
             VerbCoin::showGenericLook(Session::activeScene->actions[0x0000FF]);
             game->step(); // the coin fades in
         },
         {F1, SPACE, KEY_I},
         ESC,
         [] { return Vars::value("choice_menu_active") == "1"; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.state);
        c.open();
        for (int key : c.ignored) {
            keyUp(key);
            EXPECT_TRUE(c.isOpen()) << key;
            EXPECT_EQ(var("active_scene"), "ship.Cockpit") << key;
        }
        keyUp(c.closing);
        // The inventory fades out.
        game->stepSeconds(0.3f);
        EXPECT_FALSE(c.isOpen());
        EXPECT_EQ(var("active_scene"), "ship.Cockpit");
    }
}

TEST_F(Keyboard, TheDialogPanelSkipsLinesOrShakesItsRepliesAndKeepsEveryKey) {
    show("dialog", true);
    DialogEntry line("A_LINE", "vorne");
    line.time = 5.0f;
    DialogManager::currentNode = &line;
    Speech::speechMap["vorne"] = {{"a line", 5.0f}};
    keyUp(SPACE);
    EXPECT_TRUE(Speech::speechMap.empty());
    EXPECT_TRUE(line.isDone());
    DialogManager::currentNode = nullptr;
    show("reply_0", true);
    keyUp(ESC);
    EXPECT_FLOAT_EQ(DialogPanel::shakeTimer, 0.628f);
    keyUp(F1);
    EXPECT_EQ(var("active_scene"), "ship.Cockpit");
}

TEST_F(Keyboard, WhileALineIsSpokenSpaceSkipsItAndTheShortcutsWait) {
    Speech::speechMap["vorne"] = {{"a line", 5.0f}};
    keyUp(ESC);
    EXPECT_EQ(var("active_scene"), "ship.Cockpit");
    EXPECT_FALSE(Speech::speechMap.empty());
    keyUp(SPACE);
    EXPECT_TRUE(Speech::speechMap.empty());
}

TEST_F(Keyboard, ABusyPlayerGetsNoShortcuts) {
    Session::sceneLocked = true;
    for (int key : {F1, ESC, KEY_I, F5}) {
        keyUp(key);
    }
    EXPECT_EQ(var("active_scene"), "ship.Cockpit");
    EXPECT_FALSE(shown("inv"));
}

TEST_F(Keyboard, EscapeInAnInGameMenuReturnsToTheSceneItsVariableNames) {
    struct Case {
        const char* menu;
        const char* variable;
    };
    const Case cases[] = {
        {"Hintbook", "prev_scene"},
        {"HelpMenu", "prev_scene"},
        {"InGameMenu", "ingame_menu_prev_scene"},
        {"SaveLoadMenu", "sl_prev_scene"},
        {"SettingsMenu", "settings_prev_scene"},
        {"AchievementsMenu", "achievements_menu_prev_scene"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.menu);
        switchNow(vessot::String("ui.") + c.menu);
        Vars::get(c.variable)->setValue("ship.Galley", true);
        keyUp(ESC);
        ASSERT_NE(Session::activeTransition, nullptr);
        EXPECT_EQ(Session::activeTransition, Session::transitions["fade"]);
        EXPECT_FLOAT_EQ(Session::activeTransition->duration, 0.5f);
        finishTransition();
        EXPECT_EQ(var("active_scene"), "ship.Galley");
    }
}

TEST_F(Keyboard, EscapeInAnUnlistedInterfaceSceneGoesToTheInGameMenu) {
    switchNow("ui.QuickTutorial");
    keyUp(ESC);
    ASSERT_NE(Session::activeTransition, nullptr);
    EXPECT_EQ(Session::activeTransition->targetScene, "InGameMenu");
    finishTransition();
    EXPECT_EQ(var("active_scene"), "ui.InGameMenu");
}

TEST_F(Keyboard, PauseTogglesTheResumeOverlayWhichSwallowsEveryOtherKey) {
    keyUp(KEY_P);
    ASSERT_TRUE(shown("resume_overlay"));
    keyUp(F1);
    keyUp(KEY_I);
    EXPECT_EQ(var("active_scene"), "ship.Cockpit");
    EXPECT_FALSE(shown("inv"));
    keyUp(ESC); // closes the overlay, and nothing more
    EXPECT_FALSE(shown("resume_overlay"));
    EXPECT_EQ(var("active_scene"), "ship.Cockpit");

    Session::switchScene("Corridor", "fade", "", 1.0f); // even during a transition
    keyUp(PAUSE);
    EXPECT_TRUE(shown("resume_overlay"));
    keyUp(PAUSE);
    EXPECT_FALSE(shown("resume_overlay"));
}

TEST_F(Keyboard, SpaceHeldFastForwardsPlay) {
    keyDown(SPACE);
    EXPECT_TRUE(fastForwardActive);
    keyUp(SPACE);
    EXPECT_FALSE(fastForwardActive);

    keyDown(SPACE);
    keyUp(KEY_P); // the overlay shows: the release of Space is swallowed
    keyUp(SPACE);
    EXPECT_TRUE(fastForwardActive);
    keyUp(KEY_P);
    keyUp(SPACE);
    EXPECT_FALSE(fastForwardActive);

    Speech::speechMap["vorne"] = {{"a line", 5.0f}};
    keyDown(SPACE);
    EXPECT_FALSE(fastForwardActive);
    Speech::speechMap.clear();
    Session::switchScene("Corridor", "fade", "", 1.0f);
    keyDown(SPACE); // nothing reaches the scene during a transition
    EXPECT_FALSE(fastForwardActive);
}

TEST_F(Keyboard, AQuitRequestAsksUnlessItCannotBeRefused) {
    EXPECT_TRUE(Game::handleQuitRequest(false));
    EXPECT_EQ(var("cdialog"), "");
    EXPECT_FALSE(Game::handleQuitRequest(true));
    EXPECT_EQ(var("cdialog"), IN_GAME_QUIT);
    keyUp(ESC);
    EXPECT_EQ(var("cdialog"), "");

    Session::switchScene("Corridor", "fade", "", 1.0f);
    EXPECT_FALSE(Game::handleQuitRequest(true));
    EXPECT_EQ(var("cdialog"), ""); // refused without asking during a transition
}

// The running game with a front-end chapter "menu" of its own: logo, main menu and sub-menus.
class FrontEnd : public Keyboard {
protected:
    void SetUp() override {
        Keyboard::SetUp();
        std::filesystem::path root = std::filesystem::path(folder.path) / "menu";
        std::filesystem::create_directories(root / "scenes");
        std::filesystem::create_directories(root / "action_maps");
        std::ofstream(root / "menu_hd.datadef") << "<Dataset/>\n";
        for (const char* scene :
             {"StudioLogo", "MainMenu", "FirstTimeProfile", "Credits", "ProfileManager", "ModeMenu", "LocaleMenu"}) {
            std::ofstream(root / "scenes" / (std::string(scene) + ".scene"))
                << "<Scene name=\"" << scene << "\" image=\"null\"/>\n";
            std::filesystem::copy_file("data/ui/action_maps/HelpMenu.amp",
                                       root / "action_maps" / (std::string(scene) + ".amp"));
        }
        new Chapter((root / "menu_hd.datadef").string(), nullptr);
        switchNow("menu.StudioLogo");
        settle();
    }

    TempDir folder;
};

TEST_F(FrontEnd, EscapeOrSpaceLeavesTheLogoOnceTheLoadingPictureHasFaded) {
    loadingScreenAlpha = 0.5f;
    keyUp(ESC);
    EXPECT_EQ(Session::activeTransition, nullptr);
    loadingScreenAlpha = 0.4f;
    keyUp(SPACE);
    ASSERT_NE(Session::activeTransition, nullptr);
    EXPECT_EQ(Session::activeTransition->targetScene, "FirstTimeProfile"); // no profile yet
    EXPECT_FLOAT_EQ(Session::activeTransition->duration, 1.0f);
    finishTransition();

    std::ofstream(game->userFolder() + "/username.txt") << "\xEF\xBB\xBFPlayer";
    switchNow("StudioLogo");
    keyUp(ESC);
    ASSERT_NE(Session::activeTransition, nullptr);
    EXPECT_EQ(Session::activeTransition->targetScene, "MainMenu");
}

TEST_F(FrontEnd, EscapeInASubMenuReturnsToTheMainMenu) {
    for (auto [menu, leaves] :
         {std::pair{"Credits", true}, {"ProfileManager", true}, {"ModeMenu", true}, {"LocaleMenu", false}}) {
        switchNow(menu);
        keyUp(ESC);
        if (!leaves) {
            EXPECT_EQ(Session::activeTransition, nullptr) << menu;
            continue;
        }
        ASSERT_NE(Session::activeTransition, nullptr) << menu;
        EXPECT_EQ(Session::activeTransition->targetScene, "MainMenu");
        EXPECT_FLOAT_EQ(Session::activeTransition->duration, 0.5f);
        finishTransition();
        EXPECT_EQ(var("active_scene"), "menu.MainMenu");
    }
}

TEST_F(FrontEnd, EscapeTwiceOnTheMainMenuRaisesTheQuitQuestionAndDismissesIt) {
    switchNow("MainMenu");
    keyUp(ESC);
    EXPECT_EQ(var("cdialog"), MENU_QUIT);
    keyUp(ESC);
    EXPECT_EQ(var("cdialog"), "");
    EXPECT_FALSE(Game::handleQuitRequest(true));
    EXPECT_EQ(var("cdialog"), MENU_QUIT);
}

TEST_F(FrontEnd, SpaceDoesNotFastForwardTheFrontEnd) {
    keyDown(SPACE);
    EXPECT_FALSE(fastForwardActive);
}

} // namespace
