// The sequence minigame: the preview lights every lamp for a second and takes no clicks; clicks
// follow the order (a name may come twice), a wrong one starts over, and a solved scene stays solved.
#include "MinigameFixture.h"

#include "minigames/SequenceScene.h"

#include "nimboui/ImageButton.h"

namespace {

const char* const LAMPS = R"(<Scene name="Game" type="Sequence" sequence="a,b,a" sound="beep"
        on_success="inc_var solved 1">
    <Object type="ImageButton" name="a" x="10" y="10" w="30" h="30" image="lamp" pushed_image="lamp_lit"/>
    <Object type="ImageButton" name="b" x="60" y="10" w="30" h="30" image="lamp" pushed_image="lamp_lit"/>
    <Object type="ImageButton" name="c" x="110" y="10" w="30" h="30" image="lamp" pushed_image="lamp_lit"/>
</Scene>)";

class Sequence : public MinigameFixture {
protected:
    void SetUp() override {
        MinigameFixture::SetUp();
        scene = enter<SequenceScene>(LAMPS);
    }

    bool clickLamp(const std::string& name) {
        nimboui::Object* lamp = games->getObject(name);
        return click(scene, lamp->getX() + 15, lamp->getY() + 15);
    }

    // The lamps that show their lit image.
    std::string lit() {
        std::string names;
        for (const char* name : {"a", "b", "c"}) {
            if (games->getObject(name)->getImage() == games->getImage("lamp_lit")) {
                names += name;
            }
        }
        return names;
    }

    SequenceScene* scene = nullptr;
};

TEST_F(Sequence, EveryLampLightsForASecondOnEntryAndTakesNoClicksMeanwhile) {
    EXPECT_EQ(lit(), "abc");
    EXPECT_FALSE(clickLamp("a"));
    EXPECT_EQ(scene->getIndex(), 0);
    EXPECT_FALSE(echon::mgr->isAnyPlaying("games.beep"));
    run(scene, 0.9f);
    EXPECT_EQ(lit(), "abc");
    run(scene, 0.2f);
    EXPECT_EQ(lit(), "");

    // Left while lit, the lamps go out, and the next entry lights them for a second again.
    reenter(scene);
    scene->deactivate(false);
    EXPECT_EQ(lit(), "");
    scene->activate();
    EXPECT_EQ(lit(), "abc");
    run(scene, 1.1f);
    EXPECT_EQ(lit(), "");
}

TEST_F(Sequence, ClicksFollowTheOrderAWrongOneStartsOverAndASolvedSceneStaysSolved) {
    struct Case {
        std::vector<std::string> clicks;
        int index;
        bool previewing;
        std::string lit; // only the preview lights the lamps
        std::string solved;
    };
    const Case cases[] = {
        {{"a", "b", "a"}, 3, false, "", "1"}, {{"a", "b"}, 2, false, "", "0"},        {{"a", "a"}, 0, true, "abc", "0"},
        {{"b"}, 0, true, "abc", "0"},         {{"a", "b", "c"}, 0, true, "abc", "0"},
    };
    for (const Case& c : cases) {
        Vars::get("solved")->setValue("0", true);
        scene->reset();
        run(scene, 1.1f);
        for (const std::string& name : c.clicks) {
            echon::mgr->stopAll();
            EXPECT_TRUE(clickLamp(name));
            EXPECT_TRUE(echon::mgr->isAnyPlaying("games.beep"));
        }
        EXPECT_EQ(scene->getIndex(), c.index);
        EXPECT_EQ(scene->isPreviewing(), c.previewing);
        EXPECT_EQ(lit(), c.lit);
        EXPECT_EQ(solved(), c.solved);
    }

    // Once solved, further clicks play nothing and change nothing.
    scene->reset();
    run(scene, 1.1f);
    for (const char* name : {"a", "b", "a"}) {
        clickLamp(name);
    }
    echon::mgr->stopAll();
    for (const char* name : {"c", "a", "b"}) {
        clickLamp(name);
    }
    EXPECT_EQ(scene->getIndex(), 3);
    EXPECT_FALSE(scene->isPreviewing());
    EXPECT_FALSE(echon::mgr->isAnyPlaying("games.beep"));
    EXPECT_EQ(solved(), "1");
}

TEST_F(Sequence, AClickOnALampOutsideASequenceSceneChecksNothing) {
    run(scene, 1.1f);
    Session::activeScene = nullptr;
    clickLamp("a");
    EXPECT_EQ(scene->getIndex(), 0);
}

} // namespace
