#include "ChapterFixture.h"
#include "script/Action.h"

#include "nimboui/Animators.h"

namespace {

class SceneTest : public ChapterFixture {
protected:
    // The chapters "ui" (with the hover format and an item's name) and "test" with the scene Room,
    // whose hotspots: 00FF00 a verb menu of one verb (which a click runs), FF0000 an action whose key
    // holds "|", 0000FF a reference to an item action, FFFF00 an item action.
    Scene* room(const std::string& sceneAttributes = "") {
        definition("ui", {}, R"(<Texts file="texts.xml"/>)");
        write("chapters/ui/texts.xml", R"(<Texts><Text key="ZEPH_USE_A_WITH_B">Use %s with %s</Text>
            <Text key="obj_key">the key</Text></Texts>)");
        ui = chapter("ui");
        ui->load();
        definition("test", {"Room"}, R"(<Texts file="texts.xml"/><RamTexture name="Room_LM" file="lm.png"/>)");
        write("chapters/test/texts.xml", R"(<Texts><Text key="RO_DOOR">the door</Text>
            <Text key="RO_A|B">two ways</Text><Text key="RO_LOCK">the lock</Text></Texts>)");
        // Columns of 0, 80, 160 and 240 grey, in two rows.
        nimbo::Image lightMap(4, 2);
        for (int x = 0; x < 4; ++x) {
            for (int y = 0; y < 2; ++y) {
                lightMap.setPixel(x, y, nimbo::Color(80 * x, 80 * x, 80 * x, 255));
            }
        }
        lightMap.savePng(dir / "chapters/test/lm.png");
        scene("test", "Room.scene", "<Scene name=\"Room\" " + sceneAttributes + R"(>
            <Action color="00FF00" type="Multiple" rollover="RO_DOOR">
                <Action multiple="look" type="Execute" cmd="inc_var door 1"/>
            </Action>
            <Action color="FF0000" type="Execute" cmd="inc_var door 1" rollover="RO_A|B"/>
            <Action name="use_lock" type="ItemAction" rollover="RO_LOCK">
                <Action itemaction="key" type="Execute" cmd="inc_var door 1"/>
            </Action>
            <Action color="0000FF" type="Reference" ref="use_lock" rollover="RO_LOCK"/>
            <Action color="FFFF00" type="ItemAction" rollover="RO_LOCK">
                <Action itemaction="key" type="Execute" cmd="inc_var door 1"/>
            </Action>
            <Object type="ImageBox" name="backdrop" x="0" y="0" w="426" h="320" image="Room"/>
            <Object type="HiddenObject" name="__shell" x="380" y="280" w="20" h="20"/>
            <Animator type="AlphaFader" name="fade_in" from="0" to="1" time="2"/>
        </Scene>)");
        map("test", "Room",
            {{0, 0, 50, 50, 0x00FF00},
             {50, 0, 50, 50, 0xFF0000},
             {100, 0, 50, 50, 0x0000FF},
             {150, 0, 50, 50, 0xFFFF00}});
        define("door", "0");
        define("casual_mode", "0");
        Chapter* test = chapter("test");
        test->load();
        Session::activeScene = test->getScene("Room");
        Session::activeScene->activate();
        return Session::activeScene;
    }

    Chapter* ui = nullptr;
};

} // namespace

TEST_F(SceneTest, ClickPathByWhatIsInHand) {
    Scene* scene = room();
    struct Case {
        const char* held;
        float x, y;
        bool consumed;
        const char* doorAfter;
        const char* heldAfter;
    } cases[] = {
        {"", 10, 10, true, "1", ""},      // a plain action runs
        {"key", 10, 10, true, "1", ""},   // refused: the item is put away, nothing runs
        {"key", 60, 10, true, "1", ""},   // refused silently ("|" in the key), put away
        {"key", 110, 10, true, "2", ""},  // a reference to an item action uses the item
        {"key", 160, 10, true, "3", ""},  // an item action uses the item
        {"key", 300, 300, true, "3", ""}, // no area: the item is put away
        {"", 300, 300, false, "3", ""},   // no area, nothing in hand: the scene's objects see it
        {"", 390, 290, false, "3", ""},   // not consumed even where an object of the scene takes it
        {"", 60, 10, true, "4", ""},
    };
    scene->update(2.0f); // faded in: the scene's objects see clicks
    for (const Case& c : cases) {
        Inventory::selectedItem = c.held;
        EXPECT_EQ(scene->onMouseUp(c.x, c.y, 1), c.consumed) << c.held << " " << c.x;
        EXPECT_EQ(Vars::value("door"), c.doorAfter) << c.held << " " << c.x;
        EXPECT_EQ(Inventory::getSelectedItem(), c.heldAfter) << c.held << " " << c.x;
    }
}

TEST_F(SceneTest, HoverTextAndCursorNameByWhatIsInHand) {
    Scene* scene = room();
    EXPECT_EQ(scene->getHoverText(10, 10), "the door");
    EXPECT_EQ(scene->getActionNameAt(10, 10), "RO_DOOR");
    EXPECT_EQ(scene->getHoverText(300, 300), "");
    EXPECT_EQ(scene->getActionNameAt(300, 300), "");
    Inventory::selectedItem = "key";
    EXPECT_EQ(scene->getHoverText(10, 10), "Use the key with the door");
    EXPECT_EQ(scene->getHoverText(60, 10), "");
    EXPECT_EQ(scene->getActionNameAt(10, 10), "");
}

TEST_F(SceneTest, LightMapSamplesClampToTheLastPixel) {
    Scene* scene = room();
    EXPECT_EQ(scene->sampleLightMap(-5, -5), nimbo::Color(0, 0, 0, 255));
    EXPECT_EQ(scene->sampleLightMap(1000, 1000), nimbo::Color(240, 240, 240, 255));
    EXPECT_EQ(scene->sampleLightMap(213, 0), nimbo::Color(160, 160, 160, 255));
    // Without a light map the scene lights everything fully.
    Scene unlit(ui, "Unlit");
    EXPECT_EQ(unlit.sampleLightMap(10, 10), nimbo::Color(255, 255, 255, 255));
}

TEST_F(SceneTest, LightMapOfAWideSceneAndOfABadWidth) {
    Scene* scene = room("width=\"852\"");
    EXPECT_EQ(scene->sampleLightMap(426, 0), nimbo::Color(160, 160, 160, 255));
    scene->properties["width"] = "-3";
    EXPECT_EQ(scene->sampleLightMap(213, 0), nimbo::Color(160, 160, 160, 255));
    scene->properties["width"] = "0";
    EXPECT_EQ(scene->sampleLightMap(213, 0), nimbo::Color(160, 160, 160, 255));
}

TEST_F(SceneTest, DeactivationRestartsFadersAndResetNamesThePreviousScene) {
    Scene* scene = room();
    auto* fader = dynamic_cast<nimboui::Animators::AlphaFader*>(scene->chapter->getObject("fade_in"));
    scene->root->update(0.5f);
    scene->root->update(0.5f);
    EXPECT_GT(scene->root->getAlpha(), 0.0f);
    EXPECT_LT(scene->root->getAlpha(), 1.0f);
    scene->reset();
    EXPECT_EQ(Vars::value("prev_scene"), "test.Room");
    EXPECT_EQ(Vars::value("active_scene"), "test.Room");
    // The fader starts over from its definition.
    scene->root->update(0.01f);
    EXPECT_TRUE(fader->isRunning());
    EXPECT_LT(scene->root->getAlpha(), 0.1f);
}
