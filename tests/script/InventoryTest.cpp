#include "TempDir.h"
#include "engine/CoreFixture.h"

#include "vessot/File.h"

#include <functional>

class InventoryTest : public CoreFixture {
protected:
    void SetUp() override {
        CoreFixture::SetUp();
        vessot::Log::reset();
        vessot::Log::setFilename(dir / "game.log", true);
        define("items", "");
        Vars::get("items")->addListener(Inventory::onItemsChanged);
        Vars::get("items")->addListener(countWrite);
        writes = 0;
    }
    void TearDown() override {
        vessot::Log::reset();
        CoreFixture::TearDown();
    }

    static void countWrite(Variable*, const String&, const String&) { ++writes; }
    std::string log() { return vessot::File::hread(dir / "game.log"); }

    static int writes;
    TempDir dir;
};
int InventoryTest::writes = 0;

TEST_F(InventoryTest, DuplicatesAreKeptAndTheFirstCopyGoes) {
    Inventory::addItem("coin");
    Inventory::addItem("coin");
    Inventory::addItem("map");
    EXPECT_EQ(Vars::value("items"), "coin,coin,map");
    const struct {
        const char* held;
        const char* removed;
        const char* left;
    } cases[] = {
        {"coin,coin,map", "coin", "coin,map"},
        {"coin,map,coin", "coin", "map,coin"},
        {"map,coin,map", "map", "coin,map"},
    };
    for (const auto& c : cases) {
        Vars::get("items")->setValue(c.held);
        Inventory::removeItem(c.removed);
        EXPECT_EQ(Vars::value("items"), c.left) << c.held;
        EXPECT_EQ(Inventory::items, vessot::String(c.left).split(",")) << c.held;
    }
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

TEST_F(InventoryTest, RemovingAMissingItemDoesNothingWhileClearingAlwaysLogsAndSetsTheList) {
    Inventory::addItem("coin");
    Vars::get("items")->initialValue = "marker";
    struct Case {
        const char* what;
        std::function<void()> act;
        const char* items;
        const char* logLine; // null: nothing logged and "items" not set
    };
    const Case cases[] = {
        {"remove an item not held", [] { Inventory::removeItem("sword"); }, "coin", nullptr},
        {"clear", [] { Inventory::clear(); }, "", "[zeph] Inventory: cleared all items\n"},
        {"clear an empty list", [] { Inventory::clear(); }, "", "[zeph] Inventory: cleared all items\n"},
        {"remove from an empty list", [] { Inventory::removeItem("coin"); }, "", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        size_t logged = log().size();
        int written = writes;
        c.act();
        EXPECT_EQ(Vars::value("items"), c.items);
        std::string lines = log().substr(logged);
        if (c.logLine) {
            EXPECT_EQ(lines.rfind(c.logLine, 0), 0u) << lines;
        } else {
            EXPECT_EQ(lines, "");
        }
        EXPECT_EQ(writes - written, c.logLine ? 1 : 0);
    }
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
