#include "engine/view/Viewport.h"

#include "engine/InterfaceServices.h"
#include "engine/scene/Chapter.h"
#include "engine/scene/Scene.h"
#include "engine/session/GameUtil.h"
#include "engine/session/Session.h"
#include "engine/session/Vars.h"
#include "engine/view/Input.h"
#include "script/Character2D.h"
#include "script/Characters.h"
#include "script/Inventory.h"
#include "script/ZephJobs.h"

#include "marionix/Actor.h"
#include "nimbo/Nimbo.h"
#include "nimboui/nimboui.h"
#include "trailex/Map.h"

#include <algorithm>
#include <cmath>

float viewZoom = 1.0f;
float currentViewZoom = 1.0f;
morvec::Vector2 targetViewPan;
morvec::Vector2 viewPan;
float cameraFollowTimer = 0.0f;
morvec::Vector2 sceneCursor;
float cameraOffsetX = 0.0f;
float cameraScrollSpeed = 0.0f;
morvec::Vector2 edgeWalkTarget;
morvec::Vector2 lastEdgeCursor;

namespace Viewport {

namespace {

constexpr float FOUR_THIRDS = 1.3333334f;
constexpr double CURSOR_THRESHOLD = 1.3233333335568507;

bool inMenus() {
    String dataset = GameUtil::getActiveChapterName();
    return dataset == "ui" || dataset == "menu";
}

float sceneWidth() {
    float width = Session::activeScene->getProperty("width").toFloat();
    return width > 0 ? width : 426.0f;
}

float sign(float v) {
    return (float)((v > 0) - (v < 0));
}

float approach(float value, float target, float step) {
    return value < target ? std::min(value + step, target) : std::max(value - step, target);
}

} // namespace

morvec::Vector2 windowSize() {
    static morvec::Vector2 last(426, 320);
    int w = nimbo::window ? nimbo::window->getWidth() : 0;
    int h = nimbo::window ? nimbo::window->getHeight() : 0;
    if (w > 0 && h > 0) {
        last = morvec::Vector2((float)w, (float)h);
    }
    return last;
}

float aspectRatio(const String& aspect) {
    String left;
    String right;
    if (aspect.split(":", left, right) && left.isNumber() && right.isNumber()) {
        // Numbers too large for a float give an infinite or undefined ratio: refused as well.
        float ratio = left.toFloat() / right.toFloat();
        if (std::isfinite(ratio) && ratio >= 0.25f && ratio <= 4.0f) {
            return ratio;
        }
    }
    static String reported;
    if (reported != aspect) {
        Session::log("WARNING: aspect '" + aspect + "' is not a ratio from 1:4 to 4:1; using 4:3");
        reported = aspect;
    }
    return FOUR_THIRDS;
}

morvec::Rectangle getViewportRect(bool applyCamera) {
    morvec::Rectangle r(0, 0, 426, 320);
    if (!Session::activeScene) {
        return r;
    }
    String aspect = Session::getParam("aspect");
    if (!(aspect == "screen" && !inMenus())) {
        float target = inMenus() ? FOUR_THIRDS : aspectRatio(aspect == "screen" ? String("4:3") : aspect);
        morvec::Vector2 size = windowSize();
        float win = std::max(size.x / size.y, FOUR_THIRDS);
        if (win > target) {
            r.w = win * 320 * FOUR_THIRDS / target;
            r.x = (r.w - 426) * 0.5f;
        } else {
            r.h = 426 / (win * FOUR_THIRDS / target);
            r.y = (r.h - 320) * 0.5f;
        }
    }
    if (applyCamera) {
        r.x -= viewPan.x;
        r.y -= viewPan.y;
        r.w *= currentViewZoom;
        r.h *= currentViewZoom;
    }
    return r;
}

float getWidescreenOffset() {
    morvec::Vector2 size = windowSize();
    float a = size.x / size.y;
    return a >= FOUR_THIRDS ? (a - FOUR_THIRDS) * 320 * 0.5f : 0.0f;
}

void mapCursor(float wx, float wy) {
    morvec::Vector2 size = windowSize();
    float w = size.x;
    float h = size.y;
    morvec::Rectangle r = getViewportRect(true);
    sceneCursor = morvec::Vector2((r.w / w) * wx - r.x, (r.h / h) * wy - r.y);
    morvec::Vector2 gui;
    if ((double)(w / h) < CURSOR_THRESHOLD) {
        gui = morvec::Vector2(wx * 426 / w, wy * 320 / h);
    } else {
        float v = w * 320 / h;
        gui = morvec::Vector2(v * wx / w - getWidescreenOffset(), wy * 320 / h);
    }
    nimboui::setCursorPosition(gui);
}

void updateCursorPosition() {
    morvec::Vector2 p = nimbo::window->getCursorPosition();
    mapCursor(p.x, p.y);
}

void clampTargetPan() {
    morvec::Rectangle r = getViewportRect(false);
    auto clampAxis = [](float& pan, float size) {
        if (pan < 0) {
            pan = 0;
        } else if (pan > size - viewZoom * size) {
            pan = size - viewZoom * size;
        }
    };
    clampAxis(targetViewPan.x, r.w);
    clampAxis(targetViewPan.y, r.h);
}

bool canZoomView() {
    return !inMenus() && !VerbCoin::isOpen() && !InventoryPanel::isOpen() && !Session::activeTransition &&
           !Session::sceneLocked && !DialogPanel::areRepliesShown();
}

void handlePinchZoom(float change, float pinchX, float pinchY) {
    if (!canZoomView()) {
        return;
    }
    float z0 = viewZoom;
    morvec::Vector2 p0 = targetViewPan;
    morvec::Rectangle r = getViewportRect(false);
    float lower = Session::getParam("target") == "tablet" ? 0.75f : 0.5f;
    float z1 = std::min(std::max(z0 + change, lower), 1.0f);
    viewZoom = z1;
    auto panAxis = [&](float pan, float s, float p) {
        if (z0 > z1) {
            return pan + (s * z0 - s * z1) * p;
        }
        if (z1 > z0) {
            return pan - pan / (s - s * z0) * (z1 * s - s * z0);
        }
        return pan;
    };
    targetViewPan = morvec::Vector2(panAxis(p0.x, r.w, pinchX), panAxis(p0.y, r.h, pinchY));
    clampTargetPan();
    if (Vars::value("zoom_tutorial") == "1" && GameUtil::getActiveSceneName() == "Cockpit") {
        Session::activeScene->chapter->getObject("zoom_tutorial")->setAlpha(1 - (1 - viewZoom) * 4);
        if (z0 >= 0.76f && z1 < 0.76f) {
            Vars::get("zoom_tutorial")->setValue("0", false);
            Vars::get("current_character")->setValue("vorne", false);
            Session::activeScene->reset();
        }
    }
}

void panView(float dx, float dy) {
    if (viewZoom >= 1.0f || !canZoomView() || InventoryPanel::isDraggingItem()) {
        return;
    }
    targetViewPan -= morvec::Vector2(viewZoom * dx, viewZoom * dy);
    clampTargetPan();
}

void updateCamera(float dt) {
    if (viewZoom == 1.0f && currentViewZoom == 1.0f) {
        return;
    }
    Marionix::Actor* character = Characters::getCurrentCharacter();
    if (character && character->getCurrentJobType() == "Move") {
        if (cameraFollowTimer < 0.1f) {
            cameraFollowTimer += dt;
        } else {
            morvec::Rectangle r = getViewportRect(true);
            morvec::Vector3 position = character->getPosition();
            float x = position.x - cameraOffsetX;
            float h = Characters::getCurrentCharacterHeight();
            targetViewPan = morvec::Vector2(x - r.w * 0.5f, position.y - h * 0.5f - r.h * 0.5f);
            clampTargetPan();
            dt *= 0.5f;
        }
    } else {
        cameraFollowTimer = 0.0f;
    }
    if (!canZoomView() && !VerbCoin::isOpen() && !InventoryPanel::isOpen()) {
        viewZoom = 1.0f;
        targetViewPan = morvec::Vector2();
    }
    if (currentViewZoom != viewZoom) {
        float old = currentViewZoom;
        currentViewZoom = approach(currentViewZoom, viewZoom, dt * 1.5f);
        float f = (currentViewZoom - old) / (viewZoom - old);
        viewPan.x = approach(viewPan.x, targetViewPan.x, std::fabs(targetViewPan.x - viewPan.x) * f);
        viewPan.y = approach(viewPan.y, targetViewPan.y, std::fabs(targetViewPan.y - viewPan.y) * f);
    }
    if (currentViewZoom != viewZoom) {
        return;
    }
    float dx = std::fabs(targetViewPan.x - viewPan.x) * dt * 10;
    float dy = std::fabs(targetViewPan.y - viewPan.y) * dt * 10;
    float m = dt * 10;
    if (dx <= m && dy <= m) {
        dx = m;
        dy = m;
    }
    viewPan.x = approach(viewPan.x, targetViewPan.x, dx);
    viewPan.y = approach(viewPan.y, targetViewPan.y, dy);
}

bool isWideScene() {
    return Session::activeScene && !Session::activeScene->getProperty("width").empty();
}

float getCameraOffsetX() {
    Marionix::Actor* character = Characters::getCurrentCharacter();
    if (!isWideScene() || !character) {
        return cameraOffsetX;
    }
    float width = sceneWidth();
    float target = character->getPosition().x - 213;
    if (target < 0) {
        return 0;
    }
    return target > width - 426 ? width - 426 : target;
}

bool isCameraScrolling() {
    return isWideScene() && Inventory::getSelectedItem().empty() && edgeWalkTarget.squaredLength() > 0.01f;
}

namespace {

void scroll(float dt) {
    float target = getCameraOffsetX();
    if (std::fabs(target - cameraOffsetX) <= 0.01f) {
        return;
    }
    float v = cameraScrollSpeed;
    float slowed = v - sign(v) * dt * 200;
    v = sign(slowed) != sign(v) ? 0.0f : slowed;
    if (std::fabs(target - cameraOffsetX) > 8.0f) {
        v = std::clamp(v + sign(target - cameraOffsetX) * dt * 400, -50.0f, 50.0f);
    }
    float next = cameraOffsetX + v * dt;
    if (sign(next - target) != sign(cameraOffsetX - target)) {
        cameraOffsetX = target;
        v = 0;
    } else {
        cameraOffsetX = next;
    }
    cameraScrollSpeed = v;
}

void findEdgeTarget() {
    if (sceneCursor == lastEdgeCursor) {
        return;
    }
    edgeWalkTarget = morvec::Vector2();
    lastEdgeCursor = sceneCursor;
    if (Session::activeScene->getActionNameAt(sceneCursor.x + cameraOffsetX, sceneCursor.y).contains("|")) {
        return;
    }
    bool atLeft = cameraOffsetX > 0.01f && sceneCursor.x < 20.0f;
    bool atRight = sceneWidth() > cameraOffsetX + 426 && sceneCursor.x > 406.0f;
    if (!atLeft && !atRight) {
        return;
    }
    Marionix::Actor* character = Characters::getCurrentCharacter();
    if (!character) {
        return;
    }
    morvec::Vector3 position = character->getPosition();
    const lba::Map& map = ZephJobs::getWalkMap(false);
    float x = sceneCursor.x + cameraOffsetX;
    // Probe the column from the character's height outwards: y, y - 1, y + 1, y - 2, ...
    for (int i = 0; i < 320; ++i) {
        int offset = (i + 1) / 2 * (i % 2 == 1 ? -1 : 1);
        morvec::Vector2 probe(x, position.y + (float)offset);
        if (!map.isPointIn(probe)) {
            continue;
        }
        if (!map.findPath(morvec::Vector2(position.x, position.y), probe).empty()) {
            edgeWalkTarget = probe;
        }
        return;
    }
}

} // namespace

void findWalkTarget(float dt) {
    scroll(dt);
    if (isWideScene()) {
        findEdgeTarget();
    }
}

void updateWideSceneCamera() {
    Characters::updateAll(0.0f);
    cameraOffsetX = isWideScene() ? getCameraOffsetX() : 0.0f;
    cameraScrollSpeed = 0.0f;
}

} // namespace Viewport
