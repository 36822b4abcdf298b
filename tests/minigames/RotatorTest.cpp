// The rotator minigame: clicks reach the ring whose band they hit, through the holes of the rings
// above; the puzzle is solved only with every ring at rest upright, once per visit.
#include "MinigameFixture.h"

#include "minigames/RotatorScene.h"

namespace {

// Two rings about (100, 100): the outer band from 40 to 100 units out, the inner from 50 to 60.
const char* const RINGS = R"(<Scene name="Game" type="Rotator" rotation_step="30" on_success="inc_var solved 1">
    <Ring name="outer" image="ring_outer" ring_width="60" x="0" y="0"/>
    <Ring name="inner" image="ring_inner" ring_width="10" x="40" y="40"/>
</Scene>)";

const morvec::Vector2 OUTER_BAND(180, 100);
const morvec::Vector2 INNER_BAND(155, 100);

class Rotator : public MinigameFixture {
protected:
    void SetUp() override {
        MinigameFixture::SetUp();
        scene = enter<RotatorScene>(RINGS);
        outer = scene->getRings()[0];
        inner = scene->getRings()[1];
    }

    bool atRest() const { return !outer->isRotating() && !inner->isRotating(); }

    // Clicks each ring's band until it stands upright, as a player would.
    void solve() {
        run(scene, 1.0f);
        for (auto [ring, point] : {std::pair{outer, OUTER_BAND}, std::pair{inner, INNER_BAND}}) {
            while (!nimboui::RotatableImageBox::angleEquals(ring->getDestAngle(), 0)) {
                click(scene, point.x, point.y);
                run(scene, 0.2f);
            }
        }
    }

    RotatorScene* scene = nullptr;
    RotatorRing* outer = nullptr;
    RotatorRing* inner = nullptr;
};

TEST_F(Rotator, APointIsOnARingOnlyWithinItsBand) {
    struct Case {
        float x, y;
        bool onOuter, onInner;
    };
    const Case cases[] = {
        {145, 100, true, false}, {139, 100, false, false}, {200, 100, true, false},  {155, 100, true, true},
        {100, 40, true, true},   {0, 0, false, false},     {100, 100, false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(outer->isPointInside(c.x, c.y), c.onOuter) << c.x << "," << c.y;
        EXPECT_EQ(inner->isPointInside(c.x, c.y), c.onInner) << c.x << "," << c.y;
    }
}

TEST_F(Rotator, AClickTurnsTheRingWhoseBandItHitsThroughTheHolesAbove) {
    float innerStart = inner->getDestAngle();
    EXPECT_FALSE(click(scene, INNER_BAND.x, INNER_BAND.y));
    EXPECT_EQ(inner->getDestAngle(), innerStart);
    run(scene, 3.0f);
    ASSERT_TRUE(atRest());

    struct Case {
        float x;
        int button;
        bool taken;
        float outerTurn, innerTurn;
    };
    const Case cases[] = {
        {INNER_BAND.x, 1, true, 0, -30}, {INNER_BAND.x, 0, true, 0, 30}, {145, 1, true, -30, 0},
        {180, 2, true, -30, 0},          {130, 0, false, 0, 0},
    };
    for (const Case& c : cases) {
        outer->setAngle(0);
        inner->setAngle(0);
        EXPECT_EQ(click(scene, c.x, 100, c.button), c.taken) << c.x;
        EXPECT_EQ(outer->getDestAngle(), c.outerTurn) << c.x;
        EXPECT_EQ(inner->getDestAngle(), c.innerTurn) << c.x;
    }

    // A ring that still turns lets the click through to the ring below.
    outer->setAngle(0);
    inner->setAngle(0);
    inner->setDestAngle(10);
    EXPECT_TRUE(click(scene, INNER_BAND.x, INNER_BAND.y));
    EXPECT_EQ(inner->getDestAngle(), 10);
    EXPECT_EQ(outer->getDestAngle(), -30);
}

TEST_F(Rotator, SolvedOnlyAtRestAfterTheScrambleOncePerVisitAndAgainAfterANewEntry) {
    ASSERT_FALSE(outer->getDestAngle() == 0 && inner->getDestAngle() == 0);
    scene->update(FRAME);
    EXPECT_FALSE(scene->isSolved());
    solve();
    run(scene, 0.5f);
    EXPECT_EQ(solved(), "1");

    // A full turn of a ring passes upright again: no second report in this visit.
    for (int i = 0; i < 12; ++i) {
        click(scene, OUTER_BAND.x, OUTER_BAND.y);
        run(scene, 0.2f);
    }
    EXPECT_EQ(solved(), "1");

    reenter(scene);
    EXPECT_FALSE(scene->isSolved());
    solve();
    run(scene, 0.5f);
    EXPECT_EQ(solved(), "2");
}

TEST_F(Rotator, RingsThatAllDrawNoStepsAreSolvedAtOnce) {
    for (unsigned seed = 1; outer->getDestAngle() != 0 || inner->getDestAngle() != 0; ++seed) {
        ASSERT_LT(seed, 10000u);
        vessot::srand(seed);
        reenter(scene);
    }
    scene->update(FRAME);
    EXPECT_TRUE(scene->isSolved());
    EXPECT_EQ(solved(), "1");
}

} // namespace
