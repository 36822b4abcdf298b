// The drawn cursor and the hover label on the running game: the cursor of every state, the verb
// cursors of actions followed through references and groups, and where the label is drawn.
#include "UiTest.h"

#include "engine/view/Input.h"
#include "engine/view/Viewport.h"
#include "script/Actions.h"
#include "script/Inventory.h"
#include "script/Speech.h"

#include "nimbo/Nimbo.h"
#include "runel/Renderer.h"

#include <functional>
#include <tuple>

namespace {

const morvec::Vector2 EMPTY(213, 150);
const morvec::Vector2 COCKPIT_DOOR(391, 185);
const uint32_t DOOR = 0x008000;

class CursorTest : public RunningGame {
protected:
    // The pointer at an interface point, the scene's at the same view point (a 4:3 window).
    static void pointAt(morvec::Vector2 p) {
        nimboui::setCursorPosition(p);
        sceneCursor = p;
    }

    static vessot::String cursorName() {
        nimboui::Image* image = Hud::getCursorImage();
        return image ? image->getName() : vessot::String();
    }

    static Action* owned(Action* action) {
        action->setOwner(Session::activeScene->chapter);
        return action;
    }

    static Actions::Multiple* verbs(std::vector<std::pair<const char*, const char*>> entries) {
        auto* menu = new Actions::Multiple();
        for (const auto& [verb, key] : entries) {
            Action* action = owned(new Actions::DebugPrint(verb));
            action->setRolloverKey(key);
            menu->addAction(verb, "", action);
        }
        return menu;
    }
};

TEST_F(CursorTest, TheCursorTellsWhatAClickWouldDo) {
    struct Case {
        const char* name;
        std::function<void()> arrange;
        const char* cursor;
    };
    const Case cases[] = {
        {"nothing there", [] { pointAt(EMPTY); }, "gui/cursor"},
        {"a hotspot",
         [] {
             pointAt(COCKPIT_DOOR);
             Session::activeScene->actions[DOOR]->setRolloverKey("RO_DOOR");
         },
         "gui/cursor2"},
        {"an exit", [] { Session::activeScene->actions[DOOR]->setRolloverKey("RO_DOOR|r"); }, "gui/cursor_r"},
        {"an exit, casual", [] { Vars::get("casual_mode")->setValue("1", true); }, "gui/cursor_r"},
        {"any click", [] { Session::activeScene->actions[DOOR]->setRolloverKey("RO_DOOR|x"); }, "gui/cursor_look"},
        {"any click, not casual", [] { Vars::get("casual_mode")->setValue("0", true); }, "gui/cursor_x"},
        {"a button", [] { pointAt(centreOf("inv_button")); }, "gui/cursor2"},
        {"locked, on a button", [] { Session::lockScene(); }, "gui/cursor2"},
        {"locked", [] { pointAt(COCKPIT_DOOR); }, "gui/cursor_noaction"},
        {"an item in hand", [] { Session::unlockScene(), Inventory::selectedItem = "keycard"; }, "items/keycard"},
        {"an item without a picture", [] { Inventory::selectedItem = "sketch"; }, "gui/cursor"},
        {"a line spoken",
         [] {
             Inventory::selectedItem = "", Speech::speechMap["vorne"] = {{"Hi", 2.0f}};
         },
         "gui/cursor"},
        {"the inventory in look mode",
         [] {
             Speech::speechMap.clear();
             InventoryPanel::open();
             InventoryPanel::lookMode = true;
         },
         "gui/cursor_look"},
        {"the inventory", [] { InventoryPanel::lookMode = false; }, "gui/cursor"},
        {"a question, on a button",
         [] {
             InventoryPanel::close();
             Vars::get("cdialog")->setValue("Q,none,none", true);
             pointAt(centreOf("inv_button"));
         },
         "gui/cursor2"},
        {"the logo screen, asking", [] { switchNow("menu.Logo"); }, "gui/cursor"},
        {"the logo screen", [] { Vars::get("cdialog")->setValue("", true); }, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.arrange();
        EXPECT_EQ(cursorName(), c.cursor);
    }
    // The held item's missing picture was named once.
    std::string log = game->log();
    size_t first = log.find("image 'items/sketch' not found");
    ASSERT_NE(first, std::string::npos);
    EXPECT_EQ(log.find("image 'items/sketch' not found", first + 1), std::string::npos);
}

TEST_F(CursorTest, ScrollingAWideSceneShowsItsDirectionAndEmptiesTheLabel) {
    switchNow("Corridor");
    edgeWalkTarget = morvec::Vector2(600, 280);
    // The scene's pointer tells the side, also where the interface's lies on the other.
    const std::tuple<float, float, const char*> cases[] = {
        {400, 400, "gui/cursor_r"}, {10, 10, "gui/cursor_l"}, {230, 200, "gui/cursor_l"}};
    for (const auto& [guiX, x, cursor] : cases) {
        pointAt(morvec::Vector2(guiX, 150));
        sceneCursor.x = x;
        Hud::rolloverText = "Door";
        EXPECT_EQ(cursorName(), cursor);
        EXPECT_EQ(Hud::rolloverText, " ");
        EXPECT_EQ(Hud::rolloverTimer, 2.0f);
    }
}

TEST_F(CursorTest, AnActionsVerbCursorFollowsReferencesAndGroups) {
    Chapter* chapter = Session::activeScene->chapter;
    auto reference = [&](const char* to) { return owned(new Actions::Reference(to)); };
    chapter->registerNamedAction("to_talk", reference("talker"));
    chapter->registerNamedAction("talker", verbs({{"talk", ""}, {"look", ""}}));
    chapter->registerNamedAction("loop", reference("loop"));
    auto composite = [&](std::vector<const char*> conditions) {
        auto* group = new Actions::Composite();
        for (const char* condition : conditions) {
            group->addAction(condition, verbs({{"talk", ""}}));
        }
        return group;
    };
    auto* withNoItem = new Actions::ItemAction();
    withNoItem->addAction("keycard", "", verbs({{"look", ""}}));
    withNoItem->addAction("noitem", "", verbs({{"talk", ""}}));
    auto* itemsOnly = new Actions::ItemAction();
    itemsOnly->addAction("keycard", "", verbs({{"talk", ""}}));
    struct Case {
        const char* name;
        Action* action;
        const char* cursor;
    };
    const Case cases[] = {
        {"none", nullptr, "gui/cursor2"},
        {"talk", verbs({{"look", ""}, {"talk", ""}}), "gui/cursor_talk"},
        {"a casual use", verbs({{"look", ""}, {"use", "ui.casual_use_switch"}}), "gui/cursor_use"},
        {"a plain use", verbs({{"use", "RO_USE"}}), "gui/cursor_look"},
        {"look", verbs({{"look", ""}}), "gui/cursor_look"},
        {"any other action", owned(new Actions::DebugPrint("x")), "gui/cursor_look"},
        {"no entry holds", composite({"1 == 0", "2 == 0"}), "gui/cursor2"},
        {"one entry holds", composite({"1 == 0", "1 == 1"}), "gui/cursor_talk"},
        {"two entries hold", composite({"1 == 1", "1 == 0", "1 == 1"}), "gui/cursor2"},
        {"empty hands", withNoItem, "gui/cursor_talk"},
        {"items only", itemsOnly, "gui/cursor2"},
        {"a chain of references", reference("to_talk"), "gui/cursor_talk"},
        {"a loop of references", reference("loop"), "gui/cursor2"},
    };
    size_t logged = game->log().size();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Hud::getActionCursor(c.action)->getName(), c.cursor);
        delete c.action;
    }
    EXPECT_EQ(game->log().size(), logged); // the loop was met silently
    EXPECT_TRUE(Actions::ReferenceDepth::hasRoom());
}

class RolloverTest : public CursorTest {
protected:
    void TearDown() override {
        Session::params["rollover_placement"] = "top";
        Session::params["ui"] = "pc";
        Session::params["target"] = "pc";
        CursorTest::TearDown();
    }

    static float width(const char* font, const char* text) { return runel::renderer->getTextWidth(font, text); }
    static float height(const char* font, const char* text) { return runel::renderer->getTextHeight(font, text, 1000); }
};

TEST_F(RolloverTest, TheLabelStandsAtTheTopOrBesideTheCursorAndStaysOnScreen) {
    const char* small = "hheaven:0.5";
    struct Case {
        const char* name;
        const char* placement;
        const char* layout;
        morvec::Vector2 cursor;
        std::function<void()> arrange;
        const char* font;
        morvec::Rectangle rect;
        int align;
    };
    const Case cases[] = {
        {"top", "top", "pc", EMPTY, [] {}, "hheaven:0.7", {-287, 5, 1000, 1000}, 7},
        {"top, mobile", "top", "mobile", EMPTY, [] {}, "hheaven:1.3", {38, 5, 350, 1000}, 7},
        {"at the cursor", "cursor", "pc", {100, 100}, [] {}, small, {104, 102, 1000, 1000}, 3},
        {"over the open inventory",
         "cursor",
         "pc",
         {100, 100},
         [] { InventoryPanel::open(); },
         "hheaven:0.7",
         {-287, 5, 1000, 1000},
         7},
        {"with an item in hand",
         "cursor",
         "pc",
         {100, 100},
         [this] {
             InventoryPanel::close();
             game->stepSeconds(0.3f); // the panel fades out
             Inventory::selectedItem = "keycard";
         },
         small,
         {111, 109, 1000, 1000},
         3},
        {"at the right edge",
         "cursor",
         "pc",
         {420, 100},
         [] { Inventory::selectedItem = ""; },
         small,
         {421 - width(small, "Door"), 102, 1000, 1000},
         3},
        {"at the bottom", "cursor", "pc", {100, 318}, [] {}, small, {104, 315 - height(small, "Door"), 1000, 1000}, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Session::params["rollover_placement"] = c.placement;
        Session::params["ui"] = c.layout;
        c.arrange();
        pointAt(c.cursor);
        Hud::setRollover("Door");
        Hud::RolloverLayout layout = Hud::layoutRollover();
        EXPECT_EQ(layout.font, c.font);
        EXPECT_EQ(layout.align, c.align);
        EXPECT_NEAR(layout.rect.x, c.rect.x, 1e-3f);
        EXPECT_NEAR(layout.rect.y, c.rect.y, 1e-3f);
        EXPECT_EQ(layout.rect.w, c.rect.w);
        EXPECT_EQ(layout.icon.image, nullptr); // the desktop shows its cursor instead
    }
}

TEST_F(RolloverTest, TheLabelFadesFromItsLastTextAndKeepsItsIconForABlank) {
    Session::params["target"] = "tablet";
    pointAt(COCKPIT_DOOR);
    Session::activeScene->actions[DOOR]->setRolloverKey("RO_DOOR|r");
    Hud::setRollover("Door");
    nimboui::Image* exit = uiChapter->getImage("gui/cursor_r");
    EXPECT_EQ(Hud::rolloverCursor, exit);
    struct Step {
        const char* name;
        std::function<void()> act;
        const char* text;
        float timer;
        int alpha;
    };
    const Step steps[] = {
        {"set", [] {}, "Door", 2.0f, 255},
        {"half a second", [] { Hud::fadeRollover(0.5f); }, "Door", 0.5f, 127},
        {"empty text", [] { Hud::setRollover(""); }, "Door", 0.5f, 127},
        {"a blank", [] { pointAt(EMPTY), Hud::setRollover(" "); }, " ", 2.0f, 255},
        {"under the verb coin", [] { ui("choice_buttons")->setAlpha(1.0f), Hud::setRollover("Window"); }, " ", 2.0f,
         255},
        {"faded out", [] { Hud::fadeRollover(100.0f); }, " ", 0.0f, 0},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        step.act();
        EXPECT_EQ(Hud::rolloverText, step.text);
        EXPECT_FLOAT_EQ(Hud::rolloverTimer, step.timer);
        EXPECT_EQ(Hud::alphaByte(Hud::layoutRollover().alpha), step.alpha);
        EXPECT_EQ(Hud::rolloverCursor, exit); // a blank keeps the icon
    }
    // The icon of an exit stands left of the centred text, shifted by its kind.
    ui("choice_buttons")->setAlpha(0.0f);
    pointAt(COCKPIT_DOOR);
    Hud::setRollover("Door");
    Hud::RolloverLayout layout = Hud::layoutRollover();
    float tw = width("hheaven:0.7", "Door");
    float th = height("hheaven:0.7", "Door");
    ASSERT_EQ(layout.icon.image, exit);
    EXPECT_NEAR(layout.icon.rect.x, 213 - (tw / 2 + exit->getWidth() / 3) - 3, 1e-3f);
    EXPECT_NEAR(layout.icon.rect.y, th / 2 + 2 - 7 + 6, 1e-3f);
    EXPECT_NEAR(layout.icon.rect.w, exit->getWidth() / 3, 1e-3f);
    Hud::setRollover(" ");
    EXPECT_EQ(Hud::layoutRollover().icon.image, nullptr);
}

} // namespace
