// The commands that act on the active scene, in the real game started headless on the bundled
// data in the cockpit (the user's configuration names the first scene).
#include "GameRun.h"

#include "engine/scene/ActionMap.h"
#include "engine/scene/Chapter.h"
#include "engine/scene/Scene.h"
#include "engine/session/Session.h"
#include "engine/session/Vars.h"

class CommandSceneTest : public ::testing::Test {
protected:
    void SetUp() override {
        writeWholeFile(game.user / "zeph.cfg", "scene: ship.Cockpit\n");
        game.start();
        ASSERT_NE(Session::activeScene, nullptr);
        ASSERT_EQ(Session::activeScene->getFullName(), "ship.Cockpit");
    }
    std::string logAfter(size_t start) { return game.log().substr(start); }

    GameRun game;
};

TEST_F(CommandSceneTest, ResetSceneRunsTheBootCommandsAgain) {
    EXPECT_EQ(Vars::value("cockpit_visits"), "1");
    Session::executeCommand("reset_scene");
    EXPECT_EQ(Vars::value("cockpit_visits"), "2");
    EXPECT_EQ(Vars::value("prev_scene"), "ship.Cockpit");
    EXPECT_EQ(Session::activeScene->getFullName(), "ship.Cockpit");
}

TEST_F(CommandSceneTest, SetAmpPutsAHotspotMapOfTheChapterInPlace) {
    Session::executeCommand("set_amp Galley");
    ASSERT_NE(Session::activeScene->actionMap, nullptr);
    EXPECT_EQ(Session::activeScene->actionMap->getName(), "Galley");
}

TEST_F(CommandSceneTest, SayTakesTheTextFromTheChaptersTable) {
    size_t start = game.log().size();
    Session::executeCommand("say WINDOW_LOOK 2.5");
    Session::executeCommand("say NO_SUCH_KEY");
    std::string log = logAfter(start);
    expectInOrder(log, {"say: The stars drift slowly past the window.\n", "say: \n"});
    // A missing key gives an empty text, not the chapter's missing-text line, and adds no key.
    EXPECT_EQ(log.find("not found"), std::string::npos);
    EXPECT_FALSE(Session::activeScene->chapter->textExists("NO_SUCH_KEY"));
}

TEST_F(CommandSceneTest, CallRunsNamedActions) {
    size_t start = game.log().size();
    Session::executeCommand("call ship.look_window");
    Session::executeCommand("call look_window");
    std::string log = logAfter(start);
    expectInOrder(log, {"say: { $current_character }The stars drift", "say: { $current_character }The stars drift"});
}

TEST_F(CommandSceneTest, PlaySoundNamesTheSoundAfterTheChapter) {
    size_t start = game.log().size();
    Session::executeCommand("play_sound hum;play_sound other.hum");
    expectInOrder(logAfter(start), {"'ship.hum'", "'other.hum'"});
}

TEST_F(CommandSceneTest, QueuedCommandsRunInTheSessionUpdate) {
    Session::queueCommand("set_var console_on 1");
    Session::queueCommand("reset_scene");
    Session::queueCommand("reset_scene");
    nimbo::runFrames(1);
    EXPECT_TRUE(Session::commandQueue.empty());
    EXPECT_EQ(Vars::value("console_on"), "1");
    EXPECT_EQ(Vars::value("cockpit_visits"), "2");
}
