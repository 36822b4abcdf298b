// The engine's scene objects made from scene files: hidden objects, walk maps, fading images, arrow
// markers, delayed commands and delayed actions.
#include "SceneObjectFixture.h"

#include "engine/objects/ActionArrowMarker.h"
#include "engine/objects/DelayedAction.h"
#include "engine/objects/DelayedCommand.h"
#include "engine/objects/FadingImage.h"
#include "engine/objects/HiddenObject.h"
#include "engine/objects/LBAMap.h"
#include "engine/objects/VideoObject.h"
#include "engine/view/Viewport.h"

#include "trailex/Map.h"

namespace {

class EngineObjects : public SceneObjectFixture {
protected:
    int queued(const String& command) {
        return (int)std::count(Session::commandQueue.begin(), Session::commandQueue.end(), command);
    }
};

} // namespace

TEST_F(EngineObjects, EachTypeIsMadeFromItsElement) {
    define("ho_coin", "1");
    define("fade", "0");
    write("chapters/test/walk/left.walk", "walkmap 1\narea\n0 0\n100 0\n100 100\n0 100\n");
    write("chapters/test/walk/right.walk", "walkmap 1\narea\n200 0\n300 0\n300 100\n200 100\n");
    room(R"(
        <Object type="HiddenObject" name="coin"/>
        <Object type="HiddenObject" name="__gem" item="ruby"/>
        <Object type="LBAMap" name="floor" filename="left.walk"><Property name="filename" value="right.walk"/></Object>
        <Object type="FadingImage" name="glow" var="fade"/>
        <Object type="ActionArrowMarker" name="arrow" color="00ff00" angle="90"/>
        <Object type="VideoObject" name="screen" video="missing"/>
        <Animator type="DelayedCommand" name="tick" time="1" cmd="log tick"/>
        <Animator type="DelayedAction" name="later" time="1"><Action type="Execute" cmd="log later"/></Animator>)");
    EXPECT_EQ(object<HiddenObject>("coin")->getItem(), "coin");
    EXPECT_EQ(object<HiddenObject>("__gem")->getItem(), "ruby");
    // A second file replaces the first map; both are found in the chapter's own "walk" folder.
    const lba::Map* floor = object<LBAMap>("floor")->getMap();
    ASSERT_NE(floor, nullptr);
    EXPECT_TRUE(floor->isPointIn(morvec::Vector2(250, 50)));
    EXPECT_FALSE(floor->isPointIn(morvec::Vector2(50, 50)));
    EXPECT_EQ(object<FadingImage>("glow")->getTypeName(), "FadingImage");
    EXPECT_EQ(object<ActionArrowMarker>("arrow")->getAngle(), 90.0f);
    EXPECT_EQ(object<nimbovideo::VideoObject>("screen")->getClip(), nullptr);
    EXPECT_EQ(object<Animators::DelayedCommand>("tick")->getTypeName(), "Animators::DelayedCommand");
    EXPECT_EQ(object<Animators::DelayedAction>("later")->getTypeName(), "Animators::DelayedAction");
    EXPECT_NE(
        log().find("[nimbovideo] ERROR: Unable to find video file: " + dir.path + "/chapters/test/video/missing.ogv"),
        std::string::npos);
}

TEST_F(EngineObjects, ElementsThatMakeNoObjectAreRefusedNamingTheFileAndElement) {
    struct Case {
        const char* xml;
        const char* message;
    } cases[] = {
        {R"(<Object type="DelayedCommand" name="d" time="1"/>)", "unknown object type 'DelayedCommand'"},
        {R"(<Object type="Gizmo" name="g"/>)", "unknown object type 'Gizmo'"},
        {R"(<Object type="ActionArrowMarker" name="m" color="green"/>)",
         "'color' of an arrow marker must be a hexadecimal area id, not 'green'"},
        {R"(<Object type="VideoObject" name="v" state="rewinding"/>)",
         "VideoObject: unable to set state property to 'rewinding'."},
    };
    for (const Case& c : cases) {
        try {
            room(c.xml);
            ADD_FAILURE() << c.xml;
        } catch (const vessot::exception& e) {
            EXPECT_NE(e.message().find("Room.scene:1: element 'Object': "), std::string::npos) << e.message();
            EXPECT_NE(e.message().find(c.message), std::string::npos) << e.message();
        }
        EXPECT_FALSE(test->isLoaded());
    }
    try {
        room("", {}, "type=\"Pinball\"");
        ADD_FAILURE() << "an unknown scene type";
    } catch (const vessot::exception& e) {
        EXPECT_EQ(e.message(), "Unknown scene type 'Pinball' in " + dir.path + "/chapters/test/scenes/Room.scene");
    }
}

TEST_F(EngineObjects, AHiddenObjectIsCollectedOnceWhileItsVariableHoldsANumber) {
    define("ho_coin", "1");
    define("items", "");
    Scene* scene = room(R"(<Object type="HiddenObject" name="coin" x="10" y="10" w="20" h="20" item="gold"/>
                           <Object type="HiddenObject" name="__gem" x="50" y="10" w="20" h="20"/>)");
    struct Case {
        const char* value; // of "ho_coin" before the click
        float x;
        bool consumed;
        const char* valueAfter;
        const char* items;
    } cases[] = {
        {"1", 5, false, "1", ""},     // beside it
        {"x", 20, true, "x", ""},     // text counts as collected already
        {"0", 20, true, "0", ""},     // collected already
        {"2", 60, true, "2", ""},     // "__" objects take the click and do nothing
        {"3", 20, true, "0", "gold"}, // collected
        {"0", 20, true, "0", "gold"}, // only once
    };
    for (const Case& c : cases) {
        Vars::set("ho_coin", c.value);
        Session::commandQueue.clear();
        EXPECT_EQ(scene->root->OnMouseUp(c.x, 20, 1), c.consumed) << c.value << " at " << c.x;
        EXPECT_EQ(Vars::value("ho_coin"), c.valueAfter) << c.value << " at " << c.x;
        EXPECT_EQ(Vars::value("items"), c.items) << c.value << " at " << c.x;
        EXPECT_EQ(queued("reset_scene"), String(c.valueAfter) != c.value ? 1 : 0) << c.value << " at " << c.x;
    }
}

TEST_F(EngineObjects, AFadingImageFadesInThroughItsVariableAndQueuesItsCommandOnce) {
    define("fade", "0.5");
    define("still", "0.25");
    Scene* scene = room(R"(<Object type="FadingImage" name="glow" x="0" y="0" w="426" h="320" image="pic" var="fade"
                                   fade_speed="0.25" fade_done_cmd="log faded"/>
                           <Object type="FadingImage" name="stuck" var="still" fade_speed="0"/>)",
                        {}, "image=\"null\"");
    struct Step {
        float dt;
        const char* fade;
        int queued;
    } steps[] = {{1.0f, "0.75", 0}, {0.5f, "0.875", 0}, {0.5f, "1", 1}, {1.0f, "1", 1}};
    for (const Step& s : steps) {
        scene->update(s.dt);
        EXPECT_EQ(Vars::value("fade"), s.fade);
        EXPECT_EQ(queued("log faded"), s.queued);
        EXPECT_EQ(Vars::value("still"), "0.25");
    }
    // Drawn at the variable's opacity; a value a little above 1 does not wrap round to transparent.
    struct Draw {
        const char* fade;
        int red;
    } draws[] = {{"0", 0}, {"0.5", 100}, {"1.004", 200}, {"1", 200}};
    for (const Draw& d : draws) {
        Vars::set("fade", d.fade);
        EXPECT_NEAR(drawnAt(200, 160).r, d.red, 3) << d.fade;
    }
}

TEST_F(EngineObjects, AnArrowMarkerShowsWhileThePointerIsOverItsArea) {
    Scene* scene = room(R"(<Object type="ActionArrowMarker" name="arrow" x="0" y="0" w="10" h="10" color="0x00FF00"/>)",
                        {{300, 0, 50, 50, 0x00FF00}, {0, 0, 50, 50, 0xFF0000}}, "width=\"852\"");
    auto* arrow = object<ActionArrowMarker>("arrow");
    // The scene point is the view point plus the wide scene's camera offset, then truncated.
    struct Case {
        float x, y, offset;
        bool target;
    } cases[] = {{310, 10, 0, true},       {10, 10, 300, true},        {10, 10, 0, false},
                 {349.9f, 49.9f, 0, true}, {-0.5f, 10, 300.4f, false}, {0.5f, 10, 299.6f, true},
                 {250, 10, 49.9f, false},  {200, 200, 0, false}};
    for (const Case& c : cases) {
        sceneCursor = morvec::Vector2(c.x, c.y);
        cameraOffsetX = c.offset;
        EXPECT_EQ(arrow->updateTarget(), c.target) << c.x << "," << c.y << " + " << c.offset;
    }
    sceneCursor = morvec::Vector2(310, 10);
    cameraOffsetX = 0;
    for (float expected : {0.5f, 1.0f, 1.0f}) {
        scene->update(0.1f);
        EXPECT_FLOAT_EQ(arrow->getVisibility(), expected);
    }
    sceneCursor = morvec::Vector2(200, 200);
    scene->update(0.1f);
    EXPECT_FLOAT_EQ(arrow->getVisibility(), 0.5f);
    Session::activeScene = nullptr; // no scene, no target
    EXPECT_FALSE(arrow->updateTarget());
    cameraOffsetX = 0;
}

TEST_F(EngineObjects, ADelayedCommandQueuesEveryTimeSecondsAndRestartsOnAnyEvent) {
    room(R"(<Animator type="DelayedCommand" name="hum" time="2" cmd="log hum" visible="0"/>
            <Animator type="DelayedCommand" name="mute" cmd="log mute"/>)");
    auto* hum = object<Animators::DelayedCommand>("hum");
    auto* mute = object<Animators::DelayedCommand>("mute");
    EXPECT_TRUE(hum->isVisible()); // the generic properties mean nothing to it
    struct Step {
        float dt;
        const char* event;
        int queued;
    } steps[] = {{1.5f, "", 0},    {0.5f, "", 0}, {0.25f, "", 1}, {1.75f, "", 1},
                 {0.5f, "Any", 1}, {1.5f, "", 1}, {0.25f, "", 2}};
    for (const Step& s : steps) {
        if (*s.event) {
            hum->notifyEvent(s.event, nullptr);
        }
        hum->update(s.dt);
        mute->update(s.dt);
        EXPECT_EQ(queued("log hum"), s.queued) << s.dt << s.event;
    }
    // Without "time" it never fires and says so once.
    EXPECT_EQ(queued("log mute"), 0);
    std::string text = log();
    size_t first = text.find("delayed command 'mute' has no 'time' and never runs");
    ASSERT_NE(first, std::string::npos);
    EXPECT_EQ(text.find("delayed command 'mute'", first + 1), std::string::npos);
}

TEST_F(EngineObjects, ADelayedActionFiresOnceAndIsReArmedByAttachingIt) {
    define("lever", "1");
    define("a", "0");
    define("b", "0");
    define("last", "");
    Scene* scene = room(R"(
        <Animator type="DelayedAction" name="later" time="1">
            <Action type="Execute" condition="$lever==1" cmd="inc_var a 1;set_var last a"/>
            <Action type="Execute" cmd="inc_var b 1;set_var last b"/>
            <Action type="Execute" condition="$lever==2" cmd="inc_var b 100"/>
        </Animator>
        <Animator type="DelayedAction" name="untimed"><Action type="Execute" cmd="inc_var b 1000"/></Animator>)");
    auto* later = object<Animators::DelayedAction>("later");
    struct Step {
        float dt;
        const char* event;
        const char* a;
        const char* b;
    } steps[] = {{0.5f, "", "0", "0"},
                 {0.5f, "", "1", "1"},
                 {5.0f, "", "1", "1"},
                 {5.0f, "Other", "1", "1"},
                 {0.5f, "AttachToObject", "1", "1"},
                 {0.5f, "", "2", "2"}};
    for (const Step& s : steps) {
        if (*s.event) {
            later->notifyEvent(s.event, scene);
        }
        scene->update(s.dt);
        EXPECT_EQ(Vars::value("a"), s.a) << s.dt << s.event;
        EXPECT_EQ(Vars::value("b"), s.b) << s.dt << s.event;
    }
    EXPECT_EQ(Vars::value("last"), "b"); // every action that holds, in document order
    scene->reset();                      // entering the scene again re-arms it too
    scene->update(1.0f);
    EXPECT_EQ(Vars::value("a"), "3");
    EXPECT_EQ(Vars::value("b"), "3");
}
