#include "ui/Hud.h"

#include "engine/app/Engine.h"
#include "engine/app/Game.h"
#include "engine/scene/Chapter.h"
#include "engine/scene/Scene.h"
#include "engine/session/GameUtil.h"
#include "engine/session/Session.h"
#include "engine/session/TransitionManager.h"
#include "engine/session/Vars.h"
#include "engine/view/Input.h"
#include "engine/view/Viewport.h"
#include "script/Action.h"
#include "script/Character2D.h"
#include "script/Characters.h"
#include "script/Speech.h"
#include "script/ZephJobs.h"
#include "ui/DialogPanel.h"
#include "ui/VerbCoin.h"

#include "echon/AudioManager.h"
#include "marionix/Actor.h"
#include "nimbo/Nimbo.h"
#include "nimboui/nimboui.h"

#include <cmath>

namespace Hud {

std::vector<float> taskNotifications;
float rolloverTimer = 0.0f;

namespace {

const char* const HUD_BUTTONS[] = {"inv_button",  "diary_button",     "ingame_menu_button",
                                   "hint_button", "character_button", "ffwd_button"};

float windowAspect() {
    morvec::Vector2 size = Viewport::windowSize();
    return size.x / size.y;
}

void drawImage(const String& name, const morvec::Rectangle& rect) {
    if (nimboui::Image* image = uiChapter ? uiChapter->findImage(name) : nullptr) {
        image->draw(rect, nimbo::Color(255, 255, 255, 255));
    }
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

void hideResumeOverlay() {
    if (nimboui::Object* overlay = uiObject("resume_overlay")) {
        overlay->setVisible(false);
    }
}

} // namespace

void playClick() {
    if (uiChapter && echon::mgr) {
        echon::mgr->play(uiChapter->getFullSoundName("click"), 0.0f, false, 1.0f);
    }
}

nimboui::Object* uiObject(const String& name) {
    return uiChapter ? uiChapter->findObject(name) : nullptr;
}

bool isUiObjectShown(const String& name) {
    nimboui::Object* object = uiObject(name);
    return object && object->isVisible() && object->getAlpha() > 0.0f;
}

// ---------------------------------------------------------------- drawing

void setProjection(bool hud) {
    nimbo::RenderSystem* rs = nimbo::rendersys;
    float w = Viewport::windowSize().x;
    float h = Viewport::windowSize().y;
    if (Session::getParam("screenshot") == "1") {
        float wr = w - std::fmod(w, 256.0f);
        float hr = h - std::fmod(h, 256.0f);
        if (wr > 0 && hr > 0) {
            rs->setOrthoProjection(morvec::Vector2(w * 426 / wr, h * 320 / hr));
            return;
        }
    }
    if (hud) {
        float a = windowAspect();
        float width = 426.0f;
        float x = 0.0f;
        if (a > 1.3433334f) {
            width = a / 1.3333334f * 426.0f;
            x = (width - 426.0f) / 2;
        }
        rs->setOrthoProjection(morvec::Rectangle(x, 0, width, 320));
        return;
    }
    rs->setOrthoProjection(Viewport::getViewportRect(true));
}

void drawMargins() {
    if (!Session::activeScene) {
        return;
    }
    String dataset = Session::activeScene->chapter->getName();
    if (dataset == "ui" || dataset == "menu") {
        return;
    }
    morvec::Rectangle vr = Viewport::getViewportRect(false);
    bool textured = Session::getParam("margintex") == "1";
    nimbo::RenderSystem* rs = nimbo::rendersys;
    nimbo::Color black(0, 0, 0, 255);
    if (vr.x > 0) {
        if (textured) {
            float s = (vr.w / vr.h) / windowAspect();
            float m = 80 * s;
            drawImage("margin", morvec::Rectangle(-0.9375f * m, -2, m, 324));
            drawImage("margin_inv", morvec::Rectangle(426 - 0.0625f * m, -2, m, 324));
            if (vr.x > m) {
                float e = 62 * s;
                drawImage("margin_extra", morvec::Rectangle(-0.9375f * m - e, -2, e, 324));
                drawImage("margin_inv_extra", morvec::Rectangle(426 + 0.9375f * m, -2, e, 324));
            }
        } else {
            rs->drawFilledRect(morvec::Rectangle(-vr.x - 10, -10, vr.x + 10, 340), black);
            rs->drawFilledRect(morvec::Rectangle(vr.w - 2 * vr.x, -10, vr.x + 10, 340), black);
        }
    } else if (vr.y > 0) {
        if (textured) {
            float s = windowAspect() / (vr.w / vr.h);
            float m = 60 * s;
            drawImage("vmargin", morvec::Rectangle(-2, -0.9375f * m, 430, m));
            drawImage("vmargin_inv", morvec::Rectangle(-2, 320 - 0.0625f * m, 430, m));
        } else {
            rs->drawFilledRect(morvec::Rectangle(-10, -10 - vr.y, 446, vr.y + 10), black);
            rs->drawFilledRect(morvec::Rectangle(-10, vr.h - 2 * vr.y, 446, vr.y + 10), black);
        }
    }
}

void draw() {
    // The camera's translation ends here on every path, or the next frame's would add to it.
    nimbo::rendersys->setIdentityTransform();
    if (Session::getParam("screenshot") == "1") {
        return;
    }
    drawMargins();
    setProjection(true);
    Speech::draw();
    if (nimboui::Object* root = uiObject("ui")) {
        root->draw(morvec::Vector2(0, 0));
    }
}

void drawFrame() {
    nimbo::RenderSystem* rs = nimbo::rendersys;
    rs->clear(true, false);
    setProjection(false);
    float shift = Session::getParam("iphone_ui") == "left" ? 54.0f : 0.0f;
    rs->translate(shift - cameraOffsetX, 0, 0);
    if (!Session::activeTransition) {
        if (Session::activeScene) {
            Session::activeScene->draw();
        }
        draw();
    } else {
        Session::activeTransition->draw(draw);
    }
    if (loadingScreenFade > 0) {
        Game::drawLoadingScreen(std::sin(loadingScreenFade * 3.1415f * 0.5f));
    }
}

void updateAspectChooser() {
    static String lastAspect;
    String aspect = Session::getParam("aspect");
    if (aspect == lastAspect) {
        return;
    }
    lastAspect = aspect;
    float ratio = aspect == "screen" ? windowAspect() : Viewport::aspectRatio(aspect);
    float width = (1.3333334f / ratio) * 108;
    for (const char* name : {"aspect_close_up", "aspect_close_dn", "aspect_close_hover"}) {
        auto* image =
            dynamic_cast<nimboui::CompositeImage*>(uiChapter ? uiChapter->findImage("gui/" + String(name)) : nullptr);
        if (image && !image->getImageRefs().empty()) {
            image->getImageRefs()[0].rect.w = width;
        }
    }
}

// ---------------------------------------------------------------- scene switches and the lock

void performAction(Action* action) {
    if (action) {
        action->execute();
    }
}

void onSceneSwitch(const String& fullSceneName) {
    Speech::clear();
    if (DialogPanel::isOpen() && DialogPanel::areRepliesShown()) {
        DialogPanel::setVisible(false);
    }
    if (VerbCoin::isOpen()) {
        VerbCoin::close();
    }
    // A fast switch took the character's scene-switch job out of its queue: place the character as
    // the job would have, unless the switch goes nowhere.
    if (pendingSwitchJob && Session::activeScene && Session::activeScene->getFullName() != fullSceneName) {
        if (Marionix::Actor* current = Characters::getCurrentCharacter()) {
            current->clearJobs();
        }
        Characters::placeCharacter(pendingSwitchJob->getActor(), pendingSwitchJob->getPosition());
        delete pendingSwitchJob;
        pendingSwitchJob = nullptr;
    }
}

void applyHideUi() {
    Viewport::updateWideSceneCamera();
    rolloverTimer = 0.0f;
    fastForwardActive = false;
    String hideUi = Session::activeScene ? Session::activeScene->getProperty("hide_ui") : String();
    bool hide = hideUi == "1" || hideUi == "3";
    for (const char* name : HUD_BUTTONS) {
        if (nimboui::Object* button = uiObject(name)) {
            button->setVisible(!hide);
        }
    }
}

void showButtons(bool) {}
void hideButtons(bool) {}
void onSceneLocked(bool) {}
void onSceneUnlocked() {}

bool isResumePanelVisible() {
    return isUiObjectShown("resume_overlay");
}

void showResumePanel(bool show) {
    nimboui::Object* overlay = uiObject("resume_overlay");
    if (!overlay || isResumePanelVisible() == show) {
        return;
    }
    if (show) {
        String dataset = GameUtil::getActiveChapterName();
        if (dataset == "menu" || dataset == "ui" || isUiObjectShown("dialog")) {
            return;
        }
        overlay->setAlpha(1.0f);
    }
    overlay->setVisible(show);
}

void toggleResumePanel() {
    showResumePanel(!isResumePanelVisible());
}

void setRollover(const String& text) {
    if (!text.empty()) {
        rolloverTimer = 2.0f;
    }
}

void updateCharacterOverlays() {}

morvec::Vector2 clampArrowToView(nimboui::Image** image, const morvec::Vector2& point) {
    if (!Viewport::isWideScene()) {
        return point;
    }
    float left = cameraOffsetX;
    float right = left + (Session::getParam("ui") == "mobile" ? 380.0f : 400.0f);
    morvec::Vector2 clamped = point;
    const char* arrow = nullptr;
    if (clamped.x < left) {
        clamped.x = left;
        arrow = "gui/arrow_l";
    } else if (clamped.x > right) {
        clamped.x = right;
        arrow = "gui/arrow_r";
    }
    if (image && arrow) {
        *image = uiChapter->getImage(arrow);
    }
    return clamped;
}
void updateDiaryButton(float) {}
void playFootsteps(float) {}

// ---------------------------------------------------------------- button handlers

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

void onHintButton(nimboui::EventArgs* args) {
    showHint(args);
}

void showHint(nimboui::EventArgs*) {
    playClick();
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

void onResumeClick(nimboui::EventArgs*) {
    playClick();
    hideResumeOverlay();
}

void onQuitToMenuClick(nimboui::EventArgs*) {
    playClick();
    Vars::get("cdialog")->setValue("ui.INGAME_QUIT_MENU_DIALOG,ui.ingame_quit_to_menu,none", false);
    hideResumeOverlay();
}

void onQuitGameClick(nimboui::EventArgs*) {
    playClick();
    Vars::get("cdialog")->setValue("ui.INGAME_QUIT_GAME_DIALOG,ui.ingame_quit,none", false);
    hideResumeOverlay();
}

} // namespace Hud
