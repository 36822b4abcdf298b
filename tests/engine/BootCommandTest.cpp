#include "engine/scene/BootCommand.h"
#include "ChapterFixture.h"
#include "script/Action.h"

#include "nimboui/ImageBox.h"

#include <functional>

namespace {

class BootCommandTest : public ChapterFixture {
protected:
    // The chapter "test" with one scene "Room" made of the boot elements, and its hotspot map.
    Scene* room(const std::string& bootElements, const std::vector<std::string>& images = {"Room"}) {
        definition("test", images);
        scene("test", "Room.scene", "<Scene name=\"Room\">" + bootElements + "</Scene>");
        map("test", "Room", {{0, 0, 100, 100, 0x00FF00}, {100, 0, 100, 100, 0xFF0000}});
        sound("test", "theme");
        Chapter* test = chapter("test");
        test->load();
        Session::activeScene = test->getScene("Room");
        return Session::activeScene;
    }

    // Activates the scene afresh.
    static void enter(Scene* scene) {
        scene->deactivate(false);
        scene->activate();
    }
};

// The clauses are compound on purpose: "else" must negate the whole clause, whatever binds inside.
const char* const NESTED = R"xml(
    <Execute cmd="inc_var hit0 1"/>
    <Execute cmd="inc_var hit1 1" condition="$a==1 or $b==1"/>
    <if t="$a==1 or $b==1">
        <Execute cmd="inc_var hit2 1"/>
        <Execute cmd="inc_var hit3 1" condition="$d==1"/>
        <if t="$c==1">
            <Execute cmd="inc_var hit4 1"/>
            <else><Execute cmd="inc_var hit5 1"/></else>
        </if>
        <if t="$d==0 or ($c==1)">
            <else><Execute cmd="inc_var hit6 1"/></else>
        </if>
        <else>
            <Execute cmd="inc_var hit7 1"/>
            <Execute cmd="inc_var hit8 1" condition="$c==1 or $d==1"/>
        </else>
    </if>
    <if f="$d==1 and $a==0">
        <Execute cmd="inc_var hit9 1"/>
        <else><Execute cmd="inc_var hit10 1"/></else>
        <if f="$b==1">
            <else><Execute cmd="inc_var hit11 1"/></else>
            <if t="$c==0 or $a==1">
                <else><Execute cmd="inc_var hit12 1"/></else>
            </if>
        </if>
    </if>
    <if t="$c==1" condition="$a==1">
        <Execute cmd="inc_var hit13 1"/>
    </if>
    <if t="$b==1 or ($a==1 and $c==0)">
        <else><Execute cmd="inc_var hit14 1"/></else>
    </if>
)xml";

using Truth = std::function<bool(bool a, bool b, bool c, bool d)>;

} // namespace

TEST_F(BootCommandTest, IfAndElseComposeConditionsAsTruthTables) {
    const Truth expected[] = {
        [](bool, bool, bool, bool) { return true; },
        [](bool a, bool b, bool, bool) { return a || b; },
        [](bool a, bool b, bool, bool) { return a || b; },
        [](bool a, bool b, bool, bool d) { return (a || b) && d; },
        [](bool a, bool b, bool c, bool) { return (a || b) && c; },
        [](bool a, bool b, bool c, bool) { return (a || b) && !c; },
        [](bool a, bool b, bool c, bool d) { return (a || b) && !(!d || c); },
        [](bool a, bool b, bool, bool) { return !(a || b); },
        [](bool a, bool b, bool c, bool d) { return !(a || b) && (c || d); },
        [](bool a, bool, bool, bool d) { return !(d && !a); },
        [](bool a, bool, bool, bool d) { return d && !a; },
        [](bool a, bool b, bool, bool d) { return !(d && !a) && b; },
        [](bool a, bool b, bool c, bool d) { return !(d && !a) && !b && !(!c || a); },
        [](bool, bool, bool c, bool) { return c; },
        [](bool a, bool b, bool c, bool) { return !(b || (a && !c)); },
    };
    const int commands = (int)std::size(expected);
    for (const char* name : {"a", "b", "c", "d"}) {
        define(name, "0");
    }
    for (int i = 0; i < commands; ++i) {
        define("hit" + std::to_string(i), "0");
    }
    Scene* scene = room(NESTED);
    ASSERT_EQ((int)scene->bootCommands.size(), commands);
    for (int bits = 0; bits < 16; ++bits) {
        bool a = bits & 1, b = bits & 2, c = bits & 4, d = bits & 8;
        Vars::set("a", a ? "1" : "0");
        Vars::set("b", b ? "1" : "0");
        Vars::set("c", c ? "1" : "0");
        Vars::set("d", d ? "1" : "0");
        for (int i = 0; i < commands; ++i) {
            Vars::set("hit" + std::to_string(i), "0");
        }
        enter(scene);
        for (int i = 0; i < commands; ++i) {
            bool want = expected[i](a, b, c, d);
            EXPECT_EQ(Session::checkCondition(scene->bootCommands[i]->condition), want)
                << "command " << i << " a=" << a << " b=" << b << " c=" << c << " d=" << d << ": "
                << scene->bootCommands[i]->condition;
            EXPECT_EQ(Vars::value("hit" + std::to_string(i)), want ? "1" : "0") << "command " << i;
        }
    }
}

TEST_F(BootCommandTest, ActionElementsBindRunOrRegister) {
    define("on", "1");
    define("off", "0");
    define("runs", "0");
    define("named_runs", "0");
    Scene* scene = room(R"(
        <Action color="00FF00" type="Execute" cmd="log a" rollover="FIRST"/>
        <Action color="00ff00" type="Execute" cmd="log b" rollover="SECOND" condition="$on==1"/>
        <Action color="0xFF0000" type="Execute" cmd="log c" rollover="RED" condition="$off==1"/>
        <Action type="Execute" cmd="inc_var runs 1"/>
        <Action name="later" type="Execute" cmd="inc_var named_runs 1" color="FF0000"/>
    )");
    // The later binding of one colour wins; a binding whose condition fails is not made.
    enter(scene);
    EXPECT_EQ(scene->getActionAt(50, 50)->getRolloverKey(), "SECOND");
    EXPECT_EQ(scene->getActionAt(150, 50), nullptr);
    Vars::set("on", "0");
    Vars::set("off", "1");
    enter(scene);
    EXPECT_EQ(scene->getActionAt(50, 50)->getRolloverKey(), "FIRST");
    EXPECT_EQ(scene->getActionAt(150, 50)->getRolloverKey(), "RED");
    EXPECT_EQ(scene->getActionAt(250, 50), nullptr);
    // An action without colour or name runs at each activation; a named one never does.
    EXPECT_EQ(Vars::value("runs"), "2");
    EXPECT_EQ(Vars::value("named_runs"), "0");
    EXPECT_EQ(scene->chapter->getNamedAction("later")->getTypeName(), "Execute");
    EXPECT_EQ(scene->bootCommands.size(), 4u);
}

TEST_F(BootCommandTest, AudioIsQueuedUnderTheChapterName) {
    define("music", "1");
    Scene* scene = room(R"(
        <if t="$music==1">
            <Audio source="theme"/>
            <else>
                <Audio source="DONT_CHANGE" condition="$music==0"/>
                <Audio source="ship.engine" condition="$music==2"/>
            </else>
        </if>)");
    scene->activate();
    EXPECT_TRUE(musicQueue.getSoundQueue().empty());
    EXPECT_TRUE(echon::mgr->isAnyPlaying("test.theme"));
    EXPECT_NE(log().find("[zeph] parallel sound manager: adding theme\n"), std::string::npos);

    // "DONT_CHANGE" alone keeps the music that plays and leaves the queue empty.
    Vars::set("music", "0");
    enter(scene);
    EXPECT_TRUE(musicQueue.getSoundQueue().empty());
    EXPECT_TRUE(echon::mgr->isAnyPlaying("test.theme"));

    // Any other source is prefixed with the chapter's name, dotted or not.
    scene->bootCommands[2]->execute(scene);
    EXPECT_EQ(musicQueue.getSoundQueue(), vessot::Array<String>({"test.ship.engine"}));
}

TEST_F(BootCommandTest, HiddenObjectsAttachWhileTheirVariableHolds) {
    define("ho_coin", "1");
    define("ho_ring", "1");
    define("shelf", "1");
    Scene* scene = room(R"(
        <Object type="HiddenObject" name="coin" x="1" y="1" w="4" h="4" item="gold"/>
        <Object type="HiddenObject" name="__always" x="1" y="1" w="4" h="4"/>
        <Object type="HiddenObject" name="ring" condition="$shelf==1"/>
        <Object type="ImageBox" name="plain" condition="$shelf==1"/>)");
    EXPECT_EQ(scene->bootCommands[0]->condition, "$ho_coin");
    EXPECT_EQ(scene->bootCommands[1]->condition, "");
    EXPECT_EQ(scene->bootCommands[2]->condition, "(() and ($shelf==1)) and ($ho_ring)");
    EXPECT_EQ(scene->bootCommands[3]->condition, "() and ($shelf==1)");
    auto attached = [&](const char* name) {
        const auto& children = scene->root->getChildren();
        return std::find(children.begin(), children.end(), scene->chapter->getObject(name)) != children.end();
    };
    struct Case {
        const char *coin, *ring, *shelf;
        bool coinShown, ringShown, plainShown;
    } cases[] = {
        {"1", "1", "1", true, true, true},
        {"0", "1", "1", false, true, true},
        {"2", "0", "1", true, false, true},
        {"1", "1", "0", true, false, false},
    };
    for (const Case& c : cases) {
        Vars::set("ho_coin", c.coin);
        Vars::set("ho_ring", c.ring);
        Vars::set("shelf", c.shelf);
        enter(scene);
        EXPECT_EQ(attached("coin"), c.coinShown) << c.coin << c.ring << c.shelf;
        EXPECT_TRUE(attached("__always"));
        EXPECT_EQ(attached("ring"), c.ringShown) << c.coin << c.ring << c.shelf;
        EXPECT_EQ(attached("plain"), c.plainShown) << c.coin << c.ring << c.shelf;
    }
}

TEST_F(BootCommandTest, ImageNamedByAVariableIsResolvedOnEachActivation) {
    define("poster", "");
    definition("test", {"Room"});
    // Two images of the 8 x 4 texture of different sizes; the empty variable shows the placeholder.
    write("chapters/test/test_hd.datadef", R"(<Dataset><Texture name="bg" file="bg.png"/>
        <Image name="Room" texture="bg"/>
        <Image name="wide" texture="bg" x="0" y="0" w="8" h="2"/>
        <Image name="tall" texture="bg" x="0" y="0" w="2" h="4"/></Dataset>)");
    scene("test", "Room.scene", R"(<Scene name="Room">
        <Object type="ImageBox" name="frame" x="3" y="4" image="$poster"/></Scene>)");
    map("test", "Room", {});
    Chapter* test = chapter("test");
    test->load();
    Scene* scene = Session::activeScene = test->getScene("Room");
    auto* frame = dynamic_cast<nimboui::ImageBox*>(test->getObject("frame"));
    nimboui::Image* wide = test->findImage("wide");
    nimboui::Image* tall = test->findImage("tall");

    scene->activate();
    EXPECT_EQ(frame->getImage()->getName(), "0xCAFEBABE");
    // The first real image gives a box that showed the placeholder its size, which then stays.
    Vars::set("poster", "wide");
    enter(scene);
    EXPECT_EQ(frame->getImage(), wide);
    EXPECT_FLOAT_EQ(frame->getWidth(), wide->getWidth());
    EXPECT_FLOAT_EQ(frame->getHeight(), wide->getHeight());
    Vars::set("poster", "tall");
    enter(scene);
    EXPECT_EQ(frame->getImage(), tall);
    EXPECT_FLOAT_EQ(frame->getWidth(), wide->getWidth());
    EXPECT_EQ(frame->getPosition(), morvec::Vector2(3, 4));
}

TEST_F(BootCommandTest, ResetOfTheSceneDuringItsActivationIsQueued) {
    define("count", "0");
    Scene* scene = room(R"(<Execute cmd="inc_var count 1;reset_scene"/>)");
    scene->activate();
    EXPECT_EQ(Vars::value("count"), "1");
    EXPECT_EQ(Session::commandQueue, vessot::Array<String>({"reset_scene"}));
    EXPECT_NE(log().find("reset_scene during the activation of test.Room queued"), std::string::npos);
    Session::commandQueue.clear();
    // Outside an activation the reset runs at once and names the scene as the previous one.
    Vars::set("prev_scene", "");
    Session::executeCommand("set_var count 5;reset_scene");
    EXPECT_EQ(Vars::value("count"), "6");
    EXPECT_EQ(Vars::value("prev_scene"), "test.Room");
    EXPECT_EQ(Session::commandQueue, vessot::Array<String>({"reset_scene"}));
}
