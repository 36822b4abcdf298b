// The match2 minigame: the grid's tiles and their images, selecting and swapping neighbours with the
// grow-and-slide animation, clicks ignored while tiles move, and the solution checked every 2 seconds.
#include "MinigameFixture.h"

#include "minigames/Match2Scene.h"

#include "nimboui/Image.h"

namespace {

// Three columns and two rows of 40 x 30 tiles, a unit apart, from a corner at (10.5, 20).
const char* const GRID = R"(<Scene name="Game" type="Match2" x="10.5" y="20" w="3" h="2" image_base="grid"
        on_success="inc_var solved 1"/>)";

class Match2 : public MinigameFixture {
protected:
    void SetUp() override {
        MinigameFixture::SetUp();
        scene = enter<Match2Scene>(GRID);
    }

    Match2Element* tile(int index) { return scene->getTiles()[index]; }

    void placeAllHome() {
        for (Match2Element* t : scene->getTiles()) {
            t->place(t->getHome().x, t->getHome().y);
            t->shade = Match2Element::PLAIN;
        }
    }

    bool clickTile(int index) { return click(scene, tile(index)->getX() + 20, tile(index)->getY() + 15); }

    std::vector<float> shades() {
        std::vector<float> result;
        for (Match2Element* t : scene->getTiles()) {
            result.push_back(t->shade);
        }
        return result;
    }

    Match2Scene* scene = nullptr;
};

TEST_F(Match2, EachCellHasATileNamedAfterItsRowAndColumnAtItsHome) {
    struct Case {
        const char* name;
        const char* image;
        float x, y;
    };
    const Case cases[] = {
        {"match2_grid_00", "grid_00", 10, 20}, {"match2_grid_01", "grid_01", 51, 20},
        {"match2_grid_02", "grid_02", 92, 20}, {"match2_grid_10", "grid_10", 10, 51},
        {"match2_grid_11", "grid_11", 51, 51}, {"match2_grid_12", "grid_12", 92, 51},
    };
    ASSERT_EQ(scene->getTiles().size(), 6u);
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(tile((int)i)->getName(), cases[i].name);
        EXPECT_EQ(tile((int)i)->getImage()->getName(), cases[i].image);
        EXPECT_EQ(tile((int)i)->getHome(), morvec::Vector2(cases[i].x, cases[i].y));
        EXPECT_EQ(games->getObject(cases[i].name), tile((int)i));
    }
}

TEST_F(Match2, SelectingLightsTheNeighboursAndAnyOtherClickClears) {
    const float S = Match2Element::SELECTED, C = Match2Element::CANDIDATE;
    struct Case {
        std::vector<int> clicks;
        std::vector<float> shades;
    };
    const Case cases[] = {
        {{0}, {S, C, 0, C, 0, 0}},    {{4}, {0, C, 0, C, S, C}},    {{2}, {0, C, S, 0, 0, C}},
        {{0, 5}, {0, 0, 0, 0, 0, 0}}, {{0, 0}, {0, 0, 0, 0, 0, 0}}, {{0, 5, 5}, {0, 0, C, 0, C, S}},
    };
    for (const Case& c : cases) {
        placeAllHome();
        for (int index : c.clicks) {
            EXPECT_TRUE(clickTile(index));
        }
        EXPECT_EQ(shades(), c.shades);
    }
}

TEST_F(Match2, ASwapGrowsSlidesAndSettlesAndClicksWaitMeanwhile) {
    placeAllHome();
    morvec::Vector2 first = tile(0)->getPosition();
    morvec::Vector2 second = tile(1)->getPosition();
    clickTile(0);
    clickTile(1);
    EXPECT_EQ(shades(), std::vector<float>(6, 0.0f));
    EXPECT_EQ(tile(0)->target, second);
    EXPECT_EQ(tile(0)->targetScale, 1.1f);
    EXPECT_EQ(tile(1)->target, first);
    EXPECT_EQ(tile(1)->targetScale, 0.9f);
    EXPECT_EQ(scene->root->getChildren().back(), tile(0));

    // First the scale changes in place.
    scene->update(FRAME);
    EXPECT_GT(tile(0)->scale, 1.0f);
    EXPECT_LT(tile(1)->scale, 1.0f);
    EXPECT_EQ(tile(0)->getPosition(), first);
    EXPECT_TRUE(clickTile(4));
    EXPECT_EQ(shades(), std::vector<float>(6, 0.0f));

    run(scene, 1.0f);
    EXPECT_EQ(tile(0)->getPosition(), second);
    EXPECT_EQ(tile(1)->getPosition(), first);
    EXPECT_EQ(tile(0)->scale, 1.0f);
    EXPECT_EQ(tile(1)->scale, 1.0f);
    EXPECT_FALSE(tile(0)->isMoving());
}

TEST_F(Match2, TheDealtGridIsSolvedByTheCheckEveryTwoSecondsOncePerVisit) {
    EXPECT_FALSE(
        std::all_of(scene->getTiles().begin(), scene->getTiles().end(), [](Match2Element* t) { return t->isHome(); }));
    run(scene, 1.0f);
    placeAllHome();
    run(scene, 0.9f);
    EXPECT_EQ(solved(), "0");
    run(scene, 0.2f);
    EXPECT_EQ(solved(), "1");
    run(scene, 5.0f);
    EXPECT_EQ(solved(), "1");

    reenter(scene);
    placeAllHome();
    run(scene, 2.1f);
    EXPECT_EQ(solved(), "2");
}

} // namespace
