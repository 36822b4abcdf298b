// The hint route registry: a test graph of scenes of the ship's chapter that the data does not hold
// (shortest routes, ties, cycles, unreachable targets, qualification of names), and two steps on
// the real graphs.
#include "UiTest.h"

#include "ui/SceneRoutes.h"

namespace {

class HintRoutes : public RunningGame {
protected:
    void SetUp() override {
        RunningGame::SetUp();
        real = Session::activeScene;
        ship = chapter("ship");
        // Built as a chapter's builder builds: its chapter's name while it adds, "" after.
        SceneRoutes::chapterPrefix = "ship";
        const char* const links[][3] = {
            {"TA", "TB", "ab"},  {"TB", "TA", "ba"}, // a cycle
            {"TA", "TC", "ac"},  {"TA", "TE", "ae"}, // two routes of three scenes to TD
            {"TC", "TD", "cd"},  {"TE", "TD", "ed"}, {"TD", "TA", "da"}, {"TD", "TX", "dx"}, // TX has no way out
            {"TA", "TF", "af"},  {"TF", "TG", "fg"}, {"TG", "TK", "gk"}, // a long route to TK first,
            {"TA", "TJ", "aj"},  {"TJ", "TK", "jk"},                     // as long a one later,
            {"TA", "TL", "al"},  {"TL", "TK", "lk"}, {"TK", "TA", "ka"}, // a shorter one last
            {"TA", "TL", "al2"},                                         // added twice
        };
        for (const auto& [from, to, exit] : links) {
            SceneRoutes::addLink(from, to, exit);
        }
        SceneRoutes::chapterPrefix = "";
    }

    void TearDown() override {
        Session::activeScene = real;
        for (const char* scene : {"ship.TA", "ship.TB", "ship.TC", "ship.TD", "ship.TE", "ship.TF", "ship.TG",
                                  "ship.TJ", "ship.TK", "ship.TL"}) {
            SceneRoutes::links.erase(scene);
        }
        RunningGame::TearDown();
    }

    // The route step from a scene of the test graph, the active scene standing in for it.
    vessot::String stepFrom(const vessot::String& scene, const vessot::String& target) {
        Scene standIn(ship, scene);
        Session::activeScene = &standIn;
        vessot::String step = Hints::formatRouteStep(SceneRoutes::findRoute(target));
        Session::activeScene = real;
        return step;
    }

    static Chapter* chapter(const char* name) { return dynamic_cast<Chapter*>(nimboui::getDatasetByName(name)); }

    Chapter* ship = nullptr;
    Scene* real = nullptr;
};

TEST_F(HintRoutes, TheFirstExitOfTheShortestRouteWithTheEarlierLinkWinningTies) {
    const struct {
        const char* from;
        const char* target;
        const char* step;
    } cases[] = {
        {"TA", "TB", "ab,0"},      // one link
        {"TA", "TD", "ac,0"},      // two as short: the earlier-added link
        {"TA", "TK", "aj,0"},      // a longer route found first gives way; as long a one found later does not
        {"TB", "TD", "ba,0"},      // through the cycle back to TA, which is not visited twice
        {"TE", "TB", "ed,0"},      // a branch taken at a later scene
        {"TA", "TX", ""},          // no way out of TX: never a target
        {"TA", "TA", ""},          // the scene itself
        {"TA", "TNowhere", ""},    // no link names it
        {"TA", "ship.TB", "ab,0"}, // a full name as it stands
        {"TA", "varion.TB", ""},   // of another chapter
    };
    for (const auto& c : cases) {
        EXPECT_EQ(stepFrom(c.from, c.target), c.step) << c.from << " -> " << c.target;
    }
}

TEST_F(HintRoutes, LinksAreKeptUnderTheirQualifiedSceneInTheOrderAdded) {
    const std::vector<RouteLink>& fromA = SceneRoutes::links.at("ship.TA");
    ASSERT_EQ(fromA.size(), 7u);
    EXPECT_EQ(fromA[0].from, "ship.TA");
    EXPECT_EQ(fromA[0].to, "ship.TB");
    EXPECT_EQ(fromA[0].exit, "ab");
    EXPECT_EQ(fromA[5].exit, "al");
    EXPECT_EQ(fromA[6].exit, "al2"); // the same passage twice is kept twice
    EXPECT_EQ(SceneRoutes::links.count("ship.TX"), 0u);

    SceneRoutes::addLink("TM", "jama_spacea.Pier", "mp"); // no builder runs: the active scene's chapter
    ASSERT_EQ(SceneRoutes::links.at("ship.TM").size(), 1u);
    EXPECT_EQ(SceneRoutes::links.at("ship.TM")[0].to, "jama_spacea.Pier");
    SceneRoutes::links.erase("ship.TM");
}

TEST_F(HintRoutes, NamesAreQualifiedByTheBuildersChapterElseTheActiveScenes) {
    const struct {
        const char* prefix;
        bool activeScene;
        const char* name;
        const char* qualified;
    } cases[] = {
        {"", true, "Kitchen", "ship.Kitchen"},
        {"", true, "varion.LandingDock", "varion.LandingDock"},
        {"jama_spacea", true, "Pier", "jama_spacea.Pier"},
        {"jama_spacea", false, "ship.Kitchen", "ship.Kitchen"},
        {"", false, "Pier", "Pier"},
    };
    for (const auto& c : cases) {
        SceneRoutes::chapterPrefix = c.prefix;
        Session::activeScene = c.activeScene ? real : nullptr;
        EXPECT_EQ(SceneRoutes::qualifyName(c.name), c.qualified) << c.name;
    }
    SceneRoutes::chapterPrefix = "";
    Session::activeScene = nullptr;
    EXPECT_EQ(SceneRoutes::findRoute("ship.Kitchen").to, ""); // no scene, no route
    Session::activeScene = real;
}

TEST_F(HintRoutes, TheRealGraphs) {
    switchNow("ship.Cockpit");
    // The only way to the router: the chart room leads back into the cockpit.
    EXPECT_EQ(Hints::formatRouteStep(SceneRoutes::findRoute("Router")), "0000FF,0");
    EXPECT_EQ(Hints::formatRouteStep(SceneRoutes::findRoute("varion.LandingDock")), "0000FF,0");
    // From the pier the park is three scenes away through the map, four through the motel.
    Scene pier(chapter("jama_spacea"), "Pier");
    Session::activeScene = &pier;
    EXPECT_EQ(Hints::formatRouteStep(SceneRoutes::findRoute("Park")), "F26522,0");
    EXPECT_EQ(SceneRoutes::findRoute("RowboatToPier").to, ""); // no way out of it
    Session::activeScene = real;
}

} // namespace
