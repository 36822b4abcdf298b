// The character switcher on the running game: the column of buttons on windows of several shapes and
// on both interfaces, the refusals, the button's portrait and the clicks.
#include "TalkGame.h"

#include "engine/GameRun.h"

#include "script/Characters.h"

#include "nimboui/Image.h"
#include "nimboui/ImageButton.h"

namespace {

struct Layout {
    int width;
    int height;
    const char* ui;
    // The column's x, in the buttons' parent's space, and the first two rows' y.
    float x;
    float firstRow;
    float secondRow;
};

class SwitcherLayout : public TalkGame, public ::testing::WithParamInterface<Layout> {
protected:
    GameHarness::Options options() const override {
        GameHarness::Options options;
        options.width = GetParam().width;
        options.height = GetParam().height;
        options.userConfig = std::string("ui: ") + GetParam().ui + "\n";
        return options;
    }
};

TEST_P(SwitcherLayout, OffersTheSwitchableCharactersInAColumnAtTheScreensEdge) {
    const Layout& layout = GetParam();
    Vars::set("switchable_characters", "luna,danny");
    Characters::openCharacterSwitcher();
    game->stepSeconds(0.5f);
    EXPECT_TRUE(Characters::isCharacterSwitcherOpen());
    EXPECT_FLOAT_EQ(Hud::uiObject("character_switcher")->getAlpha(), 1.0f);
    EXPECT_FALSE(Hud::uiObject("chr_vorne_button")->isVisible());
    EXPECT_NEAR(Hud::uiObject("chr_vorne_button")->getX(), layout.x, 1e-3);
    EXPECT_NEAR(Hud::uiObject("chr_luna_button")->getX(), layout.x, 1e-3);
    EXPECT_FLOAT_EQ(Hud::uiObject("chr_luna_button")->getY(), layout.firstRow);
    EXPECT_FLOAT_EQ(Hud::uiObject("chr_danny_button")->getY(), layout.secondRow);
    EXPECT_NEAR(Hud::uiObject("character_close_button")->getX(), layout.x, 1e-3);
    EXPECT_FLOAT_EQ(Hud::uiObject("character_close_button")->getY(), 2.0f);
    if (std::string(layout.ui) == "mobile") {
        EXPECT_NEAR(Hud::uiObject("chr_menu_button")->getX(), layout.x + 56.0f, 1e-3);
    }

    Characters::closeCharacterSwitcher();
    game->stepSeconds(0.5f);
    EXPECT_FALSE(Characters::isCharacterSwitcherOpen());
}

// Wider than 4:3, the column moves right by (aspect - 4/3) x 160 on the desktop and left on mobile.
INSTANTIATE_TEST_SUITE_P(Windows, SwitcherLayout,
                         ::testing::Values(Layout{640, 480, "pc", 869.0f, 39.0f, 76.0f},
                                           Layout{1280, 720, "pc", 869.0f + 640.0f / 9.0f, 39.0f, 76.0f},
                                           Layout{1280, 720, "mobile", 482.0f - 640.0f / 9.0f, 58.0f, 114.0f},
                                           Layout{480, 480, "mobile", 482.0f, 58.0f, 114.0f}),
                         [](const ::testing::TestParamInfo<Layout>& info) {
                             return std::to_string(info.param.width) + "x" + std::to_string(info.param.height) + "_" +
                                    info.param.ui;
                         });

class Switcher : public TalkGame {};

TEST_F(Switcher, OpensOnlyForAFreePlayerWithTwoCharactersAndTheButtonSkipsSpeechFirst) {
    auto* button = dynamic_cast<nimboui::ImageButton*>(Hud::uiObject("character_button"));
    struct Row {
        const char* state;
        const char* switchable;
        std::function<void()> set;
        bool opens;
    } rows[] = {
        {"one character", "vorne", [] {}, false},
        {"a locked scene", "vorne,luna", [] { Session::sceneLocked = true; }, false},
        {"a line spoken", "vorne,luna", [] { Speech::say("K", "{ luna }Wait<p3>"); }, false},
        {"free", "vorne,luna", [] {}, true},
    };
    for (const Row& row : rows) {
        Vars::set("switchable_characters", row.switchable);
        row.set();
        button->triggerEvent("Click", 0, 0, "");
        game->stepSeconds(0.3f);
        EXPECT_EQ(Characters::isCharacterSwitcherOpen(), row.opens) << row.state;
        // The button's click skipped the line instead.
        EXPECT_FALSE(Speech::isSpeaking()) << row.state;
        Session::sceneLocked = false;
        Characters::closeCharacterSwitcher();
        game->stepSeconds(0.3f);
    }
}

TEST_F(Switcher, TheCharacterButtonShowsTheCurrentCharactersPortrait) {
    auto* button = dynamic_cast<nimboui::ImageButton*>(Hud::uiObject("character_button"));
    for (const char* character : {"luna", "danny", "dummy"}) {
        Vars::set("current_character", character);
        Characters::updateCharacterButton();
        // "dummy" keeps the last portrait.
        std::string shown = std::string(character) == "dummy" ? "danny" : character;
        EXPECT_EQ(button->getImage()->getName(), "gui/" + shown + "_up");
        EXPECT_EQ(button->getPushedImage()->getName(), "gui/" + shown + "_dn");
        EXPECT_EQ(button->getHoverImage()->getName(), "gui/" + shown + "_hover");
    }
}

TEST_F(Switcher, ButtonsSwitchAndCloseAndTheSetUpSetTheCurrentCharacterAwayAndBack) {
    expectInOrder(game->log(),
                  {"$current_character: 'luna' (was 'vorne')", "$current_character: 'vorne' (was 'luna')"});
    Vars::set("switchable_characters", "vorne,luna");
    for (const char* clicked : {"chr_luna_button", "character_close_button", "character_switcher"}) {
        Characters::openCharacterSwitcher();
        game->stepSeconds(0.3f);
        ASSERT_TRUE(Characters::isCharacterSwitcherOpen()) << clicked;
        Hud::uiObject(clicked)->triggerEvent("Click", 0, 0, "");
        game->stepSeconds(0.3f);
        EXPECT_FALSE(Characters::isCharacterSwitcherOpen()) << clicked;
    }
    EXPECT_EQ(var("current_character"), "luna");
}

} // namespace
