// What the HUD lays over the scene to hold the game still or point somewhere: the pause screen, the
// hotspot markers of the hint and hint buttons, and the tutorials' pulsing arrows.
#include "ui/Hud.h"

#include "engine/scene/ActionMap.h"
#include "engine/scene/Scene.h"
#include "engine/session/Evaluator.h"
#include "engine/session/GameUtil.h"
#include "engine/session/Session.h"
#include "engine/session/Vars.h"
#include "engine/view/Input.h"
#include "engine/view/Viewport.h"
#include "script/Action.h"
#include "ui/DialogPanel.h"

#include "nimbo/Nimbo.h"
#include "nimboui/Object.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

namespace Hud {

namespace {

constexpr float DEGREES = 3.14159265f / 180.0f;

void hideResumeOverlay() {
    if (isResumePanelVisible()) {
        uiObject("resume_overlay")->setVisible(false);
    }
}

// The key of the n-th hotspot without a rollover key (from 0): "unnamed_a" to "unnamed_z", then
// "unnamed_z001" and on, so that the keys keep their order and none holds a "|".
String unnamedKey(int n) {
    if (n < 26) {
        return "unnamed_" + String(std::string(1, (char)('a' + n)));
    }
    char number[16];
    std::snprintf(number, sizeof number, "%03d", n - 25);
    return "unnamed_z" + String(number);
}

struct MarkerEntry {
    morvec::Vector2 sum;
    int count = 0;
};

// The marker entries by key: one at the hint's point, or one per rollover key of the scene's
// hotspots, at the average point of its areas.
std::map<String, MarkerEntry> markerEntries() {
    std::map<String, MarkerEntry> entries;
    if (Hints::marker.image) {
        entries[""] = {Hints::marker.position, 1};
        return entries;
    }
    ActionMap* map = Session::activeScene->actionMap;
    int unnamed = 0;
    for (const auto& [id, action] : Session::activeScene->actions) {
        morvec::Vector2 p = map ? map->getAreaPosition(id) : morvec::Vector2();
        if (p.x <= 0.1f && p.y <= 0.1f) {
            continue;
        }
        String key = action->getRolloverKey();
        if (key.empty()) {
            key = unnamedKey(unnamed++);
        }
        MarkerEntry& entry = entries[key];
        entry.sum += p;
        ++entry.count;
    }
    return entries;
}

nimboui::Image* markerImage(const String& key) {
    if (key.contains("|") && !key.endsWith("x")) {
        return uiImageOr("gui/arrow_" + key.substr(key.rfind("|") + 1), "gui/transparent_selector");
    }
    return Hints::marker.image ? Hints::marker.image : uiImageOr("gui/transparent_selector", "gui/cursor");
}

} // namespace

// ---------------------------------------------------------------- the pause screen

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
        if (dataset == "menu" || dataset == "ui" || DialogPanel::isOpen()) {
            return;
        }
    }
    overlay->setVisible(show);
}

void toggleResumePanel() {
    showResumePanel(!isResumePanelVisible());
}

void onResumeClick(nimboui::EventArgs*) {
    playClick();
    hideResumeOverlay();
}

void onQuitToMenuClick(nimboui::EventArgs*) {
    Vars::get("cdialog")->setValue("ui.INGAME_QUIT_MENU_DIALOG,ui.ingame_quit_to_menu,none", false);
    playClick();
    hideResumeOverlay();
}

void onQuitGameClick(nimboui::EventArgs*) {
    Vars::get("cdialog")->setValue("ui.INGAME_QUIT_GAME_DIALOG,ui.ingame_quit,none", false);
    playClick();
    hideResumeOverlay();
}

// ---------------------------------------------------------------- hotspot markers

std::vector<Sprite> hotspotMarkers() {
    String dataset = GameUtil::getActiveChapterName();
    const Hints::Marker& marker = Hints::marker;
    if (marker.time <= 0.0f || dataset.empty() || dataset == "menu" || dataset == "ui") {
        return {};
    }
    float fade = std::min(marker.time, 1.0f);
    morvec::Rectangle vr = Viewport::getViewportRect(true);
    morvec::Vector2 window = Viewport::windowSize();
    // Keeps the markers square on the screen.
    float ratio = (vr.w / vr.h) / (window.x / window.y);
    float scale = Session::getParam("ui") == "mobile" ? 1.7f : 1.0f;
    std::vector<Sprite> sprites;
    int i = 0;
    for (const auto& [key, entry] : markerEntries()) {
        // Each fades in over the first quarter second, 0.0375 s after the one before, with a swell.
        float a = std::clamp(20 - 4 * marker.time - 0.15f * (float)i++, 0.0f, 1.0f);
        float half = 14 * scale + 5 * scale * std::sin(180 * DEGREES * a);
        morvec::Vector2 c = entry.sum / (float)entry.count;
        Sprite sprite{markerImage(key), morvec::Rectangle(c.x - half * ratio, c.y - half, 2 * half * ratio, 2 * half),
                      a * fade};
        if (marker.image) {
            morvec::Vector2 corner = clampArrowToView(&sprite.image, morvec::Vector2(sprite.rect.x, sprite.rect.y));
            sprite.rect.x = corner.x;
            sprite.rect.y = corner.y;
        }
        sprites.push_back(sprite);
    }
    return sprites;
}

void drawHotspotMarkers() {
    for (const Sprite& sprite : hotspotMarkers()) {
        drawSprite(sprite);
    }
}

morvec::Vector2 clampArrowToView(nimboui::Image** image, const morvec::Vector2& point) {
    if (!Viewport::isWideScene()) {
        return point;
    }
    float left = cameraOffsetX;
    float right = left + (Session::getParam("ui") == "mobile" ? 380.0f : 400.0f);
    morvec::Vector2 clamped = point;
    if (clamped.x < left) {
        clamped.x = left;
        if (image) {
            *image = uiImageOr("gui/arrow_l", "gui/transparent_selector");
        }
    }
    if (clamped.x > right) {
        clamped.x = right;
        if (image) {
            *image = uiImageOr("gui/arrow_r", "gui/transparent_selector");
        }
    }
    return clamped;
}

// ---------------------------------------------------------------- tutorial arrows

std::vector<TutorialArrow> parseTutorialArrows(const String& value) {
    std::vector<TutorialArrow> arrows;
    for (const String& entry : value.split(" ; ")) {
        vessot::Array<String> fields = entry.split(",");
        if (fields.size() < 4 || Evaluator::evaluate(fields[3]) != "1") {
            continue;
        }
        arrows.push_back({fields[0].toFloat(), fields[1].toFloat(), fields[2].toFloat(),
                          fields.size() == 5 ? fields[4] : String("scene")});
    }
    return arrows;
}

Sprite tutorialArrowSprite(const TutorialArrow& arrow, float k) {
    float x = arrow.x;
    if (arrow.side == "left") {
        x -= Viewport::getWidescreenOffset();
    } else if (arrow.side == "right") {
        x += Viewport::getWidescreenOffset();
    }
    float a = arrow.angle - 90.0f;
    // The 14 x 28 arrow's middle swings between 1 and 2 times (7 sin a, 10 cos a) from the point.
    return {
        uiImageOr("gui/tutorial_arrow", "gui/cursor"),
        morvec::Rectangle(x + 7 * k * std::sin(a * DEGREES) - 7, arrow.y + 10 * k * std::cos(a * DEGREES) - 14, 14, 28),
        1.0f, a};
}

void drawTutorialArrows() {
    String value = Vars::value("tutorial_arrow");
    if (value.empty() || GameUtil::getActiveChapterName() == "ui") {
        return;
    }
    float k = 1.5f + 0.5f * std::sin(360 * DEGREES * hudPulsePhase);
    for (const TutorialArrow& arrow : parseTutorialArrows(value)) {
        // Scene coordinates without the camera's translation, or the HUD's.
        setProjection(arrow.side != "scene");
        drawSprite(tutorialArrowSprite(arrow, k));
    }
    setProjection(true);
}

} // namespace Hud
