// The character actor: facing, the frame shown while animating, walking and standing, speed and the
// position variable.
#include "CharacterFixture.h"
#include "script/Characters.h"
#include "script/ZephJobs.h"

#include <cmath>
#include <tuple>

namespace {

class CharacterTest : public CharacterFixture {};

// A direction at an angle clockwise from straight up the screen.
morvec::Vector2 heading(float degrees) {
    float radians = degrees * 3.14159265358979f / 180.0f;
    return {std::sin(radians), -std::cos(radians)};
}

TEST_F(CharacterTest, FacingIsTheAngleFromStraightUpInEighths) {
    const std::pair<float, const char*> table[] = {
        {0, "N"},    {22.4f, "N"}, {22.6f, "NE"}, {45, "NE"},     {90, "E"},     {135, "SE"}, {180, "S"},
        {225, "SW"}, {270, "W"},   {315, "NW"},   {337.4f, "NW"}, {337.6f, "N"}, {350, "N"},  {359.99f, "N"},
    };
    for (auto [degrees, facing] : table) {
        morvec::Vector2 d = heading(degrees);
        EXPECT_EQ(Character2D::facingFor(d.x, d.y, "S"), facing) << degrees;
    }
    EXPECT_EQ(Character2D::facingFor(0, 0, "SW"), "SW"); // no direction keeps the facing
    EXPECT_EQ(Character2D::facingFor(0, 1e-30f, "SW"), "S");

    // With depth, moving up the screen weighs more: 30 degrees is still north.
    room("", R"(zbase="200" zfactor="1")");
    morvec::Vector2 d = heading(30);
    EXPECT_EQ(Character2D::facingFor(d.x, d.y, "S"), "N");
    d = heading(60);
    EXPECT_EQ(Character2D::facingFor(d.x, d.y, "S"), "NE");
}

TEST_F(CharacterTest, AnimationProgressShowsItsFrameDrawnPerDirectionOrOnce) {
    EXPECT_EQ(shown(), "hero/Stand_S.01"); // the "chr" property's south stand frame
    hero->setOrientation("E");
    struct Case {
        const char* animation;
        float t;
        const char* image;
    };
    const Case cases[] = {
        {"Wave", 0.0f, "hero/Wave_E.01"}, {"Wave", 0.5f, "hero/Wave_E.05"}, {"Wave", 0.99f, "hero/Wave_E.08"},
        {"Wave", 1.0f, "hero/Wave_E.08"}, {"Jump", 0.25f, "hero/Jump.03"},  {"Jump", 1.0f, "hero/Jump.08"},
        {"Empty", 0.5f, "hero/Jump.08"}, // no frames: nothing changes
    };
    for (const Case& c : cases) {
        hero->getAnimationFrameName(c.animation, c.t);
        EXPECT_EQ(shown(), c.image) << c.animation << " at " << c.t;
    }
    hero->setOrientation("S");
    EXPECT_THROW(hero->getAnimationFrameName("Wave", 0.0f), nimboui::_ResourceNotExistsException);
    try {
        hero->getAnimation("Run");
        FAIL();
    } catch (const vessot::exception& e) {
        EXPECT_EQ(e.message(), "Character animation 'Run' not found in hero's animations");
    }
    EXPECT_EQ(hero->getAnimation("Wave").frames, 8);
}

TEST_F(CharacterTest, AWalkCycleNeverShowsItsLastFrameAndFollowsTheWalkVariable) {
    auto walkFrames = [&](float factor, int steps) {
        hero->clearJobs();
        hero->placeAt("S", 0, 300);
        hero->walkFrame = 1.0f;
        hero->walkAnimationFactor = factor;
        hero->addJob(new ZephJobs::SplineMove("", true, 1000, 300));
        std::string frames;
        for (int i = 0; i < steps; ++i) {
            hero->update(0.0625f); // half a frame a step at factor 1
            frames += shown().substr(shown().size() - 1);
        }
        return frames;
    };
    EXPECT_EQ(walkFrames(1.0f, 16), "1223344556677112");
    EXPECT_EQ(shown().substr(0, 12), "hero/Walk_E.");
    EXPECT_EQ(walkFrames(2.0f, 8), "23456712");

    define("hero_walk", "Wave");
    walkFrames(1.0f, 4);
    EXPECT_EQ(shown(), "hero/Wave_E.02");    // placed facing south, the walk turns it east again
    Vars::get("hero_walk")->value = "Empty"; // a walk without frames leaves the picture alone
    walkFrames(1.0f, 3);
    EXPECT_EQ(shown(), "hero/Stand_S.01");
    EXPECT_EQ(hero->walkFrame, 1.0f);
}

TEST_F(CharacterTest, StoppingShowsTheStandFrameExceptAfterTakingOrDrawing) {
    const std::pair<const char*, bool> table[] = {
        {"Take", false},     {"DrawGun", false}, {"Draw_Gun", false},
        {"Big_Shot", false}, {"TakeBack", true}, {"Wave", true},
    };
    hero->setOrientation("E");
    for (auto [animation, stands] : table) {
        hero->getAnimationFrameName("Wave", 0.3f);
        hero->OnStopAnimation(animation);
        EXPECT_EQ(shown(), stands ? "hero/Stand_E.01" : "hero/Wave_E.03") << animation;
    }
    define("hero_stand", "Crouch");
    hero->OnStopMovement();
    EXPECT_EQ(shown(), "hero/Crouch_E.01");
}

TEST_F(CharacterTest, AStandingCharacterTakesANewStandAnimationAtOnce) {
    for (const char* name : {"hero_stand", "old_pal_stand"}) {
        define(name, "Stand")->addListener(Characters::onStandVariableChanged);
    }
    hero->setOrientation("E");
    Vars::set("hero_stand", "Crouch");
    EXPECT_EQ(shown(), "hero/Crouch_E.01");
    Vars::set("hero_stand", "Stand");
    EXPECT_EQ(shown(), "hero/Stand_E.01");
    hero->getAnimationFrameName("Wave", 0.3f); // busy with something else: left alone
    Vars::set("hero_stand", "Crouch");
    EXPECT_EQ(shown(), "hero/Wave_E.03");
    Vars::set("old_pal_stand", "Crouch"); // names "old", all before the first "_": not old_pal
    EXPECT_EQ(dynamic_cast<nimboui::ImageBox*>(characters->getObject("old_pal"))->getImageName(), "old_pal/Stand_S.01");
}

TEST_F(CharacterTest, SpeedZeroRestoresTheDefault) {
    const std::pair<float, float> table[] = {{12, 12}, {0, 40}, {-5, -5}, {0, 40}};
    for (auto [set, speed] : table) {
        hero->setSpeed(set);
        EXPECT_EQ(hero->getSpeed(), speed) << set;
    }
}

TEST_F(CharacterTest, ThePositionVariableHoldsWholeUnitsAndTheFacing) {
    int calls = 0;
    static int* counter = &calls;
    Vars::get("hero_pos")->addListener([](Variable*, const String&, const String&) { ++*counter; });
    hero->placeAt("SW", 312.7f, 405.2f);
    hero->savePosition();
    EXPECT_EQ(Vars::value("hero_pos"), "312,405,SW");
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(log().find("$hero_pos"), std::string::npos); // no log line

    hero->setPositionFromString("");
    EXPECT_EQ(hero->getX(), 312.7f);
    Vars::get("hero_pos")->value = "20,30,N";
    hero->loadPosition();
    EXPECT_EQ(hero->getPosition(), morvec::Vector3(20, 30, 0));
    EXPECT_EQ(hero->getOrientation(), "N");
    EXPECT_EQ(shown(), "hero/Stand_N.01");
    try {
        hero->setPositionFromString("20,30");
        FAIL();
    } catch (const vessot::exception& e) {
        EXPECT_EQ(e.message(), "character 'hero': the position '20,30' needs x, y and a direction");
    }
    // Numbers as text converts them; only a saved position is checked (below).
    for (auto [text, x, y] : {std::tuple{"12abc,5,S", 12, 5}, {" 100,200,S", 100, 200}, {"100, 201,S", 100, 201}}) {
        hero->setPositionFromString(text);
        EXPECT_EQ(hero->getPosition(), morvec::Vector3(x, y, 0)) << text;
    }
    // A damaged save: no position is forgotten, a facing the character lacks reads as south.
    for (auto [saved, kept] : {std::pair{"20,abc,N", ""}, std::pair{"20,31,X", "20,31,S"}}) {
        Vars::get("hero_pos")->value = saved;
        hero->loadPosition();
        EXPECT_EQ(Vars::value("hero_pos"), kept);
    }
    EXPECT_EQ(hero->getPosition(), morvec::Vector3(20, 31, 0));
    EXPECT_EQ(shown(), "hero/Stand_S.01");
    EXPECT_NE(log().find("hero_pos ('20,31,X') names no facing of hero; it reads as '20,31,S'"), std::string::npos);
}

} // namespace
