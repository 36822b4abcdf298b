// The frame's draw: the scene (or the running transition) under the scene's projection, the HUD's
// layers under their own, the letterbox margins and the aspect chooser's close button; and what the
// HUD does at scene switches and around the scene lock.
#include "ui/Hud.h"

#include "engine/app/Game.h"
#include "engine/scene/Scene.h"
#include "engine/session/GameUtil.h"
#include "engine/session/Session.h"
#include "engine/session/TransitionManager.h"
#include "engine/session/Vars.h"
#include "engine/view/Input.h"
#include "engine/view/Viewport.h"
#include "script/Action.h"
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
#include <memory>
#include <set>

namespace Hud {

namespace {

const char* const HUD_BUTTONS[] = {"inv_button",  "diary_button",     "ingame_menu_button",
                                   "hint_button", "character_button", "ffwd_button"};

float windowAspect() {
    morvec::Vector2 size = Viewport::windowSize();
    return size.x / size.y;
}

// The HUD's projection: its 426 x 320 units centred, a window wider than 4:3 adding room on both sides.
morvec::Rectangle hudProjection() {
    float a = windowAspect();
    if (a <= 1.3433334f) {
        return morvec::Rectangle(0, 0, 426, 320);
    }
    float width = a / 1.3333334f * 426.0f;
    return morvec::Rectangle((width - 426.0f) / 2, 0, width, 320);
}

// The largest multiple of 256 pixels not above the side; a side below 256 counts whole.
float screenshotSide(float side) {
    return side < 256.0f ? side : side - std::fmod(side, 256.0f);
}

void drawScrollIndicator() {
    nimboui::Image* image = getScrollCursor();
    if (!image) {
        return;
    }
    float scale = Session::getParam("ui") == "mobile" ? 2.0f : 1.0f;
    float w = image->getWidth() * scale;
    float h = image->getHeight() * scale;
    drawSprite({image, morvec::Rectangle(213 - w / 4, 5, w / 2, h / 2)});
}

// Layer 10: the drawn cursor on the desktop; elsewhere the scroll indicator while a held pointer
// scrolls a wide scene.
void drawPointerLayer() {
    if (Session::getParam("target") == "pc") {
        drawCursor();
    } else if (Viewport::isCameraScrolling() && pointerHeld && !Characters::isPlayerBusy()) {
        drawScrollIndicator();
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

nimboui::Image* uiImageOr(const String& name, const char* fallback) {
    if (!uiChapter) {
        return nullptr;
    }
    if (nimboui::Image* image = uiChapter->findImage(name)) {
        return image;
    }
    static std::set<String> reported;
    if (reported.insert(name).second) {
        GameUtil::logMessage("ERROR! image '" + name + "' not found; '" + fallback + "' is shown instead");
    }
    return uiChapter->findImage(fallback);
}

int alphaByte(float alpha) {
    return (int)(alpha * 255.0f);
}

void drawSprite(const Sprite& sprite) {
    if (sprite.image) {
        sprite.image->draw(sprite.rect, nimbo::Color(255, 255, 255, alphaByte(sprite.alpha)), sprite.angle);
    }
}

// ---------------------------------------------------------------- drawing

void setProjection(bool hud) {
    nimbo::RenderSystem* rs = nimbo::rendersys;
    float w = Viewport::windowSize().x;
    float h = Viewport::windowSize().y;
    if (Session::getParam("screenshot") == "1") {
        rs->setOrthoProjection(morvec::Vector2(w * 426 / screenshotSide(w), h * 320 / screenshotSide(h)));
        return;
    }
    rs->setOrthoProjection(hud ? hudProjection() : Viewport::getViewportRect(true));
}

std::vector<Margin> margins() {
    String dataset = GameUtil::getActiveChapterName();
    if (dataset.empty() || dataset == "ui" || dataset == "menu") {
        return {};
    }
    morvec::Rectangle vr = Viewport::getViewportRect(false);
    bool textured = Session::getParam("margintex") == "1";
    if (vr.x > 0) {
        if (!textured) {
            return {{nullptr, {-vr.x - 10, -10, vr.x + 10, 340}}, {nullptr, {vr.w - 2 * vr.x, -10, vr.x + 10, 340}}};
        }
        float s = (vr.w / vr.h) / windowAspect();
        float m = 80 * s;
        std::vector<Margin> images = {{"margin", {-0.9375f * m, -2, m, 324}},
                                      {"margin_inv", {426 - 0.0625f * m, -2, m, 324}}};
        if (vr.x > m) {
            float e = 62 * s;
            images.push_back({"margin_extra", {-0.9375f * m - e, -2, e, 324}});
            images.push_back({"margin_inv_extra", {426 + 0.9375f * m, -2, e, 324}});
        }
        return images;
    }
    if (vr.y > 0) {
        if (!textured) {
            return {{nullptr, {-10, -10 - vr.y, 446, vr.y + 10}}, {nullptr, {-10, vr.h - 2 * vr.y, 446, vr.y + 10}}};
        }
        float s = windowAspect() / (vr.w / vr.h);
        float m = 60 * s;
        return {{"vmargin", {-2, -0.9375f * m, 430, m}}, {"vmargin_inv", {-2, 320 - 0.0625f * m, 430, m}}};
    }
    return {};
}

void drawMargins() {
    for (const Margin& margin : margins()) {
        if (margin.image) {
            drawSprite({uiChapter ? uiChapter->findImage(margin.image) : nullptr, margin.rect});
        } else {
            nimbo::rendersys->drawFilledRect(margin.rect, nimbo::Color(0, 0, 0, 255));
        }
    }
}

void draw() {
    nimbo::RenderSystem* rs = nimbo::rendersys;
    if (Session::getParam("screenshot") == "1") {
        // The camera's translation ends here on every path, or the next frame's would add to it.
        rs->setIdentityTransform();
        return;
    }
    drawHotspotMarkers();
    rs->setIdentityTransform();
    drawMargins();
    setProjection(true);
    Speech::draw();
    if (nimboui::Object* root = uiObject("ui")) {
        root->draw(morvec::Vector2(0, 0));
    }
    // The pause screen covers the notifications, which wait unseen under it.
    if (!isResumePanelVisible()) {
        InventoryPanel::drawNotification();
        drawDiaryNotification();
    }
    drawPointerLayer();
    drawRollover();
    drawTutorialArrows();
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

void onSceneSwitch(const String& fullSceneName) {
    Speech::clear();
    if (DialogPanel::isOpen() && DialogPanel::areRepliesShown()) {
        DialogPanel::setVisible(false);
    }
    if (VerbCoin::isOpen()) {
        VerbCoin::close();
    }
    // A fast switch took the character's scene-switch job out of its queue and started it: the first
    // switch away from the scene places the character as the job would have, and ends the job.
    if (!pendingSwitchJob || (Session::activeScene && Session::activeScene->getFullName() == fullSceneName)) {
        return;
    }
    std::unique_ptr<ZephJobs::SwitchScene> job(pendingSwitchJob);
    pendingSwitchJob = nullptr;
    auto* current =
        charactersChapter
            ? dynamic_cast<Marionix::Actor*>(charactersChapter->findObject(Vars::value("current_character")))
            : nullptr;
    if (current) {
        current->clearJobs();
    }
    Characters::placeCharacter(job->getActor(), job->getPosition());
}

void applyHideUi() {
    Viewport::updateWideSceneCamera();
    rolloverTimer = 0.0f;
    String hideUi = Session::activeScene ? Session::activeScene->getProperty("hide_ui") : String();
    bool hide = hideUi == "1" || hideUi == "3";
    for (const char* name : HUD_BUTTONS) {
        if (nimboui::Object* button = uiObject(name)) {
            button->setVisible(!hide);
        }
    }
    fastForwardActive = false;
}

void onSceneLocked() {
    hideButtons(true);
    if (isUiObjectShown("inv")) {
        InventoryPanel::close();
    }
}

void onSceneUnlocked() {
    if (!isUiObjectShown("dialog")) {
        showButtons(false);
    }
}

} // namespace Hud
