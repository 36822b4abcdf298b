// Scene code that unloads its own chapter while it runs: the engine's callbacks hold a
// Lifetime::Scope, so the scene, its commands and its actions stay valid until the callback returns.
// The sanitizers report any use after free.
#include "engine/app/Lifetime.h"
#include "ChapterFixture.h"
#include "engine/scene/BootCommand.h"
#include "script/Action.h"

namespace {

// Unloads the chapter that owns it, as a scene switch to another chapter does. Its hotspot takes a
// click directly (its key names a cursor).
class UnloadingAction : public Action {
public:
    explicit UnloadingAction(Chapter* chapter) {
        setOwner(chapter);
        setRolloverKey("RO_EXIT|x");
    }
    void execute() override {
        ++runs;
        getOwner()->unload();
    }
    Action* clone() override { return new UnloadingAction(getOwner()); }
    String getTypeName() const override { return "UnloadChapter"; }

    static int runs;
};
int UnloadingAction::runs = 0;

class CountingScene : public Scene {
public:
    using Scene::Scene;
    void onEnter() override { ++entered; }
    static int entered;
};
int CountingScene::entered = 0;

void registerRoom(Chapter* chapter) {
    chapter->registerScene("Room", new CountingScene(chapter, "Room"));
}

class LifetimeTest : public ChapterFixture {
protected:
    Scene* room() {
        define("before", "0");
        define("after", "0");
        definition("test", {"Room"});
        scene("test", "Room.scene", R"(<Scene name="Room">
            <Execute cmd="inc_var before 1"/>
            <Object type="ImageBox" name="lamp" x="1" y="2" w="3" h="4" image="Room"/>
            <Execute cmd="inc_var after 1"/>
        </Scene>)");
        map("test", "Room", {{0, 0, 100, 100, 0x00FF00}});
        test = chapter("test", registerRoom);
        test->load();
        Session::activeScene = test->getScene("Room");
        return Session::activeScene;
    }

    Chapter* test = nullptr;
};

} // namespace

TEST_F(LifetimeTest, ClickOnAnActionThatUnloadsTheScenesChapter) {
    Scene* scene = room();
    scene->bootCommands.push_back(new BootCommand_ActionSet("", 0x00FF00, new UnloadingAction(test)));
    scene->activate();
    ASSERT_EQ(scene->root->getChildren().size(), 1u);
    {
        Lifetime::Scope callback;
        EXPECT_TRUE(scene->onMouseUp(50, 50, 1));
        EXPECT_EQ(UnloadingAction::runs, 1);
        EXPECT_FALSE(test->isLoaded());
        EXPECT_TRUE(test->scenes.empty());
        EXPECT_EQ(Session::activeScene, nullptr);
        // The scene is gone from its chapter but still whole until the callback returns.
        EXPECT_TRUE(Lifetime::isDeferring());
        EXPECT_EQ(scene->getFullName(), "test.Room");
        EXPECT_TRUE(scene->root->getChildren().empty());
        EXPECT_FALSE(scene->onMouseUp(150, 150, 1));
    }
    // The chapter loads again with new scenes.
    test->load();
    Session::activeScene = test->getScene("Room");
    Session::activeScene->activate();
    EXPECT_EQ(Vars::value("after"), "2");
}

TEST_F(LifetimeTest, BootCommandThatUnloadsTheScenesChapterEndsTheActivation) {
    Scene* scene = room();
    auto& commands = scene->bootCommands;
    commands.insert(commands.begin() + 2, new BootCommand_ExecuteAction("", new UnloadingAction(test)));
    {
        Lifetime::Scope callback;
        scene->activate();
        EXPECT_EQ(UnloadingAction::runs, 1);
        EXPECT_FALSE(scene->isActivating());
    }
    // The commands before the unload ran, those after it did not, and the scene was not entered.
    EXPECT_EQ(Vars::value("before"), "1");
    EXPECT_EQ(Vars::value("after"), "0");
    EXPECT_EQ(CountingScene::entered, 0);
    EXPECT_FALSE(test->isLoaded());
    EXPECT_EQ(Session::activeScene, nullptr);
}

TEST_F(LifetimeTest, ContentRetiredInsideScopesWaitsForTheOutermost) {
    std::vector<int> destroyed;
    {
        Lifetime::Scope outer;
        {
            Lifetime::Scope inner;
            Lifetime::retire([&] {
                destroyed.push_back(1);
                // Destroying one piece may retire another; it goes in the same pass.
                Lifetime::retire([&] { destroyed.push_back(2); });
            });
        }
        EXPECT_TRUE(destroyed.empty());
    }
    EXPECT_EQ(destroyed, (std::vector<int>{1, 2}));
    EXPECT_FALSE(Lifetime::isDeferring());
    Lifetime::retire([&] { destroyed.push_back(3); });
    EXPECT_EQ(destroyed, (std::vector<int>{1, 2, 3}));
}
