#pragma once
// The inventory panel of the interface: what the inventory model tells it about every change.

#include "vessot/String.h"

using vessot::String;

namespace InventoryPanel {

void notifyItemAdded(const String& item);
void refresh();
void updateHoverImages(const String& item);
void updatePushedImages();

} // namespace InventoryPanel
