// The jigsaw minigame: a release is a click or a drop by how far the pointer went, pieces snap near
// their place only upright, placed and turning pieces stay put, and the last snap solves the puzzle.
#include "MinigameFixture.h"

#include "minigames/JigsawScene.h"

namespace {

const char* const JIGSAW = R"(<Scene name="Game" type="Jigsaw" rotate_sound="beep" inplace_sound="beep"
        on_success="inc_var solved 1">
    <JigsawElement name="p" image="piece" x="100" y="100"/>
    <JigsawElement name="q" image="piece" x="200" y="100"/>
</Scene>)";

void expectNear(const morvec::Vector2& actual, const morvec::Vector2& expected) {
    EXPECT_NEAR(actual.x, expected.x, 0.001f);
    EXPECT_NEAR(actual.y, expected.y, 0.001f);
}

class Jigsaw : public MinigameFixture {
protected:
    // The second piece lies out of the way unless a test moves it.
    void SetUp() override {
        MinigameFixture::SetUp();
        scene = enter<JigsawScene>(JIGSAW);
        p = scene->getPieces()[0];
        q = scene->getPieces()[1];
        lay(q, 360, 0, 0);
    }

    // Puts the piece at rest at a position and angle.
    static void lay(JigsawElement* piece, float x, float y, float angle) {
        piece->setPosition(x, y);
        piece->setAngle(angle);
    }

    // Presses on the piece's middle, moves the pointer through the steps (relative to the press)
    // a frame each, and releases there.
    bool drag(JigsawElement* piece, const std::vector<morvec::Vector2>& steps, int button = 1) {
        morvec::Vector2 press = piece->getPosition() + morvec::Vector2(30, 25);
        sceneCursor = morvec::Vector2(press.x - cameraOffsetX, press.y);
        scene->onMouseDown(press.x, press.y, button);
        scene->update(FRAME);
        for (const morvec::Vector2& step : steps) {
            sceneCursor = morvec::Vector2(press.x + step.x - cameraOffsetX, press.y + step.y);
            scene->update(FRAME);
        }
        morvec::Vector2 end = sceneCursor + morvec::Vector2(cameraOffsetX, 0);
        return scene->onMouseUp(end.x, end.y, button);
    }

    JigsawScene* scene = nullptr;
    JigsawElement* p = nullptr;
    JigsawElement* q = nullptr;
};

TEST_F(Jigsaw, AReleaseIsAClickUnderTwoUnitsOfMovementAndADropFromTwoOn) {
    struct Case {
        std::vector<morvec::Vector2> steps;
        int button;
        float cameraOffset;
        float turn;
        morvec::Vector2 moved;
    };
    const Case cases[] = {
        {{}, 0, 0, 45, {0, 0}},
        {{}, 1, 0, -45, {0, 0}},
        {{{1.9f, 0}}, 2, 0, -45, {1.9f, 0}},
        {{{2, 0}, {0, 0}}, 0, 0, 0, {0, 0}},
        {{{40, -30}}, 1, 0, 0, {40, -30}},
        // The pointer is the scene point: the camera's offset is part of it.
        {{{15, 5}}, 1, 100, 0, {15, 5}},
    };
    for (const Case& c : cases) {
        cameraOffsetX = c.cameraOffset;
        lay(p, 300, 200, 0);
        echon::mgr->stopAll();
        EXPECT_TRUE(drag(p, c.steps, c.button));
        EXPECT_EQ(p->getDestAngle(), c.turn);
        expectNear(p->getPosition(), morvec::Vector2(300, 200) + c.moved);
        EXPECT_EQ(echon::mgr->isAnyPlaying("games.beep"), c.turn != 0);
        EXPECT_FALSE(p->isPlaced());
        EXPECT_EQ(scene->getHeldPiece(), nullptr);
    }
}

TEST_F(Jigsaw, APieceDroppedUprightNearerThanThirtyUnitsSnapsOntoItsPlace) {
    struct Case {
        morvec::Vector2 offset;
        float angle;
        bool snaps;
    };
    const Case cases[] = {
        {{29, 0}, 0, true},    {{30, 0}, 0, false},     {{0, 0}, 45, false},
        {{-20, -20}, 0, true}, {{0, 29.9f}, 360, true}, {{21.3f, 21.3f}, 0, false},
    };
    for (const Case& c : cases) {
        lay(p, 150, 150, c.angle);
        p->setPlaced(false);
        morvec::Vector2 drop = p->getPlace() + c.offset;
        drag(p, {drop - p->getPosition()});
        EXPECT_EQ(p->isPlaced(), c.snaps) << c.offset.x << "," << c.offset.y << " at " << c.angle;
        expectNear(p->getPosition(), c.snaps ? p->getPlace() : drop);
        EXPECT_EQ(scene->root->getChildren().front() == p, c.snaps);
    }
    EXPECT_EQ(solved(), "0");
}

TEST_F(Jigsaw, AClickThatTurnsAPieceUprightOnItsPlaceDoesNotSnapItTheNextDropDoes) {
    lay(p, 100, 100, -45);
    drag(p, {}, 0);
    run(scene, 0.5f);
    EXPECT_EQ(p->getAngle(), 0);
    EXPECT_FALSE(p->isPlaced());
    drag(p, {{5, 0}, {0, 0}});
    EXPECT_TRUE(p->isPlaced());
}

TEST_F(Jigsaw, PlacedAndTurningPiecesAreNotTakenAndAPressOnEmptySpaceHoldsNothing) {
    lay(p, 100, 100, 0);
    p->setPlaced(true);
    lay(q, 300, 200, 0);
    q->setDestAngle(45);
    struct Case {
        float x, y;
        JigsawElement* taken;
    };
    const Case cases[] = {{130, 125, nullptr}, {330, 225, nullptr}, {10, 300, nullptr}};
    for (const Case& c : cases) {
        EXPECT_TRUE(scene->onMouseDown(c.x, c.y, 1));
        EXPECT_EQ(scene->getHeldPiece(), c.taken);
        EXPECT_TRUE(scene->onMouseUp(c.x, c.y, 1));
    }
    EXPECT_EQ(p->getPosition(), morvec::Vector2(100, 100));
    EXPECT_EQ(q->getDestAngle(), 45);
    run(scene, 0.2f);
    scene->onMouseDown(330, 225, 1);
    EXPECT_EQ(scene->getHeldPiece(), q);
}

TEST_F(Jigsaw, TheLastSnapRunsTheSuccessCommandAndEntryScattersAgain) {
    for (JigsawElement* piece : {p, q}) {
        lay(piece, 250, 250, 0);
        drag(piece, {piece->getPlace() - piece->getPosition()});
    }
    EXPECT_EQ(solved(), "1");

    reenter(scene);
    for (JigsawElement* piece : {p, q}) {
        EXPECT_FALSE(piece->isPlaced());
        EXPECT_LE(piece->getX() + piece->getWidth(), 426);
        EXPECT_LE(piece->getY() + piece->getHeight(), 320);
        EXPECT_EQ(std::fmod(piece->getAngle(), 45.0f), 0);
    }
}

} // namespace
