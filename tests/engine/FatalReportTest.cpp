// The fatal error report: its log text, its error box and exit code 1, for every kind of exception
// a guarded callback body can throw.
#include "GameRun.h"

#include "nimboui/Exception.h"

#include <stdexcept>

namespace {

class FatalReportTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("ZEPH_HEADLESS", "1", 1);
        vessot::Log::setEcho(false);
        vessot::Log::setFilename(dir / "game.log", true);
        throwOnExit();
    }
    void TearDown() override {
        vessot::Log::reset();
        vessot::Log::setEcho(true);
    }

    // Runs the body guarded; answers the exit code it ended with (-1: it did not end).
    int runGuarded(const std::function<void()>& body) {
        try {
            Game::guarded(body);
        } catch (const Game::ExitRequest& exit) {
            return exit.code;
        }
        return -1;
    }

    std::string report(const std::string& message) {
        return "\n----------------------\nEXCEPTION: " + message + "\n----------------------\n";
    }

    TempDir dir;
};

} // namespace

TEST_F(FatalReportTest, EveryExceptionKindEndsInTheReport) {
    struct Case {
        std::function<void()> body;
        std::string message;
    } cases[] = {
        {[] { throw vessot::exception("File not readable: data/vars.xml", "src/Vars", 12); },
         "File not readable: data/vars.xml"},
        {[] { throw nimboui::_GenericException("Color format must be either 0xAARRGGBB or 0xRRGGBB"); },
         "Color format must be either 0xAARRGGBB or 0xRRGGBB"},
        {[] { throw std::runtime_error("vector too long"); }, "vector too long"},
        {[] { throw 7; }, "unknown exception"},
    };
    for (const Case& c : cases) {
        vessot::Log::setFilename(dir / "game.log", true);
        EXPECT_EQ(runGuarded(c.body), 1) << c.message;
        std::string log = readWholeFile(dir / "game.log");
        // The report is written on the empty channel: the text alone.
        EXPECT_EQ(log.find(report(c.message)), 0u) << log;
        expectInOrder(log, {"Vestrel Vorne: ERROR!",
                            "An error has ocurred!\n\nDetails:\n" + c.message +
                                "\n---------------\nPlease check if you're running the latest "
                                "version of the game",
                            "\n\nSorry for the inconvenience!"});
    }
}

TEST_F(FatalReportTest, GuardedBodyThatSucceedsDoesNotEnd) {
    bool ran = false;
    EXPECT_EQ(runGuarded([&] { ran = true; }), -1);
    EXPECT_TRUE(ran);
    EXPECT_EQ(readWholeFile(dir / "game.log"), "");
}

TEST_F(FatalReportTest, ProcessExitsWithCodeOne) {
    Game::setExitHook(nullptr);
    EXPECT_EXIT(Game::reportFatalException(vessot::exception("boom")), ::testing::ExitedWithCode(1), "");
}
