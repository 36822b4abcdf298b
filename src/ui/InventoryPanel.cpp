// The inventory panel: opening and closing it with its growing layout, the pages of slots and the
// inventory button.
#include "ui/InventoryPanel.h"

#include "engine/scene/Chapter.h"
#include "engine/scene/Scene.h"
#include "engine/session/GameUtil.h"
#include "engine/session/Session.h"
#include "engine/session/TransitionManager.h"
#include "engine/session/Vars.h"
#include "engine/view/Input.h"
#include "engine/view/Viewport.h"
#include "script/Character2D.h"
#include "script/Characters.h"
#include "script/Inventory.h"
#include "script/Speech.h"
#include "ui/Hud.h"

#include "echon/AudioManager.h"
#include "nimboui/Animators.h"
#include "nimboui/ImageButton.h"

#include <algorithm>
#include <span>

namespace InventoryPanel {

int page = 0;
int selectedSlot = -1;
bool lookMode = false;
bool useMode = false;
bool autoCloseArmed = false;
morvec::Vector2 collapsePoint(0, 0);

namespace {

constexpr float ANIMATION_TIME = 0.2f;

// Where opening moves and sizes an element: x, y, width, height on the desktop and on "mobile".
struct Place {
    const char* name;
    morvec::Rectangle desktop;
    morvec::Rectangle mobile;
};

// "inventory" first, then the elements in the order opening animates them.
const Place LAYOUT[] = {
    {"inventory", {510, 0, 320, 320}, {470, -50, 420, 420}},
    {"inv_look_button", {31, 108, 45, 45}, {40.7f, 141.75f, 59, 59}},
    {"inv_use_button", {46, 181, 45, 45}, {60.4f, 237.6f, 59, 59}},
    {"inv_pages_left", {262, 95, 27.25f, 51.875f}, {343.9f, 124.7f, 35.8f, 68.1f}},
    {"inv_pages_right", {248, 213.375f, 27.25f, 51.875f}, {325.5f, 280.1f, 35.8f, 68.1f}},
    {"inv_slot0", {120, 101, 32, 32}, {157.5f, 132.6f, 42, 42}},
    {"inv_slot1", {174, 97, 32, 32}, {228.4f, 127.3f, 42, 42}},
    {"inv_slot2", {229, 97, 32, 32}, {300.6f, 127.3f, 42, 42}},
    {"inv_slot3", {130, 159, 32, 32}, {170.6f, 208.7f, 42, 42}},
    {"inv_slot4", {177, 156, 32, 32}, {232.3f, 204.8f, 42, 42}},
    {"inv_slot5", {225, 152, 32, 32}, {295.3f, 199.5f, 42, 42}},
    {"inv_slot6", {136, 213, 32, 32}, {178.5f, 279.6f, 42, 42}},
    {"inv_slot7", {179, 209, 32, 32}, {234.9f, 274.3f, 42, 42}},
    {"inv_slot8", {222, 205, 32, 32}, {291.4f, 269.1f, 42, 42}},
};

// The order in which closing shrinks the elements.
const char* const CLOSING_ORDER[] = {"inv_pages_left", "inv_pages_right", "inv_slot0",      "inv_slot1", "inv_slot2",
                                     "inv_slot3",      "inv_slot4",       "inv_slot5",      "inv_slot6", "inv_slot7",
                                     "inv_slot8",      "inv_use_button",  "inv_look_button"};

template <class T> T* object(const String& name) {
    return Hud::uiObjectOf<T>(name);
}

void setButtonImages(const String& name, const String& image, const String& pushed, const String& hover) {
    auto* button = object<nimboui::ImageButton>(name);
    button->setImageByName(image);
    button->setPushedImageByName(pushed);
    button->setHoverImageByName(hover);
}

bool isOpeningAllowed() {
    Scene* scene = Session::activeScene;
    // Behind the pause screen nothing opens: the right button would otherwise open it there.
    if (!scene || isOpen() || Characters::isPlayerBusy() || Speech::isSpeaking() || Session::activeTransition ||
        Hud::isResumePanelVisible()) {
        return false;
    }
    String chapter = scene->chapter->getName();
    return scene->getProperty("hide_ui").empty() && Vars::value("cdialog").empty() && chapter != "ui" &&
           chapter != "menu";
}

// The inventory button, the panel's close button while it is open, goes just over the panel: under
// the character switcher, the verb coin, the dialogs and the pause screen, which cover both.
void placeButtonOverPanel() {
    nimboui::Object* button = object<nimboui::Object>("inv_button");
    nimboui::Object* panel = object<nimboui::Object>("inv");
    std::vector<nimboui::Object*> order;
    for (nimboui::Object* child : panel->getParent()->getChildren()) {
        if (child != button) {
            order.push_back(child);
        }
        if (child == panel) {
            order.push_back(button);
        }
    }
    panel->getParent()->reorderChildren(order);
}

// The current character of the characters chapter (whichever scene shows it) stops what it does.
void stopCurrentCharacter() {
    auto* character = dynamic_cast<Character2D*>(charactersChapter->findObject(Vars::value("current_character")));
    if (character && character->getJobQueueSize() > 0) {
        character->clearJobs();
    }
}

} // namespace

bool isOpen() {
    return Hud::isUiObjectShown("inv");
}

void playSound(const String& name) {
    echon::mgr->play(uiChapter->getFullSoundName(name), 0.0f, false, 1.0f);
}

void animateElement(const String& name, float x, float y, float width, float height) {
    if (width != 0.0f) {
        nimboui::Object* element = object<nimboui::Object>(name);
        element->setPosition(0, 0);
        element->setSize(0, 0);
    }
    object<nimboui::Animators::Mover>(name + "_mover")->move(x, y, ANIMATION_TIME);
    object<nimboui::Animators::Scaler>(name + "_scaler")->scale(width, height, ANIMATION_TIME);
}

void open() {
    if (!isOpeningAllowed()) {
        return;
    }
    fastForwardActive = false;
    object<nimboui::Object>("inv")->setAlpha(0.01f);
    object<nimboui::Animators::AlphaFader>("inv_bg_fader")->fade(1.0f, ANIMATION_TIME);

    collapsePoint = morvec::Vector2(499 - Viewport::getWidescreenOffset(), 300);
    nimboui::Object* inventory = object<nimboui::Object>("inventory");
    inventory->setPosition(collapsePoint);
    inventory->setSize(0, 0);
    bool mobile = Session::getParam("ui") == "mobile";
    const morvec::Rectangle& panel = mobile ? LAYOUT[0].mobile : LAYOUT[0].desktop;
    object<nimboui::Animators::Mover>("inventory_mover")->move(panel.x, panel.y, ANIMATION_TIME);
    object<nimboui::Animators::Scaler>("inventory_scaler")->scale(panel.w, panel.h, ANIMATION_TIME);
    for (const Place& place : std::span(LAYOUT).subspan(1)) {
        const morvec::Rectangle& r = mobile ? place.mobile : place.desktop;
        animateElement(place.name, r.x, r.y, r.w, r.h);
    }

    Hud::hideButtons(false);
    setButtonImages("inv_button", "gui/inv_close_up", "gui/inv_close_dn", "gui/inv_close_hover");
    placeButtonOverPanel();
    autoCloseArmed = true;
    lookMode = false;
    useMode = false;
    setButtonImages("inv_use_button", "gui/use_dn", "gui/use_dn_pushed", "gui/use_dn_hover");
    setButtonImages("inv_look_button", "gui/look_dn", "gui/look_dn_pushed", "gui/look_dn_hover");
    refresh();
    // The hover label goes at once.
    Hud::fadeRollover(100.0f);
    Vars::get("inv_open")->setValue("1", false);
    stopCurrentCharacter();
    playSound("inv_open");
}

void close() {
    if (!isOpen()) {
        return;
    }
    object<nimboui::Animators::AlphaFader>("inv_bg_fader")->fade(0.0f, ANIMATION_TIME);
    object<nimboui::Animators::Mover>("inventory_mover")->move(collapsePoint.x, collapsePoint.y, ANIMATION_TIME);
    object<nimboui::Animators::Scaler>("inventory_scaler")->scale(0, 0, ANIMATION_TIME);
    for (const char* name : CLOSING_ORDER) {
        animateElement(name, 0, 0, 0, 0);
    }
    // With an item in hand the button keeps its close images: a click on it puts the item back.
    if (Inventory::getSelectedItem().empty()) {
        resetInventoryButton();
    }
    Vars::get("inv_open")->setValue("0", false);
    playSound("inv_close");
}

void refresh() {
    if (!uiChapter || !isOpen()) {
        return;
    }
    int count = Inventory::items.size();
    if (PAGE_SIZE * page >= count) {
        page = std::max(count - 1, 0) / PAGE_SIZE;
    }
    page = std::max(page, 0);
    object<nimboui::Object>("inv_pages_left")->setVisible(page > 0);
    object<nimboui::Object>("inv_pages_right")->setVisible(count - PAGE_SIZE * page > PAGE_SIZE);
    String held = Inventory::getSelectedItem();
    if (held.empty()) {
        selectedSlot = -1;
    }
    for (int i = 0; i < PAGE_SIZE; ++i) {
        auto* slot = object<nimboui::ImageButton>("inv_slot" + String(i));
        int index = PAGE_SIZE * page + i;
        if (index >= count) {
            slot->setVisible(false);
            continue;
        }
        const String& item = Inventory::items[index];
        slot->setImageByName("items/" + item);
        slot->setVisible(true);
        slot->setHoverImageByName("items/hover_" + item);
        slot->setPushedImageByName("items/pushed_" + item);
        bool inHand = selectedSlot == -1 ? !held.empty() && item == held : selectedSlot == index;
        slot->setAlpha(inHand ? 0.3f : 1.0f);
    }
}

void resetInventoryButton() {
    setButtonImages("inv_button", "gui/inv_up", "gui/inv_dn", "gui/inv_hover");
    if (!Session::sceneLocked) {
        Hud::showButtons(false);
    }
}

void onPagesLeftClick(nimboui::EventArgs*) {
    Hud::playClick();
    page = std::max(page - 1, 0);
    refresh();
}

void onPagesRightClick(nimboui::EventArgs*) {
    Hud::playClick();
    ++page;
    refresh();
}

void onInventoryButtonClick(nimboui::EventArgs*) {
    if (isOpen()) {
        close();
    } else if (Characters::isPlayerBusy() || Speech::isSpeaking()) {
        if (Speech::isSpeaking()) {
            Speech::skipCurrentLine();
        }
    } else if (object<nimboui::ImageButton>("inv_button")->getImageName() == "gui/inv_close_up") {
        // An item in hand with the panel closed: the button puts it back.
        Inventory::setSelectedItem("");
        resetInventoryButton();
    } else {
        open();
    }
}

} // namespace InventoryPanel
