// Mouse and touch input on the running game: the release's decision order, a hotspot click, a walk
// on free floor, the fast scene switch, the cancelled press, pinch, drag and the pointer's cursors.
#include "RunningGame.h"

#include "engine/app/EventDelegate.h"
#include "engine/view/Input.h"
#include "engine/view/Viewport.h"
#include "script/Actions.h"
#include "script/Inventory.h"
#include "script/Speech.h"
#include "script/ZephJobs.h"
#include "ui/Hud.h"
#include "ui/VerbCoin.h"

#include "nimbo/Nimbo.h"

#include <cmath>
#include <functional>

namespace {

const morvec::Vector2 COCKPIT_CONSOLE(180, 240);
const morvec::Vector2 COCKPIT_DOOR(391, 185);
// The middle of the console's lamp by the window.
const morvec::Vector2 CONSOLE_LAMP(56, 119);
// The centre of an interface object, in interface units (the HUD's buttons keep to the edges of a
// wide window).
morvec::Vector2 guiCentre(const char* name) {
    return GameHarness::centreOf(Hud::uiObject(name));
}

// An action of any type name that counts its runs.
class CountingAction : public Action {
public:
    CountingAction(const vessot::String& type, int* runs) : type(type), runs(runs) {}
    void execute() override { ++*runs; }
    Action* clone() override { return finishClone(new CountingAction(type, runs)); }
    vessot::String getTypeName() const override { return type; }

private:
    vessot::String type;
    int* runs;
};

// A hotspot's action without verbs of its own: the verb coin offers look and use for it.
int plainRuns = 0;
CountingAction plainAction("Execute", &plainRuns);

class PointerInput : public RunningGame {
protected:
    // Events at window pixels, delivered in the next frame.
    void send(std::vector<nimbo::InputEvent> events) {
        for (const nimbo::InputEvent& event : events) {
            nimbo::window->queueInput(event);
        }
        game->step();
    }
    void secondaryClick(morvec::Vector2 scenePoint) {
        morvec::Vector2 p = game->sceneToWindow(scenePoint.x, scenePoint.y);
        send({nimbo::InputEvent::move(p.x, p.y)});
        send({nimbo::InputEvent::down(p.x, p.y, 2), nimbo::InputEvent::up(p.x, p.y, 2)});
    }
    void pressGui(morvec::Vector2 guiPoint) {
        morvec::Vector2 p = game->guiToWindow(guiPoint.x, guiPoint.y);
        send({nimbo::InputEvent::move(p.x, p.y)});
        send({nimbo::InputEvent::down(p.x, p.y, 1)});
    }

    static nimboui::Object* ui(const char* name) { return Hud::uiObject(name); }
    static void show(const char* name, bool shown) {
        // Panels are open while visible with an alpha above 0; the inventory stays visible at alpha 0.
        ui(name)->setAlpha(shown ? 1.0f : 0.0f);
        if (shown) {
            ui(name)->setVisible(true);
        }
    }
    static bool consoleUsed() { return Vars::value("console_on") == "1"; }
};

TEST_F(PointerInput, NothingCountsWhileTheLoadingPictureIsMoreThanFortyPercentOpaque) {
    loadingScreenAlpha = 0.5f;
    game->press(COCKPIT_CONSOLE.x, COCKPIT_CONSOLE.y);
    EXPECT_FALSE(pointerHeld);
    pointerHeld = true;
    game->release(COCKPIT_CONSOLE.x, COCKPIT_CONSOLE.y);
    EXPECT_TRUE(pointerHeld);
    EXPECT_FALSE(consoleUsed());
}

TEST_F(PointerInput, AHotspotClickReachesItsAction) {
    auto lampShown = [this] {
        morvec::Vector2 p = game->sceneToWindow(CONSOLE_LAMP.x, CONSOLE_LAMP.y);
        return game->screenshot().getPixel((int)p.x, (int)p.y);
    };
    nimbo::Color dark = lampShown();
    game->click(COCKPIT_CONSOLE.x, COCKPIT_CONSOLE.y);
    EXPECT_TRUE(consoleUsed());
    // The action rebuilt the scene: the console's lamp now shows, lit, over the dark one.
    EXPECT_NE(Session::activeScene->root->getChild("console_light"), nullptr);
    nimbo::Color lit = lampShown();
    EXPECT_GT((int)lit.r, dark.r + 80);
    EXPECT_GT((int)lit.g, dark.g + 80);
    EXPECT_FALSE(pointerHeld);
}

TEST_F(PointerInput, TheReleaseThatEndsADragPanIsNoClick) {
    game->press(COCKPIT_CONSOLE.x, COCKPIT_CONSOLE.y);
    EXPECT_TRUE(pointerHeld);
    dragPanning = true;
    game->release(COCKPIT_CONSOLE.x, COCKPIT_CONSOLE.y);
    EXPECT_FALSE(dragPanning);
    EXPECT_FALSE(pointerHeld);
    EXPECT_FALSE(consoleUsed());
}

TEST_F(PointerInput, ASecondaryClickClosesWhatIsOpenFirstAndElseOpensTheInventory) {
    struct Case {
        const char* state;
        std::function<void()> set;
        std::function<void()> check;
    };
    const Case cases[] = {
        {"a confirmation", [] { Vars::get("cdialog")->setValue("Q,yes,none", true); },
         [] { EXPECT_EQ(Vars::value("cdialog"), ""); }},
        {"an item in hand", [] { Inventory::selectedItem = "wrench"; },
         [] { EXPECT_EQ(Inventory::getSelectedItem(), ""); }},
        {"the verb coin", [] { VerbCoin::showGenericLook(&plainAction); },
         [] { EXPECT_EQ(Vars::value("choice_menu_active"), "0"); }},
        {"the dialog panel", [] { show("dialog", true); }, [] { EXPECT_TRUE(Hud::isUiObjectShown("dialog")); }},
        {"the inventory", [] { InventoryPanel::open(); }, [] { EXPECT_EQ(Vars::value("inv_open"), "0"); }},
        {"a spoken line",
         [] {
             Speech::speechMap["vorne"] = {{"a line", 5.0f}};
         },
         [] { EXPECT_TRUE(Speech::speechMap.empty()); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.state);
        c.set();
        secondaryClick(morvec::Vector2(200, 100));
        c.check();
        show("dialog", false);
        // The closed confirmation's blocker takes the pointer until it has faded out, and the closed
        // inventory fades out.
        game->stepSeconds(0.6f);
        EXPECT_FALSE(Hud::isUiObjectShown("inv"));
    }
    secondaryClick(morvec::Vector2(200, 100));
    EXPECT_TRUE(Hud::isUiObjectShown("inv"));
}

TEST_F(PointerInput, AClickOnFreeFloorWalksTheCurrentCharacterThere) {
    Character2D* walker = standCharacter(200, 300);
    game->click(100, 300);
    ASSERT_EQ(walker->getJobQueueSize(), 1u);
    auto* walk = dynamic_cast<ZephJobs::SplineMove*>(walker->getCurrentJob());
    ASSERT_NE(walk, nullptr);
    EXPECT_NEAR(walk->getDestination().x, 100, 0.5f);
    EXPECT_NEAR(walk->getDestination().y, 300, 0.5f);

    game->click(300, 300); // a new walk replaces the one under way
    ASSERT_EQ(walker->getJobQueueSize(), 1u);
    walk = dynamic_cast<ZephJobs::SplineMove*>(walker->getCurrentJob());
    ASSERT_NE(walk, nullptr);
    EXPECT_NEAR(walk->getDestination().x, 300, 0.5f);

    // On the figure of a character who is no hotspot (Luna before she plays along): to the click too.
    Vars::get("luna_scene")->setValue("ship.Corridor", true);
    switchNow("ship.Corridor");
    settle();
    walker = standCharacter(500, 290);
    game->stepSeconds(3.0f); // the camera follows him
    game->click(560, 255);   // Luna stands at 560, 260
    walk = dynamic_cast<ZephJobs::SplineMove*>(walker->getCurrentJob());
    ASSERT_NE(walk, nullptr);
    EXPECT_NEAR(walk->getDestination().x, 560, 0.5f);
    EXPECT_NEAR(walk->getDestination().y, 255, 0.5f);
}

TEST_F(PointerInput, AClickBeyondTheFloorWalksToItsNearestPointUnlessThatIsHardlyAStep) {
    Character2D* walker = standCharacter(350, 290);
    game->click(350, 200); // the floor's nearest point is 5 units away: no walk
    EXPECT_EQ(walker->getJobQueueSize(), 0u);
    game->click(340, 230); // between the console and the door, below the dial lock
    ASSERT_EQ(walker->getJobQueueSize(), 1u);
    auto* walk = dynamic_cast<ZephJobs::SplineMove*>(walker->getCurrentJob());
    ASSERT_NE(walk, nullptr);
    EXPECT_NEAR(walk->getDestination().y, 285, 0.5f);
}

TEST_F(PointerInput, NoWalkStartsWithAnItemInHandWhileBusyOrBehindAnotherJob) {
    Character2D* walker = standCharacter(200, 300);
    Inventory::selectedItem = "wrench";
    game->click(100, 300);
    EXPECT_EQ(Inventory::getSelectedItem(), ""); // put away by the click
    EXPECT_EQ(walker->getJobQueueSize(), 0u);

    Session::sceneLocked = true;
    game->click(100, 300);
    EXPECT_EQ(walker->getJobQueueSize(), 0u);
    Session::sceneLocked = false;

    walker->addJob(new TestJob("Dialog")); // not busy, but not walking either
    game->click(100, 300);
    EXPECT_EQ(walker->getJobQueueSize(), 1u);
    EXPECT_EQ(walker->getCurrentJobType(), "Dialog");
}

TEST_F(PointerInput, AClickWhileTheWideCameraScrollsWalksToTheEdgeInsteadOfUsingTheHotspot) {
    switchNow("Corridor");
    Character2D* walker = standCharacter(261, 310);
    switchNow("ship.Corridor"); // entered again where it stands: the camera at 48, the cockpit door at
                                // the left edge
    // An exit that names its own cursor takes the click even at the edge; this door names none.
    Session::activeScene->actions[0x00FF00]->setRolloverKey("RO_COCKPIT");
    const morvec::Vector2 door(55, 150);
    // A hotspot without an exit's cursor (an exit's "|" would keep the walk target away).
    Session::activeScene->actions[0x00FF00]->setRolloverKey("RO_COCKPIT");
    game->move(door.x, door.y); // the frame finds the walk target beyond the edge
    ASSERT_TRUE(Viewport::isCameraScrolling());
    game->click(door.x, door.y);
    EXPECT_EQ(Session::activeTransition, nullptr); // the door was not used
    EXPECT_EQ(var("active_scene"), "ship.Corridor");
    ASSERT_EQ(walker->getCurrentJobType(), "Move");
    auto* walk = static_cast<ZephJobs::SplineMove*>(walker->getCurrentJob());
    EXPECT_NEAR(walk->getTarget().x, edgeWalkTarget.x, 1e-3f);
    EXPECT_NEAR(walk->getTarget().y, 310, 1e-3f);
}

TEST_F(PointerInput, APressRightAfterAFastMoveActsWhereItIs) {
    // The pointer moves far away; in the next frame a fast hand presses and releases elsewhere,
    // the move to there reported first, or not at all (each event maps its own position).
    struct Case {
        const char* what;
        bool hotspot; // else the in-game menu button
        bool moveReported;
    };
    const Case cases[] = {
        {"a hotspot", true, true},
        {"a hotspot, the move unreported", true, false},
        {"an interface button", false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        send({nimbo::InputEvent::move(630, 10)});
        morvec::Vector2 p =
            c.hotspot ? game->sceneToWindow(COCKPIT_CONSOLE.x, COCKPIT_CONSOLE.y)
                      : game->guiToWindow(guiCentre("ingame_menu_button").x, guiCentre("ingame_menu_button").y);
        vessot::String console = var("console_on");
        if (c.moveReported) {
            send({nimbo::InputEvent::down(p.x, p.y, 1), nimbo::InputEvent::up(p.x, p.y, 1)});
        } else {
            // The pointer gets there unheard, and the press and release follow at once.
            nimbo::window->setMouseDelegate(nullptr);
            nimbo::window->queueInput(nimbo::InputEvent::move(p.x, p.y));
            nimbo::window->pumpEvents(nimbo::window->getFrameNumber());
            nimbo::window->setMouseDelegate(&eventDelegate);
            eventDelegate.onMouseDown(1);
            eventDelegate.onMouseUp(1);
            game->step();
        }
        if (c.hotspot) {
            EXPECT_NE(var("console_on"), console); // the console switched
        } else {
            EXPECT_EQ(var("active_scene"), "ui.InGameMenu");
        }
    }
}

// The character on its way to the cockpit door with a queue that ends in the door's scene switch.
class FastSwitch : public PointerInput {
protected:
    void SetUp() override {
        PointerInput::SetUp();
        walker = standCharacter(200, 300);
        // The walk cycle held at its first frame, where a second click on the exit switches at once.
        walker->walkFrame = 1.0f;
        walker->walkAnimationFactor = 0.0f;
        walker->addJob(new ZephJobs::SplineMove("0", false, 380, 300));
    }
    void endWithTheDoor() {
        auto* door = new Actions::SwitchScene(1.0f, "Corridor", "fade", "");
        door->setOwner(Session::activeScene->chapter);
        walker->addJob(new ZephJobs::SwitchScene(door, "", "50,300,E"));
    }

    Character2D* walker = nullptr;
    int setVarRuns = 0;
    int lockRuns = 0;
};

TEST_F(FastSwitch, ASecondClickOnTheExitSwitchesAtOnceRunningTheVariableActionsFirst) {
    walker->addJob(new ZephJobs::ActionWrapper(new CountingAction("SetVar", &setVarRuns), ""));
    walker->addJob(new ZephJobs::ActionWrapper(new CountingAction("LockScene", &lockRuns), ""));
    endWithTheDoor();
    // Attached in the corridor before, so the corridor's own placement leaves it where the job says.
    walker->setLastAttachScene("ship.Corridor");
    game->click(COCKPIT_DOOR.x, COCKPIT_DOOR.y);
    EXPECT_EQ(setVarRuns, 1);
    EXPECT_EQ(lockRuns, 1);
    ASSERT_NE(pendingSwitchJob, nullptr);
    EXPECT_EQ(walker->getJobQueueSize(), 3u); // the switch job left the queue

    game->finishTransition();
    EXPECT_EQ(var("active_scene"), "ship.Corridor");
    // The scene switch settled the job: the character stands where it said, with nothing left to do.
    EXPECT_EQ(pendingSwitchJob, nullptr);
    EXPECT_EQ(walker->getJobQueueSize(), 0u);
    EXPECT_EQ(walker->Marionix::Actor::getPosition().x, 50.0f);
    EXPECT_EQ(walker->Marionix::Actor::getPosition().y, 300.0f);
    EXPECT_EQ(setVarRuns, 1);
}

TEST_F(FastSwitch, AnotherSwitchThatSettlesTheJobFirstPlacesTheCharacterAsTheJobSays) {
    endWithTheDoor();
    walker->setLastAttachScene("ship.Corridor");
    game->click(COCKPIT_DOOR.x, COCKPIT_DOOR.y);
    ASSERT_NE(pendingSwitchJob, nullptr);
    const size_t queued = walker->getJobQueueSize();
    const struct {
        const char* target;
        bool settles;
    } switches[] = {{"ship.Cockpit", false}, {"ship.Galley", true}}; // into the active scene, then away
    for (const auto& s : switches) {
        Hud::onSceneSwitch(s.target);
        EXPECT_EQ(pendingSwitchJob == nullptr, s.settles) << s.target;
        EXPECT_EQ(walker->getJobQueueSize(), s.settles ? 0u : queued) << s.target;
    }
    game->finishTransition();
    EXPECT_EQ(var("active_scene"), "ship.Corridor");
    EXPECT_EQ(walker->Marionix::Actor::getPosition().x, 50.0f);
}

TEST_F(FastSwitch, AJobThatMayNotBeSkippedRefusesItAndNothingRuns) {
    walker->addJob(new ZephJobs::ActionWrapper(new CountingAction("SetVar", &setVarRuns), ""));
    walker->addJob(new TestJob("Say"));
    endWithTheDoor();
    game->click(COCKPIT_DOOR.x, COCKPIT_DOOR.y);
    EXPECT_NE(game->log().find("Unable to fast-switch scene, job queue contains a 'Say' job"), std::string::npos);
    EXPECT_EQ(setVarRuns, 0);
    EXPECT_EQ(pendingSwitchJob, nullptr);
    EXPECT_EQ(walker->getJobQueueSize(), 4u);
}

TEST_F(PointerInput, ACancelledPressLetsGoOfTheInterfaceAndTheSceneHearsNothing) {
    pressGui(guiCentre("inv_button"));
    ASSERT_TRUE(ui("inv_button")->isPressed());
    eventDelegate.onMouseCancel(1);
    EXPECT_FALSE(ui("inv_button")->isPressed());
    EXPECT_FALSE(pointerHeld);
    EXPECT_EQ(nimboui::getCursorPosition().x, -10000);

    game->press(COCKPIT_CONSOLE.x, COCKPIT_CONSOLE.y);
    ASSERT_TRUE(pointerHeld);
    eventDelegate.onMouseCancel(1);
    EXPECT_FALSE(pointerHeld);
    game->step();
    EXPECT_FALSE(consoleUsed());

    pointerHeld = dragPanning = true;
    eventDelegate.onMouseCancel(1);
    EXPECT_FALSE(pointerHeld);
    EXPECT_FALSE(dragPanning);
}

TEST_F(PointerInput, ACancelledSecondaryPressOpensNothing) {
    eventDelegate.onMouseCancel(2);
    EXPECT_FALSE(Hud::isUiObjectShown("inv"));
}

// A wide window showing the scene stretched ("aspect" "screen"): the scene's cursor and the
// interface's cursor part.
class StretchedPointer : public PointerInput {
protected:
    GameHarness::Options options() const override {
        GameHarness::Options wide;
        wide.width = 640;
        wide.height = 360;
        return wide;
    }
    void SetUp() override {
        PointerInput::SetUp();
        Session::params["aspect"] = "screen";
    }
};

TEST_F(StretchedPointer, MovesGiveTheInterfaceTheInterfaceCursor) {
    morvec::Vector2 p = game->guiToWindow(guiCentre("inv_button").x, guiCentre("inv_button").y);
    send({nimbo::InputEvent::move(p.x, p.y)});                           // the move maps its own position
    EXPECT_GT(std::fabs(sceneCursor.x - guiCentre("inv_button").x), 40); // the scene's cursor is elsewhere
    EXPECT_TRUE(ui("inv_button")->isHovered());
}

// The tablet target: fingers on a touch screen.
class TouchInput : public PointerInput {
protected:
    GameHarness::Options options() const override {
        GameHarness::Options touch;
        touch.environment = {{"ZEPH_INPUT_MODE", "touch"}};
        return touch;
    }
    void SetUp() override {
        PointerInput::SetUp();
        game->step();
        ASSERT_EQ(Session::getParam("target"), "tablet");
    }
    void fingers(std::vector<morvec::Vector2> pixels) { send({nimbo::InputEvent::touch(pixels)}); }
};

TEST_F(TouchInput, PinchingZoomsFromTheSecondEventOnAndCancelsTheTouchAsAClick) {
    morvec::Vector2 console = game->sceneToWindow(COCKPIT_CONSOLE.x, COCKPIT_CONSOLE.y);
    fingers({console, {console.x + 100, console.y}});
    EXPECT_EQ(viewZoom, 1.0f);
    EXPECT_FALSE(pointerHeld);
    EXPECT_EQ(lastTouchCount, 2);
    float before = lastPinchDistance;
    fingers({{console.x - 20, console.y}, {console.x + 120, console.y}});
    float after = lastPinchDistance;
    EXPECT_NEAR(viewZoom, 1.0f - (after - before) * 2.0f, 1e-5f);
    EXPECT_LT(viewZoom, 1.0f);
    fingers({});
    EXPECT_EQ(lastPinchDistance, 0.0f);
    EXPECT_FALSE(consoleUsed());

    fingers({{100, 100}, {500, 100}});
    fingers({{10, 100}, {630, 100}}); // far apart: the tablet's bound
    EXPECT_EQ(viewZoom, 0.75f);
}

TEST_F(TouchInput, ThreeFingersFastForwardUntilAnotherCountOtherThanOne) {
    fingers({{100, 100}, {200, 100}, {300, 100}});
    EXPECT_TRUE(fastForwardActive);
    fingers({{100, 100}, {200, 100}});
    EXPECT_FALSE(fastForwardActive);
    fingers({});
    fastForwardActive = true;
    fingers({{100, 100}});
    EXPECT_TRUE(fastForwardActive);
}

TEST_F(TouchInput, ADragPansTheZoomedViewAndEndsWithoutAClick) {
    viewZoom = currentViewZoom = 0.5f;
    targetViewPan = viewPan = morvec::Vector2(100, 80);
    // The console lies under the middle of the zoomed view.
    fingers({{320, 240}});
    EXPECT_TRUE(pointerHeld);
    fingers({{256, 240}}); // a tenth of the window to the left
    EXPECT_TRUE(dragPanning);
    EXPECT_EQ(targetViewPan, morvec::Vector2(100, 80));
    game->step(); // the drag moves the pan against the finger
    EXPECT_NEAR(targetViewPan.x, 100 + 0.5f * 0.1f * 426, 1e-3f);
    EXPECT_NEAR(targetViewPan.y, 80, 1e-3f);
    fingers({});
    EXPECT_FALSE(dragPanning);
    EXPECT_FALSE(pointerHeld);
    EXPECT_FALSE(consoleUsed());
}

TEST_F(TouchInput, AFingerMovesTheCursorAndItIsParkedWhenLifted) {
    fingers({{320, 240}});
    EXPECT_NEAR(nimboui::getCursorPosition().x, 213.33f, 0.01f);
    fingers({});
    game->step();
    EXPECT_EQ(nimboui::getCursorPosition(), morvec::Vector2(-100, -100));
}

} // namespace
