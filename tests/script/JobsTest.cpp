// The jobs that characters run, and the character actions that fill and empty their queues, on the
// running game: Vorne in the cockpit, Luna at the corridor's far end.
#include "engine/RunningGame.h"
#include "script/Actions.h"
#include "script/Character2DRef.h"
#include "script/DialogManager.h"
#include "script/Speech.h"
#include "script/ZephJobs.h"

#include "engine/session/Evaluator.h"

#include "echon/AudioManager.h"
#include "vessxml/Xml.h"

namespace {

class Jobs : public RunningGame {
protected:
    void SetUp() override {
        RunningGame::SetUp();
        vorne = standCharacter(100, 300);
    }

    // Runs the character's queue for the given steps of dt seconds.
    void run(Character2D* character, int steps, float dt) {
        for (int i = 0; i < steps; ++i) {
            character->update(dt);
        }
    }

    Character2D* vorne = nullptr;
};

TEST_F(Jobs, AWalkKeepsItsSpeedAlongThePathAndEndsFacingTheWayItWent) {
    // 100 units east on the cockpit floor at 50 units a second: two seconds.
    vorne->addJob(new ZephJobs::SplineMove("", false, 200, 300));
    auto* walk = static_cast<ZephJobs::SplineMove*>(vorne->getCurrentJob());
    run(vorne, 1, 0.0f);
    EXPECT_NEAR(walk->getLength(), 100.0, 0.01);
    for (int step = 1; step <= 19; ++step) {
        run(vorne, 1, 0.1f);
        ASSERT_NEAR(vorne->getPosition().x, 100 + 5.0f * step, 0.05f) << step;
        ASSERT_EQ(vorne->getJobQueueSize(), 1u) << step;
    }
    run(vorne, 1, 0.1f);
    EXPECT_EQ(vorne->getJobQueueSize(), 0u);
    EXPECT_NEAR(vorne->getPosition().x, 100 + 100 * 0.9999f, 0.01f); // never past the spline at 0.9999

    struct Case {
        morvec::Vector2 from, to;
        const char* facing;
        bool inCorridor = false;
    };
    const Case cases[] = {
        {{100, 300}, {200, 300}, "E"},
        {{200, 300}, {100, 300}, "W"},
        {{100, 318}, {100, 285}, "N"},
        {{100, 285}, {140, 318}, "SE"},
        // Onto Luna's spot: the walk ends there all the same.
        {{500, 280}, {560, 280}, "E", true},
    };
    for (const Case& c : cases) {
        if (c.inCorridor) {
            Vars::get("luna_scene")->setValue("ship.Corridor", true);
            switchNow("Corridor");
        }
        vorne->placeAt("S", c.from.x, c.from.y);
        vorne->addJob(new ZephJobs::SplineMove("", false, c.to.x, c.to.y));
        run(vorne, 100, 0.05f);
        EXPECT_EQ(vorne->getJobQueueSize(), 0u);
        EXPECT_LT((vorne->getPosition() - morvec::Vector3(c.to.x, c.to.y, 0)).length(), 0.05f) << c.to.x;
        EXPECT_EQ(vorne->getOrientation(), c.facing) << c.to.x << "," << c.to.y;
        EXPECT_EQ(vorne->getImageName(), std::string("vorne/Stand_") + c.facing + ".01");
    }
}

TEST_F(Jobs, AWalkWithoutAPathOrOneUnitLongEndsAtOnceWithoutMoving) {
    struct Case {
        morvec::Vector2 from, to;
    };
    const Case cases[] = {
        {{100, 300}, {100, 300}},       // here already: no path
        {{100, 300}, {100.5f, 300.5f}}, // less than a unit away
        {{100, 285.5f}, {100, 200}},    // the floor's nearest point is half a unit away
    };
    for (const Case& c : cases) {
        vorne->placeAt("S", c.from.x, c.from.y);
        vorne->addJob(new ZephJobs::SplineMove("", false, c.to.x, c.to.y));
        run(vorne, 1, 0.1f);
        EXPECT_EQ(vorne->getJobQueueSize(), 0u) << c.to.x << "," << c.to.y;
        EXPECT_EQ(vorne->getPosition(), morvec::Vector3(c.from.x, c.from.y, 0)) << c.to.x << "," << c.to.y;
    }
}

// What a named action saw of ZephJobs::callingCharacter.
std::string calls;
Character2D* nestedCaller = nullptr;

void fail(void*) {
    throw _ScriptException("the action failed", __FILE__, __LINE__);
}

void noteCaller(void*) {
    calls += ZephJobs::callingCharacter + ";";
    if (nestedCaller) {
        Character2D* other = nestedCaller;
        nestedCaller = nullptr;
        other->addJob(new ZephJobs::CallAction("note", Session::activeScene->chapter));
        other->update(0.0f);
        calls += ZephJobs::callingCharacter + ";";
    }
}

TEST_F(Jobs, CallActionRunsTheNamedActionAsItsCharacter) {
    Session::activeScene->chapter->registerNamedAction("note", new Actions::UserCallback(noteCaller, nullptr));
    calls.clear();
    vorne->addJob(new ZephJobs::CallAction("note", nullptr)); // found in the active scene's chapter
    run(vorne, 1, 0.0f);
    EXPECT_EQ(calls, "vorne;");
    EXPECT_EQ(ZephJobs::callingCharacter, "");

    // Nested: Luna's call inside Vorne's puts Vorne back.
    calls.clear();
    nestedCaller = dynamic_cast<Character2D*>(charactersChapter->getObject("luna"));
    vorne->addJob(new ZephJobs::CallAction("note", Session::activeScene->chapter));
    run(vorne, 1, 0.0f);
    EXPECT_EQ(calls, "vorne;luna;vorne;");
    EXPECT_EQ(ZephJobs::callingCharacter, "");

    Session::activeScene->chapter->registerNamedAction("fail", new Actions::UserCallback(fail, nullptr));
    const std::pair<const char*, const char*> failures[] = {
        {"nowhere", "ZephJobs::CallAction: Action 'nowhere' not found!"},
        {"fail", "the action failed"},
    };
    for (auto [name, message] : failures) {
        vorne->clearJobs();
        vorne->addJob(new ZephJobs::CallAction(name, Session::activeScene->chapter));
        try {
            run(vorne, 1, 0.0f);
            ADD_FAILURE() << name;
        } catch (const nimboui::_GenericException& e) {
            EXPECT_EQ(e.message(), message);
        }
        EXPECT_EQ(ZephJobs::callingCharacter, "") << name;
    }
}

TEST_F(Jobs, SayPauseOrientationDialogAndSoundLastAsLongAsTheyShould) {
    // A pause of 1 s in steps of 0.4 s ends after the third, 0.2 s over.
    auto* pause = new ZephJobs::Pause(1.0f);
    vorne->addJob(pause);
    run(vorne, 2, 0.4f);
    EXPECT_EQ(vorne->getCurrentJob(), pause);
    pause->update(0.4f);
    EXPECT_TRUE(pause->isDone());
    EXPECT_NEAR(pause->calcOvertime(), 0.2f, 1e-5f);
    vorne->clearJobs();

    // A line lasts its reading time (7 s for a line without pauses at the default text speed).
    auto line = [] {
        auto* action = new Actions::Say("WINDOW_LOOK");
        action->setOwner(Session::activeScene->chapter);
        return action;
    };
    auto* say = new ZephJobs::Say("$current_character", line(), "", false);
    vorne->addJob(say);
    run(vorne, 1, 0.0f);
    EXPECT_NE(game->log().find("say: { vorne }The stars drift slowly past the window."), std::string::npos);
    run(vorne, 69, 0.1f);
    EXPECT_EQ(vorne->getCurrentJob(), say);
    run(vorne, 2, 0.1f);
    EXPECT_EQ(vorne->getJobQueueSize(), 0u);

    // Cleared while speaking, it cuts the line short; one that does not wait leaves the line alone.
    for (bool nowait : {false, true}) {
        vorne->addJob(new ZephJobs::Say("vorne", line(), "", nowait));
        run(vorne, 1, 0.0f);
        Speech::speechMap["vorne"] = {{"a line", 5.0f}};
        vorne->clearJobs();
        EXPECT_EQ(Speech::speechMap.count("vorne"), nowait ? 1u : 0u) << nowait;
        Speech::speechMap.clear();
    }

    vorne->addJob(new ZephJobs::SetOrientation("NW"));
    run(vorne, 2, 0.0f);
    EXPECT_EQ(vorne->getOrientation(), "NW");
    EXPECT_EQ(vorne->getImageName(), "vorne/Stand_NW.01");
    EXPECT_EQ(vorne->getJobQueueSize(), 0u);

    // A dialog job lasts while the conversation panel is open.
    vorne->addJob(new ZephJobs::Dialog("intercom"));
    run(vorne, 2, 0.0f);
    EXPECT_EQ(vorne->getCurrentJobType(), "Dialog");
    DialogManager::start("__END__");
    run(vorne, 1, 0.0f);
    EXPECT_EQ(vorne->getJobQueueSize(), 0u);

    // A sound waited for holds the queue while any instance of it plays (the audio stands still, so
    // that it plays however long the steps take).
    echon::mgr->suspendAudio();
    vorne->addJob(new ZephJobs::PlaySoundW("hiss", false));
    run(vorne, 1, 0.0f);
    EXPECT_EQ(vorne->getJobQueueSize(), 0u);
    EXPECT_TRUE(echon::mgr->isAnyPlaying("ship.hiss"));
    vorne->addJob(new ZephJobs::PlaySoundW("hiss", true));
    run(vorne, 3, 0.1f);
    EXPECT_NE(game->log().find("playing sound: hiss"), std::string::npos);
    EXPECT_EQ(vorne->getJobQueueSize(), 1u);
    echon::mgr->stopAll(0.0f);
    echon::mgr->resumeAudio();
    run(vorne, 1, 0.0f);
    EXPECT_EQ(vorne->getJobQueueSize(), 0u);
}

TEST_F(Jobs, TheSceneSwitchJobWritesTheSceneThenPlacesTheCharacterOnArrival) {
    auto door = [](const char* scene) {
        auto* action = new Actions::SwitchScene(0.0f, scene, "", "");
        action->setOwner(Session::activeScene->chapter);
        return action;
    };
    // A false condition: nothing happens.
    vorne->addJob(new ZephJobs::SwitchScene(door("Corridor"), "1==2", "300,290,W"));
    run(vorne, 1, 0.0f);
    EXPECT_EQ(vorne->getJobQueueSize(), 0u);
    EXPECT_EQ(var("vorne_scene"), "ship.Cockpit");
    EXPECT_TRUE(Session::commandQueue.empty());

    // With a position it waits however long until the scene is there, then places the character once.
    vorne->addJob(new ZephJobs::SwitchScene(door("Corridor"), "", "300,290,W"));
    run(vorne, 30, 0.1f);
    EXPECT_EQ(var("vorne_scene"), "ship.Corridor");
    EXPECT_EQ(vorne->getCurrentJobType(), "SwitchScene");
    game->step(); // the queued switch runs
    ASSERT_EQ(var("active_scene"), "ship.Corridor");
    EXPECT_EQ(vorne->getJobQueueSize(), 0u);
    EXPECT_EQ(vorne->getPosition(), morvec::Vector3(300, 290, 0));
    EXPECT_EQ(vorne->getOrientation(), "W");

    // A switch that never happens (dropped while another switch fades) does not keep the player busy.
    Session::switchScene("Cockpit", "fade", "", 0.5f);
    vorne->addJob(new ZephJobs::SwitchScene(door("Galley"), "", "80,300,E"));
    game->stepSeconds(1.0f);
    EXPECT_EQ(var("active_scene"), "ship.Cockpit");
    EXPECT_EQ(vorne->getJobQueueSize(), 0u);
    EXPECT_NE(game->log().find("SwitchScene job of vorne: no switch to ship.Galley under way, the job ends"),
              std::string::npos);
}

// A character command of Vorne's (or of the character a variable names) made from a "Job" list.
Actions::CommandCharacter* command(const char* character, const std::vector<std::string>& jobs) {
    auto* made = new Actions::CommandCharacter(character);
    made->setOwner(Session::activeScene->chapter);
    for (const std::string& job : jobs) {
        vessxml::Document document = vessxml::Document::parse(job, "command.scene");
        made->parseJob(document.getRoot());
    }
    return made;
}

TEST_F(Jobs, ACommandReplacesTheQueueUnlessItsOwnCharacterCalledIt) {
    std::unique_ptr<Actions::CommandCharacter> walkAndTurn(
        command("$current_character",
                {R"(<Job type="Move" x="150" y="300"/>)", R"(<Job type="Pause" time="1" condition="1==2"/>)",
                 R"(<Job type="SetOrientation" direction="N"/>)"}));
    auto types = [&] {
        std::string names;
        for (unsigned i = 0; i < vorne->getJobQueueSize(); ++i) {
            names += vorne->getJob(i)->getTypeName() + " ";
        }
        return names;
    };
    vorne->addJob(new TestJob("Animate"));
    vorne->addJob(new TestJob("Say"));
    walkAndTurn->execute();
    EXPECT_EQ(types(), "Move SetOrientation ");

    // From the character's own CallAction: right behind the running job, the rest after them.
    vorne->clearJobs();
    vorne->addJob(new TestJob("CallAction"));
    vorne->addJob(new TestJob("Say"));
    ZephJobs::callingCharacter = "vorne";
    walkAndTurn->execute();
    EXPECT_EQ(types(), "CallAction Move SetOrientation Say ");
    ZephJobs::callingCharacter = "luna";
    walkAndTurn->execute();
    EXPECT_EQ(types(), "Move SetOrientation ");
    ZephJobs::callingCharacter = "";

    // Behind a scene switch the character is first brought up to date: the switch job starts.
    Vars::get("vorne_scene")->value = "";
    auto* door = new Actions::SwitchScene(0.0f, "Corridor", "", "");
    door->setOwner(Session::activeScene->chapter);
    vorne->clearJobs();
    vorne->addJob(new ZephJobs::SwitchScene(door, "", "300,290,W"));
    walkAndTurn->execute();
    EXPECT_EQ(var("vorne_scene"), "ship.Corridor");
    EXPECT_EQ(types(), "Move SetOrientation ");

    // A character the scene does not show is left alone, by the command and by the clearing.
    std::unique_ptr<Actions::CommandCharacter> lunaWalks(command("luna", {R"(<Job type="Move" x="150" y="300"/>)"}));
    lunaWalks->execute();
    Actions::ClearJobs("luna").execute();
    EXPECT_EQ(types(), "Move SetOrientation ");
    Actions::ClearJobs("$current_character").execute();
    EXPECT_EQ(vorne->getJobQueueSize(), 0u);
    EXPECT_EQ(Actions::ClearJobs("vorne").findCharacter()->getName(), "cockpit_vorne");
}

TEST_F(Jobs, SetCharacterPosPlacesOnlyCharacters) {
    Actions::SetCharacterPos("250,310,SE", "luna").execute();
    auto* luna = dynamic_cast<Character2D*>(charactersChapter->getObject("luna"));
    EXPECT_EQ(luna->getPosition(), morvec::Vector3(250, 310, 0));
    EXPECT_EQ(luna->getOrientation(), "SE");

    auto* plain = new nimboui::Object("Object", "signpost", morvec::Rectangle());
    charactersChapter->registerManualObject(plain);
    try {
        Actions::SetCharacterPos("1,2,N", "signpost").execute();
        FAIL();
    } catch (const nimboui::_GenericException& e) {
        EXPECT_EQ(e.message(), "SetCharacterPos: 'signpost' is not a character");
    }

    // Nor does a turn of an actor that is no character pass.
    struct Plain : Marionix::Actor {
        Plain() : Marionix::Actor("plain") {}
    } actor;
    actor.addJob(new ZephJobs::SetOrientation("N"));
    try {
        actor.update(0.0f);
        FAIL();
    } catch (const nimboui::_GenericException& e) {
        EXPECT_EQ(e.message(), "Can't set orientation, actor isn't a Character2D instance");
    }
}

} // namespace
