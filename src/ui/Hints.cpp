#include "ui/Hints.h"

#include "chapters/Chapters.h"
#include "engine/scene/ActionMap.h"
#include "engine/scene/Scene.h"
#include "engine/session/GameUtil.h"
#include "engine/session/Session.h"
#include "engine/session/Vars.h"
#include "engine/view/Input.h"
#include "script/Action.h"
#include "script/Speech.h"
#include "ui/Hud.h"

#include "nimbo/Color.h"
#include "nimboui/CompositeImage.h"
#include "nimboui/ImageButton.h"
#include "vessot/Array.h"
#include "vessot/Exception.h"
#include "vessot/Format.h"

#include <algorithm>

namespace Hints {

Marker marker;
float buttonCooldown = 1.0f;

namespace {

// The height of the fill picture and of the button's layers, in texture pixels.
constexpr float FILL_HEIGHT = 108.0f;
// Where the fill picture begins in its texture.
constexpr float FILL_TOP = 490.0f;

void emptyCharge(bool resetCharge) {
    if (resetCharge) {
        Vars::get("_hint_timer")->setValue("0.0", true);
    }
}

String itemName(const String& item) {
    return uiChapter->getText("obj_" + item);
}

// The "ui" chapter's image of a name that may carry the chapter ("ui.items/wire"); a missing one
// is shown as the cursor, as the drawn cursor does.
nimboui::Image* uiImage(const String& name) {
    return Hud::uiImageOr(name.startsWith("ui.") ? name.substr(3) : name, "gui/cursor");
}

// The marker's picture for an area without an item: an arrow on exits, else the verb's picture.
nimboui::Image* actionImage(Action* action) {
    nimboui::Image* cursor = Hud::getActionCursor(action);
    if (!cursor) {
        return nullptr;
    }
    String key = action->getRolloverKey();
    if (key.contains("|") && !key.endsWith("|x")) {
        // The piece between the first "|" and the next one (or the end).
        String piece = key.split("|")[1];
        if (piece == "l" || piece == "r" || piece == "u" || piece == "d") {
            return uiImage("gui/arrow_" + piece);
        }
        return cursor;
    }
    const String& name = cursor->getName();
    if (name == "gui/cursor_use") {
        return uiImage("gui/use_up");
    }
    if (name == "gui/cursor_look") {
        return uiImage("gui/look_up");
    }
    if (name == "gui/cursor_talk") {
        return uiImage("gui/talk_up");
    }
    return cursor;
}

// The charged part of a 108-pixel-high picture, growing upward from its bottom.
void setFill(const char* name, float charge) {
    if (nimboui::Image* image = uiChapter->findImage(name)) {
        morvec::Rectangle rect = image->getSrcRect();
        rect.y = FILL_TOP + (1.0f - charge) * FILL_HEIGHT;
        rect.h = charge * FILL_HEIGHT;
        image->setSrcRect(rect);
    }
}

// Every layer of the button after the empty bulb shows the charged part.
void setLayers(const char* name, float charge) {
    auto* image = dynamic_cast<nimboui::CompositeImage*>(uiChapter->findImage(name));
    if (!image) {
        return;
    }
    std::vector<nimboui::ImageRef>& layers = image->getImageRefs();
    for (size_t i = 1; i < layers.size(); ++i) {
        layers[i].rect.y = (1.0f - charge) * FILL_HEIGHT;
        layers[i].rect.h = charge * FILL_HEIGHT;
    }
}

void setButtonImages(nimboui::ImageButton* button, const char* up, const char* down, const char* hover) {
    button->setImage(uiChapter->findImage(up));
    button->setPushedImage(uiChapter->findImage(down));
    button->setHoverImage(uiChapter->findImage(hover));
}

// The hint button shows the charge in the casual mode and the plain bulb otherwise.
void updateButtonLook(nimboui::ImageButton* hintButton) {
    nimboui::Image* image = hintButton->getImage();
    bool plain = image && image->getName() == "gui/hint_up";
    bool casual = Hud::isCasualMode();
    if (casual && plain) {
        setButtonImages(hintButton, "gui/smart_hint_up", "gui/smart_hint_dn", "gui/smart_hint_hover");
    } else if (!casual && !plain) {
        setButtonImages(hintButton, "gui/hint_up", "gui/hint_dn", "gui/hint_hover");
    }
}

// The smart-hint button stands over the hint button in scenes that hide the HUD once solved.
void updateSmartButton(nimboui::Object* smartButton, nimboui::Object* hintButton, float charge) {
    if (Session::activeScene->getProperty("hide_ui") == "3") {
        smartButton->setDisabled(charge < 1.0f);
        smartButton->setPosition(hintButton->getPosition());
        smartButton->setAlpha(1.0f);
        smartButton->setVisible(Hud::isCasualMode());
    } else {
        smartButton->setDisabled(false);
        smartButton->setPosition(0.0f, 0.0f);
        smartButton->setAlpha(0.0f);
        smartButton->setVisible(true);
    }
}

} // namespace

bool showCurrentHint() {
    return showHintString(Chapters::getSmartHint());
}

bool showHintString(const String& hint) {
    if (hint.empty()) {
        return false;
    }
    String body = hint;
    bool resetCharge = true;
    String flag;
    if (hint.split(",", body, flag)) {
        resetCharge = flag == "1";
    }
    if (body.contains(":")) {
        String piece = body.split(":")[1];
        if (body.startsWith("use:")) {
            return showUseHint(piece, resetCharge);
        }
        if (body.startsWith("look:")) {
            return showLookHint(piece, resetCharge);
        }
        String a;
        String b;
        if (body.startsWith("combine:") && piece.split("+", a, b)) {
            return showCombineHint(a, b, resetCharge);
        }
        return false;
    }
    String colour = body;
    String item;
    if (body.split("|", colour, item)) {
        return showAreaHint("ui.items/" + item, resetCharge, colour);
    }
    return showAreaHint("", resetCharge, colour);
}

void sayHintLine(const String& line) {
    String text = vessot::jsprintf("{ %s }%s<p5>", Vars::value("current_character"), line);
    // An item's name is data: markup in it that cannot be spoken (a speaker variable the store lacks)
    // is reported, and the hint still counts as shown.
    try {
        Speech::say(text);
    } catch (const vessot::exception& e) {
        GameUtil::logMessage("ERROR! sayHintLine: '" + text + "' cannot be said: " + e.message());
    }
}

bool showUseHint(const String& item, bool resetCharge) {
    sayHintLine(vessot::jsprintf(uiChapter->getText("INV_USE_BUTTON_EX"), itemName(item)));
    emptyCharge(resetCharge);
    return true;
}

bool showLookHint(const String& item, bool resetCharge) {
    sayHintLine(vessot::jsprintf(uiChapter->getText("INV_LOOK_BUTTON_EX"), itemName(item)));
    emptyCharge(resetCharge);
    return true;
}

bool showCombineHint(const String& itemA, const String& itemB, bool resetCharge) {
    String nameA = itemName(itemA);
    String nameB = itemName(itemB);
    sayHintLine(vessot::jsprintf(uiChapter->getText("ZEPH_COMBINE_A_WITH_B"), nameA, nameB));
    emptyCharge(resetCharge);
    return true;
}

bool showAreaHint(const String& itemImage, bool resetCharge, const String& colour) {
    Scene* scene = Session::activeScene;
    if (!scene) {
        return false;
    }
    uint32_t id = 0;
    try {
        id = nimbo::Color(colour).packed() >> 8;
    } catch (const vessot::exception&) {
        GameUtil::logMessage("ERROR! showAreaHint: '" + colour + "' is no colour");
        return false;
    }
    auto found = scene->actions.find(id);
    if (found == scene->actions.end() || !found->second) {
        return false;
    }
    nimboui::Image* image = itemImage.empty() ? actionImage(found->second) : uiImage(itemImage);
    if (!image) {
        return false;
    }
    marker.position = scene->actionMap ? scene->actionMap->getAreaPosition(id) : morvec::Vector2(0, 0);
    marker.image = image;
    marker.time = 5.0f;
    // The request may have switched the scene (a character switch): the marker belongs to the new one.
    lastActiveSceneSeen = Vars::value("active_scene");
    emptyCharge(resetCharge);
    return true;
}

void updateHintButton(float step) {
    String dataset = GameUtil::getActiveChapterName();
    if (dataset.empty() || dataset == "menu" || dataset == "ui") {
        return;
    }
    float rate = GameUtil::isTesterMode() ? 1.0f : 120.0f;
    float charge = Vars::value("_hint_timer").toFloat();
    if (charge < 1.0f) {
        charge = std::min(charge + step / rate, 1.0f);
        Vars::get("_hint_timer")->setValue(String::fromFloat(charge), true);
    }
    if (buttonCooldown < 1.0f) {
        buttonCooldown = std::min(buttonCooldown + step / 5.0f, 1.0f);
    }
    // A value from a damaged save shows as an empty or a full bulb.
    float shown = std::clamp(charge, 0.0f, 1.0f);
    for (const char* fill : {"gui/smart_hint_fill", "gui/smart_hint_fill_hover", "gui/smart_hint_fill_dn"}) {
        setFill(fill, shown);
    }
    for (const char* button : {"gui/smart_hint_up", "gui/smart_hint_hover", "gui/smart_hint_dn"}) {
        setLayers(button, shown);
    }
    auto* hintButton = dynamic_cast<nimboui::ImageButton*>(Hud::uiObject("hint_button"));
    nimboui::Object* smartButton = Hud::uiObject("smart_hint_button");
    if (!hintButton || !smartButton) {
        return;
    }
    updateButtonLook(hintButton);
    updateSmartButton(smartButton, hintButton, charge);
}

} // namespace Hints
