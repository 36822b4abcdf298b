// The domino minigame: the turning rule with its links, clicks while tiles turn, the scramble, and
// the solution checked every 2 seconds.
#include "MinigameFixture.h"

#include "minigames/DominoScene.h"

#include <set>

namespace {

// "a" drags "b" along by a quarter turn per step and "c" back by one.
const char* const LINKED =
    R"(<Scene name="Game" type="Domino" rotation_step="90" sound="beep" on_success="inc_var solved 1">
    <DominoElement name="a" image="tile" angle="0" x="10" y="10">
        <Rotate name="b" angle="90"/><Rotate name="c" angle="-90"/>
    </DominoElement>
    <DominoElement name="b" image="tile" angle="90" x="60" y="10"/>
    <DominoElement name="c" image="tile" angle="180" x="110" y="10"/>
</Scene>)";

class Domino : public MinigameFixture {
protected:
    // Enters the scene, waits out the blocking second and puts every tile back on its target.
    DominoScene* enterSettled(const char* xml) {
        DominoScene* scene = enter<DominoScene>(xml);
        run(scene, 1.1f);
        for (DominoElement* tile : scene->getTiles()) {
            tile->reset();
        }
        return scene;
    }

    // How far each tile's destination lies from its target.
    static std::vector<float> offsets(DominoScene* scene) {
        std::vector<float> result;
        for (DominoElement* tile : scene->getTiles()) {
            result.push_back(tile->getDestAngle() - tile->getTargetAngle());
        }
        return result;
    }
};

TEST_F(Domino, TheTurningRuleDragsLinkedTilesByWholeSteps) {
    struct Case {
        bool fromDestination;
        float delta;
        std::vector<float> expected;
    };
    const Case cases[] = {
        {false, 90, {90, 90, -90}},
        {false, -90, {-90, -90, 90}},
        {false, 0, {0, 0, 0}},
        // Steps are truncated toward zero: 1.5 and -1.5 steps drag the links one step.
        {false, 135, {135, 90, -90}},
        {false, -135, {-135, -90, 90}},
        {false, 45, {45, 0, 0}},
        {false, 270, {270, 270, -270}},
        // From the destination, a pending turn of each tile adds up.
        {true, 90, {180, 180, -180}},
    };
    DominoScene* scene = enterSettled(LINKED);
    for (const Case& c : cases) {
        for (DominoElement* tile : scene->getTiles()) {
            tile->reset();
        }
        if (c.fromDestination) {
            scene->getTiles()[0]->rotate(false, true, 90);
        }
        scene->getTiles()[0]->rotate(c.fromDestination, true, c.delta);
        EXPECT_EQ(offsets(scene), c.expected) << c.delta;
    }
}

TEST_F(Domino, AClickTurnsOneWayForCodeZeroAndTheOtherForAnyOtherCode) {
    struct Case {
        float x;
        int button;
        bool taken;
        std::vector<float> expected;
    };
    const Case cases[] = {
        {30, 0, true, {90, 90, -90}}, {30, 1, true, {-90, -90, 90}}, {30, 2, true, {-90, -90, 90}},
        {80, 0, true, {0, 90, 0}},    {300, 0, false, {0, 0, 0}},
    };
    DominoScene* scene = enterSettled(LINKED);
    for (const Case& c : cases) {
        for (DominoElement* tile : scene->getTiles()) {
            tile->reset();
        }
        echon::mgr->stopAll();
        EXPECT_EQ(click(scene, c.x, 30, c.button), c.taken);
        EXPECT_EQ(offsets(scene), c.expected) << c.x << " " << c.button;
        EXPECT_EQ(echon::mgr->isAnyPlaying("games.beep"), c.taken);
    }
}

TEST_F(Domino, AClickIsSwallowedWhileTheTileOrALinkedTileTurnsAndDuringTheFirstSecond) {
    DominoScene* scene = enter<DominoScene>(LINKED);
    std::vector<float> scrambled = offsets(scene);
    EXPECT_FALSE(click(scene, 30, 30));
    EXPECT_EQ(offsets(scene), scrambled);

    run(scene, 1.1f);
    for (DominoElement* tile : scene->getTiles()) {
        tile->reset();
    }
    scene->getTiles()[2]->setDestAngle(200);
    EXPECT_TRUE(click(scene, 30, 30));
    EXPECT_EQ(offsets(scene), (std::vector<float>{0, 0, 20}));
    run(scene, 0.2f);
    EXPECT_TRUE(click(scene, 30, 30));
    EXPECT_EQ(offsets(scene), (std::vector<float>{-90, -90, 110}));
    EXPECT_TRUE(click(scene, 30, 30));
    EXPECT_EQ(offsets(scene), (std::vector<float>{-90, -90, 110}));
}

TEST_F(Domino, TheScrambleMakesTwoToFourTimesTheTileCountMinusOneMoves) {
    struct Case {
        int tiles;
        int fewest, most;
    };
    for (const Case c : {Case{1, 2, 3}, Case{3, 6, 11}}) {
        std::string xml = R"(<Scene name="Game" type="Domino" rotation_step="45">)";
        for (int i = 0; i < c.tiles; ++i) {
            xml += "<DominoElement name=\"t" + std::to_string(i) + "\" image=\"tile\" angle=\"" +
                   std::to_string(90 * i) + "\" x=\"" + std::to_string(50 * i) + "\" y=\"0\"/>";
        }
        DominoScene* scene = enter<DominoScene>(xml + "</Scene>");
        std::set<int> seen;
        for (unsigned seed = 1; seed <= 100; ++seed) {
            vessot::srand(seed);
            reenter(scene);
            float steps = 0;
            for (float offset : offsets(scene)) {
                EXPECT_GE(offset, 0.0f);
                steps += offset / 45.0f;
            }
            seen.insert((int)steps);
        }
        EXPECT_EQ(*seen.begin(), c.fewest);
        EXPECT_EQ(*seen.rbegin(), c.most);
        Session::activeScene = nullptr;
        games->unload();
    }
}

TEST_F(Domino, TheSolutionIsCheckedEveryTwoSecondsAndReportedOncePerVisit) {
    DominoScene* scene = enterSettled(LINKED);
    run(scene, 1.7f);
    EXPECT_EQ(solved(), "0");
    run(scene, 0.4f);
    EXPECT_EQ(solved(), "1");
    run(scene, 10.0f);
    EXPECT_EQ(solved(), "1");

    reenter(scene);
    run(scene, 1.1f);
    // Played back: a click with code 1 undoes a scrambling move.
    for (int i = 0; i < 40 && solved() == "1"; ++i) {
        for (DominoElement* tile : scene->getTiles()) {
            if (!tile->isSolved()) {
                click(scene, tile->getX() + 20, 30);
                run(scene, 0.5f);
                break;
            }
        }
        run(scene, 0.1f);
    }
    EXPECT_EQ(solved(), "2");
}

} // namespace
