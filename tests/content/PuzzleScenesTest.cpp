// The skip-timer puzzles (the safe and the router) and the cockpit's hint tutorial on the running
// game, their timers set directly: the gauge's steps, the skip's timeout by the button and by the
// callback, the timer across resets and entries, "hide_ui" following the solved flag, and the guide
// arrow on the hint button.
#include "engine/RunningGame.h"

#include "chapters/jama_spacea/Jama_spaceaChapter.h"
#include "chapters/ship/ShipChapter.h"
#include "script/Action.h"

#include "nimboui/Image.h"
#include "nimboui/ImageBox.h"

#include <string>
#include <vector>

namespace {

struct Puzzle {
    const char* scene;
    // A scene with a way in.
    const char* neighbour;
    float* timer;
    const char* solvedFlag;
    const char* button;
    const char* callback;
    std::vector<std::pair<const char*, const char*>> solution;
};

const Puzzle PUZZLES[] = {
    {"jama_spacea.Safe",
     "jama_spacea.Park",
     &Jama_spacea::safeSkipTimer,
     "sfc_correct_internal",
     "Safe_skip_button",
     "jama_spacea.OnSafeSkip",
     {{"knob_1_state", "0"}, {"knob_2_state", "4"}, {"knob_3_state", "1"}, {"knob_4_state", "0"}}},
    {"ship.Router",
     "ship.EngineRoom",
     &Ship::routerSkipTimer,
     "combination_correct",
     "Router_skip_button",
     "ship.OnRouterSkip",
     {{"red", "2"}, {"green", "1"}, {"blue", "2"}, {"yellow", "3"}}},
};

class PuzzleScenes : public RunningGame {
protected:
    // The puzzle entered from its neighbour, unsolved.
    static void enter(const Puzzle& p) {
        switchNow(p.neighbour);
        for (const auto& [name, value] : p.solution) {
            Vars::get(name)->setValue("5", true);
        }
        switchNow(p.scene);
    }

    static nimboui::ImageBox* button(const Puzzle& p) {
        return dynamic_cast<nimboui::ImageBox*>(Session::activeScene->chapter->getObject(p.button));
    }
};

TEST_F(PuzzleScenes, EachUpdateShowsTheGaugesStepAndHidesTheButtonsWhileUnsolved) {
    const std::pair<float, int> steps[] = {{0.0f, 1},    {7.4f, 1},    {7.5f, 2},   {45.0f, 7},
                                           {89.92f, 12}, {89.93f, 13}, {400.0f, 13}};
    // The solved flag, "hide_ui" before and after the update.
    const std::tuple<const char*, const char*, const char*> hiding[] = {
        {"0", "0", "1"}, {"0", "3", "1"}, {"1", "1", "3"}, {"2", "1", "3"},
        {"1", "0", "0"}, {"1", "3", "3"}, {"1", "", ""}};
    for (const Puzzle& p : PUZZLES) {
        enter(p);
        for (const auto& [seconds, step] : steps) {
            SCOPED_TRACE(std::string(p.scene) + " at " + std::to_string(seconds));
            *p.timer = seconds;
            Session::activeScene->onUpdate(0.0f);
            EXPECT_EQ(button(p)->getImage()->getName(), "skip_button_" + std::to_string(step));
        }
        for (const auto& [solved, before, after] : hiding) {
            SCOPED_TRACE(std::string(p.scene) + " solved " + solved + " hide_ui '" + before + "'");
            Vars::get(p.solvedFlag)->setValue(solved, true);
            Session::activeScene->properties["hide_ui"] = before;
            Session::activeScene->onUpdate(0.0f);
            EXPECT_EQ(Session::activeScene->getProperty("hide_ui"), after);
        }
    }
}

TEST_F(PuzzleScenes, ASkipPastTheTimeoutWritesTheSolutionInOrderAndResetsTheScene) {
    struct Case {
        float seconds;
        bool byClick;
        bool accepted;
    };
    const Case cases[] = {{90.0f, false, false}, {90.0f, true, false}, {90.1f, false, true}, {90.1f, true, true}};
    for (const Puzzle& p : PUZZLES) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(p.scene) + (c.byClick ? " click at " : " callback at ") +
                         std::to_string(c.seconds));
            enter(p);
            *p.timer = c.seconds;
            size_t before = game->log().size();
            {
                Lifetime::Scope scope;
                if (c.byClick) {
                    button(p)->triggerEvent("Click", 0, 0, "");
                } else {
                    Session::activeScene->chapter->getNamedAction(p.callback)->execute();
                }
            }
            std::string log = game->log().substr(before);
            EXPECT_EQ(log.find("can't skip, waiting for timeout") == std::string::npos, c.accepted);
            // A reset enters the scene from itself; the timer runs on.
            EXPECT_EQ(var("prev_scene") == p.scene, c.accepted);
            EXPECT_EQ(*p.timer, c.seconds);
            size_t at = 0;
            for (const auto& [name, value] : p.solution) {
                EXPECT_EQ(var(name), c.accepted ? value : "5");
                size_t line = log.find(std::string("$") + name + ": '" + value + "' (was '5')");
                if (c.accepted) {
                    ASSERT_NE(line, std::string::npos) << name;
                    EXPECT_GT(line, at) << name << " out of order";
                    at = line;
                }
            }
        }
    }
}

TEST_F(PuzzleScenes, OnlyAnEntryFromAnotherSceneRestartsTheTimer) {
    for (const Puzzle& p : PUZZLES) {
        SCOPED_TRACE(p.scene);
        enter(p);
        EXPECT_EQ(*p.timer, 0.0f);
        game->stepSeconds(1.0f);
        EXPECT_NEAR(*p.timer, 1.0f, 0.05f);
        Lifetime::Scope scope;
        Session::activeScene->reset();
        EXPECT_NEAR(*p.timer, 1.0f, 0.05f);
        switchNow(p.neighbour);
        switchNow(p.scene);
        EXPECT_EQ(*p.timer, 0.0f);
    }
}

TEST_F(PuzzleScenes, TheCockpitPointsAtTheHintButtonAtTheTutorialsStep41) {
    const char* const desktop = "406,290,-90,$smart_hint_button_visible == 0 and $inv_item_in_selection == 0,right";
    const char* const mobile = "398,270,-90,$smart_hint_button_visible == 0,right";
    struct Case {
        const char *state, *done;
        bool replyMenu, locked;
        const char *target, *arrow;
    };
    const Case cases[] = {
        {"41", "0", false, false, "", desktop},  {"41", "0", false, false, "mobile", mobile},
        {"41", "0", true, false, "", "before"},  {"41", "0", false, true, "", ""},
        {"41", "0", true, true, "mobile", ""},   {"41", "1", false, false, "", "before"},
        {"40", "0", false, false, "", "before"}, {"42", "0", false, true, "", "before"},
    };
    ASSERT_TRUE(dynamic_cast<Ship::Cockpit*>(Session::activeScene));
    nimboui::Object* dialog = uiChapter->getObject("dialog");
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.state) + " done " + c.done + (c.replyMenu ? " menu" : "") +
                     (c.locked ? " locked" : "") + " " + c.target);
        Vars::get("tutorial_state")->setValue(c.state, true);
        Vars::get("did_guided_hint_tutorial")->setValue(c.done, true);
        Vars::get("zeph_target")->setValue(c.target, true);
        Vars::get("tutorial_arrow")->setValue("before", true);
        dialog->setVisible(c.replyMenu);
        dialog->setAlpha(1.0f);
        Session::sceneLocked = c.locked;
        Session::activeScene->onUpdate(0.0f);
        EXPECT_EQ(var("tutorial_arrow"), c.arrow);
    }
    Session::sceneLocked = false;
    dialog->setVisible(false);
}

} // namespace
