// The HUD's button bar on the running game: where the buttons slide (desktop, mobile, a wide window)
// around panels and the scene lock, "hide_ui", the task notifications' timeline over the diary
// button, and the buttons' handlers.
#include "UiTest.h"

#include "engine/view/Input.h"
#include "engine/view/Viewport.h"
#include "script/Speech.h"
#include "ui/Hints.h"

#include "echon/AudioManager.h"
#include "nimboui/ImageButton.h"

#include <cmath>
#include <functional>

namespace {

struct Place {
    float x, y;
    // -1: taken from the left edge of a wide window, 1: from the right one.
    int side;
};

struct ButtonPlaces {
    const char* button;
    Place shown, hidden, mobileShown, mobileHidden;
};

const ButtonPlaces PLACES[] = {
    {"diary_button", {519, 283, -1}, {479, 323, -1}, {851, 2, 1}, {909, -56, 1}},
    {"character_button", {869, 2, 1}, {909, -38, 1}, {482, 2, -1}, {442, -56, -1}},
    {"hint_button", {869, 283, 1}, {909, 323, 1}, {851, 265, 1}, {909, 323, 1}},
    {"inv_button", {482, 283, -1}, {442, 323, -1}, {482, 265, -1}, {442, 323, -1}},
    {"ingame_menu_button", {482, 2, -1}, {442, -38, -1}, {482, 2, -1}, {442, -56, -1}},
};

// Where every button stands now, against the places for "shown" or "hidden" (the inventory button
// kept as shown when asked).
void expectButtonsStanding(bool shown, bool inventoryShown) {
    bool mobile = Session::getParam("ui") == "mobile";
    float o = Viewport::getWidescreenOffset();
    for (const ButtonPlaces& row : PLACES) {
        bool in = row.button == vessot::String("inv_button") ? inventoryShown : shown;
        const Place& p = in ? (mobile ? row.mobileShown : row.shown) : (mobile ? row.mobileHidden : row.hidden);
        nimboui::Object* button = ui(row.button);
        EXPECT_NEAR(button->getX(), p.x + p.side * o, 1e-3f) << row.button;
        EXPECT_EQ(button->getY(), p.y) << row.button;
    }
}

// The same once their slides are over.
void expectButtons(bool shown, bool inventoryShown) {
    Hud::finishButtonMoves();
    expectButtonsStanding(shown, inventoryShown);
}

class HudButtons : public RunningGame {
protected:
    void SetUp() override {
        RunningGame::SetUp();
        recordedRuns.clear();
        // Sounds stay on from their start, so that a test sees what played.
        echon::mgr->suspendAudio();
        echon::mgr->stopAll();
    }
    void TearDown() override {
        echon::mgr->resumeAudio();
        RunningGame::TearDown();
    }

    static bool clicked() { return echon::mgr->isAnyPlaying("ui.click"); }
};

class WideHudButtons : public HudButtons {
protected:
    GameHarness::Options options() const override {
        GameHarness::Options wide;
        wide.width = 1280;
        wide.height = 720;
        return wide;
    }
};

void slideEveryWay() {
    for (const char* layout : {"pc", "mobile"}) {
        SCOPED_TRACE(layout);
        Session::params["ui"] = layout;
        Hud::showButtons(true);
        Hud::hideButtons(false);
        expectButtons(false, true);
        Hud::hideButtons(true);
        expectButtons(false, false);
        Hud::showButtons(true); // at once
        expectButtons(true, true);
    }
    Session::params["ui"] = "pc";
}

TEST_F(HudButtons, TheButtonsSlideToTheirPlacesOnEachLayout) {
    slideEveryWay();
}

TEST_F(WideHudButtons, TheButtonsSlideToTheEdgesOfAWideWindow) {
    ASSERT_GT(Viewport::getWidescreenOffset(), 70.0f);
    slideEveryWay();
}

TEST_F(HudButtons, TheButtonsFollowAResizedWindowAtOnce) {
    const struct {
        int width, height;
        bool shown;
    } windows[] = {{1280, 720, true}, {640, 480, true}, {1280, 720, false}, {2000, 600, false}, {640, 480, true}};
    for (const char* layout : {"pc", "mobile"}) {
        Session::params["ui"] = layout;
        for (const auto& window : windows) {
            SCOPED_TRACE(testing::Message() << layout << " " << window.width << "x" << window.height);
            if (window.shown) {
                Hud::showButtons(true);
            } else {
                Hud::hideButtons(true);
                Hud::finishButtonMoves();
            }
            game->resize(window.width, window.height);
            game->step();
            expectButtonsStanding(window.shown, window.shown);
        }
    }
    Session::params["ui"] = "pc";
}

TEST_F(HudButtons, TheLockAndTheConversationPanelSlideTheButtons) {
    struct Step {
        const char* what;
        std::function<void()> act;
        bool shown;
        bool inventoryShown;
    };
    const Step steps[] = {
        {"the lock, with the inventory open",
         [this] {
             InventoryPanel::open();
             Session::lockScene();
             game->stepSeconds(0.3f); // the panel fades out
             EXPECT_FALSE(InventoryPanel::isOpen());
         },
         false, false},
        {"unlocked under a conversation",
         [] {
             ui("dialog")->setVisible(true);
             Session::unlockScene();
         },
         false, false},
        {"unlocked",
         [] {
             ui("dialog")->setVisible(false);
             Session::lockScene();
             Session::unlockScene();
         },
         true, true},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.act();
        expectButtons(step.shown, step.inventoryShown);
    }
}

TEST_F(HudButtons, HideUiHidesTheButtonsOnScenesThatAskForIt) {
    Chapter* ship = Session::getChapter("ship");
    const struct {
        const char* value;
        bool hidden;
    } cases[] = {{"", false}, {"2", false}, {"1", true}, {"3", true}, {"0", false}};
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        vessot::String name = "HideUi" + vessot::String(n++);
        auto* scene = new Scene(ship, name);
        scene->ensureRoot();
        scene->properties["hide_ui"] = c.value;
        ship->registerScene(name, scene);
        fastForwardActive = true;
        Hud::rolloverTimer = 2.0f;
        switchNow(name);
        for (const char* button :
             {"inv_button", "diary_button", "ingame_menu_button", "hint_button", "character_button", "ffwd_button"}) {
            EXPECT_EQ(ui(button)->isVisible(), !c.hidden) << button;
        }
        EXPECT_FALSE(fastForwardActive);
        EXPECT_EQ(Hud::rolloverTimer, 0.0f);
    }
}

TEST_F(HudButtons, TaskNotificationsPlayOneAfterAnotherTwoSecondsEach) {
    auto* diary = ui<nimboui::ImageButton>("diary_button");
    // An added task and then a completed one, as the hint variables' listener queues them.
    Hud::taskNotifications.clear();
    Vars::get("hint_ship_2_silicone")->setValue("1", false);
    Vars::get("hint_ship_1_locators")->setValue("0", false);
    ASSERT_EQ(Hud::taskNotifications, (std::vector<float>{-1.0f, 1.0f}));
    EXPECT_EQ(diary->getImage()->getName(), "null");
    struct Moment {
        float time;
        size_t pending;
        // The pictures on show: the diary's rectangle's y (it hops on an added task), the tick's size.
        float diaryY;
        float tickSize;
        float tickAlpha;
    };
    // Steps of 1/16 s add up exactly.
    const float pi = 3.14159265f;
    const Moment moments[] = {
        {0.0f, 2, 283, 0, 0},
        {0.5f, 2, 283 - 7 * 6 * std::fabs(std::sin(pi * 0.75f)), 0, 0}, // q 0.25: the first hop, k 6
        {2.0f, 1, 283, 35, 0},                                          // the tick starts
        {2.125f, 1, 283, 35 + 10 * std::sin(pi * 5 * 0.0625f), 0.625f}, // p 1/16: bouncing in
        {3.875f, 1, 283, 35, 0.3125f},                                  // p 15/16: fading out
        {4.0f, 0, 0, 0, 0},
    };
    float time = 0.0f;
    for (const Moment& m : moments) {
        SCOPED_TRACE(testing::Message() << m.time << " s");
        for (; time < m.time; time += 0.0625f) {
            Hud::updateDiaryButton(0.0625f);
        }
        ASSERT_EQ(Hud::taskNotifications.size(), m.pending);
        std::vector<Hud::Sprite> sprites = Hud::diaryNotification();
        if (m.pending == 0) {
            EXPECT_TRUE(sprites.empty());
            continue;
        }
        EXPECT_EQ(sprites[0].image->getName(), "gui/diary_up");
        EXPECT_NEAR(sprites[0].rect.y, m.diaryY, 1e-3f);
        ASSERT_EQ(sprites.size(), m.tickSize > 0 ? 2u : 1u);
        if (m.tickSize > 0) {
            EXPECT_EQ(sprites[1].image->getName(), "gui/yes_up");
            EXPECT_NEAR(sprites[1].rect.w, m.tickSize, 1e-3f);
            EXPECT_NEAR(sprites[1].rect.x + sprites[1].rect.w / 2, 56.5f, 1e-3f);
            EXPECT_NEAR(sprites[1].alpha, m.tickAlpha, 1e-3f);
        }
    }
    // The diary button is back with its own pictures.
    EXPECT_EQ(diary->getImage()->getName(), "gui/diary_up");
}

TEST_F(HudButtons, SkipRunsTheSkipActionOnceOrOnlyLogs) {
    recordNamedAction(Session::activeScene->chapter, "cutscene_end");
    const struct {
        const char* action;
        bool runs;
    } cases[] = {{"0", false}, {"", false}, {"cutscene_end", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.action);
        recordedRuns.clear();
        game->setVar("skip_action", c.action);
        size_t logged = game->log().size();
        Hud::onSkip(nullptr);
        EXPECT_EQ(recordedRuns, c.runs ? std::vector<std::string>{"ship.cutscene_end"} : std::vector<std::string>{});
        EXPECT_EQ(game->log().find("Unable to execute Skip, variable 'skip_action' is invalid", logged) !=
                      std::string::npos,
                  !c.runs);
        EXPECT_EQ(clicked(), c.runs);
        EXPECT_EQ(var("skip_action"), c.runs ? "0" : c.action);
        echon::mgr->stopAll();
    }
}

TEST_F(HudButtons, TheHintButtonsMarkTheHotspotsOrAskForAHint) {
    struct Case {
        const char* name;
        const char* casual;
        const char* charge;
        bool slidOut;
        bool realClick;
        float cooldownBefore;
        // What follows: the click sound, the marker (on every hotspot, or the hint's with its
        // picture), the cooldown.
        bool click;
        bool marked;
        float cooldown;
        bool hinted = false;
    };
    const Case cases[] = {
        {"a click", "0", "0", false, true, 1.0f, true, true, 0.0f},
        {"a key", "0", "0", false, false, 1.0f, true, true, 1.0f},
        {"a click before the cooldown refilled", "0", "0", false, true, 0.5f, true, true, 0.5f},
        {"slid out", "0", "0", true, true, 1.0f, true, false, 1.0f},
        {"casual, not charged", "1", "0.95", false, true, 0.5f, false, false, 0.9f},
        {"casual, charged: the kitchen's hatch on the way to the cargo hold", "1", "1.0", false, true, 0.5f, true, true,
         0.9f, true},
        {"casual mode 0 counts as off", "0", "1.0", false, true, 1.0f, true, true, 0.0f},
        {"only 1 is casual, as for the button's look", "yes", "1.0", false, true, 1.0f, true, true, 0.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        game->setVar("casual_mode", c.casual);
        game->setVar("_hint_timer", c.charge);
        Hud::showButtons(true);
        if (c.slidOut) {
            Hud::hideButtons(true);
            Hud::finishButtonMoves();
        }
        Hints::marker = {};
        Hints::buttonCooldown = c.cooldownBefore;
        nimboui::EventArgs args(ui("hint_button"), 0, 0, "");
        Hud::onHintButton(c.realClick ? &args : nullptr);
        EXPECT_EQ(clicked(), c.click);
        EXPECT_EQ(Hints::marker.time, c.marked ? 5.0f : 0.0f);
        EXPECT_EQ(Hints::marker.image != nullptr, c.hinted);
        EXPECT_FLOAT_EQ(Hints::buttonCooldown, c.cooldown);
        echon::mgr->stopAll();
    }
}

TEST_F(HudButtons, TheHintButtonWaitsForSpeechTheBusyPlayerAndTransitions) {
    const std::pair<const char*, std::function<void()>> cases[] = {
        {"a line spoken",
         [] {
             Speech::speechMap["vorne"] = {{"Hello", 2.0f}};
         }},
        {"busy", [] { Vars::get("skip_action")->setValue("cutscene", true); }},
        {"a transition", [] { Session::switchScene("Corridor", "fade", "", 1.0f); }},
    };
    for (const auto& [name, arrange] : cases) {
        SCOPED_TRACE(name);
        arrange();
        Hud::onHintButton(nullptr);
        EXPECT_FALSE(clicked());
        EXPECT_EQ(Hints::marker.time, 0.0f);
        EXPECT_TRUE(Speech::speechMap.empty()); // a spoken line is skipped
        Vars::get("skip_action")->setValue("0", true);
    }
}

TEST_F(HudButtons, TheGuidedHintTutorialStepEndsAtTheHintButton) {
    game->setVar("tutorial_state", "41");
    game->setVar("tutorial_arrow", "398,270,-90,1 == 1,right");
    game->setVar("cockpit_visits", "0");
    size_t before = game->log().size();
    Hud::onHintButton(nullptr);
    EXPECT_EQ(var("tutorial_state"), "42");
    EXPECT_EQ(var("did_guided_hint_tutorial"), "1");
    EXPECT_EQ(var("tutorial_arrow"), "");
    EXPECT_EQ(var("cockpit_visits"), "1"); // the scene was entered again
    std::string log = game->log().substr(before);
    EXPECT_NE(log.find("$tutorial_state: '42'"), std::string::npos);
    EXPECT_EQ(log.find("$did_guided_hint_tutorial:"), std::string::npos);
}

// The hover label needs the pointer over the interface's root itself wherever the scene shows, the
// buttons in the corners aside.
void expectNothingOverThePlayArea() {
    nimboui::Object* root = ui("ui");
    for (float y = 60; y <= 260; y += 25) {
        for (float x = 60; x <= 366; x += 34) {
            nimboui::Object* under = root->getChildUnderPoint(morvec::Vector2(x, y));
            EXPECT_EQ(under, root) << x << "," << y << ": " << under->getName();
        }
    }
}

TEST_F(HudButtons, NothingCoversThePlayAreaWhileNothingIsOpen) {
    expectNothingOverThePlayArea();
}

class MobileHud : public HudButtons {
protected:
    GameHarness::Options options() const override { return GameHarness::Options::mobile(); }
};

TEST_F(MobileHud, NothingCoversThePlayAreaWhileNothingIsOpen) {
    ASSERT_EQ(ui("inv_button")->getWidth(), 54.0f); // the mobile definition
    expectNothingOverThePlayArea();
}

// A skippable moment shows the skip button beside the buttons on show, over none of them but the
// one it is to cover ("" for none).
void expectSkipButtonOver(GameHarness& game, const char* covered) {
    Hud::showButtons(true);
    game.setVar("skip_action", "cutscene");
    game.step();
    nimboui::Object* skip = ui("skip_button");
    ASSERT_TRUE(Hud::isUiObjectShown("skip_button"));
    auto rectOf = [](nimboui::Object* o) {
        return morvec::Rectangle(o->getX(), o->getY(), o->getWidth(), o->getHeight());
    };
    for (const ButtonPlaces& row : PLACES) {
        bool over = rectOf(skip).intersects(rectOf(ui(row.button)));
        EXPECT_EQ(over && Hud::isUiObjectShown(row.button), covered == vessot::String(row.button)) << row.button;
    }
    game.setVar("skip_action", "0");
}

TEST_F(HudButtons, TheSkipButtonCoversNoButton) {
    expectSkipButtonOver(*game, "");
}

// On the mobile layout it stands over the hint button, which does nothing while a line may be skipped.
TEST_F(MobileHud, TheSkipButtonCoversTheHintButton) {
    expectSkipButtonOver(*game, "hint_button");
}

} // namespace
