// Hint strings shown in the cockpit (spoken steps, markers with items, verbs and arrows, flags,
// forms and colours that show nothing) and the hint charge: its fill over 2,400 steps of 0.05 s,
// tester mode, the interface's chapters, the bulb's pictures, the casual button and the smart-hint
// button.
#include "UiTest.h"

#include "engine/session/GameUtil.h"
#include "engine/session/zephUtil.h"
#include "script/Speech.h"
#include "ui/Hints.h"

#include "nimbo/Image.h"
#include "nimboui/CompositeImage.h"
#include "nimboui/ImageButton.h"

#include <tuple>

namespace {

int chargeWrites = 0;
void countWrite(Variable*, const String&, const String&) {
    ++chargeWrites;
}

class HintsTest : public RunningGame {
protected:
    void SetUp() override {
        RunningGame::SetUp();
        switchNow("ship.Cockpit");
    }

    static float charge() { return Vars::value("_hint_timer").toFloat(); }
    static void setCharge(const char* value) { Vars::get("_hint_timer")->setValue(value, true); }
    static const morvec::Rectangle& source(const char* image) { return uiChapter->getImage(image)->getSrcRect(); }
    static const morvec::Rectangle& layer(const char* image, int index) {
        return dynamic_cast<nimboui::CompositeImage*>(uiChapter->getImage(image))->getImageRefs()[index].rect;
    }
};

TEST_F(HintsTest, EachFormShowsItsLineOrMarkerAndEmptiesTheChargeUnlessFlaggedZero) {
    Session::activeScene->actions.at(0x0000C0)->setRolloverKey("RO_WINDOW|x");
    Session::activeScene->actions.at(0xFFFF00)->setRolloverKey("RO_LOGBOOK|d|look");
    const struct {
        const char* hint;
        bool shown;
        const char* line;  // what the current character says ("" for nothing)
        const char* image; // the marker's picture ("" for no new marker)
        float x, y;
        bool emptied;
    } cases[] = {
        {"use:diary", true, "{ vorne }Use diary<p5>", "", 0, 0, true},
        {"look:diary", true, "{ vorne }Look at diary<p5>", "", 0, 0, true},
        {"combine:explosives+fuses", true, "{ vorne }Combine explosives with fuses<p5>", "", 0, 0, true},
        {"use:diary,0", true, "{ vorne }Use diary<p5>", "", 0, 0, false},
        {"combine:explosives", false, "", "", 0, 0, false},
        {"open:door", false, "", "", 0, 0, false},
        {"0000FF,0", true, "", "gui/arrow_l", 19, 188, false},
        {"0000FF", true, "", "gui/arrow_l", 19, 188, true},
        {"0000FF,1", true, "", "gui/arrow_l", 19, 188, true},
        {"0000FF,2", true, "", "gui/arrow_l", 19, 188, false},
        {"FF0033", true, "", "gui/arrow_u", 291, 13, true},
        {"00FF00|locator", true, "", "items/locator", 265, 223, true},
        {"00FF00|cursor_use,0", true, "", "items/cursor_use", 265, 223, false},
        {"00FF00|no_such_item", true, "", "gui/cursor", 265, 223, true},
        {"00FF00", true, "", "gui/look_up", 265, 223, true},    // a look: its verb's picture
        {"0000C0", true, "", "gui/look_up", 211, 84, true},     // "|x" shows the verb too
        {"C000C0", true, "", "gui/cursor_look", 391, 48, true}, // another cursor name keeps the cursor
        {"FFFF00", true, "", "gui/arrow_d", 29, 61, true},      // the letter after the first "|"
        {"FF00000000FF", false, "", "", 0, 0, false},           // not a colour
        {"123456", false, "", "", 0, 0, false},                 // no such area
        {"", false, "", "", 0, 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.hint);
        setCharge("1.0");
        Hints::marker = {};
        size_t logged = game->log().size();
        EXPECT_EQ(Hints::showHintString(c.hint), c.shown);
        std::string said = game->log().substr(logged);
        if (*c.line) {
            EXPECT_NE(said.find(std::string("say: ") + c.line), std::string::npos) << said;
        } else {
            EXPECT_EQ(said.find("say: "), std::string::npos) << said;
        }
        if (*c.image) {
            ASSERT_NE(Hints::marker.image, nullptr);
            EXPECT_EQ(Hints::marker.image->getName(), c.image);
            EXPECT_EQ(Hints::marker.position, morvec::Vector2(c.x, c.y));
            EXPECT_EQ(Hints::marker.time, 5.0f);
        } else {
            EXPECT_EQ(Hints::marker.time, 0.0f);
        }
        EXPECT_EQ(var("_hint_timer"), c.emptied ? "0.0" : "1.0");
        Speech::clear();
    }
}

TEST_F(HintsTest, TheChargeFillsIn2400StepsOfAFiftiethAndIsThenLeftAlone) {
    setCharge("0.0");
    Vars::get("_hint_timer")->addListener(countWrite);
    int steps = 0;
    while (charge() < 1.0f && steps < 3000) {
        Hints::updateHintButton(0.05f);
        ++steps;
    }
    EXPECT_NEAR(steps, 2400, 1);
    EXPECT_EQ(charge(), 1.0f);
    EXPECT_FALSE(var("_hint_timer").contains("e"));
    int writes = chargeWrites;
    for (int i = 0; i < 100; ++i) {
        Hints::updateHintButton(0.05f);
    }
    EXPECT_EQ(chargeWrites, writes);
    Vars::get("_hint_timer")->listeners.pop_back();
    EXPECT_EQ(Hints::buttonCooldown, 1.0f);
}

TEST_F(HintsTest, TestersChargeInASecond) {
    Session::setParam("profile", "/_profile2");
    std::filesystem::create_directories(std::string(zephUtil::getUserDataPath() + "/_profile2"));
    GameUtil::writeTextFile("q8vmwx", zephUtil::getUserDataPath() + "/_profile2/username.txt");
    setCharge("0");
    int steps = 0;
    while (charge() < 1.0f && steps < 100) {
        Hints::updateHintButton(0.05f);
        ++steps;
    }
    EXPECT_NEAR(steps, 20, 1);
}

TEST_F(HintsTest, TheInterfacesChaptersLeaveChargeAndButtonsAlone) {
    Hints::buttonCooldown = 0.5f;
    for (const char* scene : {"ui.Hintbook", "menu.Logo"}) {
        switchNow(scene);
        setCharge("0.25");
        Hints::updateHintButton(0.05f);
        EXPECT_EQ(var("_hint_timer"), "0.25") << scene;
        EXPECT_EQ(Hints::buttonCooldown, 0.5f) << scene;
    }
    switchNow("ship.Cockpit");
    Hints::updateHintButton(0.5f);
    EXPECT_FLOAT_EQ(Hints::buttonCooldown, 0.6f);
}

TEST_F(HintsTest, TheBulbShowsTheChargedPartOfItsFill) {
    setCharge("0.5");
    Hints::updateHintButton(0.0f);
    const struct {
        const char* image;
        float x;
    } fills[] = {{"gui/smart_hint_fill", 192}, {"gui/smart_hint_fill_hover", 256}, {"gui/smart_hint_fill_dn", 320}};
    for (const auto& fill : fills) {
        EXPECT_EQ(source(fill.image), morvec::Rectangle(fill.x, 544, 64, 54)) << fill.image;
    }
    for (const char* button : {"gui/smart_hint_up", "gui/smart_hint_hover", "gui/smart_hint_dn"}) {
        EXPECT_EQ(layer(button, 0), morvec::Rectangle(0, 0, 64, 150)) << button; // the empty bulb stays
        EXPECT_EQ(layer(button, 1), morvec::Rectangle(0, 54, 64, 54)) << button;
    }
    // The fill picture is the lit glass alone, some of it on each of its rows: the glass begins to
    // light with the charge and is lit whole only at 1.0 (the base is the empty bulb's, below).
    nimbo::Image picture = nimbo::Image::load("data/ui/textures/hints_hd.png");
    for (const auto& fill : fills) {
        for (int y = 490; y < 598; ++y) {
            int lit = 0;
            for (int x = (int)fill.x; x < fill.x + 64; ++x) {
                lit += picture.getPixel(x, y).a > 0;
            }
            EXPECT_GT(lit, 0) << fill.image << " row " << y;
        }
    }
    // A damaged save's charge outside 0..1 shows the bulb full or empty.
    for (auto [charge, y, height] : {std::tuple{"1.0", 490, 108}, {"7", 490, 108}, {"-3", 598, 0}}) {
        setCharge(charge);
        Hints::updateHintButton(0.0f);
        EXPECT_EQ(source("gui/smart_hint_fill"), morvec::Rectangle(192, y, 64, height)) << charge;
    }
}

TEST_F(HintsTest, TheHintButtonShowsTheBulbOfItsMode) {
    auto* button = ui<nimboui::ImageButton>("hint_button");
    for (const char* mode : {"1", "0", "1"}) {
        Vars::get("casual_mode")->setValue(mode, true);
        Hints::updateHintButton(0.0f);
        bool casual = String(mode) == "1";
        EXPECT_EQ(button->getImage()->getName(), casual ? "gui/smart_hint_up" : "gui/hint_up");
        EXPECT_EQ(button->getPushedImage()->getName(), casual ? "gui/smart_hint_dn" : "gui/hint_dn");
        EXPECT_EQ(button->getHoverImage()->getName(), casual ? "gui/smart_hint_hover" : "gui/hint_hover");
    }
}

TEST_F(HintsTest, TheSmartHintButtonStandsOverTheHintButtonInSolvedPuzzles) {
    nimboui::Object* smart = ui("smart_hint_button");
    nimboui::Object* hint = ui("hint_button");
    const struct {
        const char* hideUi;
        const char* casual;
        const char* charge;
        bool disabled;
        bool over;
        bool visible;
        const char* shown; // "smart_hint_button_visible"
    } cases[] = {
        {"3", "1", "0.5", true, true, true, "1"},   {"3", "1", "1.0", false, true, true, "1"},
        {"3", "0", "0.5", true, true, false, "0"},  {"0", "1", "0.5", false, false, true, "0"},
        {"1", "1", "1.0", false, false, true, "0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.hideUi) + " " + c.casual + " " + c.charge);
        Session::activeScene->properties["hide_ui"] = c.hideUi;
        Vars::get("casual_mode")->setValue(c.casual, true);
        setCharge(c.charge);
        Hints::updateHintButton(0.0f);
        EXPECT_EQ(smart->isDisabled(), c.disabled);
        EXPECT_EQ(smart->getPosition(), c.over ? hint->getPosition() : morvec::Vector2(0, 0));
        EXPECT_EQ(smart->getAlpha(), c.over ? 1.0f : 0.0f);
        EXPECT_EQ(smart->isVisible(), c.visible);
        EXPECT_EQ(var("smart_hint_button_visible"), c.shown);
    }
}

} // namespace
