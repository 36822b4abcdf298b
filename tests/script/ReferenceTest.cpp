// Character references: placing the character when the scene attaches them, the drawing height, the
// depth sort of the scene's objects, and the data errors refused at load.
#include "CharacterFixture.h"

namespace {

class ReferenceTest : public CharacterFixture {
protected:
    void enter(Scene* scene) {
        scene->deactivate(false);
        scene->activate();
    }

    std::string order(Scene* scene) {
        std::string names;
        for (nimboui::Object* child : scene->root->getChildren()) {
            names += (names.empty() ? "" : " ") + child->getName();
        }
        return names;
    }
};

TEST_F(ReferenceTest, AttachingPlacesTheCharacterByTheFirstPlacementThatApplies) {
    define("door", "0");
    Scene* scene = room(R"(<Object type="Character2D" name="hero_ref" chr="hero" speed="70" walk_ani_factor="1.5">
        <Property name="position_if:$door==1" value="100,300,E"/>
        <Property name="position" value="200,310,W"/>
    </Object>)");
    struct Case {
        const char* door;
        const char* lastScene;
        morvec::Vector3 position;
        const char* facing;
    };
    const Case cases[] = {
        {"1", "", {100, 300, 0}, "E"},
        {"0", "", {200, 310, 0}, "W"},
        {"0", "room.Room", {50, 50, 0}, "N"}, // attached here before: stays put
        {"1", "room.Room", {100, 300, 0}, "E"},
    };
    for (const Case& c : cases) {
        hero->placeAt("N", 50, 50);
        hero->setLastAttachScene(c.lastScene);
        Vars::get("door")->value = c.door;
        enter(scene);
        EXPECT_EQ(hero->getPosition(), c.position) << c.door << " " << c.lastScene;
        EXPECT_EQ(hero->getOrientation(), c.facing);
        EXPECT_EQ(hero->getLastAttachScene(), "room.Room");
        EXPECT_EQ(Vars::value("hero_scene"), "room.Room");
    }
    EXPECT_EQ(hero->getSpeed(), 70.0f);
    EXPECT_EQ(hero->walkAnimationFactor, 1.5f);
    // An extra needs no "_scene" variable of its own: the attach makes it.
    EXPECT_FALSE(Vars::variables.exists("pal_scene"));
    room(R"(<Object type="Character2D" name="pal_ref" chr="pal" x="30" y="290" direction="NE">
        <Property name="position" value="200,310,W"/>
    </Object>)",
         "", "hall");
    enter(Session::activeScene);
    EXPECT_EQ(Vars::get("pal_scene")->name, "pal_scene");
    EXPECT_EQ(Vars::value("pal_scene"), "hall.Room");
    auto* pal = dynamic_cast<Character2D*>(characters->getObject("pal"));
    EXPECT_EQ(pal->getPosition(), morvec::Vector3(30, 290, 0)); // its own position wins
    EXPECT_EQ(pal->getOrientation(), "NE");
    EXPECT_EQ(pal->getSpeed(), 50.0f); // speed 0: the character's default
}

TEST_F(ReferenceTest, TheDrawingHeightShrinksWithTheScenesDepth) {
    Scene* scene = room(R"(<Object type="Character2D" name="hero_ref" chr="hero" x="10" y="200"/>
        <Object type="Character2D" name="tall_ref" chr="hero" height="80" x="10" y="200"/>
        <Object type="Character2D" name="dummy_ref" chr="dummy"/>)",
                        R"(zbase="100" zfactor="0.25")");
    enter(scene);
    auto height = [&](const char* name) {
        return dynamic_cast<Character2DRef*>(scene->root->getChild(name))->getHeight();
    };
    EXPECT_FLOAT_EQ(height("hero_ref"), 60 - 50); // the box height less the depth at y 200
    EXPECT_FLOAT_EQ(height("tall_ref"), 80 - 50);
    EXPECT_FLOAT_EQ(height("dummy_ref"), 64);
}

TEST_F(ReferenceTest, TheDepthSortMovesOnlyCharactersAndZorderObjectsLowerOnTheScreenToTheFront) {
    Scene* scene = room(R"(<Object type="ImageBox" name="backdrop" image="Room"/>
        <Object type="Character2D" name="hero_ref" chr="hero" x="10" y="200"/>
        <Object type="ImageBox" name="zorder_table,40" y="150" image="Room"/>
        <Object type="ImageBox" name="lamp" y="400" image="Room"/>
        <Object type="Character2D" name="pal_ref" chr="pal" x="10" y="180"/>
        <Object type="ImageBox" name="zorderly,5" y="300" image="Room"/>
        <Object type="Character2D" name="pal_ignore_zorder" chr="pal" x="10" y="180"/>)");
    enter(scene);
    auto* pal = dynamic_cast<Character2D*>(characters->getObject("pal"));
    struct Case {
        float heroY, palY;
        const char* order;
    };
    const Case cases[] = {
        // Keys: pal 180, the table 150 + 40, hero 200, "zorderly" 300 + 5.
        {200, 180, "backdrop pal_ref zorder_table,40 lamp hero_ref zorderly,5 pal_ignore_zorder"},
        {100, 180, "backdrop hero_ref pal_ref lamp zorder_table,40 zorderly,5 pal_ignore_zorder"},
        {180, 180, "backdrop hero_ref pal_ref lamp zorder_table,40 zorderly,5 pal_ignore_zorder"}, // ties keep order
        {400, 300, "backdrop zorder_table,40 pal_ref lamp zorderly,5 hero_ref pal_ignore_zorder"},
    };
    for (const Case& c : cases) {
        hero->placeAt("S", 10, c.heroY);
        pal->placeAt("S", 10, c.palY);
        Character2D::sortSceneObjects();
        EXPECT_EQ(order(scene), c.order) << c.heroY << " " << c.palY;
    }
}

TEST_F(ReferenceTest, BrokenPlacementsZorderNamesAndAnimationsAreRefusedAtLoad) {
    struct Case {
        const char* chapter;
        const char* object;
        const char* complaint;
    };
    const Case cases[] = {
        {"a", R"(<Object type="Character2D" name="bad_ref" chr="hero" position="100,300"/>)",
         "character reference 'bad_ref': the position '100,300' needs x, y and a direction"},
        {"b",
         R"(<Object type="Character2D" name="bad_ref" chr="hero"><Property name="position_if:1" value="7"/></Object>)",
         "the position '7' needs x, y and a direction"},
        {"c", R"(<Object type="ImageBox" name="zorder_table" image="Room"/>)",
         "object 'zorder_table' needs a ',' and a depth after 'zorder'"},
    };
    for (const Case& c : cases) {
        definition(c.chapter, {"Room"});
        scene(c.chapter, "Room.scene", std::string("<Scene name=\"Room\">\n") + c.object + "\n</Scene>");
        map(c.chapter, "Room", {});
        try {
            chapter(c.chapter)->load();
            ADD_FAILURE() << c.object;
        } catch (const vessot::exception& e) {
            EXPECT_NE(e.message().find(c.complaint), std::string::npos) << e.message();
            EXPECT_NE(e.message().find("Room.scene"), std::string::npos) << e.message();
        }
    }
    definition(
        "d", {},
        R"(<Object type="Character2DDef" name="odd" chr="odd"><Property name="Animation:Walk" value="8"/></Object>)");
    try {
        chapter("d")->load();
        ADD_FAILURE();
    } catch (const vessot::exception& e) {
        EXPECT_NE(e.message().find("Animation:Walk needs 'frames,length', not '8'"), std::string::npos) << e.message();
    }
}

} // namespace
