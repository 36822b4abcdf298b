#include "engine/CoreFixture.h"

class InventoryTest : public CoreFixture {
protected:
    void SetUp() override {
        CoreFixture::SetUp();
        define("items", "");
        Vars::get("items")->addListener(Inventory::onItemsChanged);
    }
};

TEST_F(InventoryTest, DuplicatesAreKeptAndMirrored) {
    Inventory::addItem("coin");
    Inventory::addItem("coin");
    Inventory::addItem("map");
    EXPECT_EQ(Vars::value("items"), "coin,coin,map");
    Inventory::removeItem("coin");
    EXPECT_EQ(Vars::value("items"), "coin,map");
    EXPECT_EQ(Inventory::items, (vessot::Array<String>{"coin", "map"}));
}

TEST_F(InventoryTest, VariableWritesRebuildTheList) {
    Inventory::addItem("coin");
    Vars::get("items")->setValue("a,b,,c");
    EXPECT_EQ(Inventory::items, (vessot::Array<String>{"a", "b", "c"}));
    Vars::get("items")->setValue("");
    EXPECT_TRUE(Inventory::items.empty());
}

TEST_F(InventoryTest, ItemInHand) {
    Inventory::addItem("coin");
    Inventory::addItem("map");
    Inventory::setSelectedItem("coin");
    Inventory::removeItem("map");
    EXPECT_EQ(Inventory::getSelectedItem(), "coin");
    Inventory::removeItem("coin");
    EXPECT_EQ(Inventory::getSelectedItem(), "");
    Inventory::setSelectedItem("rope");
    Inventory::addItem("x");
    EXPECT_EQ(Inventory::getSelectedItem(), "rope");
}

TEST_F(InventoryTest, RemovingAMissingItemDoesNothing) {
    Inventory::addItem("coin");
    Vars::get("items")->initialValue = "marker";
    Inventory::removeItem("sword");
    EXPECT_EQ(Vars::value("items"), "coin");
    Inventory::clear();
    EXPECT_EQ(Vars::value("items"), "");
    Inventory::clear();
    EXPECT_TRUE(Inventory::items.empty());
}

TEST_F(InventoryTest, LoadedDiffRebuildsTheInventory) {
    Vars::get("items")->setValue("coin");
    Vars::snapshotInitialValues();
    Vars::get("items")->setValue("coin,map");
    Vars::reset();
    // A reset alone runs no listener.
    EXPECT_EQ(Inventory::items, (vessot::Array<String>{"coin", "map"}));
    Vars::get("items")->assign(*Vars::get("items"));
    EXPECT_EQ(Inventory::items, (vessot::Array<String>{"coin"}));
}
