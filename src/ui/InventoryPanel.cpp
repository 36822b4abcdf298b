#include "ui/InventoryPanel.h"

#include "ui/Hud.h"

#include "nimboui/Object.h"

namespace InventoryPanel {

bool lookMode = false;
bool useMode = false;

// The panel's slots, pages, notifications and buttons are the interface's; until it builds them
// these calls have nothing to draw or arm.
void notifyItemAdded(const String&) {
    refresh();
}
void refresh() {}
void updateHoverImages(const String&) {}
void clearSelection() {}
void registerEvents() {}
bool isDraggingItem() {
    return false;
}
bool isModeArmed() {
    return lookMode || useMode;
}
void resetButtons() {}
void update(float) {}
void drawNotification() {}

bool isOpen() {
    return Hud::isUiObjectShown("inv");
}

void open() {
    if (nimboui::Object* panel = Hud::uiObject("inv")) {
        panel->setAlpha(1.0f);
        panel->setVisible(true);
    }
}

void close() {
    if (nimboui::Object* panel = Hud::uiObject("inv")) {
        panel->setVisible(false);
    }
}

} // namespace InventoryPanel
