#pragma once
// The inventory panel of the interface ("inv" in the "ui" chapter).

#include "vessot/String.h"

using vessot::String;

namespace InventoryPanel {

void notifyItemAdded(const String& item);
void refresh();
void updateHoverImages(const String& item);
// Shows that no item is in hand.
void clearSelection();
void registerEvents();
bool isOpen();
// An item taken out of a slot is being carried.
bool isDraggingItem();
// The look or use mode is armed.
bool isModeArmed();
void resetButtons();
void open();
void close();
void update(float step);

} // namespace InventoryPanel
