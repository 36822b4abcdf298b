#include "script/Inventory.h"

#include "engine/InterfaceServices.h"
#include "engine/session/Session.h"
#include "engine/session/Vars.h"

namespace Inventory {

vessot::Array<String> items;
String selectedItem;
bool saving = false;

void addItem(const String& item) {
    Session::log("Inventory: added item " + item);
    items.add(item);
    save();
    InventoryPanel::notifyItemAdded(item);
}

void removeItem(const String& item) {
    int index = items.indexOf(item);
    if (index < 0) {
        return;
    }
    Session::log("Inventory: removed item " + item);
    items.removeAt(index);
    save();
    InventoryPanel::refresh();
    if (selectedItem == item) {
        selectedItem = "";
        InventoryPanel::updatePushedImages();
    }
}

void clear() {
    Session::log("Inventory: cleared all items");
    selectedItem = "";
    InventoryPanel::updatePushedImages();
    items.clear();
    save();
    InventoryPanel::refresh();
}

bool hasItem(const String& item) {
    return items.contains(item);
}

void setSelectedItem(const String& item) {
    selectedItem = item;
    if (!item.empty()) {
        InventoryPanel::updateHoverImages(item);
    } else {
        InventoryPanel::updatePushedImages();
    }
}

String getSelectedItem() {
    return selectedItem;
}

void save() {
    String text;
    for (const String& item : items) {
        text += item + ",";
    }
    if (!text.empty()) {
        text.pop_back();
    }
    saving = true;
    try {
        Vars::get("items")->setValue(text, false);
    } catch (...) {
        saving = false;
        throw;
    }
    saving = false;
}

void onItemsChanged(Variable*, const String& newValue, const String&) {
    if (saving) {
        return;
    }
    items.clear();
    InventoryPanel::refresh();
    if (newValue.empty()) {
        return;
    }
    // An empty piece ("a,,b") names no item.
    for (const String& piece : newValue.split(",", -1, true)) {
        items.add(piece);
    }
}

} // namespace Inventory
