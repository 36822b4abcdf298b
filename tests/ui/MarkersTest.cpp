// What the HUD lays over the scene on the running game: the hotspot markers (grouped by rollover
// key, fading in one after another, arrows at the edges of a wide scene), the tutorials' arrows, the
// step sounds of a walk and the overlays that make the other characters clickable.
#include "UiTest.h"

#include "engine/scene/ActionMap.h"
#include "engine/session/Evaluator.h"
#include "engine/view/Input.h"
#include "engine/view/Viewport.h"
#include "script/Actions.h"
#include "script/Character2D.h"
#include "script/Character2DRef.h"
#include "script/Characters.h"
#include "ui/Hints.h"

#include "echon/AudioManager.h"
#include "vessot/System.h"

#include <cmath>
#include <memory>

namespace {

struct Hotspot {
    const char* key;
    morvec::Vector2 point;
};

struct Expected {
    const char* image;
    morvec::Vector2 centre;
};

class MarkersTest : public RunningGame {
protected:
    // A scene of the ship whose hotspots stand at the given points (as overlays of an empty map),
    // ids from 1 in the given order.
    void enterScene(const std::vector<Hotspot>& hotspots) {
        Chapter* ship = Session::getChapter("ship");
        auto* scene = new Scene(ship, "Markers");
        scene->ensureRoot();
        ship->registerScene("Markers", scene);
        switchNow("Markers");
        map = std::make_unique<ActionMap>("dummy");
        scene->actionMap = map.get();
        uint32_t id = 1;
        for (const Hotspot& h : hotspots) {
            map->addOverlay(new AmpRectangleOverlay(id, h.point.x - 1, h.point.y - 1, 2, 2));
            actions.emplace_back(new Actions::DebugPrint("x"));
            actions.back()->setRolloverKey(h.key);
            scene->actions[id++] = actions.back().get();
        }
    }
    void TearDown() override {
        Session::params["ui"] = "pc";
        if (map) {
            Session::activeScene->actionMap = nullptr;
            Session::activeScene->actions.clear();
        }
        RunningGame::TearDown();
    }

    static void expectMarkers(const std::vector<Expected>& expected) {
        std::vector<Hud::Sprite> markers = Hud::hotspotMarkers();
        ASSERT_EQ(markers.size(), expected.size());
        for (size_t i = 0; i < markers.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(markers[i].image->getName(), expected[i].image);
            EXPECT_NEAR(markers[i].rect.x + markers[i].rect.w / 2, expected[i].centre.x, 1e-3f);
            EXPECT_NEAR(markers[i].rect.y + markers[i].rect.h / 2, expected[i].centre.y, 1e-3f);
        }
    }

    std::unique_ptr<ActionMap> map;
    std::vector<std::unique_ptr<Action>> actions;
};

TEST_F(MarkersTest, EveryHotspotIsMarkedOncePerRolloverKey) {
    enterScene({{"RO_PIPE", {100, 100}},
                {"RO_PIPE", {120, 140}},
                {"RO_EXIT|l", {200, 50}},
                {"RO_ANY|x", {300, 50}},
                {"", {50, 200}},
                {"", {60, 200}},
                {"", {70, 200}},
                {"RO_NOWHERE", {0, 0}}});
    Hints::marker = {{}, nullptr, 0.9f};
    // In key order; two areas of one key meet at the average of their points.
    expectMarkers({{"gui/transparent_selector", {300, 50}},
                   {"gui/arrow_l", {200, 50}},
                   {"gui/transparent_selector", {110, 120}},
                   {"gui/transparent_selector", {50, 200}},
                   {"gui/transparent_selector", {60, 200}},
                   {"gui/transparent_selector", {70, 200}}});
    EXPECT_EQ(Hud::hotspotMarkers()[0].rect.w, 28.0f);
    EXPECT_FLOAT_EQ(Hud::hotspotMarkers()[0].alpha, 0.9f);

    Hints::marker.time = 0.0f;
    EXPECT_TRUE(Hud::hotspotMarkers().empty());
}

// Keys that name the click's verb are marked with that verb's picture, none missing.
TEST_F(MarkersTest, VerbKeysAreMarkedWithTheirVerbsPicture) {
    enterScene({{"RO_BOX|look", {100, 100}}, {"RO_BOX|talk", {200, 100}}, {"RO_BOX|use", {300, 100}}});
    Hints::marker = {{}, nullptr, 0.9f};
    expectMarkers({{"gui/arrow_look", {100, 100}}, {"gui/arrow_talk", {200, 100}}, {"gui/arrow_use", {300, 100}}});
    EXPECT_EQ(game->log().find("not found"), std::string::npos);
}

TEST_F(MarkersTest, ThirtyUnnamedHotspotsKeepTheirOrderAndNoneTurnsIntoAnArrow) {
    std::vector<Hotspot> hotspots;
    std::vector<Expected> expected;
    for (int i = 0; i < 30; ++i) {
        hotspots.push_back({"", {10.0f + 10 * i, 100}});
        expected.push_back({"gui/transparent_selector", {10.0f + 10 * i, 100}});
    }
    enterScene(hotspots);
    Hints::marker = {{}, nullptr, 2.0f};
    expectMarkers(expected);
    // No key asked for an arrow picture.
    EXPECT_EQ(game->log().find("image 'gui/arrow_"), std::string::npos);
}

TEST_F(MarkersTest, MarkersFadeInOneAfterAnotherWithASwell) {
    enterScene({{"A", {100, 100}}, {"B", {200, 100}}, {"C", {300, 100}}, {"D", {350, 100}}});
    const float pi = 3.14159265f;
    const struct {
        float time;
        // Each marker's fade-in (before the last second's fade-out).
        std::vector<float> in;
    } cases[] = {
        {5.0f, {0, 0, 0, 0}}, {4.9f, {0.4f, 0.25f, 0.1f, 0}}, {4.75f, {1, 0.85f, 0.7f, 0.55f}}, {0.5f, {1, 1, 1, 1}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.time);
        Hints::marker = {{}, nullptr, c.time};
        std::vector<Hud::Sprite> markers = Hud::hotspotMarkers();
        ASSERT_EQ(markers.size(), 4u);
        for (size_t i = 0; i < 4; ++i) {
            EXPECT_NEAR(markers[i].alpha, c.in[i] * std::min(c.time, 1.0f), 1e-4f) << i;
            EXPECT_NEAR(markers[i].rect.h, 2 * (14 + 5 * std::sin(pi * c.in[i])), 1e-3f) << i;
        }
    }
}

TEST_F(MarkersTest, AHintOutsideAWideScenesViewPointsFromItsEdge) {
    switchNow("Corridor");
    cameraOffsetX = 300;
    nimboui::Image* hint = uiChapter->getImage("gui/arrow_d");
    struct Case {
        const char* layout;
        float x;
        const char* image;
        float left;
    };
    const Case cases[] = {
        {"pc", 400, "gui/arrow_d", 386},     {"pc", 100, "gui/arrow_l", 300},        {"pc", 800, "gui/arrow_r", 700},
        {"mobile", 800, "gui/arrow_r", 680}, {"mobile", 400, "gui/arrow_d", 376.2f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.layout << " " << c.x);
        Session::params["ui"] = c.layout;
        Hints::marker = {{c.x, 150}, hint, 3.0f};
        std::vector<Hud::Sprite> markers = Hud::hotspotMarkers();
        ASSERT_EQ(markers.size(), 1u);
        EXPECT_EQ(markers[0].image->getName(), c.image);
        EXPECT_NEAR(markers[0].rect.x, c.left, 1e-3f);
        // Mobile markers are 1.7 times as large.
        EXPECT_NEAR(markers[0].rect.h, c.layout == vessot::String("pc") ? 28 : 47.6f, 1e-3f);
    }
}

TEST_F(MarkersTest, TutorialArrowsPointWhereTheirConditionsHold) {
    struct Case {
        const char* value;
        // The arrows: their middle at k = 1 and their turn; the side decides the projection.
        std::vector<std::pair<morvec::Vector2, float>> arrows;
        std::vector<const char*> sides;
    };
    const Case cases[] = {
        {"398,270,-90,$smart_hint_button_visible == 0,right", {{{398, 260}, -180}}, {"right"}},
        {"398,270,-90,$smart_hint_button_visible == 1,right", {}, {}},
        {"398,270,-90,1 == 1,right ; 10,20,0,1 == 1", {{{398, 260}, -180}, {{3, 20}, -90}}, {"right", "scene"}},
        {"10,20,90,1 == 1,left,extra", {{{10, 30}, 0}}, {"scene"}},
        {"10,20,90,1 == 1,up", {{{10, 30}, 0}}, {"up"}},
        {"ten,20,x,1 == 1", {{{-7, 20}, -90}}, {"scene"}},
        // Too few fields are skipped; empty fields read 0, and an empty condition holds.
        {"10,20,90 ;  ; ,,, ; 10", {{{-7, 0}, -90}}, {"scene"}},
        {"", {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        std::vector<Hud::TutorialArrow> arrows = Hud::parseTutorialArrows(c.value);
        ASSERT_EQ(arrows.size(), c.arrows.size());
        for (size_t i = 0; i < arrows.size(); ++i) {
            EXPECT_EQ(arrows[i].side, c.sides[i]);
            Hud::Sprite sprite = Hud::tutorialArrowSprite(arrows[i], 1.0f);
            EXPECT_NEAR(sprite.rect.x + 7, c.arrows[i].first.x, 1e-3f);
            EXPECT_NEAR(sprite.rect.y + 14, c.arrows[i].first.y, 1e-3f);
            EXPECT_FLOAT_EQ(sprite.angle, c.arrows[i].second);
            EXPECT_EQ(sprite.rect.w, 14.0f);
            EXPECT_EQ(sprite.rect.h, 28.0f);
        }
    }
    // The pulse carries the arrow between 10 and 20 units from its point.
    Hud::TutorialArrow arrow = Hud::parseTutorialArrows("398,270,-90,1 == 1,right")[0];
    EXPECT_NEAR(Hud::tutorialArrowSprite(arrow, 2.0f).rect.y + 14, 250, 1e-3f);
    // Only the evaluator's refusal of a condition leaves.
    EXPECT_THROW(Hud::parseTutorialArrows("1,2,3,(1 == 1"), _ScriptException);
}

class FootstepsTest : public RunningGame {
protected:
    void SetUp() override {
        RunningGame::SetUp();
        echon::mgr->suspendAudio();
        echon::mgr->stopAll();
        walker = standCharacter(100, 280);
        walker->setSpeed(50);
        Hud::footstepDistance = 0;
    }
    void TearDown() override {
        echon::mgr->resumeAudio();
        RunningGame::TearDown();
    }

    static int stepsPlaying() {
        int playing = 0;
        for (int n = 1; n <= 6; ++n) {
            playing += echon::mgr->isAnyPlaying("ui.step_" + vessot::String(n)) ? 1 : 0;
        }
        return playing;
    }

    Character2D* walker = nullptr;
};

TEST_F(FootstepsTest, AStepSoundsEveryFortyUnitsWalked) {
    walker->addJob(new TestJob("Move"));
    vessot::srand(7);
    int expected = vessot::rand() % 6 + 1;
    vessot::srand(7);
    // 50 units a second: eight tenths of a second make 40 units, the step sounds after them.
    for (int i = 0; i < 8; ++i) {
        Hud::playFootsteps(0.1f);
    }
    EXPECT_FLOAT_EQ(Hud::footstepDistance, 40.0f);
    EXPECT_EQ(stepsPlaying(), 0);
    Hud::playFootsteps(0.1f);
    EXPECT_FLOAT_EQ(Hud::footstepDistance, 5.0f);
    EXPECT_TRUE(echon::mgr->isAnyPlaying("ui.step_" + vessot::String(expected)));
    // At most one step a sub-step.
    Hud::playFootsteps(2.0f);
    EXPECT_FLOAT_EQ(Hud::footstepDistance, 65.0f);
}

TEST_F(FootstepsTest, NoStepsWhenSwitchedOffOrStandingStill) {
    struct Case {
        const char* name;
        const char* setting;
        const char* job;
    };
    const Case cases[] = {
        {"switched off", "0", "Move"}, {"no setting", "", "Move"}, {"talking", "1", "Say"}, {"standing", "1", nullptr}};
    Hud::footstepDistance = 30;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Session::params["footstep_sounds"] = c.setting;
        walker->clearJobs();
        if (c.job) {
            walker->addJob(new TestJob(c.job));
        }
        Hud::playFootsteps(1.0f);
        EXPECT_EQ(Hud::footstepDistance, 30.0f); // kept for the next walk
        EXPECT_EQ(stepsPlaying(), 0);
    }
    Session::params["footstep_sounds"] = "1";
}

class OverlaysTest : public RunningGame {
protected:
    void SetUp() override {
        RunningGame::SetUp();
        // Luna waits in the corridor.
        Vars::get("luna_scene")->setValue("ship.Corridor", true);
        switchNow("Corridor");
        // A stand-in reference named after a figure the scene draws itself: found as "dummy", it takes no
        // clicks.
        auto* she = new Character2DRef("she", morvec::Rectangle(0, 0, 1, 1));
        she->setProperty("chr", "dummy");
        Session::activeScene->chapter->registerManualObject(she);
        Session::activeScene->root->addChild(she);
        dynamic_cast<Character2D*>(charactersChapter->getObject("dummy"))->placeAt("S", 100, 250);
    }

    struct Box {
        uint32_t id;
        morvec::Rectangle rect;
    };

    // The overlay of a figure standing at (x, y), h units high as drawn.
    static Box figure(uint32_t id, float x, float y, float h) {
        h *= 0.85f;
        return {id, {x - 0.2f * h, y - h, 0.4f * h, h}};
    }

    // A character's drawing height in the corridor: its own 72 units less the depth at its feet.
    static float drawn(const char* name) { return 72 - (63.6f - 0.2f * position(name).y); }

    static morvec::Vector2 position(const char* name) {
        nimboui::Object* character = charactersChapter->getObject(name);
        return {character->getX(), character->getY()};
    }

    static void expectOverlays(const std::vector<Box>& expected) {
        const std::vector<AmpOverlay*>& overlays = Session::activeScene->actionMap->overlays;
        ASSERT_EQ(overlays.size(), expected.size());
        for (size_t i = 0; i < overlays.size(); ++i) {
            auto* box = dynamic_cast<AmpRectangleOverlay*>(overlays[i]);
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->id, expected[i].id);
            EXPECT_NEAR(box->x, expected[i].rect.x, 1e-3f);
            EXPECT_NEAR(box->y, expected[i].rect.y, 1e-3f);
            EXPECT_NEAR(box->w, expected[i].rect.w, 1e-3f);
            EXPECT_NEAR(box->h, expected[i].rect.h, 1e-3f);
        }
    }
};

TEST_F(OverlaysTest, TheOtherPlayableFiguresAreClickable) {
    const uint32_t VORNE = 0xB007EE, LUNA = 0xD0AB1E;
    EXPECT_EQ(Characters::findCharacterRef("she"), nullptr);
    EXPECT_EQ(Characters::findCharacterRef("dummy")->getName(), "she");
    struct Case {
        const char* switchable;
        const char* current;
        std::vector<uint32_t> clickable;
    };
    const Case cases[] = {
        {"vorne,luna", "vorne", {LUNA}},
        {"vorne", "vorne", {}},
        {"vorne,luna", "luna", {VORNE}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.switchable << ", playing " << c.current);
        Vars::get("switchable_characters")->setValue(c.switchable, true);
        Vars::get("current_character")->setValue(c.current, true);
        game->step();
        std::vector<Box> expected;
        for (uint32_t id : c.clickable) {
            const char* name = id == VORNE ? "vorne" : "luna";
            expected.push_back(figure(id, position(name).x, position(name).y, drawn(name)));
        }
        expectOverlays(expected);
    }
    // An own height counts less the depth too.
    Vars::get("current_character")->setValue("vorne", true);
    Characters::findCharacterRef("luna")->setProperty("height", "100");
    game->step();
    float depth = 63.6f - 0.2f * position("luna").y;
    expectOverlays({figure(LUNA, position("luna").x, position("luna").y, 100 - depth)});
}

TEST_F(OverlaysTest, AFigureIsHitBeforeTheAreasBehindIt) {
    Vars::get("switchable_characters")->setValue("vorne,luna", true);
    const morvec::Vector2 valve(635, 80);
    EXPECT_EQ(Session::activeScene->actionMap->getAreaAt((int)valve.x, (int)valve.y), 0xFF00FFu);
    // Luna stands in front of the pipe's valve.
    dynamic_cast<Character2D*>(charactersChapter->getObject("luna"))->placeAt("W", 635, 120);
    game->step();
    EXPECT_EQ(Session::activeScene->actionMap->getAreaAt((int)valve.x, (int)valve.y), 0xD0AB1Eu);
    EXPECT_EQ(Session::activeScene->getActionAt(valve.x, valve.y)->getRolloverKey(), "RO_LUNA");
}

} // namespace
