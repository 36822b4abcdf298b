// The HUD's button bar: the buttons slide out of the way of panels and back, the task notifications
// play over the diary button, and the buttons' click handlers.
#include "ui/Hud.h"

#include "engine/scene/Scene.h"
#include "engine/session/GameUtil.h"
#include "engine/session/Session.h"
#include "engine/session/Vars.h"
#include "engine/view/Input.h"
#include "engine/view/Viewport.h"
#include "script/Action.h"
#include "script/Characters.h"
#include "script/Speech.h"

#include "nimboui/Animators.h"
#include "nimboui/ImageButton.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace Hud {

std::vector<float> taskNotifications;

namespace {

// A place of a button's mover: x is taken from the left edge of a wide window (side -1) or from
// its right edge (side 1).
struct Place {
    float x, y;
    int side;
};

struct ButtonPlaces {
    const char* mover;
    Place shown, hidden, mobileShown, mobileHidden;
};

const ButtonPlaces PLACES[] = {
    {"diary_button_mover", {519, 283, -1}, {479, 323, -1}, {851, 2, 1}, {909, -56, 1}},
    {"character_button_mover", {869, 2, 1}, {909, -38, 1}, {482, 2, -1}, {442, -56, -1}},
    {"hint_button_mover", {869, 283, 1}, {909, 323, 1}, {851, 265, 1}, {909, 323, 1}},
    {"inv_button_mover", {482, 283, -1}, {442, 323, -1}, {482, 265, -1}, {442, 323, -1}},
    {"ingame_menu_button_mover", {482, 2, -1}, {442, -38, -1}, {482, 2, -1}, {442, -56, -1}},
};

// Whether each button of PLACES was last sent to its shown place.
bool sentShown[std::size(PLACES)] = {};

constexpr float SLIDE_TIME = 0.2f;
constexpr float DEGREES = 3.14159265f / 180.0f;

void moveButton(const String& mover, bool shown) {
    if (!uiChapter) {
        return;
    }
    const ButtonPlaces& row = *std::find_if(std::begin(PLACES), std::end(PLACES),
                                            [&](const ButtonPlaces& places) { return mover == places.mover; });
    sentShown[&row - PLACES] = shown;
    bool mobile = Session::getParam("ui") == "mobile";
    const Place& place = shown ? (mobile ? row.mobileShown : row.shown) : (mobile ? row.mobileHidden : row.hidden);
    float x = place.x + place.side * Viewport::getWidescreenOffset();
    uiObjectOf<nimboui::Animators::Mover>(mover)->move(x, place.y, SLIDE_TIME);
}

bool inInterfaceChapter() {
    String dataset = GameUtil::getActiveChapterName();
    return dataset == "ui" || dataset == "menu";
}

// Whether a menu button may open its menu now. Pressed while a line is spoken, it only skips the
// line; a busy player opens nothing.
bool mayOpenMenu() {
    if (Speech::isSpeaking()) {
        Speech::skipCurrentLine();
        return false;
    }
    return !Characters::isPlayerBusy();
}

} // namespace

void hideButtons(bool alsoInventoryButton) {
    for (const char* mover : {"diary_button_mover", "character_button_mover", "inv_button_mover",
                              "ingame_menu_button_mover", "hint_button_mover"}) {
        if (alsoInventoryButton || mover != String("inv_button_mover")) {
            moveButton(mover, false);
        }
    }
}

void showButtons(bool instant) {
    for (const char* mover : {"diary_button_mover", "character_button_mover", "hint_button_mover", "inv_button_mover",
                              "ingame_menu_button_mover"}) {
        moveButton(mover, true);
    }
    if (instant) {
        finishButtonMoves();
    }
}

void placeButtonsForWindow() {
    for (size_t i = 0; i < std::size(PLACES); ++i) {
        moveButton(PLACES[i].mover, sentShown[i]);
    }
    finishButtonMoves();
}

void finishButtonMoves() {
    nimboui::Object* updated[] = {uiObject("inv_button"), uiObject("diary_button"), uiObject("ingame_menu_button"),
                                  uiObject("hint_button"), uiObject("character_button_mover")};
    for (int i = 0; i < 100; ++i) {
        for (nimboui::Object* object : updated) {
            if (object) {
                object->update(0.01f);
            }
        }
    }
}

// ---------------------------------------------------------------- task notifications

void updateDiaryButton(float step) {
    if (taskNotifications.empty() || taskNotifications.front() == 0.0f) {
        return;
    }
    float& v = taskNotifications.front();
    float h = step * 0.5f;
    v = v < 0.0f ? std::min(v + h, 0.0f) : std::max(v - h, 0.0f);
    if (v != 0.0f) {
        return;
    }
    taskNotifications.erase(taskNotifications.begin());
    if (taskNotifications.empty()) {
        if (auto* button = dynamic_cast<nimboui::ImageButton*>(uiObject("diary_button"))) {
            button->setImageByName("gui/diary_up");
            button->setHoverImageByName("gui/diary_hover");
        }
    }
}

std::vector<Sprite> diaryNotification() {
    nimboui::Object* button = uiObject("diary_button");
    if (taskNotifications.empty() || inInterfaceChapter() || !button) {
        return {};
    }
    float v = taskNotifications.front();
    float o = Viewport::getWidescreenOffset();
    bool mobile = Session::getParam("ui") == "mobile";
    nimboui::Image* diary = uiChapter->findImage("gui/diary_up");
    bool slidOut = button->getY() > 300;
    if (v > 0.0f) {
        // A completed task: the tick bounces in over the diary and fades out.
        float p = 1.0f - v;
        float size = p < 0.2f ? 35 + 10 * std::sin(900 * DEGREES * p) : 35.0f;
        float checkAlpha = p < 0.1f ? 10 * p : p > 0.8f ? 1 - 5 * (p - 0.8f) : 1.0f;
        float diaryAlpha = 1.0f;
        nimboui::Image* tick = uiChapter->findImage("gui/yes_up");
        if (mobile) {
            size *= 1.5428572f;
            if (p > 0.9f && button->getX() > 460) {
                diaryAlpha = 1 - 10 * (p - 0.9f);
            }
            return {{diary, {371 + o, 2, 54, 54}, diaryAlpha},
                    {tick, {398 + o - size / 2, 29 - size / 2, size, size}, checkAlpha}};
        }
        if (p > 0.9f && slidOut) {
            diaryAlpha = 1 - 10 * (p - 0.9f);
        }
        return {{diary, {39 - o, 283, 35, 35}, diaryAlpha},
                {tick, {56.5f - o - size / 2, 300.5f - size / 2, size, size}, checkAlpha}};
    }
    // An added task: the diary hops three times, each hop lower.
    float q = v + 1.0f;
    float k = 3 - std::floor(3 * v);
    float b = 7 * std::fabs(k * std::sin(540 * DEGREES * q));
    float alpha = slidOut && q > 0.9f ? 1 - 10 * (q - 0.9f) : 1.0f;
    if (mobile) {
        return {{diary, {371 + o - b, 2, 54, 54}, alpha}};
    }
    return {{diary, {39 - o, 283 - b, 35, 35}, alpha}};
}

void drawDiaryNotification() {
    for (const Sprite& sprite : diaryNotification()) {
        drawSprite(sprite);
    }
}

// ---------------------------------------------------------------- click handlers

void onFfwdButtonClick(nimboui::EventArgs*) {
    playClick();
    fastForwardActive = false;
}

void onDiaryButtonClick(nimboui::EventArgs*) {
    playClick();
    if (mayOpenMenu()) {
        Session::switchScene("ui.Hintbook", "", "", 0.0f);
    }
}

void openInGameMenu(nimboui::EventArgs* args) {
    if (args) {
        playClick();
    }
    if (!mayOpenMenu()) {
        return;
    }
    // The menu returns to the game scene it was opened from.
    if (Session::activeScene->chapter->getName() != "ui") {
        Vars::get("ingame_menu_prev_scene")->setValue(Session::activeScene->getFullName(), false);
    }
    Session::switchScene("ui.InGameMenu", "", "", 0.0f);
}

void onSkip(nimboui::EventArgs*) {
    if (!Characters::isSkipPending()) {
        Session::log(
            "Unable to execute Skip, variable 'skip_action' is invalid, better to fail silently then to crash.");
        return;
    }
    String action = Vars::value("skip_action");
    Vars::get("skip_action")->setValue("0", false);
    playClick();
    Session::activeScene->chapter->getNamedAction(action)->execute();
}

void showHint(nimboui::EventArgs*) {
    Hints::buttonCooldown = std::max(Hints::buttonCooldown, 0.9f);
    if (Vars::value("_hint_timer").toFloat() < 1.0f) {
        return;
    }
    // The cockpit's zoom tutorial on touch screens runs first.
    if (Vars::value("zoom_tutorial") == "1" && Session::getParam("target") != "pc" &&
        Vars::value("hint1_rowboat_activation") != "0" && Vars::value("active_scene") == "ship.Cockpit") {
        return;
    }
    playClick();
    if (Hints::showCurrentHint()) {
        // The camera eases back to the whole scene, so that the marker is in view.
        viewZoom = 1.0f;
        targetViewPan = morvec::Vector2(0, 0);
    }
}

bool isCasualMode() {
    return Vars::value("casual_mode") == "1";
}

void onHintButton(nimboui::EventArgs* args) {
    if (Speech::isSpeaking()) {
        Speech::skipCurrentLine();
        return;
    }
    if (Characters::isPlayerBusy() || Session::activeTransition) {
        return;
    }
    if (isCasualMode()) {
        showHint(args);
        return;
    }
    playClick();
    nimboui::Object* button = uiObject("hint_button");
    if (button && button->getX() > Viewport::getWidescreenOffset() + 900) {
        return;
    }
    // Every hotspot of the scene, marked for five seconds.
    Hints::marker.image = nullptr;
    Hints::marker.time = 5.0f;
    if (args && Hints::buttonCooldown == 1.0f) {
        Hints::buttonCooldown = 0.0f;
    }
    if (Vars::value("tutorial_state") == "41") {
        Vars::get("did_guided_hint_tutorial")->setValue("1", true);
        Vars::get("tutorial_state")->setValue("42", false);
        Vars::get("tutorial_arrow")->setValue("", true);
        Session::activeScene->reset();
    }
}

} // namespace Hud
