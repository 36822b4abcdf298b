// The viewport: the view rectangle by window shape and "aspect", the pointer mapped onto the scene
// and the interface, the widescreen offset, the zoom camera's easing, pinch and drag, and the
// wide-scene camera with its scroll and edge walk target.
#include "RunningGame.h"

#include "engine/view/Viewport.h"
#include "script/Inventory.h"
#include "ui/Hud.h"

#include "nimbo/Nimbo.h"
#include "vessot/Log.h"

#include <cstdlib>

namespace {

// A bare window and an active scene of a chapter that is never loaded: all the view needs.
class ViewportMath : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("ZEPH_HEADLESS", "1", 1);
        unsetenv("ZEPH_WINDOW");
        vessot::Log::setEcho(false);
        Session::params["aspect"] = "4:3";
        Session::params["target"] = "pc";
        Vars::getOrCreate("zoom_tutorial")->setValue("0", true);
        Vars::getOrCreate("current_character")->setValue("vorne", true);
    }
    void TearDown() override {
        close();
        vessot::Log::setEcho(true);
    }

    void open(int width, int height, const vessot::String& dataset = "ship") {
        close();
        nimbo::init();
        nimbo::createRenderSystem();
        nimbo::createWindow(width, height, false, "viewport");
        chapter =
            new Chapter(dataset == "ui" ? "data/ui/ui_hd.datadef" : "data/chapters/ship/ship_hd.datadef", nullptr);
        scene = new Scene(chapter, "View");
        Session::activeScene = scene;
    }

    void close() {
        Session::activeScene = nullptr;
        delete scene;
        delete chapter;
        scene = nullptr;
        chapter = nullptr;
        if (nimbo::window) {
            nimbo::destroy();
        }
    }

    Chapter* chapter = nullptr;
    Scene* scene = nullptr;
};

void expectRect(const morvec::Rectangle& r, float x, float y, float w, float h) {
    EXPECT_NEAR(r.x, x, 1e-3f);
    EXPECT_NEAR(r.y, y, 1e-3f);
    EXPECT_NEAR(r.w, w, 1e-3f);
    EXPECT_NEAR(r.h, h, 1e-3f);
}

TEST_F(ViewportMath, TheViewRectangleFitsTheVirtualScreenIntoTheWindowByAspect) {
    struct Case {
        int width, height;
        const char* aspect;
        const char* dataset;
        float x, y, w, h;
    };
    const Case cases[] = {
        {640, 480, "4:3", "ship", 0, -0.25f, 426, 319.5f}, // 426 units wide, not 426.67
        {1280, 720, "4:3", "ship", 71.44446f, 0, 568.8889f, 320},
        {1000, 1000, "4:3", "ship", 0, -0.25f, 426, 319.5f}, // narrower than 4:3 counts as 4:3
        {1280, 800, "16:10", "ship", 0, -0.25f, 426, 319.5f},
        {640, 480, "16:9", "ship", 0, 52.99997f, 426, 425.99994f},
        {1280, 720, "screen", "ship", 0, 0, 426, 320},
        {1280, 720, "screen", "ui", 71.44446f, 0, 568.8889f, 320}, // menus keep to 4:3
        {1280, 720, "16:9", "ui", 71.44446f, 0, 568.8889f, 320},
        // Not a ratio: 4:3.
        {1280, 720, "", "ship", 71.44446f, 0, 568.8889f, 320},
        {1280, 720, "wide", "ship", 71.44446f, 0, 568.8889f, 320},
        {1280, 720, "0:3", "ship", 71.44446f, 0, 568.8889f, 320},
        {1280, 720, "4:-3", "ship", 71.44446f, 0, 568.8889f, 320},
        {1280, 720, "4:", "ship", 71.44446f, 0, 568.8889f, 320},
        // Ratios from 1:4 to 4:1 count; others, and numbers too large for a ratio, are 4:3.
        {1280, 720, "1:4", "ship", 1304.0371f, 0, 3034.0742f, 320},
        {1280, 720, "4:1", "ship", 0, 199.4375f, 426, 718.875f},
        {1280, 720, "1:4.1", "ship", 71.44446f, 0, 568.8889f, 320},
        {1280, 720, "4.1:1", "ship", 71.44446f, 0, 568.8889f, 320},
        {1280, 720, "10000000000000000000000000000000000000000:1", "ship", 71.44446f, 0, 568.8889f, 320},
        {1280, 720, "1:10000000000000000000000000000000000000000", "ship", 71.44446f, 0, 568.8889f, 320},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " '" << c.aspect << "' " << c.dataset);
        open(c.width, c.height, c.dataset);
        Session::params["aspect"] = c.aspect;
        expectRect(Viewport::getViewportRect(false), c.x, c.y, c.w, c.h);
    }
}

TEST_F(ViewportMath, TheInterfaceKeepsItsHeightAndWidensOnlyPastItsThreshold) {
    struct Case {
        int width, height;
        const char* screenshot;
        bool hud;
        // The projection by rectangle, or by size when the rectangle is empty.
        morvec::Rectangle rect;
        morvec::Vector2 size;
    };
    const Case cases[] = {
        {640, 480, "0", true, {0, 0, 426, 320}, {}},
        {670, 500, "0", true, {0, 0, 426, 320}, {}},                 // 1.34: below the threshold of 1.3433334
        {690, 512, "0", true, {2.2880859f, 0, 430.57617f, 320}, {}}, // 1.3476563
        {1280, 720, "0", true, {71, 0, 568, 320}, {}},
        {1920, 1080, "0", true, {71, 0, 568, 320}, {}},
        {1280, 720, "0", false, {71.44446f, 0, 568.8889f, 320}, {}},
        // Screenshot mode: the virtual screen on the largest multiples of 256 pixels; a side below
        // 256 pixels counts whole.
        {640, 480, "1", true, {}, {532.5f, 600}},
        {640, 480, "1", false, {}, {532.5f, 600}},
        {1920, 1080, "1", true, {}, {456.42857f, 337.5f}},
        {200, 150, "1", true, {}, {426, 320}},
        {300, 200, "1", false, {}, {499.21875f, 320}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << (c.hud ? " interface" : " scene")
                                        << (c.screenshot == vessot::String("1") ? " screenshot" : ""));
        open(c.width, c.height);
        Session::params["screenshot"] = c.screenshot;
        nimbo::RenderSystem* rs = nimbo::rendersys;
        c.rect.w > 0 ? rs->setOrthoProjection(c.rect) : rs->setOrthoProjection(c.size);
        morvec::Matrix4 expected = rs->getProjectionMatrix();
        rs->setProjectionMatrix(morvec::Matrix4());
        Hud::setProjection(c.hud);
        morvec::Matrix4 actual = rs->getProjectionMatrix();
        for (int i = 0; i < 16; ++i) {
            EXPECT_NEAR(actual.at(i % 4, i / 4), expected.at(i % 4, i / 4), 1e-6f) << i;
        }
    }
    Session::params["screenshot"] = "0";
}

TEST_F(ViewportMath, MarginsCoverWhatTheScenesAspectLeavesOfTheWindow) {
    struct Case {
        int width, height;
        const char* aspect;
        const char* margintex;
        const char* dataset;
        // The images in order (null: a black bar) with their rectangles.
        std::vector<Hud::Margin> margins;
    };
    const Case cases[] = {
        {640, 480, "4:3", "1", "ship", {}},
        {1280,
         720,
         "4:3",
         "0",
         "ship",
         {{nullptr, {-81.44446f, -10, 81.44446f, 340}}, {nullptr, {426, -10, 81.44446f, 340}}}},
        {1280, 720, "4:3", "1", "ship", {{"margin", {-75, -2, 80, 324}}, {"margin_inv", {421, -2, 80, 324}}}},
        {1280, 720, "4:3", "1", "ui", {}},
        // Bars wider than a panel: the outer panels too.
        {2560,
         720,
         "4:3",
         "1",
         "ship",
         {{"margin", {-75, -2, 80, 324}},
          {"margin_inv", {421, -2, 80, 324}},
          {"margin_extra", {-137, -2, 62, 324}},
          {"margin_inv_extra", {501, -2, 62, 324}}}},
        {640,
         480,
         "16:9",
         "0",
         "ship",
         {{nullptr, {-10, -62.99997f, 446, 62.99997f}}, {nullptr, {-10, 320, 446, 62.99997f}}}},
        {640, 480, "16:9", "1", "ship", {{"vmargin", {-2, -75, 430, 80}}, {"vmargin_inv", {-2, 315, 430, 80}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " '" << c.aspect << "' margintex "
                                        << c.margintex << " " << c.dataset);
        open(c.width, c.height, c.dataset);
        Session::params["aspect"] = c.aspect;
        Session::params["margintex"] = c.margintex;
        std::vector<Hud::Margin> margins = Hud::margins();
        ASSERT_EQ(margins.size(), c.margins.size());
        for (size_t i = 0; i < margins.size(); ++i) {
            EXPECT_STREQ(margins[i].image, c.margins[i].image);
            expectRect(margins[i].rect, c.margins[i].rect.x, c.margins[i].rect.y, c.margins[i].rect.w,
                       c.margins[i].rect.h);
        }
    }
}

TEST_F(ViewportMath, TheCameraPansAndZoomsTheViewRectangle) {
    open(640, 480);
    viewPan = morvec::Vector2(10, 5);
    currentViewZoom = 0.5f;
    expectRect(Viewport::getViewportRect(true), -10, -5.25f, 213, 159.75f);
    expectRect(Viewport::getViewportRect(false), 0, -0.25f, 426, 319.5f);
    Session::activeScene = nullptr;
    expectRect(Viewport::getViewportRect(true), 0, 0, 426, 320);
}

TEST_F(ViewportMath, ThePointerMapsOntoTheSceneAndOntoTheInterface) {
    struct Case {
        int width, height;
        float wx, wy;
        float sceneX, sceneY;
        float guiX, guiY;
        float widescreenOffset;
    };
    const Case cases[] = {
        {640, 480, 320, 240, 213, 160, 213.33333f, 160, 0},
        {1280, 720, 640, 360, 213, 160, 213.33333f, 160, 71.11111f},
        {1280, 720, 0, 0, -71.44446f, 0, -71.11111f, 0, 71.11111f},
        {530, 400, 265, 200, 213, 160, 212, 160, 0}, // 1.325: by height, no offset
        {528, 400, 264, 200, 213, 160, 213, 160, 0}, // 1.32: stretched onto 426 x 320
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " at " << c.wx << "," << c.wy);
        open(c.width, c.height);
        Viewport::mapCursor(c.wx, c.wy);
        EXPECT_NEAR(sceneCursor.x, c.sceneX, 1e-3f);
        EXPECT_NEAR(sceneCursor.y, c.sceneY, 1e-3f);
        EXPECT_NEAR(nimboui::getCursorPosition().x, c.guiX, 1e-3f);
        EXPECT_NEAR(nimboui::getCursorPosition().y, c.guiY, 1e-3f);
        EXPECT_NEAR(Viewport::getWidescreenOffset(), c.widescreenOffset, 1e-3f);
    }
}

TEST_F(ViewportMath, ZoomEasesTowardItsTargetAndCarriesThePanAlongInProportion) {
    open(640, 480);
    viewZoom = 0.5f;
    targetViewPan = morvec::Vector2(100, 50);
    Viewport::updateCamera(0.1f);
    EXPECT_NEAR(currentViewZoom, 0.85f, 1e-6f);
    EXPECT_NEAR(viewPan.x, 30, 1e-4f);
    EXPECT_NEAR(viewPan.y, 15, 1e-4f);
    for (int i = 0; i < 10; ++i) {
        Viewport::updateCamera(0.1f);
    }
    EXPECT_EQ(currentViewZoom, 0.5f);
    EXPECT_EQ(viewPan, targetViewPan);
}

TEST_F(ViewportMath, PanEasesByATenthOfTheDistanceAndFinishesAtAConstantSpeed) {
    open(640, 480);
    viewZoom = currentViewZoom = 0.5f;
    targetViewPan = morvec::Vector2(100, 0);
    Viewport::updateCamera(0.01f);
    EXPECT_NEAR(viewPan.x, 10, 1e-4f);
    EXPECT_EQ(viewPan.y, 0);
    viewPan = morvec::Vector2();
    targetViewPan = morvec::Vector2(0.05f, 0.02f);
    Viewport::updateCamera(0.01f); // both within 0.1: both move 0.1, stopping on the target
    EXPECT_EQ(viewPan, targetViewPan);
}

TEST_F(ViewportMath, AnUnzoomedCameraStandsStillAndALockedSceneZoomsOut) {
    open(640, 480);
    targetViewPan = morvec::Vector2(30, 30);
    Viewport::updateCamera(0.1f);
    EXPECT_EQ(viewPan, morvec::Vector2());
    viewZoom = currentViewZoom = 0.6f;
    Session::sceneLocked = true;
    Viewport::updateCamera(0.1f);
    Session::sceneLocked = false;
    EXPECT_EQ(viewZoom, 1.0f);
    EXPECT_EQ(targetViewPan, morvec::Vector2());
    EXPECT_NEAR(currentViewZoom, 0.75f, 1e-6f);
}

TEST_F(ViewportMath, APinchZoomsBetweenItsBoundsAroundThePointUnderTheFingers) {
    struct Case {
        const char* target;
        float zoom;
        morvec::Vector2 pan;
        float change;
        float expectedZoom;
        morvec::Vector2 expectedPan;
    };
    const Case cases[] = {
        {"pc", 1.0f, {0, 0}, -0.7f, 0.5f, {106.5f, 79.875f}},
        {"tablet", 1.0f, {0, 0}, -0.7f, 0.75f, {53.25f, 39.9375f}},
        {"pc", 0.5f, {106.5f, 79.875f}, 0.25f, 0.75f, {53.25f, 39.9375f}}, // the pan returns in proportion
        {"pc", 0.5f, {106.5f, 79.875f}, 0.9f, 1.0f, {0, 0}},
        {"pc", 0.5f, {106.5f, 79.875f}, 0.0f, 0.5f, {106.5f, 79.875f}},
    };
    open(640, 480);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.target << " " << c.zoom << " by " << c.change);
        Session::params["target"] = c.target;
        viewZoom = c.zoom;
        targetViewPan = c.pan;
        Viewport::handlePinchZoom(c.change, 0.5f, 0.5f);
        EXPECT_FLOAT_EQ(viewZoom, c.expectedZoom);
        EXPECT_NEAR(targetViewPan.x, c.expectedPan.x, 1e-3f);
        EXPECT_NEAR(targetViewPan.y, c.expectedPan.y, 1e-3f);
    }
}

TEST_F(ViewportMath, MenusNeitherZoomNorPan) {
    open(640, 480, "ui");
    Viewport::handlePinchZoom(-0.5f, 0.5f, 0.5f);
    EXPECT_EQ(viewZoom, 1.0f);
    viewZoom = 0.5f;
    Viewport::panView(10, 10);
    EXPECT_EQ(targetViewPan, morvec::Vector2());
}

TEST_F(ViewportMath, ADragMovesThePanAgainstTheFingerWithinTheView) {
    open(640, 480);
    Viewport::panView(10, 10); // unzoomed: nothing
    EXPECT_EQ(targetViewPan, morvec::Vector2());
    viewZoom = 0.5f;
    targetViewPan = morvec::Vector2(50, 50);
    Viewport::panView(10, -20);
    EXPECT_EQ(targetViewPan, morvec::Vector2(45, 60));
    Viewport::panView(200, -1000);
    EXPECT_EQ(targetViewPan, morvec::Vector2(0, 159.75f));
}

// The wide corridor of the running game and its current character.
class WideScene : public RunningGame {
protected:
    void SetUp() override {
        RunningGame::SetUp();
        walker = standCharacter(100, 290);
    }
    void place(float x, float y = 290) { walker->placeAt("S", x, y); }

    Character2D* walker = nullptr;
};

TEST_F(WideScene, EnteringAWideScenePlacesTheCameraOnTheCharacter) {
    const std::pair<float, float> table[] = {{100, 0}, {213, 0}, {500, 287}, {639, 426}, {800, 426}};
    switchNow("Corridor");
    for (auto [x, offset] : table) {
        // Entered again, the corridor leaves the character where it stands.
        place(x);
        switchNow("ship.Corridor");
        EXPECT_FLOAT_EQ(cameraOffsetX, offset) << x;
        EXPECT_EQ(cameraScrollSpeed, 0.0f);
    }
    switchNow("Cockpit");
    EXPECT_EQ(cameraOffsetX, 0.0f);
}

TEST_F(WideScene, TheCameraTargetKeepsWithinTheSceneWidth) {
    switchNow("Corridor");
    struct Case {
        const char* width;
        float x;
        float offset;
    };
    const Case cases[] = {
        {"852", 400, 187}, {"300", 100, 0}, {"300", 250, -126}, {"0", 500, 0}, {"broad", 500, 0}, {"-5", 50, 0},
    };
    for (const Case& c : cases) {
        Session::activeScene->properties["width"] = c.width;
        place(c.x);
        EXPECT_FLOAT_EQ(Viewport::getCameraOffsetX(), c.offset) << c.width << " at " << c.x;
    }
}

TEST_F(WideScene, TheScrollAcceleratesToFiftyAndNeverPassesItsTarget) {
    switchNow("Corridor");
    ASSERT_EQ(cameraOffsetX, 0.0f);
    place(700);
    float last = 0;
    for (int i = 0; i < 900; ++i) {
        Viewport::findWalkTarget(1.0f / 60.0f);
        ASSERT_GE(cameraOffsetX, last);
        ASSERT_LE(cameraOffsetX, 426.0f);
        ASSERT_LE(std::abs(cameraScrollSpeed), 50.0f);
        last = cameraOffsetX;
        if (i == 60 * 426 / 50 - 60) {
            EXPECT_LT(cameraOffsetX, 426.0f - 8.0f); // never faster than 50 units a second
        }
    }
    // Within 8 units the scroll only coasts, so it may come to rest just short of the target.
    EXPECT_GT(cameraOffsetX, 426.0f - 8.0f);
    EXPECT_EQ(cameraScrollSpeed, 0.0f);
}

TEST_F(WideScene, AScrollStepThatWouldPassTheTargetStopsOnIt) {
    switchNow("Corridor");
    place(639);
    cameraOffsetX = 425.5f;
    cameraScrollSpeed = 50.0f;
    Viewport::findWalkTarget(1.0f / 60.0f);
    EXPECT_EQ(cameraOffsetX, 426.0f);
    EXPECT_EQ(cameraScrollSpeed, 0.0f);
}

TEST_F(WideScene, APointerAtASideEdgeFindsAWalkTargetOnTheFloor) {
    switchNow("Corridor");
    sceneCursor = morvec::Vector2(408, 150);
    Viewport::findWalkTarget(0.0f);
    EXPECT_EQ(edgeWalkTarget, morvec::Vector2(408, 278));
    EXPECT_TRUE(Viewport::isCameraScrolling());
    Inventory::selectedItem = "wrench";
    EXPECT_FALSE(Viewport::isCameraScrolling());
    Inventory::selectedItem = "";

    sceneCursor = morvec::Vector2(200, 150); // not at an edge
    Viewport::findWalkTarget(0.0f);
    EXPECT_EQ(edgeWalkTarget, morvec::Vector2());
    EXPECT_FALSE(Viewport::isCameraScrolling());

    cameraOffsetX = 100;
    place(300, 300);
    sceneCursor = morvec::Vector2(10, 100); // the left edge, once the view has scrolled
    Viewport::findWalkTarget(0.0f);
    EXPECT_EQ(edgeWalkTarget, morvec::Vector2(110, 300));
}

TEST_F(WideScene, AnOrdinarySceneHasNoEdgeTarget) {
    sceneCursor = morvec::Vector2(410, 150);
    Viewport::findWalkTarget(0.0f);
    EXPECT_FALSE(Viewport::isWideScene());
    EXPECT_FALSE(Viewport::isCameraScrolling());
}

using ZoomTutorial = RunningGame;

TEST_F(ZoomTutorial, APinchAcrossThreeQuartersCompletesIt) {
    Vars::get("zoom_tutorial")->setValue("1", true);
    nimboui::Object* hint = Session::activeScene->chapter->getObject("zoom_tutorial");
    Viewport::handlePinchZoom(-0.1f, 0.5f, 0.5f);
    EXPECT_NEAR(hint->getAlpha(), 0.6f, 1e-5f);
    EXPECT_EQ(var("zoom_tutorial"), "1");
    Viewport::handlePinchZoom(-0.2f, 0.5f, 0.5f);
    EXPECT_EQ(var("zoom_tutorial"), "0");
    EXPECT_EQ(var("current_character"), "vorne");
    EXPECT_EQ(var("cockpit_visits"), "2"); // the cockpit was entered again
}

TEST_F(ZoomTutorial, APinchThatStartsBelowThreeQuartersNeverCompletesIt) {
    Vars::get("zoom_tutorial")->setValue("1", true);
    viewZoom = 0.7f;
    Viewport::handlePinchZoom(-0.1f, 0.5f, 0.5f);
    EXPECT_FLOAT_EQ(viewZoom, 0.6f);
    EXPECT_EQ(var("zoom_tutorial"), "1");
}

} // namespace
