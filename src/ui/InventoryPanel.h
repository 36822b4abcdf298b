#pragma once
// The inventory panel ("inv" in the "ui" chapter): nine slots a page over the running scene, the use
// and look buttons with their modes, the item in hand, the long press that carries an item, and the
// new-item notification over the inventory button. InventoryPanel.cpp opens, closes and pages the
// panel; InventoryItems.cpp handles the items in it; InventoryNotifications.cpp the notifications.
// What the engine calls is declared with the interface's services.

#include "engine/InterfaceServices.h"

#include "morvec/Rectangle.h"
#include "morvec/Vector.h"
#include "vessot/Array.h"

#include <vector>

namespace nimboui {
class Image;
}

namespace InventoryPanel {

// Slots a page; all page arithmetic uses it.
constexpr int PAGE_SIZE = 9;

// ---- the panel (InventoryPanel.cpp)
// The page shown: items 9 x page to 9 x page + 8.
extern int page;
// The index in Inventory::items of the slot whose item is in hand; -1 when only its name is known.
extern int selectedSlot;
// Set on every open: the panel may close itself once when an item in hand leaves it.
extern bool autoCloseArmed;
// Where "inventory" grows from on open and shrinks to on close, in the space of "inv".
extern morvec::Vector2 collapsePoint;

// Starts the element's mover towards (x, y) and its scaler towards (width, height); a width other
// than 0 first puts the element at (0, 0) with no size.
void animateElement(const String& name, float x, float y, float width, float height);
// Gives the inventory button its bag images back and, unless the scene is locked, the HUD buttons.
void resetInventoryButton();
void onInventoryButtonClick(nimboui::EventArgs* args);
void onPagesLeftClick(nimboui::EventArgs* args);
void onPagesRightClick(nimboui::EventArgs* args);
// Plays a sound of the "ui" chapter once.
void playSound(const String& name);

// ---- the items (InventoryItems.cpp)
// The item of the slot last pressed with nothing in hand; "" when none.
extern String pressedItem;
// The countdown of a long press and of a page turn under a carried item.
extern float holdTimer;
// A long press has taken the pressed item in hand.
extern bool dragging;
// Seconds since an item was last taken by a click.
extern float pickUpTime;

void onSlotClick(nimboui::EventArgs* args);
void onSlotMouseDown(nimboui::EventArgs* args);
// A click on the panel itself: outside the panel's rectangle it closes; a carried item is dropped
// on what lies under the cursor.
void onPanelClick(nimboui::EventArgs* args);
void onUseButtonClick(nimboui::EventArgs* args);
void onLookButtonClick(nimboui::EventArgs* args);
bool isCursorInPanel();
// The item a slot shows, read from its image name ("items/" + item).
String slotItem(nimboui::Object* slot);
// The hover label over the object (null: none) with the item in hand; "" when the panel shows none.
String hoverLabel(nimboui::Object* hovered, const String& held);
// The label of a use or look button for an item: the button's "_EX" text filled with its name.
String buttonLabel(const String& buttonName, const String& item);

// ---- new-item notifications (InventoryNotifications.cpp)
struct InventoryNotification {
    // 0 when queued; the record goes once it passes 1.
    float progress = 0.0f;
    String item;
};
// First in, first out; only the first is shown.
extern vessot::Array<InventoryNotification> notifications;

// One picture of the notification: an image into a rectangle at an alpha.
struct NotificationSprite {
    nimboui::Image* image = nullptr;
    morvec::Rectangle rect;
    float alpha = 1.0f;
};
// Advances the first notification by the step (2 s each).
void advanceNotifications(float step);
// The inventory button and the item as the first notification shows them now; none when nothing is
// pending, in the "ui" and "menu" chapters, or (for the item) when its image is missing.
std::vector<NotificationSprite> notificationSprites();

} // namespace InventoryPanel
