#include "Headless.h"
#include "Recorder.h"
#include "TempDir.h"
#include "nimbo/Main.h"
#include "nimbo/MessageBox.h"
#include "vessot/Exception.h"
#include "vessot/File.h"
#include "vessot/System.h"

#include <csignal>
#include <fstream>

using Calls = std::vector<std::string>;

namespace {

// Runs nimbo_main headless with a window of its own and a recorder on it.
class MainLoop : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name :
             {"ZEPH_FRAMES", "ZEPH_FIXED_STEP", "ZEPH_INPUT", "ZEPH_SCREENSHOT", "ZEPH_WINDOW", "ZEPH_INPUT_MODE"}) {
            unsetenv(name);
        }
        setenv("ZEPH_HEADLESS", "1", 1);
        vessot::Log::setEcho(false);
        vessot::Log::setFilename(dir / "game.log", true);
    }
    void TearDown() override {
        vessot::Log::reset();
        vessot::Log::setEcho(true);
    }
    void init() {
        nimbo::init();
        nimbo::createRenderSystem();
        nimbo::createWindow(32, 32, false, "loop test");
        recorder.install(nimbo::window);
        recorder.updateHook = [this] {
            recorder.note("frame " + std::to_string(nimbo::getFrameCount()));
            if (onFrame) {
                onFrame(nimbo::getFrameCount());
            }
        };
    }
    int runMain() {
        return nimbo_main([this](const vessot::Array<vessot::String>&) { init(); },
                          [this] {
                              ++destroyed;
                              nimbo::destroy();
                          },
                          0, nullptr);
    }
    void script(const std::string& text) {
        std::ofstream(dir / "input.txt") << text;
        setenv("ZEPH_INPUT", (dir / "input.txt").c_str(), 1);
    }

    TempDir dir;
    Recorder recorder;
    std::function<void(int frame)> onFrame;
    int destroyed = 0;
};

} // namespace

TEST_F(MainLoop, FrameLimitAndFixedStepDriveTheTicks) {
    setenv("ZEPH_FRAMES", "4", 1);
    setenv("ZEPH_FIXED_STEP", "0.25", 1);
    std::vector<uint32_t> ticks;
    onFrame = [&](int) { ticks.push_back(vessot::get_system_tick_count()); };
    EXPECT_EQ(runMain(), 0);
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(recorder.steps, (std::vector<float>{0.25f, 0.25f, 0.25f, 0.25f}));
    EXPECT_EQ(ticks, (std::vector<uint32_t>{0, 250, 500, 750}));
}

TEST_F(MainLoop, HeadlessStepIsASixtiethByDefault) {
    setenv("ZEPH_FRAMES", "2", 1);
    runMain();
    ASSERT_EQ(recorder.steps.size(), 2u);
    EXPECT_FLOAT_EQ(recorder.steps[0], 1.0f / 60.0f);
}

TEST_F(MainLoop, ACloseRequestThatIsRefusedKeepsTheLoopGoing) {
    setenv("ZEPH_FRAMES", "3", 1);
    script("1 quit\n");
    runMain();
    EXPECT_EQ(recorder.take(), (Calls{"frame 0", "quit 1", "frame 1", "frame 2"}));
    EXPECT_EQ(destroyed, 1);
}

TEST_F(MainLoop, SigtermEndsTheLoopWhateverTheAnswerAndDestroyRuns) {
    setenv("ZEPH_FRAMES", "10", 1);
    onFrame = [](int frame) {
        if (frame == 1) {
            std::raise(SIGTERM);
        }
    };
    runMain();
    EXPECT_EQ(recorder.take(), (Calls{"frame 0", "frame 1", "quit 0"}));
    EXPECT_EQ(destroyed, 1);
    // The signal's own handling is back once the loop has ended.
    struct sigaction now {};
    sigaction(SIGTERM, nullptr, &now);
    EXPECT_EQ(now.sa_handler, SIG_DFL);
}

TEST_F(MainLoop, TerminatingEndsAfterTheFrameAndTheLastFrameIsTheScreenshot) {
    setenv("ZEPH_SCREENSHOT", (dir / "last.png").c_str(), 1);
    onFrame = [](int frame) {
        nimbo::rendersys->setOrthoProjection(morvec::Vector2(32, 32));
        nimbo::rendersys->drawFilledRect(morvec::Rectangle(0, 0, 32, 32), nimbo::Color(0, 0, frame * 100));
        if (frame == 2) {
            nimbo::window->terminateMainLoop();
        }
    };
    runMain();
    EXPECT_EQ(recorder.steps.size(), 3u);
    nimbo::Image shot = nimbo::Image::load(dir / "last.png");
    EXPECT_EQ(shot.getPixel(5, 5), nimbo::Color(0, 0, 200));
}

TEST_F(MainLoop, UpdateAnsweringFalseEndsTheLoop) {
    struct Stop : nimbo::UpdateDelegate {
        bool onUpdate(float) override { return ++n < 2; }
        int n = 0;
    } stop;
    nimbo_main(
        [&](const vessot::Array<vessot::String>&) {
            init();
            nimbo::window->setUpdateDelegate(&stop);
        },
        [] { nimbo::destroy(); }, 0, nullptr);
    EXPECT_EQ(stop.n, 2);
}

TEST_F(MainLoop, InitGetsTheArguments) {
    setenv("ZEPH_FRAMES", "1", 1);
    char a0[] = "game", a1[] = "-x";
    char* argv[] = {a0, a1};
    vessot::Array<vessot::String> seen;
    nimbo_main(
        [&](const vessot::Array<vessot::String>& args) {
            seen = args;
            init();
        },
        [] { nimbo::destroy(); }, 2, argv);
    EXPECT_EQ(seen, (vessot::Array<vessot::String>{"game", "-x"}));
}

TEST_F(MainLoop, TheInputScriptDrivesTheDelegatesInOrder) {
    setenv("ZEPH_FRAMES", "6", 1);
    script("0 move 3 4\n"
           "1 click 10 12\n"
           "3 key 65\n"
           "3 text hi\n"
           "4 touch 5 6\n"
           "4 screenshot " +
           dir / "shot4.png" + "\n5 touch\n");
    onFrame = [](int) {
        nimbo::rendersys->setOrthoProjection(morvec::Vector2(32, 32));
        nimbo::rendersys->drawFilledRect(morvec::Rectangle(0, 0, 32, 32), nimbo::Color(255, 0, 0));
    };
    runMain();
    EXPECT_EQ(recorder.take(),
              (Calls{"move @3,4",   "frame 0",   "move @10,12", "down 1 @10,12", "up 1 @10,12", "frame 1", "frame 2",
                     "keydown 65",  "keyup 65",  "char 104",    "char 105",      "frame 3",     "mode 1",  "move @5,6",
                     "down 1 @5,6", "touch 5,6", "frame 4",     "up 1 @5,6",     "touch",       "frame 5"}));
    EXPECT_EQ(nimbo::Image::load(dir / "shot4.png").getPixel(16, 16), nimbo::Color(255, 0, 0));
}

// A bad setting or script line ends the run before init with exit code 2 and a message naming it.
TEST_F(MainLoop, BadSettingsAndScriptsEndBeforeInitWithCodeTwo) {
    struct Case {
        const char* variable;
        const char* value;
        const char* script;
        std::string named;
    } cases[] = {
        {"ZEPH_FIXED_STEP", "nan", nullptr, "ZEPH_FIXED_STEP must be"},
        {"ZEPH_FRAMES", "99999999999", nullptr, "ZEPH_FRAMES must be a whole number from 1 to 2147483647"},
        {"ZEPH_INPUT", nullptr, "0 jump\n", "Input script '" + dir / "input.txt" + "' line 1: "},
        {"ZEPH_INPUT", nullptr, "0 move 1 1\n1 click nan nan\n", "line 2: 'click' expects a number, not 'nan'"},
        {"ZEPH_INPUT", nullptr, "", "Unable to read input script"},
    };
    for (const Case& c : cases) {
        if (c.script) {
            script(c.script);
            if (!*c.script) {
                setenv("ZEPH_INPUT", (dir / "missing.txt").c_str(), 1);
            }
        } else {
            setenv(c.variable, c.value, 1);
        }
        bool initialised = false;
        testing::internal::CaptureStderr();
        int code = nimbo_main([&](const vessot::Array<vessot::String>&) { initialised = true; }, [] {}, 0, nullptr);
        std::string shown = testing::internal::GetCapturedStderr();
        EXPECT_EQ(code, 2) << c.named;
        EXPECT_NE(shown.find(c.named), std::string::npos) << shown;
        EXPECT_FALSE(initialised);
        unsetenv(c.variable);
    }
}

TEST_F(MainLoop, AnExceptionLeavesCleanlyAndTheLoopCanStartAgain) {
    onFrame = [](int frame) {
        if (frame == 1) {
            throw vessot::exception("boom");
        }
    };
    EXPECT_THROW(runMain(), vessot::exception);
    EXPECT_EQ(destroyed, 0);
    nimbo::destroy();
    onFrame = nullptr;
    setenv("ZEPH_FRAMES", "1", 1);
    EXPECT_EQ(runMain(), 0);
    EXPECT_EQ(destroyed, 1);
}

TEST_F(MainLoop, WithoutAWindowTheLoopEndsAtOnce) {
    EXPECT_EQ(nimbo_main([](const vessot::Array<vessot::String>&) {}, [this] { ++destroyed; }, 0, nullptr), 0);
    EXPECT_EQ(destroyed, 1);
}

TEST_F(MainLoop, AHarnessStepsFramesAndInjectsInput) {
    nimbo::startMain([this](const vessot::Array<vessot::String>&) { init(); }, 0, nullptr);
    EXPECT_TRUE(nimbo::runFrames(2));
    nimbo::window->queueClick(4, 4);
    EXPECT_TRUE(nimbo::runFrames(2));
    EXPECT_EQ(nimbo::getFrameCount(), 4);
    EXPECT_EQ(recorder.take(),
              (Calls{"frame 0", "frame 1", "move @4,4", "down 1 @4,4", "up 1 @4,4", "frame 2", "frame 3"}));
    nimbo::window->terminateMainLoop();
    EXPECT_FALSE(nimbo::runFrames(1));
    EXPECT_EQ(nimbo::finishMain([] { nimbo::destroy(); }), 0);
}

TEST_F(MainLoop, MessageBoxHeadlessTakesTheFirstButtonAndAnswersNextFrame) {
    setenv("ZEPH_FRAMES", "2", 1);
    std::vector<int> answers;
    onFrame = [&](int frame) {
        if (frame == 0) {
            EXPECT_TRUE(answers.empty());
            nimbo::messageBox("Rate", "Do you like it?", nimbo::MESSAGE_BUTTON_YES + nimbo::MESSAGE_BUTTON_NO,
                              nimbo::MESSAGE_STYLE_PLAIN, {{4, "Review"}, {8, "Later"}},
                              [&](int code) { answers.push_back(code); });
            EXPECT_TRUE(answers.empty()) << "the callback waits for the next frame";
        } else {
            EXPECT_EQ(answers, (std::vector<int>{4}));
        }
    };
    runMain();
    EXPECT_EQ(answers, (std::vector<int>{4}));
    EXPECT_NE(vessot::File::hread(dir / "game.log").find("Message box 'Rate': Do you like it?"), std::string::npos);
}

TEST_F(MainLoop, MessageBoxWorksBeforeInit) {
    nimbo::messageBox("Vestrel Vorne: ERROR!", "An error has ocurred!", nimbo::MESSAGE_BUTTON_OK,
                      nimbo::MESSAGE_STYLE_ERROR);
    EXPECT_NE(vessot::File::hread(dir / "game.log").find("An error has ocurred!"), std::string::npos);
}

TEST_F(MainLoop, AFailedInitLeavesNoRunBehind) {
    EXPECT_THROW(
        nimbo::startMain([](const vessot::Array<vessot::String>&) { throw vessot::exception("no"); }, 0, nullptr),
        vessot::exception);
    setenv("ZEPH_FRAMES", "1", 1);
    EXPECT_EQ(runMain(), 0);
}
