// The rating prompt on the running game: every answer in both forms (the marker, the way back and
// the store page), Esc as "later", the computed variable, and the rule for the way back.
#include "FrontEndFixture.h"

#include "ui/RateMeBox.h"

#include "nimbo/MessageBox.h"

#include <fcntl.h>
#include <sys/stat.h>

namespace {

const int ESC = 27;
const char STORE_LINE[] = "[tulm] Headless run, not opening https://";

enum class Answer { RATE, NEVER, LATER, ESCAPE };

class RateMeBoxTest : public FrontEndTest {
protected:
    // Enters the prompt from the cockpit, as the data does.
    void enterPrompt() {
        switchNow("ui.RateMeBox");
        settle();
        ASSERT_EQ(var("ratemebox_prev_scene"), "ship.Cockpit");
    }

    void answer(Answer how) {
        switch (how) {
        case Answer::RATE:
            game->clickGui(centreOf("rateme_yes").x, centreOf("rateme_yes").y);
            break;
        case Answer::NEVER:
            game->clickGui(centreOf("rateme_no").x, centreOf("rateme_no").y);
            break;
        case Answer::LATER:
            game->clickGui(centreOf("rateme_later").x, centreOf("rateme_later").y);
            break;
        case Answer::ESCAPE:
            game->key(ESC);
            break;
        }
    }

    static bool marked() { return exists("app_rated.txt"); }
    bool storeOpened() const { return game->log().find(STORE_LINE) != std::string::npos; }
};

TEST_F(RateMeBoxTest, EachAnswerInTheSceneMarksReturnsAndOpensAsItShould) {
    const struct {
        Answer answer;
        bool marks;
        bool fade;
        bool store;
        bool pipe = false; // in the marker's place, else an old marker (with a reader: a plain open goes on)
    } answers[] = {
        {Answer::RATE, true, false, true},
        {Answer::NEVER, true, true, false, true},
        {Answer::LATER, false, true, false},
        {Answer::ESCAPE, false, true, false},
    };
    for (const auto& a : answers) {
        SCOPED_TRACE((int)a.answer);
        std::filesystem::remove(user("app_rated.txt"));
        if (a.pipe) {
            mkfifo(user("app_rated.txt").c_str(), 0600);
            open(user("app_rated.txt").c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        } else if (a.marks) {
            make("app_rated.txt", "left from before");
        }
        game->setVar("ratemebox_prev_scene", "");
        enterPrompt();
        size_t logBefore = game->log().size();
        answer(a.answer);
        EXPECT_EQ(marked(), a.marks);
        if (a.marks) {
            EXPECT_EQ(std::filesystem::file_size(user("app_rated.txt")), 0u);
        }
        if (a.fade) {
            EXPECT_EQ(target(), "ship.Cockpit");
            EXPECT_TRUE(fades());
            EXPECT_FLOAT_EQ(Session::activeTransition->duration, 0.5f);
            game->finishTransition();
        }
        EXPECT_EQ(var("active_scene"), "ship.Cockpit");
        EXPECT_EQ(game->log().find(STORE_LINE, logBefore) != std::string::npos, a.store);
        EXPECT_EQ(var("should_show_rateme_box"), "0");
    }
}

TEST_F(RateMeBoxTest, TheMessageBoxRatesOrWaitsAndStaysInTheScene) {
    // A headless message box takes its first button, rate (code 4), at the next frame.
    UserInterface::showRateMeBox(nullptr);
    EXPECT_EQ(var("ratemebox_prev_scene"), "ship.Cockpit");
    EXPECT_NE(game->log().find("Enjoying Vestrel Vorne?"), std::string::npos);
    EXPECT_FALSE(marked());
    game->step();
    EXPECT_TRUE(marked());
    EXPECT_TRUE(storeOpened());
    EXPECT_EQ(target(), "");
    EXPECT_EQ(var("active_scene"), "ship.Cockpit");

    std::filesystem::remove(user("app_rated.txt"));
    UserInterface::onRateMeAnswer(nimbo::MESSAGE_BUTTON_NO);
    EXPECT_FALSE(marked());
    EXPECT_EQ(target(), "");
    EXPECT_EQ(var("should_show_rateme_box"), "0");
}

TEST_F(RateMeBoxTest, TheWayBackIsNamedOnlyWhenNoneIsKnown) {
    const std::pair<const char*, const char*> rules[] = {
        {"", "ship.Cockpit"},
        {"ui.RateMeBox", "ship.Cockpit"},
        {"ship.Galley", "ship.Galley"},
    };
    for (const auto& [before, after] : rules) {
        SCOPED_TRACE(before);
        game->setVar("ratemebox_prev_scene", before);
        switchNow("ui.RateMeBox");
        EXPECT_EQ(var("ratemebox_prev_scene"), after);
        // A refresh names nothing.
        game->setVar("ratemebox_prev_scene", "");
        Session::activeScene->reset();
        EXPECT_EQ(var("ratemebox_prev_scene"), "");
        switchNow("ship.Cockpit");
    }
}

} // namespace
