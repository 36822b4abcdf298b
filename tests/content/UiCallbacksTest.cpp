// The "ui" chapter's callbacks on the running game, called by name as the data calls them: a
// character walking up to another and turning to face it, the switch, clearing every queue, and the
// autosaves the data asks for.
#include "engine/RunningGame.h"

#include "engine/session/zephUtil.h"
#include "script/Action.h"
#include "script/ZephJobs.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <tuple>

namespace {

namespace fs = std::filesystem;

Character2D* character(const char* name) {
    return dynamic_cast<Character2D*>(charactersChapter->getObject(name));
}

class UiCallbacks : public RunningGame {
protected:
    // Runs the named action as the data does; answers what it logged.
    std::string call(const char* name) {
        size_t before = game->log().size();
        {
            Lifetime::Scope scope;
            uiChapter->getNamedAction(name)->execute();
        }
        return game->log().substr(before);
    }

    // Every character standing at its point with an empty queue.
    static void place(std::initializer_list<std::pair<const char*, morvec::Vector2>> points) {
        for (const auto& [name, at] : points) {
            character(name)->clearJobs();
            character(name)->placeAt("S", at.x, at.y);
        }
    }

    static void pair(const char* current, const char* target) {
        Vars::get("current_character")->setValue(current, true);
        Vars::get("approach_target")->setValue(target, true);
    }

    static fs::path newestAutosave() {
        return fs::path(zephUtil::getUserDataPath() + Session::getParam("profile")) / "autosave" / "slot1";
    }
};

TEST_F(UiCallbacks, ApproachWalksRightAfterTheRunningJobToThePointShortOfTheOther) {
    struct Case {
        const char* current;
        const char* target;
        morvec::Vector2 from, to, stop;
    };
    const Case cases[] = {
        {"vorne", "luna", {100, 300}, {200, 300}, {150, 300}}, // Vorne and Luna keep 50 units apart
        {"luna", "vorne", {200, 180}, {200, 300}, {200, 250}},
        {"danny", "luna", {100, 300}, {200, 300}, {170, 300}}, // every other pair 30
        {"vorne", "danny", {260, 290}, {300, 260}, {276, 278}},
        // One point: no direction, so the walk ends on the other's point.
        {"danny", "vorne", {150, 280}, {150, 280}, {150, 280}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.current) + " to " + c.target);
        place({{c.current, c.from}, {c.target, c.to}});
        Character2D* acting = character(c.current);
        for (const char* type : {"Say", "Pause", "Animate"}) {
            acting->addJob(new TestJob(type));
        }
        pair(c.current, c.target);
        std::string log = call("ApproachCharacter");
        ASSERT_EQ(acting->getJobQueueSize(), 4u);
        auto* walk = dynamic_cast<ZephJobs::SplineMove*>(acting->getJob(1));
        ASSERT_TRUE(walk);
        EXPECT_NEAR(walk->getTarget().x, c.stop.x, 0.01f);
        EXPECT_NEAR(walk->getTarget().y, c.stop.y, 0.01f);
        EXPECT_EQ(acting->getJob(0)->getTypeName(), "Say");
        EXPECT_EQ(acting->getJob(2)->getTypeName(), "Pause");
        EXPECT_EQ(acting->getJob(3)->getTypeName(), "Animate");
        EXPECT_NE(log.find(std::string("ApproachCharacterAction: ") + c.current + " approaching " + c.target),
                  std::string::npos);
    }
}

TEST_F(UiCallbacks, ApproachAndFaceRefuseAPairThatIsNotTwoCharacters) {
    // The current character, the target and the error after the action's name.
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"vorne", "kralek", ": $approach_character is invalid: 'kralek'"},
        {"vorne", "", ": $approach_character is invalid: ''"},
        {"danny", "danny", ": chr1 == chr2!, this shouldn't happen"},
        {"kralek", "luna", ": $current_character is invalid: 'kralek'"},
        {"", "luna", ": $current_character is invalid: ''"},
    };
    for (const auto& [current, target, error] : cases) {
        for (const char* action : {"ApproachCharacter", "FaceCharacter"}) {
            SCOPED_TRACE(std::string(action) + " " + current + " " + target);
            place({{"vorne", {100, 300}}, {"luna", {200, 300}}, {"danny", {300, 300}}});
            character("vorne")->setOrientation("E");
            pair(current, target);
            std::string log = call(action);
            EXPECT_NE(log.find("ERROR! " + std::string(action) + "Action" + error), std::string::npos) << log;
            EXPECT_EQ(log.find(" approaching "), std::string::npos);
            EXPECT_EQ(log.find(" facing "), std::string::npos);
            for (const char* name : {"vorne", "luna", "danny"}) {
                EXPECT_EQ(character(name)->getJobQueueSize(), 0u) << name;
                EXPECT_EQ(character(name)->getOrientation(), std::string(name) == "vorne" ? "E" : "S") << name;
            }
        }
    }
}

TEST_F(UiCallbacks, TheOtherCharacterTurnsToFaceTheCurrentOne) {
    const std::pair<const char*, const char*> facings[] = {
        {"N", "S"}, {"NE", "SW"}, {"E", "W"}, {"SE", "NW"}, {"S", "N"}, {"SW", "NE"}, {"W", "E"}, {"NW", "SE"},
    };
    pair("vorne", "luna");
    for (const auto& [current, other] : facings) {
        character("vorne")->setOrientation(current);
        character("luna")->setOrientation("S");
        EXPECT_NE(call("FaceCharacter").find("FaceCharacterAction: luna facing vorne"), std::string::npos);
        EXPECT_EQ(character("luna")->getOrientation(), other) << current;
        EXPECT_EQ(character("vorne")->getOrientation(), current);
    }
}

TEST_F(UiCallbacks, SwitchPlaysTheNamedCharacterAndClearingEmptiesEveryQueue) {
    Vars::get("switch_character_action_target")->setValue("luna", true);
    call("SwitchCharacter");
    EXPECT_EQ(var("current_character"), "luna");
    EXPECT_EQ(var("vorne_scene"), "ship.Cockpit");

    for (const char* name : {"vorne", "luna", "danny"}) {
        character(name)->addJob(new TestJob("Say"));
        character(name)->addJob(new TestJob("Move"));
    }
    EXPECT_NE(call("InGameClearJobsToAll").find("clearing all jobs"), std::string::npos);
    for (const char* name : {"vorne", "luna", "danny"}) {
        EXPECT_EQ(character(name)->getJobQueueSize(), 0u) << name;
    }
}

TEST_F(UiCallbacks, TheDataAutosavesFromTheGameItsValuesOfNowOrOfTheLastQuietMoment) {
    struct Case {
        const char *name, *callback, *scene, *returnTo, *sceneAfter;
        // The value of "cockpit_visits" the save holds; "" for no save.
        const char *saved, *error;
    };
    const Case cases[] = {
        {"FromTheGame", "InGameAutoSave", "ship.Cockpit", "", "ship.Cockpit", "5", ""},
        {"FromTheMenu", "InGameAutoSave", "ui.InGameMenu", "ship.Galley", "ship.Galley", "5", ""},
        // No scene to return to: no switch, and the autosave refuses the interface's chapter.
        {"NowhereToReturnTo", "InGameAutoSave", "ui.InGameMenu", "", "ui.InGameMenu", "",
         "ERROR! InGameAutoSave: no scene to return to"},
        {"ForcedTakesTheValuesOfNow", "InGameForceAutoSave", "ship.Cockpit", "", "ship.Cockpit", "9", ""},
        // Forced in a menu, the autosave refuses the interface's chapter.
        {"ForcedInTheMenu", "InGameForceAutoSave", "ui.InGameMenu", "ship.Galley", "ui.InGameMenu", "", ""},
        // Quitting from a menu saves the game behind it, where the player's character stands; a menu
        // of the front end has no game behind it.
        {"QuitFromTheMenu", "InGameQuitGame", "ui.InGameMenu", "ship.Galley", "ship.Galley", "9", ""},
        {"QuitWithNoGame", "InGameQuitGame", "ui.SettingsMenu", "", "ui.SettingsMenu", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(newestAutosave().parent_path());
        switchNow(c.scene);
        Vars::get("ingame_menu_prev_scene")->setValue(c.returnTo, true);
        Vars::get("vorne_scene")->setValue(c.returnTo, true);
        Vars::get("cockpit_visits")->setValue("5", true);
        Vars::snapshot = Vars::variables;
        Vars::get("cockpit_visits")->setValue("9", true);
        std::string log = call(c.callback);
        EXPECT_EQ(var("active_scene"), c.sceneAfter);
        std::stringstream save;
        save << std::ifstream(newestAutosave() / "game.sav").rdbuf();
        EXPECT_EQ(fs::exists(newestAutosave()), *c.saved != 0);
        EXPECT_EQ(save.str().find(std::string("cockpit_visits: ") + c.saved + "\n") != std::string::npos,
                  *c.saved != 0);
        EXPECT_EQ(log.find("ERROR!"), *c.error ? log.find(c.error) : std::string::npos);
        EXPECT_EQ(var("cdialog"), ""); // nothing failed to ask about
    }
}

} // namespace
