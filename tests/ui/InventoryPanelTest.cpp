// The inventory panel on the running game, in the cockpit: pages and their buttons, what refuses an
// opening, the fade, the inventory button's images, clicks on slots on the desktop and on touch
// screens, the use and look buttons and their modes, the long press that carries an item, the hover
// labels, the "ui" chapter's item actions, and the new-item notifications.
#include "UiTest.h"

#include "chapters/Chapters.h"
#include "engine/view/Input.h"
#include "script/Inventory.h"
#include "script/Speech.h"
#include "ui/InventoryPanel.h"

#include "echon/AudioManager.h"
#include "nimboui/ImageButton.h"

#include <cmath>

namespace {

using InventoryPanel::isOpen;

// Records its runs with the item in hand while it runs, as "ui.NAME" or "ui.NAME holding ITEM".
class HandRecordingAction : public Action {
public:
    explicit HandRecordingAction(const vessot::String& name) : name(name) {}
    void execute() override {
        vessot::String held = Inventory::getSelectedItem();
        recordedRuns.push_back("ui." + name + (held.empty() ? "" : " holding " + held));
    }
    Action* clone() override { return finishClone(new HandRecordingAction(name)); }
    vessot::String getTypeName() const override { return "Recording"; }

private:
    vessot::String name;
};

// Raises the GUI library's error, as an action that finds no named action of its own does.
class ThrowingAction : public Action {
public:
    void execute() override { throw nimboui::_GenericException("the action failed"); }
    Action* clone() override { return finishClone(new ThrowingAction()); }
    vessot::String getTypeName() const override { return "Throwing"; }
};

class InventoryPanelTest : public RunningGame {
protected:
    void SetUp() override {
        RunningGame::SetUp();
        // Sounds stay where they are while the audio is suspended: a sound played is still playing
        // when a test looks, however slowly the frames run.
        echon::mgr->suspendAudio();
        recordedRuns.clear();
        // The "ui" chapter's item actions, recorded; "fuse" and "spanner" make nothing together.
        for (const char* name : {"use:cup", "look:cup", "use:torch", "battery+wire", "torch+battery"}) {
            Action*& slot = uiChapter->namedActions[name];
            delete slot;
            slot = new HandRecordingAction(name);
        }
    }

    void TearDown() override {
        Session::setParam("target", "pc");
        RunningGame::TearDown();
    }

    // "thing0" to "thingN-1", none of which the data knows.
    static vessot::String things(int count) {
        vessot::String list;
        for (int i = 0; i < count; ++i) {
            list += (i ? "," : "") + vessot::String("thing") + vessot::String(i);
        }
        return list;
    }

    static void setVar(const char* name, const char* value) { Vars::get(name)->setValue(value, true); }

    static void hold(const vessot::String& items) {
        Vars::get("items")->setValue(items, false);
        Inventory::setSelectedItem("");
    }

    // Opens the panel and lets it grow to its place.
    void openPanel() {
        InventoryPanel::open();
        ASSERT_TRUE(isOpen());
        game->stepSeconds(0.3f);
    }

    void clickOn(const char* name) {
        morvec::Vector2 at = centreOf(name);
        game->clickGui(at.x, at.y);
    }

    static int visibleSlots() {
        int count = 0;
        for (int i = 0; i < 9; ++i) {
            count += ui("inv_slot" + vessot::String(i))->isVisible();
        }
        return count;
    }

    static vessot::String imageOf(const char* name) { return ui<nimboui::ImageButton>(name)->getImageName(); }
    static vessot::String hoverOf(const char* name) {
        return ui<nimboui::ImageButton>(name)->getHoverImage()->getName();
    }
    static bool soundPlays(const char* name) { return echon::mgr->isAnyPlaying(vessot::String("ui.") + name); }
    static void silence() { echon::mgr->stopAll(); }
    static vessot::String held() { return Inventory::getSelectedItem(); }
};

TEST_F(InventoryPanelTest, APageShowsNineItemsWithItsPageButtonsAndStaysWithinTheItems) {
    struct Case {
        int items;
        int page;
        int shownPage;
        bool left, right;
        int slots;
    };
    const Case cases[] = {
        {0, 0, 0, false, false, 0},  {9, 0, 0, false, false, 9},  {9, 1, 0, false, false, 9},
        {10, 0, 0, false, true, 9},  {10, 1, 1, true, false, 1},  {18, 1, 1, true, false, 9},
        {19, 1, 1, true, true, 9},   {19, 2, 2, true, false, 1},  {19, 7, 2, true, false, 1},
        {19, -3, 0, false, true, 9}, {1, -1, 0, false, false, 1},
    };
    openPanel();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.items << " items, page " << c.page);
        hold(things(c.items));
        InventoryPanel::page = c.page;
        InventoryPanel::refresh();
        EXPECT_EQ(InventoryPanel::page, c.shownPage);
        EXPECT_EQ(ui("inv_pages_left")->isVisible(), c.left);
        EXPECT_EQ(ui("inv_pages_right")->isVisible(), c.right);
        EXPECT_EQ(visibleSlots(), c.slots);
        if (c.slots) {
            EXPECT_EQ(imageOf("inv_slot0"), "items/thing" + vessot::String(9 * c.shownPage));
        }
    }
    // The previous page's button stops at the first page; the last page goes with its last item.
    hold(things(19));
    InventoryPanel::onPagesLeftClick(nullptr);
    EXPECT_EQ(InventoryPanel::page, 0);
    clickOn("inv_pages_right");
    clickOn("inv_pages_right");
    ASSERT_EQ(InventoryPanel::page, 2);
    Inventory::removeItem("thing18");
    EXPECT_EQ(InventoryPanel::page, 1);
    EXPECT_EQ(visibleSlots(), 9);
    EXPECT_FALSE(ui("inv_pages_right")->isVisible());
}

TEST_F(InventoryPanelTest, OpeningGrowsEveryElementToItsPlaceOnBothLayouts) {
    struct Place {
        const char* name;
        morvec::Rectangle desktop, mobile;
    };
    const Place places[] = {
        {"inventory", {510, 0, 320, 320}, {470, -50, 420, 420}},
        {"inv_look_button", {31, 108, 45, 45}, {40.7f, 141.75f, 59, 59}},
        {"inv_use_button", {46, 181, 45, 45}, {60.4f, 237.6f, 59, 59}},
        {"inv_pages_left", {262, 95, 27.25f, 51.875f}, {343.9f, 124.7f, 35.8f, 68.1f}},
        {"inv_pages_right", {248, 213.375f, 27.25f, 51.875f}, {325.5f, 280.1f, 35.8f, 68.1f}},
        {"inv_slot0", {120, 101, 32, 32}, {157.5f, 132.6f, 42, 42}},
        {"inv_slot1", {174, 97, 32, 32}, {228.4f, 127.3f, 42, 42}},
        {"inv_slot2", {229, 97, 32, 32}, {300.6f, 127.3f, 42, 42}},
        {"inv_slot3", {130, 159, 32, 32}, {170.6f, 208.7f, 42, 42}},
        {"inv_slot4", {177, 156, 32, 32}, {232.3f, 204.8f, 42, 42}},
        {"inv_slot5", {225, 152, 32, 32}, {295.3f, 199.5f, 42, 42}},
        {"inv_slot6", {136, 213, 32, 32}, {178.5f, 279.6f, 42, 42}},
        {"inv_slot7", {179, 209, 32, 32}, {234.9f, 274.3f, 42, 42}},
        {"inv_slot8", {222, 205, 32, 32}, {291.4f, 269.1f, 42, 42}},
    };
    for (const char* layout : {"pc", "mobile"}) {
        SCOPED_TRACE(layout);
        Session::params["ui"] = layout;
        openPanel();
        game->stepSeconds(1.0f);
        for (const Place& place : places) {
            const morvec::Rectangle& r = vessot::String(layout) == "mobile" ? place.mobile : place.desktop;
            nimboui::Object* element = ui(place.name);
            EXPECT_EQ(morvec::Rectangle(element->getX(), element->getY(), element->getWidth(), element->getHeight()), r)
                << place.name;
        }
        InventoryPanel::close();
        game->stepSeconds(0.5f);
    }
}

TEST_F(InventoryPanelTest, NothingOpensWhileThePlayerIsBusyOrSomethingElseHasTheScreen) {
    struct Case {
        const char* state;
        std::function<void()> set;
        std::function<void()> undo;
    };
    // A menu scene, entered with its HUD property taken away so that only its chapter refuses.
    auto enterMenu = [](const char* scene) {
        switchNow(scene);
        Session::activeScene->properties.erase("hide_ui");
    };
    const Case cases[] = {
        {"the scene locked", [] { Session::sceneLocked = true; }, [] { Session::sceneLocked = false; }},
        {"a skip pending", [] { setVar("skip_action", "look_window"); }, [] { setVar("skip_action", "0"); }},
        {"a character animating", [] { standCharacter(200, 305)->addJob(new TestJob("Animate")); },
         [] { Characters::getCurrentCharacter()->clearJobs(); }},
        {"a line spoken",
         [] {
             Speech::speechMap["vorne"] = {{"a line", 5.0f}};
         },
         [] { Speech::speechMap.clear(); }},
        {"a transition", [] { Session::switchScene("ship.Cockpit", "fade", "", 0.5f); },
         [this] { game->finishTransition(); }},
        {"a confirmation", [] { setVar("cdialog", "Q,yes,none"); }, [] { setVar("cdialog", ""); }},
        {"a scene without the HUD", [] { Session::activeScene->properties["hide_ui"] = "3"; },
         [] { Session::activeScene->properties.erase("hide_ui"); }},
        {"a menu of the ui chapter", [&] { enterMenu("ui.InGameMenu"); }, [] { switchNow("ship.Cockpit"); }},
        {"a menu of the menu chapter", [&] { enterMenu("menu.Logo"); }, [] { switchNow("ship.Cockpit"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.state);
        c.set();
        silence();
        fastForwardActive = true;
        InventoryPanel::open();
        EXPECT_FALSE(isOpen());
        EXPECT_EQ(var("inv_open"), "0");
        EXPECT_FALSE(soundPlays("inv_open"));
        EXPECT_TRUE(fastForwardActive);
        c.undo();
        game->stepSeconds(0.5f);
    }
    silence();
    fastForwardActive = true;
    InventoryPanel::open();
    EXPECT_TRUE(isOpen());
    EXPECT_FALSE(fastForwardActive);
    EXPECT_TRUE(soundPlays("inv_open"));
}

TEST_F(InventoryPanelTest, OpeningStopsAWalkAndThePanelCountsAsOpenUntilItHasFadedOut) {
    Character2D* vorne = standCharacter(200, 305);
    vorne->addJob(new TestJob("Move"));
    Hud::setRollover("Door");
    InventoryPanel::open();
    EXPECT_EQ(vorne->getJobQueueSize(), 0u);
    EXPECT_EQ(Hud::rolloverTimer, 0.0f); // the scene's label goes at once
    EXPECT_EQ(var("inv_open"), "1");
    EXPECT_EQ(ui("inv")->getAlpha(), 0.01f);
    // A close during the fade-in is honoured; an open during the fade-out is refused.
    game->step();
    silence();
    InventoryPanel::close();
    EXPECT_EQ(var("inv_open"), "0");
    EXPECT_TRUE(soundPlays("inv_close"));
    game->stepSeconds(0.1f);
    InventoryPanel::open();
    EXPECT_EQ(var("inv_open"), "0");
    EXPECT_TRUE(isOpen());
    game->stepSeconds(0.15f);
    EXPECT_FALSE(isOpen());
    EXPECT_TRUE(ui("inv")->isVisible());
    // The frame holds the scene while it is open.
    openPanel();
    vorne->addJob(new TestJob("Move"));
    game->stepSeconds(0.5f);
    EXPECT_EQ(vorne->getJobQueueSize(), 1u);
}

TEST_F(InventoryPanelTest, TheInventoryButtonOpensClosesAndPutsBackTheItemItShows) {
    struct Case {
        const char* state;
        bool open;
        const char* held;
        bool locked;
        // After a click on the button.
        bool openAfter;
        const char* image;
        const char* heldAfter;
        // The other HUD buttons stand in (else they have slid out; the inventory button stays).
        bool buttonsIn;
    };
    const Case cases[] = {
        {"closed", false, "", false, true, "gui/inv_close_up", "", false},
        {"closed with an item in hand", false, "cup", false, false, "gui/inv_up", "", true},
        {"open", true, "", false, false, "gui/inv_up", "", true},
        {"open with an item in hand", true, "cup", false, false, "gui/inv_close_up", "cup", false},
        {"closed, the scene locked", false, "", true, false, "gui/inv_up", "", true},
        {"open, the scene locked", true, "", true, false, "gui/inv_up", "", false},
    };
    hold("cup,torch");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.state);
        if (c.open) {
            openPanel();
        }
        if (*c.held) {
            // Taken in the panel, which then closes and leaves the close images on the button.
            if (!c.open) {
                openPanel();
            }
            Inventory::setSelectedItem(c.held);
            if (!c.open) {
                InventoryPanel::close();
                game->stepSeconds(0.3f);
                ASSERT_EQ(imageOf("inv_button"), "gui/inv_close_up");
            }
        }
        Session::sceneLocked = c.locked;
        InventoryPanel::onInventoryButtonClick(nullptr);
        EXPECT_EQ(var("inv_open"), c.openAfter ? "1" : "0");
        EXPECT_EQ(imageOf("inv_button"), c.image);
        EXPECT_EQ(held(), c.heldAfter);
        Hud::finishButtonMoves();
        EXPECT_EQ(ui("diary_button")->getY(), c.buttonsIn ? 283 : 323);
        EXPECT_EQ(ui("inv_button")->getY(), 283);
        Session::sceneLocked = false;
        Inventory::setSelectedItem("");
        InventoryPanel::close();
        game->stepSeconds(0.3f);
    }
}

TEST_F(InventoryPanelTest, ALockThatDropsTheItemInHandRestoresTheButtonWhenThePanelCloses) {
    hold("cup");
    openPanel();
    clickOn("inv_slot0");
    ASSERT_EQ(held(), "cup");
    Session::lockScene();
    EXPECT_EQ(held(), "");
    EXPECT_EQ(var("inv_item_in_selection"), "0");
    InventoryPanel::close();
    EXPECT_EQ(imageOf("inv_button"), "gui/inv_up");
    EXPECT_EQ(hoverOf("inv_button"), "gui/inv_hover");
    Session::unlockScene();
}

TEST_F(InventoryPanelTest, ASlotClickTakesPutsBackCombinesOrUsesByWhatIsInHandAndTheMode) {
    enum Mode { NONE, LOOK, USE };
    struct Case {
        const char* name;
        const char* target;
        const char* held;
        Mode mode;
        // Seconds since the item in hand was taken.
        float heldFor;
        const char* clicked;
        const char* ran;
        const char* heldAfter;
        bool openAfter;
        // The character refuses: nothing ran.
        bool refused;
    };
    const Case cases[] = {
        {"take", "pc", "", NONE, 0, "cup", "", "cup", true, false},
        {"take on touch", "tablet", "", NONE, 0, "cup", "", "cup", true, false},
        {"put back", "pc", "cup", NONE, 0, "cup", "", "", true, false},
        {"put back on touch after a second", "tablet", "cup", NONE, 1.5f, "cup", "", "", true, false},
        {"carry out on touch within a second", "tablet", "cup", NONE, 0.5f, "cup", "", "cup", false, false},
        {"combine", "pc", "battery", NONE, 0, "wire", "ui.battery+wire holding battery", "", false, false},
        {"combine the other way", "pc", "wire", NONE, 0, "battery", "ui.battery+wire holding wire", "", false, false},
        {"combine on touch", "tablet", "battery", NONE, 0, "torch", "ui.torch+battery holding battery", "", false,
         false},
        {"nothing to combine", "pc", "cup", NONE, 0, "wire", "", "", false, true},
        {"look", "pc", "", LOOK, 0, "cup", "ui.look:cup", "", false, false},
        {"use", "tablet", "", USE, 0, "cup", "ui.use:cup", "", false, false},
        {"use with nothing defined", "pc", "", USE, 0, "wire", "", "", false, true},
    };
    hold("cup,torch,battery,wire");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Session::setParam("target", c.target);
        openPanel();
        if (*c.held) {
            Inventory::setSelectedItem(c.held);
            InventoryPanel::pickUpTime = c.heldFor;
        }
        if (c.mode == LOOK) {
            InventoryPanel::onLookButtonClick(nullptr);
        } else if (c.mode == USE) {
            InventoryPanel::onUseButtonClick(nullptr);
        }
        int slot = Inventory::items.indexOf(c.clicked);
        vessot::String slotName = "inv_slot" + vessot::String(slot);
        nimboui::EventArgs args(ui(slotName), 0, 0, "");
        InventoryPanel::onSlotClick(&args);

        EXPECT_EQ(recordedRuns, std::vector<std::string>(*c.ran ? 1 : 0, c.ran));
        EXPECT_EQ(held(), c.heldAfter);
        EXPECT_EQ(var("inv_item_in_selection"), *c.heldAfter ? c.heldAfter : "0");
        EXPECT_EQ(var("inv_open"), c.openAfter ? "1" : "0");
        EXPECT_FALSE(InventoryPanel::isModeArmed());
        EXPECT_EQ(Speech::isSpeaking(), c.refused);
        if (c.openAfter) {
            EXPECT_EQ(ui(slotName)->getAlpha(), *c.heldAfter ? 0.3f : 1.0f);
            EXPECT_EQ(hoverOf("inv_use_button"), *c.heldAfter ? "gui/use_up_hover" : "gui/use_dn_hover");
        } else if (*c.heldAfter) {
            // Carried out of the panel from the slot's corner.
            EXPECT_EQ(InventoryPanel::collapsePoint, ui(slotName)->getPosition() + morvec::Vector2(490, -31));
            EXPECT_EQ(imageOf("inv_button"), "gui/inv_close_up");
        }
        recordedRuns.clear();
        Speech::clear();
        Inventory::setSelectedItem("");
        InventoryPanel::close();
        game->stepSeconds(0.3f);
        hold("cup,torch,battery,wire");
    }
}

TEST_F(InventoryPanelTest, TheUseAndLookButtonsRunTheirActionWithTheItemOutOfHandOrToggleTheirMode) {
    hold("cup,torch");
    openPanel();
    // No item in hand: the modes, one at a time, with their images.
    clickOn("inv_use_button");
    EXPECT_TRUE(InventoryPanel::useMode);
    EXPECT_EQ(imageOf("inv_use_button"), "gui/use_up");
    EXPECT_EQ(hoverOf("inv_use_button"), "gui/use_up_hover");
    clickOn("inv_look_button");
    EXPECT_TRUE(InventoryPanel::lookMode);
    EXPECT_FALSE(InventoryPanel::useMode);
    EXPECT_EQ(imageOf("inv_use_button"), "gui/use_dn");
    EXPECT_EQ(imageOf("inv_look_button"), "gui/look_up");
    clickOn("inv_look_button");
    EXPECT_FALSE(InventoryPanel::isModeArmed());
    EXPECT_EQ(imageOf("inv_look_button"), "gui/look_dn");
    // A secondary click disarms a mode.
    clickOn("inv_use_button");
    InventoryPanel::resetButtons();
    EXPECT_FALSE(InventoryPanel::isModeArmed());
    EXPECT_TRUE(recordedRuns.empty());

    // An item in hand: it is out of hand when its action runs, and the panel shrinks to the cursor.
    clickOn("inv_slot1");
    ASSERT_EQ(held(), "torch");
    morvec::Vector2 button = centreOf("inv_use_button");
    clickOn("inv_use_button");
    EXPECT_EQ(recordedRuns, std::vector<std::string>{"ui.use:torch"});
    EXPECT_EQ(held(), "");
    EXPECT_EQ(var("inv_open"), "0");
    EXPECT_NEAR(InventoryPanel::collapsePoint.x, button.x + 480, 1.0f);
    EXPECT_NEAR(InventoryPanel::collapsePoint.y, button.y, 1.0f);
    // Opening again starts with both modes off.
    game->stepSeconds(0.3f);
    InventoryPanel::onLookButtonClick(nullptr);
    openPanel();
    EXPECT_FALSE(InventoryPanel::isModeArmed());
    EXPECT_EQ(imageOf("inv_look_button"), "gui/look_dn");
}

TEST_F(InventoryPanelTest, ALongPressCarriesAnItemThatDropsWhereItIsLetGo) {
    struct Case {
        const char* where;
        // The drop point: an object's centre, or a point of the screen.
        const char* object;
        morvec::Vector2 point;
        const char* ran;
        const char* heldAfter;
        bool openAfter;
    };
    const Case cases[] = {
        {"on another slot", "inv_slot3", {}, "ui.battery+wire holding wire", "", false},
        {"on the use button", "inv_use_button", {}, "", "", false},
        {"on empty panel space", nullptr, {200, 250}, "", "", true},
        {"outside the panel", nullptr, {380, 160}, "", "wire", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where);
        hold("cup,torch,wire,battery");
        openPanel();
        morvec::Vector2 from = centreOf("inv_slot2");
        game->press(from.x, from.y);
        silence();
        EXPECT_EQ(InventoryPanel::pressedItem, "wire");
        game->stepSeconds(0.9f);
        EXPECT_EQ(held(), "");
        game->stepSeconds(0.2f);
        EXPECT_EQ(held(), "wire");
        EXPECT_TRUE(InventoryPanel::isDraggingItem());
        EXPECT_TRUE(soundPlays("inv_open"));
        morvec::Vector2 to = c.object ? centreOf(c.object) : c.point;
        game->release(to.x, to.y);
        EXPECT_EQ(recordedRuns, std::vector<std::string>(*c.ran ? 1 : 0, c.ran));
        EXPECT_EQ(held(), c.heldAfter);
        EXPECT_EQ(var("inv_open"), c.openAfter ? "1" : "0");
        game->step();
        EXPECT_FALSE(InventoryPanel::isDraggingItem());
        recordedRuns.clear();
        Speech::clear();
        Inventory::setSelectedItem("");
        InventoryPanel::close();
        game->stepSeconds(0.3f);
    }
}

TEST_F(InventoryPanelTest, ACarriedItemTurnsThePageEverySecondOnAPageButton) {
    hold("wire," + things(19));
    openPanel();
    morvec::Vector2 from = centreOf("inv_slot0");
    game->press(from.x, from.y);
    game->stepSeconds(1.1f);
    ASSERT_EQ(held(), "wire");
    morvec::Vector2 right = centreOf("inv_pages_right");
    game->move(right.x, right.y);
    game->stepSeconds(0.9f);
    EXPECT_EQ(InventoryPanel::page, 0);
    // Another object restarts the count.
    game->move(from.x, from.y);
    game->move(right.x, right.y);
    game->stepSeconds(0.9f);
    EXPECT_EQ(InventoryPanel::page, 0);
    silence();
    game->stepSeconds(0.2f);
    EXPECT_EQ(InventoryPanel::page, 1);
    EXPECT_TRUE(soundPlays("click"));
    game->stepSeconds(1.0f);
    EXPECT_EQ(InventoryPanel::page, 2);
    EXPECT_TRUE(isOpen());
}

TEST_F(InventoryPanelTest, AnItemInHandLeavingThePanelClosesItOncePerOpening) {
    struct Case {
        const char* target;
        // Taken by a long press (the finger stays down) or by a click.
        bool pressed;
        bool closes;
    };
    const Case cases[] = {{"pc", false, true}, {"pc", true, true}, {"tablet", false, false}, {"tablet", true, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.target << (c.pressed ? " pressed" : " clicked"));
        Session::setParam("target", c.target);
        hold("cup,torch");
        openPanel();
        morvec::Vector2 slot = centreOf("inv_slot0");
        if (c.pressed) {
            game->press(slot.x, slot.y);
            game->stepSeconds(1.1f);
        } else {
            clickOn("inv_slot0");
        }
        ASSERT_EQ(held(), "cup");
        game->move(70, 250); // the bag's lower left
        EXPECT_EQ(var("inv_open"), "1");
        game->move(400, 150);
        EXPECT_EQ(var("inv_open"), c.closes ? "0" : "1");
        EXPECT_EQ(held(), "cup");
        EXPECT_EQ(InventoryPanel::autoCloseArmed, !c.closes);
        if (c.closes) {
            // On "pc" it shrinks to the cursor (window pixels make it a little off), else to the button.
            morvec::Vector2 point =
                vessot::String(c.target) == "pc" ? morvec::Vector2(880, 150) : morvec::Vector2(499, 300);
            EXPECT_NEAR(InventoryPanel::collapsePoint.x, point.x, 1.0f);
            EXPECT_NEAR(InventoryPanel::collapsePoint.y, point.y, 1.0f);
        }
        game->release(400, 150);
        Inventory::setSelectedItem("");
        InventoryPanel::close();
        game->stepSeconds(0.3f);
    }
}

TEST_F(InventoryPanelTest, HoverLabelsNameItemsButtonsAndCombinations) {
    enum Mode { NONE, LOOK, USE };
    struct Case {
        const char* hovered;
        const char* held;
        Mode mode;
        const char* label;
    };
    const Case cases[] = {
        {"inv_slot0", "", NONE, "cup"},
        {"inv_slot0", "", LOOK, "Look at cup"},
        {"inv_slot0", "", USE, "Use cup"},
        {"inv_slot0", "torch", NONE, "Combine torch with cup"},
        {"inv_slot0", "torch", LOOK, "Combine torch with cup"},
        {"inv_slot1", "torch", USE, "Use torch"},
        {"inv_slot1", "torch", NONE, "torch"},
        {"inv_use_button", "", NONE, "Use"},
        {"inv_look_button", "", NONE, "Look at"},
        {"inv_look_button", "torch", NONE, "Look at torch"},
        {"inv_pages_left", "", NONE, ""},
        {"inv_pages_left", "torch", NONE, "torch"},
        // A name the data does not know: the engine's text for a missing key, never a format.
        {"inv_slot2", "", NONE, "ERROR: text 'obj_mystery%s' not found!<p5>"},
        {"inv_slot2", "cup", NONE, "Combine cup with ERROR: text 'obj_mystery%s' not found!<p5>"},
    };
    hold("cup,torch,mystery%s");
    openPanel();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.hovered << " holding '" << c.held << "' mode " << c.mode);
        InventoryPanel::lookMode = c.mode == LOOK;
        InventoryPanel::useMode = c.mode == USE;
        EXPECT_EQ(InventoryPanel::hoverLabel(ui(c.hovered), c.held), c.label);
    }
    EXPECT_EQ(InventoryPanel::hoverLabel(nullptr, ""), "");
    // A text longer than any fixed buffer is filled whole.
    vessot::String longName = std::string(600, 'x');
    EXPECT_EQ(InventoryPanel::buttonLabel("inv_use_button", longName),
              "Use ERROR: text 'obj_" + longName + "' not found!<p5>");
}

TEST_F(InventoryPanelTest, TheItemLookupsRunTheUiChaptersActionsAndPassOnWhatTheyRaise) {
    EXPECT_TRUE(Chapters::runUseItemAction("cup"));
    EXPECT_FALSE(Chapters::runUseItemAction("wire"));
    EXPECT_FALSE(Chapters::runLookItemAction("no.such.item"));
    EXPECT_TRUE(Chapters::runCombineItemsAction("wire", "battery"));
    EXPECT_TRUE(Chapters::runCombineItemsAction("battery", "wire"));
    EXPECT_FALSE(Chapters::runCombineItemsAction("fuse", "spanner"));
    EXPECT_EQ(recordedRuns, (std::vector<std::string>{"ui.use:cup", "ui.battery+wire", "ui.battery+wire"}));
    // An error of the action found is no missing action.
    uiChapter->namedActions["look:fuse"] = new ThrowingAction();
    EXPECT_THROW(Chapters::runLookItemAction("fuse"), nimboui::_GenericException);
}

TEST_F(InventoryPanelTest, NewItemsAreShownOneAfterAnotherForTwoSecondsEach) {
    Vars::get("inv_ignore_notifications")->setValue("1", false);
    Inventory::addItem("fuse");
    EXPECT_TRUE(InventoryPanel::notifications.empty());
    Vars::get("inv_ignore_notifications")->setValue("0", false);
    for (const char* item : {"cup", "torch", "keycard"}) {
        Inventory::addItem(item);
    }
    ASSERT_EQ(InventoryPanel::notifications.size(), 3);
    std::vector<std::string> shown;
    for (int frame = 0; frame < 7 * 60 && !InventoryPanel::notifications.empty(); ++frame) {
        if (shown.empty() || shown.back() != InventoryPanel::notifications[0].item) {
            shown.push_back(InventoryPanel::notifications[0].item);
        }
        game->step();
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"cup", "torch", "keycard"}));
    EXPECT_TRUE(InventoryPanel::notifications.empty());

    // Each lasts 2 s, also in a menu, where nothing is drawn.
    Inventory::addItem("cup");
    switchNow("ui.InGameMenu");
    EXPECT_TRUE(InventoryPanel::notificationSprites().empty());
    game->stepSeconds(1.9f);
    EXPECT_EQ(InventoryPanel::notifications.size(), 1);
    game->stepSeconds(0.2f);
    EXPECT_TRUE(InventoryPanel::notifications.empty());
}

TEST_F(InventoryPanelTest, ANotificationBouncesInRisenAndFadesAsItSinksIntoTheButton) {
    struct Case {
        const char* layout;
        float progress;
        // The item's rectangle and alpha.
        float x, y, size, alpha;
    };
    const float s01 = 35 + 10;
    const float rise095 = 80 * (1.2f - 0.95f * 0.95f);
    const Case cases[] = {
        {"pc", 0.0f, 22 - 17.5f, 315 - 17.5f - 80, 35, 0.0f},
        {"pc", 0.1f, 22 - s01 / 2, 315 - s01 / 2 - 80, s01, 1.0f},
        {"pc", 0.5f, 22 - 17.5f, 315 - 17.5f - 80 * (1.2f - 0.25f), 35, 1.0f},
        {"pc", 0.95f, 22 - 17.5f, 315 - 17.5f - rise095, 35, 0.5f},
        {"mobile", 0.1f, 32 - 32, 315 - 32 - 80, 64, 1.0f},
    };
    Inventory::addItem("cup");
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.layout << " at " << c.progress);
        Session::params["ui"] = c.layout;
        InventoryPanel::notifications[0].progress = c.progress;
        std::vector<InventoryPanel::NotificationSprite> sprites = InventoryPanel::notificationSprites();
        ASSERT_EQ(sprites.size(), 2u);
        bool mobile = vessot::String(c.layout) == "mobile";
        EXPECT_EQ(sprites[0].image->getName(), "gui/inv_up");
        EXPECT_EQ(sprites[0].rect, morvec::Rectangle(2, mobile ? 265 : 283, mobile ? 54 : 35, mobile ? 54 : 35));
        EXPECT_EQ(sprites[1].image->getName(), "items/cup");
        EXPECT_NEAR(sprites[1].rect.x, c.x, 0.01f);
        EXPECT_NEAR(sprites[1].rect.y, c.y, 0.01f);
        EXPECT_NEAR(sprites[1].rect.w, c.size, 0.01f);
        EXPECT_NEAR(sprites[1].alpha, c.alpha, 0.001f);
    }
    Session::params["ui"] = "";
    // An item without a picture shows the button alone and is logged once.
    InventoryPanel::notifications[0].item = "mystery";
    game->step(3);
    EXPECT_EQ(InventoryPanel::notificationSprites().size(), 1u);
    std::string log = game->log();
    const std::string line = "[vorne] ERROR! drawNotification: the image 'items/mystery' does not exist";
    ASSERT_NE(log.find(line), std::string::npos);
    EXPECT_EQ(log.find(line, log.find(line) + 1), std::string::npos);
}

} // namespace
