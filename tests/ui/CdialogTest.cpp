// The confirmation dialog on the running game: every request the game writes, a short one and an
// achievement's detail, answered by the box's buttons, Esc and a right click, against recording
// named actions; the HUD buttons' flag; the snapshot's copy of the request; bad requests.
#include "UiTest.h"

#include "ui/Cdialog.h"

#include "nimboui/ImageBox.h"
#include "nimboui/Label.h"

#include <fstream>

namespace {

enum class Answer { YES_BUTTON, NO_BUTTON, OK_BUTTON, ESCAPE, RIGHT_CLICK };

const int ENTER = 13;
const int ESC = 27;

class CdialogTest : public RunningGame {
protected:
    void SetUp() override {
        RunningGame::SetUp();
        recordedRuns.clear();
        for (const char* name : {"quit_action", "OnPMDeleteOk"}) {
            recordNamedAction(Session::activeScene->chapter, name);
        }
        for (const char* name : {"ingame_quit", "ingame_quit_to_menu", "ingame_end_game"}) {
            recordNamedAction(uiChapter, name);
        }
    }

    // Writes the request as the game does and lets the box fade in.
    void ask(const vessot::String& request) {
        game->setVar("cdialog", request);
        game->stepSeconds(0.3f);
    }

    void answer(Answer how) {
        switch (how) {
        case Answer::YES_BUTTON:
            game->clickGui(centreOf("cdialog_yes_button").x, centreOf("cdialog_yes_button").y);
            break;
        case Answer::NO_BUTTON:
            game->clickGui(centreOf("cdialog_no_button").x, centreOf("cdialog_no_button").y);
            break;
        case Answer::OK_BUTTON:
            game->clickGui(centreOf("cdialog_ach_ok_button").x, centreOf("cdialog_ach_ok_button").y);
            break;
        case Answer::ESCAPE:
            game->key(ESC);
            break;
        case Answer::RIGHT_CLICK:
            game->release(200, 100, 2);
            break;
        }
    }

    static bool isBoxOpen() { return ui("cdialog")->getAlpha() == 1.0f; }
};

TEST_F(CdialogTest, EveryRequestOpensItsPanelAndItsAnswerRunsTheChosenActionOnce) {
    struct Case {
        const char* request;
        bool achievement;
        // What a yes runs ("" nothing); every other answer runs nothing.
        const char* yes;
    };
    const Case cases[] = {
        {"menu.QUIT_GAME_DIALOG,quit_action,none", false, "ship.quit_action"},
        {"INGAME_QUIT_GAME_DIALOG,ui.ingame_quit,none", false, "ui.ingame_quit"},
        {"ui.INGAME_QUIT_GAME_DIALOG,ui.ingame_quit,none", false, "ui.ingame_quit"},
        {"ui.INGAME_QUIT_MENU_DIALOG,ui.ingame_quit_to_menu,none", false, "ui.ingame_quit_to_menu"},
        {"PM_DELETE_QUESTION,OnPMDeleteOk,none", false, "ship.OnPMDeleteOk"},
        {"Q,quit_action", false, "ship.quit_action"},
        {"achievement,map,1", true, ""},
    };
    for (const Case& c : cases) {
        vessot::String request = c.request;
        std::vector<Answer> answers = {Answer::ESCAPE, Answer::RIGHT_CLICK};
        answers.push_back(c.achievement ? Answer::OK_BUTTON : Answer::YES_BUTTON);
        if (!c.achievement) {
            answers.push_back(Answer::NO_BUTTON);
        }
        for (Answer how : answers) {
            SCOPED_TRACE(testing::Message() << c.request << " answered " << (int)how);
            ask(request);
            ASSERT_TRUE(isBoxOpen());
            EXPECT_EQ(ui("cdialog_achievement_container")->isVisible(), c.achievement);
            EXPECT_EQ(ui("cdialog_text_container")->isVisible(), !c.achievement);
            if (c.achievement) {
                EXPECT_EQ(ui<nimboui::ImageBox>("cdialog_ach_img")->getImageName(), "achievements/map");
                EXPECT_EQ(ui<nimboui::Label>("cdialog_ach_text")->getTextKey(),
                          "{[c:AFAFAF]%s[/c]\n%s} achievement_title_map achievement_unlocked_desc_map");
                EXPECT_TRUE(ui("cdialog_ach_ok_button")->hasEvent("Click"));
            } else {
                EXPECT_EQ(ui<nimboui::Label>("cdialog_text")->getTextKey(), request.split(",")[0]);
            }
            // The save of a quiet moment holds the request too; Enter answers nothing.
            Vars::snapshot = Vars::variables;
            game->key(ENTER);
            ASSERT_EQ(var("cdialog"), request);

            answer(how);
            std::vector<std::string> expected;
            if ((how == Answer::YES_BUTTON) && *c.yes) {
                expected.push_back(c.yes);
            }
            EXPECT_EQ(recordedRuns, expected);
            EXPECT_EQ(var("cdialog"), "");
            EXPECT_EQ(Vars::snapshot.get("cdialog")->getValue(), "");
            game->stepSeconds(0.6f);
            EXPECT_EQ(ui("cdialog")->getAlpha(), 0.0f);
            EXPECT_EQ(ui("cdialog_click_blocker")->getAlpha(), 0.0f);
            for (const char* button : {"cdialog_yes_button", "cdialog_no_button", "cdialog_ach_ok_button"}) {
                EXPECT_FALSE(ui(button)->hasEvent("Click")) << button;
            }
            recordedRuns.clear();
        }
    }
}

TEST_F(CdialogTest, OnlyTheLiveRequestDrivesTheBox) {
    ask("Q,quit_action,none");
    // The snapshot carries a copy of the listener: emptying its request leaves the box open.
    Vars::snapshot = Vars::variables;
    Vars::snapshot.get("cdialog")->setValue("", false);
    game->stepSeconds(0.3f);
    EXPECT_TRUE(isBoxOpen());
    EXPECT_TRUE(ui("cdialog_yes_button")->hasEvent("Click"));

    Cdialog::answer(2);
    game->stepSeconds(0.6f);
    Vars::snapshot.get("cdialog")->setValue("OTHER,quit_action,none", false);
    game->stepSeconds(0.3f);
    EXPECT_EQ(ui("cdialog")->getAlpha(), 0.0f);
    EXPECT_EQ(ui<nimboui::Label>("cdialog_text")->getTextKey(), "Q");
}

TEST_F(CdialogTest, TheHudButtonsAreBroughtBackWhenTheyWereOnScreenAsTheLastRequestWasWritten) {
    struct Case {
        const char* name;
        float yWhenOpened;
        // The position a second request finds them at; 0 for no second request.
        float yWhenRewritten;
        std::vector<Answer> answers;
        bool broughtBack;
    };
    const Case cases[] = {
        {"on screen", 288, 0, {Answer::ESCAPE}, true},
        {"rewritten after they slid off", 288, 330, {Answer::ESCAPE}, false},
        {"already hidden", 330, 0, {Answer::ESCAPE}, false},
        {"already hidden, no to quitting", 330, 0, {Answer::NO_BUTTON}, false},
        // Yes, the autosave fails, and no to the question whether to quit without saving.
        {"already hidden, no to quitting unsaved", 330, 0, {Answer::YES_BUTTON, Answer::NO_BUTTON}, false},
    };
    std::ofstream(game->userFolder() + "/autosave") << "a file where the autosaves go";
    nimboui::Object* hintButton = ui("hint_button");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Cdialog::hudButtonsWereShown = !c.broughtBack;
        hintButton->setY(c.yWhenOpened);
        ask("ui.INGAME_QUIT_GAME_DIALOG,ui.InGameQuitGame,none"); // the quit that "ui.ingame_quit" calls
        if (c.yWhenRewritten > 0) {
            hintButton->setY(c.yWhenRewritten);
            ask("R,quit_action,none");
        }
        EXPECT_EQ(Cdialog::hudButtonsWereShown, c.broughtBack);
        for (Answer how : c.answers) {
            answer(how);
            game->stepSeconds(0.3f);
        }
        EXPECT_TRUE(recordedRuns.empty()); // the game goes on
        Hud::finishButtonMoves();
        EXPECT_EQ(hintButton->getY() < 313, c.broughtBack);
        hintButton->setY(288);
    }
}

TEST_F(CdialogTest, BadRequestsNeverBreakTheBox) {
    struct Case {
        const char* request;
        bool achievement;
    };
    const Case cases[] = {
        {"Q", false}, {",", false}, {"Q,none,1", false}, {"achievement,", true}, {"achievement,nope,1", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.request);
        ask(c.request);
        EXPECT_EQ(ui("cdialog_achievement_container")->isVisible(), c.achievement);
        answer(Answer::ESCAPE);
        EXPECT_EQ(var("cdialog"), "");
    }
    // A request without the chosen field runs nothing.
    ask("Q");
    Cdialog::answer(1);
    EXPECT_TRUE(recordedRuns.empty());
    EXPECT_EQ(var("cdialog"), "");
    // An unknown achievement, written over an open question: a blank image and the texts' error.
    ask("Q,quit_action,none");
    ask("achievement,nope,1");
    EXPECT_TRUE(ui("cdialog_achievement_container")->isVisible());
    EXPECT_EQ(ui<nimboui::ImageBox>("cdialog_ach_img")->getImage(), uiChapter->getImage("null"));
    EXPECT_EQ(ui<nimboui::Label>("cdialog_ach_text")->getDisplayedText(),
              "[c:AFAFAF]ERROR: text 'achievement_title_nope' not found!<p5>[/c]\n"
              "ERROR: text 'achievement_unlocked_desc_nope' not found!<p5>");
    answer(Answer::OK_BUTTON);
    EXPECT_EQ(var("cdialog"), "");
    // An empty action is a named action that does not exist.
    ask("Q,,none");
    try {
        Cdialog::answer(1);
        FAIL() << "no exception";
    } catch (const nimboui::_GenericException& e) {
        EXPECT_EQ(e.message(), "Cannot find named action '' in chapter ship");
    }
    EXPECT_EQ(var("cdialog"), "");
}

} // namespace
