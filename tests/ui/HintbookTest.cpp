// The hint book on the running game with the ship's three tasks: the page of titles and the open
// task's lines, unlocking line by line, the casual mode's titles, a click on a slot that shows no
// task, closing it, and the mobile layout's scrolling.
#include "UiTest.h"

#include "ui/Hintbook.h"

#include "nimboui/Label.h"

#include <regex>

namespace {

const char* const LOCATORS = "hint_ship_1_locators";
const char* const SILICONE = "hint_ship_2_silicone";

class HintbookTest : public RunningGame {
protected:
    // Opens the book from the cockpit with the tasks' values and the open task.
    void open(const char* locators, const char* silicone, const char* router, const char* expanded) {
        switchNow("ship.Cockpit");
        Vars::get(LOCATORS)->setValue(locators, true);
        Vars::get(SILICONE)->setValue(silicone, true);
        Vars::get("hint_ship_3_router")->setValue(router, true);
        Vars::get("expanded_hint")->setValue(expanded, true);
        switchNow("ui.Hintbook");
    }

    static UserInterface::Hintbook* book() { return dynamic_cast<UserInterface::Hintbook*>(Session::activeScene); }
    static nimboui::Label* label(const String& name) { return ui<nimboui::Label>(name); }
    static String line(const char* key) { return uiChapter->getText(key); }

    void clickOn(const String& name) {
        morvec::Vector2 at = centreOf(name);
        game->click(at.x, at.y);
    }
};

TEST_F(HintbookTest, ThePageListsTheOpenTasksTitlesAndTheOpenOnesLines) {
    open("2", "1", "0", LOCATORS);
    ASSERT_NE(book(), nullptr);
    ASSERT_EQ(book()->shownHints.size(), 2u);
    nimboui::Label* title = label("hint1_title");
    EXPECT_EQ(title->getTextKey(), "HINT_SHIP_1_LOCATORS_00");
    EXPECT_EQ(title->getColor(), nimbo::Color("003F00"));
    EXPECT_EQ(title->getY(), 40.0f);
    EXPECT_FALSE(title->hasEvent("Click")); // titles take clicks only in the casual mode
    nimboui::Label* body = label("hint1");
    EXPECT_EQ(body->getText(), "  *  " + line("HINT_SHIP_1_LOCATORS_01") + "\n      . . .");
    EXPECT_EQ(body->getY(), 40.0f + title->getHeight());
    EXPECT_EQ(body->getAlpha(), 1.0f);
    EXPECT_EQ(body->getWidth(), 326.0f);
    EXPECT_TRUE(body->hasEvent("Click"));
    EXPECT_EQ(label("hint2_title")->getTextKey(), "HINT_SHIP_2_SILICONE_00");
    EXPECT_EQ(label("hint2_title")->getColor(), nimbo::Color("000000"));
    EXPECT_EQ(label("hint2_title")->getHoverColor(), nimbo::Color("000000"));
    EXPECT_EQ(label("hint2_title")->getY(), body->getY() + body->getHeight());
    EXPECT_EQ(label("hint2")->getAlpha(), 0.0f);
    EXPECT_EQ(label("hint3_title")->getAlpha(), 0.0f);
    EXPECT_EQ(label("hintbook_tooltip")->getTextKey(), "HINT_TOOLTIP_PC");
    EXPECT_TRUE(std::regex_search(game->log(), std::regex("\\[vorne\\] [0-9.]+\n"))); // each body's height
}

TEST_F(HintbookTest, EachClickOnTheOpenTaskUnlocksOneLineUntilTheLast) {
    open("1", "0", "0", LOCATORS);
    EXPECT_EQ(label("hint1")->getText(), "      . . .");
    const struct {
        const char* value;
        bool more;
    } clicks[] = {{"2", true}, {"3", true}, {"4", true}, {"5", false}, {"5", false}};
    for (const auto& click : clicks) {
        clickOn("hint1");
        EXPECT_EQ(var(LOCATORS), click.value);
        String text = label("hint1")->getText();
        EXPECT_EQ(text.endsWith(". . ."), click.more) << text;
        EXPECT_EQ((int)text.split("  *  ").size() - 1, String(click.value).toInt() - 1) << text;
    }
}

TEST_F(HintbookTest, InTheCasualModeTitlesOpenAndCloseTasks) {
    Vars::get("expandable_hints")->setValue("1", true);
    open("2", "1", "0", LOCATORS);
    EXPECT_EQ(label("hint2_title")->getHoverColor(), nimbo::Color("640000"));
    // A closed task of one line opens with its first line unlocked.
    clickOn("hint2_title");
    EXPECT_EQ(var("expanded_hint"), SILICONE);
    EXPECT_EQ(var("casual_hint_expanded"), "1");
    EXPECT_EQ(var(SILICONE), "2");
    EXPECT_TRUE(label("hint2")->getText().contains(line("HINT_SHIP_2_SILICONE_01")));
    EXPECT_EQ(label("hint1_title")->getColor(), nimbo::Color("000000"));
    game->stepSeconds(0.5f);
    // The open task's title closes it: titles only, as the footer says.
    EXPECT_EQ(label("hintbook_tooltip")->getDisplayedText(),
              "Click a task to open or close it, and click its hints for the next one.");
    clickOn("hint2_title");
    EXPECT_EQ(var("expanded_hint"), "none");
    EXPECT_EQ(var(SILICONE), "2");
    game->stepSeconds(0.5f);
    EXPECT_EQ(label("hint2")->getAlpha(), 0.0f);
    EXPECT_EQ(label("hint2_title")->getColor(), nimbo::Color("000000"));
}

TEST_F(HintbookTest, AHandlerLeftOnASlotThatShowsNoTaskDoesNothing) {
    open("1", "1", "1", LOCATORS);
    Vars::get("hint_ship_3_router")->setValue("0", true);
    book()->layout(true);
    nimboui::EventArgs args(ui("hint3"), 0, 0, "");
    UserInterface::onHintBodyClick(&args);
    nimboui::EventArgs title(ui("hint3_title"), 0, 0, "");
    UserInterface::onHintTitleClick(&title);
    EXPECT_EQ(var("expanded_hint"), LOCATORS);
    EXPECT_EQ(var(LOCATORS), "1");
}

TEST_F(HintbookTest, ClosingReturnsToTheSceneItWasOpenedFrom) {
    open("1", "0", "0", "none");
    clickOn("hintbook_close");
    EXPECT_EQ(var("active_scene"), "ship.Cockpit"); // named at once, before the fade
    game->finishTransition();
    EXPECT_EQ(game->activeScene(), "ship.Cockpit");

    switchNow("ui.InGameMenu");
    switchNow("ui.Hintbook");
    clickOn("hintbook_close");
    EXPECT_EQ(var("active_scene"), "ui.Hintbook"); // from another menu: left to the switch
    game->finishTransition();
    EXPECT_EQ(game->activeScene(), "ui.InGameMenu");
}

class MobileHintbookTest : public HintbookTest {
protected:
    GameHarness::Options options() const override { return GameHarness::Options::mobile(); }
};

TEST_F(MobileHintbookTest, ALongPageScrollsByAtMost140) {
    Session::setParam("target", "tablet");
    open("1", "1", "1", "none");
    EXPECT_EQ(label("hintbook_tooltip")->getTextKey(), "HINT_TOOLTIP_IOS");
    EXPECT_EQ(ui("hint_container")->getY(), 0.0f);
    EXPECT_TRUE(ui("hintbook_tooltip")->isVisible());

    open("5", "1", "1", LOCATORS);
    nimboui::Object* last = ui("hint3_title");
    float end = last->getY() + last->getHeight();
    ASSERT_GT(end, 310.0f);
    EXPECT_EQ(ui("hint_container")->getY(), -std::min(end - 310.0f, 140.0f));
    EXPECT_FALSE(ui("hintbook_tooltip")->isVisible());
    EXPECT_EQ(label("hint1")->getWidth(), 411.0f);
}

} // namespace
