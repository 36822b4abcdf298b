#include "ChapterFixture.h"
#include "engine/scene/ActionMap.h"
#include "engine/scene/BootCommand.h"
#include "engine/session/GameUtil.h"
#include "script/Actions.h"

#include "nimboui/ImageBox.h"

#include <typeinfo>

namespace {

const char* const ROOM = R"(<Scene name="Room" image="RoomArt" zbase="1.2" on_skip="set_var skipped 1" zfactor="0.002"
       hide_ui="1" custom="a b">
    <Audio source="theme"/>
    <Execute cmd="inc_var visits 1"/>
    <Action color="00FF00" type="SwitchScene" scene="Hall"/>
    <Action name="look" type="Execute" cmd="set_var looked 1"/>
    <Action type="Execute" cmd="inc_var executed 1"/>
    <Object type="ImageBox" name="lamp" x="10" y="20" w="5" h="6" image="RoomArt"/>
    <Animator type="AlphaFader" name="lamp_fader"/>
    <Unknown cmd="ignored"/>
</Scene>)";

// A scene class of the game, registered by code before the chapter's files are read.
class CodeScene : public Scene {
public:
    using Scene::Scene;
    void load(vessxml::Node* element) override {
        ++loads;
        Scene::load(element);
    }
    static int loads;
};
int CodeScene::loads = 0;

void registerCodeScenes(Chapter* chapter) {
    chapter->registerScene("Room", new CodeScene(chapter, "Room"));
    chapter->registerScene("Ghost", new CodeScene(chapter, "Ghost"));
}

void registerThenFail(Chapter* chapter) {
    chapter->registerScene("Ghost", new CodeScene(chapter, "Ghost"));
    chapter->registerNamedAction("ghostly", new Actions::Execute("log boo"));
    throw nimboui::_GenericException("the callback failed", "GenericException", __FILE__, __LINE__);
}

class ChapterTest : public ChapterFixture {
protected:
    // A chapter "test" with the scene Room and the hotspot maps of Room and Hall.
    Chapter* roomChapter() {
        definition("test", {"RoomArt", "Hall"});
        scene("test", "Room.scene", ROOM);
        scene("test", "Hall.scene", R"(<Scene name="Hall"/>)");
        map("test", "Room", {{0, 0, 50, 50, 0x00FF00}});
        map("test", "Hall", {});
        sound("test", "theme");
        define("visits", "0");
        define("executed", "0");
        define("looked", "0");
        return chapter("test");
    }
};

} // namespace

TEST_F(ChapterTest, IsNamedAfterTheFolderOfItsDefinition) {
    EXPECT_EQ(Chapter("data/chapters/ship/ship_hd.datadef", nullptr).getName(), "ship");
    EXPECT_EQ(Chapter("data/ui/ui_hd.datadef", nullptr).getName(), "ui");
    EXPECT_EQ(Chapter("menu/menu_hd.datadef", nullptr).getName(), "menu");
    EXPECT_EQ(Chapter("/abs/a/b/characters/c.datadef", nullptr).getName(), "characters");
    for (const char* path : {"ship_hd.datadef", "/ship_hd.datadef", ""}) {
        EXPECT_THROW(Chapter(path, nullptr), nimboui::_GenericException) << path;
    }
}

TEST_F(ChapterTest, LoadsASceneFileIntoScenePropertiesAndBootCommands) {
    Chapter* test = roomChapter();
    test->load();
    Scene* room = test->getScene("Room");
    EXPECT_TRUE(typeid(*room) == typeid(Scene));
    EXPECT_EQ(room->getFullName(), "test.Room");
    EXPECT_EQ(room->actionMap, test->getActionMap("Room"));
    EXPECT_EQ(room->onSkip, "set_var skipped 1");
    EXPECT_EQ(room->properties, (std::map<String, String>{{"image", "RoomArt"},
                                                          {"zbase", "1.2"},
                                                          {"on_skip", "set_var skipped 1"},
                                                          {"zfactor", "0.002"},
                                                          {"hide_ui", "1"},
                                                          {"custom", "a b"}}));
    EXPECT_EQ(room->getProperty("width"), "");
    EXPECT_FLOAT_EQ(room->getDepthScale(100), 1.2f - 0.002f * 100);
    EXPECT_FLOAT_EQ(test->getScene("Hall")->getDepthScale(100), 0.0f);

    // The root is named after the scene, shows the "image" (or the scene's own name), and holds
    // nothing until the scene is activated.
    EXPECT_EQ(room->root->getName(), "Room_objowner");
    EXPECT_EQ(room->root->getImageName(), "RoomArt");
    EXPECT_EQ(test->getScene("Hall")->root->getImageName(), "Hall");
    EXPECT_TRUE(room->root->getChildren().empty());

    // One command per boot element, in document order; the named action makes none.
    const auto& commands = room->bootCommands;
    ASSERT_EQ(commands.size(), 6u);
    EXPECT_EQ(dynamic_cast<BootCommand_PlayAudioStream*>(commands[0])->source, "theme");
    EXPECT_EQ(dynamic_cast<BootCommand_ExecuteCommand*>(commands[1])->command, "inc_var visits 1");
    auto* set = dynamic_cast<BootCommand_ActionSet*>(commands[2]);
    ASSERT_TRUE(set);
    EXPECT_EQ(set->areaId, 0x00FF00u);
    EXPECT_EQ(set->action->getTypeName(), "SwitchScene");
    EXPECT_EQ(set->action->getOwner(), test);
    ASSERT_TRUE(dynamic_cast<BootCommand_ExecuteAction*>(commands[3]));
    EXPECT_EQ(dynamic_cast<BootCommand_AttachObject*>(commands[4])->object, test->getObject("lamp"));
    EXPECT_EQ(dynamic_cast<BootCommand_AttachObject*>(commands[5])->object, test->getObject("lamp_fader"));
    for (BootCommand* command : commands) {
        EXPECT_EQ(command->condition, "");
    }
    EXPECT_EQ(test->namedActions.size(), 1u);
    EXPECT_EQ(test->getNamedAction("look")->getTypeName(), "Execute");
    EXPECT_TRUE(soundExists("test.theme"));

    expectInOrder(log(), {"[zeph] Loading chapter test", "[zeph] loading sounds", "[zeph] loading scenes",
                          "[zeph] parsing scene: " + (dir / "chapters/test/scenes/Hall.scene"),
                          "[zeph] parsing scene: " + (dir / "chapters/test/scenes/Room.scene"),
                          "[zeph] loading action maps", "[zeph] loading dialogs", "[zeph] loaded 0 dialogs."});
}

TEST_F(ChapterTest, ObjectsAreReattachedOnEveryActivationAndEveryLoad) {
    Chapter* test = roomChapter();
    for (int load = 0; load < 2; ++load) {
        test->load();
        Scene* room = test->getScene("Room");
        Session::activeScene = room;
        nimboui::Object* lamp = test->getObject("lamp");
        for (int visit = 1; visit <= 2; ++visit) {
            room->activate();
            EXPECT_EQ(Vars::value("active_scene"), "test.Room");
            EXPECT_EQ(room->root->getChildren(), (std::vector<nimboui::Object*>{lamp, test->getObject("lamp_fader")}));
            EXPECT_EQ(lamp->getPosition(), morvec::Vector2(10, 20));
            EXPECT_TRUE(lamp->isVisible());
            EXPECT_FLOAT_EQ(lamp->getAlpha(), 1.0f);
            EXPECT_EQ(room->getActionAt(10, 10)->getTypeName(), "SwitchScene");
            EXPECT_EQ(room->getActionAt(60, 10), nullptr);
            // What play did to the object is undone by the next activation.
            lamp->setPosition(morvec::Vector2(99, 99));
            lamp->setVisible(false);
            lamp->setAlpha(0.25f);
            room->deactivate(false);
            EXPECT_TRUE(room->root->getChildren().empty());
            EXPECT_TRUE(room->actions.empty());
        }
        EXPECT_EQ(Vars::value("visits"), String(2 * (load + 1)));
        EXPECT_EQ(Vars::value("executed"), String(2 * (load + 1)));
        EXPECT_EQ(Vars::value("looked"), "0");
        test->unload();
        Session::activeScene = nullptr;
        EXPECT_FALSE(test->isLoaded());
        EXPECT_TRUE(test->scenes.empty());
        EXPECT_TRUE(test->actionMaps.empty());
        EXPECT_TRUE(test->namedActions.empty());
        EXPECT_TRUE(test->getObjects().empty());
        EXPECT_FALSE(soundExists("test.theme"));
    }
    EXPECT_NE(log().find("[zeph] Unloading chapter test"), std::string::npos);
}

TEST_F(ChapterTest, ScenesRegisteredByCodeAreFilledByTheirFile) {
    definition("test", {"RoomArt"});
    // The registered object stays whatever the file's "type" says.
    scene("test", "Room.scene", R"(<Scene name="Room" type="NoSuchType" image="RoomArt" hide_ui="1"/>)");
    map("test", "Room", {});
    map("test", "Ghost", {});
    Chapter* test = chapter("test", registerCodeScenes);
    for (int load = 1; load <= 2; ++load) {
        test->load();
        Scene* room = test->getScene("Room");
        EXPECT_TRUE(dynamic_cast<CodeScene*>(room));
        EXPECT_EQ(CodeScene::loads, load);
        EXPECT_EQ(room->getProperty("hide_ui"), "1");
        // A registered scene that no file fills gets an empty root and a warning.
        Scene* ghost = test->getScene("Ghost");
        ASSERT_TRUE(ghost->root);
        EXPECT_EQ(ghost->actionMap, test->getActionMap("Ghost"));
        test->unload();
    }
    EXPECT_NE(log().find("scene test.Ghost was registered but no scene file loads it"), std::string::npos);
}

TEST_F(ChapterTest, MobileInterfaceReadsTheMobileVariants) {
    Session::params["ui"] = "mobile";
    definition("test");
    scene("test", "Corridor.pc.scene", R"(<Scene name="Corridor" layout="pc"/>)");
    scene("test", "Corridor.mobile.scene", R"(<Scene name="Corridor" layout="mobile"/>)");
    scene("test", "Plain.scene", R"(<Scene name="Plain"/>)");
    map("test", "Corridor", {});
    map("test", "Plain", {});
    Chapter* test = chapter("test");
    test->sceneFileFilter = GameUtil::isSceneFileForPlatform;
    test->load();
    EXPECT_EQ(test->getScene("Corridor")->getProperty("layout"), "mobile");
    EXPECT_TRUE(test->getScene("Plain"));
}

TEST_F(ChapterTest, OtherInterfacesReadThePcVariants) {
    Session::params["ui"] = "pc";
    definition("test");
    scene("test", "Corridor.pc.scene", R"(<Scene name="Corridor" layout="pc"/>)");
    scene("test", "Corridor.mobile.scene", R"(<Scene name="Corridor" layout="mobile"/>)");
    scene("test", "Plain.scene", R"(<Scene name="Plain"/>)");
    map("test", "Corridor", {});
    map("test", "Plain", {});
    Chapter* test = chapter("test");
    test->sceneFileFilter = GameUtil::isSceneFileForPlatform;
    test->load();
    EXPECT_EQ(test->getScene("Corridor")->getProperty("layout"), "pc");
    EXPECT_TRUE(test->getScene("Plain"));
}

TEST_F(ChapterTest, ScenesCanStandInTheDefinitionFile) {
    definition("test", {}, R"(<Scene name="Inline" zbase="2"><Execute cmd="log hi"/></Scene>)");
    map("test", "Inline", {});
    Chapter* test = chapter("test");
    test->load();
    EXPECT_EQ(test->getScene("Inline")->getProperty("zbase"), "2");
    EXPECT_EQ(test->getScene("Inline")->bootCommands.size(), 1u);
}

// Every refused chapter names what is wrong and where, and keeps nothing of the failed load: a
// scene file read before the broken one has already made its scene, objects and commands.
TEST_F(ChapterTest, RefusedChaptersNameTheFaultAndLeaveNothingBehind) {
    struct Case {
        const char* file;
        const char* xml;
        const char* expected;
        ChapterCallback preLoad = nullptr;
    } cases[] = {
        {"Room.scene", R"(<Scene name="Room" type="Jigsawz"/>)", "Unknown scene type 'Jigsawz'"},
        {"Room.scene", R"(<Scene name="Room"><Execute/></Scene>)", "cmd"},
        {"Room.scene", R"(<Scene name="Room"><Audio/></Scene>)", "source"},
        {"Room.scene", R"(<Scene><Execute cmd="log x"/></Scene>)", "name"},
        {"Room.scene", R"(<Scene name="Room"><Execute cmd="log x"></Scene>)", "Room.scene"},
        {"Room.scene", R"(<Scene name="Room"><Action type="Nonsense"/></Scene>)", "Unknown action type"},
        {"Room.scene", R"(<Scene name="Room"><else><Execute cmd="log x"/></else></Scene>)", "else"},
        {"Room.scene", R"(<Scene name="Room"><if t="1"><else><else/></else></if></Scene>)", "else"},
        {"Room.scene", R"(<Scene name="Room"><Action color="GG00FF" type="Execute" cmd="x"/></Scene>)", "GG00FF"},
        {"Room.scene", R"(<Scene name="Room"><Object type="HiddenObject" name="a-b"/></Scene>)", "'a-b'"},
        {"Room.scene", R"(<Scene name="Room"><Object type="NoSuchObject" name="thing"/></Scene>)", "NoSuchObject"},
        {"Room.scene", R"(<Scene name="Room"><Action name="twice" type="Execute" cmd="a"/>
                              <Action name="twice" type="Execute" cmd="b"/></Scene>)",
         "Named action 'twice' already registered in chapter"},
        {"Room.scene", R"(<Scene name="Nameless"/>)", "/action_maps/Nameless.amp is missing"},
        {"Room.scene", R"(<Scene name="Aaa"/>)", "Room.scene"},
        // What the pre-load callback registered before it failed goes too.
        {"Room.scene", R"(<Scene name="Room"/>)", "the callback failed", registerThenFail},
    };
    int index = 0;
    for (const Case& c : cases) {
        std::string name = "broken" + std::to_string(index++);
        definition(name, {"Aaa"}, R"(<Object type="ImageBox" name="resident"/>)");
        scene(name, "Aaa.scene", R"(<Scene name="Aaa"><Object type="ImageBox" name="first"/>
                                        <Action name="named" type="Execute" cmd="x"/></Scene>)");
        scene(name, c.file, c.xml);
        map(name, "Aaa", {});
        map(name, "Room", {});
        Chapter* broken = chapter(name, c.preLoad);
        try {
            broken->load();
            ADD_FAILURE() << c.xml << " was accepted";
        } catch (const vessot::exception& e) {
            EXPECT_NE(e.message().find(c.expected), std::string::npos) << e.message();
        }
        EXPECT_FALSE(broken->isLoaded());
        EXPECT_TRUE(broken->scenes.empty());
        EXPECT_TRUE(broken->actionMaps.empty());
        EXPECT_TRUE(broken->namedActions.empty());
        EXPECT_TRUE(broken->getObjects().empty());
    }
}

TEST_F(ChapterTest, TheSecondDefinitionOfASceneNamesBothFiles) {
    definition("test");
    scene("test", "Room.pc.scene", R"(<Scene name="Room"/>)");
    scene("test", "Room.scene", R"(<Scene name="Room"/>)");
    map("test", "Room", {});
    try {
        chapter("test")->load();
        FAIL();
    } catch (const nimboui::_GenericException& e) {
        EXPECT_NE(e.message().find("Room.pc.scene"), std::string::npos) << e.message();
        EXPECT_NE(e.message().find("Room.scene"), std::string::npos) << e.message();
    }
}

TEST_F(ChapterTest, LookupsFollowVariablesAndChapterNames) {
    definition("ui", {}, R"(<Texts file="texts.xml"/><Object type="ImageBox" name="button"/>)");
    write("chapters/ui/texts.xml", R"(<Texts><Text key="ZEPH_USE_A_WITH_B">Use %s with %s</Text>
        <Text key="obj_key">key</Text></Texts>)");
    definition("test", {"0xCAFEBABE", "poster"}, R"(<Texts file="texts.xml"/><Object type="ImageBox" name="lamp"/>)");
    write("chapters/test/texts.xml", R"(<Texts><Text key="RO_SHIP.COCKPIT">Cockpit</Text>
        <Text key="DOOR">Door</Text></Texts>)");
    Chapter* ui = chapter("ui");
    Chapter* test = chapter("test");
    ui->load();
    test->load();
    define("key_var", "DOOR");
    define("object_var", "ui.button");
    define("image_var", "poster");
    define("empty_var", "");
    define("none_var", "None");
    define("chain", "$key_var");
    define("loop_a", "$loop_b");
    define("loop_b", "$loop_a");
    // Alternates between the "$" rule and the chapter rule.
    define("cross", "test.$cross");

    EXPECT_EQ(test->getTextEntry("DOOR"), "Door");
    EXPECT_EQ(test->getTextEntry("RO_SHIP.COCKPIT"), "Cockpit");
    EXPECT_TRUE(test->textExists("RO_SHIP.COCKPIT"));
    EXPECT_EQ(test->getTextEntry("ui.obj_key"), "key");
    EXPECT_TRUE(test->textExists("ui.obj_key"));
    EXPECT_FALSE(test->textExists("ui.DOOR"));
    EXPECT_EQ(test->getTextEntry("$key_var"), "Door");
    EXPECT_EQ(test->getText("$chain"), "Door");
    EXPECT_EQ(test->getTextEntry("MISSING"), "ERROR: text 'MISSING' not found!<p5>");
    for (const char* name : {"$loop_a", "$cross", "test.$cross"}) {
        EXPECT_THROW(test->getTextEntry(name), nimboui::_GenericException) << name;
        EXPECT_THROW(test->getObject(name), nimboui::_GenericException) << name;
        EXPECT_THROW(test->textExists(name), nimboui::_GenericException) << name;
    }

    EXPECT_EQ(test->getObject("lamp"), test->findObject("lamp"));
    EXPECT_EQ(test->getObject("ui.button"), ui->findObject("button"));
    EXPECT_EQ(test->getObject("$object_var"), ui->findObject("button"));
    EXPECT_EQ(test->getImage("$image_var"), test->findImage("poster"));
    EXPECT_EQ(test->getImage("$empty_var"), test->findImage("0xCAFEBABE"));
    EXPECT_EQ(test->getImage("$none_var"), test->findImage("0xCAFEBABE"));

    EXPECT_EQ(test->getFullSoundName("door"), "test.door");
    EXPECT_EQ(test->getFullSoundName("ui.click"), "ui.click");
}

TEST_F(ChapterTest, NamedActionsAndCallbacks) {
    definition("ui");
    definition("test");
    Chapter* ui = chapter("ui");
    Chapter* test = chapter("test");
    ui->load();
    test->load();
    define("ran", "");
    ui->registerNamedAction("open", new Actions::Execute("set_var ran ui.open"));
    ui->registerNamedAction("use:key.card", new Actions::Execute("set_var ran use"));
    test->registerNamedAction("ui.open", new Actions::Execute("set_var ran test.ui.open"));

    EXPECT_EQ(test->getNamedAction("ui.open"), ui->namedActions["open"]);
    EXPECT_EQ(test->getNamedAction("ui.use:key.card"), ui->namedActions["use:key.card"]);
    EXPECT_THROW(test->getNamedAction("nochapter.open"), nimboui::_GenericException);
    try {
        test->getNamedAction("open");
        FAIL();
    } catch (const nimboui::_GenericException& e) {
        EXPECT_EQ(e.message(), "Cannot find named action 'open' in chapter test");
    }
    // A callback is the named action of exactly that name, dots and all.
    test->triggerCallback("ui.open");
    EXPECT_EQ(Vars::value("ran"), "test.ui.open");
    ui->triggerCallback("open");
    EXPECT_EQ(Vars::value("ran"), "ui.open");
    try {
        ui->triggerCallback("close");
        FAIL();
    } catch (const nimboui::_GenericException& e) {
        EXPECT_EQ(e.message(), "Cannot find named action 'close' in chapter ui");
    }
    try {
        test->registerNamedAction("ui.open", new Actions::Execute("x"));
        FAIL();
    } catch (const nimboui::_GenericException& e) {
        EXPECT_EQ(e.message(), "Named action 'ui.open' already registered in chapter test");
    }
}

TEST_F(ChapterTest, MissingScenesMapsAndDialogs) {
    Chapter* test = roomChapter();
    test->load();
    try {
        test->getScene("Attic");
        FAIL();
    } catch (const _SceneNotFoundExeption& e) {
        EXPECT_EQ(e.message(), "Scene 'Attic' not found in chapter 'test'");
        EXPECT_EQ(e.type(), "SceneNotFoundExeption");
    }
    EXPECT_THROW(test->getActionMap("Attic"), nimboui::_ResourceNotExistsException);
    EXPECT_THROW(test->getDialog("intro"), nimboui::_ResourceNotExistsException);
    EXPECT_EQ(test->getDialog(""), nullptr);
    try {
        test->registerScene("Room", new Scene(test, "Room"));
        FAIL();
    } catch (const nimboui::_GenericException& e) {
        EXPECT_EQ(e.message(), "can't register an already registered scene: Room in chapter: test");
    }
}

TEST_F(ChapterTest, UnloadingAChapterThatIsNotLoadedDoesNothing) {
    Chapter* test = roomChapter();
    test->unload();
    EXPECT_EQ(log().find("Unloading"), std::string::npos);
}
