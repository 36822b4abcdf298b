// Whole-game runs of the HUD: the drawn cursor and the hover label follow the pointer over a hotspot,
// the pause screen, its captions as large as the in-game menu's, asks to quit through the
// confirmation box, which hides the scene behind it, and a puzzle that hides the buttons
// gives them back when it is left.
#include "GameHarness.h"

#include "engine/session/Session.h"
#include "minigames/RotatorScene.h"
#include "ui/Hud.h"
#include "ui/InventoryPanel.h"

#include "morvec/Rectangle.h"
#include "nimboui/Image.h"
#include "nimboui/Label.h"
#include "runel/Renderer.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const int KEY_I = 73;
const int KEY_P = 80;
const int ESC = 27;

class HudPlay : public ::testing::Test {
protected:
    void SetUp() override { game.passLoadingFade(); }

    // The centre of an interface object in interface units.
    morvec::Vector2 centreOf(const char* name) const { return GameHarness::centreOf(game.uiObject(name)); }

    // The height of the text in the font of a label (or text button) of the interface.
    float textHeight(const char* label, const char* text) const {
        return runel::renderer->getTextHeight(dynamic_cast<nimboui::Label*>(game.uiObject(label))->getFont(), text,
                                              1000);
    }

    // How far any colour channel spreads over an interface rectangle of the screen, brightest minus darkest.
    int colourSpread(morvec::Rectangle rect) const {
        nimbo::Image shot = game.screenshot();
        morvec::Vector2 from = game.guiToWindow(rect.x, rect.y);
        morvec::Vector2 to = game.guiToWindow(rect.x + rect.w, rect.y + rect.h);
        int low[3] = {255, 255, 255}, high[3] = {0, 0, 0};
        for (int y = (int)from.y; y < (int)to.y; ++y) {
            for (int x = (int)from.x; x < (int)to.x; ++x) {
                nimbo::Color c = shot.getPixel(x, y);
                int channels[3] = {c.r, c.g, c.b};
                for (int i = 0; i < 3; ++i) {
                    low[i] = std::min(low[i], channels[i]);
                    high[i] = std::max(high[i], channels[i]);
                }
            }
        }
        return std::max({high[0] - low[0], high[1] - low[1], high[2] - low[2]});
    }

    bool buttonsShown() const {
        for (const char* button : {"inv_button", "diary_button", "ingame_menu_button", "hint_button"}) {
            if (!game.isShown(button)) {
                return false;
            }
        }
        return true;
    }

    GameHarness game;
};

TEST_F(HudPlay, TheCursorAndTheLabelNameWhatLiesUnderThePointer) {
    game.move(180, 240); // the console
    game.step();
    EXPECT_EQ(Hud::rolloverText, "Switch the console on");
    EXPECT_EQ(Hud::rolloverTimer, 2.0f);
    EXPECT_EQ(Hud::getCursorImage()->getName(), "gui/cursor_use"); // the console names its cursor
    // Away from it, the label fades within two thirds of a second.
    game.move(213, 20);
    game.step();
    EXPECT_EQ(Hud::getCursorImage()->getName(), "gui/cursor");
    game.stepSeconds(0.7f);
    EXPECT_EQ(Hud::rolloverTimer, 0.0f);
}

TEST_F(HudPlay, ThePauseScreenAsksBeforeQuittingTheGame) {
    game.click(343, 258); // the toolbox: its items rise out of the bag one after the other
    game.key(KEY_I);      // the bag, opened and closed once, stays under the pause screen
    game.key(KEY_I);
    game.setVar("tutorial_arrow", "406,290,-90,1,right"); // over the hint bulb
    game.move(180, 240);                                  // the console: its verb and its label
    game.stepSeconds(0.3f);
    morvec::Vector2 bag = game.guiToWindow(centreOf("inv_button").x, centreOf("inv_button").y);
    morvec::Vector2 arrow = game.guiToWindow(406, 275);
    int lit = game.screenshot().getPixel((int)bag.x, (int)bag.y).r;
    int arrowLit = game.screenshot().getPixel((int)arrow.x, (int)arrow.y).r;
    game.key(KEY_P);
    ASSERT_TRUE(game.isShown("resume_overlay"));
    EXPECT_LT(game.screenshot().getPixel((int)bag.x, (int)bag.y).r, lit / 2);
    // Over the pause screen the cursor, the label and the arrow stay as they were; nothing takes a click.
    EXPECT_EQ(Hud::getCursorImage()->getName(), "gui/cursor_use");
    EXPECT_GT(colourSpread(morvec::Rectangle(150, 4, 100, 12)), 30); // the label's band
    EXPECT_GE(game.screenshot().getPixel((int)arrow.x, (int)arrow.y).r, arrowLit * 3 / 4);
    game.clickGui(centreOf("inv_button").x, centreOf("inv_button").y);
    game.press(200, 100, 2); // nor does the right button open it
    game.release(200, 100, 2);
    EXPECT_FALSE(InventoryPanel::isOpen());
    EXPECT_GE(textHeight("resume_quit_game_label", "Quit game"), textHeight("ingame_quit_game", "Quit game"));
    game.clickGui(centreOf("resume_quit_game").x, centreOf("resume_quit_game").y);
    EXPECT_FALSE(game.isShown("resume_overlay"));
    EXPECT_EQ(game.var("cdialog"), "ui.INGAME_QUIT_GAME_DIALOG,ui.ingame_quit,none");
    game.stepSeconds(0.3f);
    // Between its question and its buttons the box shows its own colour, none of the cockpit behind.
    EXPECT_LE(colourSpread(morvec::Rectangle(190, 140, 46, 30)), 6);
    game.key(ESC);
    EXPECT_EQ(game.var("cdialog"), "");
    EXPECT_EQ(game.activeScene(), "ship.Cockpit");
}

TEST_F(HudPlay, APuzzleHidesTheButtonsUntilItIsLeft) {
    ASSERT_TRUE(buttonsShown());
    game.click(342, 166); // the dial lock
    game.finishTransition();
    ASSERT_EQ(game.activeScene(), "ship.DialLock");
    EXPECT_FALSE(game.isShown("inv_button"));
    EXPECT_FALSE(game.isShown("hint_button"));
    // Solved: each ring's band clicked until its pointer stands at the top.
    auto* dial = dynamic_cast<RotatorScene*>(Session::activeScene);
    const float bandX[] = {297, 265, 231};
    game.stepSeconds(1.5f);
    for (size_t i = 0; i < dial->getRings().size(); ++i) {
        for (int clicks = 0; !nimboui::RotatableImageBox::angleEquals(dial->getRings()[i]->getDestAngle(), 0);
             ++clicks) {
            ASSERT_LT(clicks, 8);
            game.click(bandX[i], 160);
            game.stepSeconds(0.2f);
        }
    }
    game.stepSeconds(0.5f);
    game.finishTransition();
    EXPECT_EQ(game.activeScene(), "ship.Cockpit");
    EXPECT_TRUE(buttonsShown());
}

} // namespace
