// The items in the inventory panel: taking one in hand and putting it back, combining two, using or
// looking at one through the use and look buttons or their modes, carrying one with a long press,
// the hover labels, and the panel's handlers.
#include "ui/InventoryPanel.h"

#include "chapters/Chapters.h"
#include "engine/scene/Chapter.h"
#include "engine/session/Session.h"
#include "engine/session/Vars.h"
#include "engine/view/Input.h"
#include "script/Inventory.h"
#include "script/Speech.h"
#include "ui/Hud.h"

#include "nimboui/ImageButton.h"
#include "nimboui/nimboui.h"
#include "vessot/Format.h"

namespace InventoryPanel {

String pressedItem;
float holdTimer = 0.0f;
bool dragging = false;
float pickUpTime = 0.0f;

namespace {

// The object that was under the cursor at the previous update; only compared, never used.
nimboui::Object* lastHovered = nullptr;

// One of the two buttons that use an item or arm their mode.
struct ModeButton {
    const char* object;
    // "gui/" + prefix + "_up" or "_dn" are its images.
    const char* prefix;
    bool& mode;
    bool (*run)(const String& item);
};

const ModeButton USE_BUTTON{"inv_use_button", "use", useMode, Chapters::runUseItemAction};
const ModeButton LOOK_BUTTON{"inv_look_button", "look", lookMode, Chapters::runLookItemAction};

bool onPc() {
    return Session::getParam("target") == "pc";
}

String text(const String& key) {
    return uiChapter->getText(key);
}

// The item in hand goes back (the selection hook shows it) and the panel closes.
void dropAndClose() {
    Inventory::setSelectedItem("");
    close();
}

void clickModeButton(const ModeButton& button, const ModeButton& other) {
    Hud::playClick();
    String held = Inventory::getSelectedItem();
    if (!held.empty()) {
        Inventory::setSelectedItem("");
        if (!button.run(held)) {
            Speech::sayGenericLine();
        }
        collapsePoint = nimboui::getCursorPosition() + morvec::Vector2(480, 0);
        close();
        return;
    }
    button.mode = !button.mode;
    String image = "gui/" + String(button.prefix) + (button.mode ? "_up" : "_dn");
    auto* object = Hud::uiObjectOf<nimboui::ImageButton>(button.object);
    object->setImageByName(image);
    object->setHoverImageByName(image + "_hover");
    object->setPushedImageByName(image + "_pushed");
    if (button.mode && other.mode) {
        clickModeButton(other, button);
    }
}

void setModeHoverImages(const char* state) {
    Hud::uiObjectOf<nimboui::ImageButton>("inv_use_button")->setHoverImageByName("gui/use_" + String(state) + "_hover");
    Hud::uiObjectOf<nimboui::ImageButton>("inv_look_button")
        ->setHoverImageByName("gui/look_" + String(state) + "_hover");
}

// A slot's click with an item in hand that is not the slot's: the two combine (in either order of
// the names) or the character refuses; either way the item goes back and the panel closes.
void combine(const String& clicked, const String& held) {
    if (!Chapters::runCombineItemsAction(clicked, held)) {
        Speech::sayGenericLine();
    }
    dropAndClose();
}

// A slot's click on the item in hand: "pc" puts it back; a touch closes the panel with it in hand
// unless it was taken more than a second ago.
void tapHeldItem(nimboui::Object* slot) {
    if (onPc()) {
        Inventory::setSelectedItem("");
        refresh();
    } else if (pickUpTime > 1.0f) {
        Inventory::setSelectedItem("");
    } else {
        collapsePoint = slot->getPosition() + morvec::Vector2(490, -31);
        close();
    }
}

nimboui::Object* objectUnderCursor() {
    nimboui::Object* root = Hud::uiObject("ui");
    if (!root) {
        return nullptr;
    }
    nimboui::Object* found = root->getChildUnderPoint(nimboui::getCursorPosition());
    return found == root ? nullptr : found;
}

// The long press: it takes the pressed item after a second; with an item carried, resting on a page
// button turns the page every second.
void updateLongPress(float step, const String& held, nimboui::Object* hovered) {
    if (pressedItem.empty()) {
        return;
    }
    if (!pointerHeld) {
        pressedItem = "";
        dragging = false;
        return;
    }
    holdTimer -= step;
    if (held.empty()) {
        if (holdTimer < 0.0f) {
            Inventory::setSelectedItem(pressedItem);
            dragging = true;
            playSound("inv_open");
        }
    } else if (hovered && hovered->getName().contains("inv_pages_")) {
        if (hovered != lastHovered) {
            holdTimer = 1.0f;
        } else if (holdTimer < 0.0f) {
            holdTimer = 1.0f;
            if (hovered->getName() == "inv_pages_left") {
                onPagesLeftClick(nullptr);
            } else {
                onPagesRightClick(nullptr);
            }
        }
    }
}

} // namespace

bool isDraggingItem() {
    return dragging && !pressedItem.empty();
}

bool isModeArmed() {
    return lookMode || useMode;
}

String slotItem(nimboui::Object* slot) {
    auto* box = dynamic_cast<nimboui::ImageBox*>(slot);
    String name = box ? box->getImageName() : String();
    String folder;
    String item;
    return name.split("/", folder, item) ? item : name;
}

bool isCursorInPanel() {
    morvec::Rectangle panel = onPc() ? morvec::Rectangle(40, 60, 270, 210) : morvec::Rectangle(20, 20, 350, 280);
    return panel.isPointInside(nimboui::getCursorPosition());
}

void onSlotClick(nimboui::EventArgs* args) {
    nimboui::Object* slot = args->object;
    String clicked = slotItem(slot);
    String held = Inventory::getSelectedItem();
    if (!held.empty()) {
        if (clicked == held) {
            tapHeldItem(slot);
        } else {
            combine(clicked, held);
        }
    } else if (lookMode || useMode) {
        Inventory::setSelectedItem(clicked);
        if (lookMode) {
            onLookButtonClick(nullptr);
        } else {
            onUseButtonClick(nullptr);
        }
        resetButtons();
    } else {
        pickUpTime = 0.0f;
        Inventory::setSelectedItem(clicked);
        selectedSlot = slot->getName().substr(8, 1).toInt() + PAGE_SIZE * page;
        refresh();
    }
}

void onSlotMouseDown(nimboui::EventArgs* args) {
    dragging = false;
    if (Inventory::getSelectedItem().empty()) {
        pressedItem = slotItem(args->object);
        holdTimer = 1.0f;
    }
}

void onPanelClick(nimboui::EventArgs*) {
    if (!isCursorInPanel()) {
        close();
        return;
    }
    if (pressedItem.empty()) {
        return;
    }
    nimboui::Object* under = objectUnderCursor();
    String name = under ? under->getName() : String();
    if (name.startsWith("inv_slot")) {
        nimboui::EventArgs slotArgs(under, 0, 0, "");
        onSlotClick(&slotArgs);
    } else if (name == "inv_look_button") {
        onLookButtonClick(nullptr);
    } else if (name == "inv_use_button") {
        onUseButtonClick(nullptr);
    } else {
        Inventory::setSelectedItem("");
    }
}

void onUseButtonClick(nimboui::EventArgs*) {
    clickModeButton(USE_BUTTON, LOOK_BUTTON);
}

void onLookButtonClick(nimboui::EventArgs*) {
    clickModeButton(LOOK_BUTTON, USE_BUTTON);
}

void resetButtons() {
    if (lookMode) {
        onLookButtonClick(nullptr);
    }
    if (useMode) {
        onUseButtonClick(nullptr);
    }
}

// The selection hooks act once the interface is set up; before, there is no panel to show it.
void updateHoverImages(const String& item) {
    if (!uiChapter) {
        return;
    }
    Vars::get("inv_item_in_selection")->setValue(item, false);
    setModeHoverImages("up");
}

void updatePushedImages() {
    if (!uiChapter) {
        return;
    }
    if (!isOpen() && Inventory::getSelectedItem().empty()) {
        resetInventoryButton();
    } else {
        refresh();
        setModeHoverImages("dn");
    }
    Vars::get("inv_item_in_selection")->setValue("0", false);
}

String buttonLabel(const String& buttonName, const String& item) {
    return vessot::jsprintf(text(buttonName.uppered() + "_EX"), text("obj_" + item));
}

String hoverLabel(nimboui::Object* hovered, const String& held) {
    String name = hovered ? hovered->getName() : String();
    if (name.startsWith("inv_slot")) {
        String item = slotItem(hovered);
        if (!held.empty() && held != item) {
            return vessot::jsprintf(text("ZEPH_COMBINE_A_WITH_B"), text("obj_" + held), text("obj_" + item));
        }
        if (lookMode || useMode) {
            return buttonLabel(lookMode ? "inv_look_button" : "inv_use_button", item);
        }
        return text("obj_" + item);
    }
    if (name == "inv_use_button" || name == "inv_look_button") {
        return held.empty() ? text(name.uppered()) : buttonLabel(name, held);
    }
    return held.empty() ? String() : text("obj_" + held);
}

void update(float step) {
    advanceNotifications(step);
    if (!uiChapter) {
        return;
    }
    morvec::Vector2 cursor = nimboui::getCursorPosition();
    String held = Inventory::getSelectedItem();
    nimboui::Object* hovered = objectUnderCursor();
    pickUpTime += step;
    updateLongPress(step, held, hovered);
    lastHovered = hovered;
    // Touch screens show hover labels only while touching.
    if (!onPc() && !pointerHeld) {
        hovered = nullptr;
    }
    Hud::setRollover(hoverLabel(hovered, held));
    Hud::fadeRollover(step);
    if (!held.empty() && autoCloseArmed && (onPc() || !pressedItem.empty()) && !isCursorInPanel()) {
        if (onPc()) {
            collapsePoint = cursor + morvec::Vector2(480, 0);
        }
        close();
        autoCloseArmed = false;
    }
}

void registerEvents() {
    const std::pair<const char*, void (*)(nimboui::EventArgs*)> clicks[] = {
        {"inv_look_button", onLookButtonClick},
        {"inv_use_button", onUseButtonClick},
        {"inv_button", onInventoryButtonClick},
        {"inv_pages_left", onPagesLeftClick},
        {"inv_pages_right", onPagesRightClick},
        {"inv", onPanelClick},
        {"inventory", onPanelClick},
    };
    for (const auto& [name, handler] : clicks) {
        uiChapter->getObject(name)->registerEvent("Click", handler);
    }
    for (int i = 0; i < PAGE_SIZE; ++i) {
        nimboui::Object* slot = uiChapter->getObject("inv_slot" + String(i));
        slot->registerEvent("Click", onSlotClick);
        slot->registerEvent("MouseDown", onSlotMouseDown);
    }
}

} // namespace InventoryPanel
