#include "Headless.h"
#include "Recorder.h"
#include "nimbo/InputScript.h"
#include "nimbo/Keys.h"
#include "vessot/Exception.h"

using nimbo::InputEvent;
using Calls = std::vector<std::string>;

namespace {

class Input : public Headless {
protected:
    void SetUp() override {
        unsetenv("ZEPH_INPUT_MODE");
        Headless::SetUp();
        recorder.install(nimbo::window);
    }
    // Delivers the events in one frame and answers what reached the delegates.
    Calls deliver(const std::vector<InputEvent>& events) {
        for (const InputEvent& e : events) {
            nimbo::window->queueInput(e);
        }
        nimbo::window->pumpEvents(frame++);
        return recorder.take();
    }
    Recorder recorder;
    int frame = 0;
};

} // namespace

TEST(Keys, TheTableGivesWindowsVirtualKeyCodes) {
    struct Case {
        const char* name;
        int code;
    } cases[] = {
        {"Return", 13},    {"Keypad Enter", 13},
        {"Pause", 19},     {"Escape", 27},
        {"Space", 32},     {"0", 48},
        {"9", 57},         {"A", 65},
        {"Z", 90},         {"F1", 112},
        {"F12", 123},      {"Left", 37},
        {"Up", 38},        {"Right", 39},
        {"Down", 40},      {"Backspace", 8},
        {"Tab", 9},        {"Home", 36},
        {"End", 35},       {"Delete", 46},
        {"Left Shift", 0}, {"CapsLock", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(nimbo::keyCodeFromName(c.name), c.code) << c.name;
    }
}

TEST_F(Input, ThePointerMovesBeforeAPressElsewhere) {
    EXPECT_EQ(deliver({InputEvent::move(10, 20)}), (Calls{"move @10,20"}));
    EXPECT_EQ(deliver({InputEvent::down(10, 20, 1), InputEvent::up(30, 40, 2)}),
              (Calls{"down 1 @10,20", "move @30,40", "up 2 @30,40"}));
    EXPECT_EQ(nimbo::window->getCursorPosition(), morvec::Vector2(30, 40));
}

TEST_F(Input, KeysAndTextByCodePoint) {
    EXPECT_EQ(deliver({InputEvent::keyDown(nimbo::KEY_ESCAPE), InputEvent::keyUp(nimbo::KEY_ESCAPE)}),
              (Calls{"keydown 27", "keyup 27"}));
    EXPECT_EQ(deliver({InputEvent::typed("a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80")}),
              (Calls{"char 97", "char 233", "char 8364", "char 128512"}));
    EXPECT_EQ(deliver({InputEvent::typed("\xC3")}), (Calls{"char 65533"}));
}

TEST_F(Input, InputModeFollowsFingersAndTheMouse) {
    EXPECT_EQ(nimbo::window->getInputMode(), nimbo::Window::INPUT_MOUSE);
    deliver({InputEvent::touch({{5, 5}})});
    EXPECT_EQ(nimbo::window->getInputMode(), nimbo::Window::INPUT_TOUCH);
    Calls calls = deliver({InputEvent::touch({}), InputEvent::move(1, 1)});
    EXPECT_EQ(nimbo::window->getInputMode(), nimbo::Window::INPUT_MOUSE);
    EXPECT_EQ(calls.back(), "move @1,1");
    EXPECT_EQ(calls[calls.size() - 2], "mode 2");
}

TEST_F(Input, FixedInputModeIgnoresTheInput) {
    nimbo::destroy();
    setenv("ZEPH_INPUT_MODE", "touch", 1);
    Headless::SetUp();
    unsetenv("ZEPH_INPUT_MODE");
    recorder.install(nimbo::window);
    EXPECT_EQ(nimbo::window->getInputMode(), nimbo::Window::INPUT_TOUCH);
    deliver({InputEvent::move(1, 1)});
    EXPECT_EQ(nimbo::window->getInputMode(), nimbo::Window::INPUT_TOUCH);
}

TEST_F(Input, OneFingerIsTheMouse) {
    Calls landed = deliver({InputEvent::touch({{10, 10}})});
    EXPECT_EQ(landed, (Calls{"mode 1", "move @10,10", "down 1 @10,10", "touch 10,10"}));
    EXPECT_EQ(deliver({InputEvent::touch({{12, 14}})}), (Calls{"move @12,14", "touch 12,14"}));
    EXPECT_EQ(deliver({InputEvent::touch({})}), (Calls{"up 1 @12,14", "touch"}));
}

TEST_F(Input, ASecondFingerCancelsThePressAndNoClickFollows) {
    deliver({InputEvent::touch({{10, 10}})});
    EXPECT_EQ(deliver({InputEvent::touch({{10, 10}, {40, 40}})}), (Calls{"cancel 1", "touch 10,10 40,40"}));
    EXPECT_EQ(deliver({InputEvent::touch({{8, 10}, {44, 40}})}), (Calls{"touch 8,10 40,40", "touch 8,10 44,40"}));
    EXPECT_EQ(deliver({InputEvent::touch({{8, 10}})}), (Calls{"touch 8,10"}));
    EXPECT_EQ(deliver({InputEvent::touch({})}), (Calls{"touch"}));
    // The next single finger is a press again.
    EXPECT_EQ(deliver({InputEvent::touch({{20, 20}})}), (Calls{"move @20,20", "down 1 @20,20", "touch 20,20"}));
}

TEST_F(Input, LosingTheFocusCancelsHeldButtons) {
    deliver({InputEvent::down(5, 5, 1), InputEvent::down(5, 5, 2), InputEvent::up(5, 5, 2)});
    EXPECT_EQ(deliver({InputEvent::focus(false)}), (Calls{"cancel 1", "focus 0"}));
    EXPECT_EQ(deliver({InputEvent::focus(true)}), (Calls{"focus 1"}));
}

TEST_F(Input, ACloseRequestQuitsOnlyOnYes) {
    EXPECT_EQ(deliver({InputEvent::quit()}), (Calls{"quit 1"}));
    EXPECT_FALSE(nimbo::window->isTerminated());
    recorder.quitAnswer = true;
    deliver({InputEvent::quit()});
    EXPECT_TRUE(nimbo::window->isTerminated());
}

TEST_F(Input, QueuedInputWaitsForItsFrame) {
    nimbo::window->queueClick(7, 8);
    nimbo::window->queueKey(nimbo::KEY_SPACE, 1);
    EXPECT_EQ(nimbo::window->getFrameNumber(), 0);
    // A click at a new point moves there in its own frame; nothing moves a frame ahead.
    EXPECT_EQ(deliver({}), (Calls{"move @7,8", "down 1 @7,8", "up 1 @7,8"}));
    EXPECT_EQ(deliver({}), (Calls{"keydown 32", "keyup 32"}));
    EXPECT_EQ(deliver({}), (Calls{}));
    EXPECT_EQ(nimbo::window->getFrameNumber(), 3);
}

TEST_F(Input, NullDelegatesAreSkipped) {
    nimbo::window->setMouseDelegate(nullptr);
    nimbo::window->setKeyboardDelegate(nullptr);
    EXPECT_EQ(deliver({InputEvent::down(3, 3, 1), InputEvent::keyDown(65), InputEvent::typed("x")}), (Calls{}));
    EXPECT_EQ(nimbo::window->getCursorPosition(), morvec::Vector2(3, 3));
}

TEST(InputScript, ReadsEveryCommand) {
    nimbo::InputScript s = nimbo::InputScript::parse("# a comment\n"
                                                     "\n"
                                                     "0 click 10 20\n"
                                                     "2 down 1 2 2\n"
                                                     "2 up 1.5 2 2\n"
                                                     "3 move 4 5\n"
                                                     "4 key 27\n"
                                                     "5 text Hello, world\n"
                                                     "6 touch 1 2 3 4\n"
                                                     "7 touch\n"
                                                     "8 screenshot out/shot.png\n"
                                                     "9 quit\n",
                                                     "demo.txt");
    std::vector<std::pair<int, InputEvent::Kind>> expected = {
        {0, InputEvent::DOWN},  {0, InputEvent::UP},       {2, InputEvent::DOWN},   {2, InputEvent::UP},
        {3, InputEvent::MOVE},  {4, InputEvent::KEY_DOWN}, {4, InputEvent::KEY_UP}, {5, InputEvent::TEXT},
        {6, InputEvent::TOUCH}, {7, InputEvent::TOUCH},    {9, InputEvent::QUIT},
    };
    ASSERT_EQ(s.events.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(s.events[i].frame, expected[i].first) << i;
        EXPECT_EQ(s.events[i].event.kind, expected[i].second) << i;
    }
    EXPECT_EQ(s.events[0].event.code, 1);
    EXPECT_EQ(s.events[1].event.position, morvec::Vector2(10, 20));
    EXPECT_EQ(s.events[2].event.code, 2);
    EXPECT_EQ(s.events[3].event.position, morvec::Vector2(1.5f, 2));
    EXPECT_EQ(s.events[5].event.code, 27);
    EXPECT_EQ(s.events[7].event.text, "Hello, world");
    EXPECT_EQ(s.events[8].event.points.size(), 2u);
    EXPECT_TRUE(s.events[9].event.points.empty());
    ASSERT_EQ(s.screenshots.size(), 1u);
    EXPECT_EQ(s.screenshots[0].frame, 8);
    EXPECT_EQ(s.screenshots[0].path, "out/shot.png");
}

TEST(InputScript, BadLinesNameTheFileAndLine) {
    const char* bad[] = {"x click 1 2",    "-1 move 1 2",   "1 click 1",     "1 click a b",
                         "1 key 1.5",      "1 touch 1 2 3", "1 dance",       "1",
                         "1 quit now",     "1 screenshot",  "1 click nan 2", "1 move 1 inf",
                         "1 touch -nan 1", "1e3 move 1 1",  "1 down 1 2 nan"};
    for (const char* line : bad) {
        try {
            nimbo::InputScript::parse(vessot::String("0 move 1 1\n") + line, "demo.txt");
            ADD_FAILURE() << line;
        } catch (const vessot::exception& e) {
            EXPECT_EQ(e.message().find("Input script 'demo.txt' line 2: "), 0u) << e.message();
        }
    }
    EXPECT_THROW(nimbo::InputScript::load("/nonexistent/script.txt"), vessot::exception);
}

// Frames, positions, keys and buttons share one range and one message.
TEST(InputScript, NumbersOutOfRangeAreRefusedAlike) {
    const char* lines[][2] = {{"1 key 2147483647", "2147483647"},
                              {"1 click 99999999999 5", "99999999999"},
                              {"1000001 move 1 1", "1000001"},
                              {"1 down 1 2 -1000001", "-1000001"},
                              {"1 touch 1 2 3 1000000.5", "1000000.5"}};
    for (const auto& [line, number] : lines) {
        try {
            nimbo::InputScript::parse(line, "demo.txt");
            ADD_FAILURE() << line;
        } catch (const vessot::exception& e) {
            EXPECT_EQ(e.message(), "Input script 'demo.txt' line 1: '" + vessot::String(number) +
                                       "' is out of range: numbers lie between -1000000 and 1000000");
        }
    }
    EXPECT_EQ(nimbo::InputScript::parse("1000000 key -1000000", "demo.txt").events[0].event.code, -1000000);
}
