// A whole conversation in the real game: the galley's intercom starts a dialog, lines are skipped by
// clicks, replies are chosen by key and by click, and the choices are recorded; the subtitles and the
// reply menu are seen on screen.
#include "GameHarness.h"

#include "engine/session/Session.h"
#include "ui/DialogPanel.h"

#include "morvec/Rectangle.h"
#include "nimboui/Label.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const morvec::Vector2 GALLEY_INTERCOM(108, 128);
// Somewhere on the panel that is no reply: a click there skips the line being spoken. The drawn
// cursor stays there, clear of the lines the screenshots look at.
const morvec::Vector2 PANEL_SPOT(100, 150);

int key(char digit) {
    return digit;
}

// The pixels of an interface rectangle of the screenshot within the tolerance (per channel) of the
// colour. Text is drawn smoothed, so few of its pixels have the full colour.
int pixelsNear(const GameHarness& game, const nimbo::Image& shot, morvec::Rectangle rect, nimbo::Color colour,
               int tolerance) {
    morvec::Vector2 from = game.guiToWindow(rect.x, rect.y);
    morvec::Vector2 to = game.guiToWindow(rect.x + rect.w, rect.y + rect.h);
    int count = 0;
    for (int y = (int)from.y; y < (int)to.y; ++y) {
        for (int x = (int)from.x; x < (int)to.x; ++x) {
            nimbo::Color c = shot.getPixel(x, y);
            if (std::abs(c.r - colour.r) < tolerance && std::abs(c.g - colour.g) < tolerance &&
                std::abs(c.b - colour.b) < tolerance) {
                ++count;
            }
        }
    }
    return count;
}

// Skips lines by clicks on the panel until the replies show.
void clickToReplies(GameHarness& game) {
    for (int i = 0; i < 12 && !DialogPanel::areRepliesShown(); ++i) {
        game.click(PANEL_SPOT.x, PANEL_SPOT.y);
    }
    ASSERT_TRUE(DialogPanel::areRepliesShown());
}

TEST(Conversation, TheIntercomTalksAndRecordsTheRepliesChosenByKeyAndByClick) {
    GameHarness game;
    game.passLoadingFade();
    Session::queueCommand("switch_scene Galley");
    game.step();
    ASSERT_EQ(game.activeScene(), "ship.Galley");

    game.click(GALLEY_INTERCOM.x, GALLEY_INTERCOM.y);
    EXPECT_TRUE(game.isShown("dialog"));
    // The computer speaks from above the intercom, in its light blue.
    nimbo::Image subtitle = game.screenshot();
    EXPECT_GT(pixelsNear(game, subtitle, morvec::Rectangle(5, 46, 220, 50), nimbo::Color(0x9F, 0xE8, 0xFF), 70), 100);
    EXPECT_EQ(pixelsNear(game, subtitle, morvec::Rectangle(280, 46, 141, 50), nimbo::Color(0x9F, 0xE8, 0xFF), 70), 0);

    clickToReplies(game);
    // Three replies, numbered, in the lowest three lines; light on the dark band.
    nimbo::Image menu = game.screenshot();
    EXPECT_GT(pixelsNear(game, menu, morvec::Rectangle(5, 276, 300, 42), nimbo::Color(255, 255, 255), 110), 100);
    EXPECT_EQ(pixelsNear(game, menu, morvec::Rectangle(5, 200, 300, 40), nimbo::Color(255, 255, 255), 110), 0);

    // "2": the systems, which lead to their own menu; there the oxygen by a click on its label, the
    // highest of three.
    game.key(key('2'));
    clickToReplies(game);
    EXPECT_EQ(DialogPanel::replyLabel(2)->getText(), "1: Is the oxygen supply stable?");
    game.clickGui(213, 283);
    clickToReplies(game);
    EXPECT_EQ(game.var("oxygen_checked"), "1");
    // Back, and the course, asked only once.
    game.key(key('3'));
    game.key(key('1'));
    clickToReplies(game);
    EXPECT_EQ(DialogPanel::replyLabel(1)->getText(), "1: How are the ship's systems?");
    EXPECT_FALSE(DialogPanel::replyLabel(2)->isVisible());

    // Goodbye: a last line, then the panel closes.
    game.key(key('2'));
    for (int i = 0; i < 4 && game.isShown("dialog"); ++i) {
        game.click(PANEL_SPOT.x, PANEL_SPOT.y);
    }
    EXPECT_FALSE(game.isShown("dialog"));
    EXPECT_EQ(game.var("ship_dlgflags"), ";ASK_SYSTEMS;ASK_OXYGEN;ASK_COURSE");
    EXPECT_EQ(game.var("onetime_dialogs"), "ASK_COURSE,");
    EXPECT_NE(game.log().find("[vorne] Dialog: COMPUTER_GOODBYE"), std::string::npos);
}

// Landed, the computer no longer counts the hours to the arrival.
TEST(Conversation, TheIntercomReportsTheLandingOnceTheShipHasLanded) {
    GameHarness game;
    game.passLoadingFade();
    game.setVar("mazslow_on_jama", "1");
    Session::queueCommand("switch_scene Galley");
    game.step();
    game.click(GALLEY_INTERCOM.x, GALLEY_INTERCOM.y);
    clickToReplies(game);
    game.key(key('1'));
    clickToReplies(game);
    EXPECT_NE(game.log().find("Dialog: COMPUTER_COURSE_LANDED\n"), std::string::npos);
    EXPECT_EQ(game.log().find("Dialog: COMPUTER_COURSE\n"), std::string::npos);
}

} // namespace
