#include "ui/InventoryPanel.h"

namespace InventoryPanel {

// The panel's slots, notifications and buttons live in the "ui" chapter; until the panel is drawn
// from them these calls have nothing to update.
void notifyItemAdded(const String&) { refresh(); }
void refresh() {}
void updateHoverImages(const String&) {}
void updatePushedImages() {}

} // namespace InventoryPanel
