// The drawn cursor, whose image tells what a click would do, and the hover label that names what
// lies under it.
#include "ui/Hud.h"

#include "engine/scene/Scene.h"
#include "engine/session/GameUtil.h"
#include "engine/session/Session.h"
#include "engine/session/Vars.h"
#include "engine/view/Input.h"
#include "engine/view/Viewport.h"
#include "script/Actions.h"
#include "script/Characters.h"
#include "script/Inventory.h"
#include "script/Speech.h"
#include "ui/VerbCoin.h"

#include "nimbo/Nimbo.h"
#include "nimboui/ImageButton.h"
#include "nimboui/TextButton.h"
#include "nimboui/nimboui.h"
#include "runel/Renderer.h"

#include <algorithm>

float Hud::rolloverTimer = 0.0f;
String Hud::rolloverText;
nimboui::Image* Hud::rolloverCursor = nullptr;

namespace Hud {

namespace {

nimboui::Image* cursorImage(const String& name) {
    return uiImageOr(name, "gui/cursor");
}

// The object of the interface under the GUI cursor is a button.
bool isOnButton() {
    nimboui::Object* root = uiObject("ui");
    if (!root) {
        return false;
    }
    nimboui::Object* under = root->getChildUnderPoint(nimboui::getCursorPosition());
    return dynamic_cast<nimboui::ImageButton*>(under) || dynamic_cast<nimboui::TextButton*>(under);
}

// Panels and speech over the scene: the cursor only points.
bool isBlocked() {
    String dataset = GameUtil::getActiveChapterName();
    return VerbCoin::isOpen() || DialogPanel::isOpen() || Characters::isCharacterSwitcherOpen() ||
           Speech::isSpeaking() || (InventoryPanel::isOpen() && Inventory::getSelectedItem().empty()) ||
           dataset == "ui" || dataset == "menu" || !Vars::value("cdialog").empty();
}

nimboui::Image* blockedCursor(bool onButton) {
    if (InventoryPanel::isOpen() && InventoryPanel::lookMode) {
        return cursorImage("gui/cursor_look");
    }
    if (InventoryPanel::isOpen() && InventoryPanel::useMode) {
        return cursorImage("gui/cursor_use");
    }
    return cursorImage(onButton ? "gui/cursor2" : "gui/cursor");
}

// The rollover key of the hotspot under a view point; "" for none (or with an item in hand).
String hotspotKey(const morvec::Vector2& viewPoint) {
    return Session::activeScene->getActionNameAt(viewPoint.x + cameraOffsetX, viewPoint.y);
}

// The piece of a rollover key after its last "|".
String cursorSuffix(const String& key) {
    return key.substr(key.rfind("|") + 1);
}

nimboui::Image* verbMenu(const Actions::Multiple& menu) {
    if (menu.getAction("talk")) {
        return cursorImage("gui/cursor_talk");
    }
    Action* use = menu.getAction("use");
    if (use && use->getRolloverKey().startsWith("ui.casual_use")) {
        return cursorImage("gui/cursor_use");
    }
    return cursorImage("gui/cursor_look");
}

} // namespace

nimboui::Image* getCursorImage() {
    String dataset = GameUtil::getActiveChapterName();
    if (!Session::activeScene ||
        (dataset == "menu" && Session::activeScene->getName().contains("Logo") && Vars::value("cdialog").empty())) {
        return nullptr;
    }
    String item = Inventory::getSelectedItem();
    bool onButton = isOnButton();
    if (isBlocked()) {
        return blockedCursor(onButton);
    }
    if (Session::sceneLocked) {
        return cursorImage(onButton ? "gui/cursor2" : "gui/cursor_noaction");
    }
    if (!item.empty()) {
        return cursorImage("items/" + item);
    }
    if (onButton) {
        return cursorImage("gui/cursor2");
    }
    if (Viewport::isCameraScrolling()) {
        setRollover(" ");
        return getScrollCursor();
    }
    if (Vars::value("casual_mode").toBool()) {
        return getCasualHotspotCursor(sceneCursor);
    }
    return getHotspotCursor(sceneCursor);
}

nimboui::Image* getScrollCursor() {
    return cursorImage(sceneCursor.x < 213 ? "gui/cursor_l" : "gui/cursor_r");
}

nimboui::Image* getHotspotCursor(const morvec::Vector2& viewPoint) {
    String key = hotspotKey(viewPoint);
    if (key.empty()) {
        return cursorImage("gui/cursor");
    }
    return cursorImage(key.contains("|") ? "gui/cursor_" + cursorSuffix(key) : String("gui/cursor2"));
}

nimboui::Image* getCasualHotspotCursor(const morvec::Vector2& viewPoint) {
    String key = hotspotKey(viewPoint);
    if (key.empty()) {
        return cursorImage("gui/cursor");
    }
    if (key.contains("|") && !key.contains("|x")) {
        return cursorImage("gui/cursor_" + cursorSuffix(key));
    }
    return getActionCursor(Session::activeScene->getActionAt(viewPoint.x + cameraOffsetX, viewPoint.y));
}

nimboui::Image* getActionCursor(Action* action) {
    // References and groups are followed through the same guard as running them; a chain too deep
    // (a loop of references) shows the hand, without a word, since this runs every frame.
    if (!action || !Actions::ReferenceDepth::hasRoom()) {
        return cursorImage("gui/cursor2");
    }
    Actions::ReferenceDepth depth(action->getTypeName());
    if (auto* reference = dynamic_cast<Actions::Reference*>(action)) {
        return getActionCursor(reference->getAction());
    }
    if (auto* choice = dynamic_cast<Actions::ItemAction*>(action)) {
        return getActionCursor(choice->getAction("noitem"));
    }
    if (auto* group = dynamic_cast<Actions::Composite*>(action)) {
        // Exactly one entry whose condition holds gives its action's cursor; none or more, the hand.
        return getActionCursor(group->getOnlyTrueAction());
    }
    if (auto* menu = dynamic_cast<Actions::Multiple*>(action)) {
        return verbMenu(*menu);
    }
    return cursorImage("gui/cursor_look");
}

void drawCursor() {
    if (nimbo::window->isCursorVisible() || Session::getParam("target") != "pc") {
        return;
    }
    nimboui::Image* image = getCursorImage();
    if (!image) {
        return;
    }
    morvec::Vector2 p = nimboui::getCursorPosition();
    float w = image->getWidth();
    float h = image->getHeight();
    morvec::Rectangle rect(p.x - w / 4, p.y - h / 4, w / 2, h / 2);
    image->draw(rect, nimbo::Color(255, 255, 255, 255));
    if (pointerHeld) {
        // Pressed: the cursor lights up.
        nimbo::RenderSystem* rs = nimbo::rendersys;
        rs->setBlendMode(nimbo::BM_ADD);
        image->draw(rect, nimbo::Color(127, 127, 127, 255));
        rs->setBlendMode(nimbo::BM_ALPHA);
    }
}

// ---------------------------------------------------------------- the hover label

void setRollover(const String& text) {
    if (text.empty() || VerbCoin::isOpen()) {
        return;
    }
    rolloverText = text;
    rolloverTimer = 2.0f;
    if (text != " ") {
        rolloverCursor = getCursorImage();
    }
}

void fadeRollover(float step) {
    rolloverTimer = std::max(0.0f, rolloverTimer - 3.0f * step);
}

namespace {

// The icon that a touch screen shows beside the label: the cursor the hotspot would have had.
Sprite touchIcon(const RolloverLayout& layout, float textWidth, float textHeight) {
    static const char* const PLAIN[] = {"gui/cursor", "gui/cursor2", "gui/cursor_noaction", "gui/cursor_x"};
    nimboui::Image* icon = rolloverCursor;
    if (Session::getParam("target") == "pc" || !icon || rolloverText == " " ||
        std::any_of(std::begin(PLAIN), std::end(PLAIN), [&](const char* name) { return icon->getName() == name; })) {
        return {};
    }
    bool mobile = Session::getParam("ui") == "mobile";
    float s = mobile ? 1.8571428f : 1.0f;
    float iw = icon->getWidth() * s;
    float ih = icon->getHeight() * s;
    morvec::Vector2 anchor(213 - (textWidth / 2 + iw / 3), textHeight / 2 + 2 - 7 * s);
    const String& name = icon->getName();
    if (name == "gui/cursor_u" || name == "gui/cursor_d" || name == "gui/cursor_look" || name == "gui/cursor_talk") {
        anchor += morvec::Vector2(-3 * s, 5 * s);
    } else if (name == "gui/cursor_l" || name == "gui/cursor_r") {
        anchor += morvec::Vector2(-3 * s, 6 * s);
    } else if (InventoryPanel::isDraggingItem() && pointerHeld) {
        // An item carried by the finger: a bigger icon at the finger.
        float k = mobile ? 2.0f : 1.5f;
        iw *= k;
        ih *= k;
        morvec::Vector2 c = nimboui::getCursorPosition();
        anchor = morvec::Vector2(c.x - iw / 6, c.y - ih / 2.5f);
    }
    return {icon, morvec::Rectangle(anchor.x, anchor.y, iw / 3, ih / 3), layout.alpha};
}

} // namespace

RolloverLayout layoutRollover() {
    bool mobile = Session::getParam("ui") == "mobile";
    // Over the open inventory the label always stays at the top.
    bool atCursor = !InventoryPanel::isOpen() && Session::getParam("rollover_placement") != "top";
    RolloverLayout layout;
    layout.font = atCursor ? "hheaven:0.5" : mobile ? "hheaven:1.3" : "hheaven:0.7";
    layout.align = atCursor ? 3 : 7;
    layout.alpha = std::min(rolloverTimer, 1.0f);
    float tw = runel::renderer->getTextWidth(layout.font, rolloverText);
    float th = runel::renderer->getTextHeight(layout.font, rolloverText, 1000);
    morvec::Vector2 pos(-287, 5);
    if (atCursor) {
        pos = nimboui::getCursorPosition() + morvec::Vector2(4, 2);
        if (!Inventory::getSelectedItem().empty()) {
            pos += morvec::Vector2(7, 7);
        }
        // The label stays 5 units inside the right and bottom edges.
        pos.x = std::min(pos.x, Viewport::getWidescreenOffset() + 426 - 5 - tw);
        pos.y = std::min(pos.y, 315 - th);
    }
    layout.rect =
        mobile ? morvec::Rectangle(pos.x + 325, pos.y, 350, 1000) : morvec::Rectangle(pos.x, pos.y, 1000, 1000);
    layout.icon = touchIcon(layout, tw, th);
    return layout;
}

void drawRollover() {
    if (rolloverTimer <= 0.0f || VerbCoin::isOpen()) {
        return;
    }
    RolloverLayout layout = layoutRollover();
    drawSprite(layout.icon);
    runel::renderer->drawText(layout.rect, layout.font, "[b]" + rolloverText, (runel::Alignment)layout.align,
                              runel::TOP, nimbo::Color(255, 255, 255, alphaByte(layout.alpha)));
}

} // namespace Hud
