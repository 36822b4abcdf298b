// The chapters as the running game created them: their order, filters, registration callbacks and
// route links; what the registration callbacks put into a chapter and in which order (a name taken
// before stops the registration right there); and a chapter loaded, unloaded and loaded again.
#include "engine/RunningGame.h"

#include "chapters/jama_spacea/Jama_spaceaChapter.h"
#include "chapters/schminkell7/Schminkell7Chapter.h"
#include "chapters/ship/ShipChapter.h"
#include "engine/ContentServices.h"
#include "engine/session/GameUtil.h"
#include "script/Action.h"
#include "script/Actions.h"
#include "ui/Menu.h"
#include "ui/SceneRoutes.h"

#include <string>
#include <tuple>
#include <vector>

namespace {

using Names = std::vector<std::string>;

class ChapterCreation : public RunningGame {
protected:
    // A chapter of the test's own (owned by the GUI library), emptied of what was registered into it.
    static Chapter* emptyProbe() {
        static Chapter* probe = new Chapter("/tmp/registration_probe/probe.datadef", nullptr);
        for (auto& [name, scene] : probe->scenes) {
            delete scene;
        }
        for (auto& [name, action] : probe->namedActions) {
            delete action;
        }
        probe->scenes.clear();
        probe->namedActions.clear();
        return probe;
    }

    // What the callback registers into a chapter of its own when the given scene or callback name is
    // taken before: the other names it registered, in the order of the names given.
    static Names registeredBefore(ChapterCallback callback, const std::string& taken, bool scene, const Names& order) {
        Chapter* probe = emptyProbe();
        if (scene) {
            probe->registerScene(taken.c_str(), new Scene(probe, taken.c_str()));
        } else {
            probe->registerNamedAction(taken.c_str(), new Actions::DebugPrint("taken"));
        }
        EXPECT_THROW(callback(probe), nimboui::_GenericException) << taken;
        Names registered;
        for (const std::string& name : order) {
            if (name != taken && (probe->scenes.count(name.c_str()) || probe->namedActions.count(name.c_str()))) {
                registered.push_back(name);
            }
        }
        return registered;
    }
};

TEST_F(ChapterCreation, TheChaptersComeInTheGamesOrderWithTheirCallbacksFiltersAndRoutes) {
    // The chapter, its registration callback and the number of its route links.
    const std::tuple<const char*, ChapterCallback, size_t> cases[] = {
        {"intro", nullptr, 0},
        {"ship", Ship::registerScenes, 17},
        {"jama_spacea", Jama_spacea::registerScenes, 34},
        {"terra_nuova", nullptr, 0},
        {"schminkell7", Schminkell7::registerScenes, 10},
        {"varion", nullptr, 37},
        {"menu", Menu::registerScenes, 0},
    };
    std::vector<nimboui::Dataset*> datasets = nimboui::getDatasets();
    ASSERT_GE(datasets.size(), std::size(cases));
    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto& [name, callback, links] = cases[i];
        SCOPED_TRACE(name);
        auto* chapter = dynamic_cast<Chapter*>(datasets[i]);
        ASSERT_TRUE(chapter);
        EXPECT_EQ(chapter->getName(), name);
        EXPECT_EQ(chapter->preLoadCallback, callback);
        EXPECT_EQ(chapter->sceneFileFilter, &GameUtil::isSceneFileForPlatform);
        size_t added = 0;
        for (const auto& [from, leaving] : SceneRoutes::links) {
            added += from.startsWith(String(name) + ".") ? leaving.size() : 0;
        }
        EXPECT_EQ(added, links);
    }
}

TEST_F(ChapterCreation, EachCallbackRegistersItsScenesThenItsCallbacksInTheTablesOrder) {
    const std::pair<ChapterCallback, Names> tables[] = {
        {UserInterface::registerScenes,
         {"Hintbook", "QuickTutorial", "SaveLoadMenu", "SettingsMenu", "InGameMenu", "HelpMenu", "AchievementsMenu",
          "RateMeBox", "ApproachCharacter", "FaceCharacter", "SwitchCharacter", "InGameAutoSave", "showRateMeBox",
          "InGameForceAutoSave", "InGameClearJobsToAll"}},
        {Ship::registerScenes, {"Router", "Cockpit", "OnRouterSkip"}},
        {Jama_spacea::registerScenes, {"Safe", "OnSafeSkip"}},
        {Schminkell7::registerScenes, {"Storage", "Saucer"}},
    };
    for (const auto& [callback, order] : tables) {
        for (size_t i = 0; i < order.size(); ++i) {
            // The interface's table has eight scenes; the chapters' have theirs before the callbacks.
            bool scene = callback == UserInterface::registerScenes ? i < 8 : order[i].substr(0, 2) != "On";
            SCOPED_TRACE(order[i] + (scene ? " (scene)" : " (callback)"));
            Names expected(order.begin(), order.begin() + (long)i);
            EXPECT_EQ(registeredBefore(callback, order[i], scene, order), expected);
        }
    }
    emptyProbe();
}

TEST_F(ChapterCreation, AChapterLoadedAgainRegistersItsClassesAndCallbacksAgain) {
    Chapter* jama = Session::getChapter("jama_spacea");
    ASSERT_FALSE(jama->isLoaded());
    for (int load = 0; load < 2; ++load) {
        SCOPED_TRACE(load);
        ASSERT_NO_THROW(jama->load());
        EXPECT_TRUE(dynamic_cast<Jama_spacea::Safe*>(jama->getScene("Safe")));
        EXPECT_EQ(jama->getNamedAction("OnSafeSkip")->getTypeName(), "UserCallback");
        jama->unload();
        EXPECT_TRUE(jama->namedActions.empty());
    }
}

} // namespace
