// The inventory in the whole game: the cockpit's toolbox hands out a battery and a wire (and then
// stands open), shown one after the other over the inventory button; the panel, opened by its button,
// combines them into a jumper lead and closes; opened again, the lead is taken and carried out of the
// panel, which closes behind it, and the dead radio takes it, and the character says so. "I" opens
// the panel and a secondary click closes it.
#include "GameHarness.h"

#include "engine/scene/Chapter.h"
#include "script/Inventory.h"
#include "script/Speech.h"
#include "ui/InventoryPanel.h"

#include "nimboui/ImageButton.h"

#include <gtest/gtest.h>

namespace {

// Hotspot centres of the cockpit, in scene units (the interface's units too in a 4:3 window).
const morvec::Vector2 TOOLBOX(343, 258);
const morvec::Vector2 TOOLBOX_HANDLE(334, 249);
const morvec::Vector2 RADIO(259, 167);
const int KEY_I = 73;
const int KEY_SPACE = 32;

class InventoryPlay : public ::testing::Test {
protected:
    void SetUp() override { game.passLoadingFade(); }

    // The centre of an object of the interface, in the interface's units.
    morvec::Vector2 centreOf(const char* name) const { return GameHarness::centreOf(game.uiObject(name)); }

    void clickOn(const char* name) {
        morvec::Vector2 at = centreOf(name);
        game.clickGui(at.x, at.y);
    }

    // The inventory button, then the panel's growth.
    void openByButton() {
        clickOn("inv_button");
        ASSERT_EQ(game.var("inv_open"), "1");
        game.stepSeconds(0.3f);
    }

    vessot::String notified() const {
        return InventoryPanel::notifications.empty() ? vessot::String() : InventoryPanel::notifications[0].item;
    }

    GameHarness game;
};

TEST_F(InventoryPlay, TwoItemsAreCombinedInThePanelAndTheirResultCarriedToTheRadio) {
    game.click(TOOLBOX.x, TOOLBOX.y);
    EXPECT_EQ(game.var("items"), "battery,wire");
    // Emptied, it stands open: dark red inside where its grey handle was.
    morvec::Vector2 handle = game.sceneToWindow(TOOLBOX_HANDLE.x, TOOLBOX_HANDLE.y);
    nimbo::Color inside = game.screenshot().getPixel((int)handle.x, (int)handle.y);
    EXPECT_GT((int)inside.r, inside.g + 20);
    EXPECT_EQ(notified(), "battery");
    game.stepSeconds(1.9f);
    EXPECT_EQ(notified(), "battery");
    game.stepSeconds(0.2f);
    EXPECT_EQ(notified(), "wire");
    game.stepSeconds(2.0f);
    EXPECT_EQ(notified(), "");

    openByButton();
    EXPECT_EQ(dynamic_cast<nimboui::ImageButton*>(game.uiObject("inv_button"))->getImageName(), "gui/inv_close_up");
    clickOn("inv_slot0");
    EXPECT_EQ(Inventory::getSelectedItem(), "battery");
    EXPECT_EQ(game.var("inv_item_in_selection"), "battery");
    clickOn("inv_slot1");
    EXPECT_EQ(game.var("items"), "jumper_lead");
    EXPECT_EQ(Inventory::getSelectedItem(), "");
    EXPECT_EQ(game.var("inv_open"), "0");
    game.stepSeconds(0.3f);
    EXPECT_FALSE(game.isShown("inv"));

    openByButton();
    clickOn("inv_slot0");
    EXPECT_EQ(Inventory::getSelectedItem(), "jumper_lead");
    game.move(390, 150);
    EXPECT_EQ(game.var("inv_open"), "0");
    EXPECT_EQ(Inventory::getSelectedItem(), "jumper_lead");
    EXPECT_EQ(dynamic_cast<nimboui::ImageButton*>(game.uiObject("inv_button"))->getImageName(), "gui/inv_close_up");
    game.stepSeconds(0.3f);

    game.click(RADIO.x, RADIO.y);
    EXPECT_EQ(game.var("radio_powered"), "1");
    EXPECT_TRUE(Speech::isSpeaking());
    EXPECT_EQ(game.var("items"), "");
    EXPECT_EQ(Inventory::getSelectedItem(), "");
    EXPECT_EQ(game.var("inv_item_in_selection"), "0");
    EXPECT_EQ(dynamic_cast<nimboui::ImageButton*>(game.uiObject("inv_button"))->getImageName(), "gui/inv_up");

    // Shortcuts wait while the line is spoken; Space skips it.
    game.key(KEY_I);
    EXPECT_FALSE(game.isShown("inv"));
    game.key(KEY_SPACE);
    game.key(KEY_I);
    EXPECT_TRUE(game.isShown("inv"));
    game.stepSeconds(0.3f);
    game.press(200, 100, 2);
    game.release(200, 100, 2);
    EXPECT_EQ(game.var("inv_open"), "0");
    game.stepSeconds(0.3f);
    EXPECT_FALSE(game.isShown("inv"));
    EXPECT_EQ(game.activeScene(), "ship.Cockpit");
}

} // namespace
