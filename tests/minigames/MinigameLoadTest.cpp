// Loading minigame scenes: the result commands and their defaults, the scene files refused before
// any piece is made, and a chapter of all five loaded, unloaded and loaded again.
#include "MinigameFixture.h"

#include "minigames/DominoScene.h"
#include "minigames/SequenceScene.h"

namespace {

const char* const DOMINO = R"(<Scene name="Game" type="Domino" rotation_step="90" %s>
    <DominoElement name="a" image="tile" angle="0" x="10" y="10"><Rotate name="b" angle="90"/></DominoElement>
    <DominoElement name="b" image="tile" angle="90" x="60" y="10"/>
</Scene>)";

std::string withAttributes(const char* xml, const std::string& attributes) {
    std::string text = xml;
    return text.replace(text.find("%s"), 2, attributes);
}

class MinigameLoad : public MinigameFixture {};

TEST_F(MinigameLoad, ResultCommandsAndTheirDefaults) {
    struct Case {
        std::string attributes;
        String success, fail, skip;
    };
    const String noSuccess = "log Minigame Game success command not specified";
    const String noFail = "log Minigame Game fail command not specified";
    const Case cases[] = {
        {"", noSuccess, noFail, noSuccess},
        {R"(on_success="set_var solved 1")", "set_var solved 1", noFail, "set_var solved 1"},
        {R"(on_success="a" on_fail="b" on_skip="c")", "a", "b", "c"},
        {R"(on_skip="")", noSuccess, noFail, ""},
    };
    for (const Case& c : cases) {
        auto* scene = enter<DominoScene>(withAttributes(DOMINO, c.attributes));
        EXPECT_EQ(scene->successCommand, c.success) << c.attributes;
        EXPECT_EQ(scene->failCommand, c.fail) << c.attributes;
        EXPECT_EQ(scene->skipCommand, c.skip) << c.attributes;
        EXPECT_EQ(scene->getProperty("rotation_step"), "90");
        Session::activeScene = nullptr;
        games->unload();
    }
}

TEST_F(MinigameLoad, ASolvedSceneWithoutSuccessCommandLogsThatLine) {
    auto* scene = enter<SequenceScene>(R"(<Scene name="Game" type="Sequence" sequence="a">
        <Object type="ImageButton" name="a" x="10" y="10" w="30" h="30" image="lamp"/>
    </Scene>)");
    run(scene, 1.1f);
    click(scene, 20, 20);
    EXPECT_NE(log().find("Minigame Game success command not specified\n"), std::string::npos);
}

TEST_F(MinigameLoad, BrokenScenesAreRefusedNamingTheFileAndTheScene) {
    struct Case {
        const char* xml;
        const char* reason;
    };
    const char* tile = R"(<DominoElement name="a" image="tile" angle="0" x="0" y="0"/>)";
    const char* ring = R"(<Ring name="r" image="ring_outer" ring_width="20" x="0" y="0"/>)";
    std::string domino = std::string(R"(<Scene name="Game" type="Domino" rotation_step="%s">)") + tile + "</Scene>";
    std::string rotator = std::string(R"(<Scene name="Game" type="Rotator" rotation_step="%s">)") + ring + "</Scene>";
    const std::string cases[][2] = {
        {withAttributes(domino.c_str(), "0"), "'rotation_step' must not be 0"},
        {withAttributes(domino.c_str(), "quarter"), "'rotation_step' must be an integer, not 'quarter'"},
        {withAttributes(rotator.c_str(), "0"), "'rotation_step' must not be 0"},
        {withAttributes(rotator.c_str(), "4.5"), "'rotation_step' must be an integer, not '4.5'"},
        {R"(<Scene name="Game" type="Domino" rotation_step="90"/>)", "no 'DominoElement' tiles"},
        {R"(<Scene name="Game" type="Jigsaw"/>)", "no 'JigsawElement' pieces"},
        {R"(<Scene name="Game" type="Rotator" rotation_step="30"/>)", "no 'Ring' rings"},
        {R"(<Scene name="Game" type="Domino" rotation_step="90">
             <DominoElement name="a" image="tile" angle="0" x="0" y="0"><Rotate name="z" angle="90"/></DominoElement>
           </Scene>)",
         "tile 'a' turns 'z', which is no tile of the scene"},
        {R"(<Scene name="Game" type="Domino" rotation_step="90">
             <DominoElement name="a" image="missing" angle="0" x="0" y="0"/></Scene>)",
         "Image 'missing' does not exist"},
        {R"(<Scene name="Game" type="Jigsaw"><JigsawElement name="p" image="wide" x="0" y="0"/></Scene>)",
         "piece 'p' is 426 x 10, not smaller than the screen"},
        {R"(<Scene name="Game" type="Jigsaw"><JigsawElement name="p" image="tall" x="0" y="0"/></Scene>)",
         "piece 'p' is 10 x 320, not smaller than the screen"},
        {R"(<Scene name="Game" type="Match2" x="0" y="0" w="1" h="1" image_base="grid"/>)",
         "a grid of 1 x 1 has fewer than 2 cells"},
        {R"(<Scene name="Game" type="Match2" x="0" y="0" w="0" h="5" image_base="grid"/>)",
         "a grid of 0 x 5 has fewer than 2 cells"},
        {R"(<Scene name="Game" type="Match2" x="0" y="0" w="-2" h="-2" image_base="grid"/>)",
         "a grid of -2 x -2 has fewer than 2 cells"},
        {R"(<Scene name="Game" type="Match2" x="0" y="0" w="11" h="1" image_base="grid"/>)",
         "a grid of 11 x 1 has more than 10 columns or rows"},
        {R"(<Scene name="Game" type="Match2" x="0" y="0" w="3" h="3" image_base="grid"/>)",
         "Image 'grid_20' does not exist"},
        {R"(<Scene name="Game" type="Sequence" sequence="a"/>)", "no 'Object' children to click"},
        {R"(<Scene name="Game" type="Sequence" sequence=""><Object type="ImageBox" name="a"/></Scene>)",
         "an empty 'sequence'"},
    };
    for (const auto& [xml, reason] : cases) {
        try {
            loadGames({{"Game", xml}});
            ADD_FAILURE() << "loaded: " << xml;
        } catch (const vessot::exception& e) {
            std::string message = e.message();
            EXPECT_NE(message.find("Game.scene"), std::string::npos) << message;
            EXPECT_NE(message.find("minigame scene 'Game': "), std::string::npos) << message;
            EXPECT_NE(message.find(reason), std::string::npos) << message;
        }
        EXPECT_FALSE(games->isLoaded());
    }
}

TEST_F(MinigameLoad, PiecesBelongToTheChapterAndAReloadMakesFreshOnes) {
    const std::map<std::string, std::string> scenes = {
        {"Dom", R"(<Scene name="Dom" type="Domino" rotation_step="90">
                  <DominoElement name="a" image="tile" angle="0" x="10" y="10"><Rotate name="b" angle="90"/></DominoElement>
                  <DominoElement name="b" image="tile" angle="90" x="60" y="10"/></Scene>)"},
        {"Jig", R"(<Scene name="Jig" type="Jigsaw"><JigsawElement name="p" image="piece" x="5" y="5"/></Scene>)"},
        {"Rot", R"(<Scene name="Rot" type="Rotator" rotation_step="45">
                  <Ring name="r" image="ring_outer" ring_width="30" x="0" y="0"/></Scene>)"},
        {"Seq",
         R"(<Scene name="Seq" type="Sequence" sequence="l"><Object type="ImageButton" name="l" image="lamp"/></Scene>)"},
        {"Tiles", R"(<Scene name="Tiles" type="Match2" x="10" y="10" w="3" h="2" image_base="grid"/>)"},
    };
    loadGames(scenes);
    for (int round = 0; round < 2; ++round) {
        for (const char* name : {"a", "b", "p", "r", "l", "match2_grid_00", "match2_grid_12"}) {
            EXPECT_NE(games->findObject(name), nullptr) << name;
        }
        for (const auto& [name, xml] : scenes) {
            Scene* scene = games->getScene(name);
            Session::activeScene = scene;
            scene->activate();
            run(scene, 0.5f);
            click(scene, 20, 20);
            scene->deactivate(false);
        }
        Session::activeScene = nullptr;
        games->unload();
        EXPECT_EQ(games->findObject("a"), nullptr);
        games->load();
    }
    EXPECT_EQ(log().find("registered twice"), std::string::npos);
}

} // namespace
