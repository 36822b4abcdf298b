#include "GuiTest.h"

using namespace nimboui;
using morvec::Rectangle;

namespace {

// A tree made by code: the test owns every object.
class InputTest : public GuiTest {
protected:
    Object* make(const String& name, Rectangle rect, Object* parent = nullptr) {
        owned.push_back(std::make_unique<Object>("Object", name, rect));
        if (parent) {
            parent->addChild(owned.back().get());
        }
        return owned.back().get();
    }

    // Counts the events of an object by name ("Click", "MouseDown").
    void count(Object* object, const String& event) {
        object->registerEvent(
            event, [this, event](EventArgs* args) { fired.push_back(args->object->getName() + ":" + event); });
    }

    bool click(float x, float y) {
        root->OnMouseDown(x, y, 1);
        return root->OnMouseUp(x, y, 1);
    }

    std::vector<std::unique_ptr<Object>> owned;
    std::vector<String> fired;
    Object* root = make("ui", Rectangle(0, 0, 426, 320));
};

} // namespace

TEST_F(InputTest, OnlyVisibleOpaqueInteractiveObjectsTakeThePointer) {
    struct Case {
        const char* what;
        bool visible;
        float alpha;
        bool handler;
        bool blocker;
        bool consumed;
    };
    const Case cases[] = {
        {"a button", true, 1.0f, true, false, true},
        {"a faded-in button", true, 0.01f, true, false, true},
        {"an invisible button", false, 1.0f, true, false, false},
        {"a transparent button", true, 0.0f, true, false, false},
        {"a plain picture", true, 1.0f, false, false, false},
        {"a blocker", true, 1.0f, false, true, true},
        {"a faded-out blocker", true, 0.0f, false, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Object* o = make("o", Rectangle(10, 10, 50, 50), root);
        o->setVisible(c.visible);
        o->setAlpha(c.alpha);
        o->setBlockingInput(c.blocker);
        if (c.handler) {
            count(o, "Click");
        }
        EXPECT_EQ(root->OnMouseDown(20, 20, 1), c.consumed);
        EXPECT_EQ(root->OnMouseUp(20, 20, 1), c.consumed);
        EXPECT_FALSE(root->OnMouseUp(5, 5, 1));
        root->removeChild(o);
    }
    EXPECT_EQ(fired, (std::vector<String>{"o:Click", "o:Click"}));
    fired.clear();
    // A transparent parent hides the pointer from its children too.
    Object* parent = make("parent", Rectangle(0, 0, 100, 100), root);
    Object* child = make("child", Rectangle(0, 0, 10, 10), parent);
    count(child, "Click");
    parent->setAlpha(0.0f);
    EXPECT_FALSE(click(5, 5));
    parent->setAlpha(0.5f);
    EXPECT_TRUE(click(5, 5));
    EXPECT_EQ(fired, std::vector<String>{"child:Click"});
}

TEST_F(InputTest, AnimatorsHaveNoArea) {
    Object* box = make("box", Rectangle(0, 0, 100, 100), root);
    Animators::AlphaFader fader("box_fader");
    box->addChild(&fader);
    fader.setBlockingInput(true);
    fader.registerEvent("Click", [](EventArgs*) {});
    EXPECT_FALSE(click(0, 0));
    EXPECT_EQ(root->getChildUnderPoint(0, 0), box);
    box->removeChild(&fader);
}

TEST_F(InputTest, ClickFiresOnlyForAPressAndReleaseOverTheSameObject) {
    Object* a = make("a", Rectangle(0, 0, 50, 50), root);
    Object* b = make("b", Rectangle(100, 0, 50, 50), root);
    count(a, "Click");
    count(a, "MouseDown");
    count(b, "Click");
    EXPECT_TRUE(root->OnMouseDown(10, 10, 1));
    EXPECT_TRUE(a->isPressed());
    EXPECT_TRUE(root->OnMouseUp(110, 10, 1));
    EXPECT_FALSE(a->isPressed());
    EXPECT_TRUE(root->OnMouseDown(300, 300, 1) == false);
    EXPECT_TRUE(root->OnMouseUp(10, 10, 1));
    // A press on a, released far away (a cancelled press), ends the press: consumed, no Click,
    // also when a release over a follows.
    root->OnMouseDown(10, 10, 1);
    EXPECT_TRUE(root->OnMouseUp(-10000, -10000, 1));
    EXPECT_TRUE(root->OnMouseUp(10, 10, 1));
    EXPECT_TRUE(click(120, 10));
    EXPECT_EQ(fired, (std::vector<String>{"a:MouseDown", "a:MouseDown", "b:Click"}));
}

TEST_F(InputTest, ADragFromSlotToSlotClicksTheContainerOnce) {
    Object* panel = make("inv", Rectangle(50, 50, 300, 100), root);
    Object* slot0 = make("inv_slot0", Rectangle(10, 10, 40, 40), panel);
    Object* slot1 = make("inv_slot1", Rectangle(60, 10, 40, 40), panel);
    count(panel, "Click");
    count(slot0, "Click");
    count(slot0, "MouseDown");
    count(slot1, "Click");
    root->OnMouseDown(65, 65, 1);
    EXPECT_TRUE(root->OnMouseUp(115, 65, 1));
    EXPECT_EQ(fired, (std::vector<String>{"inv_slot0:MouseDown", "inv:Click"}));
    fired.clear();
    EXPECT_TRUE(click(120, 70));
    EXPECT_EQ(fired, std::vector<String>{"inv_slot1:Click"});
}

TEST_F(InputTest, AReleaseInAnotherTreeStillClicksThere) {
    Object* scene = make("scene_objowner", Rectangle(0, 0, 426, 320));
    Object* skip = make("skip_button", Rectangle(0, 0, 30, 30), scene);
    count(skip, "Click");
    // The interface declines the press and the release; the scene gets both.
    EXPECT_FALSE(root->OnMouseDown(5, 5, 1));
    EXPECT_TRUE(scene->OnMouseDown(5, 5, 1));
    EXPECT_FALSE(root->OnMouseUp(5, 5, 1));
    EXPECT_FALSE(skip->isPressed());
    EXPECT_TRUE(scene->OnMouseUp(5, 5, 1));
    EXPECT_EQ(fired, std::vector<String>{"skip_button:Click"});
}

TEST_F(InputTest, DisabledObjectsBlockWithoutHoverOrClick) {
    Object* button = make("b", Rectangle(0, 0, 50, 50), root);
    count(button, "Click");
    button->setDisabled(true);
    EXPECT_TRUE(click(10, 10));
    EXPECT_TRUE(root->OnMouseMove(10, 10));
    EXPECT_FALSE(button->isHovered());
    button->setDisabled(false);
    root->OnMouseMove(10, 10);
    EXPECT_TRUE(button->isHovered());
    root->OnMouseMove(200, 200);
    EXPECT_FALSE(button->isHovered());
    EXPECT_TRUE(fired.empty());
}

TEST_F(InputTest, AHandlerMayUnregisterItself) {
    Object* button = make("b", Rectangle(0, 0, 50, 50), root);
    int calls = 0;
    String captured = "kept alive by the handler";
    button->registerEvent("Click", [&, captured](EventArgs* args) {
        ++calls;
        args->object->registerEvent("Click", nullptr);
        EXPECT_EQ(captured, "kept alive by the handler");
    });
    EXPECT_TRUE(click(10, 10));
    EXPECT_FALSE(click(10, 10));
    EXPECT_EQ(calls, 1);
}

TEST_F(InputTest, AHandlerMayDestroyItsOwnSubtree) {
    // Owned by the dataset, which the handler unloads, like a scene switch leaving a chapter.
    Dataset* ds = dataset("chapter", "<Dataset/>");
    auto* container = new Object("Object", "container", Rectangle(0, 0, 200, 200));
    auto* button = new Object("Object", "button", Rectangle(10, 10, 50, 50));
    auto* sibling = new Object("Object", "sibling", Rectangle(0, 0, 200, 200));
    ds->registerManualObject(container);
    ds->registerManualObject(button);
    ds->registerManualObject(sibling);
    root->addChild(container);
    container->addChild(sibling);
    container->addChild(button);
    count(sibling, "Click");
    button->registerEvent("Click", [&](EventArgs*) {
        fired.push_back("button:Click");
        ds->unload();
    });
    EXPECT_TRUE(click(20, 20));
    EXPECT_EQ(fired, std::vector<String>{"button:Click"});
    EXPECT_TRUE(root->getChildren().empty());
    EXPECT_FALSE(click(20, 20));
}

TEST_F(InputTest, AHandlerThatDetachesLaterSiblingsKeepsThemFromTheDispatch) {
    Object* back = make("back", Rectangle(0, 0, 100, 100), root);
    Object* front = make("front", Rectangle(0, 0, 100, 100), root);
    count(back, "MouseDown");
    front->registerEvent("MouseDown", [&](EventArgs*) { root->removeAllChildren(); });
    // The front object takes the press; nothing behind it is reached, detached or not.
    EXPECT_TRUE(root->OnMouseDown(10, 10, 1));
    EXPECT_TRUE(fired.empty());
    EXPECT_EQ(front->getParent(), nullptr);
    EXPECT_EQ(back->getParent(), nullptr);
}

TEST_F(InputTest, EventsTravelFrontMostFirstInTheParentsSpace) {
    Object* panel = make("panel", Rectangle(100, 100, 200, 200), root);
    Object* under = make("under", Rectangle(0, 0, 50, 50), panel);
    Object* over = make("over", Rectangle(0, 0, 50, 50), panel);
    count(under, "Click");
    count(over, "Click");
    over->registerEvent("MouseDown", [&](EventArgs* args) {
        EXPECT_FLOAT_EQ(args->x, 10.0f);
        EXPECT_FLOAT_EQ(args->y, 20.0f);
    });
    EXPECT_TRUE(click(110, 120));
    EXPECT_FALSE(click(10, 20));
    under->moveToFront();
    EXPECT_TRUE(click(110, 120));
    EXPECT_EQ(fired, (std::vector<String>{"over:Click", "under:Click"}));
}

TEST_F(InputTest, ChildUnderPointIsTheDeepestVisibleOneOrItself) {
    Object* panel = make("panel", Rectangle(100, 100, 200, 200), root);
    Object* slot = make("slot", Rectangle(10, 10, 40, 40), panel);
    Object* hidden = make("hidden", Rectangle(10, 10, 40, 40), panel);
    hidden->setVisible(false);
    Object* clear = make("clear", Rectangle(10, 10, 40, 40), panel);
    clear->setAlpha(0.0f);
    EXPECT_EQ(root->getChildUnderPoint(115, 115), slot);
    EXPECT_EQ(root->getChildUnderPoint(morvec::Vector2(200, 250)), panel);
    EXPECT_EQ(root->getChildUnderPoint(5, 5), root);
    EXPECT_EQ(root->getChildUnderPoint(-10000, -10000), root);
}

TEST_F(InputTest, DestroyingDetachesFromTheParentAndFreesTheChildren) {
    Object* parent = make("parent", Rectangle(0, 0, 10, 10), root);
    Object* child = make("child", Rectangle(0, 0, 10, 10), parent);
    for (auto& o : owned) {
        if (o.get() == parent) {
            o.reset();
        }
    }
    EXPECT_TRUE(root->getChildren().empty());
    EXPECT_EQ(child->getParent(), nullptr);
    EXPECT_THROW(child->addChild(child), _GenericException);
    child->addChild(root);
    EXPECT_THROW(root->addChild(child), _GenericException);
}

TEST_F(InputTest, ChildrenCanBeReorderedButNotReplaced) {
    Object* a = make("a", Rectangle(), root);
    Object* b = make("b", Rectangle(), root);
    Object* c = make("c", Rectangle(), root);
    root->reorderChildren({c, a, b});
    EXPECT_EQ(root->getChildren(), (std::vector<Object*>{c, a, b}));
    b->moveToBack();
    EXPECT_EQ(root->getChildren(), (std::vector<Object*>{b, c, a}));
    EXPECT_THROW(root->reorderChildren({a, b}), _GenericException);
    EXPECT_THROW(root->reorderChildren({a, b, b}), _GenericException);
    EXPECT_EQ(root->getChild("c"), c);
}

TEST_F(InputTest, UpdateReachesHiddenChildrenAndNotifyReachesAll) {
    Object* hidden = make("hidden", Rectangle(), root);
    hidden->setVisible(false);
    Animators::AlphaFader fader("hidden_fader");
    hidden->addChild(&fader);
    fader.fade(0.0f, 1.0f);
    root->update(0.5f);
    EXPECT_FLOAT_EQ(hidden->getAlpha(), 0.5f);
    hidden->removeChild(&fader);

    struct Listener : Object {
        Listener() : Object("Listener", "l", Rectangle()) {}
        void notifyEvent(const String& event, void* params) override {
            heard = event + ":" + static_cast<const char*>(params);
            Object::notifyEvent(event, params);
        }
        String heard;
    } listener;
    hidden->addChild(&listener);
    char text[] = "scene";
    root->notifyEvent("AttachToObject", text);
    EXPECT_EQ(listener.heard, "AttachToObject:scene");
    hidden->removeChild(&listener);
}

TEST_F(InputTest, KeysAndCharactersGoToTheFocusedEditBox) {
    EditBox box("name_box", Rectangle(0, 0, 100, 20));
    root->addChild(&box);
    box.setMaxLength(3);
    EXPECT_FALSE(root->OnChar('a'));
    root->OnMouseDown(5, 5, 1);
    root->OnMouseUp(5, 5, 1);
    EXPECT_TRUE(box.hasFocus());
    for (unsigned int c : {0x41u, 0xE9u, 0x20ACu, 0x42u}) {
        EXPECT_TRUE(root->OnChar(c));
    }
    EXPECT_EQ(box.getText(), "A\xC3\xA9\xE2\x82\xAC");
    EXPECT_TRUE(root->OnKeyDown(8));
    EXPECT_EQ(box.getText(), "A\xC3\xA9");
    String submitted;
    box.registerEvent("Submit", [&](EventArgs* args) { submitted = args->text; });
    EXPECT_TRUE(root->OnKeyDown(13));
    EXPECT_EQ(submitted, "A\xC3\xA9");
    EXPECT_FALSE(root->OnKeyDown(27));
    box.setFocus(false);
    EXPECT_FALSE(root->OnChar('x'));
    root->removeChild(&box);
}
