// The game services that need no window: the platform target switch, the interface's variable
// listeners and computed variables, the GUI macros and the loading picture's conditions.
#include "CoreFixture.h"
#include "GameRun.h"

#include "engine/app/Engine.h"
#include "engine/app/Game.h"
#include "engine/session/Session.h"
#include "ui/Hud.h"

#include <filesystem>

class GameServicesTest : public CoreFixture {
protected:
    void SetUp() override {
        CoreFixture::SetUp();
        Session::params.clear();
        Hud::taskNotifications.clear();
    }
};

TEST_F(GameServicesTest, PlatformTargetFollowsTheInputMode) {
    Session::params = {{"target", "pc"}, {"target/tablet.aspect", "screen"}, {"aspect", "4:3"}};
    define("zeph_target", "pc");
    define("user_has_touchscreen", "0");
    Game::setPlatformTarget(true);
    EXPECT_EQ(Session::getParam("target"), "tablet");
    EXPECT_EQ(Session::getParam("aspect"), "screen");
    EXPECT_EQ(Vars::value("zeph_target"), "tablet");
    EXPECT_EQ(Vars::get("user_has_touchscreen")->initialValue, "1");
    // Back to the mouse: the target follows, the section's aspect goes, the touch screen stays known.
    Game::setPlatformTarget(false);
    EXPECT_EQ(Session::getParam("target"), "pc");
    EXPECT_EQ(Session::getParam("aspect"), "4:3");
    EXPECT_EQ(Vars::value("zeph_target"), "pc");
    EXPECT_EQ(Vars::value("user_has_touchscreen"), "1");
}

TEST_F(GameServicesTest, FirstSwitchToTheMouseAlsoMarksTheTouchScreen) {
    Session::params = {{"target", "tablet"}};
    define("zeph_target", "tablet");
    define("user_has_touchscreen", "0");
    Game::setPlatformTarget(false);
    EXPECT_EQ(Vars::value("user_has_touchscreen"), "1");
}

TEST_F(GameServicesTest, HintVariablesQueueOneNotificationPerRun) {
    define("diary_ignore_notifications", "0");
    for (const char* name : {"hint_a", "hint_b", "hint_c"}) {
        define(name, "")->addListener(Game::onHintVariableChanged);
    }
    auto set = [](const char* name, const char* value) { Vars::get(name)->setValue(value); };
    set("hint_a", "1");
    set("hint_b", "1");
    EXPECT_EQ(Hud::taskNotifications, (std::vector<float>{-1.0f}));
    set("hint_a", "1"); // unchanged: nothing
    set("hint_a", "0");
    set("hint_b", "0");
    EXPECT_EQ(Hud::taskNotifications, (std::vector<float>{-1.0f, 1.0f}));
    set("hint_c", "2"); // neither "0" nor "1"
    set("hint_c", "1");
    EXPECT_EQ(Hud::taskNotifications, (std::vector<float>{-1.0f, 1.0f, -1.0f}));
    Vars::get("diary_ignore_notifications")->setValue("1");
    set("hint_c", "0");
    EXPECT_EQ(Hud::taskNotifications.size(), 3u);
}

TEST_F(GameServicesTest, TextModeExceptionOverridesTheTextSpeed) {
    define("textmode_exception", "0")->addListener(Game::onTextModeExceptionChanged);
    // A speed that is no number above 0 would leave speech no time: it gives the normal one.
    for (auto [speed, factor] : {std::pair{"1.5", 1.5f}, {"-inf", 1.0f}}) {
        Session::params["text_multiplier"] = speed;
        Vars::get("textmode_exception")->setValue("1");
        EXPECT_FLOAT_EQ(textMultiplier, 1.0f);
        Vars::get("textmode_exception")->setValue("0");
        EXPECT_FLOAT_EQ(textMultiplier, factor) << speed;
    }
}

TEST_F(GameServicesTest, FirstTimeProfileWhileNoProfileExists) {
    const TempDir& user = testUserFolder();
    EXPECT_EQ(Game::getShouldShowFirstTimeProfileVar(), "1");
    // A file named like a profile is no profile.
    writeWholeFile(user / "_profile9", "");
    EXPECT_EQ(Game::getShouldShowFirstTimeProfileVar(), "1");
    std::filesystem::create_directory(user / "_profile2");
    EXPECT_EQ(Game::getShouldShowFirstTimeProfileVar(), "0");
    std::filesystem::remove_all(user / "_profile2");
    writeWholeFile(user / "username.txt", "\xEF\xBB\xBF"
                                          "Ann");
    EXPECT_EQ(Game::getShouldShowFirstTimeProfileVar(), "0");
    std::filesystem::remove(user / "username.txt");
    std::filesystem::remove(user / "_profile9");
}

TEST_F(GameServicesTest, GuiMacros) {
    EXPECT_EQ(Game::expandGuiMacro("$mainmenu"), "scenes/MainMenu_hd.png");
    EXPECT_EQ(Game::expandGuiMacro("$menu_elements"), "textures/menu_elements_hd.png");
    EXPECT_EQ(Game::expandGuiMacro("$other"), "macro_error('$other')");
}

TEST_F(GameServicesTest, NoLoadingPictureWhenSwitchedOffOrLeavingTheIntro) {
    Session::params["loading_screen"] = "0";
    Game::ensureLoadingScreen();
    EXPECT_EQ(loadingScreenTexture, nullptr);
    Session::params["loading_screen"] = "1";
    define("prev_scene", "intro.Intro01");
    Game::ensureLoadingScreen("intro");
    EXPECT_EQ(loadingScreenTexture, nullptr);
}
